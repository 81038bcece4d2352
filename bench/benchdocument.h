#pragma once

#include <QByteArray>
#include <QString>

/// Realistic HTML source for the benchmark: Windows-1251 bytes with CRLF
/// breaks, Russian and English text in paragraphs, tables and lists, some
/// runs of spaces, and one line in the middle holding `marker()`.
namespace benchdocument {

/// A text that occurs exactly once, in the middle line of the document.
QString marker();

/// Nearly `bytes` bytes of HTML, never more, so a document of the editing
/// area's capacity still loads.
QByteArray make(qsizetype bytes);

/// The same page minified: every line break turned into two blanks, one
/// line of the same size.
QByteArray makeOneLine(qsizetype bytes);

/// The ordinary page with a few stretches minified into long lines: two
/// near the top, two near the bottom, each of `longLine` bytes or a little
/// more.
QByteArray makeMixed(qsizetype bytes, qsizetype longLine);

/// A page's Windows-1251 bytes as UTF-8: the same characters.
QByteArray asUtf8(const QByteArray& windows1251);

/// The page as UTF-8 of nearly `bytes` bytes (fewer characters than make()
/// gives for the same size: the Cyrillic letters take two bytes each).
QByteArray makeUtf8(qsizetype bytes);

/// Where the long lines of makeMixed start, as fractions of the size.
inline constexpr double kMixedLongLines[] = { 1.0 / 32, 3.0 / 32, 28.0 / 32, 30.0 / 32 };

} // namespace benchdocument
