#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <optional>

class QPrinter;

/// Buttons and answers of a message box. Cancel also stands for closing the
/// box with its close button or Escape where the box has a Cancel button.
enum class Answer { Ok, Yes, No, Cancel };

enum class BoxIcon { None, Question, Warning, Information, Stop };

struct MessageBoxSpec {
    QString caption;
    QString text;
    BoxIcon icon = BoxIcon::None;
    QList<Answer> buttons { Answer::Ok };
    Answer defaultButton = Answer::Ok;
    Answer escapeButton = Answer::Ok; ///< the answer given by Escape or the close box
};

/// An open or save file dialog as the commands describe it. The filter uses
/// the "description|pattern|description|pattern" form.
struct FileDialogSpec {
    QString title;                 ///< empty: the system's default title
    QString filter;
    int filterIndex = 1;           ///< 1-based, as the filter lists it
    QString fileName;              ///< proposed file name
    QString defaultExtension;      ///< appended when the chosen name has none
    bool fileMustExist = false;
    bool confirmOverwrite = false;
};

struct FileDialogResult {
    QString fileName;
    int filterIndex = 1;
};

/// Everything that asks the user goes through this interface: a Qt
/// implementation for the editor, a scripted one for tests.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    /// Shows a modal message box and returns the button chosen.
    virtual Answer messageBox(const MessageBoxSpec& request) = 0;

    /// Open-file dialog; nothing when cancelled.
    virtual std::optional<FileDialogResult> openFile(const FileDialogSpec& request) = 0;

    /// Save-file dialog; nothing when cancelled.
    virtual std::optional<FileDialogResult> saveFile(const FileDialogSpec& request) = 0;

    /// Font dialog starting from the given font; nothing when cancelled.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;

    /// Print dialog over the given printer (printer choice and copies, no page
    /// range, no selection, no print-to-file); false when cancelled.
    virtual bool printDialog(QPrinter& printer) = 0;
};

/// Shows an open dialog that lives as long as its owner: it keeps the name
/// and the filter chosen, so its next use proposes them. Nothing when
/// cancelled.
inline std::optional<QString> chooseOpenFile(UserPrompts& prompts, FileDialogSpec& dialog)
{
    const std::optional<FileDialogResult> chosen = prompts.openFile(dialog);
    if (!chosen || chosen->fileName.isEmpty())
        return std::nullopt;
    dialog.fileName = chosen->fileName;
    dialog.filterIndex = chosen->filterIndex;
    return chosen->fileName;
}
