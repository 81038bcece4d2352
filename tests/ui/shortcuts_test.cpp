#include "ui/activewindow.h"
#include "ui/commandtable.h"

#include <QAction>
#include <QClipboard>
#include <QMap>
#include <gtest/gtest.h>

namespace {

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* item; ///< the menu item whose command the key runs
};

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Keypad = Qt::KeypadModifier;

// Every key of the main menu and the item that runs it.
const KeyCase kKeys[] = {
    { Qt::Key_W, Ctrl, "Neweditor1" },
    { Qt::Key_N, Ctrl, "NewDoc" },
    { Qt::Key_O, Ctrl, "Open2" },
    { Qt::Key_S, Ctrl, "Save2" },
    { Qt::Key_S, Ctrl | Shift, "Save1" },
    { Qt::Key_Insert, Ctrl, "Copy1" },
    { Qt::Key_Insert, Shift, "Paste1" },
    { Qt::Key_Delete, Ctrl, "Cut1" },
    // The keypad's Insert and Delete (Num Lock off) are the same keys to the menu.
    { Qt::Key_Insert, Ctrl | Keypad, "Copy1" },
    { Qt::Key_Insert, Shift | Keypad, "Paste1" },
    { Qt::Key_Delete, Ctrl | Keypad, "Cut1" },
    { Qt::Key_F4, Ctrl, "Delete1" },
    { Qt::Key_A, Ctrl, "SelectAll1" },
    { Qt::Key_F10, Ctrl, "Nospase1" },
    { Qt::Key_F12, Ctrl, "Removetags1" },
    { Qt::Key_U, Ctrl | Alt, "ToUppercase1" },
    { Qt::Key_L, Ctrl | Alt, "ToLowercase1" },
    { Qt::Key_F3, Qt::NoModifier, "Replace1" },
    { Qt::Key_Z, Ctrl, "Undo1" },
    { Qt::Key_Y, Ctrl, "Redo1" },
    { Qt::Key_1, Alt, "Netscape1" },
    { Qt::Key_2, Alt, "MSIE1" },
    { Qt::Key_3, Alt, "Anybrowser1" },
    { Qt::Key_5, Alt, "RunWorkshop1" },
    { Qt::Key_F, Ctrl, "Font1" },
    { Qt::Key_B, Ctrl, "Bold1" },
    { Qt::Key_I, Ctrl, "Italic1" },
    { Qt::Key_D, Ctrl, "BolditaliC1" },
    { Qt::Key_R, Ctrl, "Return1" },
    { Qt::Key_P, Ctrl, "Paragraph1" },
    { Qt::Key_L, Ctrl | Shift, "Left1" }, // also shown by Linkfile1, which never runs by key
    { Qt::Key_R, Ctrl | Shift, "Right1" },
    { Qt::Key_C, Ctrl | Shift, "Center1" },
    { Qt::Key_L, Ctrl, "Link1" },
    { Qt::Key_H, Ctrl, "Line1" },
    { Qt::Key_K, Ctrl, "Picture1" },
    { Qt::Key_K, Ctrl | Shift, "Find1" },
    { Qt::Key_T, Ctrl, "Table1" },
    { Qt::Key_G, Ctrl | Shift, "Row1" },
    { Qt::Key_G, Ctrl, "Cell1" },
    { Qt::Key_M, Ctrl, "Meat1" },
    { Qt::Key_J, Ctrl, "Jheader1" },
    { Qt::Key_V, Ctrl | Shift, "Checkpage1" },
    { Qt::Key_F1, Qt::NoModifier, "Howtouse1" },
};

// Counts the triggers of every named action of the window. The window's own
// handlers are cut off, so that what runs is visible and no command acts.
struct TriggerSpy {
    QMap<QString, int> counts;

    explicit TriggerSpy(Tmain& window)
    {
        for (QAction* action : window.findChildren<QAction*>()) {
            if (action->objectName().isEmpty())
                continue;
            QObject::disconnect(action, nullptr, &window, nullptr);
            const QString name = action->objectName();
            QObject::connect(action, &QAction::triggered, &window, [this, name] { ++counts[name]; });
        }
    }

    int total() const
    {
        int sum = 0;
        for (int n : counts)
            sum += n;
        return sum;
    }
};

QKeySequence sequenceOf(const KeyCase& c)
{
    return QKeySequence(QKeyCombination(c.modifiers, c.key));
}

} // namespace

TEST(Shortcuts, EveryKeyRunsTheFirstItemBearingItAndNothingElse)
{
    for (const KeyCase& c : kKeys) {
        ActiveWindow t;
        TriggerSpy spy(*t.window);
        // Something to undo and something to redo, so both items are enabled.
        t.memo().setText(QStringLiteral("abc"));
        t.memo().setText(QStringLiteral("abc"));
        t.memo().undoStep();
        QTest::keyClick(&t.memo(), c.key, c.modifiers);
        const QString key = sequenceOf(c).toString();
        EXPECT_EQ(spy.counts.value(QString::fromLatin1(c.item)), 1) << key.toStdString() << " -> " << c.item;
        EXPECT_EQ(spy.total(), 1) << key.toStdString() << " ran more than " << c.item;
        // The editing area did not act on the key itself.
        EXPECT_EQ(t.memo().text(), QStringLiteral("abc")) << key.toStdString();
    }
}

TEST(Shortcuts, EveryShortcutOfTheTableIsTested)
{
    QList<QKeySequence> tested;
    for (const KeyCase& c : kKeys)
        tested.append(sequenceOf(c));
    for (const MenuRow& row : menuTable()) {
        if (!row.shortcut)
            continue;
        const QKeySequence key(QString::fromLatin1(row.shortcut), QKeySequence::PortableText);
        EXPECT_TRUE(tested.contains(key)) << row.item << " " << row.shortcut;
    }
}

TEST(Shortcuts, CtrlShiftLAlignsLeftAndNeverAsksForAFile)
{
    ActiveWindow t;
    t.memo().setText(QStringLiteral("abc"));
    t.memo().selectAllText();
    QTest::keyClick(&t.memo(), Qt::Key_L, Ctrl | Shift);
    EXPECT_EQ(t.memo().text(), QStringLiteral("<DIV ALIGN=LEFT>\r\nabc</DIV>"));
    EXPECT_TRUE(t.fake.prompts.openDialogs.isEmpty());
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
}

TEST(Shortcuts, WidgetKeysThatNoItemClaimsStayTheWidgets)
{
    ActiveWindow t;
    TriggerSpy spy(*t.window);
    QTest::keyClicks(&t.memo(), QStringLiteral("copy"));
    QTest::keyClick(&t.memo(), Qt::Key_Home);
    QTest::keyClick(&t.memo(), Qt::Key_End, Shift);
    QTest::keyClick(&t.memo(), Qt::Key_C, Ctrl);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("copy"));
    QTest::keyClick(&t.memo(), Qt::Key_Delete, Shift); // cut
    EXPECT_EQ(t.memo().text(), QString());
    QTest::keyClick(&t.memo(), Qt::Key_V, Ctrl);
    EXPECT_EQ(t.memo().text(), QStringLiteral("copy"));
    EXPECT_EQ(spy.total(), 0);
}
