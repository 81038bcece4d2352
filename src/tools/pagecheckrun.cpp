#include "tools/pagecheckrun.h"

#include <QtConcurrent/QtConcurrentRun>

PageCheckRun::PageCheckRun(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

PageCheckRun::~PageCheckRun()
{
    m_pool.waitForDone();
}

void PageCheckRun::start(const QString& text)
{
    const quint64 check = ++m_latest;
    m_changed = false;
    ++m_running;
    QtConcurrent::run(&m_pool, [text] { return pagecheck::check(text); })
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
    if (m_running > 0)
        m_changed = true;
}
