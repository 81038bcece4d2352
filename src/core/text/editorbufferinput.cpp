#include "core/text/editorbuffer.h"
#include "core/text/editorbufferinternals.h"

#include "core/encoding/cp1251.h"
#include "core/encoding/linebreaks.h"
#include "core/platform/apperror.h"
#include "core/text/displayblocks.h"

#include <QApplication>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>

// What reaches the editing area from the keyboard, input methods and the
// mouse: keys that would act wrongly where the pieces of a long line join,
// typing that grows a piece past its size, drags and drops of the selection.

using displayblocks::continuesLine;
using displayblocks::kBound;
using namespace editorbufferinternals;

template <typename Insert>
void EditorBuffer::replaceSelectionAsOneStep(QTextCursor& cursor, Insert insert)
{
    cursor.beginEditBlock();
    m_blocks.removeSelection(cursor);
    insert();
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void EditorBuffer::removeSelectionAsOneStep(QTextCursor& cursor)
{
    replaceSelectionAsOneStep(cursor, [] {});
}

bool EditorBuffer::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The keypad's Insert or Delete is the same key to the menu.
        const QKeyCombination combination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()));
        if (m_claimed.contains(QKeySequence(combination))) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

bool EditorBuffer::handleKeyAtJoin(QKeyEvent* event)
{
    const int key = event->key();
    if (event->matches(QKeySequence::Cut)) {
        cutToClipboard();
        event->accept();
        return true;
    }
    QTextCursor cursor = textCursor();
    // Word and line deletions remove the ranges the widget would, without
    // its block merge (see removeSelection).
    const bool wordBack = event->matches(QKeySequence::DeleteStartOfWord);
    const bool wordForward = event->matches(QKeySequence::DeleteEndOfWord);
    if (wordBack || wordForward || event->matches(QKeySequence::DeleteEndOfLine)) {
        if (!wordBack && !wordForward) {
            const QTextBlock block = cursor.block();
            const bool beforeLast = cursor.position() == block.position() + block.length() - 2;
            cursor.movePosition(beforeLast ? QTextCursor::Right : QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        } else if (!cursor.hasSelection()) {
            cursor.movePosition(wordBack ? QTextCursor::PreviousWord : QTextCursor::NextWord, QTextCursor::KeepAnchor);
        }
        removeSelectionAsOneStep(cursor);
        event->accept();
        return true;
    }
    const QString typed = event->text();
    // Text the widget would type over a selection: it refuses Ctrl and
    // Ctrl+Shift only.
    const bool typing = !typed.isEmpty() && typed.at(0).isPrint() && event->modifiers() != Qt::ControlModifier
                        && event->modifiers() != (Qt::ControlModifier | Qt::ShiftModifier);
    const bool plainKey = !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::GroupSwitchModifier));
    const bool erasing = plainKey && (key == Qt::Key_Backspace || key == Qt::Key_Delete);
    if (erasing && cursor.hasSelection()
        && toDocumentPosition(cursor.selectionStart()) == toDocumentPosition(cursor.selectionEnd())) {
        // A selection of joins only holds no character: the key erases as
        // it does at the caret, rather than removing nothing.
        cursor.setPosition(cursor.selectionStart());
        setTextCursor(cursor);
    }
    if (cursor.hasSelection() && (typing || erasing)) {
        // The widget's own removal gives a selection that starts a block the
        // status of the block it ends in, a join or a line break.
        replaceSelectionAsOneStep(cursor, [&] {
            if (typing)
                m_blocks.insert(cursor, incoming(typed));
        });
        event->accept();
        return true;
    }
    if (!plainKey)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // A new line, never a continuation of the block the caret stands in.
        replaceSelectionAsOneStep(cursor, [&] { cursor.insertBlock(displayblocks::lineStartFormat(cursor.blockFormat())); });
        event->accept();
        return true;
    }
    if (cursor.hasSelection())
        return false;
    QTextBlock block = cursor.block();
    int at = cursor.position();
    if (key == Qt::Key_Backspace) {
        // The character before the join, not the join itself.
        if (at != block.position() || block.blockNumber() == 0 || !continuesLine(block))
            return false;
        while (at == block.position() && block.blockNumber() > 0 && continuesLine(block)) {
            block = block.previous();
            at = block.position() + block.length() - 1;
        }
        if (at > 0) {
            QTextCursor edit(document());
            edit.setPosition(at);
            edit.deletePreviousChar();
        }
    } else if (key == Qt::Key_Delete) {
        // The character after the join.
        const int end = block.position() + block.length() - 1;
        if (at != end || !block.next().isValid() || !continuesLine(block.next()))
            return false;
        while (at == block.position() + block.length() - 1 && block.next().isValid() && continuesLine(block.next())) {
            block = block.next();
            at = block.position();
        }
        if (at < document()->characterCount() - 1) {
            QTextCursor edit(document());
            edit.setPosition(at);
            edit.deleteChar();
        }
    } else {
        return false;
    }
    ensureCursorVisible();
    event->accept();
    return true;
}

