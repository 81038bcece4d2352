#include "markup/linktarget.h"

#include "core/platform/branding.h"
#include "core/settings/inifile.h"
#include "markup/filepaths.h"

QString linkTarget(const QString& path)
{
    if (!filepaths::isInternetShortcut(path))
        return path; // any other file is never opened
    // A missing or unreadable shortcut, or one without the key, reads as the default.
    return IniFile::readValue(path, QStringLiteral("InternetShortcut"), QStringLiteral("URL"),
                              branding::makerWebAddress());
}
