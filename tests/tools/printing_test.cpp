#include "core/text/editorbuffer.h"
#include "support/testwindow.h"
#include "tools/printing.h"
#include "tools/qtprintersystem.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// Output of a poppler tool on a PDF file.
QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(tool, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, in order (pdftotext ends every page with a form feed).
QStringList pageTexts(const QString& pdf)
{
    QStringList pages = popplerOutput(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") })
                            .split(u'\f');
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString pdfInfo(const QString& pdf, const QString& key)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(key), QRegularExpression::MultilineOption);
    return line.match(popplerOutput(QStringLiteral("pdfinfo"), { pdf })).captured(1).trimmed();
}

// A window whose print dialog is confirmed and whose printer writes PDF.
struct PrintWindow : TestWindow {
    PrintWindow()
    {
        pdf = path(QStringLiteral("out.pdf"));
        fake.printers.pdfPath = pdf;
        fake.prompts.printResults = { true };
    }
    QString pdf;
};

QFont printFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

TEST(Printing, PrintersButNoDefaultStopBeforeTheDialog)
{
    PrintWindow t;
    t.fake.printers.hasDefault = false;
    t.memo().setText(QStringLiteral("text"));
    t.window->PrintMClick();
    EXPECT_EQ(t.fake.prompts.printDialogs, 0);
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QStringLiteral("There is no default printer currently selected.") });
    EXPECT_FALSE(QFile::exists(t.pdf));
    EXPECT_EQ(t.ctx().richEdit1->toPlainText(), QStringLiteral("RichEdit1"));
}

TEST(Printing, WithoutAnyPrinterTheDialogOpensOnAPdfFileBesideTheDocument)
{
    PrintWindow t;
    t.fake.printers.names.clear();
    t.fake.printers.hasDefault = false;
    t.fake.printers.pdfPath.clear();
    const QString document = t.path(QStringLiteral("my page.htm"));
    t.ctx().doc.fileName = document;
    t.memo().setText(QStringLiteral("PDF text"));
    QString destination;
    t.fake.prompts.onPrintDialog = [&](QPrinter& printer) {
        if (printer.outputFormat() == QPrinter::PdfFormat)
            destination = printer.outputFileName();
    };
    t.window->PrintMClick();
    EXPECT_EQ(t.fake.prompts.printDialogs, 1);
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(destination, t.path(QStringLiteral("my page.pdf")));
    EXPECT_EQ(pageTexts(t.path(QStringLiteral("my page.pdf"))).join(QString()).simplified(), QStringLiteral("PDF text"));

    // Names that are no file of their own go to the home folder.
    EXPECT_EQ(pdfFileName(QStringLiteral("c:\\untitled.htm")), QDir::home().filePath(QStringLiteral("untitled.pdf")));
    EXPECT_EQ(pdfFileName(QStringLiteral("License")), QDir::home().filePath(QStringLiteral("License.pdf")));
}

TEST(Printing, SystemPrintersOfThisMachine)
{
    // The real printer system: on a machine without printers the dialog
    // opens on a PDF file.
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    QtPrinterSystem system;
    EXPECT_FALSE(system.hasDefaultPrinter());
    PrintWindow t;
    t.ctx().platform.printers = &system;
    t.ctx().doc.fileName = t.path(QStringLiteral("doc.htm"));
    t.fake.prompts.printResults = { false };
    QString destination;
    t.fake.prompts.onPrintDialog = [&](QPrinter& printer) {
        if (printer.outputFormat() == QPrinter::PdfFormat)
            destination = printer.outputFileName();
    };
    t.window->PrintMClick();
    EXPECT_EQ(t.fake.prompts.printDialogs, 1);
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(destination, t.path(QStringLiteral("doc.pdf")));
}

TEST(Printing, CancelledDialogPrintsNothing)
{
    PrintWindow t;
    t.fake.prompts.printResults = { false };
    t.memo().setText(QStringLiteral("text"));
    t.window->PrintMClick();
    EXPECT_EQ(t.fake.prompts.printDialogs, 1);
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_FALSE(QFile::exists(t.pdf));
    EXPECT_EQ(t.ctx().richEdit1->toPlainText(), QStringLiteral("RichEdit1"));
}

