#pragma once

#include <cstdint>

// Unsigned fixed point with 16 fraction bits: 1.0 is 65536. Saturation, value and fixed-point
// RGB components lie in 0..65536; a hue is a fraction of a full turn (0 red, 1/6 yellow,
// 2/6 green, 3/6 cyan, 4/6 blue, 5/6 magenta, 65536 red again).
using uires16 = std::uint32_t;

// Conversions between RGB and HSV in three numeric forms. Every RGB-to-HSV form finds the hue by
// the same sextant rule, so a hue names the same place on the colour circle in all of them; a
// pure red whose blue is not below its green comes out as a full turn (65536 or 1.0), not 0.
// The fixed-point HSV-to-RGB forms take the hue as a 16-bit fraction, so a full turn reads as 0.

// 8-bit components (clamped to 255) to fixed-point hue, saturation and value.
void rgb8ToHsv(unsigned int red, unsigned int green, unsigned int blue, uires16* hue,
               uires16* saturation, uires16* value);
void hsvToRgb8(std::uint16_t hue, uires16 saturation, uires16 value, unsigned int* red,
               unsigned int* green, unsigned int* blue);
void hsvToRgb16(std::uint16_t hue, uires16 saturation, uires16 value, uires16* red, uires16* green,
                uires16* blue);
// Fixed-point components (clamped to 65536) to fixed-point hue, saturation and value.
void rgb16ToHsv(uires16 red, uires16 green, uires16 blue, uires16* hue, uires16* saturation,
                uires16* value);
// Components above 1.0 count as 1.0; the hue of hsvToRgb wraps into 0..1.
void rgbToHsv(float red, float green, float blue, float* hue, float* saturation, float* value);
void hsvToRgb(float hue, float saturation, float value, float* red, float* green, float* blue);
