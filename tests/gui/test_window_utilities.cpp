#include "gui/window_utilities.h"

#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

TEST(WindowUtilities, FormatMilliseconds)
{
    const unsigned int longTime = 3600000 + 2 * 60000 + 3456;
    const struct
    {
        unsigned int ms;
        int decimals;
        bool compact;
        const char* text;
    } cases[] = {
        {longTime, 2, false, "01:02:03.45"},
        {longTime, 2, true, "1:02:03.45"},
        {65000, 0, true, "1:05"},
        {65000, 0, false, "00:01:05"},
        {5000, 1, true, "5.0"},
        {5007, 3, true, "5.007"},
        {36000000, 0, false, "10:00:00"},
        {5999, 4, true, "5"}, // 4 decimals: none
        {0, 0, false, "00:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatMilliseconds(c.ms, c.decimals, c.compact), QLatin1String(c.text))
            << c.ms << " " << c.decimals << " " << c.compact;
}

TEST(WindowUtilities, EnsureOnScreenKeepsVisibleRectanglesAndCentresLostOnes)
{
    const QList<QRect> screens{QRect(0, 0, 800, 600), QRect(800, 0, 1000, 700)};
    const struct
    {
        QRect rect;
        int defaultScreen;
        QRect expected;
    } cases[] = {
        {QRect(900, 100, 200, 100), 0, QRect(900, 100, 200, 100)}, // wholly on the second
        {QRect(790, 590, 50, 50), 0, QRect(790, 590, 50, 50)},     // a corner on the first
        {QRect(3000, 3000, 200, 100), 0, QRect(300, 250, 200, 100)},
        {QRect(-500, 0, 200, 100), 1, QRect(1200, 300, 200, 100)},
    };
    for (const auto& c : cases) {
        QRect rect = c.rect;
        ensureOnScreen(rect, screens, c.defaultScreen);
        EXPECT_EQ(rect, c.expected) << c.rect.x() << "," << c.rect.y();
    }
}

TEST(WindowUtilities, CentreOnScreenFitsAndCentres)
{
    const QRect screen(100, 50, 800, 600);
    QRect large(0, 0, 2000, 1000);
    centreOnScreen(large, screen);
    EXPECT_EQ(large, screen);
    QRect small(0, 0, 200, 100);
    centreOnScreen(small, screen);
    EXPECT_EQ(small, QRect(400, 300, 200, 100));
    QRect wide(10, 20, 1000, 100);
    centreOnScreen(wide, screen);
    EXPECT_EQ(wide, QRect(100, 300, 800, 100));
}

TEST(WindowUtilities, BlockSignalsRecursivelyReachesGrandchildren)
{
    QWidget root;
    auto* child = new QWidget(&root);
    auto* grandchild = new QObject(child);
    QSignalSpy spy(grandchild, &QObject::objectNameChanged);
    blockSignalsRecursively(&root, true);
    EXPECT_TRUE(root.signalsBlocked() && child->signalsBlocked());
    grandchild->setObjectName("quiet");
    EXPECT_EQ(spy.count(), 0);
    blockSignalsRecursively(&root, false);
    grandchild->setObjectName("heard");
    EXPECT_EQ(spy.count(), 1);
}
