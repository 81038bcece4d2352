#include "core/platform/branding.h"
#include "core/text/editorbuffer.h"
#include "launch/launchcommands.h"
#include "launch/processlauncher.h"
#include "support/testwindow.h"

#include <QDir>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kUntitledText = QStringLiteral("<HTML>\r\n<B>Привет</B>\r\n</HTML>");

/// Reads the document's file at the moment the program is started.
class FileReadingLauncher : public ProgramLauncher {
public:
    QString watched;
    QList<QByteArray> seen;
    bool start(const QString&) override
    {
        seen.append(readFile(watched));
        return false; // a start that fails changes nothing either
    }
    bool startWithArgument(const QString& head, const QString& argument) override
    {
        return start(head + u' ' + argument);
    }
    bool findsProgram(const QString&) override { return true; }
    bool startApplication(const QString&, const QString&) override { return start({}); }
};

struct CurrentDir {
    explicit CurrentDir(const QString& path) : saved(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentDir() { QDir::setCurrent(saved); }
    QString saved;
};

struct PreviewCase {
    const char* name;
    void (Tmain::*handler)();
    const char* setting; // which path the test sets
    const char* path;
    const char* expectedHead; // the command line before the file name; null: the desktop's browser
};

void PrintTo(const PreviewCase& c, std::ostream* out) { *out << c.name; }

class Preview : public testing::TestWithParam<PreviewCase> { };

} // namespace

TEST_P(Preview, WritesTheDocumentThenStartsTheCommandLineOrTheDesktopsBrowser)
{
    const PreviewCase& c = GetParam();
    TestWindow t;
    t.fake.launcher.missingPrograms = { QStringLiteral("/opt/gone/browser") };
    t.fake.registry.applications.insert(QStringLiteral("x-scheme-handler/https"),
                                        { QStringLiteral("webby.desktop"), QStringLiteral("Webby") });
    SettingsStore& s = t.ctx().settings;
    const QString path = QString::fromUtf8(c.path);
    if (QByteArray(c.setting) == "netscape")
        s.netscapePath = path;
    else if (QByteArray(c.setting) == "msie")
        s.msiePath = path;
    else
        s.browser3Path = path;
    const QString file = t.path(QStringLiteral("my page.htm"));
    t.ctx().doc.fileName = file;
    t.memo().setText(kUntitledText);
    t.memo().setSelStart(1);
    t.memo().setSelLength(3);
    t.ctx().doc.modified = true;
    const QString title = t.window->windowTitle();

    (t.window.get()->*c.handler)();

    if (c.expectedHead) {
        EXPECT_EQ(t.fake.launcher.commandLines, QStringList { QString::fromUtf8(c.expectedHead) + file });
        EXPECT_TRUE(t.fake.launcher.applications.isEmpty());
    } else {
        EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
        EXPECT_EQ(t.fake.launcher.applications, QStringList { QStringLiteral("webby.desktop ") + file });
    }
    EXPECT_EQ(readFile(file), t.memo().toBytes());
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
    // Nothing else changes: not a save.
    EXPECT_TRUE(t.ctx().doc.modified);
    EXPECT_EQ(t.ctx().doc.fileName, file);
    EXPECT_EQ(t.window->windowTitle(), title);
    EXPECT_EQ(t.memo().text(), kUntitledText);
    EXPECT_EQ(t.memo().selStart(), 1);
    EXPECT_EQ(t.memo().selLength(), 3);
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Browsers, Preview,
    testing::Values(
        // Two blanks between "-browser" and the file name.
        PreviewCase { "Netscape", &Tmain::Netscape1Click, "netscape", "/opt/nav/navigator",
                      "/opt/nav/navigator -browser  " },
        PreviewCase { "Msie", &Tmain::MSIE1Click, "msie", "/usr/bin/ie", "/usr/bin/ie " },
        PreviewCase { "AnyBrowser", &Tmain::Anybrowser1Click, "any", "/usr/bin/lynx -dump", "/usr/bin/lynx -dump " },
        // Settings that name no program here: the desktop's browser instead.
        PreviewCase { "NetscapeWindowsPath", &Tmain::Netscape1Click, "netscape",
                      "C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe", nullptr },
        PreviewCase { "MsieWindowsPath", &Tmain::MSIE1Click, "msie",
                      "C:\\Program Files\\Internet Explorer\\Iexplore.exe", nullptr },
        PreviewCase { "MsieMissingProgram", &Tmain::MSIE1Click, "msie", "/opt/gone/browser", nullptr },
        PreviewCase { "AnyBrowserEmpty", &Tmain::Anybrowser1Click, "any", "", nullptr }),
    [](const testing::TestParamInfo<PreviewCase>& info) { return std::string(info.param.name); });

