#include "core/document/diskfile.h"
#include "core/document/documentjournal.h"
#include "core/document/documentstate.h"
#include "core/document/savedtextsnapshot.h"
#include "core/journal/journalformat.h"
#include "core/journal/journalscan.h"
#include "core/text/editorbuffer.h"
#include "support/fakeplatform.h"
#include "support/filebytes.h"
#include "ui/qtuserprompts.h"
#include "ui/umain.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// An editor window whose journals live in `state`: what two editors of the
// same user share.
struct Editor {
    Editor(const QString& config, const QString& state, const QStringList& arguments, QList<Answer> answers = {})
    {
        fake.dirs.directory = config;
        fake.dirs.stateDir = state;
        fake.prompts.answers = answers;
        window = std::make_unique<Tmain>(fake.platform(), arguments);
    }
    EditorBuffer& memo() { return *window->memo(); }
    AppContext& ctx() { return window->context(); }
    DocumentJournal& journal() { return *ctx().journal; }
    // What the journal would give back after a crash now.
    journalformat::Content journaled()
    {
        journal().waitIdle();
        return journalformat::read(readAll(journal().path()));
    }

    FakePlatform fake;
    std::unique_ptr<Tmain> window;
};

struct JournalTest : ::testing::Test {
    JournalTest()
    {
        writeAll(dir.filePath(QStringLiteral("Brannoc Quillet.ini")), "[USER]\r\nname=Tester\r\n");
    }
    QString folder() const { return dir.filePath(QStringLiteral("state/quillet")); }
    std::unique_ptr<Editor> editor(const QStringList& arguments = {}, QList<Answer> answers = {})
    {
        return std::make_unique<Editor>(dir.path(), dir.filePath(QStringLiteral("state")), arguments, answers);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        writeAll(path, bytes);
        return path;
    }
    // What a dead editor leaves: a journal nobody holds.
    QString orphan(const QString& key, const QByteArray& text, qint64 timeMs,
                   const journalformat::LaunchState& launch = {}, const QString& name = QStringLiteral("1-a.journal"))
    {
        QDir().mkpath(folder());
        const QString path = QDir(folder()).filePath(name);
        writeAll(path, journalformat::documentRecord(key, timeMs) + journalformat::stateRecord(launch, timeMs)
                           + journalformat::fullTextRecord(text, timeMs));
        return path;
    }
    QStringList journals() const { return QDir(folder()).entryList({ QStringLiteral("*.journal*") }, QDir::Files); }

    QTemporaryDir dir;
};

void type(EditorBuffer& memo, const QString& keys)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar c = keys.at(i);
        if (c.unicode() < 0x80) {
            QTest::keyClick(&memo, char(c.unicode()));
            continue;
        }
        // A character outside the BMP is one key with both its halves.
        const qsizetype length = c.isHighSurrogate() && i + 1 < keys.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, keys.mid(i, length));
        QApplication::sendEvent(&memo, &press);
        i += length - 1;
    }
}

} // namespace

