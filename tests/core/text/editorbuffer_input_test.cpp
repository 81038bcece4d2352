#include "core/encoding/cp1251.h"
#include "core/text/displayblocks.h"
#include "core/text/editorbuffer.h"
#include "support/dragstart.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <optional>

namespace {

// The editing area with the platform's drag replaced: a drag of the
// selection ends at once, dropped at `dropAt` in this text, or, without it,
// on another program that takes it with `action`.
class DraggingMemo : public EditorBuffer {
public:
    using EditorBuffer::EditorBuffer;
    std::optional<QPoint> dropAt;
    Qt::DropAction action = Qt::MoveAction;

protected:
    Qt::DropAction runDrag(QDrag* drag) override
    {
        if (!dropAt)
            return action;
        const Qt::KeyboardModifiers keys = action == Qt::CopyAction ? Qt::ControlModifier : Qt::NoModifier;
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(*dropAt, actions, drag->mimeData(), Qt::LeftButton, keys);
        QApplication::sendEvent(viewport(), &enter);
        QDropEvent drop(*dropAt, actions, drag->mimeData(), Qt::LeftButton, keys);
        drop.setDropAction(action);
        QApplication::sendEvent(viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
};

// A shown, active window holding the editing area and one more focusable
// widget, so that keys arrive as they do in the editor.
struct Host {
    QWidget window;
    DraggingMemo* memo;
    QLineEdit* other;

    Host()
    {
        auto* layout = new QVBoxLayout(&window);
        memo = new DraggingMemo(&window);
        other = new QLineEdit(&window);
        layout->addWidget(memo);
        layout->addWidget(other);
        window.resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            ADD_FAILURE() << "window not active";
        memo->setFocus();
    }
};

void typeText(QWidget* widget, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(EditorBufferInput, TypedCharactersOutsideTheCodePageBecomeReferences)
{
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {
        { "Ж", "Ж" },
        { "€", "€" },
        { "中", "&#20013;" },
        { "😀", "&#128512;" },
        { "ä", "&#228;" },
        { "\xE2\x80\xA8", "&#8232;" }, // U+2028 would be a line break the document does not have
    };
    for (const Case& c : cases) {
        Host host;
        QTest::keyClicks(host.memo, QStringLiteral("a"));
        typeText(host.memo, s(c.typed));
        QTest::keyClicks(host.memo, QStringLiteral("b"));
        EXPECT_EQ(host.memo->text(), QStringLiteral("a") + s(c.stored) + QStringLiteral("b")) << c.typed;
        EXPECT_EQ(host.memo->toBytes().contains('?'), false) << c.typed;
    }
}

TEST(EditorBufferInput, InputMethodCommitOutsideTheCodePageBecomesReferences)
{
    Host host;
    QTest::keyClicks(host.memo, QStringLiteral("x"));
    QInputMethodEvent preedit(s("zhong"), {});
    QApplication::sendEvent(host.memo, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(s("中文"));
    QApplication::sendEvent(host.memo, &commit);
    EXPECT_EQ(host.memo->text(), QStringLiteral("x&#20013;&#25991;"));

    QInputMethodEvent plain;
    plain.setCommitString(s("ё"));
    QApplication::sendEvent(host.memo, &plain);
    EXPECT_EQ(host.memo->text(), s("x&#20013;&#25991;ё"));
}

TEST(EditorBufferInput, PasteKeepsEveryCharacterAndMakesCrlf)
{
    Host host;
    host.memo->setText(QStringLiteral("[]"));
    host.memo->setSelStart(1);
    QGuiApplication::clipboard()->setText(s("a中\nb\u00A0c\r\nd"));
    QTest::keyClick(host.memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), s("[a&#20013;\r\nb\u00A0c\r\nd]"));
    EXPECT_EQ(host.memo->selStart(), 18);

    // The no-break space goes to the clipboard as it is, and the text alone:
    // no rich text carries block formats to a paste or a drop.
    host.memo->selectAllText();
    host.memo->copyToClipboard();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QChar(0x00A0)));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->formats(), QStringList{ QStringLiteral("text/plain") });
}

TEST(EditorBufferInput, DropKeepsEveryCharacter)
{
    Host host;
    auto* data = new QMimeData;
    data->setText(s("<I>中</I>"));
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host.memo->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host.memo->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host.memo->viewport(), &drop);
    EXPECT_EQ(host.memo->text(), QStringLiteral("<I>&#20013;</I>"));
    delete data;
}

