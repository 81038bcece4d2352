// Bad input reaching the whole editor: odd settings files at start-up, odd
// documents on the command line and through Open, and saving through links.
// Each gives the documented message or works, the window opens, and no text
// is lost.
#include "core/document/savedtextsnapshot.h"
#include "core/document/startup.h"
#include "core/platform/apperror.h"
#include "core/text/editorbuffer.h"
#include "support/badfiles.h"
#include "support/testwindow.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const char* const kDocument = "<HTML>\r\n<BODY>doc</BODY>\r\n</HTML>";

QString settingsPath(TestWindow& t)
{
    return t.path(QStringLiteral("Brannoc Quillet.ini"));
}

/// Runs the start-up sequence again, as the window's creation does, and
/// reports what a failure would have shown in the general error box.
QString restart(TestWindow& t, const QStringList& arguments)
{
    t.fake.prompts.boxes.clear();
    try {
        runStartupSequence(t.ctx(), arguments);
    } catch (const AppError& e) {
        return e.message();
    }
    return {};
}

void expectDefaults(const SettingsStore& v)
{
    EXPECT_EQ(v.editorFontName, QStringLiteral("Courier New"));
    EXPECT_EQ(v.editorFontSize, 10);
    EXPECT_FALSE(v.editorFontBold);
    EXPECT_EQ(v.editorFontCharset, 1);
    EXPECT_EQ(v.userName, QStringLiteral("тов. Безымянный"));
    EXPECT_EQ(v.browser3Path, QString());
}

void expectDocumentOpened(TestWindow& t, const QString& file)
{
    EXPECT_EQ(t.ctx().doc.fileName, file);
    EXPECT_EQ(t.window->windowTitle(), QStringLiteral("Brannoc Quillet 1.7 [%1]").arg(file));
    EXPECT_EQ(t.memo().toBytes(), QByteArray(kDocument));
    EXPECT_FALSE(t.ctx().doc.modified);
}

} // namespace

// Settings files that cannot be read as such: no greeting (a file of that name
// exists), no error, the defaults, and the document still opens.
TEST(BadSettings, DirectoryFifoOrUnreadableFileGiveTheDefaultsSilently)
{
    TestWindow t;
    const QString doc = t.path(QStringLiteral("doc.htm"));
    writeFile(doc, kDocument);
    const QString ini = settingsPath(t);

    SCOPED_TRACE("a directory");
    QFile::remove(ini);
    ASSERT_TRUE(QDir().mkdir(ini));
    EXPECT_EQ(restart(t, { doc }), QString());
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << t.fake.prompts.boxTexts().join('|').toStdString();
    expectDefaults(t.ctx().settings);
    expectDocumentOpened(t, doc);
    ASSERT_TRUE(QDir().rmdir(ini));

    SCOPED_TRACE("a FIFO");
    ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
    QString error;
    const bool hung = badfiles::neededRescueFromFifo(ini, 5, [&] { error = restart(t, { doc }); });
    EXPECT_FALSE(hung) << "start-up blocked on a FIFO settings file";
    EXPECT_EQ(error, QString());
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    expectDefaults(t.ctx().settings);
    expectDocumentOpened(t, doc);
    QFile::remove(ini);

    SCOPED_TRACE("an unreadable file");
    writeFile(ini, "[FONT]\r\nsize=20\r\n[USER]\r\nname=Hidden\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(t.dir.path()).constData(), 0755), 0);
    ::chmod(QFile::encodeName(doc).constData(), 0644);
    const bool arranged = badfiles::whileUnreadable(ini, [&] { error = restart(t, { doc }); });
    if (!arranged)
        GTEST_SKIP() << "cannot make a file unreadable here";
    EXPECT_EQ(error, QString());
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    expectDefaults(t.ctx().settings);
    expectDocumentOpened(t, doc);
    // Readable again, the same file gives its values.
    EXPECT_EQ(restart(t, {}), QString());
    EXPECT_EQ(t.ctx().settings.userName, QStringLiteral("Hidden"));
}

TEST(BadSettings, JunkGivesDefaultsOrTheDocumentedNumberErrorAndTheDocumentOpens)
{
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    struct Case {
        const char* name;
        QByteArray settings;
        QString error; ///< the error box's text, if any
    };
    const Case cases[] = {
        { "every byte", allBytes + allBytes, {} },
        { "NUL bytes only", QByteArray(4096, '\0'), {} },
        { "a megabyte of one line", QByteArray(1 << 20, 'x'), {} },
        { "brackets and equals", "[[[\r\n]]]\r\n===\r\n[FONT\r\n=\r\n;size=x\r\n", {} },
        { "NUL inside a value", QByteArray("[FONT]\r\nsize=1\0" "2\r\nname=A\0B\r\n", 26), {} },
        { "size in words", "[font]\nSIZE=twelve\n", QStringLiteral("'twelve' is not a valid integer value.") },
        { "charset in Cyrillic", "[FONT]\r\ncharset=\xF1\xF2\r\n", QStringLiteral("'ст' is not a valid integer value.") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow t;
        const QString doc = t.path(QStringLiteral("doc.htm"));
        writeFile(doc, kDocument);
        writeFile(settingsPath(t), c.settings);
        EXPECT_EQ(restart(t, { doc }), QString());
        EXPECT_EQ(t.fake.prompts.boxTexts().join(u'|'), c.error);
        // A bad number costs only its own key.
        expectDocumentOpened(t, doc);
        // The window works whatever the settings held.
        t.memo().setSelText(QStringLiteral("typed"));
        EXPECT_TRUE(t.memo().text().contains(QStringLiteral("typed")));
    }
}

TEST(BadSettings, JunkSettingsAtWindowCreationShowTheErrorBoxAndTheWindowOpens)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    FakePlatform fake;
    fake.dirs.directory = dir.path();
    writeFile(dir.filePath(QStringLiteral("Brannoc Quillet.ini")), "\x01\x02\r\n[FONT]\r\nsize=\xFF\xFE\r\n");
    Tmain window(fake.platform(), {});
    EXPECT_EQ(fake.prompts.boxTexts(), QStringList { QStringLiteral("'яю' is not a valid integer value.") });
    window.show();
    EXPECT_TRUE(window.isVisible());
}

// Documents with every byte value go in through Open and out through Save
// unchanged.
TEST(BadDocuments, BinaryAndNulBytesSurviveOpenAndSave)
{
    TestWindow t;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        if (i != '\r' && i != '\n')
            bytes.append(char(i));
    bytes = QByteArray("\0\0", 2) + bytes + "\r\n" + bytes + QByteArray("\0", 1);
    const QString file = t.path(QStringLiteral("binary.dat"));
    writeFile(file, bytes);

    t.fake.prompts.openResults = { FileDialogResult { file, 3 } };
    t.window->OpenBtnClick();
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty()) << t.fake.prompts.boxTexts().join('|').toStdString();
    EXPECT_EQ(t.ctx().doc.fileName, file);
    EXPECT_EQ(t.ctx().memo2->bytes(), bytes);

    writeFile(file, "overwritten");
    t.fake.prompts.answers = { Answer::Yes }; // overwrite the other program's change
    t.window->Save2Click();
    EXPECT_EQ(readFile(file), bytes);
}

