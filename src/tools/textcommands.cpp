#include "tools/textcommands.h"

#include "core/appcontext.h"

TextCommands::TextCommands(AppContext& context)
    : m_ctx(context)
{
}

void TextCommands::copy() { }
void TextCommands::paste() { }
void TextCommands::cut() { }
void TextCommands::clearAll() { }
void TextCommands::selectAll() { }
void TextCommands::removeSpaces() { }
