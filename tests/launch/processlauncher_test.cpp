#include "launch/processlauncher.h"
#include "support/testwindow.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

/// Writes an executable script that records its arguments, one per line in
/// brackets, into `output` (through a rename, so the file appears whole).
void writeRecorder(const QString& scriptPath, const QString& output, const QByteArray& before = {})
{
    QFile script(scriptPath);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + before + "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" + output.toUtf8()
                 + ".part'\n/bin/mv '" + output.toUtf8() + ".part' '" + output.toUtf8() + "'\n");
    script.close();
    ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

/// The recorded arguments, waiting up to ten seconds for the file.
QByteArray waitForFile(const QString& path)
{
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QTest::qSleep(20);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nothing)");
}

/// Children of this process that have ended and wait to be reaped.
int zombieChildren()
{
    int zombies = 0;
    const QString self = QString::number(getpid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // After the command name in parentheses: state, parent pid.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == self.toLatin1() && fields[0] == "Z")
            ++zombies;
    }
    return zombies;
}

struct CurrentDir {
    explicit CurrentDir(const QString& path) : saved(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentDir() { QDir::setCurrent(saved); }
    QString saved;
};

struct PathVariable {
    explicit PathVariable(const QByteArray& value) : saved(qgetenv("PATH")) { qputenv("PATH", value); }
    ~PathVariable() { qputenv("PATH", saved); }
    QByteArray saved;
};

} // namespace

TEST(ProcessLauncher, StartsTheProgramWithItsArgumentsAndNoShell)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("browser"));
    const QString output = dir.filePath(QStringLiteral("argv.txt"));
    writeRecorder(script, output);
    writeFile(dir.filePath(QStringLiteral("x.htm")), "keep");

    ProcessLauncher launcher;
    EXPECT_TRUE(launcher.start(script + QStringLiteral(" -browser  a;rm -rf x.htm $(touch${IFS}owned).htm \"two words\" `id`")));
    EXPECT_EQ(waitForFile(output), QByteArray("[-browser]\n[a;rm]\n[-rf]\n[x.htm]\n[$(touch${IFS}owned).htm]\n[two words]\n[`id`]\n"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("x.htm"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("owned"))));
    EXPECT_FALSE(QFile::exists(QStringLiteral("owned")));
}

TEST(ProcessLauncher, TheDocumentReachesTheProgramAsOneArgument)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("my browser")));
    const QString script = dir.filePath(QStringLiteral("my browser/run"));
    const QString output = dir.filePath(QStringLiteral("argv.txt"));
    writeRecorder(script, output);
    const QByteArray quoted = '"' + script.toUtf8() + '"';

    struct Case {
        QByteArray command;
        const char* document;
        QByteArray arguments;
    };
    const Case cases[] = {
        { quoted + " -browser ", "/tmp/my page.htm", "[-browser]\n[/tmp/my page.htm]\n" },
        { quoted, "x --user-data-dir=EVIL --new-window y.htm", "[x --user-data-dir=EVIL --new-window y.htm]\n" },
        { quoted, "q\"uo te\".htm", "[q\"uo te\".htm]\n" },
        // Placeholders take the document, which is then not appended again.
        { quoted + " --edit %f", "a b.htm", "[--edit]\n[a b.htm]\n" },
        { quoted + " \"%1\" -x", "a b.htm", "[a b.htm]\n[-x]\n" },
        { quoted + " -new-window \"\" %i %U", "http://www.brannoc.example/",
          "[-new-window]\n[]\n[http://www.brannoc.example/]\n" },
    };
    ProcessLauncher launcher;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.toStdString());
        EXPECT_TRUE(launcher.startWithArgument(QString::fromUtf8(c.command), QString::fromUtf8(c.document)));
        EXPECT_EQ(waitForFile(output), c.arguments);
        QFile::remove(output);
    }
}

TEST(ProcessLauncher, ReturnsAtOnceAndLeavesNoZombie)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("slow"));
    const QString output = dir.filePath(QStringLiteral("argv.txt"));
    writeRecorder(script, output, "/bin/sleep 1\n");

    ProcessLauncher launcher;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(launcher.start(script + QStringLiteral(" done")));
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_FALSE(QFile::exists(output)); // the program is still sleeping
    EXPECT_EQ(waitForFile(output), QByteArray("[done]\n"));
    QTest::qSleep(200); // let the program exit after writing
    EXPECT_EQ(zombieChildren(), 0);
}

