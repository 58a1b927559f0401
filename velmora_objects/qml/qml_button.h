#pragma once

#include "velmora_objects/qml/qml_control.h"

namespace VelmoraQML {

// A button item: a click first performs the button's function, then travels on as an event.
class QMLButton : public QMLControl
{
    Q_OBJECT

public:
    explicit QMLButton(QQuickItem* parent = nullptr);

    // The click action: a press sends the pressed event, a release the released and the
    // clicked event.
    void handleIRAction(Velmora::Action action, bool pressed) override;
    void handleEvent(int eventType, const QVariant& data) override;

public slots:
    void sendEvent(int eventType, const QVariant& data) { QMLControl::sendEvent(eventType, data); }
    void sendEvent(int eventType) { QMLControl::sendEvent(eventType); }
};

} // namespace VelmoraQML
