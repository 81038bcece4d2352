#include "launch/processlauncher.h"

#include "launch/commandline.h"
#include "launch/gioapplications.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

QString ProcessLauncher::locate(const QString& program)
{
    return locate(program, QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
}

QString ProcessLauncher::locate(const QString& program, const QString& ownFolder)
{
    if (program.isEmpty())
        return {};
    // A relative path would be looked up from the current folder.
    if (program.contains(u'/'))
        return QDir::isAbsolutePath(program) && isExecutableFile(program) ? QFileInfo(program).absoluteFilePath()
                                                                          : QString();

    QStringList folders;
    if (!ownFolder.isEmpty())
        folders.append(ownFolder);
    // An empty or relative PATH entry means the current folder: left out.
    const QString path = qEnvironmentVariable("PATH");
    for (const QString& folder : path.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            folders.append(folder);
    }

    for (const QString& folder : folders) {
        const QString candidate = QDir(folder).filePath(program);
        if (isExecutableFile(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

bool ProcessLauncher::startResolved(const QString& program, const QStringList& arguments)
{
    const QString executable = locate(program);
    if (executable.isEmpty())
        return false;
    // startDetached forks twice and execs the file itself: the program is
    // not our child (no zombie to reap), no handle is kept, no shell runs,
    // and a failed exec is reported as false without any output.
    return QProcess::startDetached(executable, arguments);
}

bool ProcessLauncher::start(const QString& commandLine)
{
    QStringList words = splitCommandLine(commandLine);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return startResolved(program, words);
}

bool ProcessLauncher::startWithArgument(const QString& command, const QString& document)
{
    QStringList words = commandArguments(command, document);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return startResolved(program, words);
}

bool ProcessLauncher::findsProgram(const QString& command)
{
    return !locate(splitCommandLine(command).value(0)).isEmpty();
}

bool ProcessLauncher::startApplication(const QString& applicationId, const QString& document)
{
    return gioapplications::launch(applicationId, document);
}
