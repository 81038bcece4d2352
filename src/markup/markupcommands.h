#pragma once

#include <QHash>
#include <QString>

struct AppContext;

/// Runs markup commands on the editing area: one replacement of the selection
/// composed from the command's row of the fragment table.
class MarkupCommands {
public:
    explicit MarkupCommands(AppContext& context);

    /// Applies the command's row to the current selection.
    void apply(const QString& command);

    /// `Find1Click`: image from a file.
    void imageFromFile();
    /// `Linkfile1Click`: link to a file.
    void linkToFile();

private:
    QHash<QString, QString> variables() const;

    AppContext& m_ctx;
};
