#include "core/journal/journalwriter.h"

#include "core/encoding/linebreaks.h"
#include "core/journal/journalformat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Below this size a journal is never rewritten: a tiny text would otherwise
// be copied out again after nearly every key.
constexpr qint64 kCompactFloor = 64 * 1024;

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// Opens a new file of ours and locks it. A scanner that found the name
// before the lock may have deleted it: then the name is tried again.
int createLocked(const QString& path, bool exclusive)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(native(path).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC), 0600);
        if (fd < 0)
            return -1;
        struct stat info {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    return -1;
}

bool writeAll(int fd, qint64 offset, const char* data, qint64 length)
{
    while (length > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(length), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        offset += written;
        length -= written;
    }
    return true;
}

void syncFolder(const QString& file)
{
    const int fd = ::open(native(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

struct JournalWriter::Task {
    enum Kind { Rewrite, Edit, State, Discard } kind = Rewrite;
    QString key;
    journalformat::LaunchState launch;
    DocumentEncoding encoding;
    QByteArray bytes;
    bool journalForm = false; // `bytes` are the journal's text already, not a file's
    QString text;
    QString removeAfter;
    qint64 position = 0;
    qint64 removed = 0;
};

std::unique_ptr<JournalWriter> JournalWriter::create(const QString& folder, QString* error)
{
    const QString name = QStringLiteral("%1-%2.journal")
                             .arg(::getpid())
                             .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    const QString path = QDir(folder).filePath(name);
    if (!QDir().mkpath(folder) || ::chmod(native(folder).constData(), 0700) != 0) {
        if (error)
            *error = path;
        return nullptr;
    }
    const int fd = createLocked(path, true);
    if (fd < 0) {
        if (error)
            *error = path;
        return nullptr;
    }
    return std::unique_ptr<JournalWriter>(new JournalWriter(path, fd));
}

JournalWriter::JournalWriter(const QString& path, int fd)
    : m_path(path)
    , m_fd(fd)
{
    m_thread = std::thread([this] { run(); });
}

JournalWriter::~JournalWriter()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    // A clean end: nothing typed is left without the user's say.
    ::unlink(native(m_path).constData());
    ::close(m_fd);
}

void JournalWriter::setErrorHandler(ErrorHandler handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_onError = std::move(handler);
}

void JournalWriter::rewrite(const QString& key, const journalformat::LaunchState& launch, DocumentEncoding encoding,
                            const QByteArray& bytes, const QString& text, const QString& removeAfter)
{
    auto task = std::make_unique<Task>();
    task->kind = Task::Rewrite;
    task->key = key;
    task->launch = launch;
    task->encoding = encoding;
    task->bytes = bytes;
    task->text = text;
    task->removeAfter = removeAfter;
    // A full copy makes everything still waiting obsolete.
    supersede(std::move(task));
}

void JournalWriter::edit(qint64 position, qint64 removed, const QString& inserted)
{
    auto task = std::make_unique<Task>();
    task->kind = Task::Edit;
    task->position = position;
    task->removed = removed;
    task->text = inserted;
    enqueue(std::move(task));
}

void JournalWriter::state(const journalformat::LaunchState& launch)
{
    auto task = std::make_unique<Task>();
    task->kind = Task::State;
    task->launch = launch;
    enqueue(std::move(task));
}

void JournalWriter::discard()
{
    auto task = std::make_unique<Task>();
    task->kind = Task::Discard;
    supersede(std::move(task));
}

void JournalWriter::supersede(std::unique_ptr<Task> task)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    while (m_queue.size() > (m_busy ? 1u : 0u)) {
        // An orphan taken over still goes, though its copy is no longer needed.
        if (task->removeAfter.isEmpty())
            task->removeAfter = m_queue.back()->removeAfter;
        m_queue.pop_back();
    }
    m_queue.push_back(std::move(task));
    m_wake.notify_all();
}

void JournalWriter::enqueue(std::unique_ptr<Task> task)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(std::move(task));
    m_wake.notify_all();
}

void JournalWriter::waitIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_syncRequested = true;
    m_wake.notify_all();
    m_idle.wait(lock, [this] { return (m_queue.empty() && !m_unsynced && !m_busy) || m_failing; });
    m_syncRequested = false;
}

void JournalWriter::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        const auto now = Clock::now();
        const bool work = !m_queue.empty() && (!m_failing || now >= m_retryAt);
        const bool syncNow = m_unsynced && (now >= m_syncDue || (m_syncRequested && m_queue.empty()));
        if (!work && !syncNow) {
            if (m_queue.empty() && !m_unsynced) {
                m_idle.notify_all();
                m_wake.wait(lock);
            } else {
                auto until = Clock::time_point::max();
                if (m_unsynced)
                    until = m_syncDue;
                if (!m_queue.empty() && m_failing)
                    until = std::min(until, m_retryAt);
                m_wake.wait_until(lock, until);
            }
            continue;
        }
        m_busy = true;
        lock.unlock();
        bool ok = true;
        Task* task = work ? m_queue.front().get() : nullptr;
        ok = task ? perform(*task) : sync();
        lock.lock();
        m_busy = false;
        if (ok) {
            if (task)
                m_queue.pop_front();
            m_failing = false;
            continue;
        }
        if (!m_failing && m_onError) {
            const ErrorHandler report = m_onError;
            lock.unlock();
            report(m_path);
            lock.lock();
        }
        m_failing = true;
        m_retryAt = Clock::now() + std::chrono::milliseconds(kRetryDelayMs);
        m_idle.notify_all();
    }
}

