#include "ui/optionscommand.h"

#include "core/appcontext.h"

void showOptionsDialog(AppContext& context)
{
    Q_UNUSED(context);
}