template <typename Typing>
void EditorBuffer::typeAndSplit(qsizetype added, Typing typing)
{
    if (textCursor().block().length() - 1 + added <= 2 * kBound)
        return typing();
    // One undo step for the typing and the cut.
    QTextCursor group(document());
    group.beginEditBlock();
    typing();
    m_blocks.splitIfTooLong(textCursor().block());
    group.endEditBlock();
}

void EditorBuffer::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool undoKey = event->matches(QKeySequence::Undo) || (key == Qt::Key_Z && modifiers == Qt::ControlModifier);
    const bool redoKey = event->matches(QKeySequence::Redo) || (key == Qt::Key_Y && modifiers == Qt::ControlModifier)
                         || (key == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier));
    if (undoKey || redoKey) {
        // No error may leave the widget's own event: it is reported.
        try {
            undoKey ? undoStep() : redoStep();
        } catch (const AppError& error) {
            emit refused(error.message());
        }
        event->accept();
        return;
    }
    // Moving keys change no text: they keep nothing, which matters with a
    // selection of megabytes.
    static const int kMoving[] = { Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
                                   Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Shift,
                                   Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta };
    const bool moving = event->text().isEmpty() && std::find(std::begin(kMoving), std::end(kMoving), key) != std::end(kMoving);
    // Cut and paste keys are steps of their own, never part of typing.
    std::optional<CaptureScope> step;
    if (!moving)
        step.emplace(*this, !event->matches(QKeySequence::Cut) && !event->matches(QKeySequence::Paste));
    // Tab is no character of the document, also where no other widget
    // could take the focus.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool commandKey = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool typesText = !typed.isEmpty() && !commandKey
                           && (typed.front().isPrint() || key == Qt::Key_Return || key == Qt::Key_Enter);
    // A full memo ignores typing.
    if (typesText && !fitsInSelection(incoming(typed))) {
        event->accept();
        return;
    }
    if (m_blocks.hasJoins() && handleKeyAtJoin(event))
        return;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() != Qt::NoModifier
        && !(event->modifiers() & Qt::ControlModifier)) {
        // Shift+Enter would insert a line separator that is no line break of
        // the document: every Enter inserts CRLF.
        QKeyEvent plain(event->type(), key, Qt::NoModifier, QStringLiteral("\r"));
        if (m_blocks.hasJoins() && handleKeyAtJoin(&plain))
            return event->accept();
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (!typed.isEmpty() && admitted(typed) != typed) {
        QTextCursor cursor = textCursor();
        m_blocks.insert(cursor, incoming(typed));
        setTextCursor(cursor);
        event->accept();
        return;
    }
    // The end of a piece and the start of the next are one place in the
    // document: an arrow that only crossed the join goes one step further.
    const bool sideways = m_blocks.hasJoins() && (key == Qt::Key_Left || key == Qt::Key_Right)
        && !(event->modifiers() & Qt::ControlModifier);
    const int widgetBefore = textCursor().position();
    const qsizetype before = sideways ? toDocumentPosition(widgetBefore) : 0;
    typeAndSplit(typed.size(), [&] { QPlainTextEdit::keyPressEvent(event); });
    if (sideways && textCursor().position() != widgetBefore && toDocumentPosition(textCursor().position()) == before)
        QPlainTextEdit::keyPressEvent(event);
}

void EditorBuffer::inputMethodEvent(QInputMethodEvent* event)
{
    const CaptureScope step(*this, true);
    const QString commit = event->commitString();
    const QString safe = admitted(commit);
    if (!commit.isEmpty() && !fitsInSelection(linebreaks::toEditorText(safe))) {
        event->accept();
        return;
    }
    if (m_blocks.hasJoins() && (!commit.isEmpty() || event->replacementLength() > 0)) {
        // The widget would remove the selection and the replaced text with
        // its block merge, and give a committed line break the status of the
        // block it is typed in: the text goes in here, the composition to it.
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        m_blocks.removeSelection(cursor);
        const int at = cursor.position() + event->replacementStart();
        cursor.setPosition(at);
        cursor.setPosition(at + event->replacementLength(), QTextCursor::KeepAnchor);
        m_blocks.insert(cursor, linebreaks::toEditorText(safe));
        cursor.endEditBlock();
        setTextCursor(cursor);
        QInputMethodEvent composition(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&composition);
        event->accept();
        return;
    }
    if (safe == commit) {
        typeAndSplit(commit.size(), [&] { QPlainTextEdit::inputMethodEvent(event); });
        return;
    }
    QInputMethodEvent copy(event->preeditString(), event->attributes());
    copy.setCommitString(safe, event->replacementStart(), event->replacementLength());
    typeAndSplit(safe.size(), [&] { QPlainTextEdit::inputMethodEvent(&copy); });
}

