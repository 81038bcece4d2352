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

    /// Starts `program`, taken whole (it may hold blanks), with `parameters`
    /// split into arguments as a command line is. True when it started.
    virtual bool startProgram(const QString& program, const QString& parameters) = 0;
};
