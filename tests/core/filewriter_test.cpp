#include "core/filewriter.h"
#include "support/filebytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

namespace {

/// A small tmpfs mounted for one test; skipped where mounting is not allowed.
class SmallFilesystem {
public:
    explicit SmallFilesystem(const char* options)
    {
        m_path = m_dir.filePath("mnt");
        QDir().mkdir(m_path);
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallFilesystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString filePath(const QString& name) const { return m_path + u'/' + name; }
    bool remountReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_mounted = false;
};

TEST(FileWriter, CreatesAndReplacesFilesKeepingTheirPermissions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.htm");
    QString error;
    ASSERT_TRUE(filewriter::writeFile(path, "first", &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), "first");

    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(filewriter::writeFile(path, QByteArray("second\0!", 8), &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("second\0!", 8));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // No temporary file is left beside the target.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "page.htm" });
}

TEST(FileWriter, ASymbolicLinkStaysALinkAndItsTargetReceivesTheBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkdir(dir.filePath("real")));
    const QString target = dir.filePath("real/doc.htm");
    writeAll(target, "old");
    const QString link = dir.filePath("link.htm");
    ASSERT_TRUE(QFile::link(target, link));

    ASSERT_TRUE(filewriter::writeFile(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), "new");

    // A link whose target does not exist yet: the file appears at the target.
    const QString dangling = dir.filePath("dangling.htm");
    ASSERT_TRUE(QFile::link(dir.filePath("real/later.htm"), dangling));
    ASSERT_TRUE(filewriter::writeFile(dangling, "created"));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(readAll(dir.filePath("real/later.htm")), "created");
}

TEST(FileWriter, ALoopOfLinksFailsInsteadOfHanging)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link(dir.filePath("b"), dir.filePath("a")));
    ASSERT_TRUE(QFile::link(dir.filePath("a"), dir.filePath("b")));
    QString error;
    EXPECT_FALSE(filewriter::writeFile(dir.filePath("a"), "x", &error));
    EXPECT_EQ(error, "Too many levels of symbolic links");
    EXPECT_TRUE(QFileInfo(dir.filePath("a")).isSymLink());
}

TEST(FileWriter, AMissingFolderOrAFolderAsTargetIsReportedWithTheSystemsReason)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(filewriter::writeFile(dir.filePath("nowhere/doc.htm"), "x", &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere")));

    EXPECT_FALSE(filewriter::writeFile(dir.path(), "x", &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(filewriter::writeFile(QString(), "x", &error));

    // A pipe (or a device) is never replaced by a plain file.
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(filewriter::writeFile(fifo, "x", &error));
    EXPECT_EQ(error, "Not a regular file");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(FileWriter, AReadOnlyFilesystemKeepsTheOldContent)
{
    SmallFilesystem fs("size=256k");
    if (!fs.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    const QString path = fs.filePath("doc.htm");
    writeAll(path, "kept");
    ASSERT_TRUE(fs.remountReadOnly());
    QString error;
    EXPECT_FALSE(filewriter::writeFile(path, "lost?", &error));
    EXPECT_EQ(error, "Read-only file system");
    EXPECT_EQ(readAll(path), "kept");
    EXPECT_FALSE(filewriter::writeFile(fs.filePath("new.htm"), "x", &error));
    EXPECT_EQ(error, "Read-only file system");
}

TEST(FileWriter, AFullDiskKeepsTheOldContentAndLeavesNoTemporaryFile)
{
    SmallFilesystem fs("size=64k");
    if (!fs.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    const QString path = fs.filePath("doc.htm");
    writeAll(path, "old text");
    QString error;
    EXPECT_FALSE(filewriter::writeFile(path, QByteArray(1024 * 1024, 'x'), &error));
    EXPECT_EQ(error, "No space left on device");
    EXPECT_EQ(readAll(path), "old text");
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList { "doc.htm" });
}

TEST(FileWriter, AFileOnAReadOnlyBindMountIsRefusedAndKept)
{
    SmallFilesystem fs("size=64k");
    if (!fs.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    // Read-only permission bits mean nothing to root; a file of a read-only
    // mount bound over a writable folder is what a user without rights sees.
    const QString path = fs.filePath("doc.htm");
    writeAll(path, "kept");
    QTemporaryDir other;
    const QString bound = other.filePath("doc.htm");
    writeAll(bound, "");
    ASSERT_EQ(::mount(QFile::encodeName(path).constData(), QFile::encodeName(bound).constData(), nullptr, MS_BIND,
                      nullptr),
              0);
    ASSERT_EQ(::mount(nullptr, QFile::encodeName(bound).constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                      nullptr),
              0);
    QString error;
    EXPECT_FALSE(filewriter::writeFile(bound, "lost?", &error));
    EXPECT_EQ(error, "Read-only file system");
    EXPECT_EQ(readAll(bound), "kept");
    ::umount2(QFile::encodeName(bound).constData(), MNT_DETACH);
}

} // namespace
