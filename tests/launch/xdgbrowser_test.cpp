#include "core/branding.h"
#include "launch/gotoweb.h"
#include "launch/xdgregistry.h"
#include "support/fakeplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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
    EXPECT_EQ(web.FindBrowserCommand(), "\"/opt/Web By/webby\" --new-window ");
    EXPECT_TRUE(web.OpenUrl());
    ASSERT_EQ(launcher.programStarts.size(), 1);
    EXPECT_EQ(launcher.programStarts[0].program, "/opt/Web By/webby");
    EXPECT_EQ(launcher.programStarts[0].parameters, "--new-window " + branding::makerWebAddress());
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
    ASSERT_EQ(launcher.programStarts.size(), 1);
    EXPECT_EQ(launcher.programStarts[0].program, "ssi-viewer");
    EXPECT_EQ(launcher.programStarts[0].parameters, " " + branding::makerWebAddress());
}

TEST_F(BrowserDesktop, NoApplicationMeansNoStart)
{
    XdgRegistry registry;
    RecordingLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_EQ(web.FindBrowserCommand(), "");
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_TRUE(launcher.programStarts.isEmpty());

    // An Exec line too long for the value buffer counts as none.
    browser("usr/applications/long.desktop", "/usr/bin/long " + QByteArray(1100, 'x'));
    write("config/mimeapps.list", "[Default Applications]\ntext/html=long.desktop\n");
    EXPECT_EQ(registry.openCommandForExtension(".HTM").size(), 1114);
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_TRUE(launcher.programStarts.isEmpty());
}
