#include "launch/launchcommands.h"

#include "core/document/appcontext.h"
#include "core/document/diskfile.h"
#include "core/platform/apperror.h"
#include "core/platform/branding.h"
#include "core/platform/filewriter.h"
#include "core/platform/messageboxes.h"
#include "core/platform/programlauncher.h"
#include "core/text/editorbuffer.h"
#include "launch/commandline.h"
#include "launch/gotoweb.h"

LaunchCommands::LaunchCommands(AppContext& context, QObject* owner)
    : m_ctx(context)
    , m_goToWeb(new TGoToWeb(context.platform.registry, context.platform.launcher, owner))
{
    m_goToWeb->setUrl(branding::makerWebAddress());
}

void LaunchCommands::runWithDocument(const QString& program)
{
    startOnDocument(program, {}, splitCommandLine(program).value(0));
}

void LaunchCommands::startOnDocument(const QString& command, const DesktopApplication& application,
                                     const QString& name)
{
    const QString fileName = m_ctx.doc.fileName;
    if (fileName.isEmpty()) {
        messageboxes::showPlain(*m_ctx.platform.prompts, noFileNameMessage());
        return;
    }
    ProgramLauncher& launcher = *m_ctx.platform.launcher;
    // Nothing to start: the file is left as it is.
    if (application.id.isEmpty() && !launcher.findsProgram(command))
        throw AppError(gotoweb::cannotRunMessage(name));
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
    // `command` is split into words, FileName is one argument after them (or
    // where a placeholder stands).
    const bool started = application.id.isEmpty() ? launcher.startWithArgument(command, fileName)
                                                  : launcher.startApplication(application.id, fileName);
    m_ctx.doc.launchWroteFile = true;
    if (!started)
        throw AppError(gotoweb::cannotRunMessage(name));
}

void LaunchCommands::preview(const QString& setting, const QString& command)
{
    if (m_ctx.doc.fileName.isEmpty() || m_ctx.platform.launcher->findsProgram(command)) {
        startOnDocument(command, {}, splitCommandLine(command).value(0));
        return;
    }
    // The setting names no program on this system (the defaults are Windows
    // paths): the page goes to the desktop's own web browser instead.
    const DesktopApplication browser
        = m_ctx.platform.registry ? gotoweb::findBrowser(*m_ctx.platform.registry) : DesktopApplication();
    if (browser.id.isEmpty()) {
        const QString missing = setting.trimmed();
        throw AppError(gotoweb::cannotRunMessage(missing.isEmpty() ? gotoweb::browserTypes().constFirst() : missing));
    }
    startOnDocument(command, browser, browser.name.isEmpty() ? browser.id : browser.name);
}

void LaunchCommands::netscape()
{
    const QString& path = m_ctx.settings.netscapePath;
    preview(path, path + QStringLiteral(" -browser "));
}

void LaunchCommands::msie()
{
    preview(m_ctx.settings.msiePath, m_ctx.settings.msiePath);
}

void LaunchCommands::anyBrowser()
{
    preview(m_ctx.settings.browser3Path, m_ctx.settings.browser3Path);
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
    if (!m_ctx.platform.launcher->start(newWindowProgram()))
        throw AppError(gotoweb::cannotRunMessage(newWindowProgram()));
}

void LaunchCommands::brannocOnline()
{
    if (!m_goToWeb->OpenUrl())
        throw AppError(m_goToWeb->failureMessage());
}
