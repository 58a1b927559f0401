#include "appengine/preview_surface.h"

#include <QResizeEvent>

PreviewSurface::PreviewSurface(QQmlEngine* engine, QWidget* parent) : QQuickWidget(engine, parent)
{
}

void PreviewSurface::renderNow()
{
    if (!isVisible() || size().isEmpty())
        return;
    // The widget renders the changes of its scene as it takes a new size; one of the same size
    // changes nothing else. The frame reaches the views at their next painting.
    QResizeEvent resized(size(), size());
    resizeEvent(&resized);
    update();
}