void EditorBuffer::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString text = source->text();
    if (text.isEmpty())
        return;
    const QString insert = incoming(text);
    // Paste keys and drops come through the widget, where no error may
    // leave: the refusal is reported, and the text stays as it is.
    if (!fitsInSelection(insert)) {
        emit refused(capacityMessage());
        return;
    }
    const CaptureScope step(*this, false);
    QTextCursor cursor = textCursor();
    m_blocks.insert(cursor, insert);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData* EditorBuffer::createMimeDataFromSelection() const
{
    // The raw selection: the widget's own export turns no-break spaces into spaces.
    auto* data = new QMimeData;
    data->setText(linebreaks::toEditorText(getSelText()));
    return data;
}

void EditorBuffer::mousePressEvent(QMouseEvent* event)
{
    // A press on the selection that the widget leaves as it is may start a
    // drag, which is then started here rather than by the widget.
    m_dragPress.reset();
    const QTextCursor before = textCursor();
    bool onSelection = false;
    if (event->button() == Qt::LeftButton && event->modifiers() != Qt::ShiftModifier && before.hasSelection()) {
        const int at = cursorForPosition(event->position().toPoint()).position();
        onSelection = at >= before.selectionStart() && at <= before.selectionEnd();
    }
    QPlainTextEdit::mousePressEvent(event);
    const QTextCursor after = textCursor();
    if (onSelection && after.anchor() == before.anchor() && after.position() == before.position())
        m_dragPress = event->position().toPoint();
}

void EditorBuffer::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragPress || !(event->buttons() & Qt::LeftButton))
        return QPlainTextEdit::mouseMoveEvent(event);
    // Kept from the widget, which would start its own drag.
    event->accept();
    if ((event->position().toPoint() - *m_dragPress).manhattanLength() <= QApplication::startDragDistance())
        return;
    m_dragPress.reset();
    dragSelection();
}

void EditorBuffer::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragPress.reset();
    QPlainTextEdit::mouseReleaseEvent(event);
}

void EditorBuffer::dragSelection()
{
    auto* drag = new QDrag(viewport());
    drag->setMimeData(createMimeDataFromSelection());
    m_dragged = textCursor();
    const Qt::DropAction action = runDrag(drag);
    // Still set: not moved by a drop in this text, so moved elsewhere.
    QTextCursor moved = m_dragged;
    m_dragged = QTextCursor();
    if (action == Qt::MoveAction && moved.hasSelection()) {
        const CaptureScope step(*this, false, moved.selectionStart(), moved.selectionEnd());
        removeSelectionAsOneStep(moved);
    }
}

Qt::DropAction EditorBuffer::runDrag(QDrag* drag)
{
    return drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void EditorBuffer::dropEvent(QDropEvent* event)
{
    // One step from where the text leaves to where it lands.
    const QTextCursor selected = m_dragged.isNull() ? textCursor() : m_dragged;
    const int at = cursorForPosition(event->position().toPoint()).position();
    const CaptureScope step(*this, false, qMin(at, selected.selectionStart()), qMax(at, selected.selectionEnd()));
    // Copies, and drops from elsewhere, go in through insertFromMimeData.
    if (m_dragged.isNull() || event->dropAction() != Qt::MoveAction || !canInsertFromMimeData(event->mimeData()))
        return QPlainTextEdit::dropEvent(event);
    // The selection dragged within the text: out without the widget's block
    // merge, in as text only.
    QTextCursor target = cursorForPosition(event->position().toPoint());
    QTextCursor moved = m_dragged;
    m_dragged = QTextCursor();
    moved.beginEditBlock();
    m_blocks.removeSelection(moved);
    m_blocks.insert(target, incoming(event->mimeData()->text()));
    moved.endEditBlock();
    setTextCursor(target);
    ensureCursorVisible();
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // Ends the widget's own drop indication.
    QDragLeaveEvent leave;
    QPlainTextEdit::dragLeaveEvent(&leave);
}
