#include "core/text/editorbuffer.h"
#include "core/platform/filewriter.h"
#include "support/filebytes.h"
#include "support/testwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

/// A small tmpfs mounted for one test, holding doc() with the text "kept";
/// skipped where mounting is not allowed.
class FileWriterOnTmpfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath("mnt");
        QDir().mkdir(m_path);
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, "size=64k") == 0;
        if (!m_mounted)
            GTEST_SKIP() << "mounting a tmpfs is not allowed here";
        writeAll(doc(), "kept");
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    QString filePath(const QString& name) const { return m_path + u'/' + name; }
    QString doc() const { return filePath("doc.htm"); }
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

TEST_F(FileWriterOnTmpfs, AReadOnlyFilesystemKeepsTheOldContent)
{
    const QString path = doc();
    ASSERT_TRUE(remountReadOnly());
    QString error;
    EXPECT_FALSE(filewriter::writeFile(path, "lost?", &error));
    EXPECT_EQ(error, "Read-only file system");
    EXPECT_EQ(readAll(path), "kept");
    EXPECT_FALSE(filewriter::writeFile(filePath("new.htm"), "x", &error));
    EXPECT_EQ(error, "Read-only file system");
}

TEST_F(FileWriterOnTmpfs, AFullDiskKeepsTheOldContentAndLeavesNoTemporaryFile)
{
    const QString path = doc();
    QString error;
    EXPECT_FALSE(filewriter::writeFile(path, QByteArray(1024 * 1024, 'x'), &error));
    EXPECT_EQ(error, "No space left on device");
    EXPECT_EQ(readAll(path), "kept");
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList { "doc.htm" });
}

TEST_F(FileWriterOnTmpfs, AFileOnAReadOnlyBindMountIsRefusedAndKept)
{
    // Read-only permission bits mean nothing to root; a file of a read-only
    // mount bound over a writable folder is what a user without rights sees.
    const QString path = doc();
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

const uid_t kNobody = 65534;

/// Runs `work` as the second user "nobody" (no supplementary groups); false,
/// running nothing, where the process cannot switch (not root).
bool asNobody(const std::function<void()>& work)
{
    if (::geteuid() != 0)
        return false;
    gid_t groups[64];
    const int count = ::getgroups(64, groups);
    if (count < 0 || ::setgroups(0, nullptr) != 0 || ::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0) {
        (void)::setegid(0);
        return false;
    }
    work();
    (void)::seteuid(0);
    (void)::setegid(0);
    (void)::setgroups(count, groups);
    return true;
}

struct stat statOf(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

QByteArray attribute(const QString& path, const char* name)
{
    char value[256];
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value, sizeof value);
    return size < 0 ? QByteArray("<none>") : QByteArray(value, size);
}

/// An access ACL giving "nobody" read and write beside the mode's rights.
QByteArray aclForNobody()
{
    struct Entry {
        quint16 tag, perm;
        quint32 id;
    };
    const quint32 version = 2;
    const Entry entries[] = { { 0x01, 6, ~0u }, { 0x02, 6, kNobody }, { 0x04, 4, ~0u }, { 0x10, 6, ~0u },
                              { 0x20, 4, ~0u } };
    return QByteArray(reinterpret_cast<const char*>(&version), 4)
        + QByteArray(reinterpret_cast<const char*>(entries), sizeof entries);
}

TEST(FileWriter, KeepsOwnerGroupLinksAttributesAndAclsWritingInPlaceWhereTheRenameCannot)
{
    struct Case {
        const char* name;
        bool nobody;     // written by the second user
        mode_t folder;   // mode of the folder, owned by root
        uid_t owner;     // of the file
        gid_t group;
        bool secondLink; // the file has another hard link
        bool inPlace;    // the file keeps its inode
    };
    const Case cases[] = {
        { "ordinary file: rename", false, 0755, 0, 0, false, false },
        { "own file in a shared folder: rename", true, 0777, kNobody, kNobody, false, false },
        { "folder not writable, file writable", true, 0755, kNobody, kNobody, false, true },
        { "another owner's file in a shared folder", true, 0777, 0, 0, false, true },
        { "own file of a group the user is not in", true, 0777, kNobody, 0, false, true },
        { "two hard links", false, 0755, 0, 0, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        const QString folder = dir.filePath("web");
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString path = folder + "/page.htm";
        writeAll(path, "old content");
        const QByteArray native = QFile::encodeName(path);
        ASSERT_EQ(::chown(native.constData(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(native.constData(), 0666), 0);
        ASSERT_EQ(::setxattr(native.constData(), "user.note", "kept", 4, 0), 0);
        ASSERT_EQ(::setxattr(native.constData(), "system.posix_acl_access", aclForNobody().constData(),
                             aclForNobody().size(), 0),
                  0);
        if (c.secondLink)
            ASSERT_EQ(::link(native.constData(), QFile::encodeName(folder + "/alias.htm").constData()), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), c.folder), 0);
        const struct stat before = statOf(path);
        const QByteArray acl = attribute(path, "system.posix_acl_access");

        bool written = false;
        QString error;
        auto write = [&] { written = filewriter::writeFile(path, "new", &error); };
        if (c.nobody) {
            if (!asNobody(write))
                GTEST_SKIP() << "cannot act as a second user here";
        } else {
            write();
        }
        ASSERT_TRUE(written) << error.toStdString();
        EXPECT_EQ(readAll(path), "new");
        const struct stat after = statOf(path);
        EXPECT_EQ(after.st_ino == before.st_ino, c.inPlace);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        EXPECT_EQ(attribute(path, "user.note"), "kept");
        EXPECT_EQ(attribute(path, "system.posix_acl_access"), acl);
        if (c.secondLink)
            EXPECT_EQ(readAll(folder + "/alias.htm"), "new");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), c.secondLink ? 2 : 1);
    }
}

TEST(FileWriter, AFailurePartWayThroughAnInPlaceSaveIsReportedWithTheSystemsReason)
{
    TestWindow t;
    const QString file = t.path("page.htm");
    writeAll(file, "old");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(t.path("alias.htm")).constData()), 0);
    t.fake.prompts.openResults.append(FileDialogResult { file, 1 });
    t.window->OpenBtnClick();
    t.memo().setText(QString(1000, u'x'));

    // A file-size limit stops the write after its first bytes.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    t.window->Save2Click();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { "Cannot create file " + file + ": File too large." });
    EXPECT_TRUE(readAll(t.path("alias.htm")).startsWith(QByteArray(16, 'x'))) << "written into the linked file itself";
    EXPECT_TRUE(t.ctx().doc.modified);
}

} // namespace
