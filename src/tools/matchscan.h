#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

class QTextDocument;

/// The find-and-replace match scan. Every scan covers the whole text and
/// ends on the first (leftmost) occurrence of the search text in the LAST
/// line that holds it; the caret and the selection before the scan play no
/// part. Lines are the text's own CRLF-separated lines, an occurrence never
/// spans a line break, the comparison is exact (case-sensitive) and an empty
/// search text matches nothing.
namespace matchscan {

/// A match in document coordinates: every line break counts as two.
struct Match {
    qsizetype offset = 0;
    qsizetype length = 0;
    bool operator==(const Match& other) const { return offset == other.offset && length == other.length; }
};

/// 0-based column of the leftmost occurrence of `search` in `line`, or -1.
qsizetype leftmostIn(QStringView line, QStringView search);

/// The scan over an editing widget's document, one block per line, without
/// building the whole text: it walks the blocks from the last one up and
/// stops at the first that holds the text, which is the same line the
/// forward scan ends on. Blocks that continue a line are read as part of
/// it; `toDocument` turns a widget position into a document position, by
/// default one break of two characters per block.
std::optional<Match> scan(const QTextDocument& document, const QString& search,
                          const std::function<qsizetype(int)>& toDocument = {});

} // namespace matchscan
