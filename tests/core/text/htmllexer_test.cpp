#include "core/text/htmllexer.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Each line's colours written under it, one letter per character: T tag,
// A attribute name, V value, R character reference, C comment, S script or
// style content, D doctype, '.' plain.
struct Case {
    const char* name;
    std::vector<const char*> lines;
    std::vector<const char*> colours;
};

QString paint(const QString& line, const QList<htmllexer::Run>& runs)
{
    static const char letters[] = "TAVRCSD";
    QString out(line.size(), u'.');
    for (const htmllexer::Run& run : runs)
        for (int i = run.start; i < run.start + run.length; ++i)
            out[i] = QChar::fromLatin1(letters[int(run.kind)]);
    return out;
}

class Colours : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(Colours, OfEachLineFromTheStateTheLineAboveEndedIn)
{
    const Case& c = GetParam();
    ASSERT_EQ(c.lines.size(), c.colours.size());
    htmllexer::State state = htmllexer::kText;
    for (size_t i = 0; i < c.lines.size(); ++i) {
        const QString line = QString::fromUtf8(c.lines[i]);
        QList<htmllexer::Run> runs;
        const htmllexer::State end = htmllexer::lexLine(line, state, &runs);
        EXPECT_EQ(paint(line, runs), QString::fromUtf8(c.colours[i])) << "line " << i << ": " << c.lines[i];
        EXPECT_EQ(htmllexer::lexLine(line, state), end) << "the state alone, without runs";
        state = end;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Html, Colours,
    ::testing::Values(
        Case { "TagsAndAttributesInAnyCase",
               { "<TABLE BORDER=1 cellPadding=\"2\">x</Table>", "<br/><a\thref='y' >" },
               { "TTTTTT.AAAAAA.V.AAAAAAAAAAA.VVVT.TTTTTTTT", "TTTTTTT.AAAA.VVV.T" } },
        Case { "QuotesHoldingTheTagEnd",
               { "<a title=\"a>b\" alt='c>d'>x" },
               { "TT.AAAAA.VVVVV.AAA.VVVVVT." } },
        Case { "AnUnclosedQuoteRunsOnToTheNextLine",
               { "<img alt=\"one", "two\" src=a>after" },
               { "TTTT.AAA.VVVV", "VVVV.AAA.VT....." } },
        Case { "ATagAcrossLines",
               { "<A", "  HREF = \"x\"", ">y" },
               { "TT", "..AAAA...VVV", "T." } },
        Case { "CommentsAcrossLines",
               { "a<!-- one <b>", "two", "--> b <!---->" },
               { ".CCCCCCCCCCCC", "CCC", "CCC...CCCCCCC" } },
        Case { "ScriptHoldingEndTagStrings",
               { "<SCRIPT language=\"JavaScript\">", "document.write(\"</b></scripts>\");", "x='<!--';</Script >z" },
               { "TTTTTTT.AAAAAAAA.VVVVVVVVVVVVT", "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS",
                 "SSSSSSSSSTTTTTTTT.T." } },
        Case { "StyleAndAScriptTagThatEndsOnTheNextLine",
               { "<style>p { color: red }</STYLE><script", "src=\"a.js\"></script>" },
               { "TTTTTTTSSSSSSSSSSSSSSSSTTTTTTTTTTTTTTT", "AAA.VVVVVVTTTTTTTTTT" } },
        Case { "CharacterReferences",
               { "a&nbsp;b&#20013;&#x41;AT&T&amp &#;&" },
               { ".RRRRRR.RRRRRRRRRRRRRR............." } },
        Case { "CyrillicText",
               { "<p class=\"Привет\">Мир &laquo;Дом&raquo;</p>" },
               { "TT.AAAAA.VVVVVVVVT....RRRRRRR...RRRRRRRTTTT" } },
        Case { "DoctypeAcrossLinesAndOtherDeclarations",
               { "<!DOCTYPE HTML PUBLIC", "\"-//W3C//DTD HTML 4.0//EN\"><?xml?>" },
               { "DDDDDDDDDDDDDDDDDDDDD", "DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD" } },
        Case { "ALessThanThatOpensNoTag",
               { "a < b <3 <= c </ d" },
               { ".................." } }),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
