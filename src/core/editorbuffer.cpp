#include "core/editorbuffer.h"
#include "core/editorbufferinternals.h"

#include "core/apperror.h"
#include "core/editorfont.h"
#include "core/cp1251.h"
#include "core/displayblocks.h"
#include "core/linebreaks.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFile>
#include <QGuiApplication>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

using displayblocks::continuesLine;
using displayblocks::kBound;
using displayblocks::kPiece;

using namespace editorbufferinternals;

namespace {

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
    setFont(builtInEditorFont());
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

template <typename Insert>
void EditorBuffer::replaceSelectionAsOneStep(QTextCursor& cursor, Insert insert)
{
    cursor.beginEditBlock();
    removeSelection(cursor);
    insert();
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void EditorBuffer::removeSelectionAsOneStep(QTextCursor& cursor)
{
    replaceSelectionAsOneStep(cursor, [] {});
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

QByteArray EditorBuffer::loadFromFile(const QString& fileName, std::optional<Charset> charset)
{
    const QString cannotOpen = QStringLiteral("Cannot open file %1").arg(fileName);
    QFile file(fileName);
    // Only regular files: a folder cannot be read, and a pipe or a device
    // could block or never end.
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw AppError(cannotOpen);
    // A character takes up to three bytes of UTF-8 (four for two UTF-16
    // units), so only a file beyond that, and its mark, is too long unread.
    const qint64 size = file.size();
    if (size > 3 * m_capacity + 3)
        throw AppError(capacityMessage());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(cannotOpen);
    file.close();

    QString utf8Text;
    DocumentEncoding encoding;
    if (!charset) {
        encoding = textencoding::detect(bytes, &utf8Text);
    } else if (*charset == Charset::Utf8) {
        std::optional<QString> text = textencoding::decodeUtf8(bytes);
        if (!text)
            throw AppError(notUtf8Message(fileName));
        encoding = { Charset::Utf8, bytes.startsWith(textencoding::utf8Mark()) };
        utf8Text = std::move(*text);
    }
    // In Windows-1251 every byte is a character, so the size alone tells.
    if (!encoding.isUtf8() && size > m_capacity)
        throw AppError(capacityMessage());
    linebreaks::TextShape shape;
    QString editorText;
    qsizetype decodedLength = bytes.size();
    if (encoding.isUtf8()) {
        decodedLength = utf8Text.size() + (encoding.byteOrderMark ? 3 : 0);
        linebreaks::toEditorTextInPlace(utf8Text, &shape);
        editorText = std::move(utf8Text);
    } else {
        editorText = linebreaks::decodeToEditorText(bytes, &shape);
    }
    // Every break counts as two once it is CRLF.
    const qsizetype length = editorText.size() + shape.breaks;
    if (length > m_capacity)
        throw AppError(capacityMessage());
    setWidgetText(editorText, shape.longestLine > kBound);
    m_encoding = encoding;
    clearHistory();
    // Where every break already was CRLF the file holds the text's bytes as
    // they are; only lone CRs or LFs make reading them back worth its pass.
    return length + (encoding.byteOrderMark ? 3 : 0) == decodedLength ? bytes : toBytes();
}

QByteArray EditorBuffer::toBytes() const
{
    QByteArray out;
    const QTextDocument* doc = document();
    if (m_encoding.isUtf8()) {
        // Encoded block by block into one buffer: the whole text is never
        // held twice as UTF-16.
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        // Room for two bytes a character (Cyrillic); it doubles if more is needed.
        out.reserve(2 * textLength() + 3);
        if (m_encoding.byteOrderMark)
            out.append(textencoding::utf8Mark());
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            if (block != doc->begin() && !(m_hasJoins && continuesLine(block)))
                out.append("\r\n", 2);
            const QString text = block.text();
            const qsizetype used = out.size();
            const qsizetype room = used + encoder.requiredSpace(text.size());
            if (room > out.capacity())
                out.reserve(qMax(room, 2 * out.capacity()));
            out.resize(room);
            char* end = encoder.appendToBuffer(out.data() + used, text);
            out.resize(end - out.constData());
        }
        return out;
    }
    out.reserve(textLength());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin() && !(m_hasJoins && continuesLine(block)))
            out.append("\r\n", 2);
        out.append(cp1251::encode(block.text()));
    }
    return out;
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
                insertEditorText(cursor, incoming(typed));
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
    splitIfTooLong(textCursor().block());
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
    if (m_hasJoins && handleKeyAtJoin(event))
        return;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() != Qt::NoModifier
        && !(event->modifiers() & Qt::ControlModifier)) {
        // Shift+Enter would insert a line separator that is no line break of
        // the document: every Enter inserts CRLF.
        QKeyEvent plain(event->type(), key, Qt::NoModifier, QStringLiteral("\r"));
        if (m_hasJoins && handleKeyAtJoin(&plain))
            return event->accept();
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (!typed.isEmpty() && admitted(typed) != typed) {
        QTextCursor cursor = textCursor();
        insertEditorText(cursor, incoming(typed));
        setTextCursor(cursor);
        event->accept();
        return;
    }
    // The end of a piece and the start of the next are one place in the
    // document: an arrow that only crossed the join goes one step further.
    const bool sideways = m_hasJoins && (key == Qt::Key_Left || key == Qt::Key_Right)
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
    if (m_hasJoins && (!commit.isEmpty() || event->replacementLength() > 0)) {
        // The widget would remove the selection and the replaced text with
        // its block merge, and give a committed line break the status of the
        // block it is typed in: the text goes in here, the composition to it.
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        removeSelection(cursor);
        const int at = cursor.position() + event->replacementStart();
        cursor.setPosition(at);
        cursor.setPosition(at + event->replacementLength(), QTextCursor::KeepAnchor);
        insertEditorText(cursor, linebreaks::toEditorText(safe));
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
    insertEditorText(cursor, insert);
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
    removeSelection(moved);
    insertEditorText(target, incoming(event->mimeData()->text()));
    moved.endEditBlock();
    setTextCursor(target);
    ensureCursorVisible();
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // Ends the widget's own drop indication.
    QDragLeaveEvent leave;
    QPlainTextEdit::dragLeaveEvent(&leave);
}
