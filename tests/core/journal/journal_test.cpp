#include "core/journal/journalformat.h"
#include "core/journal/journalscan.h"
#include "core/journal/journalwriter.h"
#include "support/filebytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>

#include <sys/mount.h>

namespace jf = journalformat;

namespace {

QByteArray sample()
{
    return jf::documentRecord(QStringLiteral("/d.htm"), 1) + jf::stateRecord({}, 1)
        + jf::fullTextRecord("abc\r\ndef", 2) + jf::editRecord(1, 2, "XY", 3) + jf::editRecord(8, 0, "!", 4);
}

} // namespace

// A crash can cut the journal anywhere, or leave garbage in its last record:
// what was complete before stands, nothing after is replayed.
TEST(JournalFormat, ATornOrDamagedTailIsIgnored)
{
    const QByteArray whole = sample();
    const qint64 edit2 = jf::kOverhead + 17;
    const qint64 edit1 = jf::kOverhead + 18;
    struct Case {
        const char* name;
        QByteArray bytes;
        bool hasText;
        QByteArray text;
        qint64 lastTime;
    };
    QByteArray flipped = whole;
    flipped[flipped.size() - 6] = char(flipped[flipped.size() - 6] ^ 0x20);
    QByteArray badEdit = whole.left(whole.size() - edit2) + jf::editRecord(99, 0, "?", 5);
    const Case cases[] = {
        { "whole", whole, true, "aXY\r\ndef!", 4 },
        { "last record cut short", whole.left(whole.size() - 1), true, "aXY\r\ndef", 3 },
        { "only the last header left", whole.left(whole.size() - edit2 + 5), true, "aXY\r\ndef", 3 },
        { "a byte of the last record changed", flipped, true, "aXY\r\ndef", 3 },
        { "an edit beyond the text", badEdit, true, "aXY\r\ndef", 3 },
        { "both edits gone", whole.left(whole.size() - edit2 - edit1), true, "abc\r\ndef", 2 },
        { "full text cut", whole.left(whole.size() - edit2 - edit1 - 3), false, {}, 1 },
        { "text before any document record", jf::fullTextRecord("x", 1), false, {}, 0 },
        { "empty", {}, false, {}, 0 },
    };
    for (const Case& c : cases) {
        const jf::Content content = jf::read(c.bytes);
        EXPECT_EQ(content.hasText, c.hasText) << c.name;
        EXPECT_EQ(content.text, c.text) << c.name;
        EXPECT_EQ(content.lastTimeMs, c.lastTime) << c.name;
    }
    EXPECT_EQ(jf::read(whole).key, QStringLiteral("/d.htm"));
    EXPECT_EQ(jf::crc32(0, "123456789", 9), 0xCBF43926u) << "the standard check value";
}

// What a launch left behind, in the current form and in the older one
// without a fingerprint; a fingerprint longer than its record is damage.
TEST(JournalFormat, LaunchStateReadsBackInEveryForm)
{
    const auto withState = [](const QByteArray& payload) {
        // A state record built by hand: type, length, time, payload, CRC.
        const QByteArray state = jf::stateRecord({}, 1);
        QByteArray body = state.left(1);
        const quint32 length = quint32(payload.size());
        body.append(reinterpret_cast<const char*>(&length), 4).append(state.mid(5, 8)).append(payload);
        const quint32 crc = jf::crc32(0, body.constData(), body.size());
        return jf::documentRecord(QStringLiteral("/d.htm"), 1) + body + QByteArray(reinterpret_cast<const char*>(&crc), 4);
    };
    const jf::LaunchState current { true, "17:fingerprint", "saved" };
    const struct {
        const char* name;
        QByteArray journal;
        bool valid;
        jf::LaunchState expected;
    } cases[] = {
        { "nothing written", jf::documentRecord(QStringLiteral("/d.htm"), 1) + jf::stateRecord({}, 1), true, {} },
        { "written, with fingerprint", jf::documentRecord(QStringLiteral("/d.htm"), 1) + jf::stateRecord(current, 1), true, current },
        { "older form", withState(QByteArray("\1saved")), true, { true, {}, "saved" } },
        { "fingerprint past the record", withState(QByteArray("\2\x40short")), false, {} },
    };
    for (const auto& c : cases) {
        const jf::Content content = jf::read(c.journal);
        EXPECT_EQ(content.records, c.valid ? 2 : 1) << c.name;
        EXPECT_EQ(content.launch.wroteFile, c.expected.wroteFile) << c.name;
        EXPECT_EQ(content.launch.fingerprint, c.expected.fingerprint) << c.name;
        EXPECT_EQ(content.launch.snapshot, c.expected.snapshot) << c.name;
    }
}

