#include "tools/matchscan.h"

#include "core/text/displayblocks.h"

#include <QTextBlock>
#include <QTextDocument>

namespace matchscan {

qsizetype leftmostIn(QStringView line, QStringView search)
{
    if (search.isEmpty())
        return -1;
    return line.indexOf(search, 0, Qt::CaseSensitive);
}

std::optional<Match> scan(const QTextDocument& document, const QString& search,
                          const std::function<qsizetype(int)>& toDocument)
{
    if (search.isEmpty())
        return std::nullopt;
    for (QTextBlock last = document.lastBlock(); last.isValid();) {
        // One document line: `last` and the blocks it continues.
        QTextBlock first = last;
        qsizetype length = last.length() - 1;
        while (first.blockNumber() > 0 && displayblocks::continuesLine(first)) {
            first = first.previous();
            length += first.length() - 1;
        }
        const QTextBlock previous = first.previous();
        // A line shorter than the search text cannot hold it: skip the copy.
        if (length >= search.size()) {
            QString line = first.text();
            for (QTextBlock block = first; block != last;) {
                block = block.next();
                line.append(block.text());
            }
            const qsizetype column = leftmostIn(line, search);
            if (column >= 0) {
                // Widget positions count one per break; the document counts two.
                const qsizetype lineOffset = toDocument ? toDocument(first.position())
                                                        : qsizetype(first.position()) + first.blockNumber();
                return Match { lineOffset + column, search.size() };
            }
        }
        last = previous;
    }
    return std::nullopt;
}

} // namespace matchscan
