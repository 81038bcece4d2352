#include "core/platform/branding.h"
#include "core/document/documentcommands.h"
#include "core/document/savedtextsnapshot.h"
#include "core/text/editorbuffer.h"
#include "support/testwindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/mount.h>

namespace {

const QString kUntitled = QStringLiteral("c:\\untitled.htm");
const QByteArray kNewDocument = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n"
                                "<HEAD>\r\n <TITLE> Untitled </TITLE>\r\n</HEAD>\r\n<BODY>\r\n\r\n</BODY>\r\n</HTML>";
const QByteArray kNewFrameset = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Frameset//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                                " <TITLE> Untitled </TITLE>\r\n</HEAD>\r\n<FRAMESET COLS=\"100,*\", ROWS=\"\">\r\n"
                                " <FRAME NAME=frame1 NORESIZE SRC=\" \">\r\n <FRAME NAME=frame2 SRC=\" \">\r\n"
                                "</FRAMESET>\r\n<NOFRAMES>\r\n\r\n</NOFRAMES>\r\n</HTML>";

QString question(const QString& first)
{
    return first + QStringLiteral("\n\r") + QStringLiteral("Сохранить изменения?");
}
const QString kUnsaved = question(QStringLiteral("В окне несохраненный текст."));

FileDialogResult chosen(const QString& name)
{
    return { name, 1 };
}

/// A window holding the saved file `doc.htm` with one unsaved edit.
struct EditedDocument : TestWindow {
    explicit EditedDocument(const QByteArray& saved = "saved\r\ntext")
    {
        file = path("doc.htm");
        writeFile(file, saved);
        fake.prompts.openResults.append(chosen(file));
        window->OpenBtnClick();
        memo().setSelStart(memo().textLength());
        memo().setSelText(QStringLiteral(" edited"));
    }
    /// What Alt+3 does: the unsaved text goes into the document's file.
    void preview()
    {
        ctx().settings.browser3Path = QStringLiteral("/usr/bin/b3");
        window->Anybrowser1Click();
    }
    QString file;
};

const QByteArray kOld = "saved\r\ntext";
const QByteArray kEdited = "saved\r\ntext edited";
const QByteArray kOtherProgram = "the extended editor's work";

void expectConfirmBox(const MessageBoxSpec& box, const QString& text)
{
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.buttons, (QList<Answer> { Answer::Yes, Answer::No, Answer::Cancel }));
    EXPECT_EQ(box.escapeButton, Answer::Cancel);
}

TEST(Documents, NewDocumentAndFramesetSavedAtOnceHoldExactlyTheirSkeletons)
{
    TestWindow t;
    t.window->NewDocClick();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(t.memo().selStart(), 0);
    EXPECT_EQ(t.window->windowTitle(), "Brannoc Quillet 1.7 [c:\\untitled.htm]");
    EXPECT_EQ(t.ctx().doc.fileName, kUntitled);
    EXPECT_TRUE(t.ctx().doc.modified);
    t.fake.prompts.saveResults.append(chosen(t.path("new.htm")));
    t.window->Save2Click();
    EXPECT_EQ(readFile(t.path("new.htm")), kNewDocument);

    t.window->Newframeset1Click();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << "saved text is no unsaved text";
    t.fake.prompts.saveResults.append(chosen(t.path("frames.htm")));
    t.window->SaveBtnClick();
    EXPECT_EQ(readFile(t.path("frames.htm")), kNewFrameset);
}

TEST(Documents, NewDocumentLeavesSnapshotAndProposedNameAndClearsTheLaunchFlag)
{
    EditedDocument t;
    t.ctx().doc.launchWroteFile = true;
    t.fake.prompts.answers = { Answer::No };
    t.window->NewDocClick();
    expectConfirmBox(t.fake.prompts.boxes.value(0), kUnsaved);
    EXPECT_EQ(t.memo().toBytes(), kNewDocument);
    EXPECT_FALSE(t.ctx().doc.launchWroteFile);
    EXPECT_EQ(t.ctx().memo2->bytes(), "saved\r\ntext");
    EXPECT_EQ(readFile(t.file), "saved\r\ntext");

    // Save of the untitled document asks for a name, proposing the one last opened.
    t.window->Save2Click();
    ASSERT_EQ(t.fake.prompts.saveDialogs.size(), 1);
    const FileDialogSpec& request = t.fake.prompts.saveDialogs[0];
    EXPECT_EQ(request.fileName, t.file);
    EXPECT_EQ(request.filter, "HTML file|*.htm; *.html|Any file|*.*");
    EXPECT_EQ(request.defaultExtension, "htm");
    EXPECT_FALSE(request.confirmOverwrite);
}

