#include "core/platform/branding.h"
#include "launch/gotoweb.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

DesktopApplication app(const char* id, const char* name = "Browser")
{
    return { QString::fromUtf8(id), QString::fromUtf8(name) };
}

} // namespace

TEST(FindBrowser, AsksTheHttpsHandlerThenHttpThenHtml)
{
    FakeRegistry registry;
    EXPECT_EQ(gotoweb::findBrowser(registry).id, QString());
    registry.applications.insert(QStringLiteral("text/x-server-parsed-html"), app("ssi.desktop"));
    EXPECT_EQ(gotoweb::findBrowser(registry).id, QString()) << "only the three browser types count";
    registry.applications.insert(QStringLiteral("text/html"), app("html.desktop"));
    EXPECT_EQ(gotoweb::findBrowser(registry).id, QStringLiteral("html.desktop"));
    registry.applications.insert(QStringLiteral("x-scheme-handler/http"), app("plain.desktop"));
    EXPECT_EQ(gotoweb::findBrowser(registry).id, QStringLiteral("plain.desktop"));
    registry.applications.insert(QStringLiteral("x-scheme-handler/https"), app("secure.desktop", "Secure"));
    EXPECT_EQ(gotoweb::findBrowser(registry).id, QStringLiteral("secure.desktop"));
    EXPECT_EQ(gotoweb::findBrowser(registry).name, QStringLiteral("Secure"));
}

TEST(GoToWeb, StartsTheBrowserOnTheAddressAndSaysWhatCouldNotRun)
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
    EXPECT_TRUE(launcher.applications.isEmpty()); // setting only stores

    // No browser on the desktop: nothing starts, and the failure names what is missing.
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_EQ(web.failureMessage(), QStringLiteral("Cannot run x-scheme-handler/https"));

    registry.applications.insert(QStringLiteral("text/html"), app("webby.desktop", "Webby"));
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.applications, QStringList { QStringLiteral("webby.desktop http://example.test/a b") });
    EXPECT_EQ(web.failureMessage(), QString());

    // Each call looks the browser up again.
    registry.applications.insert(QStringLiteral("x-scheme-handler/http"), app("other.desktop", "Other One"));
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.applications.value(1), QStringLiteral("other.desktop http://example.test/a b"));

    // A start that fails names the browser.
    launcher.result = false;
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_EQ(web.failureMessage(), QStringLiteral("Cannot run Other One"));
    EXPECT_TRUE(launcher.commandLines.isEmpty()) << "a desktop browser is never started as a command line";
}
