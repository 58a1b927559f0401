#include "velmora_objects/qml/qml_colour_picker.h"

#include "velmora_objects/qml/colour_wheel.h"
#include "velmora_objects/qml/qml_module.h"

#include <algorithm>

namespace VelmoraQML {

QMLColourPicker::QMLColourPicker(QQuickItem* parent) : QMLControl(parent) {}

QSize QMLColourPicker::wheelSize() const
{
    return QSize(property("wheelWidth").toInt(), property("wheelHeight").toInt());
}

bool QMLColourPicker::isPointInWheel(const QPoint& point) const
{
    return ColourWheel::contains(wheelSize(), point);
}

QPoint QMLColourPicker::nearestPointInWheel(const QPoint& point) const
{
    return ColourWheel::nearestPoint(wheelSize(), point);
}

void QMLColourPicker::setValue(unsigned int channel, int value)
{
    value = std::clamp(value, 0, 255);
    switch (channel) {
    case 0:
        m_colour.setRed(value);
        break;
    case 1:
        m_colour.setGreen(value);
        break;
    case 2:
        m_colour.setBlue(value);
        break;
    default:
        return;
    }
    emit eventReceived(Event_COLOUR_PICKER_PRESS,
                       QVariant(ColourWheel::pointOf(wheelSize(), m_colour)));
}

void QMLColourPicker::handleEvent(int eventType, const QVariant& data)
{
    if (eventType == Event_COLOUR_PICKER_PRESS || eventType == Event_COLOUR_PICKER_MOVE)
        emit eventReceived(Event_COLOUR_PICKER_MOVE, data);
    m_colour = ColourWheel::colourAt(wheelSize(), data.toPoint());
    if (QMLController* c = controller())
        c->handleControlEvent(controlKey(), eventType, QVariant(m_colour));
}

} // namespace VelmoraQML
