#include "core/branding.h"
#include "launch/gotoweb.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

using gotoweb::CommandParts;

namespace {

std::string caseName(size_t index) { return "case" + std::to_string(index); }

} // namespace

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

TEST(FindBrowserCommand, AsksTheWebSchemesThenTheExtensionsInOrder)
{
    FakeRegistry registry;
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QString());

    // Placeholders stay for the start to fill.
    registry.openCommands.insert(QStringLiteral(".SHTM"), QStringLiteral("shtm \"%1\""));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("shtm \"%1\""));
    registry.openCommands.insert(QStringLiteral(".SHTML"), QStringLiteral("shtml %u"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("shtml %u"));
    registry.openCommands.insert(QStringLiteral(".HTML"), QStringLiteral("html"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("html"));
    // An empty value counts as none.
    registry.openCommands.insert(QStringLiteral(".HTM"), QString());
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("html"));
    // A value too long for the buffer is passed over, never cut.
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("/") + QString(1100, u'x'));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("html"));
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("htm -a %U"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("htm -a %U"));
    // Web addresses have handlers of their own, asked first: https, then http.
    registry.schemeCommands.insert(QStringLiteral("http"), QStringLiteral("plain %u"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("plain %u"));
    registry.schemeCommands.insert(QStringLiteral("https"), QStringLiteral("secure %u"));
    EXPECT_EQ(gotoweb::findBrowserCommand(registry), QStringLiteral("secure %u"));
}

namespace {

struct SplitCase {
    const char* command;
    const char* program;
    const char* parameters;
};
void PrintTo(const SplitCase& c, std::ostream* out) { *out << '"' << c.command << '"'; }

} // namespace

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

TEST(GoToWeb, StartsTheBrowserOnTheAddress)
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
    EXPECT_TRUE(launcher.commandLines.isEmpty()); // setting only stores

    // The command and the address go to the launcher, which fills %U with it.
    registry.openCommands.insert(QStringLiteral(".HTM"), QStringLiteral("/opt/WebBy/webby %U"));
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.commandLines, QStringList { QStringLiteral("/opt/WebBy/webby %U http://example.test/a b") });
    EXPECT_EQ(web.SplitBrowserCommand(), (CommandParts { QStringLiteral("/opt/WebBy/webby"), QStringLiteral("%U") }));

    // Each call looks the browser up again.
    registry.schemeCommands.insert(QStringLiteral("http"), QStringLiteral("\"/opt/Other One/run\" -x"));
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.commandLines.value(1), QStringLiteral("\"/opt/Other One/run\" -x http://example.test/a b"));

    // The result is the start's.
    launcher.result = false;
    EXPECT_FALSE(web.OpenUrl());

    // No registered browser: nothing is started.
    registry.openCommands.clear();
    registry.schemeCommands.clear();
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_EQ(launcher.commandLines.size(), 3);
}
