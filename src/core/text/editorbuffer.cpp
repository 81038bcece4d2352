#include "core/text/editorbuffer.h"
#include "core/text/editorbufferinternals.h"

#include "core/encoding/linebreaks.h"
#include "core/platform/apperror.h"
#include "core/text/displayblocks.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

using namespace editorbufferinternals;

namespace {

// The editing area's own font until start-up puts the settings' font on it.
QFont builtInFont()
{
    QFont font(QStringLiteral("Courier New"), 11);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace

EditorBuffer::EditorBuffer(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_blocks(*document())
{
    setObjectName(QStringLiteral("Memo1"));
    // Start-up replaces it with the settings' font unless it stops before.
    setFont(builtInFont());
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QPlainTextEdit::textChanged, this, &EditorBuffer::changed);
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        m_blocks.contentsChanged();
        noteChange(position, removed, added);
    });
    // The history below keeps every step; the toolkit's would keep the
    // removed text of every edit in the document without bound.
    document()->setUndoRedoEnabled(false);
}

QString EditorBuffer::admitted(const QString& text) const
{
    return textencoding::admitted(text, m_encoding);
}

QString EditorBuffer::incoming(const QString& text) const
{
    // Typed, pasted, dropped or composed by a command.
    return linebreaks::toEditorText(admitted(text));
}

int EditorBuffer::wholeCharacter(int widgetPosition, bool forward) const
{
    const QTextBlock block = document()->findBlock(widgetPosition);
    const int offset = widgetPosition - block.position();
    const QString text = block.text();
    if (offset <= 0 || offset >= text.size() || !text.at(offset).isLowSurrogate() || !text.at(offset - 1).isHighSurrogate())
        return widgetPosition;
    return widgetPosition + (forward ? 1 : -1);
}

EditorBuffer::~EditorBuffer() = default;

QString EditorBuffer::getSelText() const
{
    const QTextCursor cursor = textCursor();
    return rawText(cursor.selectionStart(), cursor.selectionEnd());
}

QString EditorBuffer::editorText(int from, int to) const
{
    return rawText(from, to, u"\n");
}

QString EditorBuffer::rawText(int from, int to, QStringView lineBreak) const
{
    // Read block by block and join with CRLF: the cursor's own selectedText()
    // marks breaks with U+2029, and replacing those afterwards costs far more
    // than the reading on a long text.
    QString out;
    if (from >= to)
        return out;
    const QTextDocument* doc = document();
    if (!m_blocks.hasJoins() && to - from > kLargeRead) {
        // Megabytes in one copy of the document's characters: block by block
        // each line would be a string of its own. Every block separator
        // there is a line break, unless the text holds the separator
        // character itself, which the count finds.
        const int blocks = doc->findBlock(to).blockNumber() - doc->findBlock(from).blockNumber();
        out = doc->toRawText().mid(from, to - from);
        if (out.count(QChar::ParagraphSeparator) == blocks)
            return lineBreak == u"\n" ? out.replace(QChar::ParagraphSeparator, u'\n')
                                       : out.replace(QChar::ParagraphSeparator, lineBreak.toString());
        out.clear();
    }
    QTextBlock block = doc->findBlock(from);
    out.reserve(qsizetype(to - from) + (doc->findBlock(to).blockNumber() - block.blockNumber()));
    while (block.isValid() && block.position() <= to) {
        const int start = qMax(from, block.position()) - block.position();
        const int end = qMin(to, block.position() + block.length() - 1) - block.position();
        if (block.position() > from && !m_blocks.joinsPrevious(block))
            out.append(lineBreak);
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
    QTextCursor cursor = textCursor();
    EditStep step;
    step.before = selection();
    step.position = toDocumentPosition(cursor.selectionStart());
    step.removedLength = toDocumentPosition(cursor.selectionEnd()) - step.position;
    step.removed = textToReplace(step.position, step.removedLength, cursor.selectionStart(), cursor.selectionEnd());
    step.inserted = m_incoming;
    step.insertedLength = documentLength(m_incoming);
    m_quiet = true;
    m_blocks.insert(cursor, m_incoming);
    m_quiet = false;
    setTextCursor(cursor);
    m_incoming.clear();
    ensureCursorVisible();
    step.after = selection();
    recordStep(std::move(step));
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
    cursor.setPosition(wholeCharacter(toWidgetPosition(position), false));
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
    cursor.setPosition(wholeCharacter(toWidgetPosition(start), false));
    cursor.setPosition(wholeCharacter(toWidgetPosition(start + qMax<qsizetype>(0, length)), true), QTextCursor::KeepAnchor);
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
    const CaptureScope step(*this, false);
    if (!m_blocks.hasJoins())
        return cut();
    if (!textCursor().hasSelection())
        return;
    copy();
    QTextCursor cursor = textCursor();
    removeSelectionAsOneStep(cursor);
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
    setWidgetText(QString(), false);
    clearHistory();
}

QString EditorBuffer::text() const
{
    QString out;
    out.reserve(textLength());
    const QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin() && !m_blocks.joinsPrevious(block))
            out.append(linebreaks::crlf());
        out.append(block.text());
    }
    return out;
}

