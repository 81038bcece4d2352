#include "template_rows_test.h"

#include "markup/fragments.h"

#include <gtest/gtest.h>

// Written out independently of the table in the editor: what each command
// must put in place of the selection, CRLF as "\r\n".
const std::vector<ExpectedRow>& insertRows()
{
    static const std::vector<ExpectedRow> rows = {
        { "Link1", Rule::Wrap, "<A HREF=\" \">", "</A>" },
        { "Line1", Rule::Replace, "<HR>\r\n" },
        { "Picture1", Rule::EmptyOnly, "<IMG SRC=\" \" BORDER=0>" },
        { "Table1", Rule::EmptyOnly,
          "<TABLE ALIGN=JUSTIFY BORDER=2 COLS=2 WIDTH=\"100%\">\r\n<TR>\r\n<TD> </TD>\r\n<TD> </TD>\r\n</TR>\r\n"
          "<TR>\r\n<TD> </TD>\r\n<TD> </TD>\r\n</TR>\r\n</TABLE>" },
        { "Row1", Rule::Wrap, "<TR>", " </TR>" },
        { "Cell1", Rule::Wrap, "<TD>", " </TD>" },
        { "Caption1", Rule::Wrap, "<CAPTION ALIGN=TOP> ", " </CAPTION>" },
        { "Meat1", Rule::EmptyOnly,
          " <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">\r\n"
          " <META NAME=\"GENERATOR\" CONTENT=\"Visual Quillet 1.7 [Brannoc]\">\r\n"
          " <META NAME=\"Author\" CONTENT=\"{UserName}\">\r\n"
          " <META NAME=\"Classification\" CONTENT=\" \">\r\n"
          " <META NAME=\"Description\" CONTENT=\" \">\r\n"
          " <META NAME=\"KeyWords\" CONTENT=\" \">\r\n" },
        { "Frames1", Rule::EmptyOnly,
          "<FRAMESET FRAMEBORDER=0 FRAMESPASING=0 BORDER=0 COLS=\"150,*\">\r\n<FRAME NAME=frame1 NORESIZE SRC=\" \">\r\n"
          "<FRAME NAME=frame2 SRC=\" \">\r\n</FRAMESET>\r\n<NOFRAMES>" },
        { "Style2", Rule::WrapWithDefault, "<STYLE TYPE=\"text/css\"><!--\r\n", "\r\n--></STYLE>\r\n",
          "<STYLE TYPE=\"text/css\"><!--\r\n--></STYLE>" },
        { "Jheader1", Rule::WrapWithDefault, "<SCRIPT langauge=\"JavaScript\">\r\n<!--\r\n", "\r\n//-->\r\n</SCRIPT>",
          "<SCRIPT langauge=\"JavaScript\">\r\n<!--\r\n\r\n//-->\r\n</SCRIPT>" },
        { "JArray1", Rule::WrapWithDefault, "var ", " = new array (1,2);", "var myarray = new array (1,2);" },
        { "JFunction1", Rule::WrapWithDefault, "function ", " {\r\n ;\r\n}", "function myfunc() {\r\n ;\r\n}" },
        { "JFor1", Rule::EmptyOnly, " for (var i=0; i<2; i++) {\r\n  ;\r\n }" },
        { "JWhile1", Rule::EmptyOnly, " while (i<5) {\r\n  ;\r\n }" },
        { "Formempty1", Rule::Wrap, "<FORM name=\"FormOne\">\r\n", "\r\n</FORM>" },
        { "Button1", Rule::EmptyOnly, " <INPUT TYPE=\"button\" VALUE=\"button1\" ONCLICK=\" \">\r\n" },
        { "ComboBox1", Rule::EmptyOnly,
          " <SELECT NAME=\"combobox1\">\r\n  <OPTION SELECTED>option1\r\n  <OPTION>option2\r\n </SELECT>" },
        { "Text1", Rule::EmptyOnly, "<TEXTAREA NAME=\"TEXT1\" COLS=60% ROWS=5 WRAP=VIRTUAL></TEXTAREA>" },
        { "Textfield1", Rule::EmptyOnly, " <INPUT TYPE=\"Text\" NAME=\"Text1\" VALUE=\"\">\r\n" },
        { "SubmitFM", Rule::EmptyOnly, " <INPUT TYPE=\"Submit\" NAME=\"Submit1\" VALUE=\"Отправить\">\r\n" },
        { "ResetFM", Rule::EmptyOnly, " <INPUT TYPE=\"Reset\" NAME=\"Reset1\" VALUE=\"Очистить\">\r\n" },
    };
    return rows;
}

namespace {

const QHash<QString, QString> kUser { { QStringLiteral("UserName"), QStringLiteral("A. User") } };

std::optional<QString> expectedFor(const ExpectedRow& row, const QString& selection)
{
    return row.expected(selection, kUser.value(QStringLiteral("UserName")));
}

} // namespace

class InsertRow : public testing::TestWithParam<ExpectedRow> {};

TEST_P(InsertRow, ComposesWithAndWithoutSelection)
{
    const ExpectedRow& row = GetParam();
    const Fragment* fragment = findFragment(QString::fromLatin1(row.command));
    ASSERT_NE(fragment, nullptr) << row.command;
    // Plain text, then a selection with line breaks, markup characters and
    // brace texts that must go in unchanged and never be filled.
    for (const QString& selection : { QString(), QStringLiteral("abc"),
                                      QStringLiteral("a<b>&c\r\n{S}{UserName}{T}\r\n") }) {
        EXPECT_EQ(composeFragment(*fragment, selection, kUser), expectedFor(row, selection))
            << row.command << " with selection " << selection.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(InsertAndExtraMenus, InsertRow, testing::ValuesIn(insertRows()),
                         [](const testing::TestParamInfo<ExpectedRow>& info) { return std::string(info.param.command); });

TEST(InsertRows, MetaBlockTakesTheUserNameAsItIs)
{
    const Fragment* meta = findFragment(QStringLiteral("Meat1"));
    ASSERT_NE(meta, nullptr);
    const auto withName = [&](const QString& name) {
        return composeFragment(*meta, QString(), { { QStringLiteral("UserName"), name } })->split(QStringLiteral("\r\n")).at(2);
    };
    EXPECT_EQ(withName(QString()), QStringLiteral(" <META NAME=\"Author\" CONTENT=\"\">"));
    EXPECT_EQ(withName(QStringLiteral("тов. \"Q\" {S}")), QStringLiteral(" <META NAME=\"Author\" CONTENT=\"тов. \"Q\" {S}\">"));
}
