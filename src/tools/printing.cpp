#include "tools/printing.h"

#include "core/appcontext.h"

void printDocument(AppContext& context)
{
    Q_UNUSED(context);
}
