#include "core/branding.h"
#include "launch/gotoweb.h"
#include "launch/processlauncher.h"
#include "launch/xdgregistry.h"
#include "support/fakeplatform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

/// A desktop of its own in a temporary folder: the XDG variables point into
/// it while the test runs and are put back afterwards.
class BrowserDesktop : public testing::Test {
protected:
    BrowserDesktop()
    {
        for (const char* name : kNames)
            m_saved.append(qgetenv(name));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path("etc")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("home-data")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(path("usr")));
        qputenv("XDG_CURRENT_DESKTOP", "");
    }
    ~BrowserDesktop() override
    {
        for (int i = 0; i < kNames.size(); ++i) {
            if (m_saved[i].isNull())
                qunsetenv(kNames[i]);
            else
                qputenv(kNames[i], m_saved[i]);
        }
    }

    QString path(const char* relative) const { return m_root.filePath(QString::fromUtf8(relative)); }

    void write(const char* relative, const QByteArray& bytes)
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    void browser(const char* relative, const QByteArray& exec)
    {
        write(relative, "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + exec + "\n");
    }

    static inline const QList<const char*> kNames = { "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                                      "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP" };
    QTemporaryDir m_root;
    QList<QByteArray> m_saved;
};

} // namespace

TEST_F(BrowserDesktop, ExtensionsMapToTheirMimeTypes)
{
    EXPECT_EQ(XdgRegistry::mimeTypeForExtension(".HTM"), "text/html");
    EXPECT_EQ(XdgRegistry::mimeTypeForExtension(".html"), "text/html");
    EXPECT_EQ(XdgRegistry::mimeTypeForExtension(".SHTML"), "text/x-server-parsed-html");
    EXPECT_EQ(XdgRegistry::mimeTypeForExtension(".shtm"), "text/x-server-parsed-html");
    EXPECT_EQ(XdgRegistry::mimeTypeForExtension(".TXT"), "");
    EXPECT_EQ(XdgRegistry::mimeTypeForExtension("HTM"), "");
}

TEST_F(BrowserDesktop, TheDefaultHtmlApplicationOpensTheAddress)
{
    browser("usr/applications/webby.desktop", "\"/opt/Web By/webby\" --new-window %U");
    write("config/mimeapps.list", "[Default Applications]\ntext/html=webby.desktop\n");

    XdgRegistry registry;
    EXPECT_EQ(registry.openCommandForExtension(".HTM"), "\"/opt/Web By/webby\" --new-window %U");
    EXPECT_EQ(registry.openCommandForExtension(".HTML"), "\"/opt/Web By/webby\" --new-window %U");
    EXPECT_EQ(registry.openCommandForExtension(".SHTML"), "");

    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.commandLines, QStringList { "\"/opt/Web By/webby\" --new-window %U " + branding::makerWebAddress() });
}

TEST_F(BrowserDesktop, ServerParsedTypesAreAskedWhenHtmlHasNoApplication)
{
    browser("home-data/applications/ssi.desktop", "ssi-viewer %f");
    write("usr/applications/mimeapps.list", "[Default Applications]\ntext/x-server-parsed-html=ssi.desktop\n");
    // text/html names an application that is not installed.
    write("config/mimeapps.list", "[Default Applications]\ntext/html=gone.desktop\n");

    XdgRegistry registry;
    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(launcher.commandLines, QStringList { "ssi-viewer %f " + branding::makerWebAddress() });
}

