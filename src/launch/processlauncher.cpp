#include "launch/processlauncher.h"

bool ProcessLauncher::start(const QString& commandLine)
{
    Q_UNUSED(commandLine);
    return false;
}
