#pragma once

#include "tools/pagecheck.h"

#include <QObject>
#include <QThreadPool>

/// Runs page checks off the GUI thread, one at a time, and hands back only
/// a result that still describes the text: a check overtaken by a newer one
/// is dropped, and one whose text changed while it ran is reported as
/// outdated instead.
class PageCheckRun : public QObject {
    Q_OBJECT

public:
    explicit PageCheckRun(QObject* parent = nullptr);
    /// Waits for a check still running: it holds no pointer back here, but
    /// the program must not end under it.
    ~PageCheckRun() override;

    /// Checks a copy of `text`; a check still running is dropped.
    void start(const QString& text);
    /// The text was edited: a running check describes it no more.
    void textChanged();
    bool isRunning() const { return m_running > 0; }

signals:
    void finished(const pagecheck::Result& result);
    /// The text changed while the latest check ran.
    void outdated();

private:
    /// One thread: checks never run side by side.
    QThreadPool m_pool;
    quint64 m_latest = 0;
    int m_running = 0;
    bool m_changed = false;
};
