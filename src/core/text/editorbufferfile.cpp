#include "core/text/editorbuffer.h"
#include "core/text/editorbufferinternals.h"

#include "core/encoding/cp1251.h"
#include "core/encoding/linebreaks.h"
#include "core/platform/apperror.h"
#include "core/text/displayblocks.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>

// The editing area's text as a file's bytes: loading in one pass and the
// bytes that saving writes.

using displayblocks::kBound;
using namespace editorbufferinternals;

QByteArray EditorBuffer::loadFromFile(const QString& fileName, std::optional<Charset> charset)
{
    const QString cannotOpen = QStringLiteral("Cannot open file %1").arg(fileName);
    QFile file(fileName);
    // Only regular files: a folder cannot be read, and a pipe or a device
    // could block or never end.
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw AppError(cannotOpen);
    // A character takes up to three bytes of UTF-8 (four for two UTF-16
    // units), so only a file beyond that, and its mark, is too long unread.
    const qint64 size = file.size();
    if (size > 3 * m_capacity + 3)
        throw AppError(capacityMessage());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(cannotOpen);
    file.close();

    QString utf8Text;
    DocumentEncoding encoding;
    if (!charset) {
        encoding = textencoding::detect(bytes, &utf8Text);
    } else if (*charset == Charset::Utf8) {
        std::optional<QString> text = textencoding::decodeUtf8(bytes);
        if (!text)
            throw AppError(notUtf8Message(fileName));
        encoding = { Charset::Utf8, bytes.startsWith(textencoding::utf8Mark()) };
        utf8Text = std::move(*text);
    }
    // In Windows-1251 every byte is a character, so the size alone tells.
    if (!encoding.isUtf8() && size > m_capacity)
        throw AppError(capacityMessage());
    linebreaks::TextShape shape;
    QString editorText;
    qsizetype decodedLength = bytes.size();
    if (encoding.isUtf8()) {
        decodedLength = utf8Text.size() + (encoding.byteOrderMark ? 3 : 0);
        linebreaks::toEditorTextInPlace(utf8Text, &shape);
        editorText = std::move(utf8Text);
    } else {
        editorText = linebreaks::decodeToEditorText(bytes, &shape);
    }
    // Every break counts as two once it is CRLF.
    const qsizetype length = editorText.size() + shape.breaks;
    if (length > m_capacity)
        throw AppError(capacityMessage());
    setWidgetText(editorText, shape.longestLine > kBound);
    m_encoding = encoding;
    clearHistory();
    // Where every break already was CRLF the file holds the text's bytes as
    // they are; only lone CRs or LFs make reading them back worth its pass.
    return length + (encoding.byteOrderMark ? 3 : 0) == decodedLength ? bytes : toBytes();
}

QByteArray EditorBuffer::toBytes() const
{
    QByteArray out;
    const QTextDocument* doc = document();
    if (m_encoding.isUtf8()) {
        // Encoded block by block into one buffer: the whole text is never
        // held twice as UTF-16.
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        // Room for two bytes a character (Cyrillic); it doubles if more is needed.
        out.reserve(2 * textLength() + 3);
        if (m_encoding.byteOrderMark)
            out.append(textencoding::utf8Mark());
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            if (block != doc->begin() && !m_blocks.joinsPrevious(block))
                out.append("\r\n", 2);
            const QString text = block.text();
            const qsizetype used = out.size();
            const qsizetype room = used + encoder.requiredSpace(text.size());
            if (room > out.capacity())
                out.reserve(qMax(room, 2 * out.capacity()));
            out.resize(room);
            char* end = encoder.appendToBuffer(out.data() + used, text);
            out.resize(end - out.constData());
        }
        return out;
    }
    out.reserve(textLength());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin() && !m_blocks.joinsPrevious(block))
            out.append("\r\n", 2);
        out.append(cp1251::encode(block.text()));
    }
    return out;
}
