// No file name and no setting can make a started program run a shell
// command: the real launcher is given lines full of shell syntax and starts
// a recording program, which must receive that syntax as plain words while
// the commands hidden in it never run.
#include "core/document/startup.h"
#include "core/platform/apperror.h"
#include "core/text/editorbuffer.h"
#include "launch/commandline.h"
#include "launch/processlauncher.h"
#include "support/testwindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

/// A program that writes its arguments, each ended by a NUL byte, into a file, and a
/// marker file that a shell command in the arguments would create.
struct Recorder {
    Recorder()
    {
        program = dir.filePath(QStringLiteral("record args"));
        writeFile(program, "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                           "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        marker = dir.filePath(QStringLiteral("PWNED"));
    }

    /// The quoted program, as a settings value would name it.
    QString quotedProgram() const { return u'"' + program + u'"'; }

    /// The arguments of the last start, waiting for the program to write them.
    std::optional<QStringList> arguments()
    {
        const QString file = dir.filePath(QStringLiteral("args.txt"));
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(file) && timer.elapsed() < 10000)
            QTest::qWait(20);
        if (!QFileInfo::exists(file))
            return std::nullopt;
        QString text = QString::fromUtf8(readFile(file));
        QFile::remove(file);
        text.chop(1); // the last argument's end
        return text.split(QChar(0));
    }

    /// Shell commands that would create the marker.
    QStringList attacks() const
    {
        const QString m = marker;
        return {
            QStringLiteral("a;touch ") + m,
            QStringLiteral("$(touch ") + m + u')',
            QStringLiteral("`touch ") + m + u'`',
            QStringLiteral("a|touch ") + m,
            QStringLiteral("a&&touch ") + m,
            QStringLiteral("a\ntouch ") + m,
            QStringLiteral("a>") + m,
            QStringLiteral("'a;touch ") + m + u'\'',
        };
    }

    QTemporaryDir dir;
    QString program;
    QString marker;
};

/// A main window whose programs start through the real launcher.
class NoShellWindow : public ::testing::Test {
protected:
    Platform realLauncher()
    {
        Platform platform = t.fake.platform();
        platform.launcher = &launcher;
        return platform;
    }

    Recorder rec;
    TestWindow t;
    ProcessLauncher launcher;
    Tmain window { realLauncher(), {} };
    AppContext& ctx = window.context();
};

} // namespace

TEST(NoShell, CommandLinesWithShellSyntaxReachTheProgramAsPlainWords)
{
    Recorder rec;
    ProcessLauncher launcher;
    for (const QString& attack : rec.attacks()) {
        SCOPED_TRACE(attack.toStdString());
        ASSERT_TRUE(launcher.start(rec.quotedProgram() + u' ' + attack));
        const std::optional<QStringList> args = rec.arguments();
        ASSERT_TRUE(args.has_value()) << "the program did not run";
        EXPECT_EQ(*args, splitCommandLine(attack));
        EXPECT_FALSE(QFileInfo::exists(rec.marker));
    }
    // The parameters of a browser command are words as well.
    ASSERT_TRUE(launcher.startWithArgument(rec.quotedProgram() + QStringLiteral(" --x;touch %u"), rec.marker));
    EXPECT_EQ(rec.arguments(), (QStringList { QStringLiteral("--x;touch"), rec.marker }));
    EXPECT_FALSE(QFileInfo::exists(rec.marker));
}

TEST_F(NoShellWindow, APreviewOfADocumentNamedLikeAShellCommandRunsNoCommand)
{

    // A file name a downloaded archive could carry.
    QDir(rec.dir.path()).mkdir(QStringLiteral("$(touch PWNED)"));
    const QString doc = rec.dir.filePath(QStringLiteral("$(touch PWNED)/x;touch PWNED;.htm"));
    ctx.doc.fileName = doc;
    ctx.memo1->setText(QStringLiteral("<HTML></HTML>"));
    ctx.settings.netscapePath = rec.quotedProgram();
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(rec.dir.path()); // where a relative "touch PWNED" would land
    window.Netscape1Click();
    const std::optional<QStringList> args = rec.arguments();
    QDir::setCurrent(oldCurrent);

    ASSERT_TRUE(args.has_value()) << "the browser did not start";
    EXPECT_EQ(*args, (QStringList { QStringLiteral("-browser"), doc }));
    EXPECT_EQ(readFile(doc), QByteArray("<HTML></HTML>"));
    EXPECT_FALSE(QFileInfo::exists(rec.marker));
}