enum class Command { New, Frameset, Open };

struct NewCase {
    const char* name;
    Command command;
    bool previewed; // a preview wrote the edits into the document's file first
    Answer answer;
    bool saveDialogAnswered;
    bool replaced;       // the new text replaced the edited one
    bool savedElsewhere; // the old text went into "other.htm"
};

void PrintTo(const NewCase& c, std::ostream* os) { *os << c.name; }

class NewWithUnsavedText : public ::testing::TestWithParam<NewCase> {};

TEST_P(NewWithUnsavedText, FollowsTheAnswer)
{
    const NewCase& c = GetParam();
    EditedDocument t;
    if (c.previewed)
        t.preview();
    const QString second = t.path("second.htm");
    writeFile(second, "second");
    t.fake.prompts.answers = { c.answer };
    if (c.saveDialogAnswered)
        t.fake.prompts.saveResults.append(chosen(t.path("other.htm")));
    t.fake.prompts.openResults.append(chosen(second));
    const qsizetype openDialogs = t.fake.prompts.openDialogs.size();
    switch (c.command) {
    case Command::New: t.window->NewDocClick(); break;
    case Command::Frameset: t.window->Newframeset1Click(); break;
    case Command::Open: t.window->OpenBtnClick(); break;
    }

    ASSERT_EQ(t.fake.prompts.boxes.size(), 1) << c.name;
    expectConfirmBox(t.fake.prompts.boxes[0],
                     c.command == Command::Frameset ? question(QStringLiteral("В окне несохраненный текст ."))
                                                    : kUnsaved);
    EXPECT_EQ(t.fake.prompts.saveDialogs.size(), c.answer == Answer::Yes ? 1 : 0) << c.name;
    EXPECT_EQ(t.fake.prompts.openDialogs.size() - openDialogs, c.command == Command::Open && c.replaced ? 1 : 0);
    if (c.replaced) {
        const QByteArray expected[] = { kNewDocument, kNewFrameset, "second" };
        EXPECT_EQ(t.memo().toBytes(), expected[int(c.command)]) << c.name;
        EXPECT_EQ(t.ctx().doc.fileName, c.command == Command::Open ? second : kUntitled);
    } else {
        EXPECT_EQ(t.memo().toBytes(), kEdited) << c.name;
        EXPECT_EQ(t.ctx().doc.fileName, t.file);
        EXPECT_TRUE(t.ctx().doc.modified);
        EXPECT_EQ(t.window->windowTitle(), branding::documentWindowTitle(t.file));
    }
    EXPECT_EQ(readFile(t.path("other.htm")), c.savedElsewhere ? kEdited : QByteArray());
    // The document's own file is never written with the declined text; once
    // that text is gone, a preview's copy of it is taken back.
    EXPECT_EQ(readFile(t.file), c.previewed && !c.replaced ? kEdited : kOld) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NewWithUnsavedText,
    ::testing::Values(
        NewCase { "cancel", Command::New, false, Answer::Cancel, false, false, false },
        NewCase { "no", Command::New, false, Answer::No, false, true, false },
        NewCase { "yes, saved", Command::New, false, Answer::Yes, true, true, true },
        NewCase { "yes, save dialog cancelled keeps the text", Command::New, false, Answer::Yes, false, false, false },
        NewCase { "frameset, cancel", Command::Frameset, false, Answer::Cancel, false, false, false },
        NewCase { "frameset, no", Command::Frameset, false, Answer::No, false, true, false },
        NewCase { "frameset, yes", Command::Frameset, false, Answer::Yes, true, true, true },
        NewCase { "open, cancel", Command::Open, false, Answer::Cancel, false, false, false },
        NewCase { "open, no", Command::Open, false, Answer::No, false, true, false },
        NewCase { "open, yes, saved", Command::Open, false, Answer::Yes, true, true, true },
        NewCase { "open, yes, save dialog cancelled", Command::Open, false, Answer::Yes, false, false, false },
        NewCase { "after a preview, cancel", Command::New, true, Answer::Cancel, false, false, false },
        NewCase { "after a preview, no", Command::New, true, Answer::No, false, true, false },
        NewCase { "after a preview, frameset, no", Command::Frameset, true, Answer::No, false, true, false },
        NewCase { "after a preview, open, no", Command::Open, true, Answer::No, false, true, false },
        NewCase { "after a preview, open, yes, saved as", Command::Open, true, Answer::Yes, true, true, true }));

