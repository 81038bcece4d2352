// The desktop's look-ups and starts through GIO, each on a desktop of its
// own (see FreshDesktop): the browser for web addresses and for previews
// whose setting names no program here, and the extended editor's command.
#include "core/platform/branding.h"
#include "core/text/editorbuffer.h"
#include "freshdesktop.h"
#include "launch/gotoweb.h"
#include "launch/processlauncher.h"
#include "launch/xdgregistry.h"
#include "support/testwindow.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

/// A main window whose look-ups and starts are the real ones.
struct DesktopWindow : TestWindow {
    DesktopWindow()
    {
        ctx().platform.launcher = &launcher;
        ctx().platform.registry = &registry;
        file = path(QStringLiteral("my page; $(x).htm"));
        ctx().doc.fileName = file;
        memo().setText(QStringLiteral("<P>unsaved</P>"));
        window->show();
        QApplication::setActiveWindow(window.get());
        memo().setFocus();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::AltModifier) { QTest::keyClick(&memo(), key, modifiers); }

    ProcessLauncher launcher;
    XdgRegistry registry;
    QString file;
};

} // namespace

TEST_F(FreshDesktop, ABrowserKnownOnlyByItsMimeTypeLineOpensTheWebLink)
{
    if (!inFreshProcess())
        return;
    // As after a user-level install: no mimeinfo.cache, no mimeapps.list.
    application(QStringLiteral("data/applications/webby.desktop"), "Webby",
                QFile::encodeName(recorder(QStringLiteral("webby"))) + " --new-window %u",
                "MimeType=x-scheme-handler/https;x-scheme-handler/http;\n");
    XdgRegistry registry;
    ProcessLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    web.setUrl(QStringLiteral("https://www.brannoc.example/a b;c"));
    EXPECT_EQ(web.FindBrowser().id, QStringLiteral("webby.desktop"));
    EXPECT_EQ(web.FindBrowser().name, QStringLiteral("Webby"));
    ASSERT_TRUE(web.OpenUrl());
    EXPECT_EQ(recorded(QStringLiteral("webby")), QByteArray("[--new-window][https://www.brannoc.example/a b;c]"));
}

TEST_F(FreshDesktop, AddedAssociationsCountAndRemovedOnesDoNot)
{
    if (!inFreshProcess())
        return;
    // The system's https handler is removed by the user; the http type has
    // none; the HTML application is added by the user's list, stored in a
    // subfolder.
    application(QStringLiteral("usr/applications/removed.desktop"), "Removed",
                QFile::encodeName(recorder(QStringLiteral("removed"))) + " %u", "MimeType=x-scheme-handler/https;\n");
    write(QStringLiteral("usr/applications/mimeinfo.cache"), "[MIME Cache]\nx-scheme-handler/https=removed.desktop;\n");
    application(QStringLiteral("usr/applications/vendor/webby.desktop"), "Webby",
                QFile::encodeName(recorder(QStringLiteral("webby"))) + " %U");
    write(QStringLiteral("config/mimeapps.list"), "[Added Associations]\ntext/html=vendor-webby.desktop;\n"
                                                  "[Removed Associations]\nx-scheme-handler/https=removed.desktop;\n");
    XdgRegistry registry;
    ProcessLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_EQ(web.FindBrowser().id, QStringLiteral("vendor-webby.desktop"));
    ASSERT_TRUE(web.OpenUrl());
    EXPECT_EQ(recorded(QStringLiteral("webby")), "[" + branding::makerWebAddress().toUtf8() + "]");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("removed.args"))));
}

TEST_F(FreshDesktop, ThePackagesOwnEntryIsPassedOverForARealBrowser)
{
    if (!inFreshProcess())
        return;
    // The desktop entry the package installs (the package test gives the
    // unpacked one) is the HTML default, and its program is there. No web
    // address has a handler: the next application for HTML must be taken.
    const QString entry = qEnvironmentVariable("QUILLET_DESKTOP_ENTRY",
                                               QStringLiteral(QUILLET_SOURCE_DIR "/packaging/quillet.desktop"));
    QFile own(entry);
    ASSERT_TRUE(own.open(QIODevice::ReadOnly)) << entry.toStdString();
    write(QStringLiteral("usr/applications/quillet.desktop"), own.readAll());
    recorder(QStringLiteral("quillet"));
    // The same program under its second name.
    application(QStringLiteral("usr/applications/vq.desktop"), "Vq",
                QFile::encodeName(recorder(QStringLiteral("vq.exe"))) + " %F", "MimeType=text/html;\n");
    application(QStringLiteral("usr/applications/webby.desktop"), "Webby",
                "\"" + QFile::encodeName(recorder(QStringLiteral("record browser"))) + "\" --new-tab %u",
                "MimeType=text/html;\n");
    write(QStringLiteral("config/mimeapps.list"), "[Default Applications]\ntext/html=quillet.desktop;vq.desktop\n");

    XdgRegistry registry;
    ProcessLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    web.setUrl(QStringLiteral("http://www.brannoc.example/a b"));
    EXPECT_TRUE(web.OpenUrl());
    EXPECT_EQ(recorded(QStringLiteral("record browser")), QByteArray("[--new-tab][http://www.brannoc.example/a b]"));
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("quillet.args")))) << "the editor's own entry was started";
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("vq.exe.args")))) << "the editor's own entry was started";
}

