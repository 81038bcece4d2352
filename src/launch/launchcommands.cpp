#include "launch/launchcommands.h"

#include "core/appcontext.h"
#include "core/branding.h"
#include "core/diskfile.h"
#include "core/editorbuffer.h"
#include "core/filewriter.h"
#include "core/messageboxes.h"
#include "core/programlauncher.h"
#include "launch/gotoweb.h"

LaunchCommands::LaunchCommands(AppContext& context, QObject* owner)
    : m_ctx(context)
    , m_goToWeb(new TGoToWeb(context.platform.registry, context.platform.launcher, owner))
{
    m_goToWeb->setUrl(branding::makerWebAddress());
}

void LaunchCommands::runWithDocument(const QString& program)
{
    const QString fileName = m_ctx.doc.fileName;
    if (fileName.isEmpty()) {
        messageboxes::showPlain(*m_ctx.platform.prompts, noFileNameMessage());
        return;
    }
    // Another program's changes are overwritten only when the user says so.
    if (!diskfile::mayOverwrite(m_ctx.doc, *m_ctx.platform.prompts, fileName))
        return;
    // Not a save: Modified, the snapshot and the title stay as they are. A
    // file that cannot be written ends the command without a word.
    const QByteArray bytes = m_ctx.memo1->toBytes();
    if (!filewriter::writeFile(fileName, bytes))
        return;
    // What was written is remembered, so that declining the text later puts
    // back the saved bytes only while the file still holds these.
    diskfile::rememberLaunchWrite(m_ctx.doc, fileName, bytes);
    // `program` is split into words, FileName is one argument after them (or
    // where a placeholder stands); an empty program starts nothing rather
    // than running the document itself.
    m_ctx.platform.launcher->startWithArgument(program, fileName);
    m_ctx.doc.launchWroteFile = true;
}

void LaunchCommands::netscape()
{
    runWithDocument(m_ctx.settings.netscapePath + QStringLiteral(" -browser "));
}

void LaunchCommands::msie()
{
    runWithDocument(m_ctx.settings.msiePath);
}

void LaunchCommands::anyBrowser()
{
    runWithDocument(m_ctx.settings.browser3Path);
}

void LaunchCommands::runWorkshop()
{
    // The extended editor needs a file of the document's own.
    if (m_ctx.doc.isUntitled()) {
        messageboxes::showPlain(*m_ctx.platform.prompts, noFileNameMessage());
        return;
    }
    if (m_ctx.settings.workshopCommand.isEmpty()) {
        messageboxes::showPlain(
            *m_ctx.platform.prompts,
            messageboxes::twoLines(QStringLiteral("Brannoc Visual Loomwright не установлен на вашем компьютере."),
                                   QStringLiteral("Visit ") + branding::makerWebAddress()
                                       + QStringLiteral(" for download!")));
        return;
    }
    runWithDocument(m_ctx.settings.workshopCommand);
}

void LaunchCommands::newEditor()
{
    m_ctx.platform.launcher->start(newWindowProgram());
}

void LaunchCommands::brannocOnline()
{
    m_goToWeb->OpenUrl();
}
