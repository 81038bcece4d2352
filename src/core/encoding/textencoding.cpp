#include "core/encoding/textencoding.h"

#include "core/encoding/cp1251.h"

#include <QStringDecoder>

#include <cstring>

namespace textencoding {
namespace {

// How far into a file the `<meta>` declaration is looked for.
constexpr qsizetype kDeclarationReach = 1024;

// Multi-byte sequences that, once well-formed, make a file UTF-8 enough to
// decode it whole: a Windows-1251 page fails within its first few.
constexpr qsizetype kConvincingSequences = 256;

bool startsWithMark(QByteArrayView bytes)
{
    return bytes.startsWith(utf8Mark());
}

// Offset of the first byte above 0x7F, or the size.
qsizetype asciiPrefix(QByteArrayView bytes, qsizetype from)
{
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = from;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (i < size && static_cast<unsigned char>(data[i]) < 0x80)
        ++i;
    return i;
}

bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

bool equalsIgnoringCase(QStringView a, QLatin1StringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

struct Attribute {
    QStringView name;
    qsizetype valueStart = -1; // -1: no value
    qsizetype valueLength = 0;
};

// Reads the attributes of the tag whose name ends at `at`, up to its '>'.
// False when the tag does not end within the text.
template <typename Each>
bool readAttributes(QStringView text, qsizetype& at, Each each)
{
    const qsizetype n = text.size();
    for (;;) {
        while (at < n && (isSpace(text[at]) || text[at] == u'/'))
            ++at;
        if (at >= n)
            return false;
        if (text[at] == u'>')
            return true;
        const qsizetype nameStart = at;
        while (at < n && !isSpace(text[at]) && text[at] != u'=' && text[at] != u'>' && text[at] != u'/')
            ++at;
        Attribute attribute;
        attribute.name = text.mid(nameStart, at - nameStart);
        qsizetype look = at;
        while (look < n && isSpace(text[look]))
            ++look;
        if (look < n && text[look] == u'=') {
            at = look + 1;
            while (at < n && isSpace(text[at]))
                ++at;
            if (at >= n)
                return false;
            const QChar quote = text[at];
            if (quote == u'"' || quote == u'\'') {
                const qsizetype close = text.indexOf(quote, at + 1);
                if (close < 0)
                    return false;
                attribute.valueStart = at + 1;
                attribute.valueLength = close - at - 1;
                at = close + 1;
            } else {
                attribute.valueStart = at;
                while (at < n && !isSpace(text[at]) && text[at] != u'>')
                    ++at;
                attribute.valueLength = at - attribute.valueStart;
            }
        }
        each(attribute);
    }
}

bool isNameCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_'
        || c == u'.' || c == u':';
}

// The charset named in a Content-Type value ("text/html; charset=utf-8").
std::optional<CharsetDeclaration> charsetInContent(QStringView text, qsizetype start, qsizetype length)
{
    const QStringView content = text.mid(start, length);
    for (qsizetype found = content.indexOf(u"charset", 0, Qt::CaseInsensitive); found >= 0;
         found = content.indexOf(u"charset", found + 1, Qt::CaseInsensitive)) {
        qsizetype at = found + 7;
        while (at < content.size() && isSpace(content[at]))
            ++at;
        if (at >= content.size() || content[at] != u'=')
            continue;
        ++at;
        while (at < content.size() && (isSpace(content[at]) || content[at] == u'"' || content[at] == u'\''))
            ++at;
        qsizetype end = at;
        while (end < content.size() && isNameCharacter(content[end]))
            ++end;
        if (end > at)
            return CharsetDeclaration { start + at, end - at, content.mid(at, end - at).toString() };
    }
    return std::nullopt;
}

} // namespace

qsizetype firstInvalidUtf8(QByteArrayView bytes, qsizetype enoughSequences)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype sequences = 0;
    qsizetype i = 0;
    for (;;) {
        i = asciiPrefix(bytes, i);
        if (i >= size)
            return -1;
        const unsigned char lead = data[i];
        // Second byte's range after the lead (Unicode's table of
        // well-formed sequences): narrower after E0, ED, F0 and F4, which
        // keeps out overlong forms, surrogates and code points past U+10FFFF.
        qsizetype length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return i;
        }
        if (i + 1 >= size || data[i + 1] < low || data[i + 1] > high)
            return i;
        for (qsizetype k = 2; k < length; ++k) {
            if (i + k >= size || !continuation(data[i + k]))
                return i;
        }
        i += length;
        if (enoughSequences > 0 && ++sequences >= enoughSequences)
            return -1;
    }
}

