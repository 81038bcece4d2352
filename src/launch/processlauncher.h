#pragma once

#include "launch/programlauncher.h"

/// Starts programs on Linux: detached, never through a shell.
class ProcessLauncher : public ProgramLauncher {
public:
    bool start(const QString& commandLine) override;
};