// The journal's text is compared with the editor's own bytes after each kind
// of change: typing, line breaks typed and deleted, commands, whole-text
// commands, all through the widget's change notification; in a Windows-1251
// page and in a UTF-8 page, each ending with a conversion to the other;
// undo and redo among them.
TEST_F(JournalTest, EveryKindOfChangeReplaysToTheEditorsBytes)
{
    for (const QByteArray& page : { QByteArray("<HTML>\r\n<BODY>\r\n  a   b  \r\n</BODY>\r\n</HTML>"),
                                      QByteArray("<HTML>\r\n<BODY>\r\n  \xD0\x96   \xF0\x9F\x98\x80  \r\n</BODY>\r\n</HTML>") }) {
        SCOPED_TRACE(page.toStdString());
        const QString doc = file(QStringLiteral("page.htm"), page);
        auto e = editor({ doc });
        EditorBuffer& memo = e->memo();
        const QString key = journalscan::documentKey(doc);
        // A whole-text command leaves one full copy; every other change
        // appends to the journal.
        struct Step {
            const char* name;
            bool wholeText;
            std::function<void()> run;
        };
        const std::vector<Step> steps = {
            { "typing in the middle", false, [&] { memo.setSelStart(8); type(memo, QStringLiteral("Привет")); } },
            { "Enter", false, [&] { QTest::keyClick(&memo, Qt::Key_Return); } },
            { "Backspace over a line break", false, [&] { memo.setSelStart(8); QTest::keyClick(&memo, Qt::Key_Backspace); } },
            { "Delete over a line break", false, [&] { memo.setSelStart(6); QTest::keyClick(&memo, Qt::Key_End); QTest::keyClick(&memo, Qt::Key_Delete); } },
            { "selection across lines replaced", false, [&] { memo.setSelStart(3); memo.setSelLength(12); type(memo, QStringLiteral("x")); } },
            { "a command's text", false, [&] { memo.setSelStart(2); memo.setSelLength(3); e->window->Bold1Click(); } },
            { "a line replaced", false, [&] { memo.setLine(0, QStringLiteral("<P>\r\n<P>")); } },
            { "space removal", true, [&] { e->window->Nospase1Click(); } },
            { "select all + Ctrl+B", true, [&] { e->window->SelectAll1Click(); e->window->Bold1Click(); } },
            { "typing at the very end", false, [&] { memo.setSelStart(memo.textLength()); type(memo, QStringLiteral("z\r")); } },
            { "typing at the very start", false, [&] { memo.setSelStart(0); type(memo, QStringLiteral("0")); } },
            // A line longer than the bound is kept in pieces joined without a break.
            { "a long line put in", false, [&] { memo.setSelStart(1); memo.setSelText(QStringLiteral("<I>ab</I>").repeated(1000)); } },
            { "typing after a join", false, [&] { memo.setSelStart(1 + 2 * 1024); type(memo, QStringLiteral("q")); } },
            { "Enter in a long line", false, [&] { memo.setSelStart(5000); QTest::keyClick(&memo, Qt::Key_Return); } },
            { "select all + Ctrl+B over long lines", true, [&] { e->window->SelectAll1Click(); e->window->Bold1Click(); } },
            { "typing after a join again", false, [&] { memo.setSelStart(4 + 3 * 1024); type(memo, QStringLiteral("w")); } },
            // Undo and redo are edits like any other; a whole text comes back whole.
            { "undo of the typing", false, [&] { e->window->Undo1Click(); } },
            { "undo of select all + Ctrl+B over long lines", true, [&] { e->window->Undo1Click(); } },
            { "undo of Enter in a long line", false, [&] { QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier); } },
            { "redo of Enter", false, [&] { QTest::keyClick(&memo, Qt::Key_Y, Qt::ControlModifier); } },
            { "redo of select all + Ctrl+B", true, [&] { e->window->Redo1Click(); } },
            { "redo of the typing", false, [&] { e->window->Redo1Click(); } },
            { "typing outside the BMP", false, [&] { memo.setSelStart(7); type(memo, QString::fromUtf8("😀")); } },
            { "a conversion", true, [&] { e->window->findChild<QAction*>(memo.encoding().isUtf8() ? "Win12511" : "Utf81")->trigger(); } },
            { "typing after the conversion", false, [&] { memo.setSelStart(3); type(memo, QString::fromUtf8("ж😀")); } },
            { "undo of the typing after the conversion", false, [&] { e->window->Undo1Click(); } },
            { "undo of the conversion", true, [&] { e->window->Undo1Click(); } },
            { "redo of the conversion", true, [&] { e->window->Redo1Click(); } },
        };
        int records = 0;
        for (const Step& step : steps) {
            step.run();
            const journalformat::Content content = e->journaled();
            EXPECT_TRUE(content.hasText) << step.name;
            EXPECT_EQ(journalformat::decodedText(content), memo.text()) << step.name;
            EXPECT_TRUE(content.encoding == memo.encoding()) << step.name;
            EXPECT_EQ(content.key, key) << step.name;
            // Document, state and text; and the encodings when UTF-8 is one of them.
            const bool utf8 = memo.encoding().isUtf8() || e->ctx().memo2->encoding().isUtf8();
            if (step.wholeText)
                EXPECT_EQ(content.records, utf8 ? 4 : 3) << step.name;
            else
                EXPECT_GT(content.records, records) << step.name;
            records = content.records;
        }
    }
}

