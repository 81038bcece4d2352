#pragma once

#include <QString>

/// Starts outside programs from a command line without waiting for them.
/// Every command that starts a program goes through this interface.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    /// Starts the command line detached; true when a process was started.
    /// Callers that ignore the outcome may drop the result.
    virtual bool start(const QString& commandLine) = 0;
};
