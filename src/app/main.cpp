#include "core/platform/largeallocations.h"
#include "core/document/programoptions.h"
#include "core/platform/platform.h"
#include "core/platform/xdgsystemdirs.h"
#include "launch/processlauncher.h"
#include "launch/xdgregistry.h"
#include "tools/qtprintersystem.h"
#include "ui/about1.h"
#include "ui/applicationsetup.h"
#include "ui/qtuserprompts.h"
#include "ui/umain.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[])
{
    mapLargeAllocations();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));

    using programoptions::Request;
    const Request request = programoptions::requestFor(arguments);
    if (request != Request::OpenEditor) {
        const QString text = request == Request::ShowUsage ? programoptions::usageText() : programoptions::versionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    // Qt gets the program's name only: every argument belongs to the
    // document's name, so "-style" or "-reverse" must not become Qt's options.
    int qtArgc = 1;
    char* qtArgv[] = { argv[0], nullptr };
    QApplication app(qtArgc, qtArgv);
    setUpApplication(app);

    QtUserPrompts prompts;
    ProcessLauncher launcher;
    XdgRegistry registry;
    XdgSystemDirs dirs;
    QtPrinterSystem printers;
    const Platform platform { &prompts, &launcher, &registry, &dirs, &printers };

    Tmain window(platform, arguments);
    // The about box lives from here to the end; About only shows it again.
    TAboutBox aboutBox(platform, &window);
    window.setAboutBox(&aboutBox);
    window.show();
    return QApplication::exec();
}
