#include "launch/xdgregistry.h"

#include "launch/mimeassociations.h"

QString XdgRegistry::extendedEditorCommand()
{
    return MimeAssociations::fromEnvironment().defaultCommand(extendedEditorMimeType());
}

QString XdgRegistry::mimeTypeForExtension(const QString& extension)
{
    const QString upper = extension.toUpper();
    if (upper == QLatin1String(".HTM") || upper == QLatin1String(".HTML"))
        return QStringLiteral("text/html");
    // Server-parsed HTML, under the type web servers give it.
    if (upper == QLatin1String(".SHTML") || upper == QLatin1String(".SHTM"))
        return QStringLiteral("text/x-server-parsed-html");
    return {};
}

QString XdgRegistry::openCommandForExtension(const QString& extension)
{
    const QString mimeType = mimeTypeForExtension(extension);
    if (mimeType.isEmpty())
        return {};
    return MimeAssociations::fromEnvironment().defaultCommand(mimeType);
}
