#include "launch/gotoweb.h"

#include "core/branding.h"
#include "core/programlauncher.h"
#include "core/registry.h"

namespace gotoweb {

QStringList documentExtensions()
{
    return { QStringLiteral(".HTM"), QStringLiteral(".HTML"), QStringLiteral(".SHTML"), QStringLiteral(".SHTM") };
}

std::optional<QString> valueText(const QString& stored)
{
    const qsizetype zero = stored.indexOf(QChar(0));
    const QString text = zero < 0 ? stored : stored.left(zero);
    if (text.toUtf8().size() > kValueBufferSize - 1)
        return std::nullopt;
    return text;
}

QStringList webSchemes()
{
    return { QStringLiteral("https"), QStringLiteral("http") };
}

QString findBrowserCommand(Registry& registry)
{
    for (const QString& scheme : webSchemes()) {
        const std::optional<QString> command = valueText(registry.openCommandForScheme(scheme));
        if (command && !command->isEmpty())
            return *command;
    }
    for (const QString& extension : documentExtensions()) {
        const std::optional<QString> command = valueText(registry.openCommandForExtension(extension));
        if (command && !command->isEmpty())
            return *command;
    }
    return {};
}

CommandParts splitExecLine(const QString& command)
{
    qsizetype i = 0;
    while (i < command.size() && (command.at(i) == u' ' || command.at(i) == u'\t'))
        ++i;
    CommandParts parts;
    bool quoted = false;
    for (; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u' ' || c == u'\t'))
            break;
        else
            parts.program.append(c);
    }
    parts.parameters = command.mid(i).trimmed();
    return parts;
}

} // namespace gotoweb

TGoToWeb::TGoToWeb(Registry* registry, ProgramLauncher* launcher, QObject* parent)
    : QObject(parent)
    , m_registry(registry)
    , m_launcher(launcher)
    , m_url(branding::makerWebAddress())
    , m_email(branding::makerMailAddress())
{
    setObjectName(QStringLiteral("GoToWeb"));
}

QString TGoToWeb::FindBrowserCommand()
{
    return m_registry ? gotoweb::findBrowserCommand(*m_registry) : QString();
}

gotoweb::CommandParts TGoToWeb::SplitBrowserCommand()
{
    return gotoweb::splitExecLine(FindBrowserCommand());
}

bool TGoToWeb::OpenUrl()
{
    const QString command = FindBrowserCommand();
    if (command.isEmpty() || !m_launcher)
        return false;
    // The address fills the command's %u (or follows it) as one argument.
    return m_launcher->startWithArgument(command, m_url);
}