TEST_F(BrowserDesktop, TheWebLinkNeverOpensThisEditor)
{
    // This editor is the default for HTML, under either of its names; the web
    // link takes the scheme handlers first and passes over this editor.
    browser("usr/applications/quillet.desktop", "quillet %f");
    browser("usr/applications/vq.desktop", "/usr/bin/vq.exe %F");
    browser("usr/applications/webby.desktop", "webby %u");
    write("usr/applications/secure.desktop",
          "[Desktop Entry]\nType=Application\nName=Secure\nIcon=secure-web\nExec=secure %i %c %u\n");
    browser("usr/applications/cached.desktop", "cached %U");
    struct Case {
        const char* mimeapps;
        const char* cache;
        const char* command; // before the address; empty: nothing starts
    };
    const Case cases[] = {
        { "[Default Applications]\ntext/html=quillet.desktop;\n", "", "" },
        { "[Default Applications]\ntext/html=quillet.desktop;vq.desktop;webby.desktop\n", "", "webby %u" },
        { "[Default Applications]\ntext/html=quillet.desktop\n[Added Associations]\ntext/html=vq.desktop;webby.desktop\n",
          "", "webby %u" },
        { "[Default Applications]\ntext/html=quillet.desktop\n", "[MIME Cache]\ntext/html=vq.desktop;cached.desktop;\n",
          "cached %U" },
        { "[Default Applications]\ntext/html=webby.desktop\nx-scheme-handler/http=quillet.desktop\n", "",
          "webby %u" },
        { "[Default Applications]\ntext/html=quillet.desktop\nx-scheme-handler/http=webby.desktop\n"
          "x-scheme-handler/https=vq.desktop\n",
          "[MIME Cache]\nx-scheme-handler/https=secure.desktop\n", "secure --icon \"secure-web\" \"Secure\" %u" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mimeapps);
        write("config/mimeapps.list", c.mimeapps);
        write("usr/applications/mimeinfo.cache", c.cache);
        XdgRegistry registry;
        RecordingLauncher launcher;
        TGoToWeb web(&registry, &launcher);
        EXPECT_EQ(web.OpenUrl(), *c.command != 0);
        EXPECT_EQ(launcher.commandLines,
                  *c.command ? QStringList { QString::fromUtf8(c.command) + u' ' + branding::makerWebAddress() }
                             : QStringList {});
    }
}

TEST_F(BrowserDesktop, ThePackagesOwnEntryIsPassedOverForARealBrowser)
{
    // The desktop entry the package installs (the package test gives the
    // unpacked one), registered for HTML, and a recording browser for http.
    const QString entry = qEnvironmentVariable("QUILLET_DESKTOP_ENTRY",
                                               QStringLiteral(QUILLET_SOURCE_DIR "/packaging/quillet.desktop"));
    QFile own(entry);
    ASSERT_TRUE(own.open(QIODevice::ReadOnly)) << entry.toStdString();
    write("usr/applications/quillet.desktop", own.readAll());
    const QString recorder = path("bin/record browser");
    const QString output = path("bin/address");
    write("bin/record browser",
          "#!/bin/sh\nprintf '[%s]' \"$@\" > \"$0.part\"\n/bin/mv \"$0.part\" '" + QFile::encodeName(output) + "'\n");
    QFile::setPermissions(recorder, QFile::ReadOwner | QFile::ExeOwner);
    browser("usr/applications/recorder.desktop", "\"" + QFile::encodeName(recorder) + "\" --new-tab %u");
    write("config/mimeapps.list",
          "[Default Applications]\ntext/html=quillet.desktop\nx-scheme-handler/http=recorder.desktop\n");

    XdgRegistry registry;
    ProcessLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    web.setUrl(QStringLiteral("http://www.brannoc.example/a b"));
    EXPECT_TRUE(web.OpenUrl());
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(output) && !deadline.hasExpired())
        QTest::qSleep(20);
    QFile recorded(output);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly)) << "the browser did not start";
    EXPECT_EQ(recorded.readAll(), QByteArray("[--new-tab][http://www.brannoc.example/a b]"));
}

TEST_F(BrowserDesktop, NoApplicationMeansNoStart)
{
    XdgRegistry registry;
    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_EQ(web.FindBrowserCommand(), "");
    EXPECT_FALSE(web.OpenUrl());

    // An Exec line too long for the value buffer counts as none.
    browser("usr/applications/long.desktop", "/usr/bin/long " + QByteArray(1100, 'x'));
    write("config/mimeapps.list", "[Default Applications]\ntext/html=long.desktop\n");
    EXPECT_EQ(registry.openCommandForExtension(".HTM").size(), 1114);
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_TRUE(launcher.commandLines.isEmpty());
}
