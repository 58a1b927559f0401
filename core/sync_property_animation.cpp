#include "core/sync_property_animation.h"

#include "core/assertion.h"

#include <QEasingCurve>
#include <QTimeLine>

namespace {
// One cycle of a shared timeline runs through these frames.
constexpr int lastFrame = 511;
} // namespace

SyncPropertyAnimation::SyncPropertyAnimation(QObject* parent) : QVariantAnimation(parent) {}

SyncPropertyAnimation::~SyncPropertyAnimation()
{
    if (isRunning())
        detach();
}

void SyncPropertyAnimation::setTargetObject(QObject* newTarget)
{
    target = newTarget;
}

void SyncPropertyAnimation::setPropertyName(const QByteArray& name)
{
    property = name;
}

bool SyncPropertyAnimation::isRunning() const
{
    return state() == QAbstractAnimation::Paused;
}

void SyncPropertyAnimation::setRestValue(const QVariant& value)
{
    rest = value;
    if (!isRunning())
        putOnTarget(rest);
}

void SyncPropertyAnimation::setPeriod(int milliseconds)
{
    // A timeline cannot run for no time, and an animation of no length would end itself on
    // its first frame.
    milliseconds = qMax(1, milliseconds);
    if (!isRunning()) {
        setDuration(milliseconds);
        return;
    }
    stop();
    setDuration(milliseconds);
    start();
}

QTimeLine* SyncPropertyAnimation::sharedTimeline(int period)
{
    const std::map<int, TimelineEntry>& timelines = timelineMap();
    const auto iTimelineEntry = timelines.find(period);
    return iTimelineEntry == timelines.end() ? nullptr : iTimelineEntry->second.timeline.get();
}

int SyncPropertyAnimation::sharedTimelineUseCount(int period)
{
    const std::map<int, TimelineEntry>& timelines = timelineMap();
    const auto iTimelineEntry = timelines.find(period);
    return iTimelineEntry == timelines.end() ? 0 : iTimelineEntry->second.referenceCount;
}

void SyncPropertyAnimation::start()
{
    if (isRunning())
        return;
    attach();
    QVariantAnimation::start(QAbstractAnimation::KeepWhenStopped);
    pause();
}

void SyncPropertyAnimation::stop()
{
    if (!isRunning())
        return;
    detach();
    QVariantAnimation::stop();
    putOnTarget(rest);
}

void SyncPropertyAnimation::frameChanged(int frame)
{
    const qint64 period = duration();
    if (period <= 0)
        return;
    qint64 time = 2 * period * frame / lastFrame;
    if (time > period)
        time = 2 * period - time;
    // Qt stops an animation whose time reaches its duration, even a paused one, which would
    // leave it following the timeline while reporting itself stopped. Short periods reach the
    // peak exactly, so it is shown one millisecond early.
    time = qBound<qint64>(0, time, period - 1);
    setCurrentTime(int(time));
}

// Qt also recomputes the value when the start or end value, the period or the easing changes;
// a stopped animation keeps its rest value on the target instead.
void SyncPropertyAnimation::updateCurrentValue(const QVariant& value)
{
    if (state() != QAbstractAnimation::Stopped)
        putOnTarget(value);
}

void SyncPropertyAnimation::putOnTarget(const QVariant& value)
{
    if (target && !property.isEmpty())
        target->setProperty(property.constData(), value);
}

std::map<int, SyncPropertyAnimation::TimelineEntry>& SyncPropertyAnimation::timelineMap()
{
    static std::map<int, TimelineEntry> entries;
    return entries;
}

void SyncPropertyAnimation::attach()
{
    attachedPeriod = duration();
    TimelineEntry& entry = timelineMap()[attachedPeriod];
    if (!entry.timeline) {
        entry.timeline = std::make_unique<QTimeLine>(attachedPeriod);
        entry.timeline->setLoopCount(0);
        entry.timeline->setEasingCurve(QEasingCurve::Linear);
        entry.timeline->setFrameRange(0, lastFrame);
        entry.timeline->start();
    }
    connect(entry.timeline.get(), &QTimeLine::frameChanged, this,
            &SyncPropertyAnimation::frameChanged);
    ++entry.referenceCount;
}

void SyncPropertyAnimation::detach()
{
    std::map<int, TimelineEntry>& timelines = timelineMap();
    const auto iTimelineEntry = timelines.find(attachedPeriod);
    VELMORA_ASSERT(iTimelineEntry != timelines.end());
    TimelineEntry& entry = iTimelineEntry->second;
    disconnect(entry.timeline.get(), &QTimeLine::frameChanged, this,
               &SyncPropertyAnimation::frameChanged);
    if (--entry.referenceCount == 0)
        timelines.erase(iTimelineEntry);
}
