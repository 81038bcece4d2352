#include "tools/matchscan.h"

#include "core/text/displayblocks.h"
#include "core/text/editorbuffer.h"

#include <QTextDocument>
#include <gtest/gtest.h>

using matchscan::Match;

namespace matchscan {
void PrintTo(const Match& match, std::ostream* out)
{
    *out << "{offset " << match.offset << ", length " << match.length << '}';
}
} // namespace matchscan

namespace {

struct ScanCase {
    const char* name;
    QStringList lines;
    QString search;
    std::optional<Match> expected;
};

std::vector<ScanCase> scanCases()
{
    return {
        { "worked example", { "a cat", "cat and cat", "dog" }, "cat", Match { 7, 3 } },
        { "leftmost in its line", { "xx ab ab" }, "ab", Match { 3, 2 } },
        { "last matching line wins", { "ab", "ab", "zz" }, "ab", Match { 4, 2 } },
        { "first line column one", { "cat", "dog" }, "cat", Match { 0, 3 } },
        { "line breaks count two", { "ab", "cd", "x" }, "x", Match { 8, 1 } },
        { "empty lines count two each", { "", "", "x" }, "x", Match { 4, 1 } },
        { "case differs, Latin", { "a Cat", "CAT" }, "cat", std::nullopt },
        { "case differs, Cyrillic", { "Кот", "КОТ" }, "кот", std::nullopt },
        { "Cyrillic match", { "а кот", "Кот" }, "кот", Match { 2, 3 } },
        { "whole search text only", { "ca" }, "cat", std::nullopt },
        { "no match across a break", { "ab", "cd" }, "bc", std::nullopt },
        { "break in the search text", { "ab", "cd" }, "b\r\nc", std::nullopt },
        { "empty search text", { "ab", "" }, "", std::nullopt },
        { "empty text", {}, "a", std::nullopt },
        { "trailing empty line never matches", { "ab", "" }, "ab", Match { 0, 2 } },
        { "no-break space is its own character", { "a b", QString::fromUtf8("a\u00A0b") }, QString::fromUtf8("\u00A0b"),
          Match { 6, 2 } },
        { "whole line", { "x", "abc" }, "abc", Match { 3, 3 } },
        // Lines longer than the editing area's bound, shown in pieces.
        { "match across a join", { "x", QString(displayblocks::kPiece - 2, u'a') + "needle" + QString(5000, u'b') },
          "needle", Match { 3 + displayblocks::kPiece - 2, 6 } },
        { "last of two pieced lines", { QString(9000, u'a') + "needle", QString(9000, u'b') + "needle", "c" },
          "needle", Match { 9008 + 9000, 6 } },
        { "no match across a break after a pieced line", { QString(5000, u'a') + "ne", "edle" }, "needle",
          std::nullopt },
    };
}

} // namespace

TEST(MatchScan, OverTheWidgetDocument)
{
    for (const ScanCase& c : scanCases()) {
        SCOPED_TRACE(c.name);
        // The widget keeps one block per line.
        QTextDocument document;
        document.setPlainText(c.lines.join(u'\n'));
        EXPECT_EQ(matchscan::scan(document, c.search), c.expected);
        // The editing area keeps a long line in several blocks.
        EditorBuffer memo;
        memo.setText(c.lines.join(QStringLiteral("\r\n")));
        EXPECT_EQ(matchscan::scan(*memo.document(), c.search, [&](int p) { return memo.toDocumentPosition(p); }),
                  c.expected);
    }
}

TEST(MatchScan, LeftmostInLine)
{
    EXPECT_EQ(matchscan::leftmostIn(u"catcat", u"cat"), 0);
    EXPECT_EQ(matchscan::leftmostIn(u"xcatcat", u"cat"), 1);
    EXPECT_EQ(matchscan::leftmostIn(u"cat", u""), -1);
    EXPECT_EQ(matchscan::leftmostIn(u"", u"cat"), -1);
    EXPECT_EQ(matchscan::leftmostIn(u"Cat", u"cat"), -1);
}

TEST(MatchScan, LongDocumentEndsOnTheLastMatchingLine)
{
    // Matches scattered over many lines of different lengths.
    QStringList lines;
    for (int i = 0; i < 3000; ++i)
        lines.append(QString(i % 97, u'ж') + (i % 451 == 7 ? QStringLiteral("needle") : QStringLiteral("hay")));
    QTextDocument document;
    document.setPlainText(lines.join(u'\n'));
    // The last matching line is line 2713: offset = its start + column.
    qsizetype start = 0;
    for (int i = 0; i < 2713; ++i)
        start += lines[i].size() + 2;
    EXPECT_EQ(matchscan::scan(document, QStringLiteral("needle")), (Match { start + 2713 % 97, 6 }));
}
