#include "gui/colour_maths.h"

#include <algorithm>
#include <cmath>

namespace {

// Six times the hue from the complements of the components scaled so that the largest is full
// scale: `ratio(c)` is c / D in the caller's number form and `one` its unit. D, the largest
// complement, is not 0.
template <typename T, typename Ratio> T sixTimesHue(T cRed, T cGreen, T cBlue, T one, Ratio ratio)
{
    if (cRed < cGreen && cRed < cBlue)
        return cGreen < cBlue ? one - ratio(cGreen) : 5 * one + ratio(cBlue);
    if (cGreen < cBlue)
        return cRed < cBlue ? one + ratio(cRed) : 3 * one - ratio(cBlue);
    return cRed < cGreen ? 5 * one - ratio(cRed) : 3 * one + ratio(cGreen);
}

// The pure colour of a sextant of the colour circle, `f` being the fraction through it in the
// caller's number form and `one` its unit.
template <typename T> void sextantColour(int sextant, T f, T one, T* red, T* green, T* blue)
{
    switch (sextant) {
    case 0:
        *red = one, *green = f, *blue = 0;
        break;
    case 1:
        *red = one - f, *green = one, *blue = 0;
        break;
    case 2:
        *red = 0, *green = one, *blue = f;
        break;
    case 3:
        *red = 0, *green = one - f, *blue = one;
        break;
    case 4:
        *red = f, *green = 0, *blue = one;
        break;
    default:
        *red = one, *green = 0, *blue = one - f;
        break;
    }
}

} // namespace

void rgb8ToHsv(unsigned int red, unsigned int green, unsigned int blue, uires16* hue,
               uires16* saturation, uires16* value)
{
    red = std::min(red, 255u);
    green = std::min(green, 255u);
    blue = std::min(blue, 255u);
    const unsigned int largest = std::max({red, green, blue});
    *value = largest * 65536u / 255u;
    if (largest == 0) {
        *hue = 0;
        *saturation = 0;
        return;
    }
    // Scaling by the value brings the largest component to 255, so its complement is 0.
    const uires16 v = *value;
    const unsigned int cRed = 255u - red * 65536u / v;
    const unsigned int cGreen = 255u - green * 65536u / v;
    const unsigned int cBlue = 255u - blue * 65536u / v;
    const unsigned int d = std::max({cRed, cGreen, cBlue});
    *saturation = d * 65536u / 255u;
    if (d == 0) {
        *hue = 0;
        return;
    }
    *hue = sixTimesHue<unsigned int>(cRed, cGreen, cBlue, 65536u,
                                     [d](unsigned int c) { return c * 65536u / d; }) /
           6u;
}

void rgb16ToHsv(uires16 red, uires16 green, uires16 blue, uires16* hue, uires16* saturation,
                uires16* value)
{
    const std::int64_t r = std::min<uires16>(red, 65536u);
    const std::int64_t g = std::min<uires16>(green, 65536u);
    const std::int64_t b = std::min<uires16>(blue, 65536u);
    const std::int64_t v = std::max({r, g, b});
    *value = uires16(v);
    if (v == 0) {
        *hue = 0;
        *saturation = 0;
        return;
    }
    const std::int64_t cRed = 65536 - r * 65536 / v;
    const std::int64_t cGreen = 65536 - g * 65536 / v;
    const std::int64_t cBlue = 65536 - b * 65536 / v;
    const std::int64_t d = std::max({cRed, cGreen, cBlue});
    *saturation = uires16(d);
    if (d == 0) {
        *hue = 0;
        return;
    }
    const std::int64_t six = sixTimesHue<std::int64_t>(
        cRed, cGreen, cBlue, 65536, [d](std::int64_t c) { return c * 65536 / d; });
    *hue = uires16(six * 65536 / 393216);
}

void rgbToHsv(float red, float green, float blue, float* hue, float* saturation, float* value)
{
    red = std::min(red, 1.0f);
    green = std::min(green, 1.0f);
    blue = std::min(blue, 1.0f);
    const float v = std::max({red, green, blue});
    *value = v;
    if (v == 0.0f) {
        *hue = 0.0f;
        *saturation = 0.0f;
        return;
    }
    const float cRed = 1.0f - red / v, cGreen = 1.0f - green / v, cBlue = 1.0f - blue / v;
    const float d = std::max({cRed, cGreen, cBlue});
    *saturation = d;
    if (d == 0.0f) {
        *hue = 0.0f;
        return;
    }
    *hue = sixTimesHue<float>(cRed, cGreen, cBlue, 1.0f, [d](float c) { return c / d; }) / 6.0f;
}

void hsvToRgb8(std::uint16_t hue, uires16 saturation, uires16 value, unsigned int* red,
               unsigned int* green, unsigned int* blue)
{
    const std::uint32_t x = std::uint32_t(hue) * 6u;
    const unsigned int f8 = ((x & 0xffffu) * 255u) >> 16;
    unsigned int channels[3];
    sextantColour<unsigned int>(int(x >> 16), f8, 255u, &channels[0], &channels[1], &channels[2]);
    for (unsigned int& c : channels)
        c = ((255u - (((255u - c) * saturation) >> 16)) * value) >> 16;
    *red = channels[0];
    *green = channels[1];
    *blue = channels[2];
}

void hsvToRgb16(std::uint16_t hue, uires16 saturation, uires16 value, uires16* red, uires16* green,
                uires16* blue)
{
    const std::uint32_t x = std::uint32_t(hue) * 6u;
    std::uint64_t channels[3];
    sextantColour<std::uint64_t>(int(x >> 16), x & 0xffffu, 65536u, &channels[0], &channels[1],
                                 &channels[2]);
    for (std::uint64_t& c : channels)
        c = ((65536u - (((65536u - c) * saturation) >> 16)) * value) >> 16;
    *red = uires16(channels[0]);
    *green = uires16(channels[1]);
    *blue = uires16(channels[2]);
}

void hsvToRgb(float hue, float saturation, float value, float* red, float* green, float* blue)
{
    const float x = (hue - std::floor(hue)) * 6.0f;
    float k = std::floor(x);
    float f = x - k;
    // A hue just below a whole number can round up to a full turn: that is red again.
    if (!(k >= 0.0f && k < 6.0f)) {
        k = 0.0f;
        f = 0.0f;
    }
    float channels[3];
    sextantColour<float>(int(k), f, 1.0f, &channels[0], &channels[1], &channels[2]);
    for (float& c : channels)
        c = (1.0f - (1.0f - c) * saturation) * value;
    *red = channels[0];
    *green = channels[1];
    *blue = channels[2];
}
