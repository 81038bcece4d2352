#include "ui/optionscommand.h"

#include "core/appcontext.h"
#include "ui/uoptions.h"

#include <QMainWindow>

void showOptionsDialog(AppContext& context)
{
    TOptionfrm dialog(context, context.window);
    dialog.exec();
}
