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

namespace {

struct FillCase {
    const char* command;
    const char* document;
    QStringList words; // program first; empty when nothing may start
};
void PrintTo(const FillCase& c, std::ostream* out) { *out << '"' << c.command << "\" on \"" << c.document << '"'; }

class CommandArguments : public testing::TestWithParam<FillCase> { };

} // namespace

TEST_P(CommandArguments, KeepTheDocumentOneArgumentAndFillThePlaceholders)
{
    const FillCase& c = GetParam();
    EXPECT_EQ(commandArguments(QString::fromUtf8(c.command), QString::fromUtf8(c.document)), c.words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandArguments,
    testing::Values(
        // The document is never split, whatever it holds.
        FillCase { "/opt/nav -browser ", "/tmp/my page.htm", { "/opt/nav", "-browser", "/tmp/my page.htm" } },
        FillCase { "nav", "x --user-data-dir=EVIL --new-window y.htm",
                   { "nav", "x --user-data-dir=EVIL --new-window y.htm" } },
        FillCase { "nav", "q\"uo te\".htm", { "nav", "q\"uo te\".htm" } },
        FillCase { "\"/opt/my browser/run\" -a \"\"", "a.htm", { "/opt/my browser/run", "-a", "", "a.htm" } },
        FillCase { "\"/opt/unclosed", "a b.htm", { "/opt/unclosed", "a b.htm" } },
        // A filled placeholder takes the document; nothing is appended then.
        FillCase { "loom %f", "a b.htm", { "loom", "a b.htm" } },
        FillCase { "loom \"%1\"", "a b.htm", { "loom", "a b.htm" } },
        FillCase { "loom %1 -x", "a.htm", { "loom", "a.htm", "-x" } },
        FillCase { "webby --new-window %U", "http://h/a b", { "webby", "--new-window", "http://h/a b" } },
        FillCase { "v %F", "a.htm", { "v", "a.htm" } },
        FillCase { "v %u", "a.htm", { "v", "a.htm" } },
        FillCase { "v --file=%f", "a b.htm", { "v", "--file=a b.htm" } },
        // %% is a %, the other codes go, and so does a word made only of them.
        FillCase { "v 100%% %d %D %n %N %v %m %i %c %k %L %2", "a.htm", { "v", "100%", "a.htm" } },
        FillCase { "v %%f x%2y 50%", "a.htm", { "v", "%f", "xy", "50%", "a.htm" } },
        FillCase { "v %1%2", "a.htm", { "v", "a.htm" } },
        // The document's own "%" characters are never read as codes.
        FillCase { "v %f", "50%f%%.htm", { "v", "50%f%%.htm" } },
        // No program, or the document where the program belongs: nothing starts.
        FillCase { "", "a.htm", {} },
        FillCase { " \t ", "a.htm", {} },
        FillCase { "\"\" -x", "a.htm", {} },
        FillCase { "%f", "a.htm", {} },
        FillCase { "\"%1\" -x", "a.htm", {} },
        FillCase { "%k %u", "http://h/", {} }),
    [](const testing::TestParamInfo<FillCase>& info) { return "case" + std::to_string(info.index); });

TEST(FillEntryCodes, DescribeTheEntryAndLeaveTheDocumentCodes)
{
    const DesktopEntryFacts entry { QStringLiteral("web by"), QStringLiteral("Web \"100%\""),
                                    QStringLiteral("/usr/share/applications/web by.desktop") };
    const QString filled = fillEntryCodes(QStringLiteral("webby %i --title=%c %k %%c %U"), entry);
    EXPECT_EQ(commandArguments(filled, QStringLiteral("http://h/")),
              (QStringList { "webby", "--icon", "web by", "--title=Web 100%", "/usr/share/applications/web by.desktop",
                             "%c", "http://h/" }));
    // Without an icon %i gives no argument at all.
    EXPECT_EQ(commandArguments(fillEntryCodes(QStringLiteral("webby %i %u"), {}), QStringLiteral("http://h/")),
              (QStringList { "webby", "http://h/" }));
}
