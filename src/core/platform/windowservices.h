#pragma once

#include <QString>

/// What the commands may ask of the main window. The window implements it,
/// so no command needs the window itself.
class WindowServices {
public:
    virtual ~WindowServices() = default;

    /// Shows `title` in the window's title bar.
    virtual void setTitle(const QString& title) = 0;
    /// Brings the window to the front, so that the editing area's focus is
    /// the user's.
    virtual void activate() = 0;
    /// Shows an error in the general error box; the window keeps its state.
    virtual void showErrorBox(const QString& message) = 0;
    /// Turns tag highlighting on or off, the menu item's check mark with it.
    virtual void showHighlighting(bool on) = 0;
};
