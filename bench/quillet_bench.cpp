// Times the editor's whole-text commands on big realistic documents, on the
// real main window under the offscreen platform, against the floor: decoding
// the same bytes and QPlainTextEdit::setPlainText alone.
//
//   quillet_bench [--sizes 1,16] [--reps 3] [--only ordinary,long,mixed,check,utf8]
#include "benchdocument.h"

#include "core/document/documentjournal.h"
#include "core/encoding/linebreaks.h"
#include "core/journal/journalformat.h"
#include "core/platform/largeallocations.h"
#include "core/platform/platform.h"
#include "core/platform/programlauncher.h"
#include "core/platform/registry.h"
#include "core/platform/systemdirs.h"
#include "core/platform/userprompts.h"
#include "core/text/editorbuffer.h"
#include "tools/pagecheckrun.h"
#include "tools/printersystem.h"
#include "tools/replacedialog.h"
#include "ui/pagecheckwindow.h"
#include "ui/taghighlighter.h"
#include "ui/umain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Platform services that ask nobody and start nothing.
struct BenchPrompts : UserPrompts {
    QString openName;
    Answer messageBox(const MessageBoxSpec& request) override { return request.defaultButton; }
    std::optional<FileDialogResult> openFile(const FileDialogSpec&) override { return FileDialogResult { openName, 1 }; }
    std::optional<FileDialogResult> saveFile(const FileDialogSpec&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
};
struct NoLauncher : ProgramLauncher {
    bool start(const QString&) override { return false; }
    bool startWithArgument(const QString&, const QString&) override { return false; }
    bool findsProgram(const QString&) override { return false; }
    bool startApplication(const QString&, const QString&) override { return false; }
};
struct NoRegistry : Registry {
    QString extendedEditorCommand() override { return {}; }
    DesktopApplication applicationFor(const QString&) override { return {}; }
};
struct BenchDirs : SystemDirs {
    QString directory;
    QString stateDir;
    QString windowsDirectory() override { return directory; }
    QString stateDirectory() override { return stateDir; }
};
struct NoPrinters : PrinterSystem {
    std::unique_ptr<QPrinter> printer;
    bool hasDefaultPrinter() override { return false; }
    QStringList printerNames() override { return {}; }
    QPrinter& currentPrinter() override
    {
        if (!printer)
            printer = std::make_unique<QPrinter>();
        return *printer;
    }
};

struct BenchPlatform {
    BenchPrompts prompts;
    NoLauncher launcher;
    NoRegistry registry;
    BenchDirs dirs;
    NoPrinters printers;
    Platform platform() { return { &prompts, &launcher, &registry, &dirs, &printers }; }
};

// The offscreen platform warns about window features it lacks; the table
// is easier to read without those lines.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s%s\n", type == QtDebugMsg ? "" : "warning: ", qPrintable(message));
}

void settle() { QCoreApplication::processEvents(); }

double msSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

double cpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// CPU time of the calling thread alone: the GUI thread's own work, apart
// from a check's thread and from waiting for other processes.
double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The median CPU time of the last median() call. Comparisons of the same
// work with highlighting on and off use it: on a shared machine other
// processes stretch the wall time of one run and not the other.
double g_lastCpuMs = 0;

// Median of `reps` runs of `work`, each after an untimed `prepare`.
double median(int reps, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    std::vector<double> cpu;
    for (int i = 0; i < reps; ++i) {
        prepare();
        settle();
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        work();
        settle();
        times.push_back(msSince(timer));
        cpu.push_back(cpuMs() - cpuStart);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    g_lastCpuMs = cpu[cpu.size() / 2];
    return times[times.size() / 2];
}

// The floor: median time of a bare QPlainTextEdit, in the window size of
// the editor's tests, taking the text `decode` makes of the bytes.
double measureFloor(int reps, const std::function<QString()>& decode)
{
    QPlainTextEdit bare;
    bare.resize(600, 377);
    bare.show();
    const double ms = median(reps, [&] { bare.setPlainText(QString()); }, [&] { bare.setPlainText(decode()); });
    bare.setPlainText(QString());
    bare.hide();
    settle();
    return ms;
}

// CPU time of one key pressed in the editing area with the caret at `at`,
// on screen as where one types, until the event loop is idle again, the
// repaint included.
double keyCpuMs(EditorBuffer& memo, qsizetype at, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    memo.setSelStart(at);
    memo.ensureCursorVisible();
    memo.setFocus();
    memo.viewport()->repaint();
    settle();
    settle();
    const double start = cpuMs();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&memo, &press);
    QApplication::sendEvent(&memo, &release);
    memo.viewport()->repaint();
    settle();
    return cpuMs() - start;
}

long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

std::unique_ptr<Tmain> makeWindow(BenchPlatform& fake, const QStringList& arguments)
{
    auto window = std::make_unique<Tmain>(fake.platform(), arguments);
    window->show();
    settle();
    return window;
}

// Peak memory, in a child process of its own, of the floor or of loading
// the file into the editor.
long childPeak(int argc, char** argv, const QString& dir, const QString& file, bool floor, bool highlight = true)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        QApplication app(argc, argv);
        long peak = -1;
        if (floor) {
            QPlainTextEdit edit;
            edit.resize(600, 377);
            edit.show();
            settle();
            QFile in(file);
            in.open(QIODevice::ReadOnly);
            const QByteArray bytes = in.readAll();
            in.close();
            edit.setPlainText(linebreaks::decodeToEditorText(bytes));
            settle();
            peak = peakKiB();
        } else {
            BenchPlatform fake;
            fake.dirs.directory = dir;
            fake.prompts.openName = file;
            auto window = makeWindow(fake, {});
            window->highlighter().setEnabled(highlight);
            window->OpenBtnClick();
            settle();
            while (highlight && !window->highlighter().isSettled())
                settle();
            peak = peakKiB();
        }
        if (write(fds[1], &peak, sizeof peak) != sizeof peak)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long peak = -1;
    if (read(fds[0], &peak, sizeof peak) != sizeof peak)
        peak = -1;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return peak;
}

