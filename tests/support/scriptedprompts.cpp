#include "support/scriptedprompts.h"

Answer ScriptedPrompts::messageBox(const MessageBoxSpec& spec)
{
    boxes.append(spec);
    return answers.isEmpty() ? spec.defaultButton : answers.takeFirst();
}

std::optional<FileDialogResult> ScriptedPrompts::openFile(const FileDialogSpec& spec)
{
    openDialogs.append(spec);
    return openResults.isEmpty() ? std::nullopt : openResults.takeFirst();
}

std::optional<FileDialogResult> ScriptedPrompts::saveFile(const FileDialogSpec& spec)
{
    saveDialogs.append(spec);
    return saveResults.isEmpty() ? std::nullopt : saveResults.takeFirst();
}

std::optional<QFont> ScriptedPrompts::chooseFont(const QFont& initial)
{
    fontDialogs.append(initial);
    return fontResults.isEmpty() ? std::nullopt : fontResults.takeFirst();
}

bool ScriptedPrompts::printDialog(QPrinter& printer)
{
    ++printDialogs;
    if (onPrintDialog)
        onPrintDialog(printer);
    return printResults.isEmpty() ? false : printResults.takeFirst();
}

QStringList ScriptedPrompts::boxTexts() const
{
    QStringList texts;
    for (const MessageBoxSpec& box : boxes)
        texts.append(box.text);
    return texts;
}
