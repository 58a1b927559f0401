#include "core/sync_property_animation.h"

#include <QPointer>
#include <QTimeLine>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {

// An animation of "level" on its own target, from 0 to 1 and back.
struct Animated
{
    explicit Animated(int period)
    {
        animation.setTargetObject(&target);
        animation.setPropertyName("level");
        animation.setStartValue(0.0);
        animation.setEndValue(1.0);
        animation.setRestValue(-1.0);
        animation.setPeriod(period);
    }
    double level() const { return target.property("level").toDouble(); }

    QObject target;
    SyncPropertyAnimation animation;
};

} // namespace

TEST(SyncPropertyAnimation, FramesRiseToThePeriodAndFallBack)
{
    struct Case
    {
        int period;
        int frame;
        int time;
    };
    const Case cases[] = {
        {1000, 0, 0},     {1000, 128, 500}, {1000, 255, 998}, {1000, 256, 999},
        {1000, 383, 501}, {1000, 511, 0},   {511, 100, 200},  {2000, 256, 1997},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.period << " ms, frame " << c.frame);
        Animated animated(c.period);
        animated.animation.start();
        animated.animation.frameChanged(c.frame);
        EXPECT_EQ(animated.animation.currentTime(), c.time);
        EXPECT_DOUBLE_EQ(animated.level(), double(c.time) / c.period);
    }
}

TEST(SyncPropertyAnimation, LongestPeriodFoldsWithoutOverflow)
{
    SyncPropertyAnimation animation;
    animation.setPeriod(INT_MAX);
    animation.frameChanged(255);
    EXPECT_EQ(animation.currentTime(), int(2 * qint64(INT_MAX) * 255 / 511));
    animation.frameChanged(256);
    EXPECT_EQ(animation.currentTime(), int(2 * qint64(INT_MAX) - 2 * qint64(INT_MAX) * 256 / 511));
    animation.frameChanged(511);
    EXPECT_EQ(animation.currentTime(), 0);
}

TEST(SyncPropertyAnimation, AnimationsOfOnePeriodShareOneTimeline)
{
    Animated first(1000);
    Animated second(1000);
    Animated other(700);
    first.animation.start();
    first.animation.start();
    QTimeLine* timeline = SyncPropertyAnimation::sharedTimeline(1000);
    ASSERT_NE(timeline, nullptr);
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(1000), 1);
    EXPECT_EQ(timeline->state(), QTimeLine::Running);
    EXPECT_EQ(timeline->loopCount(), 0);
    EXPECT_EQ(timeline->duration(), 1000);
    EXPECT_EQ(timeline->endFrame(), 511);

    // Started late, the second animation still shows what the first shows.
    timeline->setCurrentTime(300);
    second.animation.start();
    other.animation.start();
    EXPECT_EQ(SyncPropertyAnimation::sharedTimeline(1000), timeline);
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(1000), 2);
    EXPECT_NE(SyncPropertyAnimation::sharedTimeline(700), timeline);
    for (int time : {0, 450, 620, 999}) {
        timeline->setCurrentTime(time);
        EXPECT_EQ(second.level(), first.level()) << time;
        EXPECT_EQ(first.animation.currentTime(), second.animation.currentTime()) << time;
    }
    EXPECT_GT(first.level(), 0.0);
    EXPECT_TRUE(first.animation.isRunning());
    EXPECT_EQ(first.animation.state(), QAbstractAnimation::Paused);

    QPointer<QTimeLine> watched(timeline);
    second.animation.stop();
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(1000), 1);
    EXPECT_EQ(second.level(), -1.0);
    timeline->setCurrentTime(250);
    EXPECT_NE(first.level(), -1.0);
    EXPECT_EQ(second.level(), -1.0);

    first.animation.stop();
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(SyncPropertyAnimation::sharedTimeline(1000), nullptr);
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(1000), 0);
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(700), 1);
    other.animation.stop();
    EXPECT_EQ(SyncPropertyAnimation::sharedTimeline(700), nullptr);
}

TEST(SyncPropertyAnimation, DestroyedAnimationLeavesItsTimeline)
{
    Animated kept(1000);
    kept.animation.start();
    auto destroyed = std::make_unique<Animated>(1000);
    destroyed->animation.start();
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(1000), 2);

    destroyed.reset();
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(1000), 1);
    SyncPropertyAnimation::sharedTimeline(1000)->setCurrentTime(500);

    QPointer<QTimeLine> watched(SyncPropertyAnimation::sharedTimeline(1000));
    auto last = std::make_unique<SyncPropertyAnimation>();
    last->setPeriod(1000);
    last->start();
    kept.animation.stop();
    last.reset();
    EXPECT_TRUE(watched.isNull());
}

TEST(SyncPropertyAnimation, NewPeriodMovesARunningAnimation)
{
    Animated neighbour(400);
    Animated animated(400);
    neighbour.animation.start();
    animated.animation.start();
    animated.animation.setPeriod(800);
    EXPECT_TRUE(animated.animation.isRunning());
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(400), 1);
    EXPECT_EQ(SyncPropertyAnimation::sharedTimelineUseCount(800), 1);
    QTimeLine* timeline = SyncPropertyAnimation::sharedTimeline(800);
    timeline->setCurrentTime(200);
    EXPECT_EQ(animated.animation.currentTime(), 2 * 800 * timeline->currentFrame() / 511);
}

TEST(SyncPropertyAnimation, RestValueShowsWhileStopped)
{
    Animated animated(1000);
    // Changing the values, the period or the frame of a stopped animation leaves the rest value.
    animated.animation.setStartValue(0.5);
    animated.animation.setPeriod(900);
    animated.animation.frameChanged(100);
    EXPECT_EQ(animated.level(), -1.0);
    // Stopping a stopped animation writes nothing.
    animated.target.setProperty("level", 7.0);
    animated.animation.stop();
    EXPECT_EQ(animated.level(), 7.0);

    animated.animation.start();
    animated.animation.frameChanged(128);
    animated.animation.setRestValue(-2.0);
    EXPECT_NE(animated.level(), -2.0);
    animated.animation.stop();
    EXPECT_EQ(animated.level(), -2.0);
    animated.animation.setRestValue(-3.0);
    EXPECT_EQ(animated.level(), -3.0);
}

TEST(SyncPropertyAnimation, ShortPeriodStaysRunningAtItsPeak)
{
    for (int period : {300, 100, 1, 0}) {
        SCOPED_TRACE(period);
        Animated animated(period);
        animated.animation.start();
        for (int frame : {256, 257, 300})
            animated.animation.frameChanged(frame);
        EXPECT_TRUE(animated.animation.isRunning());
        animated.animation.stop();
        EXPECT_EQ(SyncPropertyAnimation::sharedTimeline(animated.animation.duration()), nullptr);
        EXPECT_EQ(animated.level(), -1.0);
    }
}

TEST(SyncPropertyAnimation, TargetMayGoFirst)
{
    auto target = std::make_unique<QObject>();
    SyncPropertyAnimation animation;
    animation.setTargetObject(target.get());
    animation.setPropertyName("level");
    animation.setStartValue(0.0);
    animation.setEndValue(1.0);
    animation.setPeriod(1000);
    animation.start();
    target.reset();
    SyncPropertyAnimation::sharedTimeline(1000)->setCurrentTime(100);
    animation.stop();
    EXPECT_EQ(animation.targetObject(), nullptr);
    EXPECT_EQ(SyncPropertyAnimation::sharedTimeline(1000), nullptr);
}
