#include "core/journal/journalformat.h"

#include "core/encoding/cp1251.h"
#include "core/encoding/linebreaks.h"

#include <QBuffer>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace journalformat {
namespace {

// Longest payload a reader accepts: far above the editor's capacity, so only
// a damaged length field reaches it.
constexpr quint32 kMaxPayload = 1u << 30;

const std::array<quint32, 256>& crcTable()
{
    static const auto table = [] {
        std::array<quint32, 256> t {};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

void putU32(char* out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
}

void putU64(char* out, quint64 value)
{
    for (int i = 0; i < 8; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
}

quint64 getU64(const char* in, int bytes)
{
    quint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= quint64(static_cast<unsigned char>(in[i])) << (8 * i);
    return value;
}

QByteArray head(RecordType type, quint32 length, qint64 timeMs)
{
    QByteArray out(1 + 4 + 8, Qt::Uninitialized);
    out[0] = char(type);
    putU32(out.data() + 1, length);
    putU64(out.data() + 5, quint64(timeMs));
    return out;
}

QByteArray record(RecordType type, const QByteArray& payload, qint64 timeMs)
{
    QByteArray out = head(type, quint32(payload.size()), timeMs);
    out.append(payload);
    char crc[4];
    putU32(crc, crc32(0, out.constData(), out.size()));
    out.append(crc, 4);
    return out;
}

// The text being rebuilt: a gap buffer, because the edits of typing fall
// close to each other and a plain array would move the whole tail each time.
class GapText {
public:
    void assign(const QByteArray& text)
    {
        m_buffer.assign(text.begin(), text.end());
        m_gapStart = m_gapEnd = m_buffer.size();
    }
    size_t size() const { return m_buffer.size() - (m_gapEnd - m_gapStart); }
    void replace(size_t position, size_t removed, const char* inserted, size_t length)
    {
        moveGap(position);
        m_gapEnd += removed;
        if (m_gapEnd - m_gapStart < length) {
            const size_t grow = length + size() / 8 + 64;
            m_buffer.insert(m_buffer.begin() + std::ptrdiff_t(m_gapEnd), grow, 0);
            m_gapEnd += grow;
        }
        // std::copy, not memcpy: an empty text has no buffer at all, and
        // memcpy must not be handed a null pointer even for no bytes.
        std::copy(inserted, inserted + length, m_buffer.begin() + std::ptrdiff_t(m_gapStart));
        m_gapStart += length;
    }
    QByteArray bytes() const
    {
        QByteArray out(qsizetype(size()), Qt::Uninitialized);
        const auto gapStart = m_buffer.begin() + std::ptrdiff_t(m_gapStart);
        const auto gapEnd = m_buffer.begin() + std::ptrdiff_t(m_gapEnd);
        std::copy(gapEnd, m_buffer.end(), std::copy(m_buffer.begin(), gapStart, out.begin()));
        return out;
    }

private:
    void moveGap(size_t position)
    {
        char* data = m_buffer.data();
        if (position < m_gapStart) {
            const size_t count = m_gapStart - position;
            std::memmove(data + m_gapEnd - count, data + position, count);
            m_gapStart -= count;
            m_gapEnd -= count;
        } else if (position > m_gapStart) {
            const size_t count = position - m_gapStart;
            std::memmove(data + m_gapStart, data + m_gapEnd, count);
            m_gapStart += count;
            m_gapEnd += count;
        }
    }

    std::vector<char> m_buffer;
    size_t m_gapStart = 0;
    size_t m_gapEnd = 0;
};

bool readLaunchState(const QByteArray& payload, LaunchState& launch)
{
    if (payload.isEmpty())
        return false;
    LaunchState read;
    read.snapshotEncoding = launch.snapshotEncoding;
    switch (payload.at(0)) {
    case '\0':
        break;
    case '\1':
        read.wroteFile = true;
        read.snapshot = payload.mid(1);
        break;
    case '\2': {
        const qsizetype length = payload.size() > 1 ? static_cast<unsigned char>(payload.at(1)) : -1;
        if (length < 0 || payload.size() < 2 + length)
            return false;
        read.wroteFile = true;
        read.fingerprint = payload.mid(2, length);
        read.snapshot = payload.mid(2 + length);
        break;
    }
    default:
        return false;
    }
    launch = read;
    return true;
}

char encodingCode(DocumentEncoding encoding)
{
    return !encoding.isUtf8() ? '\0' : encoding.byteOrderMark ? '\2' : '\1';
}

bool readEncoding(char code, DocumentEncoding& encoding)
{
    if (code < '\0' || code > '\2')
        return false;
    encoding = code == '\0' ? DocumentEncoding {} : DocumentEncoding { Charset::Utf8, code == '\2' };
    return true;
}

QByteArray utf16le(QStringView text)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // The writer thread turns a whole page into this form: one copy.
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
#else
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* to = out.data();
    for (const QChar c : text) {
        *to++ = char(c.unicode() & 0xFF);
        *to++ = char(c.unicode() >> 8);
    }
    return out;
#endif
}

} // namespace

quint32 crc32(quint32 crc, const char* data, qint64 length)
{
    const auto& table = crcTable();
    crc = ~crc;
    for (qint64 i = 0; i < length; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

QByteArray documentRecord(const QString& key, qint64 timeMs)
{
    return record(Document, key.toUtf8(), timeMs);
}

QByteArray stateRecord(const LaunchState& launch, qint64 timeMs)
{
    if (!launch.wroteFile)
        return record(State, QByteArray(1, '\0'), timeMs);
    // A fingerprint is a size and a hash, far below the one-byte limit.
    const QByteArray fingerprint = launch.fingerprint.left(255);
    QByteArray payload(1, '\2');
    payload.append(char(fingerprint.size())).append(fingerprint).append(launch.snapshot);
    return record(State, payload, timeMs);
}

QByteArray encodingRecord(DocumentEncoding text, DocumentEncoding snapshot, qint64 timeMs)
{
    QByteArray payload;
    payload.append(encodingCode(text)).append(encodingCode(snapshot));
    return record(Encoding, payload, timeMs);
}

QByteArray fullTextRecord(const QByteArray& text, qint64 timeMs)
{
    return record(FullText, text, timeMs);
}

QByteArray editRecord(qint64 position, qint64 removed, const QByteArray& inserted, qint64 timeMs)
{
    QByteArray payload(16, Qt::Uninitialized);
    putU64(payload.data(), quint64(position));
    putU64(payload.data() + 8, quint64(removed));
    payload.append(inserted);
    return record(Edit, payload, timeMs);
}

QByteArray encodeEditorText(QStringView text, DocumentEncoding encoding)
{
    if (encoding.isUtf8()) {
        QString withBreaks = text.toString();
        withBreaks.replace(u'\n', QStringLiteral("\r\n"));
        return utf16le(withBreaks);
    }
    const QByteArray plain = cp1251::encode(text.toString());
    QByteArray out(plain.size() + plain.count('\n'), Qt::Uninitialized);
    char* to = out.data();
    for (const char c : plain) {
        if (c == '\n')
            *to++ = '\r';
        *to++ = c;
    }
    return out;
}

QByteArray journalText(const QByteArray& fileBytes, DocumentEncoding encoding)
{
    if (!encoding.isUtf8())
        return fileBytes;
    return utf16le(textencoding::decode(fileBytes, encoding));
}

QString decodedText(const Content& content)
{
    if (!content.encoding.isUtf8())
        return cp1251::decode(content.text);
    const QByteArray& bytes = content.text;
    QString out(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = QChar(char16_t(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

bool writeFullTextRecord(QStringView editorText, qint64 timeMs,
                         const std::function<bool(const char*, qint64)>& write, DocumentEncoding encoding)
{
    const qint64 length = linebreaks::documentLength(editorText) * characterWidth(encoding);
    const QByteArray start = head(FullText, quint32(length), timeMs);
    quint32 crc = crc32(0, start.constData(), start.size());
    if (!write(start.constData(), start.size()))
        return false;
    constexpr qsizetype kPiece = 1 << 20;
    for (qsizetype at = 0; at < editorText.size(); at += kPiece) {
        const QByteArray piece = encodeEditorText(editorText.mid(at, kPiece), encoding);
        crc = crc32(crc, piece.constData(), piece.size());
        if (!write(piece.constData(), piece.size()))
            return false;
    }
    char tail[4];
    putU32(tail, crc);
    return write(tail, 4);
}

Content read(QIODevice& device)
{
    Content content;
    GapText text;
    char start[13];
    while (device.read(start, 13) == 13) {
        const auto type = RecordType(start[0]);
        const auto length = quint32(getU64(start + 1, 4));
        if (length > kMaxPayload)
            break;
        const QByteArray payload = device.read(length);
        char tail[4];
        if (payload.size() != qsizetype(length) || device.read(tail, 4) != 4)
            break;
        quint32 crc = crc32(0, start, 13);
        crc = crc32(crc, payload.constData(), payload.size());
        if (crc != quint32(getU64(tail, 4)))
            break;
        // A record that does not fit what came before is damage too; the
        // document record comes first.
        if (type != Document && !content.hasDocument)
            break;
        bool fits = true;
        const quint64 width = quint64(characterWidth(content.encoding));
        switch (type) {
        case Document:
            content.key = QString::fromUtf8(payload);
            content.hasDocument = true;
            break;
        case State:
            fits = readLaunchState(payload, content.launch);
            break;
        case Encoding:
            // It comes before the text it describes.
            fits = payload.size() == 2 && !content.hasText && readEncoding(payload.at(0), content.encoding)
                && readEncoding(payload.at(1), content.launch.snapshotEncoding);
            break;
        case FullText:
            fits = payload.size() % width == 0;
            if (fits) {
                text.assign(payload);
                content.hasText = true;
            }
            break;
        case Edit: {
            fits = content.hasText && payload.size() >= 16 && (payload.size() - 16) % width == 0;
            if (!fits)
                break;
            // Characters in the record, bytes in the text.
            const quint64 position = getU64(payload.constData(), 8);
            const quint64 removed = getU64(payload.constData() + 8, 8);
            const quint64 characters = text.size() / width;
            fits = position <= characters && removed <= characters - position;
            if (fits)
                text.replace(size_t(position * width), size_t(removed * width), payload.constData() + 16,
                             size_t(payload.size() - 16));
            break;
        }
        default:
            fits = false;
        }
        if (!fits)
            break;
        content.lastTimeMs = qint64(getU64(start + 5, 8));
        content.validLength += kOverhead + length;
        ++content.records;
    }
    if (content.hasText)
        content.text = text.bytes();
    return content;
}

Content read(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer);
}

} // namespace journalformat
