#pragma once

#include "core/platform/registry.h"

#include <QString>

struct AppContext;
class QObject;
class TGoToWeb;

/// Previews in the browsers, the extended editor, the New Window program and
/// the maker's web site.
class LaunchCommands {
public:
    /// The web-link launcher belongs to `owner`, the main window.
    LaunchCommands(AppContext& context, QObject* owner);

    /// Writes the document to its file and starts `program` on FileName, the
    /// name as one argument. A program that cannot be found leaves the file
    /// unwritten; one that cannot be found or started raises "Cannot run".
    void runWithDocument(const QString& program);

    void netscape();
    void msie();
    void anyBrowser();
    void runWorkshop();
    void newEditor();
    void brannocOnline();

    /// The program file the New Window command starts, found by name.
    static QString newWindowProgram() { return QStringLiteral("vq.exe"); }
    static QString noFileNameMessage() { return QStringLiteral("Укажите имя файла!"); }

private:
    /// A browser preview: `command` when its program is there, else the
    /// desktop's web browser. `setting` names the browser in messages.
    void preview(const QString& setting, const QString& command);
    /// Writes the document and starts `command`, or `application` when it
    /// has an id, on it; `name` is what a failure names.
    void startOnDocument(const QString& command, const DesktopApplication& application, const QString& name);

    AppContext& m_ctx;
    TGoToWeb* m_goToWeb; // owned by the main window
};
