#include "ui/optionscommand.h"

#include "core/document/appcontext.h"
#include "ui/uoptions.h"

#include <QMainWindow>

void showOptionsDialog(AppContext& context, QWidget* parent)
{
    TOptionfrm dialog(context, parent);
    dialog.exec();
}
