#include "core/branding.h"
#include "launch/gotoweb.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

using gotoweb::CommandParts;

namespace {

struct TextCase {
    const char* in;
    const char* out;
};
void PrintTo(const TextCase& c, std::ostream* out) { *out << '"' << c.in << '"'; }

std::string caseName(size_t index) { return "case" + std::to_string(index); }

} // namespace

class Placeholders : public testing::TestWithParam<TextCase> { };

TEST_P(Placeholders, AreRemovedWithTheCharacterAfterThem)
{
    EXPECT_EQ(gotoweb::removePlaceholders(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Placeholders,
    testing::Values(TextCase { "", "" },
                    TextCase { "prog.exe", "prog.exe" },
                    TextCase { "prog.exe \"%1\"", "prog.exe \"\"" },   // the quotes stay
                    TextCase { "prog.exe %1", "prog.exe " },
                    TextCase { "prog.exe %1%2", "prog.exe " },          // two in a row both go
                    TextCase { "prog.exe %1 %L -x", "prog.exe   -x" },
                    TextCase { "prog.exe 100%", "prog.exe 100%" },      // a lone % at the end stays
                    TextCase { "%", "" },                               // ... unless it is also the first
                    TextCase { "%1", "" },
                    TextCase { "a%", "a%" },
                    TextCase { "%a%", "%" },
                    TextCase { "%%1", "1" },
                    TextCase { "x%%%", "x%" },
                    TextCase { "webby %U", "webby " }),
    [](const testing::TestParamInfo<TextCase>& info) { return caseName(info.index); });

TEST(ValueBuffer, HoldsTheTextUpToTheFirstZeroAndNothingLongerThanItFits)
{
    EXPECT_EQ(gotoweb::valueText(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(gotoweb::valueText(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")), QStringLiteral("abc"));
    EXPECT_EQ(gotoweb::valueText(QString(1024, u'x')), QString(1024, u'x'));
    EXPECT_EQ(gotoweb::valueText(QString(1025, u'x')), std::nullopt);
    EXPECT_EQ(gotoweb::valueText(QString(5000, u'x')), std::nullopt);
    // Bytes are counted, not characters.
    EXPECT_EQ(gotoweb::valueText(QString(512, u'ж')), QString(512, u'ж'));
    EXPECT_EQ(gotoweb::valueText(QString(513, u'ж')), std::nullopt);
    // What follows a zero does not count against the buffer.
    EXPECT_EQ(gotoweb::valueText(QStringLiteral("ok") + QChar(0) + QString(5000, u'x')), QStringLiteral("ok"));
}

TEST(FindBrowserCommand, TriesTheExtensionsInOrder)
{
    FakeRegistry registry;
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QString());

    registry.openCommands.insert(QStringLiteral(".SHTM"), QStringLiteral("shtm.exe \"%1\""));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("shtm.exe \"\""));
    registry.openCommands.insert(QStringLiteral(".SHTML"), QStringLiteral("shtml.exe %1"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("shtml.exe "));
    registry.openCommands.insert(QStringLiteral(".HTML"), QStringLiteral("html.exe"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("html.exe"));
    // An empty value counts as none.
    registry.openCommands.insert(QStringLiteral(".HTM"), QString());
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("html.exe"));
    // A value too long for the buffer is passed over, never cut.
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("C:\\") + QString(1100, u'x') + QStringLiteral(".exe"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("html.exe"));
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("htm.exe -a %1"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("htm.exe -a "));
}

namespace {

struct SplitCase {
    const char* command;
    const char* program;
    const char* parameters;
};
void PrintTo(const SplitCase& c, std::ostream* out) { *out << '"' << c.command << '"'; }

} // namespace

class RegisteredSplit : public testing::TestWithParam<SplitCase> { };

TEST_P(RegisteredSplit, CutsAtTheLastProgramEndingInCapitals)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(gotoweb::splitRegisteredCommand(QString::fromUtf8(c.command)),
              (CommandParts { QString::fromUtf8(c.program), QString::fromUtf8(c.parameters) }));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisteredSplit,
    testing::Values(
        SplitCase { "", "", "" },
        // The quoted path loses its quote; the blank before the option survives.
        SplitCase { "\"C:\\Program Files\\Nav\\nav.exe\" -nohome", "C:\\PROGRAM FILES\\NAV\\NAV.EXE", " -NOHOME" },
        SplitCase { "c:\\web\\browse.exe -new \"\"", "C:\\WEB\\BROWSE.EXE", "-NEW \"\"" },
        // Without parameters.
        SplitCase { "C:\\WEB\\BROWSE.EXE", "C:\\WEB\\BROWSE.EXE", "" },
        SplitCase { "c:\\web\\browse.exe   ", "C:\\WEB\\BROWSE.EXE", "" },
        SplitCase { "c:\\web\\browse.exe \"\"", "C:\\WEB\\BROWSE.EXE", "" },
        // Batch files and .COM programs in any letter case.
        SplitCase { "c:\\bin\\start.Bat %x", "C:\\BIN\\START.BAT", "%X" },
        SplitCase { "c:\\dos\\view.com /r", "C:\\DOS\\VIEW.COM", "/R" },
        // The last of the endings wins, even inside the parameters.
        SplitCase { "c:\\tools.com\\run.exe -x", "C:\\TOOLS.COM\\RUN.EXE", "-X" },
        SplitCase { "c:\\run.exe -log c:\\log.bat", "C:\\RUN.EXE -LOG C:\\LOG.BAT", "" },
        // None of the endings: no program part at all.
        SplitCase { "/usr/bin/webby %u", "", "" },
        SplitCase { "exe", "", "" },
        // Only a to z become capitals.
        SplitCase { "c:\\веб\\обзор.exe -ё", "C:\\веб\\обзор.EXE", "-ё" },
        // Control characters and blanks are trimmed from the parameters, then the leading quotes.
        SplitCase { "x.exe\t\"\"\"-a\" \r\n", "X.EXE", "-A\"" }),
    [](const testing::TestParamInfo<SplitCase>& info) { return caseName(info.index); });

class ExecSplit : public testing::TestWithParam<SplitCase> { };

TEST_P(ExecSplit, TakesTheFirstWordAsTheProgramAndKeepsLetterCase)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(gotoweb::splitExecLine(QString::fromUtf8(c.command)),
              (CommandParts { QString::fromUtf8(c.program), QString::fromUtf8(c.parameters) }));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExecSplit,
    testing::Values(SplitCase { "", "", "" },
                    SplitCase { "webby ", "webby", "" },
                    SplitCase { "/usr/lib/WebBy/webby --new-window ", "/usr/lib/WebBy/webby", "--new-window" },
                    SplitCase { "  \"/opt/My Browser/run\" -a \"\" -b", "/opt/My Browser/run", "-a \"\" -b" },
                    SplitCase { "env\tBROWSER=1 webby", "env", "BROWSER=1 webby" }),
    [](const testing::TestParamInfo<SplitCase>& info) { return caseName(info.index); });

TEST(GoToWeb, StartsTheBrowserWithItsParametersAndTheAddress)
{
    FakeRegistry registry;
    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_EQ(web.Url(), branding::makerWebAddress());
    EXPECT_EQ(web.EMail(), branding::makerMailAddress());
    web.setUrl(QStringLiteral("http://example.test/a b"));
    web.setEMail(QStringLiteral("x@y"));
    EXPECT_EQ(web.Url(), QStringLiteral("http://example.test/a b"));
    EXPECT_EQ(web.EMail(), QStringLiteral("x@y"));
    EXPECT_TRUE(launcher.programStarts.isEmpty()); // setting only stores

    // A desktop entry's Exec line: letter case kept.
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("/opt/WebBy/webby %U"));
    EXPECT_TRUE(web.OpenUrl());
    ASSERT_EQ(launcher.programStarts.size(), 1);
    EXPECT_EQ(launcher.programStarts[0].program, QStringLiteral("/opt/WebBy/webby"));
    EXPECT_EQ(launcher.programStarts[0].parameters, QStringLiteral(" http://example.test/a b"));

    // Each call looks the browser up again.
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("\"/opt/Other One/run\" -x \"%u\""));
    EXPECT_TRUE(web.OpenUrl());
    ASSERT_EQ(launcher.programStarts.size(), 2);
    EXPECT_EQ(launcher.programStarts[1].program, QStringLiteral("/opt/Other One/run"));
    EXPECT_EQ(launcher.programStarts[1].parameters, QStringLiteral("-x \"\" http://example.test/a b"));

    // The result is the start's.
    launcher.result = false;
    EXPECT_FALSE(web.OpenUrl());
}

TEST(GoToWeb, RegisteredCommandsAreSplitInCapitals)
{
    FakeRegistry registry;
    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    web.setCommandStyle(TGoToWeb::CommandStyle::Registered);
    registry.openCommands.insert(QStringLiteral(".HTML"),
                                 QStringLiteral("\"C:\\Program Files\\Nav\\nav.exe\" -nohome \"%1\""));
    EXPECT_TRUE(web.OpenUrl());
    ASSERT_EQ(launcher.programStarts.size(), 1);
    EXPECT_EQ(launcher.programStarts[0].program, QStringLiteral("C:\\PROGRAM FILES\\NAV\\NAV.EXE"));
    EXPECT_EQ(launcher.programStarts[0].parameters, QStringLiteral(" -NOHOME \"\" ") + branding::makerWebAddress());

    // A command without parameters: a blank, then the address.
    registry.openCommands.insert(QStringLiteral(".HTML"), QStringLiteral("c:\\nav.exe"));
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.programStarts[1].parameters, QStringLiteral(" ") + branding::makerWebAddress());

    // No program part: false and nothing started.
    registry.openCommands.insert(QStringLiteral(".HTML"), QStringLiteral("/usr/bin/webby %u"));
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_EQ(launcher.programStarts.size(), 2);
}

TEST(GoToWeb, NoRegisteredBrowserStartsNothing)
{
    FakeRegistry registry;
    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_FALSE(web.OpenUrl());
    // An Exec line of placeholders only leaves no program.
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("%k %u"));
    EXPECT_EQ(web.SplitBrowserCommand(), CommandParts {});
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_TRUE(launcher.programStarts.isEmpty());
    EXPECT_TRUE(launcher.commandLines.isEmpty());
}
