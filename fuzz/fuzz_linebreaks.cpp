// Line-break rules against a small model: a CR followed by an LF is one
// break, every other CR and every other LF is a break of its own, and every
// break becomes CR LF; nothing else changes.
#include "core/encoding/cp1251.h"
#include "core/encoding/linebreaks.h"
#include "fuzzcheck.h"

#include <QByteArrayList>
#include <QStringList>

namespace {

// The text as a list of lines (what stands between breaks).
QList<QByteArray> modelLines(const QByteArray& in)
{
    QList<QByteArray> lines { QByteArray() };
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
            lines.append(QByteArray());
        } else {
            lines.last().append(c);
        }
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const QList<QByteArray> lines = modelLines(raw);

    const QByteArray normal = lines.join("\r\n");
    qsizetype longest = 0;
    for (const QByteArray& line : lines)
        longest = qMax(longest, line.size());

    // The widget's form: the same lines joined by single '\n'.
    linebreaks::TextShape shape;
    const QString editor = linebreaks::decodeToEditorText(raw, &shape);
    FUZZ_CHECK(!editor.contains(u'\r'));
    FUZZ_CHECK(shape.breaks == lines.size() - 1);
    FUZZ_CHECK(shape.longestLine == longest);
    FUZZ_CHECK(editor.size() + shape.breaks == normal.size());
    QStringList decodedLines;
    for (const QByteArray& line : lines)
        decodedLines.append(cp1251::decode(line));
    FUZZ_CHECK(editor == decodedLines.join(u'\n'));
    FUZZ_CHECK(linebreaks::toEditorText(cp1251::decode(normal)) == editor);
    return 0;
}
