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

} // namespace benchdocument
