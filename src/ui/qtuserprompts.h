#pragma once

#include "core/platform/userprompts.h"

class QWidget;

/// The real dialogs: Qt message boxes and the platform's file, font and
/// print dialogs, parented to the active window.
class QtUserPrompts : public UserPrompts {
public:
    Answer messageBox(const MessageBoxSpec& request) override;
    std::optional<FileDialogResult> openFile(const FileDialogSpec& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogSpec& request) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    bool printDialog(QPrinter& printer) override;

private:
    std::optional<FileDialogResult> runFileDialog(const FileDialogSpec& request, bool save);
};
