#include "core/platform/xdgsystemdirs.h"

#include <QDir>

QString XdgSystemDirs::windowsDirectory()
{
    // A relative value is invalid by the XDG rules and would make the
    // settings depend on the current directory.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString XdgSystemDirs::stateDirectory()
{
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.local/state");
}
