#include "ui/applicationsetup.h"

#include "ui/pictures.h"
#include "ui/qttranslations.h"

#include <QApplication>
#include <QIcon>

void setUpApplication(QApplication& app)
{
    qttranslations::install(app, QLocale::system());
    QGuiApplication::setDesktopFileName(QStringLiteral("quillet"));
    loadPictures();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillet.png")));
}
