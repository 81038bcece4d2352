#include "tools/checkercolumns.h"

#include <algorithm>

namespace {

bool dropped(char16_t c)
{
    return c < 32 && c != u'\t' && c != 0x1B && c != u'\r' && c != u'\n';
}

} // namespace

CheckerColumns::CheckerColumns(const QString& text)
    : m_size(text.size())
{
    m_lineStarts.push_back(0);
    const char16_t* data = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < m_size; ++i) {
        const char16_t c = data[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 == m_size || data[i + 1] != u'\n'))) {
            m_lineEnds.push_back(c == u'\n' && i > 0 && data[i - 1] == u'\r' ? i - 1 : i);
            m_lineStarts.push_back(i + 1);
        } else if (dropped(c) || (i == 0 && c == 0xFEFF)) {
            m_uncounted.push_back(i);
        } else if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(data[i - 1])) {
            // The pair is one code point: its first half is counted.
            m_uncounted.push_back(i);
        }
    }
    m_lineEnds.push_back(m_size);
}

qsizetype CheckerColumns::uncountedIn(qsizetype from, qsizetype to) const
{
    return std::lower_bound(m_uncounted.begin(), m_uncounted.end(), to)
        - std::lower_bound(m_uncounted.begin(), m_uncounted.end(), from);
}

bool CheckerColumns::isUncounted(qsizetype at) const
{
    return std::binary_search(m_uncounted.begin(), m_uncounted.end(), at);
}

qsizetype CheckerColumns::offset(int line, int column) const
{
    if (line < 1 || qsizetype(line) > qsizetype(m_lineStarts.size()))
        return 0;
    const qsizetype start = m_lineStarts[line - 1];
    const qsizetype length = m_lineEnds[line - 1] - start;
    const qsizetype wanted = qMin<qsizetype>(qMax(column, 1) - 1, length);
    // The smallest offset with `wanted` counted units before it: each pass
    // adds the uncounted units the previous guess stepped over.
    qsizetype at = wanted;
    for (;;) {
        const qsizetype next = qMin(wanted + uncountedIn(start, start + at), length);
        if (next == at)
            break;
        at = next;
    }
    // Tidy's column names the next counted character.
    while (at < length && isUncounted(start + at))
        ++at;
    return at;
}
