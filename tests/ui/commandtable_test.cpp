#include "ui/activewindow.h"
#include "ui/commandtable.h"

#include <QAction>
#include <QActionGroup>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSet>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Names of the actions a menu (or the menu bar) shows, in order; a submenu
// shows as its menu's name.
QStringList shownItems(const QList<QAction*>& actions)
{
    QStringList names;
    for (QAction* action : actions)
        names.append(action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

bool isHistoryItem(const QString& item)
{
    return item == QLatin1String("Undo1") || item == QLatin1String("Redo1");
}

QSet<QString> parentNames()
{
    QSet<QString> parents;
    for (const MenuRow& row : menuTable())
        parents.insert(str(row.parent));
    return parents;
}

} // namespace

TEST(CommandTable, EveryMenuRowHasItsControlInPlace)
{
    TestWindow t;
    QMenuBar* bar = t.window->menuBar();
    ASSERT_EQ(bar->objectName(), QStringLiteral("MainMenu1"));
    const QSet<QString> parents = parentNames();

    QMap<QString, QStringList> expectedChildren;
    for (const MenuRow& row : menuTable()) {
        const QString item = str(row.item);
        expectedChildren[str(row.parent)].append(item);
        if (parents.contains(item)) {
            auto* menu = t.window->findChild<QMenu*>(item);
            ASSERT_NE(menu, nullptr) << row.item << " has no menu";
            EXPECT_EQ(menu->title(), str(row.caption)) << row.item;
            EXPECT_EQ(row.shortcut, nullptr) << row.item;
            EXPECT_EQ(row.handler, nullptr) << row.item;
            continue;
        }
        QAction* action = nullptr;
        for (QAction* candidate : t.window->findChildren<QAction*>(item))
            if (!candidate->menu())
                action = candidate;
        ASSERT_NE(action, nullptr) << row.item << " has no control";
        // With nothing to undo or redo yet, only those two items are grey.
        EXPECT_EQ(action->isEnabled(), !isHistoryItem(item)) << row.item;
        EXPECT_TRUE(action->isVisible()) << row.item;
        if (str(row.caption) == QLatin1String("-")) {
            EXPECT_TRUE(action->isSeparator()) << row.item;
            continue;
        }
        EXPECT_FALSE(action->isSeparator()) << row.item;
        // The caption, and the key it shows (a shortcut, or the text after a
        // tab for a key that an earlier item runs).
        const QStringList parts = action->text().split(u'\t');
        EXPECT_EQ(parts.first(), str(row.caption)) << row.item;
        const QString shown = parts.size() > 1 ? parts.at(1) : action->shortcut().toString(QKeySequence::NativeText);
        const QString expected = row.shortcut
            ? QKeySequence(QString::fromLatin1(row.shortcut), QKeySequence::PortableText).toString(QKeySequence::NativeText)
            : QString();
        EXPECT_EQ(shown, expected) << row.item;
        const QStringList checkable = { QStringLiteral("Wordwrap1"), QStringLiteral("Highlight1"),
                                         QStringLiteral("Win12511"), QStringLiteral("Utf81") };
        EXPECT_EQ(action->isCheckable(), checkable.contains(item)) << row.item;
        // The two encodings are each other's alternatives.
        EXPECT_EQ(action->actionGroup() != nullptr && action->actionGroup()->isExclusive(),
                  item == QLatin1String("Win12511") || item == QLatin1String("Utf81"))
            << row.item;
    }

    EXPECT_EQ(shownItems(bar->actions()), expectedChildren.take(QStringLiteral("MainMenu1")));
    for (auto it = expectedChildren.cbegin(); it != expectedChildren.cend(); ++it) {
        auto* menu = t.window->findChild<QMenu*>(it.key());
        ASSERT_NE(menu, nullptr) << it.key().toStdString();
        EXPECT_EQ(shownItems(menu->actions()), it.value()) << it.key().toStdString();
    }
}

TEST(CommandTable, MenuBarAndSubmenusAsTheUserSeesThem)
{
    TestWindow t;
    QStringList titles;
    for (QAction* action : t.window->menuBar()->actions())
        titles.append(action->text());
    EXPECT_EQ(titles, (QStringList { str("&Файл"), str("&Правка"), str("&Вид"), str("&Стиль"), str("&Вставка"),
                                     str("&Дополнительно"), str("&Справка") }));
    auto* texttools = t.window->findChild<QMenu*>(QStringLiteral("Texttools1"));
    ASSERT_NE(texttools, nullptr);
    EXPECT_EQ(texttools->parent(), t.window->findChild<QMenu*>(QStringLiteral("Edit1")));
    EXPECT_EQ(texttools->actions().size(), 6);
    auto* aligment = t.window->findChild<QMenu*>(QStringLiteral("Aligment1"));
    ASSERT_NE(aligment, nullptr);
    EXPECT_EQ(aligment->title(), str("Выравнивание &блока"));
    // Nothing is greyed out, whatever the state, but undo and redo while
    // there is nothing to undo or redo.
    for (QAction* action : t.window->findChildren<QAction*>())
        EXPECT_EQ(action->isEnabled(), !isHistoryItem(action->objectName())) << action->objectName().toStdString();
    auto* edit = t.window->findChild<QMenu*>(QStringLiteral("Edit1"));
    ASSERT_NE(edit, nullptr);
    const QList<QAction*> items = edit->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_TRUE(items.at(items.size() - 3)->isSeparator());
    QAction* undo = items.at(items.size() - 2);
    QAction* redo = items.last();
    EXPECT_EQ(undo->text(), str("Отменить"));
    EXPECT_EQ(redo->text(), str("Повторить"));
    struct State {
        const char* after;
        bool undo, redo;
    };
    t.memo().setSelText(QStringLiteral("a"));
    const State states[] = { { "an edit", true, false }, { "its undo", false, true }, { "its redo", true, false } };
    for (const State& state : states) {
        EXPECT_EQ(undo->isEnabled(), state.undo) << state.after;
        EXPECT_EQ(redo->isEnabled(), state.redo) << state.after;
        (state.undo ? undo : redo)->trigger();
    }
    // Opening, New and a re-read start an empty history; here New.
    t.window->NewDocClick();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
}

// The text-tool items without a handler are there, enabled, and do nothing.
TEST(CommandTable, ItemsWithoutHandlerDoNothing)
{
    TestWindow t;
    t.setText(QStringLiteral("Some Text"));
    t.select(2, 4);
    int items = 0;
    for (const MenuRow& row : menuTable()) {
        if (row.handler || parentNames().contains(str(row.item)) || str(row.caption) == QLatin1String("-"))
            continue;
        ++items;
        QAction* action = t.window->findChild<QAction*>(str(row.item));
        ASSERT_NE(action, nullptr) << row.item;
        action->trigger();
    }
    EXPECT_EQ(items, 5);
    EXPECT_EQ(t.memo().text(), QStringLiteral("Some Text"));
    EXPECT_EQ(t.memo().selStart(), 2);
    EXPECT_EQ(t.memo().selLength(), 4);
    EXPECT_FALSE(t.ctx().doc.modified);
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
}

TEST(CommandTable, ToolbarButtonsStandWhereTheTableSays)
{
    ActiveWindow t;
    auto* panel = t.window->findChild<QWidget*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->height(), 33);
    EXPECT_EQ(panel->width(), t.window->width());
    auto* bevel = t.window->findChild<QWidget*>(QStringLiteral("Bevel1"));
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->parentWidget(), panel);
    EXPECT_EQ(bevel->y(), 0);
    EXPECT_EQ(bevel->height(), 2);

    const auto buttons = panel->findChildren<QToolButton*>();
    EXPECT_EQ(buttons.size(), qsizetype(toolbarTable().size()));
    for (const ToolbarRow& row : toolbarTable()) {
        auto* button = panel->findChild<QToolButton*>(str(row.item));
        ASSERT_NE(button, nullptr) << row.item << " has no button";
        EXPECT_EQ(button->geometry(), QRect(row.x, 6, row.width, 25)) << row.item;
        EXPECT_EQ(button->toolTip(), str(row.hint)) << row.item;
        EXPECT_TRUE(button->autoRaise()) << row.item;
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << row.item;
        EXPECT_TRUE(button->isEnabled()) << row.item;
        if (row.face == ButtonFace::Picture) {
            EXPECT_FALSE(button->icon().isNull()) << row.item;
            EXPECT_TRUE(button->text().isEmpty()) << row.item;
            continue;
        }
        EXPECT_EQ(button->text(), str(row.caption)) << row.item;
        const QFont font = button->font();
        const bool fixed = row.face == ButtonFace::Fixed;
        EXPECT_EQ(font.family(), fixed ? QStringLiteral("Courier") : QStringLiteral("Times New Roman")) << row.item;
        EXPECT_EQ(font.pixelSize(), fixed ? 11 : 15) << row.item;
        EXPECT_EQ(font.bold(), row.face == ButtonFace::Bold || row.face == ButtonFace::BoldItalic) << row.item;
        EXPECT_EQ(font.italic(), row.face == ButtonFace::Italic || row.face == ButtonFace::BoldItalic) << row.item;
        EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(Qt::black)) << row.item;
    }
    // The table's text faces, checked against what the buttons must show.
    EXPECT_EQ(panel->findChild<QToolButton*>(QStringLiteral("TwoButton"))->text(), QStringLiteral("BI"));
    EXPECT_EQ(panel->findChild<QToolButton*>(QStringLiteral("FixedButton"))->font().pixelSize(), 11);
}