// Two lines of 3,000 characters joined by Delete make one line past the
// display bound that is still one block: the whole-text command that follows
// puts it in as pieces, and the journal must hold the line, not the pieces.
TEST_F(JournalTest, WholeTextCommandsOverALongLineWithoutJoinsReplayAsTheyStand)
{
    const QByteArray half(2998, 'a');
    const QByteArray line1 = "<P>  " + half.left(2995);   // 3,000 characters
    const QByteArray line2 = "b  " + half.left(2997);     // 3,000 characters
    const QByteArray joined = line1 + line2;              // 6,000: past the bound, below twice it
    const QByteArray spaced = "<P> " + half.left(2995) + "b " + half.left(2997);
    struct Row {
        const char* name;
        std::function<void(Editor&)> run;
        QByteArray expected;
    };
    const Row rows[] = {
        { "space removal", [](Editor& e) { e.window->Nospase1Click(); }, spaced + "\r\n</HTML>" },
        { "space removal, then typing in the fourth piece",
          [](Editor& e) {
              e.window->Nospase1Click();
              e.memo().setSelStart(3 * 1024 + 10);
              type(e.memo(), QStringLiteral("xy"));
          },
          spaced.left(3 * 1024 + 10) + "xy" + spaced.mid(3 * 1024 + 10) + "\r\n</HTML>" },
        { "space removal, then Delete over the joins",
          [](Editor& e) {
              e.window->Nospase1Click();
              e.memo().setSelStart(1024 - 1);
              e.memo().setSelLength(2 * 1024 + 2);
              QTest::keyClick(&e.memo(), Qt::Key_Delete);
          },
          spaced.left(1024 - 1) + spaced.mid(3 * 1024 + 1) + "\r\n</HTML>" },
    };
    for (const Row& row : rows) {
        const QString doc = file(QStringLiteral("long.htm"), line1 + "\r\n" + line2 + "\r\n</HTML>");
        auto e = editor({ doc });
        e->memo().setSelStart(line1.size());
        QTest::keyClick(&e->memo(), Qt::Key_Delete);
        ASSERT_EQ(e->memo().toBytes(), joined + "\r\n</HTML>") << row.name;
        row.run(*e);
        EXPECT_TRUE(e->memo().toBytes() == row.expected) << row.name;
        const journalformat::Content content = e->journaled();
        EXPECT_EQ(content.text.count("\r\n"), 1) << row.name << ": no line break that was never typed";
        EXPECT_TRUE(content.text == row.expected) << row.name << ": " << content.text.size() << " bytes replayed";
    }
}

TEST_F(JournalTest, SavingClosingAndNewLeaveNothingToRecover)
{
    const QString doc = file(QStringLiteral("page.htm"), "<HTML>");
    auto e = editor({ doc });
    type(e->memo(), QStringLiteral("abc"));
    // Document, state, the loaded text taken from the snapshot (never read
    // back from the editing area), then one record per key.
    ASSERT_EQ(e->journaled().records, 6);
    const QString journalPath = e->journal().path();
    EXPECT_TRUE(journalPath.contains(QString::number(QCoreApplication::applicationPid()))) << journalPath.toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    e->window->Save2Click();
    EXPECT_FALSE(e->journaled().hasText) << "saved";

    type(e->memo(), QStringLiteral("d"));
    ASSERT_TRUE(e->journaled().hasText);
    e->fake.prompts.answers = { Answer::No };
    e->window->NewDocClick();
    EXPECT_FALSE(e->journaled().hasText) << "replaced after New's question";

    type(e->memo(), QStringLiteral("e"));
    EXPECT_EQ(e->journaled().text, e->memo().toBytes()) << "the new document's text";
    EXPECT_EQ(e->journaled().key, QString()) << "untitled";

    e->fake.prompts.answers = { Answer::No };
    EXPECT_TRUE(e->window->close()) << "closing answered No";
    e.reset();
    EXPECT_FALSE(QFile::exists(journalPath));
}

