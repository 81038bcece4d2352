#include "core/platform/apperror.h"
#include "core/document/programoptions.h"
#include "core/document/savedtextsnapshot.h"
#include "core/document/startup.h"
#include "core/platform/branding.h"
#include "core/platform/xdgsystemdirs.h"
#include "core/settings/inifile.h"
#include "core/text/editorbuffer.h"
#include "support/testwindow.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString kGreeting = QStringLiteral("Greetings for first start!\n\rИспользуйте меню Вид->Настройки для конфигурирования программы");

/// A window started with the given settings file (none when `settings` is null).
struct Started {
    explicit Started(const char* settings, const QStringList& arguments = {})
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        fake.dirs.directory = dir.path();
        if (settings)
            writeFile(dir.filePath("Brannoc Quillet.ini"), settings);
        window = std::make_unique<Tmain>(fake.platform(), arguments);
    }
    AppContext& ctx() { return window->context(); }
    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<Tmain> window;
};

/// What start-up is expected to have read; the editor's font must agree.
struct Read {
    QString fontName;
    int fontSize;
    bool bold;
    int charset;
    QString userName;
    QString userMail;
    QString netscape;
    QString msie;
    QString browser3;
};

void expectRead(Started& s, const Read& want)
{
    const SettingsStore& v = s.ctx().settings;
    EXPECT_EQ(v.editorFontName, want.fontName);
    EXPECT_EQ(v.editorFontSize, want.fontSize);
    EXPECT_EQ(v.editorFontBold, want.bold);
    EXPECT_EQ(v.editorFontCharset, want.charset);
    EXPECT_EQ(v.userName, want.userName);
    EXPECT_EQ(v.userMail, want.userMail);
    EXPECT_EQ(v.netscapePath, want.netscape);
    EXPECT_EQ(v.msiePath, want.msie);
    EXPECT_EQ(v.browser3Path, want.browser3);
    const QFont font = s.window->memo()->font();
    EXPECT_EQ(font.family(), want.fontName);
    EXPECT_EQ(font.pointSize(), want.fontSize);
    EXPECT_EQ(font.bold(), want.bold);
}

