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
