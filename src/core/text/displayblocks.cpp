#include "core/text/displayblocks.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace displayblocks {

bool hasLongLine(QStringView text)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype next = text.indexOf(u'\n', from);
        if ((next < 0 ? text.size() : next) - from > kBound)
            return true;
        if (next < 0)
            return false;
        from = next + 1;
    }
}

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
            const int piece = pieceAt(text, from);
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

} // namespace displayblocks

using displayblocks::continuesLine;
using displayblocks::kBound;
using displayblocks::kPiece;

void DisplayBlocks::markPieces(const std::vector<int>& pieces)
{
    if (!pieces.empty()) {
        QTextCursor cursor(&m_document);
        cursor.beginEditBlock();
        for (int number : pieces) {
            const QTextBlock block = m_document.findBlockByNumber(number);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(displayblocks::continuationFormat(block.blockFormat()));
        }
        cursor.endEditBlock();
    }
    m_hasJoins = !pieces.empty();
    m_lineStartsValid = false;
}

void DisplayBlocks::insert(QTextCursor& cursor, const QString& editorText)
{
    cursor.beginEditBlock();
    removeSelection(cursor);
    if (!continuesLine(cursor.block()) && !displayblocks::hasLongLine(editorText)) {
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
    splitIfTooLong(m_document.findBlockByNumber(firstBlock));
    splitIfTooLong(cursor.block());
    cursor.endEditBlock();
}

void DisplayBlocks::removeSelection(QTextCursor& cursor)
{
    if (!cursor.hasSelection())
        return;
    auto continues = [](const QTextBlock& block) { return block.blockNumber() > 0 && continuesLine(block); };
    const bool firstContinues = continues(m_document.findBlock(cursor.selectionStart()));
    cursor.removeSelectedText();
    if (continues(cursor.block()) != firstContinues)
        cursor.setBlockFormat(firstContinues ? displayblocks::continuationFormat(cursor.blockFormat())
                                             : displayblocks::lineStartFormat(cursor.blockFormat()));
}

void DisplayBlocks::splitIfTooLong(const QTextBlock& block)
{
    if (!block.isValid() || block.length() - 1 <= 2 * kBound)
        return;
    const QTextBlockFormat piece = displayblocks::continuationFormat(block.blockFormat());
    QTextCursor cursor(&m_document);
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

qsizetype DisplayBlocks::documentLength() const
{
    // Every block but the last ends in a break that counts as two, or in a
    // join that counts as nothing.
    return m_document.characterCount() - 1 + extraBefore(m_document.blockCount() - 1);
}

int DisplayBlocks::lineCount() const
{
    if (!m_hasJoins) {
        int count = m_document.blockCount();
        if (m_document.lastBlock().length() <= 1) // empty last line after a final break, or empty text
            --count;
        return count;
    }
    const std::vector<int>& starts = lineStarts();
    const bool lastEmpty = m_document.findBlockByNumber(starts.back()).position() == m_document.characterCount() - 1;
    return int(starts.size()) - (lastEmpty ? 1 : 0);
}

const std::vector<int>& DisplayBlocks::lineStarts() const
{
    if (!m_lineStartsValid) {
        m_lineStarts.clear();
        // Formats are shared: blocks of one format index have one status,
        // so the format itself is read only when the index changes.
        int number = 0;
        int formatIndex = -1;
        bool continues = false;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next(), ++number) {
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

qsizetype DisplayBlocks::extraBefore(int blockNumber) const
{
    if (!m_hasJoins)
        return blockNumber;
    const std::vector<int>& starts = lineStarts();
    const qsizetype breaks = (std::upper_bound(starts.begin(), starts.end(), blockNumber) - starts.begin()) - 1;
    const qsizetype joins = blockNumber - breaks;
    return breaks - joins;
}

std::pair<QTextBlock, QTextBlock> DisplayBlocks::lineBlocks(int index) const
{
    if (!m_hasJoins) {
        const QTextBlock block = m_document.findBlockByNumber(index);
        return { block, block };
    }
    const std::vector<int>& starts = lineStarts();
    if (index < 0 || qsizetype(index) >= qsizetype(starts.size()))
        return {};
    const int last = qsizetype(index) + 1 < qsizetype(starts.size()) ? starts[index + 1] - 1 : m_document.blockCount() - 1;
    return { m_document.findBlockByNumber(starts[index]), m_document.findBlockByNumber(last) };
}

qsizetype DisplayBlocks::toDocumentPosition(int widgetPosition) const
{
    const QTextBlock block = m_document.findBlock(widgetPosition);
    return widgetPosition + extraBefore(block.isValid() ? block.blockNumber() : m_document.blockCount() - 1);
}

int DisplayBlocks::toWidgetPosition(qsizetype documentPosition) const
{
    if (documentPosition <= 0)
        return 0;
    // Last block whose start, in document characters, is at or before the position.
    int low = 0;
    int high = m_document.blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (m_document.findBlockByNumber(mid).position() + extraBefore(mid) <= documentPosition)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = m_document.findBlockByNumber(low);
    const qsizetype offset = documentPosition - (block.position() + extraBefore(low));
    // A position inside the line break, or past the end, stands at the line's end.
    return block.position() + int(qMin<qsizetype>(offset, block.length() - 1));
}
