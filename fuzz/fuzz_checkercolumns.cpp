// The checker's columns against a small model: lines end at CR LF, CR or
// LF; in a line the checker counts one column per character, none for a
// control character below 32 other than tab and escape, none for the second
// half of a surrogate pair, none for a byte-order mark that starts the text.
// Column c names the first counted character with c - 1 counted ones before
// it, or the line's end.
#include "fuzzcheck.h"
#include "tools/checkercolumns.h"

#include <vector>

namespace {

struct ModelLine {
    qsizetype start;
    std::vector<bool> counted; // one per UTF-16 unit of the line
};

std::vector<ModelLine> modelLines(const QString& text)
{
    std::vector<ModelLine> lines { { 0, {} } };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            lines.push_back({ i + 1, {} });
            continue;
        }
        bool counted = true;
        if (c < 32 && c != u'\t' && c != 0x1B)
            counted = false;
        if (i == 0 && c == 0xFEFF)
            counted = false;
        if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text.at(i - 1).unicode()))
            counted = false;
        lines.back().counted.push_back(counted);
    }
    return lines;
}

qsizetype modelOffset(const ModelLine& line, int column)
{
    const qsizetype length = qsizetype(line.counted.size());
    qsizetype before = 0;
    for (qsizetype at = 0; at < length; ++at) {
        if (!line.counted[std::size_t(at)])
            continue;
        if (before == column - 1)
            return at;
        ++before;
    }
    return length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::utf16(data, size);
    const CheckerColumns columns(text);
    const std::vector<ModelLine> lines = modelLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = int(i) + 1;
        const int last = int(lines[i].counted.size()) + 2;
        for (int column = 1; column <= last; ++column)
            FUZZ_CHECK(columns.offset(line, column) == modelOffset(lines[i], column));
    }
    // Places outside the text stay inside it.
    FUZZ_CHECK(columns.offset(0, 5) == 0);
    FUZZ_CHECK(columns.offset(int(lines.size()) + 1, 1) == 0);
    return 0;
}