TEST(Printing, JobNameIsTheFileNameCutTo31Characters)
{
    EXPECT_EQ(printJobName(QStringLiteral("c:\\untitled.htm")), QStringLiteral("c:\\untitled.htm"));
    const QString longName = QStringLiteral("/home/user/documents/site/pages/index.htm");
    EXPECT_EQ(printJobName(longName), longName.left(31));
    EXPECT_EQ(printJobName(longName).size(), 31);

    PrintWindow t;
    t.ctx().doc.fileName = longName;
    t.memo().setText(QStringLiteral("x"));
    t.window->PrintMClick();
    ASSERT_TRUE(QFile::exists(t.pdf));
    EXPECT_EQ(pdfInfo(t.pdf, QStringLiteral("Title")), longName.left(31));
}

TEST(Printing, EmptyDocumentPrintsOneEmptyPage)
{
    PrintWindow t;
    t.memo().setText(QString());
    t.window->PrintMClick();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << t.fake.prompts.boxTexts().join(u'|').toStdString();
    ASSERT_TRUE(QFile::exists(t.pdf));
    EXPECT_EQ(pdfInfo(t.pdf, QStringLiteral("Pages")), QStringLiteral("1"));
    const QStringList pages = pageTexts(t.pdf);
    EXPECT_TRUE(pages.isEmpty() || pages.join(QString()).trimmed().isEmpty()) << pages.join(u'|').toStdString();
}

// A UTF-8 page prints its characters, not its bytes: é stays é (Windows-1251
// has none), and nothing of the encoding shows.
TEST(Printing, AUtf8PagePrintsItsCharacters)
{
    PrintWindow t;
    t.memo().setFont(printFont());
    const QString file = t.path(QStringLiteral("page.htm"));
    writeFile(file, "\xEF\xBB\xBF<p>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, caf\xC3\xA9</p>");
    t.fake.prompts.openResults.append(FileDialogResult { file, 1 });
    t.window->OpenBtnClick();
    t.window->PrintMClick();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << t.fake.prompts.boxTexts().join(u'|').toStdString();
    const QStringList pages = pageTexts(t.pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages.first().trimmed(), QString::fromUtf8("<p>Привет, café</p>"));
}

TEST(Printing, LongLinesWrapOnTheWholePrintableAreaPageAfterPage)
{
    PrintWindow t;
    const QFont font = printFont();
    t.memo().setFont(font);
    QPrinter& printer = t.fake.printers.currentPrinter();

    // Each line is about two and a half printable widths long, in words of ten
    // characters, so it wraps into exactly three printed lines.
    const QFontMetricsF metrics(font, &printer);
    const qreal width = printer.pageRect(QPrinter::DevicePixel).width();
    const int perLine = int(width / metrics.horizontalAdvance(u'x'));
    const int words = perLine * 5 / 2 / 10;
    QStringList lines;
    for (int i = 1; i <= 500; ++i) {
        QString line = QStringLiteral("L%1").arg(i, 3, 10, QLatin1Char('0'));
        for (int w = 1; w < words; ++w)
            line += QStringLiteral(" word%1").arg(w % 10000, 4, 10, QLatin1Char('0'));
        lines.append(line);
    }
    t.memo().setText(lines.join(QStringLiteral("\r\n")));
    t.memo().setSelStart(10);
    t.memo().setSelLength(5); // the selection plays no part
    t.window->PrintMClick();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << t.fake.prompts.boxTexts().join(u'|').toStdString();
    ASSERT_TRUE(QFile::exists(t.pdf));

    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    // The layout puts printed lines on whole device pixels.
    const int lineHeight = qCeil(QFontMetricsF(font, &printer).lineSpacing());
    const int linesPerPage = int(area.height()) / lineHeight;
    const int expectedPages = (500 * 3 + linesPerPage - 1) / linesPerPage;
    ASSERT_GT(expectedPages, 5);
    EXPECT_EQ(pdfInfo(t.pdf, QStringLiteral("Pages")), QString::number(expectedPages));

    // Every line is there, in order, and each page is full but the last.
    const QStringList pages = pageTexts(t.pdf);
    ASSERT_EQ(pages.size(), expectedPages);
    const QString all = pages.join(QString());
    qsizetype from = 0;
    for (int i = 1; i <= 500; ++i) {
        const qsizetype at = all.indexOf(QStringLiteral("L%1 ").arg(i, 3, 10, QLatin1Char('0')), from);
        ASSERT_GE(at, 0) << "line " << i << " missing or out of order";
        from = at;
    }
    EXPECT_TRUE(pages.first().trimmed().startsWith(QStringLiteral("L001 word0001")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("L500 ")));
    for (int p = 0; p + 1 < pages.size(); ++p)
        EXPECT_GE(pages[p].trimmed().count(u'\n') + 1, linesPerPage - 1) << "page " << p + 1;
    for (const QString& page : pages)
        for (const QString& printed : page.split(u'\n'))
            EXPECT_LE(printed.trimmed().size(), perLine) << printed.toStdString();

    // The text starts at the printable area's top-left corner: no margin added.
    const QString boxes = popplerOutput(QStringLiteral("pdftotext"),
                                        { QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                          QStringLiteral("-l"), QStringLiteral("1"), t.pdf, QStringLiteral("-") });
    const QRegularExpression word(QStringLiteral("<word xMin=\"(-?[0-9.]+)\" yMin=\"(-?[0-9.]+)\""));
    const QRegularExpressionMatch first = word.match(boxes);
    ASSERT_TRUE(first.hasMatch()) << boxes.left(500).toStdString();
    EXPECT_LT(first.captured(1).toDouble(), 1.5);
    EXPECT_LT(first.captured(2).toDouble(), 4.0);
    EXPECT_TRUE(boxes.contains(QStringLiteral(">L001</word>")));
}

