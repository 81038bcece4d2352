#include "core/filewriter.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace filewriter {

namespace {

QString systemReason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
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
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };

    if (path.isEmpty())
        return fail(systemReason(ENOENT));

    const QString target = resolveTarget(path);
    if (QFileInfo(target).isSymLink())
        return fail(systemReason(ELOOP)); // a loop of links: nothing to write into
    const QByteArray nativeTarget = QFile::encodeName(target);

    struct stat before {};
    const bool existed = ::stat(nativeTarget.constData(), &before) == 0;
    if (existed) {
        if (S_ISDIR(before.st_mode))
            return fail(systemReason(EISDIR));
        // Renaming over a device or a pipe would replace it by a plain file.
        if (!S_ISREG(before.st_mode))
            return fail(QStringLiteral("Not a regular file"));
        // Renaming over a file ignores the file's own write permission, so a
        // file the user may not write (read-only, immutable) is refused here.
        if (::access(nativeTarget.constData(), W_OK) != 0)
            return fail(systemReason(errno));
    }

    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        // The reason from the temporary file is vaguer than the directory's own.
        const QString dir = QFileInfo(target).absolutePath();
        const QByteArray nativeDir = QFile::encodeName(dir);
        struct stat dirInfo {};
        if (::stat(nativeDir.constData(), &dirInfo) != 0)
            return fail(systemReason(errno));
        if (::access(nativeDir.constData(), W_OK) != 0)
            return fail(systemReason(errno));
        return fail(file.errorString());
    }
    if (existed) {
        // Owner first: changing it may clear set-id bits that the mode restores.
        if (::geteuid() == 0)
            (void)::fchown(file.handle(), before.st_uid, before.st_gid);
        (void)::fchmod(file.handle(), before.st_mode & 07777);
    }

    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int err = errno;
        const QString reason = err != 0 ? systemReason(err) : file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    // Make sure the bytes are on the disk before the rename makes them the file.
    if (::fsync(file.handle()) != 0) {
        const QString reason = systemReason(errno);
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace filewriter
