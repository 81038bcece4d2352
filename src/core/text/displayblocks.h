#pragma once

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextFormat>

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

} // namespace displayblocks