TEST(CommandTable, PopupMenuFollowsTheTable)
{
    TestWindow t;
    auto* popup = t.window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(popup, nullptr);
    QStringList expected;
    for (const PopupRow& row : popupTable())
        expected.append(str(row.item));
    EXPECT_EQ(shownItems(popup->actions()), expected);
    for (const PopupRow& row : popupTable()) {
        QAction* action = popup->findChild<QAction*>(str(row.item));
        if (!action) { // actions added to a menu may belong to it or not
            for (QAction* candidate : popup->actions())
                if (candidate->objectName() == str(row.item))
                    action = candidate;
        }
        ASSERT_NE(action, nullptr) << row.item;
        EXPECT_EQ(action->isSeparator(), str(row.caption) == QLatin1String("-")) << row.item;
        if (!action->isSeparator())
            EXPECT_EQ(action->text(), str(row.caption)) << row.item;
        EXPECT_TRUE(action->shortcut().isEmpty()) << row.item;
    }
}

TEST(CommandTable, RightClickOpensThePopupMenuNotTheWidgetsOwn)
{
    ActiveWindow t;
    auto* popup = t.window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(popup, nullptr);
    const int menusBefore = t.window->findChildren<QMenu*>().size();
    QWidget* viewport = t.memo().viewport();
    const QPoint at = viewport->mapTo(t.window.get(), QPoint(20, 20));
    QTest::mouseClick(t.window->windowHandle(), Qt::RightButton, {}, at);
    QTRY_VERIFY(popup->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), popup);
    EXPECT_EQ(t.window->findChildren<QMenu*>().size(), menusBefore);
    popup->close();
    EXPECT_FALSE(popup->isVisible());
}

