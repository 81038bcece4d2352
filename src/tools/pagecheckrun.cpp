#include "tools/pagecheckrun.h"

#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

PageCheckRun::PageCheckRun(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

PageCheckRun::~PageCheckRun()
{
    m_pool.waitForDone();
}

void PageCheckRun::start(qsizetype length, Reader read)
{
    const quint64 check = ++m_latest;
    m_changed = false;
    m_copying = true;
    m_read = std::move(read);
    m_length = length;
    m_copied = 0;
    m_text = QString();
    m_text.reserve(length);
    copySlice(check);
}

void PageCheckRun::copySlice(quint64 check)
{
    if (check != m_latest)
        return;
    if (m_changed) {
        m_copying = false;
        m_text = QString();
        emit outdated();
        return;
    }
    const qsizetype to = qMin(m_copied + kSlice, m_length);
    m_text.append(m_read(m_copied, to));
    m_copied = to;
    if (m_copied < m_length) {
        QTimer::singleShot(0, this, [this, check] { copySlice(check); });
        return;
    }
    m_copying = false;
    ++m_running;
    QtConcurrent::run(&m_pool, [text = std::exchange(m_text, QString())] { return pagecheck::check(text); })
        .then(this, [this, check](const pagecheck::Result& result) {
            --m_running;
            if (check != m_latest)
                return;
            if (m_changed)
                emit outdated();
            else
                emit finished(result);
        });
}

void PageCheckRun::textChanged()
{
    if (isBusy())
        m_changed = true;
}
