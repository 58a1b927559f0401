#include "velmora_objects/qml/qml_control.h"

#include "velmora_objects/qml/qml_module.h"

namespace VelmoraQML {

QMLControl::QMLControl(QQuickItem* parent) : QMLThemedObject(parent) {}

QMLControl::~QMLControl()
{
    if (QMLController* c = controller())
        c->removeControl(this);
}

void QMLControl::setCaption(const QString& caption)
{
    m_caption = caption;
    emit captionChanged(m_caption);
}

void QMLControl::setControlKey(const QString& controlKey)
{
    QMLController* c = controller();
    if (c)
        c->removeControl(this);
    m_controlKey = controlKey;
    if (c)
        c->addControl(this);
}

void QMLControl::setValue(unsigned int, int) {}

void QMLControl::handleIRAction(Velmora::Action, bool) {}

void QMLControl::handleEvent(int eventType, const QVariant& data)
{
    if (QMLController* c = controller())
        c->handleControlEvent(m_controlKey, eventType, data);
}

void QMLControl::onControlCompleted()
{
    setSkin(m_startupSkin, true);
}

void QMLControl::sendEvent(int eventType, const QVariant& data)
{
    handleEvent(eventType, data);
}

void QMLControl::sendEvent(int eventType)
{
    handleEvent(eventType, QVariant());
}

} // namespace VelmoraQML
