#include "tools/printing.h"

#include "core/document/appcontext.h"
#include "core/encoding/linebreaks.h"
#include "core/platform/apperror.h"
#include "core/platform/platform.h"
#include "core/platform/userprompts.h"
#include "core/text/editorbuffer.h"
#include "tools/printersystem.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <memory>

namespace {

// Only one job is laid out at a time; events handled between pages could
// otherwise start a second one.
bool g_printing = false;

struct PrintingFlag {
    PrintingFlag() { g_printing = true; }
    ~PrintingFlag() { g_printing = false; }
    PrintingFlag(const PrintingFlag&) = delete;
    PrintingFlag& operator=(const PrintingFlag&) = delete;
};

// The printable area as the printer reports it: margins at the printer's own
// minimum, so the paint origin is the area's top-left corner.
void useWholePrintableArea(QPrinter& printer)
{
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

void paintPage(QPainter& painter, QTextDocument& doc, int page, const QSizeF& pageSize, const QColor& color)
{
    painter.save();
    const QRectF area(0, page * pageSize.height(), pageSize.width(), pageSize.height());
    painter.translate(0, -area.top());
    painter.setClipRect(area);
    QAbstractTextDocumentLayout::PaintContext paint;
    paint.clip = area;
    paint.palette.setColor(QPalette::Text, color);
    doc.documentLayout()->draw(&painter, paint);
    painter.restore();
}

} // namespace

QString printJobName(const QString& title)
{
    return title.left(kPrintJobNameLength);
}

void printPlainText(QPrinter& printer, const QString& text, const QFont& font, const QString& title,
                    QTextEdit* formatter)
{
    const QString lines = linebreaks::toEditorText(text);
    std::unique_ptr<QTextEdit> own;
    if (!formatter) {
        own = std::make_unique<QTextEdit>();
        formatter = own.get();
    }
    formatter->setFont(font);
    formatter->document()->setDefaultFont(font);
    formatter->setPlainText(lines);
    const QColor color = formatter->palette().color(QPalette::Text);

    printer.setDocName(printJobName(title));
    useWholePrintableArea(printer);

    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(QStringLiteral("Cannot start the print job"));

    // The layout works on a copy so that the hidden control's own width plays
    // no part and the text stays as it was given even if the control changes.
    std::unique_ptr<QTextDocument> doc(formatter->document()->clone());
    doc->setDefaultFont(font);
    doc->setDocumentMargin(0);
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setMargin(0);
    frame.setPadding(0);
    frame.setBorder(0);
    doc->rootFrame()->setFrameFormat(frame);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->documentLayout()->setPaintDevice(painter.device());
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    const QSizeF pageSize(area.width(), area.height());
    doc->setPageSize(pageSize);
    const int pages = qMax(1, doc->pageCount());

    // A printer that cannot make copies itself gets every page as often as asked.
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
    const bool collate = printer.collateCopies();
    const int documentCopies = collate ? copies : 1;
    const int pageCopies = collate ? 1 : copies;
    bool first = true;
    for (int d = 0; d < documentCopies; ++d) {
        for (int page = 0; page < pages; ++page) {
            for (int p = 0; p < pageCopies; ++p) {
                if (!first && !printer.newPage())
                    throw AppError(QStringLiteral("Cannot start a new page"));
                first = false;
                paintPage(painter, *doc, page, pageSize, color);
                // The window keeps repainting and answering while pages go out.
                QCoreApplication::processEvents();
            }
        }
    }
    painter.end();
}

QString pdfFileName(const QString& title)
{
    // The name may be a Windows one ("c:\untitled.htm"): its last part only.
    const QString base = QFileInfo(title.section(u'\\', -1)).completeBaseName();
    const QString name = (base.isEmpty() ? QStringLiteral("print") : base) + QStringLiteral(".pdf");
    if (QDir::isAbsolutePath(title) && !title.contains(u'\\'))
        return QFileInfo(title).absoluteDir().filePath(name);
    return QDir::home().filePath(name);
}

bool printTextWithDialog(const Platform& platform, const QString& text, const QFont& font, const QString& title,
                         QTextEdit* formatter)
{
    PrinterSystem& printers = *platform.printers;
    // Without any printer a PDF file is the one place to print to; with
    // printers but none chosen as the default, the user is told.
    const bool noPrinter = printers.printerNames().isEmpty();
    if (!noPrinter && !printers.hasDefaultPrinter())
        throw AppError(QStringLiteral("There is no default printer currently selected"));
    QPrinter& printer = printers.currentPrinter();
    if (noPrinter && (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFileName(title));
    }
    if (!platform.prompts->printDialog(printer))
        return false;
    if (g_printing)
        throw AppError(QStringLiteral("Printing in progress"));
    PrintingFlag flag;
    printPlainText(printer, text, font, title, formatter);
    return true;
}

void printDocument(AppContext& context)
{
    EditorBuffer* memo = context.memo1;
    if (context.richEdit1) {
        // The editor's text colour goes to paper too.
        QPalette palette = context.richEdit1->palette();
        palette.setColor(QPalette::Text, memo->palette().color(QPalette::Text));
        context.richEdit1->setPalette(palette);
    }
    printTextWithDialog(context.platform, memo->text(), memo->font(), context.doc.fileName, context.richEdit1);
}
