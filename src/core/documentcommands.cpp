#include "core/documentcommands.h"

#include "core/appcontext.h"

DocumentCommands::DocumentCommands(AppContext& context)
    : m_ctx(context)
{
}

void DocumentCommands::newDocument() { }
void DocumentCommands::newFrameset() { }
void DocumentCommands::open() { }
void DocumentCommands::save() { }
void DocumentCommands::saveAs() { }
bool DocumentCommands::closeQuery() { return true; }
