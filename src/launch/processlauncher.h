#pragma once

#include "core/platform/programlauncher.h"

#include <QStringList>

/// Starts programs on Linux: detached, never through a shell, without a
/// handle kept; whether a start worked is the caller's to tell the user.
/// Desktop applications are started through GIO.
class ProcessLauncher : public ProgramLauncher {
public:
    bool start(const QString& commandLine) override;
    bool startWithArgument(const QString& command, const QString& document) override;
    bool findsProgram(const QString& command) override;
    bool startApplication(const QString& applicationId, const QString& document) override;

    /// The executable file a program name stands for: a name with a folder
    /// as it stands when the path is absolute; a bare name is looked for in
    /// the editor's own folder, then in the absolute folders of PATH. Nothing
    /// is ever taken from the current folder, which is wherever the editor
    /// happened to be started. Empty when none.
    static QString locate(const QString& program);
    /// The same search with the editor's own folder given.
    static QString locate(const QString& program, const QString& ownFolder);

private:
    static bool startResolved(const QString& program, const QStringList& arguments);
};
