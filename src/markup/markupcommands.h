#pragma once

#include "core/platform/userprompts.h"

#include <QHash>
#include <QString>

struct AppContext;
struct Fragment;

/// Runs markup commands on the editing area: one replacement of the selection
/// composed from the command's row of the fragment table.
class MarkupCommands {
public:
    explicit MarkupCommands(AppContext& context);

    /// Applies the command's row to the current selection.
    void apply(const QString& command);

    /// `Find1Click`: image from a file chosen in `OpenImage`.
    void imageFromFile();
    /// `Linkfile1Click`: link to a file chosen in `OpenLinked`.
    void linkToFile();

private:
    QHash<QString, QString> variables() const;
    /// The one replacement: reads the selection now and applies the row.
    void applyRow(const Fragment& row, QHash<QString, QString> vars);
    /// Shows the dialog and remembers what was chosen; empty when cancelled.
    QString chooseFile(FileDialogSpec& dialog);

    AppContext& m_ctx;
    // The two file dialogs keep the file name and the filter chosen last,
    // for as long as the window lives.
    FileDialogSpec m_openImage;
    FileDialogSpec m_openLinked;
};
