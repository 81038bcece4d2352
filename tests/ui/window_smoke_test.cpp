#include "core/text/editorbuffer.h"
#include "support/testwindow.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

TEST(MainWindow, CtrlBWrapsTheSelection)
{
    TestWindow t;
    t.window->show();
    QApplication::setActiveWindow(t.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
    t.memo().setText(QStringLiteral("abc"));
    t.memo().selectAllText();
    t.memo().setFocus();
    QTest::keyClick(&t.memo(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(t.memo().text(), QStringLiteral("<B>abc</B>"));
}
