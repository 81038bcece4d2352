#include "core/platform/filewriter.h"

#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace filewriter {

namespace {

QString systemReason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

/// Whether this process, as its effective user, may access the path so.
bool mayAccess(const QByteArray& nativePath, int mode)
{
    return ::faccessat(AT_FDCWD, nativePath.constData(), mode, AT_EACCESS) == 0;
}

/// Names of a file's extended attributes (ACLs among them), or nothing
/// when they cannot be listed.
std::optional<QList<QByteArray>> attributeNames(int fd)
{
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP ? std::optional<QList<QByteArray>>(QList<QByteArray> {}) : std::nullopt;
    QByteArray list(size, '\0');
    const ssize_t got = ::flistxattr(fd, list.data(), list.size());
    if (got < 0)
        return std::nullopt;
    list.truncate(got);
    QList<QByteArray> names = list.split('\0');
    names.removeAll(QByteArray());
    return names;
}

std::optional<QByteArray> attributeValue(int fd, const QByteArray& name)
{
    const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
    if (size < 0)
        return std::nullopt;
    QByteArray value(size, '\0');
    const ssize_t got = ::fgetxattr(fd, name.constData(), value.data(), value.size());
    if (got < 0)
        return std::nullopt;
    value.truncate(got);
    return value;
}

/// Gives the new file exactly the old file's extended attributes. False
/// when one of them cannot be copied: the rename would then lose it.
bool copyAttributes(const QByteArray& nativeSource, int target)
{
    const int source = ::open(nativeSource.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (source < 0)
        return false;
    bool copied = false;
    const auto names = attributeNames(source);
    const auto inherited = attributeNames(target);
    if (names && inherited) {
        copied = true;
        for (const QByteArray& name : *names) {
            const auto value = attributeValue(source, name);
            if (!value || ::fsetxattr(target, name.constData(), value->constData(), value->size(), 0) != 0) {
                copied = false;
                break;
            }
        }
        // A default ACL of the folder must not add rights the file did not give.
        for (const QByteArray& name : *inherited) {
            if (copied && !names->contains(name) && ::fremovexattr(target, name.constData()) != 0 && errno != ENODATA)
                copied = false;
        }
    }
    ::close(source);
    return copied;
}

/// Writes the bytes into the existing file itself: it keeps its inode, and
/// with it owner, group, links, attributes and ACLs. Space is reserved
/// first, so a full disk is found before the old content is touched.
bool writeInPlace(const QByteArray& nativeTarget, const QByteArray& bytes, QString* reason)
{
    const int fd = ::open(nativeTarget.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        *reason = systemReason(errno);
        return false;
    }
    auto fail = [&](int err) {
        *reason = systemReason(err);
        ::close(fd);
        return false;
    };
    if (!bytes.isEmpty() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, bytes.size()) != 0 && errno != EOPNOTSUPP
        && errno != ENOSYS)
        return fail(errno);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + written, size_t(bytes.size() - written), written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        written += n;
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        *reason = systemReason(errno);
        return false;
    }
    return true;
}

} // namespace

QString resolveTarget(const QString& path)
{
    QString current = path;
    // A bounded walk: a loop of links ends here instead of hanging.
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        const QString canonical = info.canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
        // A dangling link: follow it one step so the new file appears at its end.
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return current;
        current = next;
    }
    return current;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QString reason;
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };

    if (path.isEmpty())
        return fail(systemReason(ENOENT));

    const QString target = resolveTarget(path);
    if (QFileInfo(target).isSymLink())
        return fail(systemReason(ELOOP)); // a loop of links: nothing to write into
    const QByteArray nativeTarget = QFile::encodeName(target);
    const QByteArray nativeDir = QFile::encodeName(QFileInfo(target).absolutePath());

    struct stat before {};
    const bool existed = ::stat(nativeTarget.constData(), &before) == 0;
    bool inPlace = false;
    if (existed) {
        if (S_ISDIR(before.st_mode))
            return fail(systemReason(EISDIR));
        // Renaming over a device or a pipe would replace it by a plain file.
        if (!S_ISREG(before.st_mode))
            return fail(QStringLiteral("Not a regular file"));
        // Renaming over a file ignores the file's own write permission, so a
        // file the user may not write (read-only, immutable) is refused here.
        if (!mayAccess(nativeTarget, W_OK))
            return fail(systemReason(errno));
        // A new file renamed over this one would part its hard links, and a
        // folder the user may not write takes no new file at all.
        inPlace = before.st_nlink > 1 || !mayAccess(nativeDir, W_OK | X_OK);
    }

    if (!inPlace) {
        QSaveFile file(target);
        file.setDirectWriteFallback(false);
        if (!file.open(QIODevice::WriteOnly)) {
            // The reason from the temporary file is vaguer than the directory's own.
            struct stat dirInfo {};
            if (::stat(nativeDir.constData(), &dirInfo) != 0)
                return fail(systemReason(errno));
            if (!existed && !mayAccess(nativeDir, W_OK))
                return fail(systemReason(errno));
            if (!existed)
                return fail(file.errorString());
            // The folder takes no new file, but the file itself may be written.
            inPlace = true;
        } else if (existed) {
            // The new file must be the old one in all but content: owner and
            // group (changing them may clear set-id bits, which the mode then
            // restores), mode, extended attributes and ACLs. What cannot be
            // given to it is kept by writing into the old file instead.
            const bool same = ::fchown(file.handle(), before.st_uid, before.st_gid) == 0
                              && ::fchmod(file.handle(), before.st_mode & 07777) == 0
                              && copyAttributes(nativeTarget, file.handle());
            if (!same) {
                file.cancelWriting();
                inPlace = true;
            }
        }
        if (!inPlace) {
            errno = 0;
            if (file.write(bytes) != bytes.size() || !file.flush()) {
                const int err = errno;
                const QString why = err != 0 ? systemReason(err) : file.errorString();
                file.cancelWriting();
                return fail(why);
            }
            // Make sure the bytes are on the disk before the rename makes them the file.
            if (::fsync(file.handle()) != 0) {
                const QString why = systemReason(errno);
                file.cancelWriting();
                return fail(why);
            }
            if (!file.commit())
                return fail(file.errorString());
            return true;
        }
    }
    if (!writeInPlace(nativeTarget, bytes, &reason))
        return fail(reason);
    return true;
}

} // namespace filewriter
