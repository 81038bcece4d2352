#pragma once

#include "core/text/editorbuffer.h"
#include "support/testwindow.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

/// A TestWindow shown and active with the keyboard focus in the editing
/// area, so that key events travel as they do for the user: shortcut
/// override, menu shortcuts, then the widget.
struct ActiveWindow : TestWindow {
    ActiveWindow()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            ADD_FAILURE() << "the main window did not become active";
        memo().setFocus();
    }
};
