#pragma once

#include <QString>
#include <stdexcept>

/// An error that leaves a command handler and is shown in the general error
/// box; the window keeps its state.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/// The error box's text: a full stop is added when the last character sorts
/// after the full stop.
inline QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}
