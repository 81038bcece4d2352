#include "core/encoding/textencoding.h"

#include <gtest/gtest.h>

namespace {

struct Detection {
    const char* name;
    QByteArray bytes;
    Charset charset;
    bool mark;
};

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

// Every rule of the decision, with the near misses that must stay Windows-1251.
TEST(TextEncoding, TheFilesBytesDecideTheEncoding)
{
    const auto w = Charset::Windows1251;
    const auto u = Charset::Utf8;
    const Detection cases[] = {
        { "mark and UTF-8", "\xEF\xBB\xBF<p>\xD0\x9F</p>", u, true },
        { "mark and ASCII", "\xEF\xBB\xBF<p>a</p>", u, true },
        { "mark alone", "\xEF\xBB\xBF", u, true },
        { "mark and invalid bytes", "\xEF\xBB\xBF<p>\xCF\xF0</p>", w, false },
        { "UTF-8 Cyrillic", "<p>\xD0\x9F\xD1\x80\xD0\xB8</p>", u, false },
        { "UTF-8 outside the BMP", "a\xF0\x9F\x98\x80", u, false },
        { "largest code point", "\xF4\x8F\xBF\xBF", u, false },
        { "Windows-1251 Cyrillic", "<p>\xCF\xF0\xE8\xE2\xE5\xF2</p>", w, false },
        { "overlong NUL", "a\xC0\x80", w, false },
        { "overlong slash", "a\xE0\x80\xAF", w, false },
        { "overlong four bytes", "\xF0\x8F\xBF\xBF", w, false },
        { "high surrogate", "\xED\xA0\x80", w, false },
        { "low surrogate", "\xED\xBF\xBF", w, false },
        { "past U+10FFFF", "\xF4\x90\x80\x80", w, false },
        { "F5 lead", "\xF5\x80\x80\x80", w, false },
        { "cut at the end", "\xD0\x9F\xD0", w, false },
        { "lone continuation", "\x80", w, false },
        { "valid, then invalid far on", QByteArray("\xD0\x9F").repeated(5000) + "\xFF", w, false },
        { "ASCII", "<html><body>plain</body></html>", w, false },
        { "empty", "", w, false },
        { "meta charset", "<html><head><meta charset=\"utf-8\"></head>", u, false },
        { "meta charset, upper case, unquoted", "<META CHARSET=UTF-8>", u, false },
        { "meta charset utf8 in single quotes", "<meta charset='Utf8'/>", u, false },
        { "meta http-equiv", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", u, false },
        { "meta http-equiv, content first", "<meta content='text/html;charset=UTF8' http-equiv=content-type>", u, false },
        { "meta declaring windows-1251", "<meta charset=\"windows-1251\">", w, false },
        { "content without http-equiv", "<meta name=\"x\" content=\"charset=utf-8\">", w, false },
        { "metadata is no meta", "<metadata charset=\"utf-8\">", w, false },
        { "charset outside a meta", "<p>charset=utf-8</p>", w, false },
        { "meta starting past 1024 bytes", QByteArray(1030, ' ') + "<meta charset=\"utf-8\">", w, false },
        { "meta ending past 1024 bytes", QByteArray(1003, ' ') + "<meta charset=\"utf-8\">", w, false },
        { "meta ending at 1024 bytes", QByteArray(1002, ' ') + "<meta charset=\"utf-8\">", u, false },
        { "invalid bytes and meta utf-8", "<meta charset=\"utf-8\"><p>\xCF\xF0\xE8</p>", w, false },
    };
    for (const Detection& c : cases) {
        QString decoded;
        const DocumentEncoding found = textencoding::detect(c.bytes, &decoded);
        EXPECT_EQ(found.charset, c.charset) << c.name;
        EXPECT_EQ(found.byteOrderMark, c.mark) << c.name;
        // Without the decoded text wanted, the whole file is checked: same answer.
        EXPECT_EQ(textencoding::detect(c.bytes).charset, c.charset) << c.name;
    }
    QString decoded;
    textencoding::detect("\xEF\xBB\xBF\xEF\xBB\xBFx\xD0\x9F", &decoded);
    EXPECT_EQ(decoded, QChar(0xFEFF) + str("xП")) << "one mark is the file's, a second is text";
    EXPECT_EQ(textencoding::decode("\xEF\xBB\xBF\xEF\xBB\xBFx", { Charset::Utf8, true }), QChar(0xFEFF) + str("x"));
    EXPECT_EQ(textencoding::encode(QChar(0xFEFF) + str("x"), { Charset::Utf8, true }), "\xEF\xBB\xBF\xEF\xBB\xBFx");
}

TEST(TextEncoding, FirstInvalidByteIsFound)
{
    const struct {
        QByteArray bytes;
        qsizetype offset;
    } cases[] = {
        { "abc", -1 },
        { "ab\xC2", 2 },
        { "\xC2\xA0\xC1\xBF", 2 },
        { "xy\xE2\x82\xAC\xE2\x82", 5 },
        { "\xEF\xBF\xBD\xED\x9F\xBF\xED\xA0\x80", 6 },
        { QByteArray("12345678\xF0\x90\x80\x80" "12345678\xF4\x90\x80\x80"), 20 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(textencoding::firstInvalidUtf8(c.bytes), c.offset) << c.bytes.toPercentEncoding().toStdString();
}

TEST(TextEncoding, TheDeclarationIsFoundWhereItStands)
{
    const struct {
        const char* text;
        qsizetype start;
        const char* value;
    } cases[] = {
        { "<meta charset=\"utf-8\">", 15, "utf-8" },
        { "<p><META Charset = windows-1251 >", 19, "windows-1251" },
        { "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">", 60, "koi8-r" },
        { "<meta name=a><meta charset=\" utf8 \">", 29, "utf8" },
        { "<p>nothing declared</p>", -1, "" },
    };
    for (const auto& c : cases) {
        const auto found = textencoding::findCharsetDeclaration(str(c.text));
        if (c.start < 0) {
            EXPECT_FALSE(found.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(found.has_value()) << c.text;
        EXPECT_EQ(found->start, c.start) << c.text;
        EXPECT_EQ(found->value, str(c.value)) << c.text;
        EXPECT_EQ(found->length, qsizetype(strlen(c.value))) << c.text;
    }
}
