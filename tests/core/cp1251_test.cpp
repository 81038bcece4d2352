#include "core/cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, EveryByteSurvivesDecodeAndEncode)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = cp1251::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(cp1251::encode(text), all);
}

TEST(Cp1251, CyrillicAndSpecialCharacters)
{
    EXPECT_EQ(cp1251::decode("\xC0\xFF\xA8\xB8\xA0\x88\xB9"), QString::fromUtf8("АяЁё\u00A0€№"));
    EXPECT_EQ(cp1251::encode(QString::fromUtf8("Привет")), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2"));
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
