#pragma once

#include "launch/programlauncher.h"

#include <QStringList>

/// Starts programs on Linux: detached, never through a shell, without a
/// handle kept and without a message when the program cannot be started.
class ProcessLauncher : public ProgramLauncher {
public:
    bool start(const QString& commandLine) override;
    bool startWithArgument(const QString& head, const QString& argument) override;
    bool startProgram(const QString& program, const QString& parameters) override;

    /// The executable file a program name stands for: a name with a folder
    /// as it stands; a bare name is looked for in the editor's own folder,
    /// then the current folder, then the folders of PATH. Empty when none.
    static QString locate(const QString& program);
    /// The same search with the editor's own folder given.
    static QString locate(const QString& program, const QString& ownFolder);

private:
    static bool startResolved(const QString& program, const QStringList& arguments);
};