TEST(Printing, CopiesChosenInTheDialog)
{
    PrintWindow t;
    t.fake.prompts.onPrintDialog = [](QPrinter& printer) {
        printer.setCopyCount(3);
        printer.setCollateCopies(true);
    };
    t.memo().setText(QStringLiteral("one copy\r\nof two lines"));
    t.window->PrintMClick();
    ASSERT_TRUE(QFile::exists(t.pdf));
    // The PDF printer makes no copies itself, so each copy is its own page.
    const QStringList pages = pageTexts(t.pdf);
    ASSERT_EQ(pages.size(), 3);
    for (const QString& page : pages)
        EXPECT_EQ(page.simplified(), QStringLiteral("one copy of two lines"));
}

TEST(Printing, SecondPrintWhileOneIsRunningIsRefused)
{
    PrintWindow t;
    t.fake.prompts.printResults = { true, true };
    t.memo().setFont(printFont());
    t.memo().setText(QStringLiteral("first\r\nsecond"));
    bool ran = false;
    // Events handled while the first job is laid out start a second print.
    QTimer::singleShot(0, t.window.get(), [&] {
        ran = true;
        t.memo().setText(QStringLiteral("changed"));
        t.window->PrintMClick();
    });
    t.window->PrintMClick();
    ASSERT_TRUE(ran);
    EXPECT_EQ(t.fake.prompts.printDialogs, 2);
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QStringLiteral("Printing in progress.") });
    // The running job printed the text it was given.
    EXPECT_EQ(pageTexts(t.pdf).join(QString()).simplified(), QStringLiteral("first second"));
    EXPECT_EQ(t.ctx().richEdit1->toPlainText(), QStringLiteral("first\nsecond"));
}

TEST(Printing, TextWithTitleUsesTheSamePath)
{
    PrintWindow t;
    QTextEdit formatter;
    const bool printed = printTextWithDialog(t.ctx().platform, QStringLiteral("Лицензия\r\nстрока два"), printFont(),
                                             QStringLiteral("License"), &formatter);
    EXPECT_TRUE(printed);
    EXPECT_EQ(pdfInfo(t.pdf, QStringLiteral("Title")), QStringLiteral("License"));
    EXPECT_EQ(pageTexts(t.pdf).join(QString()).simplified(), QStringLiteral("Лицензия строка два"));
    EXPECT_EQ(formatter.toPlainText(), QStringLiteral("Лицензия\nстрока два"));

    t.fake.prompts.printResults = { false };
    EXPECT_FALSE(printTextWithDialog(t.ctx().platform, QStringLiteral("x"), printFont(), QStringLiteral("License")));
}
