#include "core/progress_handler.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Every callback in order: "p <done>/<total>" or "t <title>|<message>".
struct Recorder
{
    std::vector<std::string> events;
};

void recordProgress(unsigned done, unsigned total, void* user)
{
    static_cast<Recorder*>(user)->events.push_back("p " + std::to_string(done) + "/" +
                                                   std::to_string(total));
}

void recordTexts(const QString* title, const QString* message, void* user)
{
    static_cast<Recorder*>(user)->events.push_back("t " + title->toStdString() + "|" +
                                                   message->toStdString());
}

void attach(ProgressHandler& handler, Recorder& recorder, bool withProgress = true)
{
    handler.progressCallback = withProgress ? recordProgress : nullptr;
    handler.textCallback = recordTexts;
    handler.user = &recorder;
}

using Events = std::vector<std::string>;

} // namespace

TEST(ProgressHandler, BeginRangeReportsZeroThenTexts)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder);
    handler.beginRange(5);
    EXPECT_EQ(recorder.events, Events({"p 0/10000", "t |"}));
    handler.endRange();
}

TEST(ProgressHandler, PositionsAtOrAboveTheSizeAndZeroAreIgnored)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder);
    handler.beginRange(5);
    recorder.events.clear();
    handler.setPosition(5);
    handler.setPosition(0);
    handler.setPosition(7);
    EXPECT_TRUE(recorder.events.empty());
    handler.setPosition(4);
    EXPECT_EQ(recorder.events, Events({"p 8000/10000"}));
    handler.endRange();
}

TEST(ProgressHandler, NestedRangesFoldIntoOneValue)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder);
    handler.beginRange(5);
    handler.setPosition(4);
    // Byte counts of many megabytes fold without overflow.
    handler.beginRange(1000000);
    recorder.events.clear();
    handler.setPosition(500000);
    EXPECT_EQ(recorder.events, Events({"p 9000/10000"}));
    handler.endRange();
    handler.endRange();
}

TEST(ProgressHandler, ExtremesAreSilentWhileTwoRangesAreOpen)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder);
    handler.beginRange(5);
    handler.setPosition(4);
    recorder.events.clear();
    handler.beginRange(10); // 8000: reported
    handler.setPosition(9); // 8000 + 2000 * 9 / 10 = 9800
    handler.endRange();     // 10000 with two ranges open: silent
    handler.endRange();     // 10000 with one range open
    EXPECT_EQ(recorder.events, Events({"p 8000/10000", "t |", "p 9800/10000", "p 10000/10000"}));
    EXPECT_TRUE(handler.ranges.empty());

    // An inner range opening at an outer position of 0 folds to 0 and is silent too.
    recorder.events.clear();
    handler.beginRange(3);
    handler.beginRange(4);
    EXPECT_EQ(recorder.events, Events({"p 0/10000", "t |", "t |"}));
    handler.endRange();
    handler.endRange();
}

TEST(ProgressHandler, DeepLevelsWhoseScaleIsSpentAddNothing)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder);
    handler.beginRange(100000); // scale 10000 / 100000 = 0 below this level
    handler.setPosition(50000);
    handler.beginRange(2);
    recorder.events.clear();
    handler.setPosition(1);
    EXPECT_EQ(recorder.events, Events({"p 5000/10000"}));
    handler.endRange();
    handler.endRange();
}

TEST(ProgressHandler, EmptyRangeCountsAsOneStep)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder);
    handler.beginRange(4);
    handler.setPosition(1);
    handler.beginRange(0);
    recorder.events.clear();
    handler.endRange(); // 2500 + 2500 * 1 / 1
    EXPECT_EQ(recorder.events, Events({"p 5000/10000"}));
    EXPECT_EQ(handler.ranges.size(), 1u);
    handler.endRange();
}

TEST(ProgressHandler, DestructorCompletesOpenRangesOnce)
{
    Recorder recorder;
    {
        ProgressHandler handler;
        attach(handler, recorder);
        handler.beginRange(5);
        handler.beginRange(3);
        recorder.events.clear();
    }
    EXPECT_EQ(recorder.events, Events({"p 10000/10000"}));

    recorder.events.clear();
    {
        ProgressHandler handler;
        attach(handler, recorder);
        handler.beginRange(5);
        handler.endRange();
        recorder.events.clear();
    }
    EXPECT_TRUE(recorder.events.empty());
}

TEST(ProgressHandler, WithoutProgressCallbackOnlyTextsAreSent)
{
    Recorder recorder;
    ProgressHandler handler;
    attach(handler, recorder, false);
    handler.beginRange(5);
    handler.setPosition(2);
    handler.endRange();
    EXPECT_TRUE(handler.ranges.empty());
    EXPECT_TRUE(recorder.events.empty());
    handler.setTitle("Theme Editor");
    handler.setMessage("Packaging theme...");
    EXPECT_EQ(recorder.events, Events({"t Theme Editor|", "t Theme Editor|Packaging theme..."}));
}