TEST(Documents, OpenReplacesTheTextAndNamesTheDocument)
{
    EditedDocument t;
    const QString second = t.path("second.txt");
    writeFile(second, "line1\nline2\rline3");
    t.ctx().doc.launchWroteFile = true;
    t.fake.prompts.answers = { Answer::No };
    t.fake.prompts.openResults.append(chosen(second));
    t.window->OpenBtnClick();

    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { kUnsaved });
    const FileDialogSpec& request = t.fake.prompts.openDialogs.last();
    EXPECT_EQ(request.filter, "HTML files|*.ht*|Text ASCII|*.txt|All files|*.*");
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_TRUE(request.fileMustExist);
    EXPECT_EQ(t.memo().toBytes(), "line1\r\nline2\r\nline3");
    EXPECT_EQ(t.ctx().memo2->bytes(), "line1\r\nline2\r\nline3");
    EXPECT_EQ(t.window->windowTitle(), branding::documentWindowTitle(second));
    EXPECT_EQ(t.ctx().doc.fileName, second);
    EXPECT_EQ(t.ctx().saveDlgFileName, second);
    EXPECT_FALSE(t.ctx().doc.modified);
    EXPECT_FALSE(t.ctx().doc.launchWroteFile);

    // Cancelling the dialog changes nothing.
    t.window->OpenBtnClick();
    EXPECT_EQ(t.ctx().doc.fileName, second);
    EXPECT_EQ(t.memo().toBytes(), "line1\r\nline2\r\nline3");
}

TEST(Documents, AFailedOpenKeepsTheWholePreviousDocument)
{
    EditedDocument t;
    t.preview();
    for (const QString& bad : { t.path("missing.htm"), t.path("") }) {
        t.fake.prompts.answers = { Answer::No };
        t.fake.prompts.openResults.append(chosen(bad));
        t.window->OpenBtnClick();
        ASSERT_FALSE(t.fake.prompts.boxes.isEmpty());
        EXPECT_EQ(t.fake.prompts.boxes.last().text, "Cannot open file " + bad + ".");
        EXPECT_EQ(t.fake.prompts.boxes.last().icon, BoxIcon::Stop);
        EXPECT_EQ(t.memo().toBytes(), "saved\r\ntext edited");
        EXPECT_EQ(t.ctx().doc.fileName, t.file);
        EXPECT_EQ(t.window->windowTitle(), branding::documentWindowTitle(t.file));
        EXPECT_TRUE(t.ctx().doc.modified);
        EXPECT_TRUE(t.ctx().doc.launchWroteFile);
        EXPECT_EQ(t.ctx().memo2->bytes(), "saved\r\ntext");
        EXPECT_EQ(readFile(t.file), kEdited) << "the text is still there, and so is the preview's copy";
    }
    // So a following Save writes the kept text, never an empty one.
    t.window->Save2Click();
    EXPECT_EQ(readFile(t.file), "saved\r\ntext edited");
}

TEST(Documents, SaveWritesUnderTheNameAndSaveAsRenames)
{
    EditedDocument t;
    t.ctx().doc.launchWroteFile = true;
    const QString title = t.window->windowTitle();
    t.window->Save2Click();
    EXPECT_TRUE(t.fake.prompts.saveDialogs.isEmpty());
    EXPECT_EQ(readFile(t.file), "saved\r\ntext edited");
    EXPECT_FALSE(t.ctx().doc.modified);
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
    EXPECT_EQ(t.ctx().memo2->bytes(), "saved\r\ntext edited");
    EXPECT_EQ(t.window->windowTitle(), title);

    t.memo().setText(QString::fromUtf8("Ёж\r\n"));
    const QString copy = t.path("copy.htm");
    t.fake.prompts.saveResults.append(chosen(copy));
    t.window->SaveBtnClick();
    EXPECT_EQ(t.fake.prompts.saveDialogs.last().fileName, t.file);
    EXPECT_EQ(readFile(copy), "\xA8\xE6\r\n");
    EXPECT_EQ(readFile(t.file), "saved\r\ntext edited");
    EXPECT_EQ(t.ctx().doc.fileName, copy);
    EXPECT_EQ(t.window->windowTitle(), branding::documentWindowTitle(copy));
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
    EXPECT_EQ(t.ctx().memo2->bytes(), "\xA8\xE6\r\n");
    // The dialog keeps the name last chosen in it.
    t.window->SaveBtnClick();
    EXPECT_EQ(t.fake.prompts.saveDialogs.last().fileName, copy);
}