TEST(StartUp, FirstStartGreetsAndUsesTheDefaults)
{
    Started s(nullptr);
    ASSERT_EQ(s.fake.prompts.boxes.size(), 1);
    EXPECT_EQ(s.fake.prompts.boxes[0].caption, "Information");
    EXPECT_EQ(s.fake.prompts.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(s.fake.prompts.boxes[0].text, kGreeting);

    expectRead(s, { "Courier New", 10, false, 1, QString::fromUtf8("тов. Безымянный"), "@",
                    "C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe",
                    "C:\\Program Files\\Internet Explorer\\Iexplore.exe", "" });
    const QString settingsFile = s.ctx().settings.settingsFileName;
    EXPECT_EQ(settingsFile, s.dir.path() + "/Brannoc Quillet.ini");
    EXPECT_EQ(s.ctx().doc.fileName, "c:\\untitled.htm");
    EXPECT_EQ(s.window->windowTitle(), "Brannoc Quillet 1.7");
    EXPECT_FALSE(s.ctx().doc.modified);
    EXPECT_EQ(s.window->memo()->textLength(), 0);
    // The start-up never creates the file.
    EXPECT_FALSE(QFileInfo::exists(settingsFile));
}

TEST(StartUp, TheGreetingStaysUntilTheOptionsAreWritten)
{
    // The highlighting switch writes its key alone: the browsers are still unset.
    const struct {
        const char* settings;
        bool greets;
    } cases[] = {
        { "[VIEW]\r\nhighlight=FALSE\r\n", true },
        { "", false },
        { "[VIEW]\r\nhighlight=TRUE\r\n[PATHS]\r\nmsie=/usr/bin/ie\r\n", false },
        { "[user]\r\nMAIL=@\r\n", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        Started s(c.settings);
        EXPECT_EQ(s.fake.prompts.boxTexts(), c.greets ? QStringList { kGreeting } : QStringList {});
    }
}

TEST(StartUp, EveryKeyIsReadWhateverItsCase)
{
    // Characters outside the code page come back from their references.
    Started s("[font]\r\nNAME=My Font, Fallback\r\nSize=300\r\nstyle=TRUE\r\ncharset=-52\r\n[user]\r\n"
              "name=\xC8\xE2\xE0\xED &#20013;\r\nmail=ivan@example.org\r\n[Paths]\r\nnetscape=/home/zo&#235;/ns\r\n"
              "msie=/usr/bin/ie\r\nbrowser3=/usr/bin/b3\r\nworkshop=ws --edit\r\nextended=not used\r\n");
    EXPECT_TRUE(s.fake.prompts.boxes.isEmpty());
    // A comma does not split the font's name.
    expectRead(s, { "My Font, Fallback", 44, true, 204, QString::fromUtf8("Иван 中"), "ivan@example.org",
                    QString::fromUtf8("/home/zoë/ns"), "/usr/bin/ie", "/usr/bin/b3" });
    EXPECT_EQ(s.ctx().settings.workshopCommand, "ws --edit");
    EXPECT_EQ(s.fake.registry.extendedEditorLookups, 0);
}

struct NumberCase {
    const char* text;
    int byte; // -1: not a number
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class FontNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FontNumbers, WrapIntoAByteOrStop)
{
    const NumberCase& c = GetParam();
    if (c.byte < 0) {
        try {
            startup::toByte(QString::fromUtf8(c.text));
            FAIL() << c.text;
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8("'%1' is not a valid integer value").arg(QString::fromUtf8(c.text)));
        }
    } else {
        EXPECT_EQ(startup::toByte(QString::fromUtf8(c.text)), c.byte) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, FontNumbers,
                         ::testing::Values(NumberCase { "10", 10 }, NumberCase { "300", 44 }, NumberCase { "256", 0 },
                                           NumberCase { "-1", 255 }, NumberCase { "+12", 12 },
                                           NumberCase { "2147483647", 255 }, NumberCase { "2147483648", -1 },
                                           NumberCase { "", -1 }, NumberCase { "12pt", -1 }, NumberCase { "1.5", -1 },
                                           NumberCase { "0x10", -1 }, NumberCase { "\xD0\xB4", -1 }));

TEST(StartUp, OnlyTheExactWordFALSEMeansRegular)
{
    EXPECT_FALSE(startup::isBoldStyle("FALSE"));
    for (const char* bold : { "TRUE", "false", "False", "", "0", "FALSE " })
        EXPECT_TRUE(startup::isBoldStyle(QString::fromLatin1(bold))) << bold;
}

TEST(StartUp, ANonNumberTakesItsKeysDefaultAndStartUpGoesOn)
{
    QTemporaryDir docs;
    const QString file = docs.filePath("page.htm");
    writeFile(file, "<P>");
    const struct {
        const char* numbers;
        QStringList boxes;
        int size, charset;
    } cases[] = {
        { "size=12pt\r\ncharset=204", { "'12pt' is not a valid integer value." }, 10, 204 },
        { "size=12\r\ncharset=cyr", { "'cyr' is not a valid integer value." }, 12, 1 },
        { "size=big\r\ncharset=", { "'big' is not a valid integer value.", "'' is not a valid integer value." }, 10, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.numbers);
        const QByteArray settings = "[FONT]\r\nname=Arial\r\nstyle=TRUE\r\n" + QByteArray(c.numbers)
            + "\r\n[USER]\r\nname=Ivan\r\nmail=i@x\r\n[PATHS]\r\nnetscape=/ns\r\n";
        Started s(settings.constData(), { file });
        EXPECT_EQ(s.fake.prompts.boxTexts(), c.boxes);
        EXPECT_EQ(s.fake.prompts.boxes.value(0).icon, BoxIcon::Stop);
        const SettingsStore& v = s.ctx().settings;
        EXPECT_EQ(v.editorFontSize, c.size);
        EXPECT_EQ(v.editorFontCharset, c.charset);
        EXPECT_EQ(v.userName, "Ivan");
        EXPECT_EQ(v.userMail, "i@x");
        EXPECT_EQ(v.netscapePath, "/ns");
        EXPECT_EQ(s.window->memo()->font().family(), "Arial");
        EXPECT_EQ(s.window->memo()->font().pointSize(), c.size);
        EXPECT_TRUE(s.window->memo()->font().bold());
        EXPECT_EQ(s.ctx().doc.fileName, file);
        EXPECT_EQ(s.window->memo()->toBytes(), "<P>");
    }
}

TEST(StartUp, TheExtendedEditorComesFromWorkshopThenExtendedThenTheRegistry)
{
    Started workshop("[PATHS]\r\nworkshop=ws\r\nextended=ext\r\n");
    EXPECT_EQ(workshop.ctx().settings.workshopCommand, "ws");
    EXPECT_EQ(workshop.fake.registry.extendedEditorLookups, 0);

    Started extended("[PATHS]\r\nworkshop=\r\nextended=\"/opt/ext ed/&#20013;\" -x\r\n");
    EXPECT_EQ(extended.ctx().settings.workshopCommand, QString::fromUtf8("\"/opt/ext ed/中\" -x"));
    EXPECT_EQ(extended.fake.registry.extendedEditorLookups, 0);

    // The registry is only reachable after the window's platform is set, so
    // the sequence runs again on a fresh context with the registry filled.
    Started registry("[USER]\r\nname=x\r\n");
    registry.fake.registry.extendedEditor = "\"C:\\VQ\\vq.exe\" \"%1\"";
    registry.ctx().settings.workshopCommand.clear();
    runStartupSequence(registry.ctx(), {});
    EXPECT_EQ(registry.ctx().settings.workshopCommand, "\"C:\\VQ\\vq.exe\" \"%1\"");
    EXPECT_EQ(registry.fake.registry.extendedEditorLookups, 2);
}

TEST(StartUp, TheCommandLineIsJoinedUpToTheFirstEmptyArgument)
{
    EXPECT_EQ(startup::joinCommandLine({}), "");
    EXPECT_EQ(startup::joinCommandLine({ "" , "a.htm" }), "");
    EXPECT_EQ(startup::joinCommandLine({ "/tmp/My", "Page.htm" }), "/tmp/My Page.htm");
    EXPECT_EQ(startup::joinCommandLine({ "a", "b", "", "c" }), "a b");
}

TEST(StartUp, HelpAndVersionAnswerOnlyWhenAloneAndNoSuchFileExists)
{
    using programoptions::Request;
    QTemporaryDir cwd;
    const QString saved = QDir::currentPath();
    QDir::setCurrent(cwd.path());
    const struct {
        QStringList arguments;
        Request request;
    } cases[] = {
        { { "--help" }, Request::ShowUsage },
        { { "--version" }, Request::ShowVersion },
        { {}, Request::OpenEditor },
        { { "--help", "me.htm" }, Request::OpenEditor },
        { { "--version", "" }, Request::OpenEditor },
        { { "-h" }, Request::OpenEditor },
        { { "-style" }, Request::OpenEditor },
    };
    for (const auto& c : cases)
        EXPECT_EQ(programoptions::requestFor(c.arguments), c.request) << c.arguments.join(u' ').toStdString();
    writeFile(cwd.filePath("--help"), "<P>a document</P>");
    EXPECT_EQ(programoptions::requestFor({ "--help" }), Request::OpenEditor);
    QDir::setCurrent(saved);

    // The built program prints and ends with 0, without a display.
    const QString program = QStringLiteral(QUILLET_BINARY_DIR "/quillet");
    if (!QFileInfo::exists(program))
        GTEST_SKIP() << "the editor itself is not built";
    for (const char* option : { "--version", "--help" }) {
        QProcess run;
        run.setWorkingDirectory(cwd.path() + "/..");
        run.start(program, { QString::fromLatin1(option) });
        ASSERT_TRUE(run.waitForFinished(20000)) << option;
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << option;
        const QByteArray out = run.readAllStandardOutput();
        if (QByteArray(option) == "--version")
            EXPECT_EQ(out, "Brannoc Quillet 1.7.1\n");
        else
            EXPECT_TRUE(out.startsWith("Usage: quillet [FILE]\n") && out.contains("--version")) << out.toStdString();
    }
}

TEST(StartUp, ACommandLineFileIsLoadedAsTheDocument)
{
    QTemporaryDir docs;
    const QString file = docs.filePath("My Page.htm");
    writeFile(file, "<P>\r\n\xCF\xF0\xE8\xE2\xE5\xF2\n");
    Started s("[USER]\r\nname=x\r\n", { docs.filePath("My"), "Page.htm" });
    EXPECT_TRUE(s.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(s.ctx().doc.fileName, file);
    EXPECT_EQ(s.window->windowTitle(), branding::documentWindowTitle(file));
    EXPECT_EQ(s.window->memo()->toBytes(), "<P>\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
    EXPECT_EQ(s.ctx().memo2->bytes(), "<P>\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
    EXPECT_EQ(s.ctx().saveDlgFileName, file);
    EXPECT_FALSE(s.ctx().doc.modified);
    EXPECT_FALSE(s.ctx().doc.launchWroteFile);
    EXPECT_TRUE(s.window->close());
    EXPECT_TRUE(s.fake.prompts.boxes.isEmpty());
}

TEST(StartUp, AFileThatCannotBeOpenedStopsStartUp)
{
    QTemporaryDir docs;
    // Two blanks in a row become one, so this file is not found.
    writeFile(docs.filePath("a  b.htm"), "x");
    const QString rebuilt = docs.filePath("a b.htm");
    Started s("[USER]\r\nname=x\r\n", { docs.filePath("a"), "b.htm" });
    EXPECT_EQ(s.fake.prompts.boxTexts(), QStringList { "Cannot open file " + rebuilt + "." });
    EXPECT_EQ(s.ctx().doc.fileName, rebuilt);
    EXPECT_EQ(s.window->windowTitle(), "Brannoc Quillet 1.7");
    EXPECT_EQ(s.window->memo()->textLength(), 0);

    // Typing and saving then creates that file.
    s.window->memo()->setSelText("new");
    s.window->Save2Click();
    EXPECT_EQ(readFile(rebuilt), "new");

    // A file that exists but cannot be loaded is never written by a later Save.
    Started folder("[USER]\r\nname=x\r\n", { docs.path() });
    EXPECT_EQ(folder.fake.prompts.boxTexts(), QStringList { "Cannot open file " + docs.path() + "." });
    EXPECT_EQ(folder.ctx().doc.fileName, "c:\\untitled.htm");
}

TEST(StartUp, AnOverLargeFileIsHandedToTheExtendedEditorAndNeverOverwritten)
{
    QTemporaryDir docs;
    const QString big = docs.filePath("big file.htm");
    writeFile(big, QByteArray(100, 'x'));
    Started s("[PATHS]\r\nworkshop=/opt/ed --open\r\n");
    s.window->memo()->setCapacity(50);

    s.fake.prompts.answers = { Answer::Yes };
    runStartupSequence(s.ctx(), { big });
    ASSERT_EQ(s.fake.prompts.boxes.size(), 1);
    const MessageBoxSpec& box = s.fake.prompts.boxes[0];
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.text, QString::fromUtf8("Файл слишком велик.\n\rОткрыть файл вы расширенном редакторе?"));
    EXPECT_EQ(box.buttons, (QList<Answer> { Answer::Yes, Answer::No }));
    // The launcher gets the name as it stands; it hands it on as one argument.
    EXPECT_EQ(s.fake.launcher.commandLines, QStringList { "/opt/ed --open " + big });
    EXPECT_EQ(s.ctx().doc.fileName, "c:\\untitled.htm");
    EXPECT_EQ(s.window->windowTitle(), "Brannoc Quillet 1.7");
    EXPECT_FALSE(s.ctx().doc.modified);
    EXPECT_FALSE(s.ctx().doc.launchWroteFile);
    EXPECT_EQ(s.ctx().saveDlgFileName, "");

    // Save asks for a name instead of writing the empty text over the big file.
    s.window->memo()->setSelText("x");
    s.window->Save2Click();
    EXPECT_EQ(s.fake.prompts.saveDialogs.size(), 1);
    EXPECT_EQ(readFile(big), QByteArray(100, 'x'));

    s.fake.prompts.answers = { Answer::No };
    runStartupSequence(s.ctx(), { big });
    EXPECT_EQ(s.fake.launcher.commandLines.size(), 1) << "No starts nothing";

    s.ctx().settings.workshopCommand.clear();
    s.fake.prompts.boxes.clear();
    startup::handOverLargeFile(s.ctx(), big);
    EXPECT_EQ(s.fake.prompts.boxTexts(), QStringList { QString::fromUtf8("Невозможно загрузить файл \"") + big + "\"" });
    EXPECT_EQ(s.fake.prompts.boxes[0].icon, BoxIcon::None);
    EXPECT_EQ(s.fake.launcher.commandLines.size(), 1);
}

TEST(StartUp, TheSettingsFolderIsCompletedWithASlashAndTakenFromXdg)
{
    EXPECT_EQ(startup::completePath(""), "");
    EXPECT_EQ(startup::completePath("/home/u/.config"), "/home/u/.config/");
    EXPECT_EQ(startup::completePath("/home/u/.config/"), "/home/u/.config/");

    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    XdgSystemDirs dirs;
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    const QString absolute = dirs.windowsDirectory();
    qputenv("XDG_CONFIG_HOME", "relative/config");
    const QString relative = dirs.windowsDirectory();
    qunsetenv("XDG_CONFIG_HOME");
    const QString unset = dirs.windowsDirectory();
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(absolute, "/somewhere/config");
    EXPECT_EQ(relative, QDir::homePath() + "/.config");
    EXPECT_EQ(unset, QDir::homePath() + "/.config");
}

} // namespace
