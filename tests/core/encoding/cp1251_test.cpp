#include "core/encoding/cp1251.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <optional>

namespace {

// The character glibc's own CP1251 converter gives for one byte, none where
// it has none (0x98 is the one undefined byte).
std::optional<char32_t> glibcCharacter(unsigned char byte)
{
    const iconv_t converter = iconv_open("UTF-32LE", "CP1251");
    if (converter == iconv_t(-1))
        return std::nullopt;
    char in = static_cast<char>(byte);
    char32_t out = 0;
    char* from = &in;
    char* to = reinterpret_cast<char*>(&out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t done = iconv(converter, &from, &inLeft, &to, &outLeft);
    iconv_close(converter);
    if (done == size_t(-1))
        return std::nullopt;
    return out;
}

} // namespace

TEST(Cp1251, EveryDefinedByteDecodesAsGlibcDecodesIt)
{
    for (int b = 0; b < 256; ++b) {
        const std::optional<char32_t> expected = b == 0x98 ? cp1251::kUndefinedByteChar
                                                           : glibcCharacter(static_cast<unsigned char>(b));
        ASSERT_TRUE(expected.has_value()) << "glibc has no CP1251 character for byte " << b;
        const QString decoded = cp1251::decode(QByteArray(1, static_cast<char>(b)));
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(uint(decoded.at(0).unicode()), uint(*expected)) << "byte 0x" << std::hex << b;
    }
}

TEST(Cp1251, EveryByteSurvivesDecodeAndEncode)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = cp1251::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(cp1251::encode(text), all);
}

TEST(Cp1251, UnencodableCharactersBecomeCharacterReferences)
{
    EXPECT_EQ(cp1251::escapeUnencodable(QString::fromUtf8("a中b")), QStringLiteral("a&#20013;b"));
    // A character outside the basic plane is one reference, not two.
    EXPECT_EQ(cp1251::escapeUnencodable(QString::fromUtf8("😀")), QStringLiteral("&#128512;"));
    EXPECT_EQ(cp1251::encode(QString::fromUtf8("ä")), QByteArray("&#228;"));
    EXPECT_TRUE(cp1251::isEncodable(QChar(cp1251::kUndefinedByteChar)));
    EXPECT_FALSE(cp1251::isEncodable(QChar(0x2028)));
}

TEST(Cp1251, ReferencesToUnencodableCharactersDecodeBack)
{
    const struct {
        const char* stored;
        const char* read; // UTF-8
    } cases[] = {
        { "/home/zo&#235;/bin", "/home/zoë/bin" },
        { "&#20013;&#128512;", "中😀" },
        { "&#65;&#1025;&#0235;&#235&#;&#x41;", "&#65;&#1025;&#0235;&#235&#;&#x41;" }, // never written by escaping
        { "&#1114112;&#99999999;&", "&#1114112;&#99999999;&" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1251::decodeReferences(QString::fromUtf8(c.stored)), QString::fromUtf8(c.read)) << c.stored;
    const QString lone = QString(QChar(0xD800)) + u'x';
    EXPECT_EQ(cp1251::decodeReferences(cp1251::escapeUnencodable(lone)), lone);
}
