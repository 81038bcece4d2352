#include "ui/activewindow.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

// How one control fires its command.
struct Control {
    std::string name;
    std::function<void(ActiveWindow&)> fire;
};

Control menuItem(const char* name)
{
    return { std::string("menu ") + name, [name](ActiveWindow& t) {
                QAction* found = nullptr;
                for (QAction* action : t.window->findChildren<QAction*>(QString::fromLatin1(name)))
                    if (!action->menu())
                        found = action;
                ASSERT_NE(found, nullptr) << name;
                found->trigger();
            } };
}

Control popupItem(const char* name)
{
    return { std::string("popup ") + name, [name](ActiveWindow& t) {
                auto* popup = t.window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
                ASSERT_NE(popup, nullptr);
                for (QAction* action : popup->actions())
                    if (action->objectName() == QLatin1String(name))
                        return action->trigger();
                FAIL() << "no popup item " << name;
            } };
}

Control button(const char* name)
{
    return { std::string("button ") + name, [name](ActiveWindow& t) {
                auto* b = t.window->findChild<QToolButton*>(QString::fromLatin1(name));
                ASSERT_NE(b, nullptr) << name;
                QTest::mouseClick(b, Qt::LeftButton);
            } };
}

Control key(Qt::Key k, Qt::KeyboardModifiers modifiers, const char* label)
{
    return { std::string("key ") + label, [k, modifiers](ActiveWindow& t) { QTest::keyClick(&t.memo(), k, modifiers); } };
}

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

struct Command {
    const char* handler;
    std::vector<Control> controls;
    const char* wrappedAbc;  ///< result for the selection "abc" in "x[abc]y"
    const char* emptyResult; ///< inserted with nothing selected; nullptr: no change
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        { "Bold1Click", { menuItem("Bold1"), button("BoldButton"), popupItem("N6"), key(Qt::Key_B, Ctrl, "Ctrl+B") },
          "<B>abc</B>", nullptr },
        { "Italic1Click",
          { menuItem("Italic1"), button("ItalicButton"), popupItem("N7"), key(Qt::Key_I, Ctrl, "Ctrl+I") },
          "<I>abc</I>", nullptr },
        { "BolditaliC1Click",
          { menuItem("BolditaliC1"), button("TwoButton"), popupItem("N8"), key(Qt::Key_D, Ctrl, "Ctrl+D") },
          "<B><I>abc</I></B>", nullptr },
        { "Fixed1Click", { menuItem("Fixed1"), button("FixedButton") }, "<TT>abc</TT>", nullptr },
        { "Font1Click", { menuItem("Font1"), key(Qt::Key_F, Ctrl, "Ctrl+F") },
          "<FONT SIZE=+0 COLOR=\"#000000\">abc</FONT>", "<FONT SIZE=+0 COLOR=\"#000000\"> </FONT>" },
        { "Paragraph1Click",
          { menuItem("Paragraph1"), button("AbzatcButton"), key(Qt::Key_P, Ctrl, "Ctrl+P") },
          "<P>abc</P>\r\n", "<P>\r\n" },
        { "N10Click", { popupItem("N10") }, "<P>abc</P>", nullptr },
        { "Return1Click", { menuItem("Return1"), button("ReturnButton"), key(Qt::Key_R, Ctrl, "Ctrl+R") },
          "<BR>\r\nabc", "<BR>\r\n" },
        { "N9Click", { popupItem("N9") }, nullptr, "<BR>" },
        { "Left1Click",
          { menuItem("Left1"), button("SpeedButton2"), key(Qt::Key_L, CtrlShift, "Ctrl+Shift+L") },
          "<DIV ALIGN=LEFT>\r\nabc</DIV>", "<DIV ALIGN=LEFT>\r\n</DIV>" },
        { "Center1Click",
          { menuItem("Center1"), button("SpeedButton3"), key(Qt::Key_C, CtrlShift, "Ctrl+Shift+C") },
          "<CENTER>\r\nabc</CENTER>", "<CENTER>\r\n</CENTER>" },
        { "Right1Click",
          { menuItem("Right1"), button("SpeedButton4"), key(Qt::Key_R, CtrlShift, "Ctrl+Shift+R") },
          "<DIV ALIGN=RIGHT>\r\nabc</DIV>", "<DIV ALIGN=RIGHT>\r\n</DIV>" },
        { "Numbers1Click", { menuItem("Numbers1") }, "<OL>\r\n<LI>abc\r\n</OL>", "<OL>\r\n<LI>\r\n</OL>" },
        { "List1Click", { menuItem("List1") }, "<UL>\r\n<LI>abc\r\n</UL>", "<UL>\r\n<LI>\r\n</UL>" },
        { "LisT2Click", { menuItem("LisT2") }, "<DL>\r\n<DT>abc\r\n</DL>", "<DL>\r\n<DT>\r\n</DL>" },
        { "MenuListClick", { menuItem("MenuList") }, "<MENU>\r\n<LI>abc\r\n</MENU>",
          "<MENU>\r\n<LI>\r\n</MENU>" },
    };
    return table;
}

} // namespace

