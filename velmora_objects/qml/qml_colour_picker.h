#pragma once

#include "velmora_objects/qml/qml_control.h"

#include <QColor>
#include <QPoint>
#include <QSize>

namespace VelmoraQML {

// A colour-picker item: turns points of the component's wheel ("wheelWidth" × "wheelHeight")
// into colours for the controller, and panel colour values into indicator points.
class QMLColourPicker : public QMLControl
{
    Q_OBJECT

public:
    explicit QMLColourPicker(QQuickItem* parent = nullptr);

    // The colour last picked or set; white at first.
    const QColor& colour() const { return m_colour; }

    Q_INVOKABLE bool isPointInWheel(const QPoint& point) const;
    Q_INVOKABLE QPoint nearestPointInWheel(const QPoint& point) const;

    // Channels 0, 1 and 2 set the red, green and blue of the colour (0 to 255) and move the
    // indicator to the colour's point; other channels are ignored.
    void setValue(unsigned int channel, int value) override;
    // A press or move on the wheel: moves the indicator, picks the colour at the point and
    // hands it to the controller.
    void handleEvent(int eventType, const QVariant& data) override;

public slots:
    void sendEvent(int eventType, const QVariant& data) { QMLControl::sendEvent(eventType, data); }
    void sendEvent(int eventType) { QMLControl::sendEvent(eventType); }

private:
    QSize wheelSize() const;

    QColor m_colour = Qt::white;
};

} // namespace VelmoraQML
