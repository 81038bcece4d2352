#include "launch/xdgregistry.h"

#include "launch/mimeassociations.h"

QString XdgRegistry::extendedEditorCommand()
{
    return MimeAssociations::fromEnvironment().defaultCommand(extendedEditorMimeType());
}

QString XdgRegistry::openCommandForExtension(const QString& extension)
{
    Q_UNUSED(extension);
    return {};
}
