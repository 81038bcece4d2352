#include "ui/qtuserprompts.h"

#include "ui/filefilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QHash>
#include <QMessageBox>
#include <QPrintDialog>
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

} // namespace

Answer QtUserPrompts::messageBox(const MessageBoxSpec& spec)
{
    // The program's two-line messages join their lines by LF CR: one line
    // break on screen, not two.
    QString text = spec.text;
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    QMessageBox box(toQtIcon(spec.icon), spec.caption, text, QMessageBox::NoButton, dialogParent());
    QHash<QAbstractButton*, Answer> answers;
    for (const Answer answer : spec.buttons) {
        QPushButton* button = box.addButton(buttonCaption(answer), buttonRole(answer));
        answers.insert(button, answer);
        if (answer == spec.defaultButton)
            box.setDefaultButton(button);
        if (answer == spec.escapeButton)
            box.setEscapeButton(button);
    }
    box.exec();
    return answers.value(box.clickedButton(), spec.escapeButton);
}

std::optional<FileDialogResult> QtUserPrompts::runFileDialog(const FileDialogSpec& spec, bool save)
{
    QFileDialog dialog(dialogParent(), spec.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : (spec.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    if (!spec.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = toQtNameFilters(spec.filter);
    dialog.setNameFilters(filters);
    if (spec.filterIndex >= 1 && spec.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(spec.filterIndex - 1));
    if (!spec.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(spec.defaultExtension);
    if (!spec.fileName.isEmpty())
        dialog.selectFile(spec.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult { dialog.selectedFiles().constFirst(),
                              int(filters.indexOf(dialog.selectedNameFilter())) + 1 };
}

std::optional<FileDialogResult> QtUserPrompts::openFile(const FileDialogSpec& spec)
{
    return runFileDialog(spec, false);
}

std::optional<FileDialogResult> QtUserPrompts::saveFile(const FileDialogSpec& spec)
{
    return runFileDialog(spec, true);
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
    QPrintDialog dialog(&printer, dialogParent());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}
