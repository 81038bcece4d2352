#pragma once

#include <QString>

#include <vector>

/// Turns the columns HTML Tidy reports into places in the editor's lines.
/// Tidy counts code points, and skips the control characters it drops (every
/// one below 32 but tab and escape) and a byte-order mark at the very start;
/// the editor counts UTF-16 units and every character. Lines end at CRLF, CR
/// or LF, as Tidy counts them.
class CheckerColumns {
public:
    /// Reads the text once.
    explicit CheckerColumns(const QString& text);

    /// Offset from its line's start (line 1-based) of the character Tidy
    /// calls `column` (1-based), at most the line's length.
    qsizetype offset(int line, int column) const;

private:
    /// Uncounted units in [from, to) of the text.
    qsizetype uncountedIn(qsizetype from, qsizetype to) const;
    bool isUncounted(qsizetype at) const;

    std::vector<qsizetype> m_lineStarts;
    /// Where each line's break starts, or the text's end.
    std::vector<qsizetype> m_lineEnds;
    /// Text offsets of the units Tidy does not count, ascending.
    std::vector<qsizetype> m_uncounted;
    qsizetype m_size = 0;
};
