#pragma once

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
    /// name as one argument.
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
    AppContext& m_ctx;
    TGoToWeb* m_goToWeb; // owned by the main window
};
