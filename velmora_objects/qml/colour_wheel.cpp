#include "velmora_objects/qml/colour_wheel.h"

#include <algorithm>
#include <cmath>

namespace VelmoraQML {
namespace ColourWheel {

namespace {

// The geometry is computed in single precision.
struct Polar
{
    float radius;
    float cx, cy;
    float dx, dy;
    float distanceSquared;
};

Polar polar(const QSize& wheel, const QPoint& point)
{
    Polar p;
    const float w = float(wheel.width());
    const float h = float(wheel.height());
    p.radius = std::min(w, h) * 0.5f;
    p.cx = w * 0.5f;
    p.cy = h * 0.5f;
    p.dx = float(point.x()) - p.cx;
    p.dy = float(point.y()) - p.cy;
    p.distanceSquared = p.dx * p.dx + p.dy * p.dy;
    return p;
}

int roundHalfUp(float value)
{
    return int(std::floor(value + 0.5f));
}

} // namespace

bool contains(const QSize& wheel, const QPoint& point)
{
    const Polar p = polar(wheel, point);
    return p.distanceSquared <= p.radius * p.radius;
}

QPoint nearestPoint(const QSize& wheel, const QPoint& point)
{
    const Polar p = polar(wheel, point);
    if (p.distanceSquared <= p.radius * p.radius)
        return point;
    const float distance = std::sqrt(p.distanceSquared);
    return QPoint(roundHalfUp(p.cx + p.dx * p.radius / distance),
                  roundHalfUp(p.cy + p.dy * p.radius / distance));
}

QColor colourAt(const QSize& wheel, const QPoint& point)
{
    const Polar p = polar(wheel, point);
    const float twoPi = 6.2831854f;
    float angle;
    if (p.dy == 0.0f)
        angle = p.dx >= 0.0f ? twoPi / 4.0f : 3.0f * twoPi / 4.0f;
    else
        angle = std::atan2(p.dx, -p.dy);
    while (angle < 0.0f)
        angle += twoPi;
    float hue = angle / twoPi;
    if (hue >= 1.0f)
        hue = 0.0f;
    // A wheel without area counts every point as on its rim.
    const float radiusSquared = p.radius * p.radius;
    const float saturation =
        p.distanceSquared >= radiusSquared ? 1.0f : p.distanceSquared / radiusSquared;
    return QColor::fromHsvF(hue, saturation, 1.0f, 1.0f);
}

QPoint pointOf(const QSize& wheel, const QColor& colour)
{
    const double w = wheel.width();
    const double h = wheel.height();
    const double radius = std::min(w, h) * 0.5;
    const double r = colour.hsvSaturation() * radius / 255.0;
    const double angle = (2.0 * colour.hsvHue() - 180.0) * M_PI / 360.0;
    return QPoint(int(std::cos(angle) * r + w * 0.5), int(std::sin(angle) * r + h * 0.5));
}

} // namespace ColourWheel
} // namespace VelmoraQML
