// The journal against a real crash: editors started as programs under a
// virtual X server, typed into with xdotool, killed with SIGKILL, and started
// again on their files.
#include "core/journal/journalformat.h"
#include "support/filebytes.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class Desktop {
public:
    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return false;
        m_server.start(QStringLiteral("Xvfb"), { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                                 QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                                 QStringLiteral("800x600x24") });
        if (!m_server.waitForReadyRead(10000))
            return false;
        m_display = u':' + QString::fromLatin1(m_server.readLine().trimmed());
        return true;
    }
    ~Desktop()
    {
        for (QProcess* editor : m_editors) {
            editor->kill();
            editor->waitForFinished();
            delete editor;
        }
        m_server.terminate();
        m_server.waitForFinished();
    }

    QProcess* editor(const QString& file, const QString& config, const QString& state)
    {
        auto* process = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(QUILLET_BINARY_DIR "/quillet"), { file });
        m_editors.append(process);
        return process->waitForStarted() ? process : nullptr;
    }

    // The window of `editor` whose title holds `name`, focused.
    QString focus(QProcess* editor, const QString& name)
    {
        // A window that goes away while the search meets it (a box just
        // answered) can fail the search: it is tried again.
        QString window;
        for (int attempt = 0; attempt < 5 && window.isEmpty(); ++attempt) {
            if (attempt > 0)
                QThread::msleep(200);
            window = xdotool({ QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--sync"), QStringLiteral("--pid"),
                               QString::number(editor->processId()), QStringLiteral("--name"), name })
                         .split(u'\n').value(0);
        }
        if (!window.isEmpty()) {
            // With no window manager the pointer decides too: it goes on the window.
            xdotool({ QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("50"), QStringLiteral("100") });
            xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), window });
        }
        return window;
    }

    QString xdotool(const QStringList& arguments)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        if (!tool.waitForFinished(15000))
            tool.kill();
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

private:
    QProcess m_server;
    QString m_display;
    QList<QProcess*> m_editors;
};

void crash(QProcess* editor)
{
    ::kill(pid_t(editor->processId()), SIGKILL);
    editor->waitForFinished();
}

} // namespace

TEST(JournalCrash, TextTypedBeforeSigkillIsRecoveredByTheNextStart)
{
    Desktop desktop;
    if (!desktop.start())
        GTEST_SKIP() << "needs Xvfb and xdotool (scripts/deps.sh installs them)";
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString state = dir.filePath(QStringLiteral("state"));
    QDir().mkpath(config);
    writeAll(config + QStringLiteral("/Brannoc Quillet.ini"), "[USER]\r\nname=T\r\n");
    const QString one = dir.filePath(QStringLiteral("one.htm"));
    const QString two = dir.filePath(QStringLiteral("two.htm"));
    writeAll(one, "<HTML>\r\n</HTML>");
    writeAll(two, "<P>two");

    // Two editors on two files, typed into, then killed.
    QProcess* first = desktop.editor(one, config, state);
    ASSERT_TRUE(first);
    ASSERT_FALSE(desktop.focus(first, QStringLiteral("Brannoc Quillet")).isEmpty());
    desktop.xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("hello world") });
    desktop.xdotool({ QStringLiteral("key"), QStringLiteral("Return") });
    QProcess* second = desktop.editor(two, config, state);
    ASSERT_TRUE(second);
    ASSERT_FALSE(desktop.focus(second, QStringLiteral("Brannoc Quillet")).isEmpty());
    desktop.xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("2") });
    // The journal is on the disk within two seconds of the last key.
    QThread::msleep(2500);
    crash(first);
    crash(second);
    EXPECT_EQ(QDir(state + QStringLiteral("/quillet")).entryList({ QStringLiteral("*.journal") }).size(), 2);

    // The first file again: the question, Yes, then Ctrl+S saves the recovered text.
    QProcess* again = desktop.editor(one, config, state);
    ASSERT_TRUE(again);
    ASSERT_FALSE(desktop.focus(again, QStringLiteral("Confirm")).isEmpty()) << "the recovery question";
    desktop.xdotool({ QStringLiteral("key"), QStringLiteral("Return") });
    ASSERT_FALSE(desktop.focus(again, QStringLiteral("Brannoc Quillet 1.7")).isEmpty());
    desktop.xdotool({ QStringLiteral("key"), QStringLiteral("ctrl+s") });
    for (int i = 0; i < 50 && readAll(one) == "<HTML>\r\n</HTML>"; ++i)
        QThread::msleep(100);
    EXPECT_EQ(readAll(one), QByteArray("hello world\r\n<HTML>\r\n</HTML>"));
    EXPECT_EQ(readAll(two), QByteArray("<P>two")) << "the other file is untouched";

    // The second file's journal holds its own text and waits for its start.
    bool found = false;
    for (const QString& name : QDir(state + QStringLiteral("/quillet")).entryList({ QStringLiteral("*.journal") })) {
        const journalformat::Content content = journalformat::read(readAll(state + QStringLiteral("/quillet/") + name));
        if (content.key == two) {
            found = true;
            EXPECT_EQ(content.text, QByteArray("2<P>two"));
        }
    }
    EXPECT_TRUE(found);
}

