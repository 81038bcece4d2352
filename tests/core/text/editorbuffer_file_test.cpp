#include "core/platform/apperror.h"
#include "core/text/editorbuffer.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString writeTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    file.write(bytes);
    return path;
}

// The error text a call throws, or an empty string when it throws nothing.
template <typename Call>
QString errorOf(Call call)
{
    try {
        call();
    } catch (const AppError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

TEST(EditorBufferFile, EveryByteValueSurvivesLoadAndSave)
{
    // All 256 values, the line-break bytes only as CRLF pairs so that nothing
    // needs normalising: NUL, 0x98 (undefined in the code page) and 0xA0
    // (no-break space) included.
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n')
            continue;
        bytes.append(static_cast<char>(b));
    }
    bytes.insert(40, "\r\n");
    bytes.append("\r\n\xA0\x98\x00\r\n", 7);
    QTemporaryDir dir;
    EditorBuffer memo;
    EXPECT_EQ(memo.loadFromFile(writeTemp(dir, QStringLiteral("all.htm"), bytes)), bytes);
    EXPECT_EQ(memo.toBytes(), bytes);
    EXPECT_EQ(memo.textLength(), bytes.size());
    // Positions are bytes: the no-break space is where the file has it.
    memo.setSelStart(bytes.indexOf('\xA0'));
    memo.setSelLength(1);
    EXPECT_EQ(memo.getSelText(), QString(QChar(0x00A0)));
}

TEST(EditorBufferFile, LoadTurnsLoneBreaksIntoCrlf)
{
    struct Case {
        QByteArray file;
        QByteArray loaded;
    };
    const Case cases[] = {
        { "a\nb", "a\r\nb" },
        { "a\rb", "a\r\nb" },
        { "a\r\nb", "a\r\nb" },
        { "a\r\r\nb", "a\r\n\r\nb" },
        { "a\n\rb", "a\r\n\r\nb" },
        { "\n\n", "\r\n\r\n" },
        { "end\r", "end\r\n" },
        { "", "" },
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        EditorBuffer memo;
        // The bytes it returns become the saved-text snapshot.
        EXPECT_EQ(memo.loadFromFile(writeTemp(dir, QStringLiteral("breaks.txt"), c.file)), c.loaded)
            << c.file.toPercentEncoding().toStdString();
        EXPECT_EQ(memo.toBytes(), c.loaded) << c.file.toPercentEncoding().toStdString();
    }
}

TEST(EditorBufferFile, LoadReplacesTextAndFiresChange)
{
    QTemporaryDir dir;
    EditorBuffer memo;
    memo.setText(QStringLiteral("old"));
    memo.setSelStart(2);
    memo.insertPlainText(QStringLiteral("typed"));
    QSignalSpy changes(&memo, &EditorBuffer::changed);
    memo.loadFromFile(writeTemp(dir, QStringLiteral("new.htm"), "\xCF\xF0\xE8\xE2\xE5\xF2"));
    EXPECT_EQ(memo.text(), QString::fromUtf8("Привет"));
    EXPECT_EQ(memo.selStart(), 0);
    EXPECT_EQ(memo.selLength(), 0);
    EXPECT_GE(changes.count(), 1);
    EXPECT_FALSE(memo.document()->isUndoAvailable());
}

TEST(EditorBufferFile, FilesThatCannotBeOpenedKeepTheText)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.htm"));
    const QString folder = dir.path();
    // A device is no document: reading /dev/zero would never end.
    for (const QString& name : { missing, folder, QString(), QStringLiteral("/dev/zero") }) {
        EditorBuffer memo;
        memo.setText(QStringLiteral("kept\r\ntext"));
        memo.setSelStart(2);
        QSignalSpy changes(&memo, &EditorBuffer::changed);
        EXPECT_EQ(errorOf([&] { memo.loadFromFile(name); }), QStringLiteral("Cannot open file ") + name);
        EXPECT_EQ(memo.text(), QStringLiteral("kept\r\ntext"));
        EXPECT_EQ(memo.selStart(), 2);
        EXPECT_EQ(changes.count(), 0);
    }
}

TEST(EditorBufferFile, TextLongerThanCapacityIsRefused)
{
    QTemporaryDir dir;
    EditorBuffer memo;
    memo.setCapacity(10);
    memo.setText(QStringLiteral("previous"));
    QSignalSpy changes(&memo, &EditorBuffer::changed);

    // Exactly the capacity fits, one more does not.
    memo.loadFromFile(writeTemp(dir, QStringLiteral("ten.txt"), "0123456789"));
    EXPECT_EQ(memo.text(), QStringLiteral("0123456789"));
    memo.setText(QStringLiteral("previous"));
    changes.clear();
    EXPECT_EQ(errorOf([&] { memo.loadFromFile(writeTemp(dir, QStringLiteral("eleven.txt"), "0123456789A")); }),
              QStringLiteral("Text exceeds memo capacity"));
    EXPECT_EQ(memo.text(), QStringLiteral("previous"));
    EXPECT_EQ(changes.count(), 0);

    // Lone line feeds grow into CRLF: nine bytes that become eleven characters.
    EXPECT_EQ(errorOf([&] { memo.loadFromFile(writeTemp(dir, QStringLiteral("lf.txt"), "a\nb\nc\nd\ne")); }),
              QStringLiteral("Text exceeds memo capacity"));
    EXPECT_EQ(memo.text(), QStringLiteral("previous"));
}

TEST(EditorBufferFile, CapacityIsAtLeastSixteenMebibytes)
{
    EXPECT_GE(EditorBuffer::kCapacity, 16 * 1024 * 1024);
    EXPECT_EQ(EditorBuffer().capacity(), EditorBuffer::kCapacity);
}
