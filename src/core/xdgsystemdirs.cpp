#include "core/xdgsystemdirs.h"

#include <QDir>

QString XdgSystemDirs::windowsDirectory()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty())
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}
