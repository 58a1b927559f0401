#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>

namespace VelmoraQML {

// Geometry of the hue/saturation wheel of a colour picker: a disc of radius min(w, h) / 2
// centred in the wheel area, hue 0 straight up from the centre and growing clockwise,
// saturation growing with the squared distance from the centre to 1 at the rim.
namespace ColourWheel {

bool contains(const QSize& wheel, const QPoint& point);
// The point itself when inside, otherwise the point of the rim in the same direction.
QPoint nearestPoint(const QSize& wheel, const QPoint& point);
// The colour (HSV, value and alpha 1) picked at a point; beyond the rim saturation is 1.
QColor colourAt(const QSize& wheel, const QPoint& point);
// Where a colour's hue and saturation lie on the wheel.
QPoint pointOf(const QSize& wheel, const QColor& colour);

} // namespace ColourWheel
} // namespace VelmoraQML
