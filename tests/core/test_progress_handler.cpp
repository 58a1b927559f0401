#include "core/progress_handler.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

// Records every callback in order: "<done>" for progress (the total is checked to be 10000) or
// "t <title>|<message>" for texts.
struct Recorded : ProgressHandler
{
    explicit Recorded(Events& events, bool withProgress = true)
    {
        progressCallback = withProgress ? record : nullptr;
        textCallback = recordTexts;
        user = &events;
    }
    static void record(unsigned done, unsigned total, void* user)
    {
        EXPECT_EQ(total, 10000u);
        static_cast<Events*>(user)->push_back(std::to_string(done));
    }
    static void recordTexts(const QString* title, const QString* message, void* user)
    {
        static_cast<Events*>(user)->push_back("t " + title->toStdString() + "|" +
                                              message->toStdString());
    }
};

} // namespace

TEST(ProgressHandler, SingleRange)
{
    Events events;
    Recorded handler(events);
    handler.beginRange(5);
    EXPECT_EQ(events, Events({"0", "t |"}));
    events.clear();
    handler.setPosition(5); // not below the size
    handler.setPosition(0);
    handler.setPosition(7);
    EXPECT_TRUE(events.empty());
    handler.setPosition(4);
    handler.endRange();
    EXPECT_EQ(events, Events({"8000", "10000"}));
    EXPECT_TRUE(handler.ranges.empty());
}

TEST(ProgressHandler, NestedRangesFoldIntoOneValue)
{
    Events events;
    Recorded handler(events);
    handler.beginRange(5);
    handler.setPosition(4);
    handler.beginRange(1000000); // byte counts of megabytes fold without overflow
    handler.setPosition(500000);
    handler.endRange(); // 10000 with two ranges open: silent
    handler.beginRange(10);
    handler.setPosition(9);
    handler.endRange();
    handler.endRange(); // 10000 with one range open
    EXPECT_EQ(events,
              Events({"0", "t |", "8000", "8000", "t |", "9000", "8000", "t |", "9800", "10000"}));

    // An inner range opening at 0, a level whose scale is spent, and an empty range.
    events.clear();
    handler.beginRange(100000);
    handler.beginRange(3); // 0 with two ranges open: silent
    handler.endRange();    // 0 + 0: 10000 / 100000 leaves nothing for inner levels
    handler.setPosition(50000);
    handler.beginRange(2);
    handler.setPosition(1);
    handler.beginRange(0); // an empty range counts as one step
    handler.endRange();
    EXPECT_EQ(events,
              Events({"0", "t |", "t |", "5000", "5000", "t |", "5000", "5000", "t |", "5000"}));
    EXPECT_EQ(handler.ranges.size(), 2u);
}

TEST(ProgressHandler, DestructorCompletesOpenRangesOnce)
{
    Events events;
    {
        Recorded handler(events);
        handler.beginRange(5);
        handler.beginRange(3);
        events.clear();
    }
    EXPECT_EQ(events, Events({"10000"}));
    events.clear();
    {
        Recorded handler(events);
        handler.beginRange(5);
        handler.endRange();
        events.clear();
    }
    EXPECT_TRUE(events.empty());
}

TEST(ProgressHandler, WithoutProgressCallbackOnlyTextsAreSent)
{
    Events events;
    Recorded handler(events, false);
    handler.beginRange(5);
    handler.setPosition(2);
    handler.endRange();
    EXPECT_TRUE(handler.ranges.empty());
    EXPECT_TRUE(events.empty());
    handler.setTitle("Theme Editor");
    handler.setMessage("Packaging theme...");
    EXPECT_EQ(events, Events({"t Theme Editor|", "t Theme Editor|Packaging theme..."}));
}