TEST(PreviewUntitled, WritesTheDefaultNameAsItStands)
{
    TestWindow t;
    const CurrentDir cwd(t.dir.path());
    t.ctx().doc.fileName = DocumentState::untitledFileName();
    t.ctx().settings.msiePath = QStringLiteral("iexplore");
    t.memo().setText(kUntitledText);
    t.ctx().doc.modified = false;

    t.window->MSIE1Click();

    EXPECT_EQ(t.fake.launcher.commandLines, QStringList { QStringLiteral("iexplore c:\\untitled.htm") });
    EXPECT_EQ(readFile(t.path(QStringLiteral("c:\\untitled.htm"))), t.memo().toBytes());
    EXPECT_FALSE(t.ctx().doc.modified);
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
}

TEST(PreviewOrder, TheFileIsCompleteBeforeTheProgramStarts)
{
    TestWindow t;
    FileReadingLauncher launcher;
    const QString file = t.path(QStringLiteral("a.htm"));
    launcher.watched = file;
    t.ctx().platform.launcher = &launcher;
    t.ctx().doc.fileName = file;
    writeFile(file, "old text");

    t.ctx().settings.netscapePath = QStringLiteral("/opt/nav");
    t.ctx().settings.browser3Path = QStringLiteral("/opt/b3");

    t.memo().setText(QStringLiteral("first"));
    t.window->Netscape1Click();
    t.memo().setText(QStringLiteral("second, longer\r\nline"));
    t.window->Anybrowser1Click();

    EXPECT_EQ(launcher.seen, (QList<QByteArray> { "first", "second, longer\r\nline" }));
    // A start that fails still counts as a launch that wrote the file, and says so.
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
    EXPECT_EQ(t.fake.prompts.boxTexts(),
              (QStringList { QStringLiteral("Cannot run /opt/nav."), QStringLiteral("Cannot run /opt/b3.") }));
}

TEST(PreviewFailures, EmptyFileNameAsksForOneAndDoesNothingElse)
{
    TestWindow t;
    t.ctx().doc.fileName.clear();
    t.window->Netscape1Click();
    ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
    const MessageBoxSpec& box = t.fake.prompts.boxes.first();
    EXPECT_EQ(box.text, QStringLiteral("Укажите имя файла!"));
    EXPECT_EQ(box.caption, QStringLiteral("Brannoc Quillet"));
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, QList<Answer> { Answer::Ok });
    EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
    EXPECT_FALSE(t.ctx().doc.launchWroteFile);
}

TEST(PreviewFailures, UnwritableFileStopsSilently)
{
    TestWindow t;
    writeFile(t.path(QStringLiteral("plain")), "x");
    t.ctx().settings.workshopCommand = QStringLiteral("loomwright");
    t.ctx().settings.netscapePath = QStringLiteral("/opt/nav/navigator");
    const QString unwritable[] = {
        t.path(QStringLiteral("no such folder/a.htm")),
        t.path(QStringLiteral("plain/a.htm")), // a file where a folder should be
        t.dir.path(),                          // a folder
    };
    for (const QString& name : unwritable) {
        t.ctx().doc.fileName = name;
        t.memo().setText(QStringLiteral("text"));
        t.ctx().doc.modified = true;
        t.window->Netscape1Click();
        t.window->RunWorkshop1Click();
        EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty()) << name.toStdString();
        EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << name.toStdString();
        EXPECT_FALSE(t.ctx().doc.launchWroteFile);
        EXPECT_TRUE(t.ctx().doc.modified);
        EXPECT_EQ(t.memo().text(), QStringLiteral("text"));
    }
    EXPECT_EQ(readFile(t.path(QStringLiteral("plain"))), QByteArray("x"));
}

