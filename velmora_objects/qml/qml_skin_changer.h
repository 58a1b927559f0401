#pragma once

#include <QObject>
#include <QPointer>

namespace VelmoraQML {

class QMLSkin;

// Moves an item's current skin to the values of another skin through the component's parallel
// animation: one child animation per skinned property, each naming its property, with no
// "from" value, so every change starts from the values the current skin shows at that moment.
class QMLSkinChanger : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int transitionDuration READ transitionDuration WRITE setTransitionDuration NOTIFY
                   transitionDurationChanged)
    Q_PROPERTY(int easingType READ easingType WRITE setEasingType NOTIFY easingTypeChanged)
    Q_PROPERTY(QObject* parallelAnimation READ parallelAnimation WRITE setParallelAnimation)

public:
    explicit QMLSkinChanger(QObject* parent = nullptr);

    // Duration (ms) and easing of the change in progress; the child animations bind to them.
    int transitionDuration() const { return m_transitionDuration; }
    void setTransitionDuration(int duration);
    int easingType() const { return m_easingType; }
    void setEasingType(int type);

    // Not owned.
    QObject* parallelAnimation() const { return m_parallelAnimation; }
    void setParallelAnimation(QObject* animation) { m_parallelAnimation = animation; }

    // Stops the change in progress where it is, aims every child animation at the target
    // skin's value of its property and starts them: at once when ignoreTransition is set,
    // else over the skin's own duration.
    void changeSkin(QMLSkin* skin, bool ignoreTransition);

signals:
    void transitionDurationChanged();
    void easingTypeChanged();

private:
    int m_transitionDuration = 0;
    int m_easingType = 0;
    QPointer<QObject> m_parallelAnimation;
};

} // namespace VelmoraQML
