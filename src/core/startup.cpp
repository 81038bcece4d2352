#include "core/startup.h"

#include "core/appcontext.h"

void runStartupSequence(AppContext& context, const QStringList& arguments)
{
    Q_UNUSED(arguments);
    context.doc.fileName = DocumentState::untitledFileName();
}
