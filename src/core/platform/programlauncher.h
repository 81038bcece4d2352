#pragma once

#include <QString>

/// Starts outside programs without waiting for them. Every command that
/// starts a program goes through this interface.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    /// Starts the command line detached; true when a process was started.
    /// Callers that ignore the outcome may drop the result.
    virtual bool start(const QString& commandLine) = 0;

    /// Starts `command` on `document` (a file name or a web address), built
    /// by commandArguments: the command is split into the program and its
    /// parameters, its placeholders are filled, and the document is one
    /// argument, never split and never the program. When the command names
    /// no program (it is empty or blank), nothing is started.
    virtual bool startWithArgument(const QString& command, const QString& document) = 0;

    /// Whether the program `command` names can be found as start() looks for
    /// it: an executable file. An empty command, a missing file, one that may
    /// not be run or a Windows path ("C:\...") is not found.
    virtual bool findsProgram(const QString& command) = 0;

    /// Starts the desktop application `applicationId` (a desktop entry's id)
    /// on `document`, a web address or a file name, the way the desktop
    /// starts it; true when it started.
    virtual bool startApplication(const QString& applicationId, const QString& document) = 0;
};