TEST(PreviewFailures, NothingToStartSaysSoAndLeavesTheFileUnwritten)
{
    // No program where the setting points, and no browser on the desktop.
    struct Case {
        void (Tmain::*handler)();
        const char* message;
    };
    const Case cases[] = {
        { &Tmain::Netscape1Click, "Cannot run C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe." },
        { &Tmain::MSIE1Click, "Cannot run /opt/gone/ie." },
        { &Tmain::Anybrowser1Click, "Cannot run x-scheme-handler/https." },
        { &Tmain::RunWorkshop1Click, "Cannot run /opt/gone/loom." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TestWindow t;
        SettingsStore& s = t.ctx().settings;
        s.netscapePath = QStringLiteral("C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe");
        s.msiePath = QStringLiteral("/opt/gone/ie");
        s.browser3Path.clear();
        s.workshopCommand = QStringLiteral("/opt/gone/loom \"%1\"");
        t.fake.launcher.missingPrograms = { QStringLiteral("/opt/gone/ie"), QStringLiteral("/opt/gone/loom") };
        const QString file = t.path(QStringLiteral("page.htm"));
        t.ctx().doc.fileName = file;
        t.memo().setText(QStringLiteral("<P>unsaved</P>"));

        (t.window.get()->*c.handler)();

        EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QString::fromUtf8(c.message) });
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_FALSE(t.ctx().doc.launchWroteFile);
        EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
        EXPECT_TRUE(t.fake.launcher.applications.isEmpty());
    }
}

TEST(Workshop, NeedsADocumentWithANameOfItsOwn)
{
    TestWindow t;
    const CurrentDir cwd(t.dir.path());
    t.ctx().settings.workshopCommand = QStringLiteral("loomwright");
    for (const QString& name : { DocumentState::untitledFileName(), QString() }) {
        t.ctx().doc.fileName = name;
        t.window->RunWorkshop1Click();
    }
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList(2, QStringLiteral("Укажите имя файла!")));
    EXPECT_EQ(t.fake.prompts.boxes.first().caption, QStringLiteral("Brannoc Quillet"));
    EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
    EXPECT_FALSE(QFile::exists(t.path(QStringLiteral("c:\\untitled.htm"))));
    EXPECT_FALSE(t.ctx().doc.launchWroteFile);

    // Only the exact default name is refused: a capital drive letter is a name of its own.
    t.ctx().doc.fileName = QStringLiteral("C:\\untitled.htm");
    t.window->RunWorkshop1Click();
    EXPECT_EQ(t.fake.launcher.commandLines, QStringList { QStringLiteral("loomwright C:\\untitled.htm") });
    EXPECT_TRUE(QFile::exists(t.path(QStringLiteral("C:\\untitled.htm"))));
}

TEST(Workshop, WithoutTheExtendedEditorPointsToTheMaker)
{
    TestWindow t;
    t.ctx().doc.fileName = t.path(QStringLiteral("a.htm"));
    t.ctx().settings.workshopCommand.clear();
    t.window->RunWorkshop1Click();
    ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
    EXPECT_EQ(t.fake.prompts.boxes.first().text,
              QStringLiteral("Brannoc Visual Loomwright не установлен на вашем компьютере.\n\rVisit ")
                  + branding::makerWebAddress() + QStringLiteral(" for download!"));
    EXPECT_EQ(t.fake.prompts.boxes.first().icon, BoxIcon::None);
    EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
    EXPECT_FALSE(QFile::exists(t.path(QStringLiteral("a.htm"))));
}

TEST(Workshop, StartsTheRegisteredCommandUnchangedOnTheWrittenFile)
{
    TestWindow t;
    const QString file = t.path(QStringLiteral("page.htm"));
    t.ctx().doc.fileName = file;
    t.ctx().settings.workshopCommand = QStringLiteral("\"/opt/loom/loomwright\" \"%1\"");
    t.memo().setText(QStringLiteral("<P>"));
    t.window->RunWorkshop1Click();
    EXPECT_EQ(t.fake.launcher.commandLines,
              QStringList { QStringLiteral("\"/opt/loom/loomwright\" \"%1\" ") + file });
    EXPECT_EQ(readFile(file), QByteArray("<P>"));
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
}

TEST(NewWindow, StartsTheEditorByNameAndTouchesNothing)
{
    TestWindow t;
    const QString file = t.path(QStringLiteral("a.htm"));
    t.ctx().doc.fileName = file;
    t.memo().setText(QStringLiteral("unsaved"));
    t.window->Neweditor1Click();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    t.fake.launcher.result = false; // missing: the error box says so
    t.window->Neweditor1Click();
    EXPECT_EQ(t.fake.launcher.commandLines, QStringList(2, QStringLiteral("vq.exe")));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(t.ctx().doc.launchWroteFile);
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QStringLiteral("Cannot run vq.exe.") });
}