TEST(BadDocuments, SavingThroughASymbolicLinkKeepsTheLink)
{
    TestWindow t;
    QDir(t.dir.path()).mkdir(QStringLiteral("real"));
    const QString target = t.path(QStringLiteral("real/page.htm"));
    const QString link = t.path(QStringLiteral("link.htm"));
    writeFile(target, kDocument);
    ASSERT_TRUE(QFile::link(target, link));

    EXPECT_EQ(restart(t, { link }), QString());
    expectDocumentOpened(t, link);
    t.memo().setSelText(QStringLiteral("<!-- edited -->"));
    t.window->Save2Click();

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(readFile(target), QByteArray("<!-- edited -->") + kDocument);
    EXPECT_EQ(QDir(t.dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
              (QStringList { QStringLiteral("Brannoc Quillet.ini"), QStringLiteral("link.htm") }))
        << "no temporary file left behind";
}

TEST(BadDocuments, CommandLinePathWithBlanksAndCyrillicLetters)
{
    TestWindow t;
    QDir(t.dir.path()).mkdir(QStringLiteral("Мои документы"));
    const QString file = t.path(QStringLiteral("Мои документы/главная страница.htm"));
    writeFile(file, kDocument);
    // The desktop hands the path over as one argument, a shell split at the blanks.
    for (const QStringList& arguments :
         { QStringList { file }, file.split(u' '), file.split(u' ') + QStringList { QString(), QStringLiteral("x") } }) {
        SCOPED_TRACE(arguments.join(u'|').toStdString());
        EXPECT_EQ(restart(t, arguments), QString());
        expectDocumentOpened(t, file);
    }
}

TEST(BadDocuments, CommandLineFileOfExactlyTheCapacityOpensAndOneByteMoreIsHandedOver)
{
    TestWindow t;
    t.memo().setCapacity(64);
    const QString fits = t.path(QStringLiteral("fits.htm"));
    const QString over = t.path(QStringLiteral("over.htm"));
    writeFile(fits, QByteArray(62, 'a') + "\r\n");
    writeFile(over, QByteArray(63, 'a') + "\n");

    EXPECT_EQ(restart(t, { fits }), QString());
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
    EXPECT_EQ(t.memo().toBytes(), readFile(fits));
    EXPECT_EQ(t.ctx().doc.fileName, fits);

    t.ctx().settings.workshopCommand.clear();
    EXPECT_EQ(restart(t, { over }), QString());
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QStringLiteral("Невозможно загрузить файл \"%1\"").arg(over) });
    // The over-large file is never written back by a later Save.
    t.window->Save2Click();
    EXPECT_EQ(readFile(over), QByteArray(63, 'a') + "\n");
}
