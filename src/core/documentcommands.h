#pragma once

struct AppContext;

/// New, open, save, save as and the close query: moving whole documents
/// between the editing area and files.
class DocumentCommands {
public:
    explicit DocumentCommands(AppContext& context);

    void newDocument();
    void newFrameset();
    void open();
    void save();
    void saveAs();
    /// True when the main window may close.
    bool closeQuery();

private:
    AppContext& m_ctx;
};
