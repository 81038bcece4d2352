#include "launch/mimeassociations.h"
#include "launch/xdgregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kType = QStringLiteral("application/x-vqlfile");

/// A fake XDG tree: two config folders and two data folders.
class XdgTree : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return m_root.filePath(relative); }

    void write(const QString& relative, const QByteArray& bytes)
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    void app(const QString& relativeDataPath, const QByteArray& exec)
    {
        write(relativeDataPath, "[Desktop Entry]\nType=Application\nName=X\nExec=" + exec + "\n");
    }

    MimeAssociations associations(const QStringList& desktops = {}) const
    {
        return MimeAssociations({ path("config"), path("etc") }, { path("data"), path("usr") }, desktops);
    }

    QTemporaryDir m_root;
};

TEST_F(XdgTree, DefaultApplicationsOfTheMostImportantListWin)
{
    app("usr/applications/sys.desktop", "sys %f");
    app("usr/applications/user.desktop", "user %f");
    app("usr/applications/etc.desktop", "etc %f");
    write("etc/mimeapps.list", "[Default Applications]\napplication/x-vqlfile=etc.desktop\n");
    write("usr/applications/mimeapps.list", "[Default Applications]\napplication/x-vqlfile=sys.desktop\n");
    EXPECT_EQ(associations().defaultApplication(kType), "etc.desktop");

    write("config/mimeapps.list", "[Added Associations]\napplication/x-vqlfile=sys.desktop\n"
                                  "[Default Applications]\napplication/x-vqlfile=missing.desktop;user.desktop;\n");
    EXPECT_EQ(associations().defaultApplication(kType), "user.desktop");
    EXPECT_EQ(associations().defaultCommand(kType), "user %f");
    EXPECT_EQ(associations().defaultApplication("text/other"), "");
}

TEST_F(XdgTree, DesktopSpecificListsComeFirstInTheirFolder)
{
    app("data/applications/plain.desktop", "plain");
    app("data/applications/special.desktop", "special");
    write("config/mimeapps.list", "[Default Applications]\napplication/x-vqlfile=plain.desktop\n");
    write("config/lxqt-mimeapps.list", "[Default Applications]\napplication/x-vqlfile=special.desktop\n");
    EXPECT_EQ(associations().defaultApplication(kType), "plain.desktop");
    EXPECT_EQ(associations({ "gnome", "lxqt" }).defaultApplication(kType), "special.desktop");
}

TEST_F(XdgTree, AddedAssociationsThenTheCacheRespectRemovals)
{
    app("usr/applications/a.desktop", "a");
    app("usr/applications/b.desktop", "b");
    app("usr/applications/c.desktop", "c");
    write("usr/applications/mimeinfo.cache", "[MIME Cache]\napplication/x-vqlfile=a.desktop;c.desktop;\n");
    EXPECT_EQ(associations().defaultApplication(kType), "a.desktop");

    write("etc/mimeapps.list", "[Added Associations]\napplication/x-vqlfile=b.desktop;a.desktop;\n");
    EXPECT_EQ(associations().defaultApplication(kType), "b.desktop");

    // Removed in a more important file: hidden in the less important one and in the cache.
    write("config/mimeapps.list", "[Removed Associations]\napplication/x-vqlfile=b.desktop;a.desktop\n");
    EXPECT_EQ(associations().defaultApplication(kType), "c.desktop");

    // A removal does not undo an explicit default.
    write("config/mimeapps.list", "[Removed Associations]\napplication/x-vqlfile=b.desktop\n"
                                  "[Default Applications]\napplication/x-vqlfile=b.desktop\n");
    EXPECT_EQ(associations().defaultApplication(kType), "b.desktop");
}

TEST_F(XdgTree, DesktopEntriesAreFoundByIdHiddenOnesAreNot)
{
    app("usr/applications/vendor/tools-editor.desktop", "sub");
    const MimeAssociations xdg = associations();
    EXPECT_EQ(xdg.desktopEntryPath("vendor-tools-editor.desktop"), path("usr/applications/vendor/tools-editor.desktop"));
    EXPECT_EQ(xdg.desktopEntryPath("../usr/applications/vendor/tools-editor.desktop"), "");
    EXPECT_EQ(xdg.desktopEntryPath("nothing.desktop"), "");

    // A user's copy with Hidden=true hides the system entry of the same id.
    app("usr/applications/gone.desktop", "gone");
    write("data/applications/gone.desktop", "[Desktop Entry]\nHidden=true\n");
    write("config/mimeapps.list", "[Default Applications]\napplication/x-vqlfile=gone.desktop;vendor-tools-editor.desktop\n");
    EXPECT_EQ(associations().defaultApplication(kType), "vendor-tools-editor.desktop");
    EXPECT_EQ(associations().defaultCommand(kType), "sub");
}

TEST_F(XdgTree, TheExecLineIsTakenWholeWithOnlyStringEscapesUndone)
{
    write("e.desktop", "# comment\n[Desktop Action new]\nExec=wrong\n"
                       "[Desktop Entry]\r\nexec=lower case is another key\r\n"
                       "Exec = \"/opt/My Editor/ed\" --new\\s\"%f\" \"a\\\\\\\\b\" %1 \\$x\r\nExec=second\r\n");
    EXPECT_EQ(MimeAssociations::execLine(path("e.desktop")), "\"/opt/My Editor/ed\" --new \"%f\" \"a\\\\b\" %1 \\$x");
    EXPECT_EQ(MimeAssociations::execLine(path("none.desktop")), "");
    write("junk.desktop", QByteArray("\0\xFF[Desktop Entry\n=\n[\nExec\n\xC3", 27));
    EXPECT_EQ(MimeAssociations::execLine(path("junk.desktop")), "");
}

TEST_F(XdgTree, TheRegistryReadsTheEnvironmentsFolders)
{
    app("data/applications/ext.desktop", "\"/opt/ext editor/ext\" \"%1\"");
    write("config/mimeapps.list", "[Default Applications]\napplication/x-vqlfile=ext.desktop\n");
    const char* names[] = { "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS" };
    QList<QByteArray> saved;
    for (const char* name : names)
        saved.append(qgetenv(name));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path("etc")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(path("usr")) + ":relative/ignored");

    XdgRegistry registry;
    const QString command = registry.extendedEditorCommand();
    qputenv("XDG_DATA_HOME", QFile::encodeName(path("nothing-here")));
    const QString withoutEntry = registry.extendedEditorCommand();

    for (int i = 0; i < 4; ++i) {
        if (saved[i].isNull())
            qunsetenv(names[i]);
        else
            qputenv(names[i], saved[i]);
    }
    EXPECT_EQ(command, "\"/opt/ext editor/ext\" \"%1\"");
    EXPECT_EQ(withoutEntry, "");
}

} // namespace
