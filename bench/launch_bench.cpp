// Start-up as a person sees it: the real editor process is launched with an
// ordinary page on its command line and timed from exec until it has
// settled, against the floor (quillet_launch_floor: a bare QPlainTextEdit
// that decodes and shows the same bytes in the same font and window size).
// The same page minified into one line is held to the editor's own time
// for the ordinary page.
//
// Settled: the process's CPU time (utime + stime in /proc/PID/stat, all
// threads) grows by at most 2 clock ticks over 300 ms; the time taken is
// the start of that quiet window.
//
//   quillet_launch [--sizes 10,16] [--reps 5] [--editor PATH] [--floor PATH]
//
// It uses the platform the environment names (run it under xvfb-run for
// X11); without one it takes offscreen. Settings, state and cache folders
// are a temporary folder of its own, so no user state and no dialog (first
// start greeting, journal recovery) can come in between.
#include "benchdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kQuietMs = 300;
constexpr long kQuietTicks = 2;
constexpr double kPollMs = 5;
constexpr double kGiveUpMs = 60'000;

double nowMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// utime + stime of the process in clock ticks, or -1 once it is gone.
long cpuTicks(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold blanks and parentheses: fields count from
    // the last ')'. utime and stime are fields 14 and 15, 12 and 13 after it.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return fields.at(11).toLong() + fields.at(12).toLong();
}

struct Launch {
    double settledMs = -1; // exec to the start of the quiet window
    long ticks = 0;        // CPU ticks used until then
};