// Peak memory in a child process of its own, after loading the file and
// again after space removal and select all + Ctrl+B, with or without the
// edit journal (kept in `state`).
std::pair<long, long> commandPeaks(int argc, char** argv, const QString& dir, const QString& file, const QString& state)
{
    int fds[2];
    if (pipe(fds) != 0)
        return { -1, -1 };
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        QApplication app(argc, argv);
        long peaks[2] = { -1, -1 };
        {
            BenchPlatform fake;
            fake.dirs.directory = dir;
            fake.dirs.stateDir = state;
            fake.prompts.openName = file;
            auto window = makeWindow(fake, {});
            window->OpenBtnClick();
            settle();
            peaks[0] = peakKiB();
            window->Nospase1Click();
            window->SelectAll1Click();
            window->Bold1Click();
            settle();
            if (window->context().journal)
                window->context().journal->waitIdle();
            peaks[1] = peakKiB();
            window->context().doc.modified = false;
        }
        if (write(fds[1], peaks, sizeof peaks) != sizeof peaks)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long peaks[2] = { -1, -1 };
    if (read(fds[0], peaks, sizeof peaks) != sizeof peaks)
        peaks[0] = peaks[1] = -1;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return { peaks[0], peaks[1] };
}

struct Row {
    QString name;
    double ms;
    QString target; // e.g. "<= 1.2x"
    double cpu = 0; // the median run's CPU time, for on/off comparisons
};

void report(int mib, qsizetype bytes, int lines, double floorMs, const std::vector<Row>& rows, long floorPeak,
            long loadPeak, long plainPeak)
{
    QTextStream out(stdout);
    out << "\n" << mib << " MiB document: " << bytes << " bytes, " << lines << " lines\n";
    out << QStringLiteral("  %1 %2 %3  %4\n").arg(QStringLiteral("measure"), -44).arg(QStringLiteral("ms"), 10)
               .arg(QStringLiteral("/floor"), 8).arg(QStringLiteral("target"));
    out << QStringLiteral("  %1 %2 %3\n").arg(QStringLiteral("floor: decode + QPlainTextEdit::setPlainText"), -44)
               .arg(floorMs, 10, 'f', 1).arg(1.0, 7, 'f', 2);
    for (const Row& row : rows)
        out << QStringLiteral("  %1 %2 %3x  %4\n").arg(row.name, -44).arg(row.ms, 10, 'f', 1)
                   .arg(row.ms / floorMs, 7, 'f', 2).arg(row.target);
    if (floorPeak < 0)
        return out.flush();
    out << QStringLiteral("  peak memory (VmHWM): floor %1 MiB, after loading %2 MiB, ratio %3x  (target <= 1.3x)\n")
               .arg(floorPeak / 1024.0, 0, 'f', 1).arg(loadPeak / 1024.0, 0, 'f', 1)
               .arg(double(loadPeak) / double(floorPeak), 0, 'f', 2);
    out << QStringLiteral("  peak memory with highlighting on %1 MiB, off %2 MiB, ratio %3x  (target <= 1.1x)\n")
               .arg(loadPeak / 1024.0, 0, 'f', 1).arg(plainPeak / 1024.0, 0, 'f', 1)
               .arg(double(loadPeak) / double(plainPeak), 0, 'f', 2);
    out.flush();
}

// One key typed in the middle of the text, with the repaint it causes.
double keystroke(EditorBuffer& memo)
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&memo, &press);
    QApplication::sendEvent(&memo, &release);
    memo.viewport()->repaint();
    settle();
    return msSince(timer);
}

// An undo or redo timed after `prepare` ran the command, against the
// command's own time.
Row undoRow(const QString& name, double commandMs, int reps, const std::function<void()>& prepare,
            const std::function<void()>& work)
{
    Row row { name, median(reps, prepare, work), {} };
    row.cpu = g_lastCpuMs;
    row.target = QStringLiteral("<= 1.5x the command (%1x)").arg(row.ms / commandMs, 0, 'f', 2);
    return row;
}