void expectYesNoQuestion(const MessageBoxSpec& box, const QString& text)
{
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.buttons, (QList<Answer> { Answer::Yes, Answer::No }));
    EXPECT_EQ(box.defaultButton, Answer::No);
    EXPECT_EQ(box.escapeButton, Answer::No);
}

TEST(Documents, SaveAsAsksBeforeReplacingAnotherExistingFile)
{
    for (const Answer answer : { Answer::Yes, Answer::No }) {
        EditedDocument t;
        const QString other = t.path("other.htm");
        writeFile(other, "keep me");
        t.fake.prompts.answers = { answer };
        t.fake.prompts.saveResults.append(chosen(other));
        t.window->SaveBtnClick();
        ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
        expectYesNoQuestion(t.fake.prompts.boxes[0], "Файл " + other + " уже существует.\n\rЗаменить его?");
        const bool replaced = answer == Answer::Yes;
        EXPECT_EQ(readFile(other), replaced ? kEdited : QByteArray("keep me"));
        EXPECT_EQ(t.ctx().doc.fileName, replaced ? other : t.file);
        EXPECT_EQ(t.ctx().saveDlgFileName, replaced ? other : t.file) << "No ends Save as as a cancel would";
        EXPECT_EQ(t.ctx().doc.modified, !replaced);
    }
    // The document's own name asks nothing.
    EditedDocument t;
    t.fake.prompts.saveResults.append(chosen(t.file));
    t.window->SaveBtnClick();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(readFile(t.file), kEdited);
}

TEST(Documents, AFileAnotherProgramChangedIsOverwrittenOnlyWhenTheUserSaysSo)
{
    struct Case {
        bool preview;
        Answer answer;
        QByteArray saved = kOld;
    };
    const QByteArray utf8 = "\xEF\xBB\xBF\xD0\x96\xF0\x9F\x98\x80";
    for (const Case c : { Case { false, Answer::Yes }, Case { false, Answer::No }, Case { true, Answer::Yes },
                          Case { true, Answer::No }, Case { false, Answer::Yes, utf8 }, Case { true, Answer::No, utf8 } }) {
        const QByteArray edited = c.saved + " edited";
        EditedDocument t(c.saved);
        // The editor's own writes never ask.
        t.preview();
        t.window->Save2Click();
        t.preview();
        ASSERT_TRUE(t.fake.prompts.boxes.isEmpty());
        writeFile(t.file, kOtherProgram);
        t.fake.prompts.answers = { c.answer };
        c.preview ? t.preview() : t.window->Save2Click();
        ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
        expectYesNoQuestion(t.fake.prompts.boxes[0], "Файл " + t.file + " изменён другой программой.\n\rПерезаписать?");
        const bool written = c.answer == Answer::Yes;
        EXPECT_EQ(readFile(t.file), written ? edited : kOtherProgram);
        EXPECT_EQ(t.fake.launcher.commandLines.size(), c.preview && written ? 3 : 2);
    }
    // A file that is gone is written without asking.
    EditedDocument t;
    QFile::remove(t.file);
    t.window->Save2Click();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(readFile(t.file), kEdited);
}

TEST(Documents, OnlyTheExactUntitledNameAsksForAName)
{
    TestWindow t;
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.dir.path()));
    t.memo().setText(QStringLiteral("x"));
    t.ctx().doc.fileName = QStringLiteral("C:\\UNTITLED.HTM");
    t.window->Save2Click();
    QDir::setCurrent(old);
    EXPECT_TRUE(t.fake.prompts.saveDialogs.isEmpty());
    EXPECT_EQ(readFile(t.path("C:\\UNTITLED.HTM")), "x");
}

TEST(Documents, ACancelledSaveDialogKeepsTheTextUnsaved)
{
    TestWindow t;
    t.window->NewDocClick();
    t.window->Save2Click();
    EXPECT_EQ(t.fake.prompts.saveDialogs.size(), 1);
    EXPECT_TRUE(t.ctx().doc.modified);
    EXPECT_TRUE(t.ctx().memo2->bytes().isEmpty());
    // Closing still asks, so the text cannot be lost unnoticed.
    t.fake.prompts.answers = { Answer::Cancel };
    EXPECT_FALSE(t.window->close());
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { kUnsaved });
}

