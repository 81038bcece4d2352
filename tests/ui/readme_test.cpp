// The user's page lists every command of the menus with its shortcut, so it
// cannot drift from the command table.
#include "ui/commandtable.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

TEST(Readme, ListsEveryMenuCommandWithItsShortcut)
{
    QFile file(QStringLiteral(QUILLET_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');

    int checked = 0;
    for (const MenuRow& row : menuTable()) {
        const QString caption = QString::fromUtf8(row.caption).remove(u'&');
        if (caption == u"-" || QByteArray(row.parent) == "MainMenu1")
            continue;
        SCOPED_TRACE(row.item);
        // The table row of this command: its caption as the last step of the
        // menu path in the first cell.
        const QString cell = QStringLiteral(" ") + caption + QStringLiteral(" |");
        QString found;
        for (const QString& line : lines)
            if (line.startsWith(u'|') && line.section(u'|', 1, 1).endsWith(cell.chopped(1)))
                found = line;
        if (found.isEmpty()) {
            // Submenus without their own command are named only in the paths.
            bool isSubmenu = false;
            for (const MenuRow& other : menuTable())
                isSubmenu = isSubmenu || QByteArray(other.parent) == row.item;
            EXPECT_TRUE(isSubmenu) << "README lacks " << caption.toStdString();
            continue;
        }
        const QString shortcut = row.shortcut ? QString::fromUtf8(row.shortcut) : QString();
        EXPECT_EQ(found.section(u'|', 2, 2).trimmed(), shortcut) << found.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 60);
}
