#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

/// Runs a step on the next modal window that opens while this object lives
/// (from inside the window's own event loop); the step must close it. A
/// window the step leaves open is closed after five seconds so that a failing
/// test cannot hang.
class ModalStep {
public:
    explicit ModalStep(std::function<void(QWidget*)> step)
        : m_step(std::move(step))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(10);
    }
    ModalStep(const ModalStep&) = delete;
    ModalStep& operator=(const ModalStep&) = delete;

    bool ran() const { return m_ran; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        m_poll.stop();
        m_ran = true;
        QPointer<QWidget> guard(modal);
        QTimer::singleShot(5000, modal, [guard] {
            if (guard && guard->isVisible())
                guard->close();
        });
        m_step(modal);
    }

    std::function<void(QWidget*)> m_step;
    QTimer m_poll;
    bool m_ran = false;
};
