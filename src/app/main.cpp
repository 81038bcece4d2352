#include "core/platform.h"
#include "core/xdgsystemdirs.h"
#include "launch/processlauncher.h"
#include "launch/xdgregistry.h"
#include "tools/qtprintersystem.h"
#include "ui/about1.h"
#include "ui/qtuserprompts.h"
#include "ui/qttranslations.h"
#include "ui/umain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qttranslations::install(app, QLocale::system());

    QtUserPrompts prompts;
    ProcessLauncher launcher;
    XdgRegistry registry;
    XdgSystemDirs dirs;
    QtPrinterSystem printers;
    const Platform platform { &prompts, &launcher, &registry, &dirs, &printers };

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    Tmain window(platform, arguments);
    // The about box lives from here to the end; About only shows it again.
    TAboutBox aboutBox(platform, &window);
    window.setAboutBox(&aboutBox);
    window.show();
    return QApplication::exec();
}
