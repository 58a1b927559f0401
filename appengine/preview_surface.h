#pragma once

#include <QQuickWidget>

class QQmlEngine;

// The widget that draws the live QML items of a preview. It draws a frame on a timer of its own
// a few milliseconds after a change, so that a burst of changes makes one frame; renderNow()
// draws the changes made so far at once instead, for a change the user waits to see (a control
// dragged, a page shown), and has the views show the frame.
class PreviewSurface : public QQuickWidget
{
    Q_OBJECT

public:
    PreviewSurface(QQmlEngine* engine, QWidget* parent);

    // Draws the changes since the last frame now. Nothing while the surface is hidden or has
    // no size: it draws nothing then either.
    void renderNow();
};
