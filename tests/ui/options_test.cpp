#include "core/text/editorbuffer.h"
#include "core/document/startup.h"
#include "core/settings/editorfont.h"
#include "core/settings/inifile.h"
#include "support/testwindow.h"
#include "ui/uoptions.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileDialogResult chosen(const QString& name)
{
    return { name, 1 };
}

QString settingsPath(TestWindow& t)
{
    return t.ctx().settings.settingsFileName;
}

/// How many times `action` puts a new file under the name `file`.
int replacements(const QString& file, const std::function<void()>& action)
{
    const int fd = ::inotify_init1(IN_NONBLOCK);
    ::inotify_add_watch(fd, QFile::encodeName(QFileInfo(file).absolutePath()).constData(), IN_CREATE | IN_MOVED_TO);
    action();
    int count = 0;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        for (const char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            count += event->len > 0 && QFile::decodeName(event->name) == QFileInfo(file).fileName();
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(fd);
    return count;
}

int modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

/// An Options dialog opened over a test window as Options1Click opens it.
struct OpenOptions : TestWindow {
    explicit OpenOptions(bool withSettingsFile = true)
        : TestWindow({}, withSettingsFile)
        , dialog(ctx(), window.get())
    {
        dialog.show();
    }
    TOptionfrm dialog;
};

TEST(Options, HasEveryControlAndCaption)
{
    OpenOptions t;
    TOptionfrm& d = t.dialog;
    EXPECT_EQ(d.windowTitle(), "Quillet options");
    EXPECT_EQ(d.size(), QSize(405, 281));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_TRUE(d.AppyBtn->isDefault());
    EXPECT_EQ(d.AppyBtn->text(), "Apply");
    EXPECT_EQ(d.Button4->text(), "Cancel");
    EXPECT_EQ(d.SpeedButton2->text(), QString::fromUtf8("Дополнительно..."));
    for (QAbstractButton* browse : std::initializer_list<QAbstractButton*> { d.Button1, d.Button2, d.Button3, d.SpeedButton1 })
        EXPECT_EQ(browse->text(), "...");
    QStringList groups;
    for (const QGroupBox* g : d.findChildren<QGroupBox*>())
        groups.append(g->title());
    EXPECT_EQ(groups, QStringList({ QString::fromUtf8("Личные настройки пользователя"),
                                    QString::fromUtf8("Расположение программ"),
                                    QString::fromUtf8("Свойства редактора") }));
    QStringList labels;
    for (const QLabel* l : d.findChildren<QLabel*>()) {
        labels.append(l->text());
        EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString() << " is cut off";
    }
    EXPECT_EQ(labels, QStringList({ QString::fromUtf8("Имя"), "Email", "Netscape browser", "Microsoft browser",
                                    QString::fromUtf8("Иной browser"), QString::fromUtf8("Расширенный редактор"),
                                    QString::fromUtf8("Шрифт") }));
    // Every control lies inside the client area.
    for (const QWidget* w : d.findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisible())
            continue;
        const QRect r(w->mapTo(&d, QPoint(0, 0)), w->size());
        EXPECT_TRUE(d.rect().contains(r)) << w->objectName().toStdString();
    }
}

TEST(Options, OpeningFillsTheFieldsFromTheSettings)
{
    TestWindow t;
    SettingsStore& s = t.ctx().settings;
    s.userName = "Name";
    s.netscapePath = "/n";
    s.msiePath = "/m";
    s.browser3Path = "/b3";
    s.workshopCommand = "ws %1";
    s.editorFontName = "Arial";
    TOptionfrm d(t.ctx(), t.window.get());
    d.show();
    EXPECT_EQ(d.UserNameEd->text(), "Name");
    EXPECT_EQ(d.UserMailEd->text(), "@");
    EXPECT_EQ(d.NClocationEd->text(), "/n");
    EXPECT_EQ(d.IElocationEd->text(), "/m");
    EXPECT_EQ(d.AddBrEd->text(), "/b3");
    EXPECT_EQ(d.VHEd->text(), "ws %1");
    EXPECT_EQ(d.FontBox->currentText(), "Arial");
    EXPECT_TRUE(d.FontBox->isEditable());
    EXPECT_GT(d.FontBox->count(), 0);
    EXPECT_EQ(d.dialogFont().family(), "Arial");
}