TEST(WrapThroughWindow, EveryControlOfACommandGivesTheSameResult)
{
    ASSERT_EQ(commands().size(), 16u);
    for (const Command& command : commands()) {
        for (const Control& control : command.controls) {
            SCOPED_TRACE(std::string(command.handler) + " by " + control.name);
            ActiveWindow t;
            t.memo().setText(QStringLiteral("line one\r\nx[abc]y"));
            t.memo().setSelStart(12);
            t.memo().setSelLength(3);
            ASSERT_EQ(t.memo().getSelText(), QStringLiteral("abc"));
            t.ctx().doc.modified = false;
            control.fire(t);

            if (!command.wrappedAbc) { // the selection is never overwritten
                EXPECT_EQ(t.memo().text(), QStringLiteral("line one\r\nx[abc]y"));
                EXPECT_EQ(t.memo().getSelText(), QStringLiteral("abc"));
                EXPECT_FALSE(t.ctx().doc.modified);
                continue;
            }
            const QString inserted = QString::fromLatin1(command.wrappedAbc);
            EXPECT_EQ(t.memo().text(), QStringLiteral("line one\r\nx[") + inserted + QStringLiteral("]y"));
            EXPECT_EQ(t.memo().selLength(), 0);
            EXPECT_EQ(t.memo().selStart(), 12 + inserted.size()); // right after the insertion
            EXPECT_TRUE(t.ctx().doc.modified);
            EXPECT_TRUE(t.memo().hasFocus());
        }
    }
}

TEST(WrapThroughWindow, NothingSelected)
{
    for (const Command& command : commands()) {
        for (const Control& control : command.controls) {
            SCOPED_TRACE(std::string(command.handler) + " by " + control.name);
            ActiveWindow t;
            t.memo().setText(QStringLiteral("ab\r\ncd"));
            t.memo().setSelStart(5);
            t.ctx().doc.modified = false;
            QSignalSpy changes(&t.memo(), &EditorBuffer::changed);
            control.fire(t);

            if (!command.emptyResult) {
                EXPECT_EQ(t.memo().text(), QStringLiteral("ab\r\ncd"));
                EXPECT_EQ(t.memo().selStart(), 5);
                EXPECT_FALSE(t.ctx().doc.modified);
                EXPECT_EQ(changes.count(), 0);
                continue;
            }
            const QString inserted = QString::fromLatin1(command.emptyResult);
            EXPECT_EQ(t.memo().text(), QStringLiteral("ab\r\nc") + inserted + QStringLiteral("d"));
            EXPECT_EQ(t.memo().selStart(), 5 + inserted.size()); // after the whole skeleton
            EXPECT_EQ(t.memo().selLength(), 0);
            EXPECT_TRUE(t.ctx().doc.modified);
            EXPECT_GE(changes.count(), 1);
        }
    }
}

TEST(WrapThroughWindow, RunningAgainAfterTheReplacement)
{
    ActiveWindow t;
    t.memo().setText(QStringLiteral("abc"));
    t.memo().selectAllText();
    QTest::keyClick(&t.memo(), Qt::Key_B, Ctrl);
    QTest::keyClick(&t.memo(), Qt::Key_B, Ctrl); // nothing selected now: no change
    EXPECT_EQ(t.memo().text(), QStringLiteral("<B>abc</B>"));
    QTest::keyClick(&t.memo(), Qt::Key_R, Ctrl); // a skeleton command inserts again
    QTest::keyClick(&t.memo(), Qt::Key_R, Ctrl);
    EXPECT_EQ(t.memo().text(), QStringLiteral("<B>abc</B><BR>\r\n<BR>\r\n"));
}

TEST(WrapThroughWindow, WholeTextAndMultiLineSelections)
{
    ActiveWindow t;
    t.memo().setText(QStringLiteral("one\r\ntwo"));
    t.memo().selectAllText();
    t.window->List1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("<UL>\r\n<LI>one\r\ntwo\r\n</UL>"));
    EXPECT_EQ(t.memo().selStart(), t.memo().textLength());

    t.memo().setText(QStringLiteral("abc\r\nnext"));
    t.memo().setSelStart(0);
    t.memo().setSelLength(5); // "abc" and its line break
    t.window->Center1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("<CENTER>\r\nabc\r\n</CENTER>next"));
}
