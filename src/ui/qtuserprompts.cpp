#include "ui/qtuserprompts.h"

#include "ui/filefilter.h"
#include "ui/onefiledialog.h"
#include "ui/printdialog.h"

#include <QApplication>
#include <QFontDialog>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

QMessageBox::Icon toQtIcon(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::Warning: return QMessageBox::Warning;
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Stop: return QMessageBox::Critical;
    case BoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString buttonCaption(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return QStringLiteral("OK");
    case Answer::Yes: return QStringLiteral("&Yes");
    case Answer::No: return QStringLiteral("&No");
    case Answer::Cancel: return QStringLiteral("Cancel");
    }
    return {};
}

QMessageBox::ButtonRole buttonRole(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return QMessageBox::AcceptRole;
    case Answer::Yes: return QMessageBox::YesRole;
    case Answer::No: return QMessageBox::NoRole;
    case Answer::Cancel: return QMessageBox::RejectRole;
    }
    return QMessageBox::AcceptRole;
}

// The boxes' two-line messages separate their lines by LF CR; on screen that
// is one line break, whichever order the pair comes in.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

Answer QtUserPrompts::messageBox(const MessageBoxSpec& request)
{
    QMessageBox box(toQtIcon(request.icon), request.caption, displayText(request.text), QMessageBox::NoButton, dialogParent());
    // Messages quote file names and document text: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    QHash<QAbstractButton*, Answer> answers;
    for (const Answer answer : request.buttons) {
        QPushButton* button = box.addButton(buttonCaption(answer), buttonRole(answer));
        answers.insert(button, answer);
        if (answer == request.defaultButton)
            box.setDefaultButton(button);
        if (answer == request.escapeButton)
            box.setEscapeButton(button);
    }
    if (!request.buttons.contains(request.escapeButton)) {
        // Escape answers something no button says (keep and ask again): an
        // invisible button takes Escape and the close box, so neither counts
        // as "&No".
        QPushButton* escape = box.addButton(QString(), QMessageBox::RejectRole);
        escape->hide();
        box.setEscapeButton(escape);
    }
    box.exec();
    return answers.value(box.clickedButton(), request.escapeButton);
}

std::optional<FileDialogResult> QtUserPrompts::runFileDialog(const FileDialogSpec& request, bool save)
{
    OneFileDialog dialog(dialogParent(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setMustExist(!save && request.fileMustExist);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = toQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return std::nullopt;
    return FileDialogResult { dialog.chosenFile(), int(filters.indexOf(dialog.selectedNameFilter())) + 1 };
}

std::optional<FileDialogResult> QtUserPrompts::openFile(const FileDialogSpec& request)
{
    return runFileDialog(request, false);
}

std::optional<FileDialogResult> QtUserPrompts::saveFile(const FileDialogSpec& request)
{
    return runFileDialog(request, true);
}

std::optional<QFont> QtUserPrompts::chooseFont(const QFont& initial)
{
    QFontDialog dialog(initial, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

bool QtUserPrompts::printDialog(QPrinter& printer)
{
    PrintDlg dialog(&printer, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}
