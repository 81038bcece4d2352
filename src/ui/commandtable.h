#pragma once

#include <vector>

class Tmain;

/// A command handler of the main window.
using Handler = void (Tmain::*)();

/// One item of the main menu, in menu order. `parent` is "MainMenu1" for the
/// menus of the menu bar, else the item name of the menu or submenu holding
/// it. A caption "-" is a separator; an item that other rows name as parent
/// is a submenu. A null handler means the item does nothing when chosen.
struct MenuRow {
    const char* item;
    const char* parent;
    const char* caption;
    const char* shortcut; ///< portable text such as "Ctrl+Shift+L"; nullptr: none
    Handler handler;
    bool checkable = false;
    /// Checkable items of one submenu that are each other's alternatives:
    /// one of them is checked at a time.
    bool radio = false;
};

/// The look of a toolbar button's caption.
enum class ButtonFace { Picture, Regular, Bold, Italic, BoldItalic, Fixed };

/// One button of the toolbar panel, left to right.
struct ToolbarRow {
    const char* item;
    int x;
    int width;
    const char* caption; ///< text buttons only; pictures come from the resources
    ButtonFace face;
    const char* hint;
    Handler handler;
};

/// One item of the editing area's context menu, top to bottom; "-" is a separator.
struct PopupRow {
    const char* item;
    const char* caption;
    Handler handler;
};

const std::vector<MenuRow>& menuTable();
const std::vector<ToolbarRow>& toolbarTable();
const std::vector<PopupRow>& popupTable();
