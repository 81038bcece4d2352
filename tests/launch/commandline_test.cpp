#include "launch/commandline.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* line;
    QStringList words;
};
void PrintTo(const LineCase& c, std::ostream* out) { *out << '"' << c.line << '"'; }

class SplitCommandLine : public testing::TestWithParam<LineCase> { };

} // namespace

TEST_P(SplitCommandLine, SplitsIntoWords)
{
    EXPECT_EQ(splitCommandLine(QString::fromUtf8(GetParam().line)), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLine,
    testing::Values(
        LineCase { "", {} },
        LineCase { "   ", {} },
        LineCase { "prog", { "prog" } },
        // The Netscape line: two blanks in a row make no empty word.
        LineCase { "/usr/bin/nav -browser  /tmp/a.htm", { "/usr/bin/nav", "-browser", "/tmp/a.htm" } },
        // An empty program text: the file name alone.
        LineCase { " /tmp/a.htm", { "/tmp/a.htm" } },
        LineCase { "\"/opt/my browser/run\" -x", { "/opt/my browser/run", "-x" } },
        LineCase { "a\"b c\"d e", { "ab cd", "e" } },
        LineCase { "prog \"\" x", { "prog", "", "x" } },
        LineCase { "prog \"%1\"", { "prog", "%1" } },
        LineCase { "prog\t-a\t\tb", { "prog", "-a", "b" } },
        LineCase { "prog \"unclosed quote", { "prog", "unclosed quote" } },
        // Shell syntax is plain text.
        LineCase { "prog a;rm -rf x.htm", { "prog", "a;rm", "-rf", "x.htm" } },
        LineCase { "prog $(id).htm `id` *.htm|cat", { "prog", "$(id).htm", "`id`", "*.htm|cat" } },
        LineCase { "prog c:\\untitled.htm", { "prog", "c:\\untitled.htm" } },
        LineCase { "prog Дом.htm", { "prog", "Дом.htm" } }),
    [](const testing::TestParamInfo<LineCase>& info) { return "line" + std::to_string(info.index); });