TEST(Documents, AnEmptyNameFromAStoppedStartUpAsksForAName)
{
    TestWindow t;
    t.ctx().doc.fileName.clear();
    t.memo().setText(QStringLiteral("text"));
    t.fake.prompts.saveResults.append(chosen(t.path("named.htm")));
    t.window->Save2Click();
    EXPECT_EQ(readFile(t.path("named.htm")), "text");
    EXPECT_EQ(t.ctx().doc.fileName, t.path("named.htm"));
}

/// A tmpfs mounted over a folder holding `doc.htm`, to be made read-only.
struct ReadOnlyFolder {
    ReadOnlyFolder()
    {
        path = dir.filePath("ro");
        QDir().mkdir(path);
        const QByteArray native = QFile::encodeName(path);
        mounted = ::mount("tmpfs", native.constData(), "tmpfs", 0, "size=64k") == 0;
        writeFile(path + "/doc.htm", "on disk");
    }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder() { ::umount2(QFile::encodeName(path).constData(), MNT_DETACH); }
    QTemporaryDir dir;
    QString path;
    bool mounted = false;
};

TEST(Documents, WriteFailuresShowTheReasonAndKeepFileAndState)
{
    ReadOnlyFolder ro;
    if (!ro.mounted)
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    TestWindow t;
    const QString file = ro.path + "/doc.htm";
    t.fake.prompts.openResults.append(chosen(file));
    t.window->OpenBtnClick();
    t.memo().setText(QStringLiteral("changed"));
    t.ctx().settings.browser3Path = QStringLiteral("/usr/bin/b3");
    t.window->Anybrowser1Click();
    ASSERT_TRUE(ro.makeReadOnly());

    t.window->Save2Click();
    ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
    EXPECT_EQ(t.fake.prompts.boxes[0].text, "Cannot create file " + file + ": Read-only file system.");
    EXPECT_EQ(t.fake.prompts.boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(readFile(file), "changed");
    EXPECT_TRUE(t.ctx().doc.modified);
    EXPECT_EQ(t.ctx().memo2->bytes(), "on disk");

    const QString other = ro.path + "/other.htm";
    t.fake.prompts.saveResults.append(chosen(other));
    t.window->SaveBtnClick();
    EXPECT_EQ(t.fake.prompts.boxes.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(other));
    EXPECT_EQ(t.ctx().doc.fileName, file) << "the name stays the one the title shows";
    EXPECT_EQ(t.window->windowTitle(), branding::documentWindowTitle(file));
    EXPECT_TRUE(t.ctx().doc.modified);

    // Inside the close query a failed save keeps the window open.
    t.fake.prompts.answers = { Answer::Yes };
    EXPECT_FALSE(t.window->close());
    t.fake.prompts.answers = { Answer::No };
    EXPECT_FALSE(t.window->close()) << "the restore after No failed";
    EXPECT_EQ(readFile(file), "changed");
    EXPECT_EQ(t.memo().text(), "changed") << "the editor keeps the text the file could not give up";
}

/// What happened to the document's file before the close.
enum class Before { Nothing, Preview, PreviewThenOtherProgram, EmptiedThenPreview, OtherProgram, UntitledPreview };

struct CloseCase {
    const char* name;
    bool edited;
    bool untitled;
    Before before;
    QList<Answer> answers;
    bool saveDialogAnswered;
    bool closes;
    QByteArray fileAfter; // the document's file after the close query
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class CloseQuery : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseQuery, FollowsTheAnswer)
{
    const CloseCase& c = GetParam();
    EditedDocument t;
    if (!c.edited) {
        t.window->Save2Click();
        writeFile(t.file, kOld); // back to the test's starting bytes
    }
    if (c.before == Before::EmptiedThenPreview)
        t.memo().setText(QString());
    if (c.before == Before::Preview || c.before == Before::PreviewThenOtherProgram
        || c.before == Before::EmptiedThenPreview)
        t.preview();
    if (c.before == Before::PreviewThenOtherProgram || c.before == Before::OtherProgram)
        writeFile(t.file, kOtherProgram);
    if (c.untitled)
        t.ctx().doc.fileName = kUntitled;
    if (c.before == Before::UntitledPreview) {
        // What a preview of the untitled document would leave in a file of that name.
        writeFile(t.file, t.memo().toBytes());
        t.ctx().doc.launchWroteFile = true;
    }
    t.fake.prompts.answers = c.answers;
    if (c.saveDialogAnswered)
        t.fake.prompts.saveResults.append(chosen(t.file));

    EXPECT_EQ(t.window->close(), c.closes) << c.name;
    if (c.edited)
        expectConfirmBox(t.fake.prompts.boxes.value(0), kUnsaved);
    else
        EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << c.name;
    EXPECT_EQ(t.fake.prompts.boxes.size(), c.answers.size()) << c.name;
    EXPECT_EQ(readFile(t.file), c.fileAfter) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Branches, CloseQuery,
    ::testing::Values(
        CloseCase { "nothing unsaved", false, false, Before::Nothing, {}, false, true, kOld },
        CloseCase { "cancel", true, false, Before::Nothing, { Answer::Cancel }, false, false, kOld },
        CloseCase { "yes saves", true, false, Before::Nothing, { Answer::Yes }, false, true, kEdited },
        CloseCase { "yes, untitled, replacing the existing file", true, true, Before::Nothing,
                    { Answer::Yes, Answer::Yes }, true, true, kEdited },
        CloseCase { "yes, untitled, replacing declined keeps the window", true, true, Before::Nothing,
                    { Answer::Yes, Answer::No }, true, false, kOld },
        CloseCase { "yes, untitled, dialog cancelled keeps the window", true, true, Before::Nothing,
                    { Answer::Yes }, false, false, kOld },
        CloseCase { "no without preview writes nothing", true, false, Before::Nothing, { Answer::No }, false, true,
                    kOld },
        CloseCase { "no after preview restores the file", true, false, Before::Preview, { Answer::No }, false, true,
                    kOld },
        CloseCase { "no after preview keeps what another program saved since", true, false,
                    Before::PreviewThenOtherProgram, { Answer::No }, false, true, kOtherProgram },
        CloseCase { "an emptied text after a preview is unsaved; no restores", true, false,
                    Before::EmptiedThenPreview, { Answer::No }, false, true, kOld },
        CloseCase { "yes over another program's change asks; yes overwrites", true, false, Before::OtherProgram,
                    { Answer::Yes, Answer::Yes }, false, true, kEdited },
        CloseCase { "yes over another program's change asks; no keeps the window", true, false,
                    Before::OtherProgram, { Answer::Yes, Answer::No }, false, false, kOtherProgram },
        CloseCase { "no after preview of an untitled document writes nothing", true, true, Before::UntitledPreview,
                    { Answer::No }, false, true, kEdited }));

// The snapshot goes back in its own encoding, also when the document was
// converted after it was taken.
TEST(Documents, ClosingAfterTheRestoreLeavesTheSnapshotInTheEditor)
{
    const QByteArray utf8 = "\xEF\xBB\xBFsaved \xD0\x96\xF0\x9F\x98\x80";
    const struct {
        const char* name;
        QByteArray saved;
        const char* conversion;
        QString text;
    } cases[] = {
        { "Windows-1251", "saved\r\ntext", nullptr, QStringLiteral("saved\r\ntext") },
        { "UTF-8 with the mark", utf8, nullptr, QString::fromUtf8("saved Ж😀") },
        { "UTF-8 converted before the preview", utf8, "Win12511", QString::fromUtf8("saved Ж😀") },
    };
    for (const auto& c : cases) {
        EditedDocument t(c.saved);
        if (c.conversion)
            t.window->findChild<QAction*>(QString::fromLatin1(c.conversion))->trigger();
        t.preview();
        ASSERT_NE(readFile(t.file), c.saved) << c.name;
        t.fake.prompts.answers = { Answer::No };
        EXPECT_TRUE(t.window->FormCloseQuery()) << c.name;
        EXPECT_EQ(readFile(t.file), c.saved) << c.name;
        EXPECT_EQ(t.memo().text(), c.text) << c.name;
        EXPECT_EQ(t.memo().toBytes(), c.saved) << c.name;
        EXPECT_FALSE(t.ctx().doc.modified) << c.name;
    }
}

TEST(Documents, TypingSetsModifiedAndAnEmptyTextIsNeverUnsaved)
{
    TestWindow t;
    EXPECT_FALSE(t.ctx().doc.modified);
    t.memo().setSelText(QStringLiteral("a"));
    EXPECT_TRUE(t.ctx().doc.modified);
    t.memo().clearText();
    EXPECT_TRUE(t.ctx().doc.modified);
    EXPECT_TRUE(t.window->close());
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
}

} // namespace
