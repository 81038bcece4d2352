#pragma once

#include "core/platform/registry.h"

#include <QObject>
#include <QString>
#include <QStringList>

class ProgramLauncher;

/// The steps of the web-link launcher, free of any window so they can be
/// checked one by one.
namespace gotoweb {

/// The types whose application is the web browser, in the order they are
/// asked: the handlers of web addresses, then the one for HTML documents.
QStringList browserTypes();

/// The application of the first browser type that has one (this editor's
/// own entries are passed over by the registry); no id when none has.
DesktopApplication findBrowser(Registry& registry);

/// The error box's text when `what` (a program, or a desktop entry's name)
/// cannot be started.
QString cannotRunMessage(const QString& what);

} // namespace gotoweb

/// Opens a web address in the desktop's web browser, started as the desktop
/// starts it with the address as one argument. Non-visual: owned by a
/// window, it keeps only its properties and the outcome of the last start.
class TGoToWeb : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Url READ Url WRITE setUrl)
    Q_PROPERTY(QString EMail READ EMail WRITE setEMail)

public:
    TGoToWeb(Registry* registry, ProgramLauncher* launcher, QObject* parent = nullptr);

    QString Url() const { return m_url; }
    void setUrl(const QString& url) { m_url = url; }
    QString EMail() const { return m_email; }
    void setEMail(const QString& email) { m_email = email; }

    /// Starts the browser on `Url`; true only when it started.
    bool OpenUrl();
    /// The browser OpenUrl would start, looked up afresh.
    DesktopApplication FindBrowser();
    /// After OpenUrl failed: "Cannot run" with the browser's name, or with
    /// the type of web addresses when the desktop has no browser at all.
    QString failureMessage() const { return m_failure; }

private:
    Registry* m_registry;
    ProgramLauncher* m_launcher;
    QString m_url;
    QString m_email;
    QString m_failure;
};