TEST_F(JournalTest, StartUpOffersTheNewestOrphanAndYesRestoresItsText)
{
    const QByteArray onDisk = "<HTML>\r\nsaved\r\n</HTML>";
    const QString doc = file(QStringLiteral("page.htm"), onDisk);
    const QString link = dir.filePath(QStringLiteral("link.htm"));
    QFile::link(doc, link);
    const qint64 t = QDateTime(QDate(2026, 3, 4), QTime(5, 6)).toMSecsSinceEpoch();
    const QString key = journalscan::documentKey(doc);
    orphan(key, "older", t - 60000, {}, QStringLiteral("1-old.journal"));
    const QString newest = orphan(key, "<HTML>\r\nunsaved Ж\r\n</HTML>", t, {}, QStringLiteral("2-new.journal"));
    orphan(journalscan::documentKey(dir.filePath(QStringLiteral("other.htm"))), "other", t + 1,
           {}, QStringLiteral("3-other.journal"));

    auto e = editor({ link }, { Answer::Yes });
    ASSERT_EQ(e->fake.prompts.boxes.size(), 1);
    const MessageBoxSpec& box = e->fake.prompts.boxes.first();
    EXPECT_EQ(box.caption, QStringLiteral("Confirm"));
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.text, QStringLiteral("Найден несохранённый текст документа %1 (04.03.2026 05:06).\n\rВосстановить его?").arg(link));
    EXPECT_EQ(box.buttons, QList<Answer>({ Answer::Yes, Answer::No }));
    EXPECT_EQ(box.defaultButton, Answer::Yes);

    EXPECT_EQ(e->memo().toBytes(), QByteArray("<HTML>\r\nunsaved Ж\r\n</HTML>"));
    EXPECT_TRUE(e->ctx().doc.modified);
    EXPECT_EQ(e->ctx().doc.fileName, link);
    EXPECT_EQ(e->window->windowTitle(), QStringLiteral("Brannoc Quillet 1.7 [%1]").arg(link));
    EXPECT_EQ(e->ctx().memo2->bytes(), onDisk);
    EXPECT_EQ(e->journaled().text, e->memo().toBytes()) << "this editor's journal took the text over";
    EXPECT_FALSE(QFile::exists(newest)) << "the recovered orphan is gone";

    e->fake.prompts.answers = { Answer::No };
    e->window->close();
    EXPECT_EQ(readAll(doc), onDisk) << "closing with No gives the file what it had";
}

// A UTF-8 page's journal gives it back as UTF-8 with its mark, and the
// snapshot in its own encoding.
TEST_F(JournalTest, ARecoveredUtf8PageComesBackAsUtf8WithItsMark)
{
    const QByteArray onDisk = "\xEF\xBB\xBF<p>\xD0\x96</p>";
    const QString doc = file(QStringLiteral("page.htm"), onDisk);
    const DocumentEncoding marked { Charset::Utf8, true };
    const qint64 t = QDateTime::currentMSecsSinceEpoch();
    QDir().mkpath(folder());
    // "<p>Ж😀</p>" in UTF-16LE.
    const QByteArray text("<\0p\0>\0\x16\x04\x3D\xD8\x00\xDE<\0/\0p\0>\0", 20);
    writeAll(QDir(folder()).filePath(QStringLiteral("1-a.journal")),
             journalformat::documentRecord(journalscan::documentKey(doc), t)
                 + journalformat::stateRecord({ true, {}, onDisk }, t) + journalformat::encodingRecord(marked, marked, t)
                 + journalformat::fullTextRecord(text, t));
    auto e = editor({ doc }, { Answer::Yes });
    EXPECT_EQ(e->memo().text(), QString::fromUtf8("<p>Ж😀</p>"));
    EXPECT_TRUE(e->memo().encoding() == marked);
    EXPECT_TRUE(e->window->findChild<QAction*>(QStringLiteral("Utf81"))->isChecked());
    EXPECT_TRUE(e->ctx().memo2->encoding() == marked);
    const journalformat::Content kept = e->journaled();
    EXPECT_EQ(kept.text, text) << "this editor's journal took the text over";
    EXPECT_TRUE(kept.encoding == marked);
    e->window->Save2Click();
    EXPECT_EQ(readAll(doc), QByteArray("\xEF\xBB\xBF<p>\xD0\x96\xF0\x9F\x98\x80</p>"));

    // No to the question after a preview: the file gets its saved UTF-8
    // back, and the editor shows it as UTF-8.
    const QByteArray previewed = "\xEF\xBB\xBF<p>\xD0\x96\xF0\x9F\x98\x80</p>";
    writeAll(doc, previewed);
    DocumentState wrote;
    diskfile::rememberLaunchWrite(wrote, doc, previewed);
    e.reset();
    writeAll(QDir(folder()).filePath(QStringLiteral("1-b.journal")),
             journalformat::documentRecord(journalscan::documentKey(doc), t)
                 + journalformat::stateRecord({ true, wrote.launchFingerprint, onDisk }, t)
                 + journalformat::encodingRecord(marked, marked, t) + journalformat::fullTextRecord(text, t));
    auto declined = editor({ doc }, { Answer::No });
    EXPECT_EQ(readAll(doc), onDisk);
    EXPECT_EQ(declined->memo().text(), QString::fromUtf8("<p>Ж</p>"));
    EXPECT_TRUE(declined->memo().encoding() == marked);
    EXPECT_EQ(declined->memo().toBytes(), onDisk);
}