// The right click keeps the selection, so the popup's commands act on it.
TEST(CommandTable, PopupCommandWrapsTheSelectionKeptByTheRightClick)
{
    ActiveWindow t;
    t.memo().setText(QStringLiteral("one abc two"));
    t.memo().setSelStart(4);
    t.memo().setSelLength(3);
    auto* popup = t.window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(popup, nullptr);
    const QPoint at = t.memo().viewport()->mapTo(t.window.get(), QPoint(150, 80));
    QTest::mouseClick(t.window->windowHandle(), Qt::RightButton, {}, at);
    QTRY_VERIFY(popup->isVisible());
    EXPECT_EQ(t.memo().getSelText(), QStringLiteral("abc"));
    for (QAction* action : popup->actions())
        if (action->objectName() == QLatin1String("N6"))
            action->trigger();
    popup->close();
    EXPECT_EQ(t.memo().text(), QStringLiteral("one <B>abc</B> two"));
}

TEST(MainWindow, SizeTitleFontAndHiddenControls)
{
    TestWindow t;
    EXPECT_EQ(t.window->size(), QSize(600, 410));
    EXPECT_EQ(t.window->windowTitle(), QStringLiteral("Brannoc Quillet 1.7"));
    EXPECT_EQ(t.window->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(t.window->font().pointSize(), 8);
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());

    EXPECT_EQ(t.memo().objectName(), QStringLiteral("Memo1"));
    EXPECT_NE(t.window->findChild<QObject*>(QStringLiteral("Memo2")), nullptr);
    auto* rich = t.window->findChild<QTextEdit*>(QStringLiteral("RichEdit1"));
    ASSERT_NE(rich, nullptr);
    t.window->show();
    EXPECT_FALSE(rich->isVisible());
    EXPECT_TRUE(t.memo().isVisible());

    // Word wrap is off at start, both scroll bars shown.
    EXPECT_EQ(t.memo().lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(t.memo().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(t.memo().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The editing area fills the window below the toolbar.
    auto* panel = t.window->findChild<QWidget*>(QStringLiteral("Panel1"));
    EXPECT_EQ(t.memo().mapTo(t.window.get(), QPoint(0, 0)).y(), panel->mapTo(t.window.get(), QPoint(0, 33)).y());
    EXPECT_EQ(t.memo().width(), t.window->width());
}

// On X11 Qt appends the display name to every window title, the main
// window's and the boxes' included; no source file may set it.
TEST(MainWindow, NoSourceSetsTheApplicationDisplayName)
{
    const QString forbidden = QStringLiteral("setApplication") + QStringLiteral("DisplayName");
    int files = 0;
    QDirIterator it(QStringLiteral(QUILLET_SOURCE_DIR "/src"), { QStringLiteral("*.cpp"), QStringLiteral("*.h") },
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        ++files;
        EXPECT_FALSE(QString::fromUtf8(file.readAll()).contains(forbidden)) << file.fileName().toStdString();
    }
    EXPECT_GT(files, 20);
}
