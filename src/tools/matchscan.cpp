#include "tools/matchscan.h"

#include <QTextBlock>
#include <QTextDocument>

namespace matchscan {

qsizetype leftmostIn(QStringView line, QStringView search)
{
    if (search.isEmpty())
        return -1;
    return line.indexOf(search, 0, Qt::CaseSensitive);
}

std::optional<Match> scan(const QTextDocument& document, const QString& search)
{
    if (search.isEmpty())
        return std::nullopt;
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        // A line shorter than the search text cannot hold it: skip the copy.
        if (block.length() - 1 < search.size())
            continue;
        const qsizetype column = leftmostIn(block.text(), search);
        if (column >= 0) {
            // Widget positions count one per break; the document counts two.
            const qsizetype lineOffset = qsizetype(block.position()) + block.blockNumber();
            return Match { lineOffset + column, search.size() };
        }
    }
    return std::nullopt;
}

} // namespace matchscan
