#include "launch/gotoweb.h"

#include "core/branding.h"
#include "launch/programlauncher.h"
#include "launch/registry.h"

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

QString removePlaceholders(const QString& command)
{
    QString text = command;
    if (text.isEmpty())
        return text;
    qsizetype i = 0;
    do {
        if (text.at(i) == u'%')
            text.remove(i, 2);
        else
            ++i;
    } while (i + 1 < text.size());
    return text;
}

QString findBrowserCommand(Registry& registry)
{
    for (const QString& extension : documentExtensions()) {
        const std::optional<QString> command = valueText(registry.openCommandForExtension(extension));
        if (command && !command->isEmpty())
            return removePlaceholders(*command);
    }
    return {};
}

CommandParts splitRegisteredCommand(const QString& command)
{
    if (command.isEmpty())
        return {};
    QString upper = command;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }

    qsizetype end = -1; // index of the last character of the program part
    for (qsizetype p = upper.size() - 1; p >= 3; --p) {
        const QStringView ending = QStringView(upper).mid(p - 3, 4);
        if (ending == u".EXE" || ending == u".BAT" || ending == u".COM") {
            end = p;
            break;
        }
    }
    if (end < 0)
        return {};

    CommandParts parts;
    if (end + 1 < upper.size()) {
        QString rest = upper.mid(end + 1);
        qsizetype first = 0;
        qsizetype last = rest.size() - 1;
        while (first <= last && rest.at(first) <= u' ')
            ++first;
        while (last >= first && rest.at(last) <= u' ')
            --last;
        rest = rest.mid(first, last - first + 1);
        qsizetype quotes = 0;
        while (quotes < rest.size() && rest.at(quotes) == u'"')
            ++quotes;
        parts.parameters = rest.mid(quotes);
        parts.program = upper.left(end + 1);
    } else {
        parts.program = upper;
    }
    if (parts.program.startsWith(u'"'))
        parts.program.remove(0, 1);
    return parts;
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
    const QString command = FindBrowserCommand();
    if (command.isEmpty())
        return {};
    return m_style == CommandStyle::Registered ? gotoweb::splitRegisteredCommand(command)
                                               : gotoweb::splitExecLine(command);
}

bool TGoToWeb::OpenUrl()
{
    const gotoweb::CommandParts parts = SplitBrowserCommand();
    if (parts.program.isEmpty() || !m_launcher)
        return false;
    return m_launcher->startProgram(parts.program, parts.parameters + u' ' + m_url);
}
