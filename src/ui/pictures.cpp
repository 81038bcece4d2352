#include "ui/pictures.h"

#include <QtGlobal>

void loadPictures()
{
    // Registering twice is harmless, so every window may call this.
    Q_INIT_RESOURCE(quillet);
}
