#pragma once

#include <QObject>
#include <QString>
#include <optional>

class ProgramLauncher;
class Registry;

/// The steps of the web-link launcher, free of any window so they can be
/// checked one by one.
namespace gotoweb {

/// A browser command cut into the program and the text of its parameters.
struct CommandParts {
    QString program;
    QString parameters;
    bool operator==(const CommandParts& other) const
    {
        return program == other.program && parameters == other.parameters;
    }
};

/// The document extensions whose open command names the browser, in the
/// order they are tried.
QStringList documentExtensions();

/// Longest registry value, in bytes, that the 1025-byte value buffer holds
/// together with its closing zero byte.
constexpr int kValueBufferSize = 1025;

/// A registry value as the buffer holds it: the text up to the first zero
/// character. A value that would not fit the buffer counts as missing rather
/// than being cut, since a cut command would start the wrong program.
std::optional<QString> valueText(const QString& stored);

/// The web-address schemes whose handler is asked first, in order.
QStringList webSchemes();

/// The open command of the first scheme handler, else of the first document
/// extension, that has one; its placeholders are left for the start to fill.
/// Empty when none has.
QString findBrowserCommand(Registry& registry);

/// Splits a desktop entry's Exec line: the first word (quotes grouping and
/// removed) is the program, the rest the parameters. Letter case is kept:
/// file names on Linux are case-sensitive.
CommandParts splitExecLine(const QString& command);

} // namespace gotoweb

/// Opens a web address in the browser registered for web addresses (or, as
/// a fallback, for HTML documents), started directly with the registered
/// command's parameters and the address as one argument. Non-visual: owned
/// by a window, it keeps only its properties.
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

    /// Starts the browser on `Url`; true only when the program started.
    bool OpenUrl();
    QString FindBrowserCommand();
    gotoweb::CommandParts SplitBrowserCommand();

private:
    Registry* m_registry;
    ProgramLauncher* m_launcher;
    QString m_url;
    QString m_email;
};
