// Every command is one undo step in the real window: Ctrl+Z brings back the
// text and the selection before it, Ctrl+Y (or Ctrl+Shift+Z) the text after.
#include "core/encoding/cp1251.h"
#include "core/text/displayblocks.h"
#include "tools/replacedialog.h"
#include "ui/activewindow.h"

#include <QClipboard>
#include <QPushButton>

namespace {

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

enum class Press { None, Replace, ReplaceAll };

struct Case {
    const char* name;
    QString initial;
    qsizetype start, length;   // the selection before the command
    std::vector<Key> keys;     // the command, by its keys
    QString typed;             // or typed text
    Press press;               // or a press in the find-and-replace dialog
    QString after;
    bool shiftRedo = false;    // redo by Ctrl+Shift+Z
};

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(UndoThroughWindow, EveryCommandIsOneStepBackAndForth)
{
    // A page with a line far longer than the bound, shown in pieces.
    const QString longLine = QString(3 * displayblocks::kBound, u'a') + QStringLiteral("  b");
    const QString page = QStringLiteral("x  y\r\n") + longLine + QStringLiteral("\r\nz");
    const qsizetype join = 6 + displayblocks::kPiece;
    const Case cases[] = {
        { "Ctrl+B on a selection", s("Hello"), 0, 5, { { Qt::Key_B, Ctrl } }, {}, Press::None, s("<B>Hello</B>") },
        { "Ctrl+A, Ctrl+B", s("Hello"), 2, 0, { { Qt::Key_A, Ctrl }, { Qt::Key_B, Ctrl } }, {}, Press::None,
          s("<B>Hello</B>"), true },
        { "a template at the caret", s("ab"), 1, 0, { { Qt::Key_T, Ctrl } }, {}, Press::None,
          s("a<TABLE ALIGN=JUSTIFY BORDER=2 COLS=2 WIDTH=\"100%\">\r\n<TR>\r\n<TD> </TD>\r\n<TD> </TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD> </TD>\r\n<TD> </TD>\r\n</TR>\r\n</TABLE>b") },
        { "a fragment over a selection", s("a-b"), 1, 1, { { Qt::Key_H, Ctrl } }, {}, Press::None, s("a<HR>\r\nb") },
        { "Shift+Ins over a line break", s("ab\r\ncd"), 1, 4, { { Qt::Key_Insert, Shift } }, {}, Press::None, s("ap\r\nqd") },
        { "Ctrl+Del", s("ab\r\ncd"), 1, 4, { { Qt::Key_Delete, Ctrl } }, {}, Press::None, s("ad") },
        { "Ctrl+F4, answered Yes", s("ab\r\ncd"), 3, 0, { { Qt::Key_F4, Ctrl } }, {}, Press::None, QString() },
        { "Ctrl+F10", s("a  b\r\n   c"), 0, 0, { { Qt::Key_F10, Ctrl } }, {}, Press::None, s("a b\r\n c") },
        { "Replace", s("cat cat\r\ndog"), 4, 3, {}, {}, Press::Replace, s("cat cow\r\ndog") },
        { "Replace All", s("cat\r\ncat"), 5, 3, {}, {}, Press::ReplaceAll, s("cat\r\ncow") },
        { "typing", s("ab"), 1, 0, {}, s("xyz"), Press::None, s("axyzb") },
        { "typing over a selection", s("abcd"), 1, 2, {}, s("xy"), Press::None, s("axyd") },
        // The long-line page.
        { "long lines: Ctrl+A, Ctrl+B", page, 0, 0, { { Qt::Key_A, Ctrl }, { Qt::Key_B, Ctrl } }, {}, Press::None,
          s("<B>") + page + s("</B>") },
        { "long lines: Ctrl+F10", page, join, 0, { { Qt::Key_F10, Ctrl } }, {}, Press::None,
          QString(page).replace(QStringLiteral("  "), QStringLiteral(" ")), true },
        { "long lines: Shift+Ins from a join into the next line", page, join, page.size() - 1 - join,
          { { Qt::Key_Insert, Shift } }, {}, Press::None, QString(page).replace(join, page.size() - 1 - join, s("p\r\nq")) },
        { "long lines: Enter in a piece", page, join + 3, 0, { { Qt::Key_Return } }, {}, Press::None,
          QString(page).insert(join + 3, s("\r\n")) },
        { "long lines: Ctrl+B over a join", page, join - 2, 4, { { Qt::Key_B, Ctrl } }, {}, Press::None,
          QString(page).insert(join + 2, s("</B>")).insert(join - 2, s("<B>")) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActiveWindow t;
        t.setText(c.initial);
        t.select(c.start, c.length);
        // The selection the step starts from; Ctrl+A only selects.
        const bool selectAll = !c.keys.empty() && c.keys.front().key == Qt::Key_A;
        const TextSelection before = selectAll ? TextSelection { 0, c.initial.size() } : t.memo().selection();
        QGuiApplication::clipboard()->setText(s("p\r\nq"));
        t.fake.prompts.answers = { Answer::Yes };
        for (const Key& key : c.keys)
            QTest::keyClick(&t.memo(), key.key, key.modifiers);
        QTest::keyClicks(&t.memo(), c.typed);
        if (c.press != Press::None) {
            QTest::keyClick(&t.memo(), Qt::Key_F3);
            auto* dialog = t.window->findChild<ReplaceDlg*>(QStringLiteral("ReplaceDlg"));
            ASSERT_NE(dialog, nullptr);
            dialog->setFindText(s("cat"));
            dialog->setReplaceText(s("cow"));
            (c.press == Press::Replace ? dialog->replaceButton() : dialog->replaceAllButton())->click();
            dialog->hide();
            t.memo().setFocus();
        }
        ASSERT_TRUE(t.memo().text() == c.after) << t.memo().text().left(80).toStdString();
        const QByteArray bytesAfter = t.memo().toBytes();
        t.ctx().doc.modified = false;

        QTest::keyClick(&t.memo(), Qt::Key_Z, Ctrl);
        EXPECT_TRUE(t.memo().text() == c.initial);
        EXPECT_EQ(t.memo().toBytes(), cp1251::encode(c.initial));
        EXPECT_EQ(t.memo().lineCount(), c.initial.isEmpty() ? 0 : c.initial.count(s("\r\n")) + 1);
        EXPECT_EQ(t.memo().selection(), before);
        EXPECT_TRUE(t.ctx().doc.modified);
        // Only the command was one step: nothing is left to undo.
        QTest::keyClick(&t.memo(), Qt::Key_Z, Ctrl);
        EXPECT_TRUE(t.memo().text() == c.initial);

        if (c.shiftRedo)
            QTest::keyClick(&t.memo(), Qt::Key_Z, Ctrl | Shift);
        else
            QTest::keyClick(&t.memo(), Qt::Key_Y, Ctrl);
        EXPECT_TRUE(t.memo().text() == c.after);
        EXPECT_EQ(t.memo().toBytes(), bytesAfter);
        EXPECT_TRUE(t.fake.prompts.boxes.size() <= 1); // the question of Ctrl+F4, no error
    }
}

// A conversion of the encoding is one step too: Ctrl+Z brings back the text,
// its declaration and the encoding the next save writes; Ctrl+Y converts again.
TEST(UndoThroughWindow, AConversionOfTheEncodingIsOneStepBackAndForth)
{
    struct Row {
        const char* name;
        QString initial;
        bool utf8Before;
        const char* item;           // the menu item that converts
        QByteArray bytesBefore;     // the next save, before and after
        QByteArray bytesAfter;
    };
    const Row rows[] = {
        { "to UTF-8 with a declaration", s("<meta charset=windows-1251>\r\nж"), false, "Utf81",
          "<meta charset=windows-1251>\r\n\xe6", "<meta charset=utf-8>\r\n\xd0\xb6" },
        { "to UTF-8, only the encoding", s("ж"), false, "Utf81", "\xe6", "\xd0\xb6" },
        { "to Windows-1251 with a character it lacks", s("a\xf0\x9f\x98\x80"), true, "Win12511",
          "a\xf0\x9f\x98\x80", "a&#128512;" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ActiveWindow t;
        t.memo().setEncoding({ row.utf8Before ? Charset::Utf8 : Charset::Windows1251, false });
        t.setText(row.initial);
        ASSERT_EQ(t.memo().toBytes(), row.bytesBefore);
        t.window->findChild<QAction*>(QString::fromLatin1(row.item))->trigger();
        ASSERT_EQ(t.memo().toBytes(), row.bytesAfter);
        ASSERT_NE(t.memo().encoding().isUtf8(), row.utf8Before);

        QTest::keyClick(&t.memo(), Qt::Key_Z, Ctrl);
        EXPECT_EQ(t.memo().encoding().isUtf8(), row.utf8Before);
        EXPECT_EQ(t.memo().toBytes(), row.bytesBefore);
        EXPECT_TRUE(t.memo().text() == row.initial);
        auto* utf8Item = t.window->findChild<QAction*>(QStringLiteral("Utf81"));
        EXPECT_EQ(utf8Item->isChecked(), row.utf8Before);

        QTest::keyClick(&t.memo(), Qt::Key_Y, Ctrl);
        EXPECT_NE(t.memo().encoding().isUtf8(), row.utf8Before);
        EXPECT_EQ(t.memo().toBytes(), row.bytesAfter);
        EXPECT_NE(utf8Item->isChecked(), row.utf8Before);
    }
}
