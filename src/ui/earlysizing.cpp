#include "ui/earlysizing.h"

#include <QCoreApplication>
#include <QLayout>
#include <QResizeEvent>
#include <QWidget>

namespace earlysizing {

namespace {

void sendPendingResizes(QWidget& widget)
{
    if (widget.testAttribute(Qt::WA_PendingResizeEvent)) {
        // As the first show sends it: no old size. A layout handles it by
        // sizing its children, whose own events the loop below sends next.
        widget.setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resize(widget.size(), QSize());
        QCoreApplication::sendEvent(&widget, &resize);
    }
    for (QObject* child : widget.children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget && !childWidget->isWindow())
            sendPendingResizes(*childWidget);
    }
}

} // namespace

void deliverPendingSizes(QWidget& window)
{
    // Styles and fonts first, as showing does: they decide the sizes.
    window.ensurePolished();
    if (QLayout* layout = window.layout())
        layout->activate();
    sendPendingResizes(window);
}

} // namespace earlysizing