// What a crash must not change. Each row edits a file in a real editor, waits
// until the journal is on the disk, kills the editor, starts it again on the
// file and answers the recovery question; the file must then hold `expected`.
TEST(JournalCrash, RecoveryAfterSigkillGivesBackExactlyWhatTheUserHad)
{
    Desktop desktop;
    if (!desktop.start())
        GTEST_SKIP() << "needs Xvfb and xdotool (scripts/deps.sh installs them)";
    const QByteArray half(2998, 'a');
    const QByteArray line1 = "<P>  " + half.left(2995);
    const QByteArray line2 = "b  " + half.left(2997);
    const struct {
        const char* name;
        QByteArray onDisk;
        QList<QStringList> edits;  // xdotool commands, in order
        QString answer;            // the key answering the recovery question
        bool save;                 // Ctrl+S after the answer
        QByteArray expected;
    } rows[] = {
        // Two lines of 3,000 characters joined by Delete are one line past
        // the display bound; space removal then puts it in as pieces.
        { "joined long line, then space removal", line1 + "\r\n" + line2 + "\r\n</HTML>",
          { { QStringLiteral("key"), QStringLiteral("ctrl+Home"), QStringLiteral("End"), QStringLiteral("Delete"), QStringLiteral("ctrl+F10") } },
          QStringLiteral("Return"), true, "<P> " + half.left(2995) + "b " + half.left(2997) + "\r\n</HTML>" },
        // The preview wrote the unsaved text into the file; No to the
        // recovery gives the file its saved text back, as closing with No would.
        { "declined after a preview", "<P>saved version</P>",
          { { QStringLiteral("key"), QStringLiteral("ctrl+End") },
            { QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("UNSAVED") },
            { QStringLiteral("key"), QStringLiteral("alt+3") } },
          QStringLiteral("alt+n"), false, "<P>saved version</P>" },
        // An undo is journaled as any edit: the text it brought back is recovered.
        { "typing undone", "<P>one",
          { { QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("hi") },
            { QStringLiteral("key"), QStringLiteral("Return") },
            { QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("x") },
            { QStringLiteral("key"), QStringLiteral("ctrl+z") } },
          QStringLiteral("Return"), true, "hi\r\n<P>one" },
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("config"));
        const QString state = dir.filePath(QStringLiteral("state"));
        QDir().mkpath(config);
        writeAll(config + QStringLiteral("/Brannoc Quillet.ini"), "[USER]\r\nname=T\r\n[PATHS]\r\nbrowser3=/bin/true\r\n");
        const QString doc = dir.filePath(QStringLiteral("page.htm"));
        writeAll(doc, row.onDisk);

        QProcess* editor = desktop.editor(doc, config, state);
        ASSERT_TRUE(editor) << row.name;
        ASSERT_FALSE(desktop.focus(editor, QStringLiteral("Brannoc Quillet")).isEmpty()) << row.name;
        for (const QStringList& edit : row.edits)
            desktop.xdotool(edit);
        // The journal is on the disk within two seconds of the last change.
        QThread::msleep(3000);
        crash(editor);

        QProcess* again = desktop.editor(doc, config, state);
        ASSERT_TRUE(again) << row.name;
        ASSERT_FALSE(desktop.focus(again, QStringLiteral("Confirm")).isEmpty()) << row.name << ": the recovery question";
        desktop.xdotool({ QStringLiteral("key"), row.answer });
        if (row.save) {
            ASSERT_FALSE(desktop.focus(again, QStringLiteral("Brannoc Quillet 1.7")).isEmpty()) << row.name;
            desktop.xdotool({ QStringLiteral("key"), QStringLiteral("ctrl+s") });
        }
        // After No nothing is left to offer again; the journal goes once the file is restored.
        const auto journalsWithText = [&] {
            int count = 0;
            for (const QString& name : QDir(state + QStringLiteral("/quillet")).entryList({ QStringLiteral("*.journal") }))
                count += journalformat::read(readAll(state + QStringLiteral("/quillet/") + name)).hasText ? 1 : 0;
            return count;
        };
        for (int i = 0; i < 50 && (readAll(doc) != row.expected || (!row.save && journalsWithText() > 0)); ++i)
            QThread::msleep(100);
        EXPECT_EQ(readAll(doc).count("\r\n"), row.expected.count("\r\n")) << row.name;
        EXPECT_TRUE(readAll(doc) == row.expected) << row.name << ": " << readAll(doc).left(200).toStdString();
        if (!row.save)
            EXPECT_EQ(journalsWithText(), 0) << row.name;
        crash(again);
    }
}
