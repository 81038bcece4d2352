#include "tools/findreplace.h"

#include "core/appcontext.h"

FindReplace::FindReplace(AppContext& context)
    : m_ctx(context)
{
}

FindReplace::~FindReplace() = default;

void FindReplace::show() { }
void FindReplace::find() { }
void FindReplace::replace() { }
