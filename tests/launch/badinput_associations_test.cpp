// Association files are outside input: a desktop id made of a very long run
// of dashes must not make the look-up take gigabytes or minutes.
#include "launch/mimeassociations.h"
#include "support/testwindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

TEST(BadAssociations, AnIdWithManyDashesIsLookedUpInBoundedTimeAndMemory)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("config"));
    QDir(dir.path()).mkpath(QStringLiteral("data/applications/org/example"));
    // A 200 KB id: every split of it at a dash is a guess of where it is stored.
    QByteArray dashes;
    for (int i = 0; i < 100000; ++i)
        dashes += "a-";
    writeFile(dir.filePath(QStringLiteral("config/mimeapps.list")),
              "[Default Applications]\ntext/html=" + dashes + "x.desktop;org-example-app.desktop\n");
    writeFile(dir.filePath(QStringLiteral("data/applications/org/example/app.desktop")),
              "[Desktop Entry]\nExec=/usr/bin/app %u\n");

    const MimeAssociations associations({ dir.filePath(QStringLiteral("config")) },
                                        { dir.filePath(QStringLiteral("data")) });
    QElapsedTimer timer;
    timer.start();
    // The long id is not installed; the next one in the list, stored in
    // subfolders at its dashes, is found.
    EXPECT_EQ(associations.defaultApplication(QStringLiteral("text/html")), QStringLiteral("org-example-app.desktop"));
    EXPECT_EQ(associations.defaultCommand(QStringLiteral("text/html")), QStringLiteral("/usr/bin/app %u"));
    EXPECT_LT(timer.elapsed(), 20000);
}