TEST(Options, BrowseButtonsStoreAtOnceAndTheDialogRemembersTheLastName)
{
    OpenOptions t;
    TOptionfrm& d = t.dialog;
    t.ctx().settings.browser3Path.clear();
    auto& p = t.fake.prompts;
    p.openResults = { chosen("/opt/ns"), std::nullopt, chosen("/opt/I E/ie"), chosen("/opt/b3"), chosen("/opt/My Ed/ed") };
    d.Button1->click();
    d.Button2->click(); // cancelled
    d.Button2->click();
    d.Button3->click();
    d.SpeedButton1->click();

    ASSERT_EQ(p.openDialogs.size(), 5);
    EXPECT_EQ(p.openDialogs[0].filter, "Programs|*.exe;*.com|All|*.*");
    EXPECT_EQ(p.openDialogs[0].filterIndex, 2); // "All": programs here have no .exe ending
    EXPECT_EQ(p.openDialogs[0].fileName, "");
    EXPECT_EQ(p.openDialogs[1].fileName, "/opt/ns");
    EXPECT_EQ(p.openDialogs[2].fileName, "/opt/ns");
    EXPECT_EQ(p.openDialogs[4].fileName, "/opt/b3");
    const SettingsStore& s = t.ctx().settings;
    EXPECT_EQ(s.netscapePath, "/opt/ns");
    // A chosen path with blanks is quoted, so that it starts whole.
    EXPECT_EQ(s.msiePath, "\"/opt/I E/ie\"");
    EXPECT_EQ(s.browser3Path, "/opt/b3");
    EXPECT_EQ(d.NClocationEd->text(), "/opt/ns");
    EXPECT_EQ(d.IElocationEd->text(), "\"/opt/I E/ie\"");
    EXPECT_EQ(d.AddBrEd->text(), "/opt/b3");
    // The extended editor's row fills its own field.
    EXPECT_EQ(d.VHEd->text(), "\"/opt/My Ed/ed\"");
    EXPECT_EQ(s.workshopCommand, "");

    // Cancel: nothing written, the browsed values stay in memory.
    d.Button4->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(readFile(settingsPath(t)), "[USER]\r\nname=Tester\r\n");
    EXPECT_EQ(s.netscapePath, "/opt/ns");
    EXPECT_EQ(s.workshopCommand, "");
}

TEST(Options, ApplyWritesTheKeysInOrderAtOnceAndAppliesTheFont)
{
    OpenOptions t(false);
    QFile::remove(settingsPath(t));
    t.memo().setText("text");
    t.memo().setSelStart(2);
    t.ctx().doc.modified = false;
    TOptionfrm& d = t.dialog;
    QFont chosenFont("DejaVu Serif", 14);
    chosenFont.setBold(true);
    t.fake.prompts.fontResults.append(chosenFont);
    d.SpeedButton2->click();
    // The dialog starts from the family the editor shows.
    EXPECT_EQ(t.fake.prompts.fontDialogs.value(0).family(), QFontInfo(t.memo().font()).family());
    EXPECT_EQ(t.fake.prompts.fontDialogs.value(0).pointSize(), 10);
    EXPECT_EQ(d.FontBox->currentText(), "DejaVu Serif");
    EXPECT_EQ(t.ctx().settings.editorFontSize, 14);
    EXPECT_EQ(t.memo().font().pointSize(), 10) << "the editor font waits for Apply";

    d.UserNameEd->setText(QString::fromUtf8("Иван"));
    d.UserMailEd->setText("i@example.org");
    d.NClocationEd->setText("/usr/bin/ns");
    d.IElocationEd->setText("/usr/bin/ie");
    d.AddBrEd->setText("/usr/bin/b3");
    d.VHEd->setText("ext --edit");
    EXPECT_EQ(replacements(settingsPath(t), [&] { d.AppyBtn->click(); }), 1) << "one write for all keys";

    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(settingsPath(t)),
              "[FONT]\r\nname=DejaVu Serif\r\ncharset=1\r\nsize=14\r\nstyle=TRUE\r\n"
              "[USER]\r\nname=\xC8\xE2\xE0\xED\r\nmail=i@example.org\r\n"
              "[PATHS]\r\nnetscape=/usr/bin/ns\r\nmsie=/usr/bin/ie\r\nbrowser3=/usr/bin/b3\r\nextended=ext --edit\r\n"
              "[VIEW]\r\nhighlight=TRUE\r\n");
    const SettingsStore& s = t.ctx().settings;
    EXPECT_EQ(s.userMail, "i@example.org");
    EXPECT_EQ(s.workshopCommand, "ext --edit");
    EXPECT_EQ(t.memo().font().family(), "DejaVu Serif");
    EXPECT_EQ(t.memo().font().pointSize(), 14);
    EXPECT_TRUE(t.memo().font().bold());
    EXPECT_EQ(t.memo().text(), "text");
    EXPECT_EQ(t.memo().selStart(), 2);
    EXPECT_FALSE(t.ctx().doc.modified);
}

