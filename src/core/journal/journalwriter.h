#pragma once

#include "core/journal/journalformat.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

/// One editor's journal file and the thread that writes it. The user-interface
/// thread only queues records; writing, fdatasync and rewriting the journal as
/// one full copy all happen on the writer's own thread, so typing never waits
/// for the disk. The file stays locked (flock) while the editor runs: a
/// journal nobody holds is an orphan, left by an editor that died.
class JournalWriter {
public:
    /// Reports a failed write, with the journal's path; called on the writer's
    /// thread. Writing goes on being retried.
    using ErrorHandler = std::function<void(const QString& path)>;

    /// Longest time, in ms, between an edit and the fdatasync that makes it
    /// durable (the limit is two seconds; the rest is for the sync itself).
    static constexpr int kSyncDelayMs = 1000;
    /// A failed write is tried again after this many ms.
    static constexpr int kRetryDelayMs = 2000;

    /// Creates the folder (mode 0700) and a journal of its own in it, named
    /// with the pid and a random part, locked. Null with `error` set when
    /// the folder or the file cannot be made.
    static std::unique_ptr<JournalWriter> create(const QString& folder, QString* error);
    ~JournalWriter(); ///< stops the thread and deletes the journal

    QString path() const { return m_path; }
    void setErrorHandler(ErrorHandler handler);

    /// Replaces the journal by one full copy: document key, what a launch
    /// left behind, and the text (`bytes`, the file's bytes in `encoding`,
    /// or the editor-form `text` when `bytes` is null). Made durable at
    /// once; afterwards `removeAfter` (an orphan whose text this copy took
    /// over) is deleted. Later edits are journaled in `encoding`.
    void rewrite(const QString& key, const journalformat::LaunchState& launch, DocumentEncoding encoding,
                 const QByteArray& bytes, const QString& text, const QString& removeAfter = {});
    /// Appends an edit: position and removed length in document characters,
    /// the inserted text in the editor's form ('\n' breaks).
    void edit(qint64 position, qint64 removed, const QString& inserted);
    /// Appends what a launch left behind.
    void state(const journalformat::LaunchState& launch);
    /// Empties the journal: its text was saved or the document replaced.
    void discard();
    /// Blocks until everything queued so far is written and synced (or has
    /// failed); for a clean shutdown of a check and for tests.
    void waitIdle();

private:
    struct Task;
    JournalWriter(const QString& path, int fd);
    /// Queues a task after those waiting.
    void enqueue(std::unique_ptr<Task> task);
    /// Queues a task in place of those still waiting, which it makes obsolete.
    void supersede(std::unique_ptr<Task> task);
    void run();
    bool perform(Task& task);
    bool append(const QByteArray& bytes);
    bool sync();
    void markSynced();
    bool writeFresh(const Task& task);
    bool compact();

    const QString m_path;
    // Touched by the writer thread only, once it runs.
    int m_fd = -1;
    qint64 m_size = 0;       // bytes of valid records in the file
    qint64 m_textLength = 0; // bytes of the journal's text after its last record
    DocumentEncoding m_encoding; // of the journal's text

    // Shared, under m_mutex.
    bool m_unsynced = false; // records written but not yet synced
    bool m_syncRequested = false; // waitIdle() wants it synced now
    std::chrono::steady_clock::time_point m_syncDue;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::unique_ptr<Task>> m_queue;
    bool m_busy = false;
    bool m_failing = false;
    std::chrono::steady_clock::time_point m_retryAt;
    bool m_stop = false;
    ErrorHandler m_onError;
    std::thread m_thread;
};
