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

    /// Starts the command line `head` + " " + `argument`, where only `head`
    /// may name the program. When `head` names none (it is empty or blank) or
    /// its program word would run on into `argument` (an unclosed quotation
    /// mark), nothing is started: a document's name is never run as a program.
    virtual bool startWithArgument(const QString& head, const QString& argument) = 0;

    /// Starts `program`, taken whole (it may hold blanks), with `parameters`
    /// split into arguments as a command line is. True when it started.
    virtual bool startProgram(const QString& program, const QString& parameters) = 0;
};
