#pragma once

#include "tools/pagecheck.h"

#include <QObject>
#include <QThreadPool>

#include <functional>

/// Runs page checks off the GUI thread, one at a time, and hands back only
/// a result that still describes the text: a check overtaken by a newer one
/// is dropped, and one whose text changed while it ran is reported as
/// outdated instead.
///
/// The text is copied on the GUI thread, where the editor's document lives,
/// a slice per turn of the event loop, so even a page of megabytes never
/// holds up typing for longer than one slice takes.
class PageCheckRun : public QObject {
    Q_OBJECT

public:
    /// Gives the text between two positions; the slices of [0, length), read
    /// in order and joined, make the whole text.
    using Reader = std::function<QString(qsizetype from, qsizetype to)>;

    /// Positions read in one turn of the event loop.
    static constexpr qsizetype kSlice = 64 * 1024;

    explicit PageCheckRun(QObject* parent = nullptr);
    /// Waits for a check still running: it holds no pointer back here, but
    /// the program must not end under it.
    ~PageCheckRun() override;

    /// Checks a copy of the text `read` gives; a check still copying or
    /// running is dropped.
    void start(qsizetype length, Reader read);
    /// The text was edited: a check copying or running describes it no more.
    void textChanged();
    bool isBusy() const { return m_copying || m_running > 0; }
    /// The text of the latest check is still being copied.
    bool isCopying() const { return m_copying; }

signals:
    void finished(const pagecheck::Result& result);
    /// The text changed while the latest check copied or ran.
    void outdated();

private:
    /// Copies the next slices of check `check`, and hands the whole text to
    /// the thread once copied.
    void copySlice(quint64 check);

    /// One thread: checks never run side by side.
    QThreadPool m_pool;
    quint64 m_latest = 0;
    int m_running = 0;
    bool m_changed = false;

    // The copy in progress.
    bool m_copying = false;
    Reader m_read;
    qsizetype m_length = 0;
    qsizetype m_copied = 0;
    QString m_text;
};
