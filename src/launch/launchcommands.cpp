#include "launch/launchcommands.h"

#include "core/appcontext.h"

LaunchCommands::LaunchCommands(AppContext& context)
    : m_ctx(context)
{
}

void LaunchCommands::runWithDocument(const QString& program) { Q_UNUSED(program); }
void LaunchCommands::netscape() { }
void LaunchCommands::msie() { }
void LaunchCommands::anyBrowser() { }
void LaunchCommands::runWorkshop() { }
void LaunchCommands::newEditor() { }
void LaunchCommands::howToUse() { }
void LaunchCommands::about() { }
void LaunchCommands::brannocOnline() { }
