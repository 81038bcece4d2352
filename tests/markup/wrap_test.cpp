#include "markup/fragments.h"

#include <gtest/gtest.h>

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString compose(const char* command, const QString& selection)
{
    const Fragment* row = findFragment(QString::fromLatin1(command));
    if (!row) {
        ADD_FAILURE() << "no row for " << command;
        return QStringLiteral("<missing>");
    }
    const auto text = composeFragment(*row, selection);
    return text ? *text : QStringLiteral("<no change>");
}

} // namespace

TEST(WrapComposition, EveryCommandWithASelectionAndWithout)
{
    struct Case {
        const char* command;
        QString withAbc;  ///< S = "abc"
        QString withNone; ///< S empty
    };
    const QString none = QStringLiteral("<no change>");
    const Case cases[] = {
        { "Bold1", "<B>abc</B>", none },
        { "Italic1", "<I>abc</I>", none },
        { "BolditaliC1", "<B><I>abc</I></B>", none },
        { "Fixed1", "<TT>abc</TT>", none },
        { "Font1", "<FONT SIZE=+0 COLOR=\"#000000\">abc</FONT>", "<FONT SIZE=+0 COLOR=\"#000000\"> </FONT>" },
        { "Paragraph1", "<P>abc</P>" + CRLF, "<P>" + CRLF },
        { "N10", "<P>abc</P>", none },
        { "Return1", "<BR>" + CRLF + "abc", "<BR>" + CRLF },
        { "N9", none, "<BR>" },
        { "Left1", "<DIV ALIGN=LEFT>" + CRLF + "abc</DIV>", "<DIV ALIGN=LEFT>" + CRLF + "</DIV>" },
        { "Center1", "<CENTER>" + CRLF + "abc</CENTER>", "<CENTER>" + CRLF + "</CENTER>" },
        { "Right1", "<DIV ALIGN=RIGHT>" + CRLF + "abc</DIV>", "<DIV ALIGN=RIGHT>" + CRLF + "</DIV>" },
        { "Numbers1", "<OL>" + CRLF + "<LI>abc" + CRLF + "</OL>", "<OL>" + CRLF + "<LI>" + CRLF + "</OL>" },
        { "List1", "<UL>" + CRLF + "<LI>abc" + CRLF + "</UL>", "<UL>" + CRLF + "<LI>" + CRLF + "</UL>" },
        { "LisT2", "<DL>" + CRLF + "<DT>abc" + CRLF + "</DL>", "<DL>" + CRLF + "<DT>" + CRLF + "</DL>" },
        { "MenuList", "<MENU>" + CRLF + "<LI>abc" + CRLF + "</MENU>", "<MENU>" + CRLF + "<LI>" + CRLF + "</MENU>" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compose(c.command, QStringLiteral("abc")), c.withAbc) << c.command;
        EXPECT_EQ(compose(c.command, QString()), c.withNone) << c.command;
    }
    // The font tag is the 30 characters from one angle bracket to the other.
    EXPECT_EQ(compose("Font1", QString()).indexOf(u'>') + 1, 30);
}

TEST(WrapComposition, SelectionGoesInUnchanged)
{
    // Not trimmed, not split, not escaped, not examined for tags or braces.
    const QString odd = QStringLiteral("  <B>a & b</B> {S} {UserName}\r\nsecond line\r\n");
    EXPECT_EQ(compose("Bold1", odd), "<B>" + odd + "</B>");
    EXPECT_EQ(compose("List1", QStringLiteral("one") + CRLF + QStringLiteral("two")),
              "<UL>" + CRLF + "<LI>one" + CRLF + "two" + CRLF + "</UL>"); // one item marker only
    EXPECT_EQ(compose("Center1", QStringLiteral("abc") + CRLF), "<CENTER>" + CRLF + "abc" + CRLF + "</CENTER>");
    EXPECT_EQ(compose("Return1", QStringLiteral("x")), "<BR>" + CRLF + "x");
    const QString whitespace = QStringLiteral(" ");
    EXPECT_EQ(compose("Italic1", whitespace), QStringLiteral("<I> </I>")); // a space is a selection
}

TEST(FillTemplate, OnlyKnownNamesAreVariables)
{
    EXPECT_EQ(fillTemplate(QStringLiteral("function {S} {"), QStringLiteral("f(a)")), QStringLiteral("function f(a) {"));
    EXPECT_EQ(fillTemplate(QStringLiteral("x{UserName}y"), QString(), { { QStringLiteral("UserName"), QStringLiteral("{S}") } }),
              QStringLiteral("x{S}y"));
    EXPECT_EQ(fillTemplate(QStringLiteral("{Other}"), QStringLiteral("s")), QStringLiteral("{Other}"));
    EXPECT_EQ(fillTemplate(QStringLiteral("{S}{S}"), QStringLiteral("ab")), QStringLiteral("abab"));
    EXPECT_EQ(fillTemplate(QStringLiteral("{ {S"), QStringLiteral("x")), QStringLiteral("{ {S"));
}