struct StyleCase {
    bool bold, italic, underline;
    const char* stored;
};

void PrintTo(const StyleCase& c, std::ostream* os)
{
    *os << (c.bold ? "bold " : "") << (c.italic ? "italic " : "") << (c.underline ? "underline " : "") << c.stored;
}

class AppliedStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(AppliedStyle, IsStoredAsTRUEOnlyWhenExactlyBold)
{
    const StyleCase& c = GetParam();
    OpenOptions t;
    QFont font("DejaVu Sans", 9);
    font.setBold(c.bold);
    font.setItalic(c.italic);
    font.setUnderline(c.underline);
    t.fake.prompts.fontResults.append(font);
    t.dialog.BitBtn3Click();
    t.dialog.BitBtn1Click();
    EXPECT_EQ(IniFile::readValue(settingsPath(t), "FONT", "style", "?"), c.stored);
    // The editing area shows the style as chosen until the next start.
    EXPECT_EQ(t.memo().font().bold(), c.bold);
    EXPECT_EQ(t.memo().font().italic(), c.italic);
    EXPECT_EQ(t.memo().font().underline(), c.underline);
}

INSTANTIATE_TEST_SUITE_P(Styles, AppliedStyle,
                         ::testing::Values(StyleCase { true, false, false, "TRUE" },
                                           StyleCase { true, true, false, "FALSE" },
                                           StyleCase { true, false, true, "FALSE" },
                                           StyleCase { false, false, false, "FALSE" },
                                           StyleCase { false, true, false, "FALSE" }));

TEST(Options, TheFontDialogStartsFromTheFamilyOnScreenWhenTheNamedOneIsMissing)
{
    TestWindow t;
    SettingsStore& s = t.ctx().settings;
    s.editorFontName = "No Such Family For Quillet";
    s.editorFontSize = 13;
    s.editorFontBold = true;
    TOptionfrm d(t.ctx(), t.window.get());
    d.show();
    d.SpeedButton2->click(); // no answer scripted: the font dialog is cancelled
    ASSERT_EQ(t.fake.prompts.fontDialogs.size(), 1);
    const QFont initial = t.fake.prompts.fontDialogs[0];
    EXPECT_EQ(initial.family(), QFontInfo(editorFont(s)).family());
    EXPECT_TRUE(QFontDatabase::families().contains(initial.family())) << initial.family().toStdString();
    EXPECT_EQ(initial.pointSize(), 13);
    EXPECT_TRUE(initial.bold());
    // The platform's dialog selects that family rather than some other one.
    QFontDialog dialog(initial);
    EXPECT_EQ(dialog.currentFont().family(), initial.family());

    // Cancelled, the font dialog changed nothing: Apply keeps the stored name.
    d.AppyBtn->click();
    EXPECT_EQ(IniFile::readValue(settingsPath(t), "FONT", "name", "?"), "No Such Family For Quillet");
    EXPECT_EQ(IniFile::readValue(settingsPath(t), "FONT", "size", "?"), "13");
}

TEST(Options, TheFontNameBoxIsNotReadByApply)
{
    OpenOptions t;
    t.dialog.FontBox->setEditText("DejaVu Serif");
    t.dialog.AppyBtn->click();
    EXPECT_EQ(t.memo().font().family(), "Courier New");
    EXPECT_EQ(IniFile::readValue(settingsPath(t), "FONT", "name", "?"), "Courier New");
}