TEST(ProcessLauncher, MissingOrUnusableProgramsStartNothing)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("plain.txt")), "not a program");
    ProcessLauncher launcher;
    EXPECT_FALSE(launcher.start(QString()));
    EXPECT_FALSE(launcher.start(QStringLiteral(" /tmp/a.htm")));
    EXPECT_FALSE(launcher.start(dir.filePath(QStringLiteral("nothing-here")) + QStringLiteral(" x")));
    EXPECT_FALSE(launcher.start(dir.filePath(QStringLiteral("plain.txt"))));
    EXPECT_FALSE(launcher.start(dir.path())); // a folder
    EXPECT_FALSE(launcher.start(QStringLiteral("C:\\Program Files\\Netscape\\netscape.exe -browser  c:\\untitled.htm")));
    EXPECT_FALSE(launcher.startWithArgument(QStringLiteral("%f"), dir.filePath(QStringLiteral("plain.txt"))));
    EXPECT_FALSE(launcher.start(QStringLiteral("quillet-no-such-program-anywhere")));
}

TEST(ProcessLauncher, BareNamesAreSearchedInOwnFolderThenPathNeverInTheCurrentFolder)
{
    QTemporaryDir own, current, onPath, later;
    for (QTemporaryDir* folder : { &own, &current, &onPath, &later })
        writeRecorder(folder->filePath(QStringLiteral("vq.exe")), folder->filePath(QStringLiteral("out")));
    // "C:\Program" is the first word of the default browser settings.
    writeRecorder(current.filePath(QStringLiteral("C:\\Program")), current.filePath(QStringLiteral("out")));
    // Empty and relative PATH entries stand for the current folder.
    const PathVariable path("::.:vq:" + onPath.path().toUtf8() + ":" + later.path().toUtf8());
    const CurrentDir cwd(current.path());

    const QString name = QStringLiteral("vq.exe");
    EXPECT_EQ(ProcessLauncher::locate(name, own.path()), own.filePath(name));
    EXPECT_EQ(ProcessLauncher::locate(name, QString()), onPath.filePath(name));
    QFile::remove(onPath.filePath(name));
    EXPECT_EQ(ProcessLauncher::locate(name, own.path() + QStringLiteral("/missing")), later.filePath(name));
    // A relative path depends on the current folder as well.
    EXPECT_EQ(ProcessLauncher::locate(QStringLiteral("./vq.exe"), own.path()), QString());
    EXPECT_EQ(ProcessLauncher::locate(QStringLiteral("C:\\Program"), own.path()), QString());

    ProcessLauncher launcher;
    EXPECT_FALSE(launcher.start(QStringLiteral("C:\\Program Files\\Netscape\\netscape.exe -browser  x.htm")));
    EXPECT_FALSE(launcher.startWithArgument(QStringLiteral("./vq.exe"), QStringLiteral("x.htm")));
    EXPECT_TRUE(launcher.start(QStringLiteral("vq.exe first")));
    EXPECT_EQ(waitForFile(later.filePath(QStringLiteral("out"))), QByteArray("[first]\n"));
    QTest::qSleep(300);
    EXPECT_FALSE(QFile::exists(current.filePath(QStringLiteral("out"))));
}

TEST(ProcessLauncher, StartWithArgumentNeverRunsTheDocument)
{
    QTemporaryDir dir;
    // A document that is itself an executable recorder.
    const QString doc = dir.filePath(QStringLiteral("doc.htm"));
    writeRecorder(doc, dir.filePath(QStringLiteral("doc-ran.txt")));

    ProcessLauncher launcher;
    const QString noProgram[] = { QString(), QStringLiteral(" "), QStringLiteral("\t "), QStringLiteral("\""),
                                  QStringLiteral("%f"), QStringLiteral("\"%1\" x"), QStringLiteral("%k %u") };
    for (const QString& head : noProgram) {
        SCOPED_TRACE(head.toStdString());
        EXPECT_FALSE(launcher.startWithArgument(head, doc));
    }
    QTest::qSleep(1000);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("doc-ran.txt"))));
}
