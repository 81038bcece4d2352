#include "core/linebreaks.h"

#include "core/cp1251.h"

namespace linebreaks {

qsizetype normalisedLength(const QByteArray& bytes)
{
    qsizetype length = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c == '\r') {
            length += 2;
            if (i + 1 < n && bytes.at(i + 1) == '\n')
                ++i;
        } else if (c == '\n') {
            length += 2;
        } else {
            ++length;
        }
    }
    return length;
}

QString decodeToEditorText(const QByteArray& bytes)
{
    return toEditorText(cp1251::decode(bytes));
}

QString toEditorText(const QString& text)
{
    if (!text.contains(u'\r'))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out.append(u'\n');
            if (i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace linebreaks