TEST(Options, AFontChosenThenCancelledStaysInMemoryOnly)
{
    OpenOptions t;
    t.fake.prompts.fontResults.append(QFont("DejaVu Serif", 20));
    t.dialog.BitBtn3Click();
    t.dialog.close(); // the close box is Cancel
    EXPECT_EQ(t.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(t.ctx().settings.editorFontName, "DejaVu Serif");
    EXPECT_EQ(t.memo().font().pointSize(), 10);
    EXPECT_EQ(readFile(settingsPath(t)), "[USER]\r\nname=Tester\r\n");
}

TEST(Options, AnUnwritableSettingsFileKeepsTheDialogOpen)
{
    QTemporaryDir root;
    const QString mnt = root.filePath("cfg");
    QDir().mkdir(mnt);
    const QByteArray native = QFile::encodeName(mnt);
    if (::mount("tmpfs", native.constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    TestWindow t;
    t.ctx().settings.settingsFileName = mnt + "/Brannoc Quillet.ini";
    TOptionfrm d(t.ctx(), t.window.get());
    d.show();
    t.fake.prompts.fontResults.append(QFont("DejaVu Serif", 20));
    d.BitBtn3Click();
    d.UserNameEd->setText("New");
    d.AppyBtn->click();
    ::umount2(native.constData(), MNT_DETACH);

    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { "Unable to write to " + mnt + "/Brannoc Quillet.ini." });
    EXPECT_EQ(t.fake.prompts.boxes.value(0).icon, BoxIcon::Stop);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(t.ctx().settings.userName, "New");
    EXPECT_EQ(t.memo().font().pointSize(), 10);
}

TEST(Options, AppliedSettingsComeBackAtTheNextStart)
{
    QTemporaryDir config;
    QString expectedFamily;
    {
        TestWindow first({}, false);
        EXPECT_EQ(first.fake.prompts.boxes.size(), 1) << "the greeting";
        first.ctx().settings.settingsFileName = config.filePath("sub/dir/Brannoc Quillet.ini");
        TOptionfrm d(first.ctx(), first.window.get());
        d.show();
        QFont font("DejaVu Serif", 15);
        font.setBold(true);
        font.setItalic(true);
        first.fake.prompts.fontResults.append(font);
        d.BitBtn3Click();
        d.VHEd->setText("ext");
        d.AppyBtn->click();
        expectedFamily = first.memo().font().family();
    }
    // New settings folders are the user's alone.
    EXPECT_EQ(modeOf(config.filePath("sub")), 0700);
    EXPECT_EQ(modeOf(config.filePath("sub/dir")), 0700);
    TestWindow second({}, false);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.filePath("sub/dir")));
    second.fake.dirs.directory = config.filePath("sub/dir");
    second.fake.prompts.boxes.clear();
    runStartupSequence(second.ctx(), {});
    EXPECT_TRUE(second.fake.prompts.boxes.isEmpty()) << "no greeting once the file exists";
    EXPECT_EQ(second.memo().font().family(), expectedFamily);
    EXPECT_EQ(second.memo().font().pointSize(), 15);
    EXPECT_FALSE(second.memo().font().bold()) << "bold italic comes back regular";
    EXPECT_FALSE(second.memo().font().italic());
    EXPECT_EQ(second.ctx().settings.workshopCommand, "ext");
}

TEST(Options, ApplyWithoutChangesWritesBackWhatStartUpRead)
{
    TestWindow t;
    const QByteArray stored = "; kept\r\n[FONT]\r\nname=My Font, Fallback\r\ncharset=204\r\nsize=12\r\nstyle=TRUE\r\n"
                              "[USER]\r\nname=\xC8\xE2\xE0\xED\r\nmail=ivan@example.org\r\n[PATHS]\r\n"
                              "netscape=/home/zo&#235;/ns\r\nmsie=/m\r\nbrowser3=/b3\r\nworkshop=ws %1\r\nextended=ws %1\r\n"
                              "[Other]\r\n x = y \r\n[VIEW]\r\nhighlight=FALSE\r\n";
    writeFile(settingsPath(t), stored);
    runStartupSequence(t.ctx(), {});
    TOptionfrm d(t.ctx(), t.window.get());
    d.show();
    EXPECT_EQ(d.UserMailEd->text(), "ivan@example.org");
    d.AppyBtn->click();
    EXPECT_EQ(readFile(settingsPath(t)), stored);
}

