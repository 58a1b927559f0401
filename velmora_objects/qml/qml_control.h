#pragma once

#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <QVariant>

namespace VelmoraQML {

// Base of the control items. Events travel from the component through sendEvent to the
// controller under the control key; the native side answers the component only through
// eventReceived.
class QMLControl : public QMLThemedObject
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY captionChanged)
    Q_PROPERTY(QString controlKey READ controlKey WRITE setControlKey)
    Q_PROPERTY(QString startupSkin READ startupSkin WRITE setStartupSkin)

public:
    enum Actuation
    {
        MomentaryActuation = 0,
        MaintainedActuation = 1
    };
    Q_ENUM(Actuation)

    // The events exchanged between components, control items and the controller.
    enum Event
    {
        Event_BUTTON_PRESSED = 0,
        Event_BUTTON_HELD = 1,
        Event_BUTTON_REPEAT = 2,
        Event_BUTTON_RELEASED = 3,
        Event_BUTTON_CLICKED = 4,
        Event_SLIDER_VALUE_CHANGED = 5,
        Event_COLOUR_PICKER_PRESS = 6,
        Event_COLOUR_PICKER_MOVE = 7,
        Event_KEYPAD_CODE_ENTERED = 8
    };
    Q_ENUM(Event)

    explicit QMLControl(QQuickItem* parent = nullptr);
    ~QMLControl() override;

    const QString& caption() const { return m_caption; }
    // Stores and always emits captionChanged.
    void setCaption(const QString& caption);
    const QString& controlKey() const { return m_controlKey; }
    // Moves the control's entry in the controller's registry to the new key.
    void setControlKey(const QString& controlKey);
    const QString& startupSkin() const { return m_startupSkin; }
    // Takes effect at the next completion.
    void setStartupSkin(const QString& skinName) { m_startupSkin = skinName; }

    // A panel value (0 to 255) for one channel of the control.
    virtual void setValue(unsigned int channel, int value);
    // An IR remote action on the control, pressed or released.
    virtual void handleIRAction(Velmora::Action action, bool pressed);
    // An event of the component: passed to the controller under the control key.
    virtual void handleEvent(int eventType, const QVariant& data);

public slots:
    // Puts the control in its startup skin (the set's default skin when it is empty) at once.
    void onControlCompleted();
    void sendEvent(int eventType, const QVariant& data);
    void sendEvent(int eventType);

signals:
    void captionChanged(const QString& caption);
    void eventReceived(int eventType, const QVariant& data);

private:
    QString m_caption;
    QString m_controlKey;
    QString m_startupSkin;
};

// Controls that add nothing to the base: the drawing is all in their components.
class QMLKeypad : public QMLControl
{
    Q_OBJECT

public:
    using QMLControl::QMLControl;
};

class QMLLabel : public QMLControl
{
    Q_OBJECT

public:
    using QMLControl::QMLControl;
};

class QMLClock : public QMLControl
{
    Q_OBJECT

public:
    using QMLControl::QMLControl;
};

class QMLAnalogueClock : public QMLClock
{
    Q_OBJECT

public:
    using QMLClock::QMLClock;
};

} // namespace VelmoraQML
