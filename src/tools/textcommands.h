#pragma once

struct AppContext;

/// Clipboard commands, clear all, select all and space removal.
class TextCommands {
public:
    explicit TextCommands(AppContext& context);

    void copy();
    void paste();
    void cut();
    void clearAll();
    void selectAll();
    void removeSpaces();

private:
    AppContext& m_ctx;
};