// A UTF-8 document's journal names its encoding and keeps its texts as
// UTF-16LE, positions counting characters; anything out of step is damage.
TEST(JournalFormat, AUtf8DocumentsJournalReadsBackItsCharacters)
{
    const DocumentEncoding marked { Charset::Utf8, true };
    const QByteArray head = jf::documentRecord(QStringLiteral("/d.htm"), 1) + jf::stateRecord({}, 1);
    // "aЖ", then the Ж replaced by 😀 (a surrogate pair, two characters).
    const QByteArray text = jf::fullTextRecord(QByteArray("a\0\x16\x04", 4), 2);
    const QByteArray edit = jf::editRecord(1, 1, QByteArray("\x3D\xD8\x00\xDE", 4), 3);
    const struct {
        const char* name;
        QByteArray journal;
        int records;
        QString decoded;
    } cases[] = {
        { "whole", head + jf::encodingRecord(marked, {}, 1) + text + edit, 5, QString::fromUtf8("a😀") },
        { "an edit of half a character", head + jf::encodingRecord(marked, {}, 1) + text + jf::editRecord(1, 1, "x", 3), 4,
          QString::fromUtf8("aЖ") },
        { "an edit past the characters", head + jf::encodingRecord(marked, {}, 1) + text + jf::editRecord(2, 1, {}, 3), 4,
          QString::fromUtf8("aЖ") },
        { "the encoding after the text", head + text + jf::encodingRecord(marked, {}, 1), 3, QString::fromLatin1("a\0\x16\x04", 4) },
    };
    for (const auto& c : cases) {
        const jf::Content content = jf::read(c.journal);
        EXPECT_EQ(content.records, c.records) << c.name;
        EXPECT_EQ(jf::decodedText(content), c.decoded) << c.name;
    }
    const jf::Content content = jf::read(cases[0].journal);
    EXPECT_EQ(content.text, QByteArray("a\0\x3D\xD8\x00\xDE", 6));
    EXPECT_TRUE(content.encoding == marked);
    EXPECT_FALSE(content.launch.snapshotEncoding.isUtf8());
    // The snapshot's own encoding, separate from the document's.
    const jf::Content converted = jf::read(head + jf::encodingRecord({}, marked, 1) + jf::fullTextRecord("x", 2));
    EXPECT_FALSE(converted.encoding.isUtf8());
    EXPECT_TRUE(converted.launch.snapshotEncoding == marked);
}

TEST(JournalWriter, WritesLocksRewritesAndDeletesItsJournal)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("quillet"));
    auto writer = JournalWriter::create(folder, nullptr);
    ASSERT_TRUE(writer);
    const QString path = writer->path();
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QString::number(QCoreApplication::applicationPid()) + u'-'));

    writer->rewrite(QStringLiteral("/d.htm"), {}, {}, "base", {});
    // Enough typing on a short text to pass the rewrite threshold many times.
    QByteArray expected = "base";
    for (int i = 0; i < 20000; ++i) {
        writer->edit(expected.size(), 0, QStringLiteral("ab\n"));
        expected += "ab\r\n";
        writer->edit(expected.size() - 4, 4, QString());
        expected.chop(4);
    }
    writer->edit(0, 1, QStringLiteral("Б"));
    expected = "\xc1" + expected.mid(1);
    writer->waitIdle();
    const jf::Content content = jf::read(readAll(path));
    EXPECT_EQ(content.text, expected);
    EXPECT_LT(QFileInfo(path).size(), 2 * 64 * 1024) << "rewritten as one copy, not grown with every edit";
    EXPECT_FALSE(journalscan::newestOrphan(folder, QStringLiteral("/d.htm"), {})) << "locked while it runs";

    writer->discard();
    writer->waitIdle();
    EXPECT_FALSE(jf::read(readAll(path)).hasText);
    writer.reset();
    EXPECT_FALSE(QFile::exists(path));
}

// A full disk for the journal folder: a tiny file system of its own.
TEST(JournalWriter, AFullDiskIsReportedOnceAndWritingResumesWhenThereIsRoom)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("small"));
    QDir().mkpath(folder);
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=128k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): the full-disk case is not run";
    const QString filler = QDir(folder).filePath(QStringLiteral("filler"));
    {
        QFile f(filler);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100 * 1024, 'x'));
    }
    {
        auto writer = JournalWriter::create(folder, nullptr);
        ASSERT_TRUE(writer);
        std::atomic<int> errors { 0 };
        QString reported;
        writer->setErrorHandler([&](const QString& path) {
            reported = path;
            ++errors;
        });
        const QByteArray text(60 * 1024, 'a');
        writer->rewrite(QStringLiteral("/d.htm"), {}, {}, text, {});
        writer->edit(0, 0, QStringLiteral("b"));
        writer->waitIdle();
        EXPECT_EQ(errors.load(), 1);
        EXPECT_EQ(reported, writer->path());

        QFile::remove(filler);
        writer->edit(0, 0, QStringLiteral("c"));
        QThread::msleep(JournalWriter::kRetryDelayMs + 200);
        writer->waitIdle();
        EXPECT_EQ(jf::read(readAll(writer->path())).text, "cb" + text) << "nothing queued was dropped";
        EXPECT_EQ(errors.load(), 1);
    }
    ::umount(QFile::encodeName(folder).constData());
}
