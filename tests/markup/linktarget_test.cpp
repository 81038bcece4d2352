#include "core/platform/branding.h"
#include "core/text/editorbuffer.h"
#include "markup/linktarget.h"
#include "support/testwindow.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ShortcutCase {
    const char* name;      ///< file name in the temporary folder
    const char* content;   ///< nullptr: the file is not created
    const char* target;    ///< nullptr: the file's own path; "*": the maker's address
};

class LinkTarget : public testing::TestWithParam<ShortcutCase> {};

TEST_P(LinkTarget, OfTheChosenFile)
{
    const ShortcutCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8(c.name));
    if (c.content)
        writeFile(path, c.content);
    const QString expected = !c.target ? path
        : qstrcmp(c.target, "*") == 0  ? branding::makerWebAddress()
                                       : QString::fromUtf8(c.target);
    EXPECT_EQ(linkTarget(path), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, LinkTarget, testing::Values(
    ShortcutCase { "news.url", "[InternetShortcut]\r\nURL=http://news.example/today?a=1&b=2\r\n", "http://news.example/today?a=1&b=2" },
    ShortcutCase { "bom.url", "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://bom.example/\r\n", "http://bom.example/" },
    ShortcutCase { "NEWS.URL", "[DEFAULT]\r\nBASEURL=http://wrong.example/\r\n[internetshortcut]\r\nurl=http://upper.example/\r\n",
                   "http://upper.example/" },
    ShortcutCase { "nokey.url", "[InternetShortcut]\r\nIconIndex=0\r\n[Other]\r\nURL=http://wrong.example/\r\n", "*" },
    ShortcutCase { "empty.Url", "[InternetShortcut]\r\nURL=\r\n", "" },
    ShortcutCase { "binary.url", "\x01\x02\xff junk [InternetShortcut", "*" },
    ShortcutCase { "missing.url", nullptr, "*" },
    ShortcutCase { "missing.htm", nullptr, nullptr },
    ShortcutCase { "archive.url.zip", "[InternetShortcut]\r\nURL=http://wrong.example/\r\n", nullptr },
    ShortcutCase { "page.htm", "[InternetShortcut]\r\nURL=http://wrong.example/\r\n", nullptr }));

TEST(LinkTarget, AFolderNamedLikeAShortcutGivesTheDefault)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.url")));
    EXPECT_EQ(linkTarget(dir.filePath(QStringLiteral("folder.url"))), branding::makerWebAddress());
}

/// Runs the link-to-file item on `selection` with `chosen` picked in the dialog.
QString linkThroughWindow(TestWindow& t, const QString& chosen, const QString& selection)
{
    t.fake.prompts.openResults.append(FileDialogResult { chosen, 1 });
    t.memo().setText(selection);
    t.memo().selectAllText();
    t.ctx().doc.modified = false;
    t.window->findChild<QAction*>(QStringLiteral("Linkfile1"))->trigger();
    EXPECT_EQ(t.memo().selStart(), t.memo().textLength());
    EXPECT_EQ(t.memo().selLength(), 0);
    EXPECT_TRUE(t.ctx().doc.modified);
    return t.memo().text();
}

} // namespace

TEST(LinkToFile, AnchorsOnThePathOrTheShortcutsAddress)
{
    TestWindow t;
    const QString shortcut = t.path(QStringLiteral("NEWS.URL"));
    writeFile(shortcut, "[InternetShortcut]\r\nURL=http://news.example/\r\n");
    EXPECT_EQ(linkThroughWindow(t, QStringLiteral("D:\\docs\\page.htm"), QStringLiteral("Page")),
              QStringLiteral("<A HREF=\"D:\\docs\\page.htm\">Page</A>"));
    EXPECT_EQ(linkThroughWindow(t, shortcut, QString()), QStringLiteral("<A HREF=\"http://news.example/\"> </A>"));
    EXPECT_EQ(linkThroughWindow(t, t.path(QStringLiteral("typed.url")), QStringLiteral("x")),
              QStringLiteral("<A HREF=\"%1\">x</A>").arg(branding::makerWebAddress()));

    const auto& dialogs = t.fake.prompts.openDialogs;
    ASSERT_EQ(dialogs.size(), 3);
    EXPECT_EQ(dialogs.at(0).filter, QStringLiteral("HTML file|*.*htm*; *.asp;*.php*|URL form file|*.url|"
                                                   "Arhive|*.zip; *.ar?; *.rar; *.lzh|Any file|*.*"));
    EXPECT_EQ(dialogs.at(0).filterIndex, 1);
    EXPECT_FALSE(dialogs.at(0).fileMustExist);
    EXPECT_EQ(dialogs.at(2).fileName, shortcut);
    // The image dialog keeps its own memory.
    t.window->findChild<QAction*>(QStringLiteral("Find1"))->trigger();
    EXPECT_TRUE(dialogs.at(3).fileName.isEmpty());
}

TEST(LinkToFile, CancelledDialogChangesNothing)
{
    TestWindow t;
    t.memo().setText(QStringLiteral("Page"));
    t.memo().selectAllText();
    t.ctx().doc.modified = false;
    t.window->findChild<QAction*>(QStringLiteral("Linkfile1"))->trigger();
    EXPECT_EQ(t.fake.prompts.openDialogs.size(), 1);
    EXPECT_EQ(t.memo().text(), QStringLiteral("Page"));
    EXPECT_EQ(t.memo().selLength(), 4);
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(FileCommands, ADoubleQuoteInAPathOrAddressCannotEndTheAttribute)
{
    TestWindow t;
    const QString shortcut = t.path(QStringLiteral("trick.url"));
    writeFile(shortcut, "[InternetShortcut]\r\nURL=http://x.example/\" onclick=\"alert(1)\r\n");
    EXPECT_EQ(linkThroughWindow(t, shortcut, QStringLiteral("x")),
              QStringLiteral("<A HREF=\"http://x.example/&quot; onclick=&quot;alert(1)\">x</A>"));

    t.fake.prompts.openResults.append(FileDialogResult { QStringLiteral("/home/u/say \"hi\".gif"), 1 });
    t.memo().setText(QString());
    t.window->findChild<QAction*>(QStringLiteral("Find1"))->trigger();
    EXPECT_EQ(t.memo().text(),
              QStringLiteral("<IMG SRC=\"/home/u/say &quot;hi&quot;.gif\" BORDER=0 ALT=\"say &quot;hi&quot;.gif\">"));
}