TEST(EditorBufferInput, EnterInsertsOneLineBreakWhateverTheModifier)
{
    for (const Qt::KeyboardModifiers modifiers : { Qt::KeyboardModifiers(Qt::NoModifier),
                                                   Qt::KeyboardModifiers(Qt::ShiftModifier),
                                                   Qt::KeyboardModifiers(Qt::KeypadModifier) }) {
        Host host;
        QTest::keyClicks(host.memo, QStringLiteral("ab"));
        QTest::keyClick(host.memo, Qt::Key_Left);
        QTest::keyClick(host.memo, modifiers & Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return, modifiers);
        EXPECT_EQ(host.memo->text(), QStringLiteral("a\r\nb")) << int(modifiers);
        EXPECT_EQ(host.memo->selStart(), 3);
    }
}

TEST(EditorBufferInput, TabMovesTheFocusAndInsertsNothing)
{
    Host host;
    QTest::keyClicks(host.memo, QStringLiteral("ab"));
    QTest::keyClick(host.memo, Qt::Key_Tab);
    EXPECT_EQ(host.memo->text(), QStringLiteral("ab"));
    EXPECT_TRUE(host.other->hasFocus());
}

TEST(EditorBufferInput, EveryTypedChangeFiresTheNotification)
{
    Host host;
    QSignalSpy changes(host.memo, &EditorBuffer::changed);
    QTest::keyClicks(host.memo, QStringLiteral("abc"));
    EXPECT_EQ(changes.count(), 3);
    QTest::keyClick(host.memo, Qt::Key_Backspace);
    EXPECT_EQ(changes.count(), 4);
    QTest::keyClick(host.memo, Qt::Key_Left); // moving the caret changes nothing
    EXPECT_EQ(changes.count(), 4);
}

TEST(EditorBufferInput, TypingAndCommandsUndoInOrder)
{
    Host host;
    QTest::keyClicks(host.memo, QStringLiteral("hello"));
    QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QString());
    QTest::keyClick(host.memo, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QStringLiteral("hello"));

    // A command's edit is a step of its own between the typing steps.
    host.memo->setSelStart(0);
    host.memo->setSelText(QStringLiteral("<P>"));
    QTest::keyClicks(host.memo, QStringLiteral("!!"));
    EXPECT_EQ(host.memo->text(), QStringLiteral("<P>!!hello"));
    const QString steps[] = { QStringLiteral("<P>hello"), QStringLiteral("hello"), QString() };
    for (const QString& expected : steps) {
        QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(host.memo->text(), expected);
    }
    QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(host.memo, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QStringLiteral("<P>hello"));
    EXPECT_EQ(host.memo->selStart(), 3);
}

