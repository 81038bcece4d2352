#include "core/settings/inifile.h"
#include "support/filebytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

// A byte literal that may hold NUL bytes.
#define BYTES(literal) QByteArray(literal, sizeof(literal) - 1)

namespace {

struct ReadCase {
    const char* name;
    QByteArray file;
    QString section;
    QString key;
    QString expected; // "<default>" when the default is expected
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheValueByTheProfileRules)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniFile::fromBytes(c.file).value(c.section, c.key, QStringLiteral("<default>")), c.expected)
        << c.name;
}

const QByteArray kSettings = "[FONT]\r\nname=Arial\r\nsize=12\r\n\r\n[USER]\r\nname=\xC8\xE2\xE0\xED\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase { "plain", kSettings, "FONT", "size", "12" },
        ReadCase { "section and key in other case", kSettings, "font", "SIZE", "12" },
        ReadCase { "same key in another section", kSettings, "USER", "name", QString::fromUtf8("Иван") },
        ReadCase { "missing key", kSettings, "FONT", "style", "<default>" },
        ReadCase { "missing section", kSettings, "PATHS", "name", "<default>" },
        ReadCase { "empty file", "", "FONT", "name", "<default>" },
        ReadCase { "Cyrillic names match across case", "[\xCF\xF3\xF2\xE8]\r\n\xCA\xEB\xFE\xF7=1\r\n",
                   QString::fromUtf8("пути"), QString::fromUtf8("КЛЮЧ"), "1" },
        ReadCase { "blanks around names and value", "  [ FONT ]  \r\n\t size \t=\t 14 \t\r\n", "FONT", "size", "14" },
        ReadCase { "empty value is a value", "[A]\r\nk=\r\n", "A", "k", "" },
        ReadCase { "value keeps later '=' and quotes", "[A]\r\nk=\"a=b\" %1\r\n", "A", "k", "\"a=b\" %1" },
        ReadCase { "key before any section", "k=1\r\n[A]\r\n", "A", "k", "<default>" },
        ReadCase { "line without '=' is no key", "[A]\r\nk\r\nk2=2\r\n", "A", "k", "<default>" },
        ReadCase { "comment line", "[A]\r\n;k=1\r\n", "A", ";k", "<default>" },
        ReadCase { "no final line break", "[A]\r\nk=last", "A", "k", "last" },
        ReadCase { "bare line feeds", "[A]\nk=lf\n", "A", "k", "lf" },
        ReadCase { "bare carriage returns", "[A]\rk=cr\r", "A", "k", "cr" },
        ReadCase { "header without closing bracket", "[A\r\nk=1\r\n", "A", "k", "1" },
        ReadCase { "text after the header", "[A] junk\r\nk=1\r\n", "A", "k", "1" },
        ReadCase { "duplicate section: first key wins", "[A]\r\nk=1\r\n[A]\r\nk=2\r\n", "A", "k", "1" },
        ReadCase { "duplicate section: key only in the second", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nk=2\r\n", "A", "k",
                   "2" },
        ReadCase { "duplicate key: first wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1" },
        ReadCase { "NUL bytes are ordinary characters", BYTES("[A]\r\nk=a\0b\r\n"), "A", "k",
                   QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")) },
        ReadCase { "no match inside another section's key", "[A]\r\nk=[B]\r\n[B]\r\nk=b\r\n", "B", "k", "b" },
        ReadCase { "UTF-8 byte-order mark skipped, rest Windows-1251", "\xEF\xBB\xBF[A]\r\nk=\xC8\xE2\r\n", "A", "k",
                   QString::fromUtf8("Ив") },
        ReadCase { "byte-order mark only at the start", "[A]\r\n\xEF\xBB\xBFk=1\r\n", "A", "k", "<default>" }),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return "case" + std::to_string(info.index); });

TEST(IniFile, ValuesAreCutAt1023Characters)
{
    const QByteArray longValue(5000, 'x');
    const QString read = IniFile::fromBytes("[A]\r\nk=" + longValue + "\r\n").value("A", "k");
    EXPECT_EQ(read.size(), 1023);
    EXPECT_EQ(read, QString(1023, u'x'));
}

