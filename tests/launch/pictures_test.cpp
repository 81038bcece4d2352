#include "support/testwindow.h"
#include "ui/applicationsetup.h"
#include "ui/commandtable.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QImage>
#include <QToolButton>
#include <gtest/gtest.h>

// Every picture button of the toolbar carries its own 16 x 16 picture, and
// no two buttons look alike.
TEST(Pictures, EveryPictureButtonShowsItsOwnPicture)
{
    TestWindow t;
    QList<QImage> seen;
    int pictureButtons = 0;
    for (const ToolbarRow& row : toolbarTable()) {
        if (row.face != ButtonFace::Picture)
            continue;
        ++pictureButtons;
        const QString name = QString::fromUtf8(row.item);
        auto* button = t.window->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << row.item;
        ASSERT_FALSE(button->icon().isNull()) << row.item;
        const QImage picture(QStringLiteral(":/toolbar/%1.png").arg(name));
        ASSERT_EQ(picture.size(), QSize(16, 16)) << row.item;
        for (const QImage& other : seen)
            EXPECT_NE(picture, other) << row.item << " looks like another button";
        seen.append(picture);
    }
    EXPECT_EQ(pictureButtons, 10);
}

TEST(Pictures, ProductLogoHasItsSize)
{
    loadPictures();
    const QImage logo(QStringLiteral(":/logo.png"));
    EXPECT_EQ(logo.size(), QSize(140, 66));
}

TEST(Pictures, TheApplicationNamesItsDesktopEntryAndCarriesTheIcon)
{
    setUpApplication(*qApp);
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("quillet"));
    // The window class comes from the application's name, whatever the program file is called.
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("quillet"));
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(QSize(128, 128)).size(), QSize(128, 128));
    TestWindow t;
    EXPECT_EQ(t.window->windowIcon().cacheKey(), icon.cacheKey());
}
