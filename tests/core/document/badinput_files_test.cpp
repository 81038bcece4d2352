// Files that are not ordinary text, loaded into the editing area: each one
// either loads with every byte kept or fails with the documented message and
// leaves the text that was there.
#include "core/platform/apperror.h"
#include "core/text/editorbuffer.h"
#include "support/badfiles.h"
#include "support/testwindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QString kPrevious = QStringLiteral("previous text");

class BadFileLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        memo.setText(kPrevious);
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    /// The message of the error loadFromFile throws, or an empty text.
    QString loadError(const QString& file)
    {
        try {
            memo.loadFromFile(file);
        } catch (const AppError& e) {
            return e.message();
        }
        return {};
    }

    void expectCannotOpen(const QString& file)
    {
        EXPECT_EQ(loadError(file), QStringLiteral("Cannot open file %1").arg(file));
        EXPECT_EQ(memo.text(), kPrevious);
    }

    QTemporaryDir dir;
    EditorBuffer memo;
};

// The bytes with every lone CR and every lone LF made CRLF.
QByteArray withCrlfBreaks(QByteArray bytes)
{
    return bytes.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

} // namespace

TEST_F(BadFileLoad, BinaryAndNulBytesLoadAndSaveBackByteForByte)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        qsizetype characters = -1; // -1: one per byte, as in Windows-1251
    };
    QByteArray nuls("a\0b\0\0c\r\n\0", 9);
    QByteArray binary = allBytes() + allBytes();
    std::reverse(binary.begin() + 256, binary.end());
    const Case cases[] = {
        { "nuls.htm", nuls },
        { "leading-nul.bin", QByteArray("\0\0\0text", 7) },
        { "binary.bin", binary },
        // A mark followed by UTF-8 is read as UTF-8: characters, not bytes.
        { "utf8-bom.htm", QByteArray("\xEF\xBB\xBF<HTML>\xD0\x9F\xE2\x80\xA8"), 8 },
        { "separators.htm", QByteArray("a\x0b" "b\x0c" "c\x1c" "d\x1d" "e\x1e" "f\x85" "g") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path(c.name), c.bytes);
        memo.setText(kPrevious);
        EXPECT_EQ(loadError(path(c.name)), QString());
        // Only line breaks may change (lone CR/LF become CRLF); every other byte stays.
        EXPECT_EQ(memo.toBytes(), withCrlfBreaks(c.bytes));
        EXPECT_EQ(memo.textLength(), c.characters < 0 ? withCrlfBreaks(c.bytes).size() : c.characters);
    }
}

TEST_F(BadFileLoad, EmptyFileGivesEmptyText)
{
    writeFile(path("empty.htm"), QByteArray());
    ASSERT_TRUE(QFileInfo::exists(path("empty.htm")));
    EXPECT_EQ(loadError(path("empty.htm")), QString());
    EXPECT_EQ(memo.text(), QString());
}

TEST_F(BadFileLoad, DirectoriesAndMissingFilesCannotBeOpened)
{
    QDir(dir.path()).mkdir(QStringLiteral("folder.htm"));
    expectCannotOpen(path("folder.htm"));
    expectCannotOpen(path("missing.htm"));
    expectCannotOpen(QString());
}

TEST_F(BadFileLoad, DevicesThatNeverEndAreRefused)
{
    // /dev/zero reports size 0 and reads forever: loading it must not eat all memory.
    if (!QFileInfo::exists(QStringLiteral("/dev/zero")))
        GTEST_SKIP() << "no /dev/zero";
    expectCannotOpen(QStringLiteral("/dev/zero"));
}

TEST_F(BadFileLoad, FifoIsRefusedWithoutBlocking)
{
    const QString fifo = path("pipe.htm");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    QString error;
    const bool hung = badfiles::neededRescueFromFifo(fifo, 5, [&] { error = loadError(fifo); });
    EXPECT_FALSE(hung) << "opening a FIFO blocked until a writer came";
    EXPECT_EQ(error, QStringLiteral("Cannot open file %1").arg(fifo));
    EXPECT_EQ(memo.text(), kPrevious);
}

TEST_F(BadFileLoad, FileWithoutReadPermissionCannotBeOpened)
{
    // The temporary folder is private to root; "nobody" must reach the file itself.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString file = path("secret.htm");
    writeFile(file, "secret");
    QString error;
    const bool arranged = badfiles::whileUnreadable(file, [&] { error = loadError(file); });
    if (!arranged)
        GTEST_SKIP() << "cannot make a file unreadable here";
    EXPECT_EQ(error, QStringLiteral("Cannot open file %1").arg(file));
    EXPECT_EQ(memo.text(), kPrevious);
}

TEST_F(BadFileLoad, PathWithBlanksAndCyrillicLetters)
{
    QDir(dir.path()).mkdir(QStringLiteral("мои документы"));
    const QString file = path(QStringLiteral("мои документы/страница  с пробелами.htm"));
    writeFile(file, "\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
    EXPECT_EQ(loadError(file), QString());
    EXPECT_EQ(memo.text(), QStringLiteral("Привет\r\n"));
}

TEST_F(BadFileLoad, SymbolicLinkLoadsItsTarget)
{
    writeFile(path("real.htm"), "through the link");
    ASSERT_TRUE(QFile::link(path("real.htm"), path("link.htm")));
    EXPECT_EQ(loadError(path("link.htm")), QString());
    EXPECT_EQ(memo.text(), QStringLiteral("through the link"));

    ASSERT_TRUE(QFile::link(path("nowhere.htm"), path("dangling.htm")));
    memo.setText(kPrevious);
    expectCannotOpen(path("dangling.htm"));
}

TEST_F(BadFileLoad, CapacityCountsTheTextAfterLineBreaksAreMadeCrLf)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        bool fits;
    };
    const Case cases[] = {
        { "exactly ten bytes", "0123456789", true },
        { "eleven bytes", "0123456789A", false },
        { "nine bytes, ten after CRLF", "01234567\n", true },
        { "ten bytes, eleven after CRLF", "012345678\n", false },
        { "ten bytes of CRLF", "\r\n\r\n\r\n\r\n\r\n", true },
        { "six lone CRs, twelve after CRLF", "\r\r\r\r\r\r", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path("capacity.htm"), c.bytes);
        memo.setCapacity(EditorBuffer::kCapacity);
        memo.setText(kPrevious);
        memo.setCapacity(10);
        const QString error = loadError(path("capacity.htm"));
        if (c.fits) {
            EXPECT_EQ(error, QString());
            EXPECT_EQ(memo.toBytes(), withCrlfBreaks(c.bytes));
        } else {
            EXPECT_EQ(error, QStringLiteral("Text exceeds memo capacity"));
            EXPECT_EQ(memo.text(), kPrevious);
        }
    }
}
