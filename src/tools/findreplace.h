#pragma once

#include <functional>

struct AppContext;
class QWidget;
class ReplaceDlg;

/// The modeless find-and-replace dialog and its two handlers.
class FindReplace {
public:
    /// The dialog belongs to `dialogParent`, the main window.
    FindReplace(AppContext& context, QWidget* dialogParent);
    ~FindReplace();

    /// Connects the dialog's buttons to the window's handlers: Find Next to
    /// `onFind`, Replace and Replace All to `onReplace`.
    void setHandlers(std::function<void()> onFind, std::function<void()> onReplace);

    /// `Replace1Click`: shows the dialog, or brings it to the front.
    void show();
    /// `ReplaceDlgFind`: the match scan with the dialog's search text.
    void find();
    /// `ReplaceDlgReplace`: replaces a selection equal to the search text, then scans.
    void replace();

    ReplaceDlg& dialog() { return *m_dialog; }

private:
    AppContext& m_ctx;
    ReplaceDlg* m_dialog = nullptr; ///< owned by the main window
    std::function<void()> m_onFind;
    std::function<void()> m_onReplace;
};