void EditorBuffer::setWidgetText(const QString& editorText, bool cut)
{
    m_incoming = editorText;
    m_replacing = true;
    std::vector<int> pieces;
    const bool quiet = m_quiet;
    m_quiet = true;
    setPlainText(cut ? displayblocks::cutLongLines(editorText, pieces) : editorText);
    m_blocks.markPieces(pieces);
    m_quiet = quiet;
    m_replacing = false;
    emit textReplaced();
    m_incoming.clear();
}

void EditorBuffer::setText(const QString& text)
{
    const QString editorText = incoming(text);
    if (!fitsAsWholeText(editorText))
        throw AppError(capacityMessage());
    EditStep step;
    step.before = selection();
    step.removedLength = textLength();
    step.removed = textToReplace(0, step.removedLength, 0, document()->characterCount() - 1);
    step.inserted = editorText;
    step.insertedLength = documentLength(editorText);
    // Most texts have no long line; for them this is the one extra pass.
    setWidgetText(editorText, displayblocks::hasLongLine(editorText));
    recordStep(std::move(step));
}

qsizetype EditorBuffer::textLength() const
{
    return m_blocks.documentLength();
}

int EditorBuffer::lineCount() const
{
    return m_blocks.lineCount();
}

QString EditorBuffer::line(int index) const
{
    const auto [first, last] = m_blocks.lineBlocks(index);
    if (!first.isValid() || first == last)
        return first.text();
    return rawText(first.position(), last.position() + last.length() - 1);
}

void EditorBuffer::setLine(int index, const QString& text)
{
    const auto [first, last] = m_blocks.lineBlocks(index);
    if (!first.isValid())
        return;
    QTextCursor cursor(document());
    cursor.setPosition(first.position());
    cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    setSelText(text);
}

void EditorBuffer::goToLine(int index, qsizetype offset)
{
    auto [block, last] = m_blocks.lineBlocks(index);
    if (!block.isValid() || index < 0) {
        block = last = document()->lastBlock();
        offset = block.length();
    }
    // A long line's pieces follow each other without a break between them.
    while (block != last && offset >= block.length() - 1) {
        offset -= block.length() - 1;
        block = block.next();
    }
    QTextCursor cursor(document());
    cursor.setPosition(block.position() + int(qBound(qsizetype(0), offset, qsizetype(block.length() - 1))));
    setTextCursor(cursor);
    ensureCursorVisible();
}

qsizetype EditorBuffer::toDocumentPosition(int widgetPosition) const
{
    return m_blocks.toDocumentPosition(widgetPosition);
}

int EditorBuffer::toWidgetPosition(qsizetype documentPosition) const
{
    return m_blocks.toWidgetPosition(documentPosition);
}
