#include "freshdesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const kRootVariable = "QUILLET_FRESH_DESKTOP";

QString root()
{
    return qEnvironmentVariable(kRootVariable);
}

} // namespace

bool FreshDesktop::inFreshProcess()
{
    if (!root().isEmpty())
        return true;
    QTemporaryDir dir;
    const QString folder = dir.path();
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kRootVariable), folder);
    env.insert(QStringLiteral("HOME"), folder + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_CONFIG_DIRS"), folder + QStringLiteral("/etc"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), folder + QStringLiteral("/usr"));
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QString());
    env.insert(QStringLiteral("PATH"), folder + QStringLiteral("/bin:/usr/bin:/bin"));
    // Local files only, and no session bus to tell about starts.
    env.insert(QStringLiteral("GIO_USE_VFS"), QStringLiteral("local"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + folder + QStringLiteral("/no-bus"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromUtf8(test->test_suite_name()),
                                                              QString::fromUtf8(test->name())) });
    const bool finished = child.waitForFinished(60000);
    const QByteArray output = child.readAll();
    EXPECT_TRUE(finished) << "the fresh process did not finish";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    return false;
}

QString FreshDesktop::path(const QString& relative)
{
    return root() + u'/' + relative;
}

void FreshDesktop::write(const QString& relative, const QByteArray& bytes)
{
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
    f.write(bytes);
}

void FreshDesktop::application(const QString& relative, const QByteArray& name, const QByteArray& exec,
                               const QByteArray& more)
{
    write(relative, "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\n" + more);
}

QString FreshDesktop::recorder(const QString& name)
{
    const QString script = path(QStringLiteral("bin/") + name);
    const QByteArray output = QFile::encodeName(path(name + QStringLiteral(".args")));
    write(QStringLiteral("bin/") + name,
          "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" + output + ".part'\n/bin/mv '" + output
              + ".part' '" + output + "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

QByteArray FreshDesktop::recorded(const QString& name)
{
    const QString file = path(name + QStringLiteral(".args"));
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(file) && !deadline.hasExpired())
        QTest::qSleep(20);
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(nothing)");
}
