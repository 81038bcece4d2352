// The find scan and space removal against small models of their rules:
// the scan selects the leftmost occurrence in the LAST line that holds the
// search text, at (lengths of the lines before) + 2 per line break + column;
// space removal drops the first space of the first pair until no pair is left.
#include "core/encoding/cp1251.h"
#include "core/encoding/linebreaks.h"
#include "fuzzcheck.h"
#include "tools/matchscan.h"
#include "tools/spaceremoval.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

std::optional<matchscan::Match> modelScan(const QStringList& lines, const QString& search)
{
    std::optional<matchscan::Match> found;
    qsizetype before = 0; // characters before the line, breaks included
    for (const QString& line : lines) {
        if (!search.isEmpty()) {
            for (qsizetype p = 0; p + search.size() <= line.size(); ++p) {
                if (QStringView(line).mid(p, search.size()) == search) {
                    found = matchscan::Match { before + p, search.size() };
                    break;
                }
            }
        }
        before += line.size() + 2;
    }
    return found;
}

QString modelRemoveSpaces(QString line)
{
    for (qsizetype p = line.indexOf(QStringLiteral("  ")); p >= 0; p = line.indexOf(QStringLiteral("  ")))
        line.remove(p, 1);
    return line;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // QTextDocument needs the application object; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString search = cp1251::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(8)));
    // The document as the editor holds it: its lines, joined by CRLF.
    const QString editorText =
        linebreaks::decodeToEditorText(QByteArray::fromStdString(in.ConsumeRemainingBytesAsString()));
    const QStringList lines = editorText.split(u'\n');
    const QString text = lines.join(QStringLiteral("\r\n"));

    const std::optional<matchscan::Match> expected = modelScan(lines, search);
    if (expected) {
        FUZZ_CHECK(text.mid(expected->offset, expected->length) == search);
    }

    QTextDocument document;
    document.setPlainText(editorText);
    FUZZ_CHECK(document.blockCount() == lines.size());
    FUZZ_CHECK(matchscan::scan(document, search) == expected);

    for (const QString& line : lines) {
        const QString cleaned = spaceremoval::removeRepeatedSpaces(line);
        FUZZ_CHECK(cleaned == modelRemoveSpaces(line));
        FUZZ_CHECK(spaceremoval::hasRepeatedSpaces(line) == line.contains(QStringLiteral("  ")));
        FUZZ_CHECK(!spaceremoval::hasRepeatedSpaces(cleaned));
    }
    return 0;
}
