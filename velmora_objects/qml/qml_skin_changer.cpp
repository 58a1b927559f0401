#include "velmora_objects/qml/qml_skin_changer.h"

#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/skin_transition.h"

#include <QEasingCurve>
#include <QMetaObject>
#include <QVariant>

namespace VelmoraQML {

QMLSkinChanger::QMLSkinChanger(QObject* parent) : QObject(parent) {}

void QMLSkinChanger::setTransitionDuration(int duration)
{
    m_transitionDuration = duration;
    emit transitionDurationChanged();
}

void QMLSkinChanger::setEasingType(int type)
{
    // The curves from Linear to CosineCurve need no data and an animation runs them as stored.
    // A theme may also store a curve that an animation cannot run (a spline or a custom curve,
    // which need data a transition does not carry, or a number that is no curve): the change
    // then takes the default curve.
    const bool runs = type >= int(QEasingCurve::Linear) && type <= int(QEasingCurve::CosineCurve);
    m_easingType = runs ? type : Velmora::SkinTransition::DefaultEasing;
    emit easingTypeChanged();
}

void QMLSkinChanger::changeSkin(QMLSkin* skin, bool ignoreTransition)
{
    if (!skin)
        return;
    QObject* animation = m_parallelAnimation;
    if (animation)
        QMetaObject::invokeMethod(animation, "stop");

    if (animation) {
        for (QObject* child : animation->children()) {
            const QString name = child->property("property").toString();
            if (name.isEmpty())
                continue;
            const QVariant value = skin->property(name.toUtf8().constData());
            if (value.isValid())
                child->setProperty("to", value);
        }
    }

    setTransitionDuration(ignoreTransition ? 0 : skin->transitionDuration());
    setEasingType(skin->easingType());

    if (animation)
        QMetaObject::invokeMethod(animation, "start");
}

} // namespace VelmoraQML
