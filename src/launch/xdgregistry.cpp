#include "launch/xdgregistry.h"

#include "launch/gioapplications.h"

#include <QCoreApplication>
#include <QFileInfo>

bool XdgRegistry::startsThisEditor(const QString& program)
{
    const QString name = QFileInfo(program).fileName();
    if (name == QLatin1String("quillet") || name == QLatin1String("vq.exe"))
        return true;
    return QCoreApplication::instance() && name == QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString XdgRegistry::extendedEditorCommand()
{
    return gioapplications::defaultCommand(extendedEditorMimeType());
}

DesktopApplication XdgRegistry::applicationFor(const QString& contentType)
{
    if (contentType.isEmpty())
        return {};
    return gioapplications::applicationFor(contentType, &XdgRegistry::startsThisEditor);
}