std::optional<QString> decodeUtf8(const QByteArray& bytes)
{
    const QByteArrayView body = startsWithMark(bytes) ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    // The caller's mark is gone; a second one is text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(body);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

DocumentEncoding detect(const QByteArray& bytes, QString* decoded)
{
    const DocumentEncoding windows1251;
    const DocumentEncoding utf8 { Charset::Utf8, false };
    if (startsWithMark(bytes)) {
        // Qt's decoder is as strict as the rules: it only decides.
        std::optional<QString> text = decodeUtf8(bytes);
        if (!text)
            return windows1251;
        if (decoded)
            *decoded = std::move(*text);
        return { Charset::Utf8, true };
    }
    const qsizetype firstHigh = asciiPrefix(bytes, 0);
    if (firstHigh == bytes.size()) {
        const auto declaration = findCharsetDeclaration(QString::fromLatin1(QByteArrayView(bytes).first(qMin(bytes.size(), kDeclarationReach))));
        if (!declaration || !namesUtf8(declaration->value))
            return windows1251;
        if (decoded)
            *decoded = QString::fromLatin1(bytes); // ASCII: the same characters
        return utf8;
    }
    // A Windows-1251 page fails at its first few letters; a page that does
    // not is decoded whole, and a late fault still makes it Windows-1251.
    const QByteArrayView rest = QByteArrayView(bytes).sliced(firstHigh);
    if (firstInvalidUtf8(rest, decoded ? kConvincingSequences : 0) >= 0)
        return windows1251;
    if (!decoded)
        return utf8;
    std::optional<QString> text = decodeUtf8(bytes);
    if (!text)
        return windows1251;
    *decoded = std::move(*text);
    return utf8;
}

QString decode(const QByteArray& bytes, DocumentEncoding encoding)
{
    if (!encoding.isUtf8())
        return cp1251::decode(bytes);
    const QByteArrayView body = encoding.byteOrderMark && startsWithMark(bytes) ? QByteArrayView(bytes).sliced(3)
                                                                                : QByteArrayView(bytes);
    // QString::fromUtf8 would drop a mark that is text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(body);
}

QString admitted(const QString& text, DocumentEncoding encoding)
{
    return encoding.isUtf8() ? text : cp1251::escapeUnencodable(text);
}

QByteArray encode(QStringView text, DocumentEncoding encoding)
{
    if (!encoding.isUtf8())
        return cp1251::encode(text.toString());
    QByteArray out;
    if (encoding.byteOrderMark)
        out.append(utf8Mark());
    out.append(text.toUtf8());
    return out;
}

std::optional<CharsetDeclaration> findCharsetDeclaration(QStringView text)
{
    const QStringView head = text.left(kDeclarationReach);
    for (qsizetype found = head.indexOf(u"<meta", 0, Qt::CaseInsensitive); found >= 0;
         found = head.indexOf(u"<meta", found + 1, Qt::CaseInsensitive)) {
        qsizetype at = found + 5;
        if (at < head.size() && !isSpace(head[at]) && head[at] != u'/' && head[at] != u'>')
            continue; // "<metadata" and the like
        std::optional<CharsetDeclaration> charset;
        bool contentType = false;
        Attribute content;
        const bool closed = readAttributes(head, at, [&](const Attribute& attribute) {
            if (attribute.valueStart < 0)
                return;
            const QStringView value = head.mid(attribute.valueStart, attribute.valueLength);
            if (!charset && equalsIgnoringCase(attribute.name, QLatin1StringView("charset"))) {
                const QStringView trimmed = value.trimmed();
                if (!trimmed.isEmpty())
                    charset = CharsetDeclaration { attribute.valueStart + (trimmed.data() - value.data()), trimmed.size(),
                                                   trimmed.toString() };
            } else if (equalsIgnoringCase(attribute.name, QLatin1StringView("http-equiv"))) {
                contentType = equalsIgnoringCase(value.trimmed(), QLatin1StringView("content-type"));
            } else if (equalsIgnoringCase(attribute.name, QLatin1StringView("content"))) {
                content = attribute;
            }
        });
        if (!closed)
            return std::nullopt;
        if (charset)
            return charset;
        if (contentType && content.valueStart >= 0) {
            if (auto inContent = charsetInContent(head, content.valueStart, content.valueLength))
                return inContent;
        }
    }
    return std::nullopt;
}

bool namesUtf8(QStringView charsetName)
{
    return equalsIgnoringCase(charsetName, QLatin1StringView("utf-8")) || equalsIgnoringCase(charsetName, QLatin1StringView("utf8"));
}

QString declarationName(Charset charset)
{
    return charset == Charset::Utf8 ? QStringLiteral("utf-8") : QStringLiteral("windows-1251");
}

} // namespace textencoding
