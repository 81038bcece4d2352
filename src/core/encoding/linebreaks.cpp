#include "core/encoding/linebreaks.h"

#include "core/encoding/cp1251.h"

#include <algorithm>

namespace linebreaks {

namespace {

// Copies [src, end) to dst, each character through `map`, every CRLF, lone CR
// and lone LF as one '\n'; counts the breaks and the longest line. Returns
// the end of what was written. Safe in place (dst never passes src).
template <typename Char, typename Map>
char16_t* copyWithBreaks(const Char* src, const Char* const end, char16_t* dst, Map map, TextShape* shape)
{
    const char16_t* lineStart = dst;
    qsizetype breaks = 0;
    qsizetype longest = 0;
    while (src < end) {
        const Char c = *src++;
        if (c != Char('\r') && c != Char('\n')) {
            *dst++ = map(c);
            continue;
        }
        if (c == Char('\r') && src < end && *src == Char('\n'))
            ++src;
        longest = std::max<qsizetype>(longest, dst - lineStart);
        *dst++ = u'\n';
        lineStart = dst;
        ++breaks;
    }
    longest = std::max<qsizetype>(longest, dst - lineStart);
    if (shape)
        *shape = { breaks, longest };
    return dst;
}

} // namespace

QString decodeToEditorText(const QByteArray& bytes, TextShape* shape)
{
    // Start-up and Open go through here with up to 16 MiB: decoding, the
    // breaks and the line lengths are one loop, writing each character once.
    const std::array<char16_t, 256>& characters = cp1251::characters();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    const char* src = bytes.constData();
    const auto decode = [&characters](char b) { return characters[static_cast<unsigned char>(b)]; };
    char16_t* const dst = copyWithBreaks(src, src + bytes.size(), begin, decode, shape);
    out.truncate(dst - begin);
    return out;
}

void toEditorTextInPlace(QString& text, TextShape* shape)
{
    // A UTF-8 page comes here after Qt has decoded it: the breaks and the
    // line lengths in one loop, writing back over the text itself.
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* const dst = copyWithBreaks<char16_t>(begin, begin + text.size(), begin, [](char16_t c) { return c; }, shape);
    text.truncate(dst - begin);
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