TEST_F(JournalTest, DecliningDeletesTheOrphanAndEscapeKeepsIt)
{
    const QByteArray onDisk = "saved";
    const QString doc = file(QStringLiteral("page.htm"), onDisk);
    const QString path = orphan(journalscan::documentKey(doc), "unsaved", QDateTime::currentMSecsSinceEpoch());
    {
        auto e = editor({ doc }, { Answer::Cancel });
        EXPECT_EQ(e->fake.prompts.boxes.size(), 1);
        EXPECT_EQ(e->memo().toBytes(), onDisk);
        EXPECT_FALSE(e->ctx().doc.modified);
    }
    EXPECT_TRUE(QFile::exists(path)) << "Escape keeps it for the next start";
    {
        auto e = editor({ doc }, { Answer::No });
        EXPECT_EQ(e->fake.prompts.boxes.size(), 1);
        EXPECT_EQ(e->memo().toBytes(), onDisk);
    }
    EXPECT_FALSE(QFile::exists(path)) << "No deletes it";
    auto e = editor({ doc });
    EXPECT_TRUE(e->fake.prompts.boxes.isEmpty());
}

// A preview wrote "edited, previewed" into the file before the crash. Closing
// the recovered text with No gives the file its saved bytes back only while
// it still holds what the preview wrote; a file another program wrote after
// the crash is left alone, and saving over it asks first.
TEST_F(JournalTest, RecoveryRestoresLaunchWroteFileAndTheSnapshot)
{
    const QByteArray before = "as last saved";
    const QByteArray previewed = "edited, previewed";
    DocumentState wrote;
    diskfile::rememberLaunchWrite(wrote, QStringLiteral("x"), previewed);
    const struct {
        const char* name;
        QByteArray onDisk;
        QByteArray fingerprint;
        QByteArray afterNo;
    } cases[] = {
        { "file as the preview left it", previewed, wrote.launchFingerprint, before },
        { "file written by another program since", "another program's", wrote.launchFingerprint, "another program's" },
        { "journal without a fingerprint", previewed, {}, before },
    };
    for (const auto& c : cases) {
        const QString doc = file(QStringLiteral("page.htm"), c.onDisk);
        orphan(journalscan::documentKey(doc), "edited, previewed, more", QDateTime::currentMSecsSinceEpoch(),
               { true, c.fingerprint, before });
        auto e = editor({ doc }, { Answer::Yes });
        EXPECT_TRUE(e->ctx().doc.launchWroteFile) << c.name;
        EXPECT_EQ(e->ctx().memo2->bytes(), before) << c.name;
        EXPECT_EQ(e->journaled().launch.fingerprint, wrote.launchFingerprint) << c.name << ": kept for the next crash";
        if (c.onDisk == c.afterNo) { // another program's bytes
            e->fake.prompts.answers = { Answer::No };
            e->window->Save2Click();
            ASSERT_EQ(e->fake.prompts.boxes.size(), 2) << c.name << ": saving asks before overwriting";
            EXPECT_EQ(readAll(doc), c.onDisk) << c.name;
        }
        e->fake.prompts.answers = { Answer::No };
        e->window->close();
        EXPECT_EQ(readAll(doc), c.afterNo) << c.name;
    }
    // No to the question itself leaves the file as closing with No does,
    // and the editor shows it.
    for (const auto& c : cases) {
        const QString doc = file(QStringLiteral("page.htm"), c.onDisk);
        const QString path = orphan(journalscan::documentKey(doc), "edited, previewed, more",
                                    QDateTime::currentMSecsSinceEpoch(), { true, c.fingerprint, before });
        auto e = editor({ doc }, { Answer::No });
        EXPECT_EQ(readAll(doc), c.afterNo) << c.name << ": declined";
        EXPECT_EQ(e->memo().toBytes(), c.afterNo) << c.name << ": declined";
        EXPECT_FALSE(e->ctx().doc.modified) << c.name << ": declined";
        EXPECT_FALSE(QFile::exists(path)) << c.name << ": declined";
        e->window->close();
        EXPECT_TRUE(e->fake.prompts.boxes.size() == 1) << c.name << ": closing asks nothing";
    }
}

