#include "core/linebreaks.h"

#include "core/cp1251.h"

#include <algorithm>

namespace linebreaks {

QString decodeToEditorText(const QByteArray& bytes, TextShape* shape)
{
    // Start-up and Open go through here with up to 16 MiB: decoding, the
    // breaks and the line lengths are one loop, writing each character once.
    const std::array<char16_t, 256>& characters = cp1251::characters();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* dst = begin;
    const char16_t* lineStart = begin;
    qsizetype breaks = 0;
    qsizetype longest = 0;
    const char* src = bytes.constData();
    const char* const end = src + bytes.size();
    while (src < end) {
        const auto b = static_cast<unsigned char>(*src++);
        if (b != '\r' && b != '\n') {
            *dst++ = characters[b];
            continue;
        }
        if (b == '\r' && src < end && *src == '\n')
            ++src;
        longest = std::max<qsizetype>(longest, dst - lineStart);
        *dst++ = u'\n';
        lineStart = dst;
        ++breaks;
    }
    longest = std::max<qsizetype>(longest, dst - lineStart);
    out.truncate(dst - begin);
    if (shape)
        *shape = { breaks, longest };
    return out;
}

void toEditorTextInPlace(QString& text, TextShape* shape)
{
    // A UTF-8 page comes here after Qt has decoded it: the breaks and the
    // line lengths in one loop, writing back over the text itself.
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    const char16_t* src = begin;
    const char16_t* const end = begin + text.size();
    char16_t* dst = begin;
    const char16_t* lineStart = begin;
    qsizetype breaks = 0;
    qsizetype longest = 0;
    while (src < end) {
        const char16_t c = *src++;
        if (c != u'\r' && c != u'\n') {
            *dst++ = c;
            continue;
        }
        if (c == u'\r' && src < end && *src == u'\n')
            ++src;
        longest = std::max<qsizetype>(longest, dst - lineStart);
        *dst++ = u'\n';
        lineStart = dst;
        ++breaks;
    }
    longest = std::max<qsizetype>(longest, dst - lineStart);
    text.truncate(dst - begin);
    if (shape)
        *shape = { breaks, longest };
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
