#pragma once

#include <QString>

class QFont;
class QPrinter;
class QTextEdit;
struct AppContext;
struct Platform;

/// Longest print job name the spooler is given.
constexpr int kPrintJobNameLength = 31;

/// The name handed to the spooler: the title cut after its 31st character.
QString printJobName(const QString& title);

/// Lays the text out in one font on the printer's printable area and prints
/// it as one job named after `title` (cut to 31 characters), with the copies
/// set on the printer. Lines wider than the area wrap at word boundaries, every
/// line break starts a new line, a full page starts a new one; nothing is
/// added around the text (no margin, header or page number). An empty text
/// prints one empty page. `formatter`, when given, is the hidden rich-text
/// control that keeps the text and font of the last print.
/// Throws AppError when the job cannot be started.
void printPlainText(QPrinter& printer, const QString& text, const QFont& font, const QString& title,
                    QTextEdit* formatter = nullptr);

/// The PDF file a print goes to when there is no printer: beside the
/// document, named after it, or in the home folder for a title that names no
/// file of its own ("c:\untitled.htm" gives "untitled.pdf").
QString pdfFileName(const QString& title);

/// The whole print command for a text: the print dialog on the program's
/// current printer, which is a PDF file (pdfFileName) when the system has no
/// printer at all; "There is no default printer currently selected" (before
/// any dialog) when it has printers but no default; "Printing in progress"
/// while another job is being laid out; then printPlainText(). Returns false
/// when the dialog was cancelled. `text` may use CRLF, CR or LF line breaks.
bool printTextWithDialog(const Platform& platform, const QString& text, const QFont& font, const QString& title,
                         QTextEdit* formatter = nullptr);

/// `PrintMClick`: prints the whole document in the editor's font, the job
/// named after the document's file name.
void printDocument(AppContext& context);
