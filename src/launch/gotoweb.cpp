#include "launch/gotoweb.h"

#include "core/platform/branding.h"
#include "core/platform/programlauncher.h"

namespace gotoweb {

QStringList browserTypes()
{
    return { QStringLiteral("x-scheme-handler/https"), QStringLiteral("x-scheme-handler/http"),
             QStringLiteral("text/html") };
}

DesktopApplication findBrowser(Registry& registry)
{
    for (const QString& type : browserTypes()) {
        const DesktopApplication application = registry.applicationFor(type);
        if (!application.id.isEmpty())
            return application;
    }
    return {};
}

QString cannotRunMessage(const QString& what)
{
    return QStringLiteral("Cannot run %1").arg(what);
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

DesktopApplication TGoToWeb::FindBrowser()
{
    return m_registry ? gotoweb::findBrowser(*m_registry) : DesktopApplication();
}

bool TGoToWeb::OpenUrl()
{
    const DesktopApplication browser = FindBrowser();
    if (browser.id.isEmpty() || !m_launcher) {
        m_failure = gotoweb::cannotRunMessage(gotoweb::browserTypes().constFirst());
        return false;
    }
    if (m_launcher->startApplication(browser.id, m_url)) {
        m_failure.clear();
        return true;
    }
    m_failure = gotoweb::cannotRunMessage(browser.name.isEmpty() ? browser.id : browser.name);
    return false;
}