TEST_F(NoShellWindow, TheOverLargeHandOverKeepsTheFileNameWhole)
{
    const QString names[] = { rec.dir.filePath(QStringLiteral("big; touch ") + rec.marker + QStringLiteral(" .htm")),
                              rec.dir.filePath(QStringLiteral("q\"uo te\".htm")) };
    for (const QString& big : names) {
        SCOPED_TRACE(big.toStdString());
        ctx.settings.workshopCommand = rec.quotedProgram() + QStringLiteral(" --edit");
        t.fake.prompts.answers = { Answer::Yes };
        startup::handOverLargeFile(ctx, big);
        EXPECT_EQ(rec.arguments(), (QStringList { QStringLiteral("--edit"), big }));
        // A registered command's "%1" takes the name, which follows it no more.
        ctx.settings.workshopCommand = rec.quotedProgram() + QStringLiteral(" \"%1\" --new");
        t.fake.prompts.answers = { Answer::Yes };
        startup::handOverLargeFile(ctx, big);
        EXPECT_EQ(rec.arguments(), (QStringList { big, QStringLiteral("--new") }));
    }
    EXPECT_FALSE(QFileInfo::exists(rec.marker));
}

TEST_F(NoShellWindow, WithoutAProgramTheDocumentItselfIsNeverRun)
{
    // An empty or blank program setting names no program; with no desktop
    // browser to stand in, nothing starts. The document must never become
    // the program, even when it is an executable script (as on a stick that
    // marks every file executable) or when the part of its name before a
    // blank is one.
    // The buffer ends its lines with CR LF; "env -S" reads the CR as part of a comment.
    const QString script = QStringLiteral("#!/usr/bin/env -S sh -c \"touch ") + rec.marker
        + QStringLiteral("\" #\r\n<HTML></HTML>\r\n");
    writeFile(rec.dir.filePath(QStringLiteral("my")), "#!/bin/sh\ntouch '" + rec.marker.toUtf8() + "'\n");
    QFile::setPermissions(rec.dir.filePath(QStringLiteral("my")), QFile::ReadOwner | QFile::ExeOwner);

    struct Case {
        const char* name;
        QString browser3;
        QString msie;
        void (Tmain::*handler)();
    };
    const Case cases[] = {
        { "page.htm", QString(), QString(), &Tmain::Anybrowser1Click },
        { "my page.htm", QString(), QString(), &Tmain::Anybrowser1Click },
        { "page.htm", QString(), QStringLiteral("   "), &Tmain::MSIE1Click },
        { "my page.htm", QString(), QStringLiteral("\t"), &Tmain::MSIE1Click },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString doc = rec.dir.filePath(QString::fromUtf8(c.name));
        writeFile(doc, "");
        QFile::setPermissions(doc, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ctx.doc.fileName = doc;
        ctx.doc.launchWroteFile = false;
        ctx.memo1->setText(script);
        ctx.settings.browser3Path = c.browser3;
        ctx.settings.msiePath = c.msie;
        t.fake.prompts.boxes.clear();
        (window.*c.handler)();
        // No program and no desktop browser: said so, the file untouched.
        EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QStringLiteral("Cannot run x-scheme-handler/https.") });
        EXPECT_EQ(readFile(doc), QByteArray());
        EXPECT_FALSE(ctx.doc.launchWroteFile);
    }
    QTest::qWait(1500); // time enough for a wrongly started script to run
    EXPECT_FALSE(QFileInfo::exists(rec.marker));
}
