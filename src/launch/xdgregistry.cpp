#include "launch/xdgregistry.h"

#include "launch/commandline.h"
#include "launch/mimeassociations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace {

/// The entry's Exec line as a plain command; empty when the entry has none.
QString entryCommand(const QString& entryFile)
{
    const QString exec = MimeAssociations::execLine(entryFile);
    if (exec.isEmpty())
        return {};
    const DesktopEntryFacts facts { MimeAssociations::iconOf(entryFile),
                                    MimeAssociations::nameOf(entryFile, QLocale::system().name()), entryFile };
    return fillEntryCodes(exec, facts);
}

/// The first application for `mimeType` that can open a web page: one that
/// has a command and is not this editor.
QString browserCommand(const QString& mimeType)
{
    const MimeAssociations associations = MimeAssociations::fromEnvironment();
    for (const QString& id : associations.applications(mimeType)) {
        const QString entryFile = associations.desktopEntryPath(id);
        const QString exec = MimeAssociations::execLine(entryFile);
        if (!exec.isEmpty() && !XdgRegistry::startsThisEditor(exec))
            return entryCommand(entryFile);
    }
    return {};
}

} // namespace

bool XdgRegistry::startsThisEditor(const QString& execLine)
{
    const QString name = QFileInfo(splitCommandLine(execLine).value(0)).fileName();
    if (name == QLatin1String("quillet") || name == QLatin1String("vq.exe"))
        return true;
    return QCoreApplication::instance() && name == QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString XdgRegistry::extendedEditorCommand()
{
    const MimeAssociations associations = MimeAssociations::fromEnvironment();
    const QString id = associations.defaultApplication(extendedEditorMimeType());
    return id.isEmpty() ? QString() : entryCommand(associations.desktopEntryPath(id));
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
    return mimeType.isEmpty() ? QString() : browserCommand(mimeType);
}

QString XdgRegistry::openCommandForScheme(const QString& scheme)
{
    return scheme.isEmpty() ? QString() : browserCommand(QStringLiteral("x-scheme-handler/") + scheme.toLower());
}