bool JournalWriter::perform(Task& task)
{
    switch (task.kind) {
    case Task::Rewrite:
        return writeFresh(task);
    case Task::Discard:
        if (::ftruncate(m_fd, 0) != 0)
            return false;
        m_size = 0;
        m_textLength = 0;
        markSynced();
        if (!task.removeAfter.isEmpty())
            ::unlink(native(task.removeAfter).constData());
        return true;
    case Task::State:
        // Before the first full copy there is nothing to recover, so nothing to describe.
        return m_size == 0
            || append(journalformat::stateRecord(task.launch, nowMs()));
    case Task::Edit: {
        if (m_size == 0)
            return true;
        const QByteArray inserted = journalformat::encodeEditorText(task.text, m_encoding);
        if (!append(journalformat::editRecord(task.position, task.removed, inserted, nowMs())))
            return false;
        m_textLength += inserted.size() - task.removed * journalformat::characterWidth(m_encoding);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_unsynced) {
                m_unsynced = true;
                m_syncDue = Clock::now() + std::chrono::milliseconds(kSyncDelayMs);
            }
        }
        if (m_size > std::max(2 * m_textLength, kCompactFloor))
            compact(); // a failed rewrite leaves the appended journal as good as it was
        return true;
    }
    }
    return true;
}

bool JournalWriter::append(const QByteArray& bytes)
{
    if (!writeAll(m_fd, m_size, bytes.constData(), bytes.size())) {
        // Cut a torn record off, so the next record follows the last good one.
        if (::ftruncate(m_fd, m_size) != 0) {
            // The next write starts at the same place and covers it.
        }
        return false;
    }
    m_size += bytes.size();
    return true;
}

bool JournalWriter::sync()
{
    if (::fdatasync(m_fd) != 0)
        return false;
    markSynced();
    return true;
}

void JournalWriter::markSynced()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_unsynced = false;
}

bool JournalWriter::writeFresh(const Task& task)
{
    // The new copy is written beside the journal and renamed over it only
    // once it is on the disk, so a crash meanwhile leaves the old journal.
    const QString temporary = m_path + QStringLiteral(".tmp");
    const int fd = createLocked(temporary, false);
    if (fd < 0)
        return false;
    const qint64 time = nowMs();
    qint64 size = 0;
    const auto write = [&](const char* data, qint64 length) {
        if (!writeAll(fd, size, data, length))
            return false;
        size += length;
        return true;
    };
    QByteArray start = journalformat::documentRecord(task.key, time) + journalformat::stateRecord(task.launch, time);
    // Windows-1251 journals stay as they always were.
    if (task.encoding.isUtf8() || task.launch.snapshotEncoding.isUtf8())
        start += journalformat::encodingRecord(task.encoding, task.launch.snapshotEncoding, time);
    qint64 textLength = 0;
    bool ok = write(start.constData(), start.size());
    if (ok && task.bytes.isNull()) {
        textLength = linebreaks::documentLength(task.text) * journalformat::characterWidth(task.encoding);
        ok = journalformat::writeFullTextRecord(task.text, time, write, task.encoding);
    } else if (ok) {
        const QByteArray text = task.journalForm ? task.bytes : journalformat::journalText(task.bytes, task.encoding);
        textLength = text.size();
        const QByteArray record = journalformat::fullTextRecord(text, time);
        ok = write(record.constData(), record.size());
    }
    ok = ok && ::fdatasync(fd) == 0 && ::rename(native(temporary).constData(), native(m_path).constData()) == 0;
    if (!ok) {
        ::unlink(native(temporary).constData());
        ::close(fd);
        return false;
    }
    syncFolder(m_path);
    ::close(m_fd);
    m_fd = fd;
    m_size = size;
    m_textLength = textLength;
    m_encoding = task.encoding;
    markSynced();
    if (!task.removeAfter.isEmpty())
        ::unlink(native(task.removeAfter).constData());
    return true;
}

bool JournalWriter::compact()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const journalformat::Content content = journalformat::read(file);
    file.close();
    if (!content.hasText || content.validLength != m_size)
        return false;
    Task task;
    task.key = content.key;
    task.launch = content.launch;
    task.encoding = content.encoding;
    task.bytes = content.text;
    task.journalForm = true;
    return writeFresh(task);
}
