#include "core/editorbuffer.h"

#include "core/apperror.h"
#include "core/editorfont.h"
#include "core/cp1251.h"
#include "core/linebreaks.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Text from outside (typed, pasted, dropped, composed by a command) in the
// widget's form: encodable characters only, '\n' line breaks.
QString incoming(const QString& text)
{
    return linebreaks::toEditorText(cp1251::escapeUnencodable(text));
}

// Length in document characters of a text in the widget's form: every
// '\n' becomes CRLF.
qsizetype documentLength(const QString& editorText)
{
    return editorText.size() + editorText.count(u'\n');
}

} // namespace

EditorBuffer::EditorBuffer(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("Memo1"));
    // Start-up replaces it with the settings' font unless it stops before.
    setFont(builtInEditorFont());
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QPlainTextEdit::textChanged, this, &EditorBuffer::changed);
}

template <typename Edit>
void EditorBuffer::withoutUndo(Edit edit)
{
    document()->setUndoRedoEnabled(false);
    edit();
    document()->setUndoRedoEnabled(true);
}

QString EditorBuffer::getSelText() const
{
    const QTextCursor cursor = textCursor();
    return rawText(cursor.selectionStart(), cursor.selectionEnd());
}

QString EditorBuffer::rawText(int from, int to) const
{
    // Read block by block and join with CRLF: the cursor's own selectedText()
    // marks breaks with U+2029, and replacing those afterwards costs far more
    // than the reading on a long text.
    QString out;
    if (from >= to)
        return out;
    const QTextDocument* doc = document();
    QTextBlock block = doc->findBlock(from);
    out.reserve(qsizetype(to - from) + (doc->findBlock(to).blockNumber() - block.blockNumber()));
    while (block.isValid() && block.position() <= to) {
        const int start = qMax(from, block.position()) - block.position();
        const int end = qMin(to, block.position() + block.length() - 1) - block.position();
        if (block.position() > from)
            out.append(linebreaks::crlf());
        if (end > start)
            out.append(QStringView(block.text()).mid(start, end - start));
        block = block.next();
    }
    return out;
}

bool EditorBuffer::fitsInSelection(const QString& editorText) const
{
    return textLength() - selLength() + documentLength(editorText) <= m_capacity;
}

bool EditorBuffer::fitsAsWholeText(const QString& editorText) const
{
    return documentLength(editorText) <= m_capacity;
}

void EditorBuffer::setSelText(const QString& text)
{
    m_incoming = incoming(text);
    if (!fitsInSelection(m_incoming)) {
        m_incoming.clear();
        throw AppError(capacityMessage());
    }
    withoutUndo([&] {
        QTextCursor cursor = textCursor();
        cursor.insertText(m_incoming);
        setTextCursor(cursor);
    });
    m_incoming.clear();
    ensureCursorVisible();
}

qsizetype EditorBuffer::selStart() const
{
    return toDocumentPosition(textCursor().selectionStart());
}

void EditorBuffer::setSelStart(qsizetype position)
{
    // Moving the caret this way leaves the view where it is; the widget
    // would scroll to the caret, so its scroll positions are put back.
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    QTextCursor cursor = textCursor();
    cursor.setPosition(toWidgetPosition(position));
    setTextCursor(cursor);
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

qsizetype EditorBuffer::selLength() const
{
    const QTextCursor cursor = textCursor();
    return toDocumentPosition(cursor.selectionEnd()) - toDocumentPosition(cursor.selectionStart());
}

void EditorBuffer::setSelLength(qsizetype length)
{
    const qsizetype start = selStart();
    QTextCursor cursor = textCursor();
    cursor.setPosition(toWidgetPosition(start));
    cursor.setPosition(toWidgetPosition(start + qMax<qsizetype>(0, length)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void EditorBuffer::selectAllText()
{
    selectAll();
}

void EditorBuffer::copyToClipboard()
{
    copy();
}

void EditorBuffer::cutToClipboard()
{
    cut();
}

void EditorBuffer::pasteFromClipboard()
{
    // Checked here too, so that the command's error leaves through the
    // handler rather than as the widget's own refusal.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText() && !fitsInSelection(incoming(data->text())))
        throw AppError(capacityMessage());
    paste();
}

void EditorBuffer::clearText()
{
    clear();
}

QString EditorBuffer::text() const
{
    QString out;
    out.reserve(textLength());
    const QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            out.append(linebreaks::crlf());
        out.append(block.text());
    }
    return out;
}

void EditorBuffer::setWidgetText(const QString& editorText)
{
    m_incoming = editorText;
    withoutUndo([&] { setPlainText(editorText); });
    m_incoming.clear();
}

void EditorBuffer::setText(const QString& text)
{
    const QString editorText = incoming(text);
    if (!fitsAsWholeText(editorText))
        throw AppError(capacityMessage());
    setWidgetText(editorText);
}

qsizetype EditorBuffer::textLength() const
{
    // Every block but the last ends in a break that counts as two.
    return document()->characterCount() - 1 + (document()->blockCount() - 1);
}

void EditorBuffer::loadFromFile(const QString& fileName)
{
    const QString cannotOpen = QStringLiteral("Cannot open file %1").arg(fileName);
    QFile file(fileName);
    // Only regular files: a folder cannot be read, and a pipe or a device
    // could block or never end.
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw AppError(cannotOpen);
    const qint64 size = file.size();
    if (size > m_capacity)
        throw AppError(capacityMessage());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(cannotOpen);
    file.close();
    if (linebreaks::normalisedLength(bytes) > m_capacity)
        throw AppError(capacityMessage());
    setWidgetText(linebreaks::decodeToEditorText(bytes));
}

QByteArray EditorBuffer::toBytes() const
{
    QByteArray out;
    out.reserve(textLength());
    const QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            out.append("\r\n", 2);
        out.append(cp1251::encode(block.text()));
    }
    return out;
}

qsizetype EditorBuffer::toDocumentPosition(int widgetPosition) const
{
    const QTextBlock block = document()->findBlock(widgetPosition);
    return widgetPosition + (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

int EditorBuffer::toWidgetPosition(qsizetype documentPosition) const
{
    const QTextDocument* doc = document();
    if (documentPosition <= 0)
        return 0;
    // Last block whose start, in document characters, is at or before the position.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + qsizetype(mid) <= documentPosition)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const qsizetype offset = documentPosition - (block.position() + qsizetype(low));
    // A position inside the line break, or past the end, stands at the line's end.
    return block.position() + int(qMin<qsizetype>(offset, block.length() - 1));
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

void EditorBuffer::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
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
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() != Qt::NoModifier
        && !(event->modifiers() & Qt::ControlModifier)) {
        // Shift+Enter would insert a line separator that is no line break of
        // the document: every Enter inserts CRLF.
        QKeyEvent plain(event->type(), key, Qt::NoModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (!typed.isEmpty() && cp1251::escapeUnencodable(typed) != typed) {
        insertPlainText(incoming(typed));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditorBuffer::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    const QString safe = cp1251::escapeUnencodable(commit);
    if (!commit.isEmpty() && !fitsInSelection(linebreaks::toEditorText(safe))) {
        event->accept();
        return;
    }
    if (safe == commit) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent copy(event->preeditString(), event->attributes());
    copy.setCommitString(safe, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&copy);
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
    insertPlainText(insert);
    ensureCursorVisible();
}

QMimeData* EditorBuffer::createMimeDataFromSelection() const
{
    // The raw selection: the widget's own export turns no-break spaces into spaces.
    auto* data = new QMimeData;
    data->setText(linebreaks::toEditorText(getSelText()));
    return data;
}