TEST(Options, TheExtendedEditorIsWrittenWhereStartUpReadsItAndOnlyWhenChanged)
{
    const char* const none = "<none>";
    const struct {
        const char* paths; ///< the lines of [PATHS] before Apply
        const char* field; ///< typed into the field; null: as start-up found it
        const char* extended;
        const char* workshop;
        const char* next; ///< what the next start finds
    } cases[] = {
        { "", nullptr, none, none, "later %f" }, // a change to the desktop's command is seen
        { "workshop=\r\n", nullptr, none, "", "later %f" },
        { "", "mine", "mine", none, "mine" },
        { "workshop=old\r\n", "new", "new", "new", "new" },
        { "workshop=old\r\n", nullptr, "old", "old", "old" },
        { "extended=ext\r\n", "", "", none, "later %f" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.paths) + " / " + (c.field ? c.field : "unchanged"));
        TestWindow t;
        writeFile(settingsPath(t), "[PATHS]\r\n" + QByteArray(c.paths));
        t.fake.registry.extendedEditor = "desktop %f";
        runStartupSequence(t.ctx(), {});
        TOptionfrm d(t.ctx(), t.window.get());
        d.show();
        if (c.field)
            d.VHEd->setText(c.field);
        d.AppyBtn->click();
        const IniFile ini = IniFile::load(settingsPath(t));
        EXPECT_EQ(ini.value("PATHS", "extended", none), c.extended);
        EXPECT_EQ(ini.value("PATHS", "workshop", none), c.workshop);
        t.fake.registry.extendedEditor = "later %f";
        runStartupSequence(t.ctx(), {});
        EXPECT_EQ(t.ctx().settings.workshopCommand, c.next);
    }
}

TEST(Options, TheMenuCommandShowsAFreshModalDialog)
{
    TestWindow t;
    t.ctx().settings.userName = "First";
    QStringList seen;
    auto answer = [&] {
        auto* d = qobject_cast<TOptionfrm*>(QApplication::activeModalWidget());
        if (!d) {
            seen.append("<none>");
            return;
        }
        seen.append(d->UserNameEd->text());
        d->UserNameEd->setText("Changed but cancelled");
        d->Button4->click();
    };
    QTimer::singleShot(0, answer);
    t.window->Options1Click();
    t.ctx().settings.userName = "Second";
    QTimer::singleShot(0, answer);
    t.window->Options1Click();
    EXPECT_EQ(seen, QStringList({ "First", "Second" }));
    EXPECT_TRUE(t.window->findChildren<TOptionfrm*>().isEmpty()) << "disposed of after closing";
}

} // namespace

namespace {

TEST(Options, EnterAppliesFromAnyFieldAndEscapeCancels)
{
    for (const char* field : { "UserNameEd", "VHEd", "FontBox" }) {
        OpenOptions t;
        TOptionfrm& d = t.dialog;
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QWidget* target = d.findChild<QWidget*>(field);
        ASSERT_TRUE(target) << field;
        target->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(d.result(), QDialog::Accepted) << field;
        EXPECT_FALSE(d.isVisible()) << field;
        EXPECT_EQ(IniFile::readValue(settingsPath(t), "USER", "mail", "<missing>"), "@") << field;
    }
    OpenOptions t;
    QApplication::setActiveWindow(&t.dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.dialog));
    t.dialog.UserNameEd->setFocus();
    QTest::keyClick(t.dialog.UserNameEd, Qt::Key_Escape);
    EXPECT_EQ(t.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(readFile(settingsPath(t)), "[USER]\r\nname=Tester\r\n");
}

} // namespace

namespace {

/// Return on a focused push button presses that button, as on every desktop:
/// only from the fields does it reach the default button Apply.
TEST(Options, ReturnOnAFocusedButtonPressesThatButton)
{
    {
        OpenOptions t;
        TOptionfrm& d = t.dialog;
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        d.Button4->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.Button4, Qt::Key_Return);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(readFile(settingsPath(t)), "[USER]\r\nname=Tester\r\n") << "Cancel wrote the settings";
    }
    {
        OpenOptions t;
        TOptionfrm& d = t.dialog;
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        t.fake.prompts.openResults = { chosen("/opt/ns") };
        d.Button1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.Button1, Qt::Key_Return);
        EXPECT_EQ(t.fake.prompts.openDialogs.size(), 1) << "the browse button did not browse";
        EXPECT_EQ(d.NClocationEd->text(), "/opt/ns");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(readFile(settingsPath(t)), "[USER]\r\nname=Tester\r\n");

        // Back in a field, Return is Apply again.
        d.UserNameEd->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.UserNameEd, Qt::Key_Return);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(IniFile::readValue(settingsPath(t), "PATHS", "netscape", "?"), "/opt/ns");
    }
}

} // namespace
