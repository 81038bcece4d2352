#include "launch/xdgregistry.h"

QString XdgRegistry::extendedEditorCommand()
{
    return {};
}

QString XdgRegistry::openCommandForExtension(const QString& extension)
{
    Q_UNUSED(extension);
    return {};
}
