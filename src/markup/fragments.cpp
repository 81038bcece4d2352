#include "markup/fragments.h"

namespace {

// CRLF inside the templates is written "\r\n".
const std::vector<Fragment> kTable = {
    // Inline styles, paragraphs, line breaks, alignment and lists.
    { "Bold1", "<B>{S}</B>", nullptr },
    { "Italic1", "<I>{S}</I>", nullptr },
    { "BolditaliC1", "<B><I>{S}</I></B>", nullptr },
    { "Fixed1", "<TT>{S}</TT>", nullptr },
    { "Font1", "<FONT SIZE=+0 COLOR=\"#000000\">{S}</FONT>", "<FONT SIZE=+0 COLOR=\"#000000\"> </FONT>" },
    { "Paragraph1", "<P>{S}</P>\r\n", "<P>\r\n" },
    { "N10", "<P>{S}</P>", nullptr },
    { "Return1", "<BR>\r\n{S}", "<BR>\r\n" },
    { "N9", nullptr, "<BR>" },
    { "Left1", "<DIV ALIGN=LEFT>\r\n{S}</DIV>", "<DIV ALIGN=LEFT>\r\n</DIV>" },
    { "Center1", "<CENTER>\r\n{S}</CENTER>", "<CENTER>\r\n</CENTER>" },
    { "Right1", "<DIV ALIGN=RIGHT>\r\n{S}</DIV>", "<DIV ALIGN=RIGHT>\r\n</DIV>" },
    { "Numbers1", "<OL>\r\n<LI>{S}\r\n</OL>", "<OL>\r\n<LI>\r\n</OL>" },
    { "List1", "<UL>\r\n<LI>{S}\r\n</UL>", "<UL>\r\n<LI>\r\n</UL>" },
    { "LisT2", "<DL>\r\n<DT>{S}\r\n</DL>", "<DL>\r\n<DT>\r\n</DL>" },
    { "MenuList", "<MENU>\r\n<LI>{S}\r\n</MENU>", "<MENU>\r\n<LI>\r\n</MENU>" },

    // Links, images and tables. Empty only: no template with a selection.
    // Replace: the same template either way, without {S}. Wrap: the empty
    // template is the wrap with nothing between the pieces. The file commands
    // fill {P} (full path), {N} (its file-name part) and {T} (link target).
    { "Link1", "<A HREF=\" \">{S}</A>", "<A HREF=\" \"></A>" },
    { "Linkfile1", "<A HREF=\"{T}\">{S}</A>", "<A HREF=\"{T}\"> </A>" },
    { "Line1", "<HR>\r\n", "<HR>\r\n" },
    { "Picture1", nullptr, "<IMG SRC=\" \" BORDER=0>" },
    { "Find1", nullptr, "<IMG SRC=\"{P}\" BORDER=0 ALT=\"{N}\">" },
    { "Table1", nullptr,
      "<TABLE ALIGN=JUSTIFY BORDER=2 COLS=2 WIDTH=\"100%\">\r\n"
      "<TR>\r\n"
      "<TD> </TD>\r\n"
      "<TD> </TD>\r\n"
      "</TR>\r\n"
      "<TR>\r\n"
      "<TD> </TD>\r\n"
      "<TD> </TD>\r\n"
      "</TR>\r\n"
      "</TABLE>" },
    { "Row1", "<TR>{S} </TR>", "<TR> </TR>" },
    { "Cell1", "<TD>{S} </TD>", "<TD> </TD>" },
    { "Caption1", "<CAPTION ALIGN=TOP> {S} </CAPTION>", "<CAPTION ALIGN=TOP>  </CAPTION>" },

    // Meta block, frames, style and script containers, JavaScript skeletons.
    // Wrap with default (style, script, array, function): the template
    // without a selection is the default fragment, not the empty wrap.
    { "Meat1", nullptr,
      " <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">\r\n"
      " <META NAME=\"GENERATOR\" CONTENT=\"Visual Quillet 1.7 [Brannoc]\">\r\n"
      " <META NAME=\"Author\" CONTENT=\"{UserName}\">\r\n"
      " <META NAME=\"Classification\" CONTENT=\" \">\r\n"
      " <META NAME=\"Description\" CONTENT=\" \">\r\n"
      " <META NAME=\"KeyWords\" CONTENT=\" \">\r\n" },
    { "Frames1", nullptr,
      "<FRAMESET FRAMEBORDER=0 FRAMESPASING=0 BORDER=0 COLS=\"150,*\">\r\n"
      "<FRAME NAME=frame1 NORESIZE SRC=\" \">\r\n"
      "<FRAME NAME=frame2 SRC=\" \">\r\n"
      "</FRAMESET>\r\n"
      "<NOFRAMES>" },
    { "Style2", "<STYLE TYPE=\"text/css\"><!--\r\n{S}\r\n--></STYLE>\r\n",
      "<STYLE TYPE=\"text/css\"><!--\r\n--></STYLE>" },
    { "Jheader1", "<SCRIPT langauge=\"JavaScript\">\r\n<!--\r\n{S}\r\n//-->\r\n</SCRIPT>",
      "<SCRIPT langauge=\"JavaScript\">\r\n<!--\r\n\r\n//-->\r\n</SCRIPT>" },
    { "JArray1", "var {S} = new array (1,2);", "var myarray = new array (1,2);" },
    { "JFunction1", "function {S} {\r\n ;\r\n}", "function myfunc() {\r\n ;\r\n}" },
    { "JFor1", nullptr, " for (var i=0; i<2; i++) {\r\n  ;\r\n }" },
    { "JWhile1", nullptr, " while (i<5) {\r\n  ;\r\n }" },

    // Forms. The Cyrillic button values are UTF-8 here; the buffer saves
    // them as Windows-1251 bytes like the rest of the text.
    { "Formempty1", "<FORM name=\"FormOne\">\r\n{S}\r\n</FORM>", "<FORM name=\"FormOne\">\r\n\r\n</FORM>" },
    { "Button1", nullptr, " <INPUT TYPE=\"button\" VALUE=\"button1\" ONCLICK=\" \">\r\n" },
    { "ComboBox1", nullptr,
      " <SELECT NAME=\"combobox1\">\r\n"
      "  <OPTION SELECTED>option1\r\n"
      "  <OPTION>option2\r\n"
      " </SELECT>" },
    { "Text1", nullptr, "<TEXTAREA NAME=\"TEXT1\" COLS=60% ROWS=5 WRAP=VIRTUAL></TEXTAREA>" },
    { "Textfield1", nullptr, " <INPUT TYPE=\"Text\" NAME=\"Text1\" VALUE=\"\">\r\n" },
    { "SubmitFM", nullptr, " <INPUT TYPE=\"Submit\" NAME=\"Submit1\" VALUE=\"Отправить\">\r\n" },
    { "ResetFM", nullptr, " <INPUT TYPE=\"Reset\" NAME=\"Reset1\" VALUE=\"Очистить\">\r\n" },
};

} // namespace

