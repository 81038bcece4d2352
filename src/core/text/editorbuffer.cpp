#include "core/text/editorbuffer.h"
#include "core/text/editorbufferinternals.h"

#include "core/encoding/cp1251.h"
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

#include <algorithm>

using displayblocks::continuesLine;
using displayblocks::kBound;
using displayblocks::kPiece;

using namespace editorbufferinternals;

namespace {

// The editing area's own font until start-up puts the settings' font on it.
QFont builtInFont()
{
    QFont font(QStringLiteral("Courier New"), 11);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

// The widget's text with a '\n' after every piece of a long line;
// `pieces` receives the numbers of the blocks that continue a line.
QString cutLongLines(const QString& text, std::vector<int>& pieces)
{
    QString out;
    out.reserve(text.size() + text.size() / kPiece + 1);
    int blockNumber = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype next = text.indexOf(u'\n', from);
        const qsizetype end = next < 0 ? text.size() : next;
        // A line at the bound stays whole; a longer one is cut in pieces.
        for (const bool cut = end - from > kBound; cut && end - from > kPiece;) {
            const int piece = displayblocks::pieceAt(text, from);
            out.append(QStringView(text).mid(from, piece)).append(u'\n');
            pieces.push_back(++blockNumber);
            from += piece;
        }
        out.append(QStringView(text).mid(from, end - from));
        if (next < 0)
            return out;
        out.append(u'\n');
        ++blockNumber;
        from = next + 1;
    }
}

} // namespace

EditorBuffer::EditorBuffer(QWidget* parent)
    : QPlainTextEdit(parent)
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
        m_lineStartsValid = false;
        noteChange(position, removed, added);
    });
    // The history below keeps every step; the toolkit's would keep the
    // removed text of every edit in the document without bound.
    document()->setUndoRedoEnabled(false);
}

QString EditorBuffer::admitted(const QString& text) const
{
    return m_encoding.isUtf8() ? text : cp1251::escapeUnencodable(text);
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
    if (!m_hasJoins && to - from > kLargeRead) {
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
        if (block.position() > from && !(m_hasJoins && continuesLine(block)))
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
    insertEditorText(cursor, m_incoming);
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
    if (!m_hasJoins)
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
        if (block != doc->begin() && !(m_hasJoins && continuesLine(block)))
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
    setPlainText(cut ? cutLongLines(editorText, pieces) : editorText);
    if (!pieces.empty()) {
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        for (int number : pieces) {
            const QTextBlock block = document()->findBlockByNumber(number);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(displayblocks::continuationFormat(block.blockFormat()));
        }
        cursor.endEditBlock();
    }
    m_quiet = quiet;
    m_hasJoins = !pieces.empty();
    m_lineStartsValid = false;
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
    setWidgetText(editorText, hasLongLine(editorText));
    recordStep(std::move(step));
}

qsizetype EditorBuffer::textLength() const
{
    // Every block but the last ends in a break that counts as two, or in a
    // join that counts as nothing.
    return document()->characterCount() - 1 + extraBefore(document()->blockCount() - 1);
}

int EditorBuffer::lineCount() const
{
    const QTextDocument* doc = document();
    if (!m_hasJoins) {
        int count = doc->blockCount();
        if (doc->lastBlock().length() <= 1) // empty last line after a final break, or empty text
            --count;
        return count;
    }
    const std::vector<int>& starts = lineStarts();
    const bool lastEmpty = doc->findBlockByNumber(starts.back()).position() == doc->characterCount() - 1;
    return int(starts.size()) - (lastEmpty ? 1 : 0);
}

const std::vector<int>& EditorBuffer::lineStarts() const
{
    if (!m_lineStartsValid) {
        m_lineStarts.clear();
        // Formats are shared: blocks of one format index have one status,
        // so the format itself is read only when the index changes.
        int number = 0;
        int formatIndex = -1;
        bool continues = false;
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next(), ++number) {
            if (block.blockFormatIndex() != formatIndex) {
                formatIndex = block.blockFormatIndex();
                continues = continuesLine(block);
            }
            if (number == 0 || !continues)
                m_lineStarts.push_back(number);
        }
        m_lineStartsValid = true;
    }
    return m_lineStarts;
}

qsizetype EditorBuffer::extraBefore(int blockNumber) const
{
    if (!m_hasJoins)
        return blockNumber;
    const std::vector<int>& starts = lineStarts();
    const qsizetype breaks = (std::upper_bound(starts.begin(), starts.end(), blockNumber) - starts.begin()) - 1;
    const qsizetype joins = blockNumber - breaks;
    return breaks - joins;
}