// The edit journal's cost: the same commands with and without it, typing
// with it, and the memory peaks measured in child processes.
void journalRows(int mib, int reps, const QString& file, const QString& dir,
                 const QString& state, std::pair<long, long> plainPeaks, std::pair<long, long> journalPeaks)
{
    QTextStream out(stdout);
    out << "\n" << mib << " MiB document with the edit journal (runs with and without it alternate)\n";
    // Two windows, one journaling: the runs alternate so that the load of a
    // shared machine falls on both alike.
    BenchPlatform fakes[2];
    std::unique_ptr<Tmain> windows[2];
    for (int on = 0; on < 2; ++on) {
        fakes[on].dirs.directory = dir;
        fakes[on].dirs.stateDir = on ? state : QString();
        fakes[on].prompts.openName = file;
        windows[on] = makeWindow(fakes[on], {});
    }
    auto reload = [&](int on) {
        Tmain& window = *windows[on];
        if (on)
            window.context().journal->waitIdle();
        window.memo()->setText(QString());
        window.context().doc.modified = false;
        window.OpenBtnClick();
        if (on)
            window.context().journal->waitIdle();
        settle();
    };
    std::vector<double> times[2][2]; // [journal][command]
    for (int rep = 0; rep < reps; ++rep) {
        for (int command = 0; command < 2; ++command) {
            for (int on = 0; on < 2; ++on) {
                reload(on);
                QElapsedTimer timer;
                timer.start();
                if (command == 0) {
                    windows[on]->Nospase1Click();
                } else {
                    windows[on]->SelectAll1Click();
                    windows[on]->Bold1Click();
                }
                settle();
                times[on][command].push_back(msSince(timer));
            }
        }
    }
    double plain[2] = {};
    double journaled[2] = {};
    for (int command = 0; command < 2; ++command) {
        for (int on = 0; on < 2; ++on) {
            auto& t = times[on][command];
            std::sort(t.begin(), t.end());
            (on ? journaled : plain)[command] = t[t.size() / 2];
        }
    }
    // Typing: five keys (the first after loading also starts the journal
    // with the whole text), then a burst of 200.
    double keyMs[2] = {};
    double burstMax[2] = {};
    qint64 journalBytes = 0;
    for (int on = 0; on < 2; ++on) {
        reload(on);
        EditorBuffer& memo = *windows[on]->memo();
        memo.setSelStart(memo.textLength() / 2);
        memo.setFocus();
        settle();
        std::vector<double> keys;
        for (int i = 0; i < 5; ++i)
            keys.push_back(keystroke(memo));
        std::sort(keys.begin(), keys.end());
        keyMs[on] = keys[keys.size() / 2];
        for (int i = 0; i < 200; ++i)
            burstMax[on] = std::max(burstMax[on], keystroke(memo));
        if (on) {
            DocumentJournal* journal = windows[on]->context().journal;
            journal->waitIdle();
            journalBytes = QFileInfo(journal->path()).size();
            if (journalformat::decodedText(journalformat::read(readBytes(journal->path()))) != memo.text())
                std::fprintf(stderr, "the journal does not replay to the text\n");
        }
    }
    for (auto& window : windows)
        window->context().doc.modified = false;
    out << QStringLiteral("  %1 %2 %3  %4\n").arg(QStringLiteral("measure"), -44).arg(QStringLiteral("ms"), 10)
               .arg(QStringLiteral("/plain"), 8).arg(QStringLiteral("target"));
    const char* names[2] = { "space removal", "select all + wrap in <B> (Ctrl+A, Ctrl+B)" };
    for (int i = 0; i < 2; ++i)
        out << QStringLiteral("  %1 %2 %3x  <= 1.1x (without: %4 ms)\n").arg(QString::fromLatin1(names[i]), -44)
                   .arg(journaled[i], 10, 'f', 1).arg(journaled[i] / plain[i], 7, 'f', 2).arg(plain[i], 0, 'f', 1);
    out << QStringLiteral("  %1 %2           < 20 ms (without: %3 ms)\n")
               .arg(QStringLiteral("one keystroke in the middle (+ repaint)"), -44).arg(keyMs[1], 10, 'f', 1)
               .arg(keyMs[0], 0, 'f', 1);
    out << QStringLiteral("  %1 %2           < 20 ms (without: %3 ms; journal then %4 bytes)\n")
               .arg(QStringLiteral("200-key burst: slowest key"), -44).arg(burstMax[1], 10, 'f', 1)
               .arg(burstMax[0], 0, 'f', 1).arg(journalBytes);
    if (plainPeaks.first < 0)
        return out.flush();
    out << QStringLiteral("  peak memory (VmHWM) after loading: %1 MiB, with the journal %2 MiB, ratio %3x  (target <= 1.1x)\n")
               .arg(plainPeaks.first / 1024.0, 0, 'f', 1).arg(journalPeaks.first / 1024.0, 0, 'f', 1)
               .arg(double(journalPeaks.first) / double(plainPeaks.first), 0, 'f', 2);
    out << QStringLiteral("  peak memory (VmHWM) after the commands: %1 MiB, with the journal %2 MiB, ratio %3x  (target <= 1.1x)\n")
               .arg(plainPeaks.second / 1024.0, 0, 'f', 1).arg(journalPeaks.second / 1024.0, 0, 'f', 1)
               .arg(double(journalPeaks.second) / double(plainPeaks.second), 0, 'f', 2);
    // Space removal, select all and Ctrl+B, each kept for undo.
    out << QStringLiteral("  peak memory after the three commands, with their undo history: %1 MiB, the loaded page %2 MiB, "
                          "ratio %3x  (target <= 2.5x)\n")
               .arg(journalPeaks.second / 1024.0, 0, 'f', 1).arg(journalPeaks.first / 1024.0, 0, 'f', 1)
               .arg(double(journalPeaks.second) / double(journalPeaks.first), 0, 'f', 2);
    out.flush();
}

// The page as UTF-8 of the same size in bytes: its open against a bare
// QPlainTextEdit fed by QString::fromUtf8, and its save against the
// Windows-1251 page's save.
void utf8Rows(int mib, int reps, const QString& windows1251File, const QString& utf8File, const QString& dir)
{
    const QByteArray bytes = readBytes(utf8File);
    const double floorMs = measureFloor(reps, [&] { return QString::fromUtf8(bytes); });

    BenchPlatform fake;
    fake.dirs.directory = dir;
    auto window = makeWindow(fake, {});
    EditorBuffer& memo = *window->memo();
    auto reset = [&] {
        memo.setText(QString());
        window->context().doc.modified = false;
    };
    std::vector<Row> rows;
    double loads[2] = {};
    double saves[2] = {};
    double encodes[2] = {};
    for (int utf8 = 0; utf8 < 2; ++utf8) {
        fake.prompts.openName = utf8 ? utf8File : windows1251File;
        loads[utf8] = median(reps, reset, [&] { window->OpenBtnClick(); });
        if (memo.encoding().isUtf8() != bool(utf8))
            std::fprintf(stderr, "the page did not open in its encoding\n");
        const QString saved = QDir(dir).filePath(utf8 ? QStringLiteral("saved-utf8.htm") : QStringLiteral("saved-1251.htm"));
        window->context().doc.fileName = saved;
        saves[utf8] = median(reps, [] {}, [&] { window->Save2Click(); });
        encodes[utf8] = median(reps, [] {}, [&] { memo.toBytes(); });
        if (readBytes(saved) != (utf8 ? bytes : readBytes(windows1251File)))
            std::fprintf(stderr, "the saved page differs from the opened one\n");
    }
    rows.push_back({ QStringLiteral("the text's bytes alone (toBytes), UTF-8"), encodes[1],
                     QStringLiteral("Windows-1251 page: %1 ms").arg(encodes[0], 0, 'f', 1) });
    rows.push_back({ QStringLiteral("load from file (Open), UTF-8"), loads[1],
                     QStringLiteral("Windows-1251 page: %1 ms").arg(loads[0], 0, 'f', 1) });
    rows.push_back({ QStringLiteral("save, UTF-8"), saves[1],
                     QStringLiteral("%1x the Windows-1251 save (%2 ms), target <= 1.1x")
                         .arg(saves[1] / saves[0], 0, 'f', 2).arg(saves[0], 0, 'f', 1) });
    fake.prompts.openName = utf8File;
    reset();
    window->OpenBtnClick();
    memo.setSelStart(memo.textLength() / 2);
    memo.setFocus();
    settle();
    std::vector<double> keys;
    for (int i = 0; i < 5; ++i)
        keys.push_back(keystroke(memo));
    std::sort(keys.begin(), keys.end());
    rows.push_back({ QStringLiteral("one keystroke in the middle (+ repaint)"), keys[keys.size() / 2],
                     QStringLiteral("< 20 ms") });
    window->context().doc.modified = false;
    QTextStream(stdout) << "\n" << mib << " MiB page as UTF-8 (floor: QString::fromUtf8 + setPlainText)";
    report(mib, bytes.size(), memo.lineCount(), floorMs, rows, -1, -1, -1);
}

