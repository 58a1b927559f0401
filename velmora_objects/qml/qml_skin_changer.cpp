#include "velmora_objects/qml/qml_skin_changer.h"

#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/skin_transition.h"

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
    // A theme may store a curve that an animation cannot run (one that needs data a transition
    // does not carry, or a number that is no curve): the change then takes the default curve.
    m_easingType = EasingCurveNames::name(type) ? type : Velmora::SkinTransition::DefaultEasing;
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
