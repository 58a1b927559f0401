#include "velmora_objects/qml/qml_button.h"

#include "velmora_objects/qml/qml_module.h"

namespace VelmoraQML {

QMLButton::QMLButton(QQuickItem* parent) : QMLControl(parent) {}

void QMLButton::handleIRAction(Velmora::Action action, bool pressed)
{
    if (action != Velmora::Action_CLICK)
        return;
    if (pressed) {
        handleEvent(Event_BUTTON_PRESSED, QVariant());
    } else {
        handleEvent(Event_BUTTON_RELEASED, QVariant());
        handleEvent(Event_BUTTON_CLICKED, QVariant());
    }
}

void QMLButton::handleEvent(int eventType, const QVariant& data)
{
    if (eventType == Event_BUTTON_CLICKED) {
        if (QMLController* c = controller())
            c->triggerButtonFunction(static_cast<unsigned int>(configId()));
    }
    QMLControl::handleEvent(eventType, data);
}

} // namespace VelmoraQML