// A page of ordinary lines with a few long ones near the top and the bottom,
// highlighting on: the open, and keys in both kinds of line, where the
// positions of the lines' starts must follow every edit.
void mixedRows(Tmain& window, BenchPlatform& fake, const QString& file, int mib, double floorMs, double ordinaryLoad,
               int reps)
{
    EditorBuffer& memo = *window.memo();
    const QByteArray bytes = readBytes(file);
    fake.prompts.openName = file;
    std::vector<Row> rows;
    const double load = median(
        reps,
        [&] {
            memo.setText(QString());
            window.context().doc.modified = false;
        },
        [&] { window.OpenBtnClick(); });
    rows.push_back({ QStringLiteral("load from file (Open)"), load,
                     QStringLiteral("%1x the ordinary load").arg(load / ordinaryLoad, 0, 'f', 2) });
    QElapsedTimer lexing;
    lexing.start();
    while (!window.highlighter().isSettled())
        settle();
    rows.push_back({ QStringLiteral("highlighting: whole text lexed in the background"), msSince(lexing),
                     QStringLiteral("wall time, in slices of <= 4 ms; the keys below come after it") });
    // Document positions are byte offsets: a byte a character, CRLF two.
    auto lineAt = [&](double fraction) {
        return bytes.indexOf("\r\n", qsizetype(double(bytes.size()) * fraction)) + 2;
    };
    const double lineStarts[] = { 1.0 / 64, benchdocument::kMixedLongLines[0], 0.5, benchdocument::kMixedLongLines[3],
                                  63.0 / 64 };
    struct KeyCase {
        const char* name;
        Qt::Key key;
        QString text;
        qsizetype intoLine; // how far into the line; long lines are 256 KiB
    };
    const KeyCase keyCases[] = {
        { "key 'a' (CPU)", Qt::Key_A, QStringLiteral("a"), 3 },
        { "key 'a' 128 KiB into the line (CPU)", Qt::Key_A, QStringLiteral("a"), 128 * 1024 },
        { "Enter (CPU)", Qt::Key_Return, QStringLiteral("\r"), 3 },
        { "Backspace at a line start (CPU)", Qt::Key_Backspace, QString(), 0 },
    };
    for (const KeyCase& k : keyCases) {
        std::vector<double> times;
        for (const double fraction : lineStarts)
            times.push_back(keyCpuMs(memo, lineAt(fraction) + k.intoLine, k.key, Qt::NoModifier, k.text));
        std::sort(times.begin(), times.end());
        rows.push_back({ QStringLiteral("%1, worst of 5 places").arg(QLatin1String(k.name)), times.back(),
                         QStringLiteral("< 20 ms (top, long line, middle, long line, bottom)") });
    }
    QTextStream(stdout) << "\n" << mib << " MiB page of ordinary lines with 4 long lines of 256 KiB, highlighting on";
    report(mib, bytes.size(), memo.lineCount(), floorMs, rows, -1, -1, -1);
    window.context().doc.modified = false;
}