TEST(IniFile, MegabyteLinesAndManyLinesAreReadQuickly)
{
    QByteArray bytes = "[A]\r\n" + QByteArray(4 * 1024 * 1024, 'j') + "\r\n";
    bytes += QByteArray(1024 * 1024, '\n');
    bytes += "[B]\nk=found\n";
    IniFile ini = IniFile::fromBytes(bytes);
    EXPECT_EQ(ini.value("B", "k"), "found");
    ini.setValue("A", "new", "1");
    EXPECT_EQ(ini.value("A", "new"), "1");
    EXPECT_EQ(ini.value("B", "k"), "found");
}

struct WriteCase {
    const char* name;
    QByteArray before;
    QString section;
    QString key;
    QString value;
    QByteArray after;
    QString readBack = QStringLiteral("<the value>");
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust)
{
    const WriteCase& c = GetParam();
    IniFile ini = IniFile::fromBytes(c.before);
    ini.setValue(c.section, c.key, c.value);
    EXPECT_EQ(ini.toBytes(), c.after) << c.name;
    const QString readBack = c.readBack == QStringLiteral("<the value>") ? c.value : c.readBack;
    EXPECT_EQ(ini.value(c.section, c.key, "<default>"), readBack) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase { "replace in place, other lines kept", "; top\r\n[FONT]\r\n Size = 9 \r\nname=A\r\n", "font",
                    "size", "12", "; top\r\n[FONT]\r\n Size = 12\r\nname=A\r\n" },
        WriteCase { "add key after the section's last line, before blank lines",
                    "[FONT]\r\nname=A\r\n\r\n[USER]\r\nname=B\r\n", "FONT", "size", "10",
                    "[FONT]\r\nname=A\r\nsize=10\r\n\r\n[USER]\r\nname=B\r\n" },
        WriteCase { "add key to a last section without final break", "[FONT]\r\nname=A", "FONT", "size", "10",
                    "[FONT]\r\nname=A\r\nsize=10\r\n" },
        WriteCase { "add section at the end", "[FONT]\r\nname=A\r\n", "USER", "mail", "a@b",
                    "[FONT]\r\nname=A\r\n[USER]\r\nmail=a@b\r\n" },
        WriteCase { "add section after a last line without break", "junk", "A", "k", "v", "junk\r\n[A]\r\nk=v\r\n" },
        WriteCase { "new file", "", "PATHS", "msie", "C:\\x.exe", "[PATHS]\r\nmsie=C:\\x.exe\r\n" },
        WriteCase { "a file with bare line feeds keeps them", "[A]\nx=1\n", "A", "k", "v", "[A]\nx=1\nk=v\n" },
        WriteCase { "duplicate sections: the key's line is replaced", "[A]\r\nx=1\r\n[A]\r\nk=old\r\n", "a", "k",
                    "new", "[A]\r\nx=1\r\n[A]\r\nk=new\r\n" },
        WriteCase { "duplicate sections: a new key goes into the first", "[A]\r\nx=1\r\n[B]\r\n[A]\r\n", "A", "k",
                    "v", "[A]\r\nx=1\r\nk=v\r\n[B]\r\n[A]\r\n" },
        WriteCase { "line breaks in a value cannot add lines", "[A]\r\n", "A", "k", "1\r\n[B]\nx=2",
                    "[A]\r\nk=1  [B] x=2\r\n", "1  [B] x=2" },
        WriteCase { "Windows-1251 text", "", QString::fromUtf8("ПУТИ"), "k", QString::fromUtf8("Ёж"),
                    "[\xCF\xD3\xD2\xC8]\r\nk=\xA8\xE6\r\n" },
        WriteCase { "characters outside the code page become references", "", "A", "k", QString::fromUtf8("中"),
                    "[A]\r\nk=&#20013;\r\n", "&#20013;" },
        WriteCase { "a UTF-8 byte-order mark stays in front", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2",
                    "\xEF\xBB\xBF[A]\r\nk=2\r\n" },
        WriteCase { "a byte-order mark before a new section", "\xEF\xBB\xBF", "A", "k", "v",
                    "\xEF\xBB\xBF[A]\r\nk=v\r\n" },
        WriteCase { "NUL bytes elsewhere survive", BYTES("[A]\r\nz=\0\r\n"), "A", "k", "v",
                    BYTES("[A]\r\nz=\0\r\nk=v\r\n") }),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return "case" + std::to_string(info.index); });