std::pair<QTextBlock, QTextBlock> EditorBuffer::lineBlocks(int index) const
{
    const QTextDocument* doc = document();
    if (!m_hasJoins) {
        const QTextBlock block = doc->findBlockByNumber(index);
        return { block, block };
    }
    const std::vector<int>& starts = lineStarts();
    if (index < 0 || qsizetype(index) >= qsizetype(starts.size()))
        return {};
    const int last = qsizetype(index) + 1 < qsizetype(starts.size()) ? starts[index + 1] - 1 : doc->blockCount() - 1;
    return { doc->findBlockByNumber(starts[index]), doc->findBlockByNumber(last) };
}

QString EditorBuffer::line(int index) const
{
    const auto [first, last] = lineBlocks(index);
    if (!first.isValid() || first == last)
        return first.text();
    return rawText(first.position(), last.position() + last.length() - 1);
}

void EditorBuffer::setLine(int index, const QString& text)
{
    const auto [first, last] = lineBlocks(index);
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
    auto [block, last] = lineBlocks(index);
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

void EditorBuffer::insertEditorText(QTextCursor& cursor, const QString& editorText)
{
    cursor.beginEditBlock();
    removeSelection(cursor);
    if (!continuesLine(cursor.block()) && !hasLongLine(editorText)) {
        cursor.insertText(editorText);
        splitIfTooLong(cursor.block());
        cursor.endEditBlock();
        return;
    }
    // The cursor's own insertText would give every new block the format of
    // the block it stands in, which makes a line break of a continuation
    // block a join.
    const int firstBlock = cursor.blockNumber();
    const QTextBlockFormat lineStart = displayblocks::lineStartFormat(cursor.blockFormat());
    const QTextBlockFormat continuation = displayblocks::continuationFormat(lineStart);
    qsizetype from = 0;
    for (;;) {
        const qsizetype next = editorText.indexOf(u'\n', from);
        const qsizetype end = next < 0 ? editorText.size() : next;
        for (const bool cut = end - from > kBound; cut && end - from > kPiece;) {
            const int piece = displayblocks::pieceAt(editorText, from);
            cursor.insertText(editorText.mid(from, piece));
            cursor.insertBlock(continuation);
            m_hasJoins = true;
            from += piece;
        }
        cursor.insertText(editorText.mid(from, end - from));
        if (next < 0)
            break;
        cursor.insertBlock(lineStart);
        from = next + 1;
    }
    splitIfTooLong(document()->findBlockByNumber(firstBlock));
    splitIfTooLong(cursor.block());
    cursor.endEditBlock();
}

void EditorBuffer::removeSelection(QTextCursor& cursor)
{
    if (!cursor.hasSelection())
        return;
    auto continues = [](const QTextBlock& block) { return block.blockNumber() > 0 && continuesLine(block); };
    const bool firstContinues = continues(document()->findBlock(cursor.selectionStart()));
    cursor.removeSelectedText();
    if (continues(cursor.block()) != firstContinues)
        cursor.setBlockFormat(firstContinues ? displayblocks::continuationFormat(cursor.blockFormat())
                                             : displayblocks::lineStartFormat(cursor.blockFormat()));
}

void EditorBuffer::splitIfTooLong(const QTextBlock& block)
{
    if (!block.isValid() || block.length() - 1 <= 2 * kBound)
        return;
    const QTextBlockFormat piece = displayblocks::continuationFormat(block.blockFormat());
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    const QString text = block.text();
    int position = block.position();
    for (int from = 0; text.size() - from > kPiece;) {
        const int length = displayblocks::pieceAt(text, from);
        cursor.setPosition(position + length);
        cursor.insertBlock(piece);
        position = cursor.position();
        from += length;
    }
    cursor.endEditBlock();
    m_hasJoins = true;
}

qsizetype EditorBuffer::toDocumentPosition(int widgetPosition) const
{
    const QTextBlock block = document()->findBlock(widgetPosition);
    return widgetPosition + extraBefore(block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
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
        if (doc->findBlockByNumber(mid).position() + extraBefore(mid) <= documentPosition)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const qsizetype offset = documentPosition - (block.position() + extraBefore(low));
    // A position inside the line break, or past the end, stands at the line's end.
    return block.position() + int(qMin<qsizetype>(offset, block.length() - 1));
}