// The page check on the ordinary page, highlighting on: from the command to
// the first row on screen, and the longest the GUI thread was busy in that
// time (the command itself, or the longest gap between the ticks of a 1 ms
// timer, the display of the rows included); then the slowest of keys typed
// every 5 ms while a check runs.
void pageCheckRows(Tmain& window, BenchPlatform& fake, const QString& file, int mib, double floorMs, int reps)
{
    EditorBuffer& memo = *window.memo();
    fake.prompts.openName = file;
    auto reload = [&] {
        memo.setText(QString());
        window.context().doc.modified = false;
        window.OpenBtnClick();
        while (!window.highlighter().isSettled())
            settle();
    };
    const QString checking = QStringLiteral("Проверка...");
    std::vector<double> firstRow, busiest, busiestCpu, command;
    int shownRows = 0;
    for (int i = 0; i < reps; ++i) {
        reload();
        QElapsedTimer timer;
        double lastTick = 0;
        double lastCpu = 0;
        double longest = 0;
        double longestCpu = 0;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const double now = msSince(timer);
            const double cpu = threadCpuMs();
            longest = std::max(longest, now - lastTick);
            longestCpu = std::max(longestCpu, cpu - lastCpu);
            lastTick = now;
            lastCpu = cpu;
        });
        timer.start();
        const double startCpu = threadCpuMs();
        window.Checkpage1Click();
        lastTick = msSince(timer);
        lastCpu = threadCpuMs();
        command.push_back(lastTick);
        longest = lastTick;
        longestCpu = lastCpu - startCpu;
        ticks.start();
        auto* check = window.findChild<TPageCheck*>(QStringLiteral("PageCheck"));
        while (check->summaryLabel()->text() == checking)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        check->rowList()->viewport()->repaint();
        const double shown = msSince(timer);
        longest = std::max(longest, shown - lastTick);
        longestCpu = std::max(longestCpu, threadCpuMs() - lastCpu);
        ticks.stop();
        firstRow.push_back(shown);
        busiest.push_back(longest);
        busiestCpu.push_back(longestCpu);
        shownRows = check->rowList()->model()->rowCount();
    }
    std::vector<double> keys, keysCpu;
    for (int i = 0; i < reps; ++i) {
        reload();
        memo.setSelStart(memo.textLength() / 2);
        memo.setFocus();
        window.Checkpage1Click();
        auto* check = window.findChild<TPageCheck*>(QStringLiteral("PageCheck"));
        // Keys typed while Tidy runs: the first outdates the check, which
        // runs to its end all the same.
        while (check->run().isCopying())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        while (check->summaryLabel()->text() == checking) {
            const double cpu = threadCpuMs();
            keys.push_back(keystroke(memo));
            keysCpu.push_back(threadCpuMs() - cpu);
            QEventLoop pause;
            QTimer::singleShot(5, &pause, &QEventLoop::quit);
            pause.exec();
        }
    }
    // The same keys with no check running, for comparison.
    std::vector<double> plainKeys, plainKeysCpu;
    reload();
    memo.setSelStart(memo.textLength() / 2);
    memo.setFocus();
    while (plainKeys.size() < keys.size()) {
        const double cpu = threadCpuMs();
        plainKeys.push_back(keystroke(memo));
        plainKeysCpu.push_back(threadCpuMs() - cpu);
        QEventLoop pause;
        QTimer::singleShot(5, &pause, &QEventLoop::quit);
        pause.exec();
    }
    auto medianOf = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::vector<Row> rows;
    rows.push_back({ QStringLiteral("page check: command to first row shown"), medianOf(firstRow),
                     QStringLiteral("< 500 ms on 1 MiB (%1 rows)").arg(shownRows) });
    rows.push_back({ QStringLiteral("page check: longest GUI-thread block (CPU)"), medianOf(busiestCpu),
                     QStringLiteral("< 20 ms; worst run %1 ms")
                         .arg(*std::max_element(busiestCpu.begin(), busiestCpu.end()), 0, 'f', 1) });
    rows.push_back({ QStringLiteral("page check: longest gap between 1 ms ticks"), medianOf(busiest),
                     QStringLiteral("wall time, other processes' turns included; worst %1 ms")
                         .arg(*std::max_element(busiest.begin(), busiest.end()), 0, 'f', 1) });
    rows.push_back({ QStringLiteral("page check: the command (copy of the text)"), medianOf(command),
                     QStringLiteral("part of the block above") });
    rows.push_back({ QStringLiteral("page check: slowest key typed during it"),
                     keys.empty() ? 0.0 : *std::max_element(keys.begin(), keys.end()),
                     QStringLiteral("< 20 ms (%1 keys; the same keys without a check: slowest %2 ms)")
                         .arg(keys.size())
                         .arg(plainKeys.empty() ? 0.0 : *std::max_element(plainKeys.begin(), plainKeys.end()), 0,
                              'f', 1) });
    auto slowest = [](const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()); };
    rows.push_back({ QStringLiteral("page check: slowest key typed during it (CPU)"), slowest(keysCpu),
                     QStringLiteral("< 20 ms (GUI thread; without a check: %1 ms)").arg(slowest(plainKeysCpu), 0, 'f', 1) });
    QTextStream(stdout) << "\n" << mib << " MiB ordinary page, the page check, highlighting on";
    report(mib, readBytes(file).size(), memo.lineCount(), floorMs, rows, -1, -1, -1);
    window.context().doc.modified = false;
}

} // namespace