TEST(BrannocOnline, OpensTheMakersAddressInTheRegisteredBrowser)
{
    TestWindow t;
    t.fake.registry.applications.insert(QStringLiteral("x-scheme-handler/http"),
                                        { QStringLiteral("webby.desktop"), QStringLiteral("Webby") });
    t.window->BrannocSoftware1Click();
    EXPECT_EQ(t.fake.launcher.applications, QStringList { QStringLiteral("webby.desktop ") + branding::makerWebAddress() });
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());

    // The browser does not start: the error box names it.
    t.fake.launcher.result = false;
    t.window->BrannocSoftware1Click();
    // No browser at all: the error box names what is missing.
    t.fake.registry.applications.clear();
    t.window->BrannocSoftware1Click();
    EXPECT_EQ(t.fake.launcher.applications.size(), 2);
    EXPECT_EQ(t.fake.prompts.boxTexts(),
              (QStringList { QStringLiteral("Cannot run Webby."), QStringLiteral("Cannot run x-scheme-handler/https.") }));
}

TEST(PreviewStory, ClosingWithoutSavingPutsTheLastLoadedOrSavedTextBack)
{
    TestWindow t;
    const QString file = t.path(QStringLiteral("страница с пробелом.htm"));
    writeFile(file, "<P>loaded</P>\r\n");
    t.ctx().settings.netscapePath = QStringLiteral("/opt/nav/navigator");
    t.ctx().settings.msiePath = QStringLiteral("/opt/ie");
    t.fake.prompts.openResults = { FileDialogResult { file, 1 } };
    t.window->OpenBtnClick();
    ASSERT_EQ(t.ctx().doc.fileName, file);

    // Edit and preview: the file holds the edit, the document is still unsaved.
    t.memo().setText(QStringLiteral("<P>edited</P>"));
    t.window->Netscape1Click();
    EXPECT_EQ(readFile(file), QByteArray("<P>edited</P>"));
    EXPECT_EQ(t.fake.launcher.commandLines.last(), QStringLiteral("/opt/nav/navigator -browser  ") + file);
    EXPECT_TRUE(t.ctx().doc.modified);

    // Saved, edited again, previewed again.
    t.window->Save2Click();
    t.memo().setText(QStringLiteral("<P>declined</P>"));
    t.window->MSIE1Click();
    EXPECT_EQ(readFile(file), QByteArray("<P>declined</P>"));

    // Close and answer No: the file gets the saved text back.
    t.fake.prompts.answers = { Answer::No };
    EXPECT_TRUE(t.window->close());
    ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
    EXPECT_EQ(t.fake.prompts.boxes.first().caption, QStringLiteral("Confirm"));
    EXPECT_EQ(readFile(file), QByteArray("<P>edited</P>"));
}

TEST(LaunchKeys, ShortcutsReachTheirCommands)
{
    TestWindow t;
    const QString file = t.path(QStringLiteral("k.htm"));
    t.ctx().doc.fileName = file;
    SettingsStore& s = t.ctx().settings;
    s.netscapePath = QStringLiteral("nav");
    s.msiePath = QStringLiteral("ie");
    s.browser3Path = QStringLiteral("/home/u/bin/b3");
    s.workshopCommand = QStringLiteral("loom");
    t.window->show();
    QApplication::setActiveWindow(t.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
    t.memo().setFocus();
    QTest::keyClick(&t.memo(), Qt::Key_1, Qt::AltModifier);
    QTest::keyClick(&t.memo(), Qt::Key_2, Qt::AltModifier);
    QTest::keyClick(&t.memo(), Qt::Key_3, Qt::AltModifier);
    QTest::keyClick(&t.memo(), Qt::Key_5, Qt::AltModifier);
    QTest::keyClick(&t.memo(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(t.fake.launcher.commandLines,
              (QStringList { "nav -browser  " + file, "ie " + file, "/home/u/bin/b3 " + file, "loom " + file,
                             "vq.exe" }));
}

TEST(NewWindow, TheBuildPutsVqExeBesideTheEditor)
{
    const QString folder = QStringLiteral(QUILLET_BINARY_DIR);
    if (!QFileInfo::exists(folder + QStringLiteral("/quillet")))
        GTEST_SKIP() << "the editor itself is not built";
    // The name search, with the editor's folder as its own, finds the link.
    const QString found = ProcessLauncher::locate(QStringLiteral("vq.exe"), folder);
    EXPECT_EQ(found, folder + QStringLiteral("/vq.exe"));
    EXPECT_EQ(QFileInfo(found).canonicalFilePath(), QFileInfo(folder + QStringLiteral("/quillet")).canonicalFilePath());
}