// Edits where a long line's pieces join, or with a selection that starts or
// ends at the start of a block: each acts on the document's characters as if
// there were no join, a line break stays a break and a join a join, the
// bytes are the text's, and Ctrl+Z and Ctrl+Y take the edit back and redo it.
TEST(EditorBufferInput, EditsAtAJoinActOnTheCharactersAroundIt)
{
    const int bound = displayblocks::kBound;
    QString longLine;
    for (int i = 0; longLine.size() < 2 * bound + 10; ++i)
        longLine += QChar(u'a' + i % 26);
    const QString initial = QStringLiteral("x\r\n") + longLine + QStringLiteral("\r\nyz");
    const qsizetype join = 3 + displayblocks::kPiece;                           // the first join
    const qsizetype lastJoin = 3 + longLine.size() / displayblocks::kPiece * displayblocks::kPiece;
    const qsizetype tail = 3 + longLine.size() + 2;                             // the line after
    const auto replaced = [&](qsizetype at, qsizetype length, const QString& with) {
        return QString(initial).replace(at, length, with);
    };
    const auto moved = [&](qsizetype from, qsizetype length, qsizetype to) {
        QString text = initial;
        const QString piece = text.mid(from, length);
        return text.remove(from, length).insert(to > from ? to - length : to, piece);
    };
    enum Action { Key, DragMove, DragCopy, DragOut, Commit };
    struct Case {
        const char* name;
        qsizetype anchor, caret; // the selection, or the caret where they are equal
        bool atPieceEnd;         // the caret at the end of the first piece, not at the start of the next
        Action action;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        qsizetype dropAt;
        QString text; // committed, or on the clipboard
        QString expected;
        qsizetype caretAfter;
    };
    const Case cases[] = {
        { "Backspace at a piece start", join, join, false, Key, Qt::Key_Backspace, {}, 0, {}, replaced(join - 1, 1, {}), join - 1 },
        { "Backspace at a piece end", join, join, true, Key, Qt::Key_Backspace, {}, 0, {}, replaced(join - 1, 1, {}), join - 1 },
        { "Delete at a piece end", join, join, true, Key, Qt::Key_Delete, {}, 0, {}, replaced(join, 1, {}), join },
        { "Delete at a piece start", join, join, false, Key, Qt::Key_Delete, {}, 0, {}, replaced(join, 1, {}), join },
        { "typing at a join", join, join, false, Key, Qt::Key_Q, {}, 0, {}, replaced(join, 0, QStringLiteral("q")), join + 1 },
        { "Enter at a piece start", join, join, false, Key, Qt::Key_Return, {}, 0, {}, replaced(join, 0, QStringLiteral("\r\n")), join + 2 },
        { "Enter at a piece end", join, join, true, Key, Qt::Key_Return, {}, 0, {}, replaced(join, 0, QStringLiteral("\r\n")), join + 2 },
        { "Right over a join", join - 1, join - 1, false, Key, Qt::Key_Right, {}, 0, {}, initial, join },
        { "Right from a piece end", join, join, true, Key, Qt::Key_Right, {}, 0, {}, initial, join + 1 },
        { "Left from a piece start", join, join, false, Key, Qt::Key_Left, {}, 0, {}, initial, join - 1 },
        { "Ctrl+Backspace over a line start to a piece", 3, join + 5, false, Key, Qt::Key_Backspace, Qt::ControlModifier, 0, {}, replaced(3, join + 2, {}), 3 },
        { "typing over a line start to a piece", 3, join + 5, false, Key, Qt::Key_Q, {}, 0, {}, replaced(3, join + 2, QStringLiteral("q")), 4 },
        { "Ctrl+X from a join into the next line", lastJoin, tail + 1, false, Key, Qt::Key_X, Qt::ControlModifier, 0, {}, replaced(lastJoin, tail + 1 - lastJoin, {}), lastJoin },
        { "Ctrl+V over a join into the next line", lastJoin, tail + 1, false, Key, Qt::Key_V, Qt::ControlModifier, 0, QStringLiteral("p\r\nq"), replaced(lastJoin, tail + 1 - lastJoin, QStringLiteral("p\r\nq")), lastJoin + 4 },
        { "drag a line start to a piece up", 3, join + 5, false, DragMove, {}, {}, 1, {}, moved(3, join + 2, 1), join + 3 },
        { "drag a join into the next line up", lastJoin, tail + 1, false, DragMove, {}, {}, 0, {}, moved(lastJoin, tail + 1 - lastJoin, 0), tail + 1 - lastJoin },
        { "drag a line to a join", 0, 1, false, DragMove, {}, {}, join, {}, moved(0, 1, join), join },
        { "Ctrl+drag a line start to a join", 3, 5, false, DragCopy, {}, {}, join, {}, replaced(join, 0, initial.mid(3, 2)), join + 2 },
        { "drag a line start to a piece out", 3, join + 5, false, DragOut, {}, {}, 0, {}, replaced(3, join + 2, {}), 3 },
        { "composing over a line start to a piece", 3, join + 5, false, Commit, {}, {}, 0, QStringLiteral("q"), replaced(3, join + 2, QStringLiteral("q")), 4 },
        { "composing a line break in a piece", join + 5, join + 5, false, Commit, {}, {}, 0, QStringLiteral("\r\n"), replaced(join + 5, 0, QStringLiteral("\r\n")), join + 7 },
    };
    for (const Case& c : cases) {
        Host host;
        DraggingMemo* memo = host.memo;
        memo->setText(initial);
        memo->clearHistory();
        const auto pointAt = [&](qsizetype position) {
            QTextCursor at(memo->document());
            at.setPosition(memo->toWidgetPosition(position));
            return memo->cursorRect(at).center();
        };
        const QPoint dropAt = pointAt(c.dropAt);
        QTextCursor cursor(memo->document());
        cursor.setPosition(memo->toWidgetPosition(c.anchor));
        cursor.setPosition(memo->toWidgetPosition(c.caret) - (c.atPieceEnd ? 1 : 0),
                           c.anchor == c.caret ? QTextCursor::MoveAnchor : QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
        ASSERT_EQ(memo->selStart() + memo->selLength(), c.caret) << c.name;
        if (c.action == Key) {
            QGuiApplication::clipboard()->setText(c.text);
            QTest::keyClick(memo, c.key, c.modifiers);
        } else if (c.action == Commit) {
            QInputMethodEvent commit;
            commit.setCommitString(c.text);
            QApplication::sendEvent(memo, &commit);
        } else {
            // Pressed on the selection's start, moved far enough to drag.
            if (c.action != DragOut)
                memo->dropAt = dropAt;
            memo->action = c.action == DragCopy ? Qt::CopyAction : Qt::MoveAction;
            const QPoint from = pointAt(c.anchor);
            const QPoint to = from + QPoint(QApplication::startDragDistance() + 5, 0);
            pressAndMove(memo->viewport(), from, to);
        }
        EXPECT_TRUE(memo->text() == c.expected) << c.name;
        EXPECT_TRUE(memo->toBytes() == cp1251::encode(c.expected)) << c.name;
        EXPECT_EQ(memo->selStart(), c.caretAfter) << c.name;
        EXPECT_EQ(memo->lineCount(), c.expected.count(QStringLiteral("\r\n")) + 1) << c.name;
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(memo->text() == initial) << c.name;
        if (c.expected != initial)
            EXPECT_EQ(memo->selection(), (TextSelection { c.anchor, c.caret })) << c.name;
        QTest::keyClick(memo, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(memo->text() == c.expected) << c.name;
        EXPECT_EQ(memo->selStart(), c.caretAfter) << c.name;
    }
}

// Typing that makes a piece longer than twice the bound cuts it again, and
// one undo takes back the typing and the cut together.
TEST(EditorBufferInput, TypingPastTwiceTheBoundCutsThePieceAndUndoes)
{
    const int bound = displayblocks::kBound;
    Host host;
    EditorBuffer* memo = host.memo;
    memo->setText(QString(2 * bound, u'a') + QStringLiteral("\r\n") + QString(3 * bound, u'b'));
    const qsizetype at = 2 * bound + 2 + displayblocks::kPiece; // the end of the second line's first piece
    const int grown = 2 * bound - displayblocks::kPiece;
    // The piece grown to twice the bound, as typing leaves it: not cut yet.
    QTextCursor grow(memo->document());
    grow.setPosition(memo->toWidgetPosition(at - 1) + 1);
    grow.insertText(QString(grown, u'c'));
    memo->setTextCursor(grow);
    const QString before = memo->text();
    const int blocks = memo->document()->blockCount();
    typeText(memo, QStringLiteral("d"));
    QString expected = before;
    expected.insert(at + grown, u'd');
    EXPECT_TRUE(memo->text() == expected);
    EXPECT_EQ(memo->selStart(), at + grown + 1);
    EXPECT_EQ(memo->document()->blockCount(), blocks + 2 * bound / displayblocks::kPiece);
    memo->undoStep();
    EXPECT_TRUE(memo->text() == before) << memo->text().size() << " " << memo->text().count(u'd');
    EXPECT_EQ(memo->lineCount(), 2);
}

// A selection that holds nothing but a join (a mouse dragged from the end of
// one piece to the start of the next): the key erases as at the caret.
TEST(EditorBufferInput, BackspaceAndDeleteOverOnlyAJoinEraseAsAtTheCaret)
{
    QString longLine;
    for (int i = 0; longLine.size() < 2 * displayblocks::kBound + 10; ++i)
        longLine += QChar(u'a' + i % 26);
    const QString initial = QStringLiteral("x\r\n") + longLine;
    const qsizetype join = 3 + displayblocks::kPiece;
    const struct {
        Qt::Key key;
        qsizetype erased; // the document position of the character erased
        qsizetype caretAfter;
    } rows[] = { { Qt::Key_Backspace, join - 1, join - 1 }, { Qt::Key_Delete, join, join } };
    for (const auto& row : rows) {
        Host host;
        DraggingMemo* memo = host.memo;
        memo->setText(initial);
        QTextCursor cursor(memo->document());
        cursor.setPosition(memo->toWidgetPosition(join));
        cursor.setPosition(memo->toWidgetPosition(join) - 1, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
        ASSERT_TRUE(memo->textCursor().hasSelection() && memo->selLength() == 0);
        QTest::keyClick(memo, row.key);
        EXPECT_TRUE(memo->text() == QString(initial).remove(row.erased, 1)) << int(row.key);
        EXPECT_EQ(memo->selStart(), row.caretAfter) << int(row.key);
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(memo->text() == initial) << int(row.key);
    }
}
