#pragma once

#include <QString>

struct AppContext;

/// Previews in the browsers, the extended editor, the New Window program, the
/// help and the maker's web site.
class LaunchCommands {
public:
    explicit LaunchCommands(AppContext& context);

    /// Writes the document to its file and starts `program` + " " + FileName.
    void runWithDocument(const QString& program);

    void netscape();
    void msie();
    void anyBrowser();
    void runWorkshop();
    void newEditor();
    void howToUse();
    void about();
    void brannocOnline();

private:
    AppContext& m_ctx;
};
