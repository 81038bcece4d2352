#include "core/displayblocks.h"
#include "core/editorbuffer.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A shown, active window holding the editing area and one more focusable
// widget, so that keys arrive as they do in the editor.
struct Host {
    QWidget window;
    EditorBuffer* memo;
    QLineEdit* other;

    Host()
    {
        auto* layout = new QVBoxLayout(&window);
        memo = new EditorBuffer(&window);
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

    // The no-break space goes to the clipboard as it is.
    host.memo->selectAllText();
    host.memo->copyToClipboard();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QChar(0x00A0)));
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

TEST(EditorBufferInput, TypingIsUndoableButNotAcrossACommand)
{
    Host host;
    QTest::keyClicks(host.memo, QStringLiteral("hello"));
    QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QString());
    QTest::keyClick(host.memo, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QStringLiteral("hello"));

    // A command edit: the earlier typing can no longer be undone at positions
    // that have moved.
    host.memo->setSelStart(0);
    host.memo->setSelText(QStringLiteral("<P>"));
    QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QStringLiteral("<P>hello"));

    // Typing after the command is undoable again, and only that typing.
    QTest::keyClicks(host.memo, QStringLiteral("!"));
    EXPECT_EQ(host.memo->text(), QStringLiteral("<P>!hello"));
    QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QStringLiteral("<P>hello"));
    QTest::keyClick(host.memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(host.memo->text(), QStringLiteral("<P>hello"));
}

// Keys where a long line's pieces join: each acts on the document's
// characters as if there were no join, and Ctrl+Z takes the typing back.
TEST(EditorBufferInput, KeysAtAJoinActOnTheCharactersAroundIt)
{
    const int bound = displayblocks::kBound;
    QString longLine;
    for (int i = 0; longLine.size() < 2 * bound + 10; ++i)
        longLine += QChar(u'a' + i % 26);
    const QString initial = QStringLiteral("x\r\n") + longLine;
    const qsizetype join = 3 + displayblocks::kPiece;
    struct Case {
        const char* name;
        qsizetype caret;
        bool atPieceEnd; // the caret at the end of the first piece, not at the start of the next
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        qsizetype removeAt, removeLength; // the expected edit of the text ...
        QString inserted;                 // ... in document positions
        qsizetype caretAfter;
    };
    const Case cases[] = {
        { "Backspace at a piece start", join, false, Qt::Key_Backspace, {}, join - 1, 1, {}, join - 1 },
        { "Backspace at a piece end", join, true, Qt::Key_Backspace, {}, join - 1, 1, {}, join - 1 },
        { "Delete at a piece end", join, true, Qt::Key_Delete, {}, join, 1, {}, join },
        { "Delete at a piece start", join, false, Qt::Key_Delete, {}, join, 1, {}, join },
        { "typing at a join", join, false, Qt::Key_Q, {}, join, 0, QStringLiteral("q"), join + 1 },
        { "Enter at a piece start", join, false, Qt::Key_Return, {}, join, 0, QStringLiteral("\r\n"), join + 2 },
        { "Enter at a piece end", join, true, Qt::Key_Return, {}, join, 0, QStringLiteral("\r\n"), join + 2 },
        { "Right over a join", join - 1, false, Qt::Key_Right, {}, 0, 0, {}, join },
        { "Right from a piece end", join, true, Qt::Key_Right, {}, 0, 0, {}, join + 1 },
        { "Left from a piece start", join, false, Qt::Key_Left, {}, 0, 0, {}, join - 1 },
    };
    for (const Case& c : cases) {
        Host host;
        EditorBuffer* memo = host.memo;
        memo->setText(initial);
        memo->setSelStart(c.caret);
        if (c.atPieceEnd) {
            QTextCursor cursor = memo->textCursor();
            cursor.setPosition(cursor.position() - 1);
            memo->setTextCursor(cursor);
            ASSERT_EQ(memo->selStart(), c.caret) << c.name;
        }
        QTest::keyClick(memo, c.key, c.modifiers);
        QString expected = initial;
        expected.replace(c.removeAt, c.removeLength, c.inserted);
        EXPECT_TRUE(memo->text() == expected) << c.name;
        EXPECT_EQ(memo->selStart(), c.caretAfter) << c.name;
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(memo->text() == initial) << c.name;
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
    memo->undo();
    EXPECT_TRUE(memo->text() == before) << memo->text().size() << " " << memo->text().count(u'd');
    EXPECT_EQ(memo->document()->blockCount(), blocks);
}
