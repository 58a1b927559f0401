#pragma once

#include <QByteArray>
#include <QPointer>
#include <QVariant>
#include <QVariantAnimation>
#include <map>
#include <memory>

class QTimeLine;

// Animates one property of one object from the start value to the end value and back, without
// end. Every running animation of the same period takes its time from one shared timeline, so
// that all of them stay exactly in step however late each was started. While running the
// animation sits in Qt's paused state; the shared timeline alone moves it.
class SyncPropertyAnimation : public QVariantAnimation
{
    Q_OBJECT

public:
    explicit SyncPropertyAnimation(QObject* parent = nullptr);
    // Leaves the shared timeline when still running; the target is left as it is.
    ~SyncPropertyAnimation() override;

    // The object whose property is animated; not owned, and it may be destroyed first.
    void setTargetObject(QObject* target);
    QObject* targetObject() const { return target; }
    void setPropertyName(const QByteArray& name);
    QByteArray propertyName() const { return property; }

    bool isRunning() const;
    // The value the property gets whenever the animation is not running; put on the target at
    // once when the animation is stopped.
    void setRestValue(const QVariant& value);
    QVariant restValue() const { return rest; }
    // The time of one rise from the start value to the end value, at least 1 ms; a running
    // animation moves to the timeline of the new period.
    void setPeriod(int milliseconds);

    // The shared timeline of the period and the number of running animations that follow it;
    // null and 0 when none runs.
    static QTimeLine* sharedTimeline(int period);
    static int sharedTimelineUseCount(int period);

public slots:
    void start();
    // Stops following the shared timeline and puts the rest value on the target.
    void stop();
    // Takes the animation's time from frame 0 to 511 of the shared timeline: rising from 0 to
    // the period over the first half and falling back over the second.
    void frameChanged(int frame);

protected:
    void updateCurrentValue(const QVariant& value) override;

private:
    struct TimelineEntry
    {
        int referenceCount = 0;
        std::unique_ptr<QTimeLine> timeline;
    };
    static std::map<int, TimelineEntry>& timelineMap();

    void attach();
    void detach();
    void putOnTarget(const QVariant& value);

    QByteArray property;
    QPointer<QObject> target;
    QVariant rest;
    // The period whose timeline the running animation follows.
    int attachedPeriod = 0;
};
