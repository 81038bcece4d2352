#include "benchdocument.h"

#include "core/encoding/cp1251.h"

#include <QStringList>

namespace benchdocument {

QString marker() { return QStringLiteral("МеткаПоиска-7319"); }

namespace {

const char* const kRussian[] = {
    "Съешь же ещё этих мягких французских булок, да выпей чаю.",
    "В чащах юга жил бы цитрус? Да, но фальшивый экземпляр!",
    "Редактор  хранит текст в кодовой странице  Windows-1251.",
    "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.",
    "Каждая строка документа завершается парой символов CR и LF.",
};
const char* const kEnglish[] = {
    "The quick brown fox jumps over the lazy dog.",
    "Pack my box with five dozen liquor jugs,  twice.",
    "Sphinx of black quartz, judge my vow.",
};

QString block(int n)
{
    const QString ru = QString::fromUtf8(kRussian[n % 5]);
    const QString ru2 = QString::fromUtf8(kRussian[(n + 2) % 5]);
    const QString en = QString::fromUtf8(kEnglish[n % 3]);
    switch (n % 4) {
    case 0:
        return QStringLiteral("<H2><A NAME=\"s%1\">Раздел %1</A></H2>\r\n<P>%2 <B>%3</B>\r\n%4</P>\r\n")
            .arg(n).arg(ru, en, ru2);
    case 1:
        return QStringLiteral("<TABLE BORDER=1 WIDTH=\"100%\">\r\n<TR><TD>%1</TD><TD ALIGN=RIGHT>%2</TD></TR>\r\n"
                              "<TR><TD>%3</TD><TD>%4</TD></TR>\r\n</TABLE>\r\n")
            .arg(n).arg(ru, en, ru2);
    case 2:
        return QStringLiteral("<UL>\r\n  <LI>%1\r\n  <LI><I>%2</I>\r\n  <LI>%3 <A HREF=\"page%4.htm\">далее</A>\r\n</UL>\r\n")
            .arg(ru, en, ru2).arg(n);
    default:
        return QStringLiteral("<P ALIGN=CENTER>%1<BR>\r\n%2    %3<BR>\r\n<IMG SRC=\"img/p%4.gif\" ALT=\"рис. %4\"></P>\r\n")
            .arg(ru, ru2, en).arg(n);
    }
}

} // namespace

QByteArray make(qsizetype bytes)
{
    const QByteArray head = cp1251::encode(QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">\r\n"
        "<TITLE>Пример документа</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"));
    const QByteArray tail = "</BODY>\r\n</HTML>\r\n";
    QByteArray out;
    out.reserve(bytes + 4096);
    out.append(head);
    const QByteArray middle = cp1251::encode(QStringLiteral("<P>%1 — середина документа</P>\r\n").arg(marker()));
    bool markerPlaced = false;
    for (int n = 0;; ++n) {
        if (!markerPlaced && out.size() >= bytes / 2) {
            out.append(middle);
            markerPlaced = true;
        }
        const QByteArray next = cp1251::encode(block(n));
        if (out.size() + next.size() + tail.size() > bytes)
            break;
        out.append(next);
    }
    out.append(tail);
    return out;
}

QByteArray makeOneLine(qsizetype bytes)
{
    return make(bytes).replace("\r\n", "  ");
}

QByteArray makeMixed(qsizetype bytes, qsizetype longLine)
{
    QByteArray out = make(bytes);
    for (const double at : kMixedLongLines) {
        // From the line start at the fraction on, breaks become blanks until
        // the line is long enough; the size stays the same.
        qsizetype from = out.indexOf("\r\n", qsizetype(double(out.size()) * at)) + 2;
        const qsizetype end = from + longLine;
        while ((from = out.indexOf("\r\n", from)) >= 0 && from < end)
            out.replace(from, 2, "  ");
    }
    return out;
}

QByteArray asUtf8(const QByteArray& windows1251)
{
    return cp1251::decode(windows1251).toUtf8();
}

QByteArray makeUtf8(qsizetype bytes)
{
    // The page's own mix of one- and two-byte characters sets the size to ask for.
    const double growth = double(asUtf8(make(1024 * 1024)).size()) / double(1024 * 1024);
    return asUtf8(make(qsizetype(double(bytes) / growth)));
}

} // namespace benchdocument
