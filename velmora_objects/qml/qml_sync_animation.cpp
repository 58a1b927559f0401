#include "velmora_objects/qml/qml_sync_animation.h"

#include "core/sync_property_animation.h"

namespace VelmoraQML {

QMLSyncAnimation::QMLSyncAnimation(QObject* parent)
    : QObject(parent), m_animation(new SyncPropertyAnimation(this))
{
}

QString QMLSyncAnimation::propertyName() const
{
    return QString::fromLatin1(m_animation->propertyName());
}

void QMLSyncAnimation::setPropertyName(const QString& name)
{
    m_animation->setPropertyName(name.toLatin1());
}

QObject* QMLSyncAnimation::target() const
{
    return m_animation->targetObject();
}

void QMLSyncAnimation::setTarget(QObject* target)
{
    m_animation->setTargetObject(target);
}

int QMLSyncAnimation::period() const
{
    return m_animation->duration();
}

void QMLSyncAnimation::setPeriod(int period)
{
    m_animation->setPeriod(period);
}

bool QMLSyncAnimation::isRunning() const
{
    return m_animation->isRunning();
}

void QMLSyncAnimation::setRunning(bool running)
{
    if (running)
        m_animation->start();
    else
        m_animation->stop();
}

QVariant QMLSyncAnimation::startValue() const
{
    return m_animation->startValue();
}

void QMLSyncAnimation::setStartValue(const QVariant& value)
{
    m_animation->setStartValue(value);
}

QVariant QMLSyncAnimation::endValue() const
{
    return m_animation->endValue();
}

void QMLSyncAnimation::setEndValue(const QVariant& value)
{
    m_animation->setEndValue(value);
}

QVariant QMLSyncAnimation::offValue() const
{
    return m_animation->restValue();
}

void QMLSyncAnimation::setOffValue(const QVariant& value)
{
    m_animation->setRestValue(value);
}

} // namespace VelmoraQML
