#include "core/gradient.h"

#include "common/gradients.h"

#include <QVariant>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using TestUtil::makeGradient;

TEST(Gradient, NullAndExplicitlyEmpty)
{
    Gradient a, b;
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(a == b);
    Gradient empty;
    empty.setName(QString());
    empty.setStops({});
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty == a);
    EXPECT_FALSE(empty != a);
}

TEST(Gradient, StopsAreSortedByPositionThenColour)
{
    const Gradient g = makeGradient("g", {{1.0, Qt::white}, {0.0, Qt::black}});
    ASSERT_EQ(g.stops().size(), 2);
    EXPECT_EQ(g.stops()[0], qMakePair(0.0, QColor(Qt::black)));
    EXPECT_EQ(g.stops()[1], qMakePair(1.0, QColor(Qt::white)));

    QColor translucentWhite(255, 255, 255, 128);
    const Gradient h = makeGradient("h", {{0.5, QColor(255, 0, 0)}, {0.5, translucentWhite}});
    EXPECT_EQ(h.stops()[0].second, translucentWhite);
    EXPECT_EQ(h.stops()[1].second, QColor(255, 0, 0));
}

TEST(Gradient, NanPositionsSortLastWithoutBreakingTheOrder)
{
    GradientStops stops;
    for (int i = 0; i < 40; ++i)
        stops.append({i % 3 ? double(40 - i) / 40 : std::nan(""), QColor(i, i, i)});
    const Gradient g = makeGradient("n", stops);
    ASSERT_EQ(g.stops().size(), 40);
    EXPECT_FALSE(std::isnan(g.stops().first().first));
    EXPECT_TRUE(std::isnan(g.stops().last().first));
}

TEST(Gradient, StopsEqualInBothKeysKeepTheirOrder)
{
    // Zeros of either sign, and NaNs of different bits, compare equal: their order must not
    // change, or a stored gradient read back would be saved differently.
    auto bitsOf = [](const GradientStops& stops) {
        std::vector<quint64> bits;
        for (const auto& stop : stops)
            bits.push_back(qFromUnaligned<quint64>(&stop.first));
        return bits;
    };
    const double nans[] = {std::nan(""), std::nan("1"), -std::nan("2")};
    for (const auto& [what, pick] : {std::pair<const char*, std::function<double(int)>>{
                                         "zeros", [](int i) { return i % 3 ? 0.0 : -0.0; }},
                                     {"nans", [&](int i) { return nans[(i * 7) % 3]; }}}) {
        GradientStops stops;
        for (int i = 0; i < 40; ++i)
            stops.append({pick(i), QColor(Qt::red)});
        EXPECT_EQ(bitsOf(makeGradient("g", stops).stops()), bitsOf(stops)) << what;
    }
}

TEST(Gradient, StopEqualityToleranceAndZero)
{
    EXPECT_TRUE(gradientStopsEqual({{0.3, Qt::red}}, {{0.3 + 1e-13, Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.0, Qt::red}}, {{1e-300, Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.5, Qt::red}}, {{std::nan(""), Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.5, Qt::red}}, {{0.5, Qt::red}, {0.6, Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.5, QColor(1, 2, 3, 255)}}, {{0.5, QColor(1, 2, 3, 254)}}));
    EXPECT_NE(makeGradient("a", {{0.5, QColor(1, 2, 3, 255)}}),
              makeGradient("a", {{0.5, QColor(1, 2, 3, 10)}}));
    EXPECT_NE(makeGradient("a", {{0.5, Qt::red}}), makeGradient("b", {{0.5, Qt::red}}));
}

TEST(Gradient, CopyOnWrite)
{
    const Gradient original = makeGradient("one", {{0.0, Qt::red}});
    Gradient copy = original;
    EXPECT_TRUE(copy == original);
    copy.setName("two");
    EXPECT_EQ(original.name(), "one");
    EXPECT_EQ(copy.name(), "two");
    const Gradient& self = copy;
    copy = self; // self-assignment keeps the payload
    EXPECT_EQ(copy.name(), "two");
}

TEST(Gradient, TravelsInVariants)
{
    const Gradient g = makeGradient("v", {{0.25, Qt::blue}});
    const QVariant v = QVariant::fromValue(g);
    EXPECT_EQ(QString(v.metaType().name()), "Gradient");
    EXPECT_EQ(v.value<Gradient>(), g);
    EXPECT_TRUE(QVariant(QColor(Qt::red)).value<Gradient>().isNull());
}
