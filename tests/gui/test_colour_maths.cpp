#include "gui/colour_maths.h"

#include <QColor>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using Triple = std::tuple<unsigned, unsigned, unsigned>;

Triple rgb8ToHsv(unsigned r, unsigned g, unsigned b)
{
    uires16 h, s, v;
    ::rgb8ToHsv(r, g, b, &h, &s, &v);
    return {h, s, v};
}

Triple rgb16ToHsv(uires16 r, uires16 g, uires16 b)
{
    uires16 h, s, v;
    ::rgb16ToHsv(r, g, b, &h, &s, &v);
    return {h, s, v};
}

Triple hsvToRgb8(std::uint16_t h, uires16 s, uires16 v)
{
    unsigned r, g, b;
    ::hsvToRgb8(h, s, v, &r, &g, &b);
    return {r, g, b};
}

Triple hsvToRgb16(std::uint16_t h, uires16 s, uires16 v)
{
    uires16 r, g, b;
    ::hsvToRgb16(h, s, v, &r, &g, &b);
    return {r, g, b};
}

constexpr unsigned one = 65536;

} // namespace

TEST(ColourMaths, Rgb8ToHsv)
{
    const struct
    {
        Triple rgb, hsv;
    } cases[] = {
        {{255, 0, 0}, {one, one, one}}, // pure red is a full turn, not 0
        {{255, 255, 0}, {10922, one, one}},
        {{0, 255, 0}, {21845, one, one}},
        {{0, 255, 255}, {32768, one, one}},
        {{0, 0, 255}, {43690, one, one}},
        {{255, 0, 255}, {54613, one, one}},
        {{255, 128, 0}, {5482, one, one}},
        {{255, 1, 0}, {43, one, one}},
        {{255, 0, 1}, {65493, one, one}},
        {{0, 0, 0}, {0, 0, 0}},
        {{128, 128, 128}, {0, 0, 32896}},
        {{255, 255, 255}, {0, 0, one}},
        {{300, 0, 0}, {one, one, one}},
    };
    for (const auto& c : cases) {
        const auto [r, g, b] = c.rgb;
        EXPECT_EQ(rgb8ToHsv(r, g, b), c.hsv) << r << "," << g << "," << b;
    }
}

TEST(ColourMaths, HsvToRgb8)
{
    const struct
    {
        std::uint16_t h;
        uires16 s, v;
        Triple rgb;
    } cases[] = {
        {0, one, one, {255, 0, 0}},
        {10922, one, one, {255, 254, 0}},
        {21845, one, one, {1, 255, 0}},
        {32768, one, one, {0, 255, 255}},
        {65535, one, one, {255, 0, 1}},
        {0, 32768, one, {255, 128, 128}},
        {0, one, 32768, {127, 0, 0}},
        {0, 0, one, {255, 255, 255}},
        {std::uint16_t(one), one, one, {255, 0, 0}}, // a full turn arrives as 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(hsvToRgb8(c.h, c.s, c.v), c.rgb) << c.h << "," << c.s << "," << c.v;
}

TEST(ColourMaths, FixedPointForms)
{
    EXPECT_EQ(rgb16ToHsv(one, 0, 0), Triple(one, one, one));
    EXPECT_EQ(rgb16ToHsv(one, one, 0), Triple(10922, one, one));
    EXPECT_EQ(rgb16ToHsv(one, 32768, 0), Triple(5461, one, one));
    EXPECT_EQ(rgb16ToHsv(70000, 0, 0), Triple(one, one, one));
    EXPECT_EQ(rgb16ToHsv(32768, 32768, 32768), Triple(0, 0, 32768));
    EXPECT_EQ(rgb16ToHsv(0, 0, 0), Triple(0, 0, 0));

    EXPECT_EQ(hsvToRgb16(0, one, one), Triple(one, 0, 0));
    EXPECT_EQ(hsvToRgb16(32768, one, one), Triple(0, one, one));
    EXPECT_EQ(hsvToRgb16(0, 32768, one), Triple(one, 32768, 32768));
    EXPECT_EQ(hsvToRgb16(0, one, 32768), Triple(32768, 0, 0));
}

TEST(ColourMaths, FloatForms)
{
    float h, s, v;
    rgbToHsv(1, 0, 0, &h, &s, &v);
    EXPECT_EQ(std::make_tuple(h, s, v), std::make_tuple(1.0f, 1.0f, 1.0f));
    rgbToHsv(2, 0.5f, 0, &h, &s, &v); // read as (1, 0.5, 0)
    EXPECT_FLOAT_EQ(h, 1.0f / 12);
    EXPECT_EQ(std::make_tuple(s, v), std::make_tuple(1.0f, 1.0f));
    rgbToHsv(0.5f, 0.5f, 0.5f, &h, &s, &v);
    EXPECT_EQ(std::make_tuple(h, s, v), std::make_tuple(0.0f, 0.0f, 0.5f));
    rgbToHsv(0, 0, 0, &h, &s, &v);
    EXPECT_EQ(std::make_tuple(h, s, v), std::make_tuple(0.0f, 0.0f, 0.0f));

    const struct
    {
        float h, s, v, r, g, b;
    } cases[] = {
        {-0.25f, 1, 1, 0.5f, 0, 1}, // wraps to 0.75, the fourth sextant
        {0.5f, 0.5f, 0.8f, 0.4f, 0.8f, 0.8f},
        {-1e-9f, 1, 1, 1, 0, 0}, // rounds up to a full turn: red
        {1.0f, 1, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        float r, g, b;
        hsvToRgb(c.h, c.s, c.v, &r, &g, &b);
        EXPECT_FLOAT_EQ(r, c.r) << c.h;
        EXPECT_FLOAT_EQ(g, c.g) << c.h;
        EXPECT_FLOAT_EQ(b, c.b) << c.h;
    }
}
