#include "support/scriptedprompts.h"

Answer ScriptedPrompts::messageBox(const MessageBoxSpec& request)
{
    boxes.append(request);
    return answers.isEmpty() ? request.defaultButton : answers.takeFirst();
}

std::optional<FileDialogResult> ScriptedPrompts::openFile(const FileDialogSpec& request)
{
    openDialogs.append(request);
    return openResults.isEmpty() ? std::nullopt : openResults.takeFirst();
}

std::optional<FileDialogResult> ScriptedPrompts::saveFile(const FileDialogSpec& request)
{
    saveDialogs.append(request);
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