// Runs `program [option] file` with `env` and waits until it has settled; then kills it.
Launch timeLaunch(const QString& program, const QString& file, const QStringList& env, const char* option = nullptr)
{
    QList<QByteArray> envBytes;
    for (const QString& e : env)
        envBytes.append(e.toLocal8Bit());
    std::vector<char*> envp;
    for (QByteArray& e : envBytes)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    QByteArray path = QFile::encodeName(program);
    QByteArray arg = QFile::encodeName(file);
    QByteArray flag(option ? option : "");
    char* withOption[] = { path.data(), flag.data(), arg.data(), nullptr };
    char* withoutOption[] = { path.data(), arg.data(), nullptr };
    char** argv = option ? withOption : withoutOption;

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    struct Sample {
        double ms;
        long ticks;
    };
    std::vector<Sample> samples;
    size_t candidate = 0;
    Launch result;
    while (nowMs() - start < kGiveUpMs) {
        const long ticks = cpuTicks(pid);
        if (ticks < 0)
            break;
        samples.push_back({ nowMs() - start, ticks });
        // The earliest sample from which the next 300 ms stayed quiet.
        while (candidate < samples.size() && samples.back().ms - samples[candidate].ms >= kQuietMs) {
            const Sample& from = samples[candidate];
            const auto end = std::find_if(samples.begin() + long(candidate), samples.end(),
                                          [&](const Sample& s) { return s.ms - from.ms >= kQuietMs; });
            if (end->ticks - from.ticks <= kQuietTicks) {
                result = { from.ms, from.ticks };
                break;
            }
            ++candidate;
        }
        if (result.settledMs >= 0)
            break;
        usleep(useconds_t(kPollMs * 1000));
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (result.settledMs < 0)
        std::fprintf(stderr, "%s did not settle (exit status %d)\n", qPrintable(program), status);
    return result;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The single runs, in milliseconds, for the line under a table.
QString runsText(const std::vector<double>& times)
{
    QStringList runs;
    for (double t : times)
        runs.append(QString::number(t, 'f', 0));
    return runs.join(u' ');
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString here = QCoreApplication::applicationDirPath();
    QString editor = QDir(here).filePath(QStringLiteral("../quillet"));
    QString floor = QDir(here).filePath(QStringLiteral("quillet_launch_floor"));
    QList<int> sizes { 10, 16 };
    int reps = 5;
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray option = argv[i];
        const QByteArray value = argv[++i];
        if (option == "--sizes") {
            sizes.clear();
            for (const QByteArray& s : value.split(','))
                sizes.append(s.toInt());
        } else if (option == "--reps") {
            reps = qMax(1, value.toInt());
        } else if (option == "--editor") {
            editor = QFile::decodeName(value);
        } else if (option == "--floor") {
            floor = QFile::decodeName(value);
        }
    }

    QTemporaryDir dir;
    QStringList env;
    for (const QString& name : { QStringLiteral("HOME"), QStringLiteral("XDG_CONFIG_HOME"),
                                 QStringLiteral("XDG_STATE_HOME"), QStringLiteral("XDG_CACHE_HOME"),
                                 QStringLiteral("XDG_DATA_HOME") }) {
        const QString folder = dir.filePath(name);
        QDir().mkpath(folder);
        env.append(name + u'=' + folder);
    }
    for (const char* name : { "DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM", "PATH", "LANG" })
        if (qEnvironmentVariableIsSet(name))
            env.append(QString::fromLatin1(name) + u'=' + qEnvironmentVariable(name));
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        env.append(QStringLiteral("QT_QPA_PLATFORM=offscreen"));
    // A settings file, so the first-start greeting stays away; one with
    // highlighting off for the second row.
    const QString config = dir.filePath(QStringLiteral("XDG_CONFIG_HOME/Brannoc Quillet.ini"));
    const QString journals = dir.filePath(QStringLiteral("XDG_STATE_HOME/quillet"));
    auto settings = [&](bool highlight) {
        writeFile(config, highlight ? QByteArray("[USER]\r\nname=Bench\r\n")
                                    : QByteArray("[USER]\r\nname=Bench\r\n[VIEW]\r\nhighlight=FALSE\r\n"));
        // No journal is left behind by a killed start-up (nothing was typed),
        // but a recovery question must never be what the window waits on.
        QDir(journals).removeRecursively();
    };

    QTextStream out(stdout);
    out << "start-up to settled window (CPU quiet: <= " << kQuietTicks << " ticks in " << kQuietMs
        << " ms), median of " << reps << " runs, platform "
        << (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
                ? QStringLiteral("xcb (DISPLAY=%1)").arg(qEnvironmentVariable("DISPLAY"))
                : QStringLiteral("offscreen"))
        << "\n";
    out.flush();
    for (int mib : sizes) {
        const QString file = dir.filePath(QStringLiteral("page%1.htm").arg(mib));
        writeFile(file, benchdocument::make(qsizetype(mib) * 1024 * 1024));
        // A UTF-8 page of the same size, against a floor that decodes it with QString::fromUtf8.
        const QString utf8File = dir.filePath(QStringLiteral("page%1-utf8.htm").arg(mib));
        writeFile(utf8File, benchdocument::makeUtf8(qsizetype(mib) * 1024 * 1024));
        // The same page minified into one line, shown as many display blocks.
        const QString oneLineFile = dir.filePath(QStringLiteral("page%1-oneline.htm").arg(mib));
        writeFile(oneLineFile, benchdocument::makeOneLine(qsizetype(mib) * 1024 * 1024));
        // One untimed run of each, so every run finds the same warm caches.
        settings(true);
        timeLaunch(floor, file, env);
        timeLaunch(editor, file, env);
        // The runs alternate, so the load of a shared machine falls on all alike.
        // 0 floor, 1 editor, 2 editor without highlighting, 3 UTF-8 floor, 4 UTF-8 editor, 5 one-line editor.
        std::vector<double> times[6];
        std::vector<double> ticks[6];
        for (int rep = 0; rep < reps; ++rep) {
            for (int which = 0; which < 6; ++which) {
                settings(which != 2);
                const bool utf8 = which == 3 || which == 4;
                const Launch launch = timeLaunch(which == 0 || which == 3 ? floor : editor,
                                                 utf8 ? utf8File : which == 5 ? oneLineFile : file, env,
                                                 which == 3 ? "--utf8" : nullptr);
                times[which].push_back(launch.settledMs);
                ticks[which].push_back(double(launch.ticks));
            }
        }
        const double floorMs = median(times[0]);
        const double floorTicks = median(ticks[0]);
        out << "\n" << mib << " MiB page: " << QFileInfo(file).size() << " bytes\n";
        out << QStringLiteral("  %1 %2 %3 %4 %5  %6\n").arg(QStringLiteral("process"), -36)
                   .arg(QStringLiteral("ms"), 8).arg(QStringLiteral("/floor"), 7).arg(QStringLiteral("CPU ticks"), 10)
                   .arg(QStringLiteral("/floor"), 7).arg(QStringLiteral("target"));
        const char* names[3] = { "floor: bare QPlainTextEdit", "editor, highlighting on (default)",
                                 "editor, highlighting off" };
        for (int which = 0; which < 3; ++which) {
            const double ms = median(times[which]);
            const double cpu = median(ticks[which]);
            out << QStringLiteral("  %1 %2 %3x %4 %5x  %6\n").arg(QLatin1String(names[which]), -36)
                       .arg(ms, 8, 'f', 0).arg(ms / floorMs, 6, 'f', 2).arg(cpu, 10, 'f', 0)
                       .arg(cpu / floorTicks, 6, 'f', 2).arg(which ? QStringLiteral("<= 1.1x") : QString());
        }
        out << "  runs (ms): floor " << runsText(times[0]) << " | on " << runsText(times[1]) << " | off "
            << runsText(times[2]) << "\n";
        // The one-line page is held to the ordinary page in the same editor, not to the floor.
        out << "\n" << mib << " MiB page minified into one line, against the editor's ordinary page\n";
        out << QStringLiteral("  %1 %2 %3x %4 %5x  %6\n").arg(QStringLiteral("editor, highlighting on (default)"), -36)
                   .arg(median(times[5]), 8, 'f', 0).arg(median(times[5]) / median(times[1]), 6, 'f', 2)
                   .arg(median(ticks[5]), 10, 'f', 0).arg(median(ticks[5]) / median(ticks[1]), 6, 'f', 2)
                   .arg(QStringLiteral("<= 1.3x"));
        out << "  runs (ms): " << runsText(times[5]) << "\n";
        out << "\n" << mib << " MiB page as UTF-8: " << QFileInfo(utf8File).size() << " bytes\n";
        for (int which = 3; which < 5; ++which) {
            const double ms = median(times[which]);
            const double cpu = median(ticks[which]);
            out << QStringLiteral("  %1 %2 %3x %4 %5x  %6\n")
                       .arg(QLatin1String(which == 3 ? "floor: QString::fromUtf8 + QPlainTextEdit" : "editor, highlighting on (default)"), -36)
                       .arg(ms, 8, 'f', 0).arg(ms / median(times[3]), 6, 'f', 2).arg(cpu, 10, 'f', 0)
                       .arg(cpu / median(ticks[3]), 6, 'f', 2).arg(which == 4 ? QStringLiteral("<= 1.1x") : QString());
        }
        out << "  runs (ms): floor " << runsText(times[3]) << " | editor " << runsText(times[4]) << "\n";
        out.flush();
    }
    return 0;
}
