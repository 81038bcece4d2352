#pragma once

#include "core/platform/userprompts.h"

#include <QList>
#include <functional>
#include <optional>

/// Replays scripted answers to every dialog and records what was shown.
/// A message box with no scripted answer gets its default button; a file,
/// font or print dialog with none is cancelled.
class ScriptedPrompts : public UserPrompts {
public:
    // Scripts, consumed in order.
    QList<Answer> answers;
    QList<std::optional<FileDialogResult>> openResults;
    QList<std::optional<FileDialogResult>> saveResults;
    QList<std::optional<QFont>> fontResults;
    QList<bool> printResults;
    /// Runs inside a print dialog, before its scripted result (to change the printer).
    std::function<void(QPrinter&)> onPrintDialog;

    // Records.
    QList<MessageBoxSpec> boxes;
    QList<FileDialogSpec> openDialogs;
    QList<FileDialogSpec> saveDialogs;
    QList<QFont> fontDialogs;
    int printDialogs = 0;

    Answer messageBox(const MessageBoxSpec& request) override;
    std::optional<FileDialogResult> openFile(const FileDialogSpec& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogSpec& request) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    bool printDialog(QPrinter& printer) override;

    /// Texts of the message boxes shown so far.
    QStringList boxTexts() const;
};
