#include "core/settings/highlightsetting.h"

#include "core/platform/apperror.h"
#include "core/platform/privatefolder.h"
#include "core/settings/inifile.h"

#include <QFileInfo>

namespace highlightsetting {

QString section()
{
    return QStringLiteral("VIEW");
}

QString key()
{
    return QStringLiteral("highlight");
}

bool isOn(const QString& value)
{
    return value != QStringLiteral("FALSE");
}

QString valueFor(bool on)
{
    return on ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

void write(const QString& settingsFileName, bool on)
{
    makePrivateFolder(QFileInfo(settingsFileName).absolutePath());
    if (!IniFile::writeValue(settingsFileName, section(), key(), valueFor(on)))
        throw AppError(QStringLiteral("Unable to write to %1").arg(settingsFileName));
}

} // namespace highlightsetting