TEST_F(FreshDesktop, ABrowserFoundOnlyInTheCurrentFolderIsNotStarted)
{
    if (!inFreshProcess())
        return;
    // An empty PATH entry stands for the current folder, where a download
    // could have put a program of the browser's name.
    write(QStringLiteral("cwd/webby"), "#!/bin/sh\ntouch '" + QFile::encodeName(path(QStringLiteral("ran"))) + "'\n");
    QFile::setPermissions(path(QStringLiteral("cwd/webby")), QFile::ReadOwner | QFile::ExeOwner);
    application(QStringLiteral("usr/applications/webby.desktop"), "Webby", "webby %u",
                "MimeType=x-scheme-handler/https;\n");
    qputenv("PATH", ":" + qgetenv("PATH"));
    QDir::setCurrent(path(QStringLiteral("cwd")));
    XdgRegistry registry;
    ProcessLauncher launcher;
    TGoToWeb web(&registry, &launcher);
    EXPECT_FALSE(web.OpenUrl());
    EXPECT_EQ(web.failureMessage(), QStringLiteral("Cannot run Webby"));
    QTest::qWait(500);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ran"))));
}

TEST_F(FreshDesktop, WithoutAnyBrowserTheErrorBoxSaysSoAndTheFileStaysUnwritten)
{
    if (!inFreshProcess())
        return;
    // Only this editor claims HTML, and a text editor plain text, of which
    // HTML is a kind: no browser either.
    recorder(QStringLiteral("quillet"));
    application(QStringLiteral("usr/applications/quillet.desktop"), "Brannoc Quillet", "quillet %f",
                "MimeType=text/html;x-scheme-handler/https;\n");
    application(QStringLiteral("usr/applications/ed.desktop"), "Ed", QFile::encodeName(recorder(QStringLiteral("ed"))) + " %f",
                "MimeType=text/plain;\n");
    write(QStringLiteral("usr/applications/mimeinfo.cache"), "[MIME Cache]\ntext/plain=ed.desktop;\n");
    write(QStringLiteral("usr/mime/subclasses"), "text/html text/plain\n");
    DesktopWindow t;
    t.ctx().settings.browser3Path.clear();
    t.press(Qt::Key_1); // the default Netscape path
    t.press(Qt::Key_3); // no third browser set
    t.window->BrannocSoftware1Click();
    EXPECT_EQ(t.fake.prompts.boxTexts(),
              (QStringList { QStringLiteral("Cannot run C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe."),
                             QStringLiteral("Cannot run x-scheme-handler/https."),
                             QStringLiteral("Cannot run x-scheme-handler/https.") }));
    EXPECT_FALSE(QFile::exists(t.file));
    EXPECT_FALSE(t.ctx().doc.launchWroteFile);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("quillet.args"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ed.args"))));
}

TEST_F(FreshDesktop, AWindowsPathInTheSettingFallsBackToTheDesktopsBrowser)
{
    if (!inFreshProcess())
        return;
    application(QStringLiteral("usr/applications/files.desktop"), "Files Browser",
                QFile::encodeName(recorder(QStringLiteral("files"))) + " --new-window %f",
                "MimeType=x-scheme-handler/https;\n");
    DesktopWindow t;
    t.press(Qt::Key_2); // the default MSIE path
    // The file is written before the browser gets its path as one argument.
    EXPECT_EQ(recorded(QStringLiteral("files")), "[--new-window][" + QFile::encodeName(t.file) + "]");
    EXPECT_EQ(readFile(t.file), QByteArray("<P>unsaved</P>"));
    EXPECT_TRUE(t.ctx().doc.launchWroteFile);
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
}

TEST_F(FreshDesktop, ARealProgramInTheSettingIsUsedWithItsCommandLine)
{
    if (!inFreshProcess())
        return;
    application(QStringLiteral("usr/applications/webby.desktop"), "Webby",
                QFile::encodeName(recorder(QStringLiteral("webby"))) + " %u", "MimeType=x-scheme-handler/https;\n");
    DesktopWindow t;
    t.ctx().settings.netscapePath = recorder(QStringLiteral("navigator"));
    t.ctx().settings.browser3Path = QStringLiteral("\"") + recorder(QStringLiteral("third one")) + QStringLiteral("\" -dump");
    t.press(Qt::Key_1);
    EXPECT_EQ(recorded(QStringLiteral("navigator")), "[-browser][" + QFile::encodeName(t.file) + "]");
    t.press(Qt::Key_3);
    EXPECT_EQ(recorded(QStringLiteral("third one")), "[-dump][" + QFile::encodeName(t.file) + "]");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("webby.args")))) << "the desktop's browser stands in only for a missing program";
    EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
}

TEST_F(FreshDesktop, TheExtendedEditorIsTheDefaultForItsTypeWithItsEntrysCodesFilled)
{
    if (!inFreshProcess())
        return;
    const QByteArray program = QFile::encodeName(recorder(QStringLiteral("loom")));
    application(QStringLiteral("usr/applications/loom.desktop"), "Loom", program + " --open %i %c \"%f\"",
                "Icon=loom-icon\nMimeType=application/x-vqlfile;\n");
    XdgRegistry registry;
    EXPECT_EQ(registry.extendedEditorCommand(),
              QString::fromUtf8(program) + QStringLiteral(" --open --icon \"loom-icon\" \"Loom\" \"%f\""));
    EXPECT_EQ(registry.applicationFor(QStringLiteral("text/html")).id, QString());
}