int main(int argc, char** argv)
{
    // As the editor does; the children that measure memory peaks inherit it.
    mapLargeAllocations();
    qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QList<int> sizes { 1, 16 };
    int reps = 3;
    QStringList sections { QStringLiteral("ordinary"), QStringLiteral("long"), QStringLiteral("mixed"),
                           QStringLiteral("check"),
                           QStringLiteral("utf8") };
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--sizes") == 0) {
            sizes.clear();
            for (const QByteArray& s : QByteArray(argv[++i]).split(','))
                sizes.append(s.toInt());
        } else if (qstrcmp(argv[i], "--reps") == 0) {
            reps = qMax(1, QByteArray(argv[++i]).toInt());
        } else if (qstrcmp(argv[i], "--only") == 0) {
            sections = QString::fromLocal8Bit(argv[++i]).split(u',');
        }
    }
    const bool ordinary = sections.contains(QStringLiteral("ordinary"));
    const bool oneLine = sections.contains(QStringLiteral("long"));
    const bool mixed = sections.contains(QStringLiteral("mixed"));
    const bool pageCheck = sections.contains(QStringLiteral("check"));
    const bool utf8 = sections.contains(QStringLiteral("utf8"));

    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("Brannoc Quillet.ini")), "[USER]\r\nname=Bench\r\n");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());

    // Documents and memory peaks first: the children fork from a process
    // that holds no Qt state yet.
    struct Doc {
        int mib;
        QString file;
        long floorPeak, loadPeak, plainPeak;
        std::pair<long, long> plainPeaks, journalPeaks;
        QString longFile;
        long longPeak;
        QString mixedFile;
        QString utf8File;
    };
    const QString state = dir.filePath(QStringLiteral("state"));
    std::vector<Doc> docs;
    for (int mib : sizes) {
        const QString file = dir.filePath(QStringLiteral("doc%1.htm").arg(mib));
        writeBytes(file, benchdocument::make(qsizetype(mib) * 1024 * 1024));
        const QString longFile = dir.filePath(QStringLiteral("long%1.htm").arg(mib));
        writeBytes(longFile, benchdocument::makeOneLine(qsizetype(mib) * 1024 * 1024));
        const QString mixedFile = dir.filePath(QStringLiteral("mixed%1.htm").arg(mib));
        writeBytes(mixedFile, benchdocument::makeMixed(qsizetype(mib) * 1024 * 1024, 256 * 1024));
        const QString utf8File = dir.filePath(QStringLiteral("utf8-%1.htm").arg(mib));
        writeBytes(utf8File, benchdocument::makeUtf8(qsizetype(mib) * 1024 * 1024));
        const bool peaks = ordinary || oneLine;
        docs.push_back({ mib, file, peaks ? childPeak(argc, argv, dir.path(), file, true) : -1,
                         ordinary ? childPeak(argc, argv, dir.path(), file, false) : -1,
                         ordinary ? childPeak(argc, argv, dir.path(), file, false, false) : -1,
                         ordinary ? commandPeaks(argc, argv, dir.path(), file, QString()) : std::pair<long, long>(-1, -1),
                         ordinary ? commandPeaks(argc, argv, dir.path(), file, state) : std::pair<long, long>(-1, -1),
                         longFile, oneLine ? childPeak(argc, argv, dir.path(), longFile, false) : -1, mixedFile,
                         utf8File });
    }

    QApplication app(argc, argv);
    for (const Doc& doc : docs) {
        QFile in(doc.file);
        in.open(QIODevice::ReadOnly);
        const QByteArray bytes = in.readAll();
        in.close();

        // The floor.
        const double floorMs = measureFloor(reps, [&] { return linebreaks::decodeToEditorText(bytes); });

        BenchPlatform fake;
        fake.dirs.directory = dir.path();
        fake.prompts.openName = doc.file;
        std::vector<Row> rows;

        // The window of a start-up is closed before the next one, outside the
        // timing: freeing a big document is no part of starting with it.
        std::unique_ptr<Tmain> started;
        auto close = [&] { started.reset(); };
        const double startupEmpty = ordinary ? median(reps, close, [&] { started = makeWindow(fake, {}); }) : 0;
        const double startupFile = ordinary ? median(reps, close, [&] { started = makeWindow(fake, { doc.file }); }) : 0;
        close();

        auto window = makeWindow(fake, {});
        EditorBuffer& memo = *window->memo();
        auto reset = [&] {
            memo.setText(QString());
            window->context().doc.modified = false;
        };
        auto reload = [&] {
            reset();
            window->OpenBtnClick();
        };
        TagHighlighter& highlighter = window->highlighter();
        highlighter.setEnabled(false);
        const double loadPlain = median(reps, reset, [&] { window->OpenBtnClick(); });
        const double loadPlainCpu = g_lastCpuMs;
        highlighter.setEnabled(true);
        const double load = median(reps, reset, [&] { window->OpenBtnClick(); });
        const double loadCpu = g_lastCpuMs;
        rows.push_back({ QStringLiteral("load from file (Open)"), load, QStringLiteral("<= 1.2x") });
        rows.push_back({ QStringLiteral("load with highlighting off"), loadPlain,
                         QStringLiteral("on/off %1x wall, %2x CPU (target <= 1.1x)")
                             .arg(load / loadPlain, 0, 'f', 2).arg(loadCpu / loadPlainCpu, 0, 'f', 2) });
        rows.push_back({ QStringLiteral("start-up with the file on the command line"), startupFile,
                         QStringLiteral("<= 1.1x the load (%1x), empty start-up %2 ms")
                             .arg(startupFile / load, 0, 'f', 2).arg(startupEmpty, 0, 'f', 1) });

        const double ordinaryLoad = load;
        double ordinarySave = 0;
        if (ordinary) {
        // The whole-text commands, with highlighting off and then on.
        auto wholeText = [&](std::vector<Row>& out) {
            reload();
            window->context().doc.fileName = dir.filePath(QStringLiteral("saved.htm"));
            out.push_back({ QStringLiteral("save"), median(reps, [] {}, [&] { window->Save2Click(); }),
                           QStringLiteral("<= 2x") });
            out.back().cpu = g_lastCpuMs;
            if (QFile(dir.filePath(QStringLiteral("saved.htm"))).size() != bytes.size())
                std::fprintf(stderr, "saved file differs in size\n");

            window->Replace1Click();
            auto* dialog = window->findChild<ReplaceDlg*>(QStringLiteral("ReplaceDlg"));
            dialog->setFindText(benchdocument::marker());
            dialog->setReplaceText(benchdocument::marker());
            out.push_back({ QStringLiteral("one find press (match in the middle line)"),
                           median(reps, [&] { memo.setSelStart(0); }, [&] { window->ReplaceDlgFind(); }),
                           QStringLiteral("<= 0.5x") });
            out.back().cpu = g_lastCpuMs;
            if (memo.getSelText() != benchdocument::marker())
                std::fprintf(stderr, "find press did not select the marker\n");
            out.push_back({ QStringLiteral("one replace press (match in the middle line)"),
                           median(reps, [&] { window->ReplaceDlgFind(); }, [&] { window->ReplaceDlgReplace(); }),
                           QStringLiteral("<= 0.5x") });
            out.back().cpu = g_lastCpuMs;
            out.push_back(undoRow(QStringLiteral("  its undo (Ctrl+Z)"), out.back().ms, reps,
                                  [&] {
                                      window->ReplaceDlgFind();
                                      window->ReplaceDlgReplace();
                                  },
                                  [&] { window->Undo1Click(); }));
            dialog->setFindText(QStringLiteral("НетТакогоТекста"));
            out.push_back({ QStringLiteral("one find press (no match: every line)"),
                           median(reps, [] {}, [&] { window->ReplaceDlgFind(); }), QStringLiteral("<= 0.5x") });
            out.back().cpu = g_lastCpuMs;
            dialog->hide();

            out.push_back({ QStringLiteral("space removal"), median(reps, reload, [&] { window->Nospase1Click(); }),
                           QStringLiteral("<= 2x") });
            out.back().cpu = g_lastCpuMs;
            out.push_back(undoRow(QStringLiteral("  its undo (Ctrl+Z)"), out.back().ms, reps,
                                  [&] {
                                      reload();
                                      window->Nospase1Click();
                                  },
                                  [&] { window->Undo1Click(); }));
            out.push_back(undoRow(QStringLiteral("  then its redo (Ctrl+Y)"), out[out.size() - 2].ms, reps,
                                  [&] {
                                      reload();
                                      window->Nospase1Click();
                                      window->Undo1Click();
                                  },
                                  [&] { window->Redo1Click(); }));
            const auto selectAllBold = [&] {
                window->SelectAll1Click();
                window->Bold1Click();
            };
            out.push_back({ QStringLiteral("select all + wrap in <B> (Ctrl+A, Ctrl+B)"), median(reps, reload, selectAllBold),
                           QStringLiteral("<= 2x") });
            out.back().cpu = g_lastCpuMs;
            out.push_back(undoRow(QStringLiteral("  its undo (Ctrl+Z)"), out.back().ms, reps,
                                  [&] {
                                      reload();
                                      selectAllBold();
                                  },
                                  [&] { window->Undo1Click(); }));
        };
        std::vector<Row> plainRows;
        highlighter.setEnabled(false);
        wholeText(plainRows);
        highlighter.setEnabled(true);
        const size_t firstCommandRow = rows.size();
        wholeText(rows);
        for (size_t i = firstCommandRow; i < rows.size(); ++i)
            rows[i].target += QStringLiteral(", on/off %1x wall, %2x CPU (target <= 1.1x)")
                                  .arg(rows[i].ms / plainRows[i - firstCommandRow].ms, 0, 'f', 2)
                                  .arg(rows[i].cpu / plainRows[i - firstCommandRow].cpu, 0, 'f', 2);

        reload();
        std::vector<double> keys;
        for (int i = 0; i < 5; ++i) {
            memo.setSelStart(memo.textLength() / 2);
            memo.setFocus();
            settle();
            QElapsedTimer timer;
            timer.start();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&memo, &press);
            QApplication::sendEvent(&memo, &release);
            memo.viewport()->repaint();
            settle();
            keys.push_back(msSince(timer));
        }
        std::sort(keys.begin(), keys.end());
        rows.push_back({ QStringLiteral("one keystroke in the middle (+ repaint)"), keys[keys.size() / 2],
                         QStringLiteral("< 20 ms") });
        ordinarySave = rows[3].ms;

        // Highlighting: the background walk, keystrokes at both ends, a
        // comment opened at the top, and page scrolls.
        auto untilSettled = [&] {
            QElapsedTimer timer;
            timer.start();
            while (!highlighter.isSettled())
                settle();
            return msSince(timer);
        };
        auto type = [&](qsizetype position, const QString& typed) {
            memo.setSelStart(position);
            memo.setFocus();
            settle();
            QElapsedTimer timer;
            timer.start();
            const Qt::Key key = Qt::Key(typed.at(0).toUpper().unicode());
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
            QApplication::sendEvent(&memo, &press);
            QApplication::sendEvent(&memo, &release);
            memo.viewport()->repaint();
            settle();
            return msSince(timer);
        };
        reload();
        rows.push_back({ QStringLiteral("highlighting: left to the background by Open"), untilSettled(),
                         QStringLiteral("wall time, in slices of <= 4 ms") });
        for (const bool top : { true, false }) {
            std::vector<double> times;
            for (int i = 0; i < 5; ++i)
                times.push_back(type(top ? 0 : memo.textLength(), QStringLiteral("a")));
            std::sort(times.begin(), times.end());
            rows.push_back({ top ? QStringLiteral("one keystroke at the top, highlighting on")
                                 : QStringLiteral("one keystroke at the bottom, highlighting on"),
                             times[times.size() / 2], QStringLiteral("< 20 ms") });
        }
        untilSettled();
        double slowest = 0;
        for (int i = 0; i < 4; ++i)
            slowest = std::max(slowest, type(i, QStringLiteral("<!--").mid(i, 1)));
        rows.push_back({ QStringLiteral("typing <!-- at the top: slowest keystroke"), slowest,
                         QStringLiteral("< 20 ms") });
        rows.push_back({ QStringLiteral("  then the rest recoloured in the background"), untilSettled(),
                         QStringLiteral("wall time, in slices of <= 4 ms") });
        QScrollBar* bar = memo.verticalScrollBar();
        double slowestScroll = 0;
        for (const double at : { 0.0, 0.5, 1.0 }) {
            bar->setValue(int((bar->maximum() - bar->pageStep()) * at));
            memo.viewport()->repaint();
            untilSettled();
            QElapsedTimer timer;
            timer.start();
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            memo.viewport()->repaint();
            settle();
            slowestScroll = std::max(slowestScroll, msSince(timer));
        }
        rows.push_back({ QStringLiteral("scroll a page down (top, middle, end; slowest)"), slowestScroll,
                         QStringLiteral("< 16 ms") });

        report(doc.mib, bytes.size(), memo.lineCount(), floorMs, rows, doc.floorPeak, doc.loadPeak, doc.plainPeak);
        window->context().doc.modified = false;
        }

        // The same bytes minified into one line: opening, keys and commands,
        // with highlighting on (as it starts) and off.
        for (const bool highlight : { true, false }) {
        if (!oneLine)
            break;
        highlighter.setEnabled(highlight);
        fake.prompts.openName = doc.longFile;
        std::vector<Row> longRows;
        const double longLoad = median(reps, reset, [&] { window->OpenBtnClick(); });
        longRows.push_back({ QStringLiteral("load from file (Open)"), longLoad,
                             QStringLiteral("<= 1.3x the ordinary load (%1x)").arg(longLoad / ordinaryLoad, 0, 'f', 2) });
        if (memo.lineCount() != 1)
            std::fprintf(stderr, "one-line page shows %d lines\n", memo.lineCount());
        if (highlight) {
            QElapsedTimer lexing;
            lexing.start();
            while (!highlighter.isSettled())
                settle();
            longRows.push_back({ QStringLiteral("highlighting: whole text lexed in the background"), msSince(lexing),
                                 QStringLiteral("wall time, in slices of <= 4 ms; the keys below come after it") });
        }
        {
            memo.setSelStart(memo.textLength() / 2);
            memo.viewport()->repaint();
            const double start = cpuMs();
            memo.viewport()->repaint();
            longRows.push_back({ QStringLiteral("repaint alone (CPU)"), cpuMs() - start, QStringLiteral("part of every key below") });
        }
        struct KeyCase {
            const char* name;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            QString text;
        };
        const KeyCase keyCases[] = {
            { "key 'a' (CPU)", Qt::Key_A, Qt::NoModifier, QStringLiteral("a") },
            { "Backspace (CPU)", Qt::Key_Backspace, Qt::NoModifier, QString() },
            { "Delete (CPU)", Qt::Key_Delete, Qt::NoModifier, QString() },
            { "Shift+Right (CPU)", Qt::Key_Right, Qt::ShiftModifier, QString() },
            { "Home (CPU)", Qt::Key_Home, Qt::NoModifier, QString() },
            { "End (CPU)", Qt::Key_End, Qt::NoModifier, QString() },
            { "Ctrl+Home (CPU)", Qt::Key_Home, Qt::ControlModifier, QString() },
            { "Ctrl+End (CPU)", Qt::Key_End, Qt::ControlModifier, QString() },
            { "PageDown (CPU)", Qt::Key_PageDown, Qt::NoModifier, QString() },
        };
        for (const KeyCase& k : keyCases) {
            std::vector<double> times;
            for (qsizetype at : { memo.textLength() / 2, memo.textLength() / 3 + 4095, qsizetype(4096) })
                times.push_back(keyCpuMs(memo, at, k.key, k.modifiers, k.text));
            std::sort(times.begin(), times.end());
            longRows.push_back({ QStringLiteral("%1, worst of 3 places").arg(QLatin1String(k.name)), times.back(),
                                 QStringLiteral("< 20 ms") });
        }
        window->context().doc.fileName = dir.filePath(QStringLiteral("savedlong.htm"));
        const double longSave = median(reps, [] {}, [&] { window->Save2Click(); });
        longRows.push_back({ QStringLiteral("save"), longSave,
                             ordinary ? QStringLiteral("<= 2x floor; ordinary save %1 ms").arg(ordinarySave, 0, 'f', 1)
                                      : QStringLiteral("<= 2x floor") });
        auto* dialog = window->findChild<ReplaceDlg*>(QStringLiteral("ReplaceDlg"));
        dialog->setFindText(benchdocument::marker());
        longRows.push_back({ QStringLiteral("one find press"),
                             median(reps, [&] { memo.setSelStart(0); }, [&] { window->ReplaceDlgFind(); }),
                             QStringLiteral("<= 0.5x") });
        dialog->hide();
        auto reloadLong = [&] {
            reset();
            window->OpenBtnClick();
        };
        const auto selectAllBold = [&] {
            window->SelectAll1Click();
            window->Bold1Click();
        };
        longRows.push_back({ QStringLiteral("select all + wrap in <B> (Ctrl+A, Ctrl+B)"),
                             median(reps, reloadLong, selectAllBold), QStringLiteral("<= 2x") });
        longRows.push_back(undoRow(QStringLiteral("  its undo (Ctrl+Z)"), longRows.back().ms, reps,
                                   [&] {
                                       reloadLong();
                                       selectAllBold();
                                   },
                                   [&] { window->Undo1Click(); }));
        if (memo.lineCount() != 1 || memo.textLength() != qsizetype(readBytes(doc.longFile).size()))
            std::fprintf(stderr, "the undo did not bring the one-line page back\n");
        if (highlight) {
            // What the toolkit alone does with the line: one block of megabytes.
            QFile longIn(doc.longFile);
            longIn.open(QIODevice::ReadOnly);
            const QByteArray longBytes = longIn.readAll();
            QPlainTextEdit bareLong;
            bareLong.setLineWrapMode(QPlainTextEdit::NoWrap);
            bareLong.resize(600, 377);
            bareLong.show();
            settle();
            QElapsedTimer timer;
            timer.start();
            bareLong.setPlainText(linebreaks::decodeToEditorText(longBytes));
            settle();
            const double bareOpen = msSince(timer);
            QTextCursor middle = bareLong.textCursor();
            middle.setPosition(int(longBytes.size() / 2));
            bareLong.setTextCursor(middle);
            settle();
            const double start = cpuMs();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&bareLong, &press);
            bareLong.viewport()->repaint();
            settle();
            longRows.push_back({ QStringLiteral("bare QPlainTextEdit: open / key 'a' (CPU)"), bareOpen,
                                 QStringLiteral("for comparison; its key: %1 ms").arg(cpuMs() - start, 0, 'f', 1) });
        }
        QTextStream(stdout) << "\n" << doc.mib << " MiB page in one line, highlighting " << (highlight ? "on" : "off")
                            << " (same floor)";
        report(doc.mib, bytes.size(), memo.lineCount(), floorMs, longRows, doc.floorPeak, doc.longPeak, doc.longPeak);
        window->context().doc.modified = false;
        }
        highlighter.setEnabled(true);

        if (mixed)
            mixedRows(*window, fake, doc.mixedFile, doc.mib, floorMs, ordinaryLoad, reps);
        if (pageCheck)
            pageCheckRows(*window, fake, doc.file, doc.mib, floorMs, reps);
        window.reset();
        if (ordinary)
            journalRows(doc.mib, reps, doc.file, dir.path(), state, doc.plainPeaks, doc.journalPeaks);
        if (utf8) {
            utf8Rows(doc.mib, reps, doc.file, doc.utf8File, dir.path());
            QTextStream(stdout) << "\n(UTF-8 page)";
            journalRows(doc.mib, reps, doc.utf8File, dir.path(), state, { -1, -1 }, { -1, -1 });
        }
    }
    return 0;
}