const std::vector<Fragment>& fragmentTable()
{
    return kTable;
}

const Fragment* findFragment(const QString& command)
{
    for (const Fragment& row : kTable)
        if (command == QLatin1String(row.command))
            return &row;
    return nullptr;
}

QString fillTemplate(const QString& templ, const QString& selection, const QHash<QString, QString>& vars)
{
    QString out;
    out.reserve(templ.size() + selection.size());
    qsizetype i = 0;
    while (i < templ.size()) {
        const QChar c = templ.at(i);
        if (c == u'{') {
            const qsizetype close = templ.indexOf(u'}', i + 1);
            if (close > i) {
                const QString name = templ.mid(i + 1, close - i - 1);
                if (name == QLatin1String("S")) {
                    out.append(selection);
                    i = close + 1;
                    continue;
                }
                const auto found = vars.constFind(name);
                if (found != vars.constEnd()) {
                    out.append(found.value());
                    i = close + 1;
                    continue;
                }
            }
        }
        out.append(c);
        ++i;
    }
    return out;
}

std::optional<QString> composeFragment(const Fragment& fragment, const QString& selection,
                                       const QHash<QString, QString>& vars)
{
    const char* templ = selection.isEmpty() ? fragment.withoutSelection : fragment.withSelection;
    if (!templ)
        return std::nullopt;
    return fillTemplate(QString::fromUtf8(templ), selection, vars);
}
