#include "markup/filepaths.h"
#include "markup/fragments.h"

#include <gtest/gtest.h>

struct PathCase {
    const char* path;
    const char* name;
    const char* extension;
    bool shortcut;
};

class PathParts : public testing::TestWithParam<PathCase> {};

TEST_P(PathParts, NameExtensionAndShortcut)
{
    const PathCase& c = GetParam();
    const QString path = QString::fromUtf8(c.path);
    EXPECT_EQ(filepaths::fileNamePart(path), QString::fromUtf8(c.name));
    EXPECT_EQ(filepaths::extension(path), QString::fromUtf8(c.extension));
    EXPECT_EQ(filepaths::isInternetShortcut(path), c.shortcut);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathParts, testing::Values(
    PathCase { "C:\\Site\\img\\logo.gif", "logo.gif", ".gif", false },
    PathCase { "/home/u/pics/logo.gif", "logo.gif", ".gif", false },
    PathCase { "C:logo.jpeg", "logo.jpeg", ".jpeg", false },
    PathCase { "logo", "logo", "", false },
    PathCase { "C:\\my.site\\readme", "readme", "", false },
    PathCase { "/home/u/my.site/readme", "readme", "", false },
    PathCase { "/tmp/mixed\\a.b/c", "c", "", false },
    // A path of this platform splits at '/' only; others at '\\' and ':' only.
    PathCase { "/home/u/12:30 shot.jpg", "12:30 shot.jpg", ".jpg", false },
    PathCase { "/home/u/a\\b:c.gif", "a\\b:c.gif", ".gif", false },
    PathCase { "/home/u/v1.2\\readme", "v1.2\\readme", ".2\\readme", false },
    PathCase { "sub/dir\\x:y.gif", "y.gif", ".gif", false },
    PathCase { "D:\\docs\\", "", "", false },
    PathCase { "/home/u/.hidden", ".hidden", ".hidden", false },
    PathCase { "/home/u/NEWS.URL", "NEWS.URL", ".URL", true },
    PathCase { "/home/u/news.Url", "news.Url", ".Url", true },
    PathCase { "/home/u/archive.url.zip", "archive.url.zip", ".zip", false },
    PathCase { "/home/u/a.url/file", "file", "", false },
    PathCase { "/home/u/name.url ", "name.url ", ".url ", false },
    PathCase { "/home/u/Новости.URL", "Новости.URL", ".URL", true },
    // Only A to Z are lowered: a dotted capital I or a full-width letter is not "u", "r" or "l".
    PathCase { "/home/u/x.URİ", "x.URİ", ".URİ", false },
    PathCase { "/home/u/x.ＵＲＬ", "x.ＵＲＬ", ".ＵＲＬ", false }));

TEST(FilePaths, AsciiLowerLeavesOtherLettersAlone)
{
    EXPECT_EQ(filepaths::asciiLower(QStringLiteral("ÀBÇ.URL-Ж")), QStringLiteral("ÀbÇ.url-Ж"));
}

TEST(FileRows, ImageAndLinkTemplatesTakeTheFileVariables)
{
    const QHash<QString, QString> image { { QStringLiteral("P"), QStringLiteral("C:\\Site\\img\\logo.gif") },
                                          { QStringLiteral("N"), QStringLiteral("logo.gif") } };
    const Fragment* find = findFragment(QStringLiteral("Find1"));
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(composeFragment(*find, QString(), image),
              QStringLiteral("<IMG SRC=\"C:\\Site\\img\\logo.gif\" BORDER=0 ALT=\"logo.gif\">"));
    EXPECT_EQ(composeFragment(*find, QStringLiteral("x"), image), std::nullopt);

    const QHash<QString, QString> link { { QStringLiteral("T"), QStringLiteral("D:\\docs\\{S} page.htm") } };
    const Fragment* linkFile = findFragment(QStringLiteral("Linkfile1"));
    ASSERT_NE(linkFile, nullptr);
    EXPECT_EQ(composeFragment(*linkFile, QString(), link), QStringLiteral("<A HREF=\"D:\\docs\\{S} page.htm\"> </A>"));
    EXPECT_EQ(composeFragment(*linkFile, QStringLiteral("Page"), link),
              QStringLiteral("<A HREF=\"D:\\docs\\{S} page.htm\">Page</A>"));
}
