#pragma once

// Readable gtest output for Qt string types. Force-included into every test.
#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << "bytes \"" << bytes.toPercentEncoding(" <>=\"/!-#&;:.,()*[]{}").toStdString() << '"';
}