// A text emptied by Clear all before a crash: its journal is read (no
// undefined behaviour on an empty text) and offered like any other.
TEST_F(JournalTest, AnOrphanWithAnEmptyTextIsOffered)
{
    const QString doc = file(QStringLiteral("page.htm"), "saved");
    orphan(journalscan::documentKey(doc), "", QDateTime::currentMSecsSinceEpoch());
    auto e = editor({ doc }, { Answer::Yes });
    EXPECT_EQ(e->fake.prompts.boxes.size(), 1);
    EXPECT_EQ(e->memo().toBytes(), QByteArray());
    EXPECT_TRUE(e->ctx().doc.modified);
    EXPECT_TRUE(e->journaled().hasText);
}

TEST_F(JournalTest, APreviewIsJournaledWithTheSnapshot)
{
    const QString doc = file(QStringLiteral("page.htm"), "saved");
    auto e = editor({ doc });
    type(e->memo(), QStringLiteral("x"));
    e->window->RunWithDocument(QStringLiteral("/bin/true"));
    ASSERT_TRUE(e->ctx().doc.launchWroteFile);
    const journalformat::Content content = e->journaled();
    EXPECT_TRUE(content.launch.wroteFile);
    EXPECT_EQ(content.launch.snapshot, QByteArray("saved"));
    DocumentState previewed;
    diskfile::rememberLaunchWrite(previewed, doc, readAll(doc));
    EXPECT_EQ(content.launch.fingerprint, previewed.launchFingerprint);
}

TEST_F(JournalTest, OpenOffersTheOpenedDocumentsOrphan)
{
    const QString doc = file(QStringLiteral("page.htm"), "saved");
    orphan(journalscan::documentKey(doc), "unsaved", QDateTime::currentMSecsSinceEpoch());
    auto e = editor();
    EXPECT_TRUE(e->fake.prompts.boxes.isEmpty()) << "the untitled document has no orphan";
    e->fake.prompts.openResults = { FileDialogResult { doc, 1 } };
    e->fake.prompts.answers = { Answer::Yes };
    e->window->OpenBtnClick();
    EXPECT_EQ(e->fake.prompts.boxes.size(), 1);
    EXPECT_EQ(e->memo().toBytes(), QByteArray("unsaved"));
    EXPECT_TRUE(e->ctx().doc.modified);
}

TEST_F(JournalTest, ALiveEditorsJournalIsNeverOfferedAndTwoEditorsKeepTheirOwn)
{
    const QString one = file(QStringLiteral("one.htm"), "one");
    const QString two = file(QStringLiteral("two.htm"), "two");
    auto first = editor({ one });
    auto second = editor({ two });
    type(first->memo(), QStringLiteral("1"));
    type(second->memo(), QStringLiteral("2"));
    EXPECT_EQ(first->journaled().text, QByteArray("1one"));
    EXPECT_EQ(first->journaled().key, journalscan::documentKey(one));
    EXPECT_EQ(second->journaled().text, QByteArray("2two"));
    EXPECT_EQ(second->journaled().key, journalscan::documentKey(two));
    // Each journal exists from its editor's first edit on.
    EXPECT_NE(first->journal().path(), second->journal().path());

    auto third = editor({ one });
    EXPECT_TRUE(third->fake.prompts.boxes.isEmpty()) << "the first editor still holds its journal";
}

