#include "core/journal/journalscan.h"

#include "core/platform/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace journalscan {
namespace {

// An open journal that nobody else holds; locked until destroyed.
class LockedOrphan {
public:
    explicit LockedOrphan(const QString& path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (m_fd >= 0 && (::flock(m_fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(m_fd, &info) != 0 || info.st_nlink == 0)) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (m_fd >= 0)
            m_modified = QDateTime::fromSecsSinceEpoch(info.st_mtime);
    }
    ~LockedOrphan()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LockedOrphan(const LockedOrphan&) = delete;
    LockedOrphan& operator=(const LockedOrphan&) = delete;

    bool locked() const { return m_fd >= 0; }
    QDateTime modified() const { return m_modified; }
    journalformat::Content read() const
    {
        QFile file;
        if (!file.open(::dup(m_fd), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return {};
        return journalformat::read(file);
    }

private:
    int m_fd = -1;
    QDateTime m_modified;
};

QStringList entries(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({ pattern }, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

QString documentKey(const QString& fileName)
{
    if (fileName.isEmpty())
        return {};
    const QString target = filewriter::resolveTarget(QFileInfo(fileName).absoluteFilePath());
    const QFileInfo info(target);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    // A file not written yet: its folder's links are resolved all the same.
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

std::optional<Orphan> newestOrphan(const QString& folder, const QString& key, const QString& ownPath)
{
    std::optional<Orphan> newest;
    for (const QString& name : entries(folder, QStringLiteral("*.journal"))) {
        const QString path = QDir(folder).filePath(name);
        if (path == ownPath)
            continue;
        const LockedOrphan orphan(path);
        if (!orphan.locked())
            continue;
        journalformat::Content content = orphan.read();
        if (!content.hasText || content.key != key)
            continue;
        if (!newest || content.lastTimeMs > newest->content.lastTimeMs)
            newest = Orphan { path, std::move(content) };
    }
    return newest;
}

void removeStale(const QString& folder, const QString& ownPath, const QDateTime& now)
{
    const QDateTime oldest = now.addDays(-kMaxAgeDays);
    const QDir dir(folder);
    for (const QString& name : entries(folder, QStringLiteral("*.journal*"))) {
        const QString path = dir.filePath(name);
        if (path == ownPath || !(name.endsWith(QLatin1String(".journal")) || name.endsWith(QLatin1String(".journal.tmp"))))
            continue;
        const LockedOrphan orphan(path);
        if (!orphan.locked())
            continue;
        const bool stale = name.endsWith(QLatin1String(".tmp")) || orphan.modified() < oldest || !orphan.read().hasText;
        if (stale)
            QFile::remove(path); // still locked, so no editor starts to use it meanwhile
    }
}

} // namespace journalscan
