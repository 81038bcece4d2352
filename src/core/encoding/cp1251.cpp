#include "core/encoding/cp1251.h"

#include <array>

namespace cp1251 {
namespace {

// Characters of the bytes 0x80-0xBF; 0xC0-0xFF are А..я in order.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    kUndefinedByteChar, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

// Byte of every UTF-16 code unit, -1 where the code page has none; built once.
const std::array<short, 0x10000>& reverseTable()
{
    static const auto table = [] {
        std::array<short, 0x10000> t;
        t.fill(-1);
        for (int b = 0; b < 0x80; ++b)
            t[static_cast<size_t>(b)] = static_cast<short>(b);
        for (int i = 0; i < 64; ++i)
            t[kHighHalf[static_cast<size_t>(i)]] = static_cast<short>(0x80 + i);
        for (int i = 0; i < 64; ++i) // А..я are contiguous at C0..FF
            t[static_cast<size_t>(0x0410 + i)] = static_cast<short>(0xC0 + i);
        return t;
    }();
    return table;
}

// Byte for c, or -1 when the code page has none.
int byteFor(char16_t c)
{
    return reverseTable()[c];
}

} // namespace

const std::array<char16_t, 256>& characters()
{
    static const auto table = [] {
        std::array<char16_t, 256> t {};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = b < 0x80 ? char16_t(b) : b < 0xC0 ? kHighHalf[size_t(b - 0x80)] : char16_t(0x0410 + (b - 0xC0));
        return t;
    }();
    return table;
}

QString decode(const QByteArray& bytes)
{
    const std::array<char16_t, 256>& table = characters();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char raw : bytes)
        *dst++ = QChar(table[static_cast<unsigned char>(raw)]);
    return out;
}

bool isEncodable(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

QString escapeUnencodable(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && isEncodable(text.at(first)))
        ++first;
    if (first == text.size())
        return text;

    QString out = text.left(first);
    for (qsizetype i = first; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isEncodable(c)) {
            out.append(c);
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        }
        out.append(QStringLiteral("&#%1;").arg(static_cast<uint>(code)));
    }
    return out;
}

QString decodeReferences(const QString& text)
{
    if (!text.contains(QStringLiteral("&#")))
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        // "&#" then 1 to 7 digits, the first not 0, then ';'.
        qsizetype end = i + 2;
        char32_t code = 0;
        if (text.at(i) == u'&' && end < text.size() && text.at(i + 1) == u'#' && text.at(end) != u'0') {
            while (end < text.size() && end - i < 9 && text.at(end) >= u'0' && text.at(end) <= u'9')
                code = code * 10 + (text.at(end++).unicode() - u'0');
        }
        const bool reference = end > i + 2 && end < text.size() && text.at(end) == u';' && code <= 0x10FFFF
            && (code > 0xFFFF || !isEncodable(QChar(char16_t(code))));
        if (!reference) {
            out.append(text.at(i++));
            continue;
        }
        // A lone surrogate was escaped on its own and comes back on its own.
        if (QChar::requiresSurrogates(code)) {
            out.append(QChar(QChar::highSurrogate(code)));
            out.append(QChar(QChar::lowSurrogate(code)));
        } else {
            out.append(QChar(char16_t(code)));
        }
        i = end + 1;
    }
    return out;
}

QByteArray encode(const QString& text)
{
    const QString safe = escapeUnencodable(text);
    QByteArray out(safe.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar c : safe)
        *dst++ = static_cast<char>(byteFor(c.unicode()));
    return out;
}

} // namespace cp1251
