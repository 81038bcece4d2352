#pragma once

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextFormat>

#include <utility>
#include <vector>

class QTextCursor;
class QTextDocument;

/// A document line far longer than a screen is shown as several widget
/// blocks: the widget lays out a whole block again on every change, which
/// takes seconds for a line of megabytes. The blocks after the first carry
/// a mark in their block format and are joined without a line break
/// wherever the text is read.
namespace displayblocks {

/// Lines longer than this are shown in pieces; a piece that grows past
/// twice as much is cut again.
constexpr int kBound = 4096;

/// The length of a piece: short enough that laying out and painting a
/// screenful of pieces stays far below a keystroke's budget.
constexpr int kPiece = 1024;

/// The length of the piece of `text` that starts at `from`: kPiece, or one
/// less where the cut would part the two halves of a character outside the BMP.
inline int pieceAt(QStringView text, qsizetype from)
{
    const qsizetype end = from + kPiece;
    return end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate() ? kPiece - 1 : kPiece;
}

/// The block-format property marking a block that continues the line of
/// the block before it.
constexpr int kContinuesLine = QTextFormat::UserProperty + 16;

inline bool continuesLine(const QTextBlock& block)
{
    return block.blockFormat().hasProperty(kContinuesLine);
}

inline QTextBlockFormat continuationFormat(QTextBlockFormat format)
{
    format.setProperty(kContinuesLine, true);
    return format;
}

inline QTextBlockFormat lineStartFormat(QTextBlockFormat format)
{
    format.clearProperty(kContinuesLine);
    return format;
}

/// Whether some stretch of `text` between breaks ('\n') is longer than the bound.
bool hasLongLine(QStringView text);

/// `text` with a '\n' after every piece of its long lines; `pieces`
/// receives the numbers of the blocks that continue a line.
QString cutLongLines(const QString& text, std::vector<int>& pieces);

} // namespace displayblocks

/// The blocks of one text document seen as the document's lines: which
/// blocks join, and where a widget position stands in document characters,
/// every line break counting as two (CRLF) and every join as nothing.
/// Edits that go through it keep every line longer than the bound in pieces.
class DisplayBlocks {
public:
    explicit DisplayBlocks(QTextDocument& document)
        : m_document(document)
    {
    }

    /// Whether some block continues a line; set when pieces are made and
    /// kept until the whole text is replaced (undo may bring pieces back).
    bool hasJoins() const { return m_hasJoins; }
    /// True when `block` continues the line of the block before it.
    bool joinsPrevious(const QTextBlock& block) const
    {
        return m_hasJoins && displayblocks::continuesLine(block);
    }
    /// The document's contents changed: line starts are looked up again.
    void contentsChanged() { m_lineStartsValid = false; }
    /// The document now holds a whole new text in which blocks `pieces`
    /// (from cutLongLines) continue a line: marks them so.
    void markPieces(const std::vector<int>& pieces);

    /// Inserts text in the widget's form ('\n' breaks) at the cursor: every
    /// '\n' starts a new line, whatever block the cursor stands in, and a
    /// long stretch without a break goes in as pieces of continuation blocks.
    void insert(QTextCursor& cursor, const QString& editorText);
    /// Removes the selection and keeps the status, line start or
    /// continuation, of the block it started in.
    void removeSelection(QTextCursor& cursor);
    /// Cuts a block longer than twice the bound into continuation pieces.
    void splitIfTooLong(const QTextBlock& block);

    /// Length of the text in document characters.
    qsizetype documentLength() const;
    /// Lines as the document counts them: blocks joined without a break are
    /// one line; an empty last line after a final break is none.
    int lineCount() const;
    /// The blocks of line `index`, first and last, or invalid blocks.
    std::pair<QTextBlock, QTextBlock> lineBlocks(int index) const;
    qsizetype toDocumentPosition(int widgetPosition) const;
    int toWidgetPosition(qsizetype documentPosition) const;

private:
    /// Block numbers of the blocks that start a document line.
    const std::vector<int>& lineStarts() const;
    /// Document minus widget characters before block `blockNumber`: each
    /// line break counts once more, each join between pieces once less.
    qsizetype extraBefore(int blockNumber) const;

    QTextDocument& m_document;
    bool m_hasJoins = false;
    mutable std::vector<int> m_lineStarts;
    mutable bool m_lineStartsValid = false;
};
