#include "tools/spaceremoval.h"

namespace spaceremoval {

bool hasRepeatedSpaces(QStringView line)
{
    return line.contains(QLatin1String("  "));
}

QString removeRepeatedSpaces(QStringView line)
{
    QString out;
    out.reserve(line.size());
    bool afterSpace = false;
    for (const QChar c : line) {
        const bool space = c == u' ';
        if (!(space && afterSpace))
            out.append(c);
        afterSpace = space;
    }
    return out;
}

} // namespace spaceremoval
