#include "velmora_objects/qml/colour_wheel.h"

#include <gtest/gtest.h>

using namespace VelmoraQML;

namespace {
const QSize wheel(200, 100); // radius 50, centre (100, 50)
}

TEST(ColourWheel, HueGrowsClockwiseFromTheTop)
{
    struct Case
    {
        QPoint point;
        double hue;
    };
    const Case cases[] = {
        {{100, 20}, 0.0},   // straight up
        {{130, 50}, 0.25},  // right of the centre
        {{100, 80}, 0.5},   // straight below
        {{70, 50}, 0.75},   // left of the centre
        {{120, 30}, 0.125}, // upper right
    };
    for (const Case& c : cases) {
        const QColor colour = ColourWheel::colourAt(wheel, c.point);
        EXPECT_NEAR(colour.hsvHueF(), c.hue, 1e-4) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(colour.valueF(), 1.0f);
        EXPECT_EQ(colour.alphaF(), 1.0f);
    }
}

TEST(ColourWheel, SaturationIsTheSquaredDistanceRatio)
{
    EXPECT_EQ(ColourWheel::colourAt(wheel, {100, 50}).hsvSaturationF(), 0.0f); // centre
    EXPECT_NEAR(ColourWheel::colourAt(wheel, {125, 50}).hsvSaturationF(), 0.25, 1e-4);
    EXPECT_EQ(ColourWheel::colourAt(wheel, {150, 50}).hsvSaturationF(), 1.0f); // rim
    EXPECT_EQ(ColourWheel::colourAt(wheel, {190, 90}).hsvSaturationF(), 1.0f); // outside
    // A wheel without area gives a valid colour rather than a division by zero.
    EXPECT_TRUE(ColourWheel::colourAt(QSize(0, 0), {3, 4}).isValid());
}

TEST(ColourWheel, ContainsAndNearestPoint)
{
    EXPECT_TRUE(ColourWheel::contains(wheel, {100, 50}));
    EXPECT_TRUE(ColourWheel::contains(wheel, {150, 50}));
    EXPECT_FALSE(ColourWheel::contains(wheel, {151, 50}));
    EXPECT_FALSE(ColourWheel::contains(wheel, {141, 20}));

    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {120, 60}), QPoint(120, 60));
    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {190, 50}), QPoint(150, 50));
    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {100, -40}), QPoint(100, 0));
    // (100 + 100 × 50/√20000, 50 + 100 × 50/√20000) = (135.36, 85.36)
    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {200, 150}), QPoint(135, 85));
    // Halves round upwards: an 11 × 6 wheel has its centre at (5.5, 3) and radius 3.
    EXPECT_EQ(ColourWheel::nearestPoint(QSize(11, 6), {100, 3}), QPoint(9, 3));
    EXPECT_EQ(ColourWheel::nearestPoint(QSize(11, 6), {-100, 3}), QPoint(3, 3));
}

TEST(ColourWheel, PointOfAColour)
{
    EXPECT_EQ(ColourWheel::pointOf(wheel, QColor(255, 0, 0)), QPoint(100, 0));     // up, rim
    EXPECT_EQ(ColourWheel::pointOf(wheel, Qt::white), QPoint(100, 50));            // centre
    EXPECT_EQ(ColourWheel::pointOf(wheel, QColor(0, 255, 255)), QPoint(100, 100)); // down
    // Green (hue 120) lies to the lower right: angle 30° below the horizontal.
    EXPECT_EQ(ColourWheel::pointOf(wheel, QColor(0, 255, 0)), QPoint(143, 75));
    // The point lies at the picked colour's hue (its distance follows the saturation).
    const QPoint back = ColourWheel::pointOf(wheel, ColourWheel::colourAt(wheel, {150, 0}));
    EXPECT_EQ(back, QPoint(135, 14)); // (135.36, 14.64) truncated
}