TEST_F(JournalTest, StaleJournalsAreRemovedAtStartUp)
{
    const QString old = orphan(QStringLiteral("/x.htm"), "old", 0, {}, QStringLiteral("1-old.journal"));
    const QString recent = orphan(QStringLiteral("/x.htm"), "recent", 0, {}, QStringLiteral("2-recent.journal"));
    const QString empty = QDir(folder()).filePath(QStringLiteral("3-empty.journal"));
    writeAll(empty, journalformat::documentRecord(QStringLiteral("/x.htm"), 0));
    const QString torn = QDir(folder()).filePath(QStringLiteral("4-torn.journal.tmp"));
    writeAll(torn, "half");
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addDays(-31), QFileDevice::FileModificationTime));
    f.close();
    QFile g(recent);
    ASSERT_TRUE(g.open(QIODevice::ReadWrite));
    ASSERT_TRUE(g.setFileTime(QDateTime::currentDateTime().addDays(-29), QFileDevice::FileModificationTime));
    g.close();

    auto e = editor();
    // Beside the one kept, the editor's own journal, made at start-up.
    QStringList kept = journals();
    kept.sort();
    QStringList expected { QStringLiteral("2-recent.journal"), QFileInfo(e->journal().path()).fileName() };
    expected.sort();
    EXPECT_EQ(kept, expected);
}

TEST_F(JournalTest, AJournalThatCannotBeWrittenNeverStopsEditing)
{
    // The state folder is a file: no journal folder can be made there.
    writeAll(dir.filePath(QStringLiteral("state")), "not a folder");
    const QString doc = file(QStringLiteral("page.htm"), "saved");
    auto e = editor({ doc });
    type(e->memo(), QStringLiteral("ab"));
    QApplication::processEvents();
    type(e->memo(), QStringLiteral("c"));
    QApplication::processEvents();
    EXPECT_EQ(e->memo().toBytes(), QByteArray("abcsaved"));
    ASSERT_EQ(e->fake.prompts.boxes.size(), 1) << "once per run";
    EXPECT_TRUE(e->fake.prompts.boxes.first().text.startsWith(QStringLiteral("Unable to write to ") + folder() + u'/'))
        << e->fake.prompts.boxes.first().text.toStdString();
    EXPECT_EQ(e->fake.prompts.boxes.first().icon, BoxIcon::Stop);
}

// The real message box, and keys typed at a steady pace into whatever has
// the focus, as a user's keys go: a box that came up at the first key took
// the keys after it, and a space closed it unread. With a journal folder
// that cannot be made the box comes at start-up, before any key.
TEST_F(JournalTest, AWordTypedAtASteadyPaceWithAnUnwritableJournalKeepsEveryKey)
{
    writeAll(dir.filePath(QStringLiteral("state")), "not a folder");
    const QString doc = file(QStringLiteral("page.htm"), "saved");
    QtUserPrompts prompts;
    QStringList shown;
    bool typing = false;
    // The user reads and closes a box whenever not typing.
    QTimer reader;
    reader.setInterval(50);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && !typing) {
            shown.append(box->text());
            box->accept();
        }
    });
    reader.start();
    FakePlatform fake;
    fake.dirs.directory = dir.path();
    fake.dirs.stateDir = dir.filePath(QStringLiteral("state"));
    Platform platform = fake.platform();
    platform.prompts = &prompts;
    Tmain window(platform, { doc });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.memo()->setFocus();

    const QString word = QStringLiteral("hello world again");
    qsizetype next = 0;
    QTimer keys;
    keys.setInterval(150);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (next == word.size()) {
            keys.stop();
            typing = false;
            return;
        }
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, word.at(next++).toLatin1());
    });
    typing = true;
    keys.start();
    for (int i = 0; i < 200 && (typing || QApplication::activeModalWidget()); ++i)
        QTest::qWait(50);
    // A pause in typing: a report that waited for one would come now.
    QTest::qWait(DocumentJournal::kTypingPauseMs + 500);
    EXPECT_FALSE(typing);
    window.Save2Click();
    EXPECT_EQ(readAll(doc), QByteArray("hello world againsaved"));
    ASSERT_EQ(shown.size(), 1) << "once per run";
    EXPECT_TRUE(shown.first().startsWith(QStringLiteral("Unable to write to "))) << shown.first().toStdString();
}
