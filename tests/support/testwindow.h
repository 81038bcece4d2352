#pragma once

#include "support/fakeplatform.h"
#include "ui/umain.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <utility>

/// A main window on fake platform services, with its settings directory in a
/// fresh temporary folder (also set as XDG_CONFIG_HOME).
struct TestWindow {
    explicit TestWindow(const QStringList& arguments = {}, bool withSettingsFile = true);
    ~TestWindow();

    /// Path of a file in the temporary folder.
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<Tmain> window;

    EditorBuffer& memo() { return *window->memo(); }
    AppContext& ctx() { return window->context(); }

    /// Puts a text in and counts it unchanged, with nothing to undo, as
    /// after opening a file.
    void setText(const QString& text);
    void select(qsizetype start, qsizetype length);
    /// Selection start and length, in document coordinates.
    std::pair<qsizetype, qsizetype> selection();
};

using Sel = std::pair<qsizetype, qsizetype>;

/// Writes bytes to a file, creating or replacing it.
void writeFile(const QString& path, const QByteArray& bytes);
/// The bytes of a file (empty when it cannot be read).
QByteArray readFile(const QString& path);
