#include "ui/applicationsetup.h"

#include "ui/pictures.h"
#include "ui/qttranslations.h"

#include <QApplication>
#include <QIcon>

void setUpApplication(QApplication& app)
{
    qttranslations::install(app, QLocale::system());
    QGuiApplication::setDesktopFileName(QStringLiteral("quillet"));
    // The window class, which the desktop entry's StartupWMClass names, is
    // the application's name; without it the program's file name would be
    // taken, and a window started as "vq.exe" would belong to no entry.
    QCoreApplication::setApplicationName(QStringLiteral("quillet"));
    loadPictures();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillet.png")));
}