// Random junk: reading never crashes, a written value reads back, and values
// of other keys that were readable before stay the same.
TEST(IniFile, RandomJunkNeverBreaksReadingOrWriting)
{
    QRandomGenerator rng(20261208);
    const char alphabet[] = "[]=;\r\n \tAakK\0\xC0\xE0x";
    for (int round = 0; round < 2000; ++round) {
        QByteArray junk;
        const int length = rng.bounded(200);
        for (int i = 0; i < length; ++i) {
            junk.append(rng.bounded(4) == 0 ? static_cast<char>(rng.bounded(256))
                                            : alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
        }
        IniFile ini = IniFile::fromBytes(junk);
        const QString otherBefore = ini.value("a", "x", "<none>");
        ini.setValue("K", "k", "written");
        ASSERT_EQ(ini.value("k", "K"), "written") << junk.toHex().constData();
        ASSERT_EQ(ini.value("a", "x", "<none>"), otherBefore) << junk.toHex().constData();
        // Writing again changes the line in place: the file does not grow.
        const qsizetype size = ini.toBytes().size();
        ini.setValue("K", "k", "written");
        ASSERT_EQ(ini.toBytes().size(), size) << junk.toHex().constData();
    }
}

TEST(IniFile, MissingFileGivesDefaultsAndWritingCreatesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Brannoc Quillet.ini");
    bool ok = false;
    EXPECT_EQ(IniFile::load(path, &ok).toBytes(), QByteArray());
    EXPECT_TRUE(ok);
    EXPECT_EQ(IniFile::readValue(path, "FONT", "name", "Courier New"), "Courier New");

    QString error;
    ASSERT_TRUE(IniFile::writeValue(path, "FONT", "name", "Arial", &error)) << error.toStdString();
    ASSERT_TRUE(IniFile::writeValue(path, "FONT", "size", "9", &error)) << error.toStdString();
    ASSERT_TRUE(IniFile::writeValue(path, "USER", "name", "x", &error)) << error.toStdString();
    ASSERT_TRUE(IniFile::writeValue(path, "font", "NAME", "Verdana", &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("[FONT]\r\nname=Verdana\r\nsize=9\r\n[USER]\r\nname=x\r\n"));
    EXPECT_EQ(IniFile::readValue(path, "Font", "Size", ""), "9");
}

TEST(IniFile, FilesThatAreNoRegularFilesAreNeitherReadNorOverwritten)
{
    QTemporaryDir dir;
    const QString sub = dir.filePath("sub");
    ASSERT_TRUE(QDir().mkdir(sub));
    bool ok = true;
    IniFile::load(sub, &ok);
    EXPECT_FALSE(ok);
    QString error;
    EXPECT_FALSE(IniFile::writeValue(sub, "A", "k", "v", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(sub).isDir());

    // A pipe would block a reader that waits for its end.
    const QString fifo = dir.filePath("pipe.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(IniFile::readValue(fifo, "A", "k", "<default>"), "<default>");
    EXPECT_FALSE(IniFile::writeValue(fifo, "A", "k", "v"));
}

TEST(IniFile, WritingKeepsTheOtherBytesOfARealFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    const QByteArray before = BYTES("\xEF\xBB\xBF; comment\r\n[PATHS]\r\nmsie=old\r\n\r\nloose line\n\0junk");
    writeAll(path, before);
    ASSERT_TRUE(IniFile::writeValue(path, "paths", "MSIE", "new"));
    QByteArray expected = before;
    expected.replace("msie=old", "msie=new");
    EXPECT_EQ(readAll(path), expected);
}

} // namespace
