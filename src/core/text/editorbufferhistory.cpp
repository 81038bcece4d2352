#include "core/text/editorbuffer.h"

#include "core/platform/apperror.h"
#include "core/text/editorbufferinternals.h"

#include <QTextBlock>
#include <QTextDocument>

// The undo history of the editing area: how an edit becomes a step, and how
// a step is taken back or done again through the same edit path.

using namespace editorbufferinternals;

// History ----------------------------------------------------------------------

TextSelection EditorBuffer::selection() const
{
    const QTextCursor cursor = textCursor();
    return { toDocumentPosition(cursor.anchor()), toDocumentPosition(cursor.position()) };
}

void EditorBuffer::setSelection(TextSelection selection)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toWidgetPosition(selection.anchor));
    cursor.setPosition(toWidgetPosition(selection.caret), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditorBuffer::clearHistory()
{
    m_history.clear();
    emit historyChanged();
}

void EditorBuffer::recordStep(EditStep step)
{
    if (step.removedLength == 0 && step.insertedLength == 0)
        return;
    m_history.record(std::move(step));
    emit historyChanged();
}

QString EditorBuffer::textToReplace(qsizetype position, qsizetype length, int from, int to) const
{
    // What the last step done put in is what stands there now: every later
    // change is a step too, or ends the history. A command on the whole text
    // after another (space removal, then select all and Ctrl+B) keeps one
    // copy of the text between them instead of reading megabytes again.
    const EditStep* last = m_history.lastDone();
    if (last && last->position == position && last->insertedLength == length)
        return last->inserted;
    return editorText(from, to);
}

void EditorBuffer::beginCapture(bool typing)
{
    const QTextCursor cursor = textCursor();
    beginCapture(typing, cursor.selectionStart(), cursor.selectionEnd());
}

void EditorBuffer::beginCapture(bool typing, int from, int to)
{
    if (m_captureDepth++ > 0) {
        // A paste inside a key press is no typing.
        m_capture->typing = m_capture->typing && typing;
        return;
    }
    if (!m_capture)
        m_capture = std::make_unique<Capture>();
    Capture& c = *m_capture;
    c.typing = typing;
    c.before = selection();
    // The blocks of the range and one on either side: a key removes at most
    // the line break before or after the caret, and a cut piece stays in its
    // block.
    const QTextDocument* doc = document();
    QTextBlock first = doc->findBlock(from);
    QTextBlock last = doc->findBlock(to);
    if (first.previous().isValid())
        first = first.previous();
    if (last.next().isValid())
        last = last.next();
    c.from = first.position();
    c.to = last.position() + last.length() - 1;
    c.documentFrom = toDocumentPosition(c.from);
    c.lengthBefore = textLength();
    c.window.clear();
    c.window.reserve(c.to - c.from);
    c.joins.clear();
    for (QTextBlock block = first;; block = block.next()) {
        c.window.append(block.text());
        if (block == last)
            break;
        if (m_blocks.joinsPrevious(block.next()))
            c.joins.push_back(int(c.window.size()));
        c.window.append(u'\n');
    }
    c.high = -1;
    c.growth = 0;
}

void EditorBuffer::noteChange(int position, int removed, int added)
{
    if (m_quiet)
        return;
    if (m_captureDepth == 0) {
        // Changed by a way no step follows: positions kept in the history
        // may no longer hold, so none is undone at a wrong place.
        if (m_history.canUndo() || m_history.canRedo())
            clearHistory();
        return;
    }
    // A change of the last block counts the end-of-text mark, which is no
    // character of the text.
    const int end = document()->characterCount() - 1;
    const int endBefore = end - added + removed;
    added = qMin(added, end - position);
    removed = qMin(removed, endBefore - position);
    Capture& c = *m_capture;
    if (c.high < 0) {
        c.low = position;
        c.high = position + added;
        c.growth = added - removed;
        return;
    }
    const int coveredBefore = qMax(c.high, position + removed);
    c.low = qMin(c.low, position);
    c.high = coveredBefore + added - removed;
    c.growth += added - removed;
}

void EditorBuffer::endCapture()
{
    if (--m_captureDepth > 0)
        return;
    const Capture& c = *m_capture;
    if (c.high < 0)
        return;
    const int originalHigh = c.high - c.growth;
    if (c.low < c.from || originalHigh > c.to) {
        clearHistory();
        return;
    }
    // The window's characters in the widget's form: the separators that
    // join pieces are no characters of the document.
    auto editorForm = [&](int from, int to, qsizetype* joinsBefore = nullptr) {
        QString out = c.window.mid(from, to - from);
        qsizetype joins = 0;
        for (auto it = c.joins.rbegin(); it != c.joins.rend(); ++it) {
            if (*it < to && *it >= from)
                out.remove(*it - from, 1);
            if (*it < from)
                ++joins;
        }
        if (joinsBefore)
            *joinsBefore = joins;
        return out;
    };
    EditStep step;
    step.typing = c.typing;
    step.before = c.before;
    step.after = selection();
    qsizetype joinsBefore = 0;
    const QString prefix = editorForm(0, c.low - c.from, &joinsBefore);
    step.position = c.documentFrom + documentLength(prefix);
    step.removed = editorForm(c.low - c.from, originalHigh - c.from);
    step.inserted = editorText(c.low, c.high);
    // Only what differs: a piece cut or a block's status kept touches
    // characters that stay as they were.
    qsizetype head = 0;
    const qsizetype shorter = qMin(step.removed.size(), step.inserted.size());
    while (head < shorter && step.removed.at(head) == step.inserted.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head
           && step.removed.at(step.removed.size() - 1 - tail) == step.inserted.at(step.inserted.size() - 1 - tail))
        ++tail;
    step.position += documentLength(step.removed.left(head));
    step.removed = step.removed.mid(head, step.removed.size() - head - tail);
    step.inserted = step.inserted.mid(head, step.inserted.size() - head - tail);
    step.removedLength = documentLength(step.removed);
    step.insertedLength = documentLength(step.inserted);
    if (step.removed.isEmpty() && step.inserted.isEmpty())
        return;
    if (c.lengthBefore - step.removedLength + step.insertedLength != textLength()) {
        clearHistory();
        return;
    }
    recordStep(std::move(step));
}

void EditorBuffer::applyStep(qsizetype position, qsizetype removedLength, const QString& inserted,
                             qsizetype insertedLength, TextSelection selection)
{
    const qsizetype length = textLength();
    if (length - removedLength + insertedLength > m_capacity)
        throw AppError(capacityMessage());
    m_quiet = true;
    if (position == 0 && removedLength == length) {
        // The whole text: filled at once, as a command's whole text is.
        setWidgetText(inserted, displayblocks::hasLongLine(inserted));
    } else {
        QTextCursor cursor(document());
        cursor.setPosition(toWidgetPosition(position));
        cursor.setPosition(toWidgetPosition(position + removedLength), QTextCursor::KeepAnchor);
        m_incoming = inserted;
        m_blocks.insert(cursor, inserted);
        m_incoming.clear();
    }
    m_quiet = false;
    setSelection(selection);
    ensureCursorVisible();
}

void EditorBuffer::undoStep()
{
    const EditStep* step = m_history.undo();
    if (!step)
        return;
    try {
        applyStep(step->position, step->insertedLength, step->removed, step->removedLength, step->before);
    } catch (...) {
        m_history.cancelUndo();
        throw;
    }
    if (step->changesEncoding) {
        m_encoding = step->encodingBefore;
        emit encodingRestored();
    }
    emit historyChanged();
}

void EditorBuffer::noteEncodingChange(DocumentEncoding before, quint64 recordings)
{
    if (m_history.recordings() == recordings || !m_history.lastDoneStep()) {
        // Only the encoding changed: a step that edits nothing.
        EditStep step;
        step.position = selStart();
        step.before = step.after = selection();
        m_history.record(std::move(step));
    }
    EditStep& step = *m_history.lastDoneStep();
    step.changesEncoding = true;
    step.encodingBefore = before;
    step.encodingAfter = m_encoding;
    m_history.seal();
    emit historyChanged();
}

void EditorBuffer::redoStep()
{
    const EditStep* step = m_history.redo();
    if (!step)
        return;
    try {
        applyStep(step->position, step->removedLength, step->inserted, step->insertedLength, step->after);
    } catch (...) {
        m_history.cancelRedo();
        throw;
    }
    if (step->changesEncoding) {
        m_encoding = step->encodingAfter;
        emit encodingRestored();
    }
    emit historyChanged();
}
