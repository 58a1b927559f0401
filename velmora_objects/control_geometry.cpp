#include "velmora_objects/control_geometry.h"

#include "velmora_objects/control.h"

#include <QCoreApplication>
#include <algorithm>

namespace Velmora::ControlGeometry {

namespace {

bool edgeInRange(int edge)
{
    return edge >= -Limit && edge <= Limit;
}

// How far an extent from low to high may move within the range, bounded to it.
int limitedShift(int low, int high, qint64 shift)
{
    return int(std::clamp<qint64>(shift, qint64(-Limit) - low, qint64(Limit) - high));
}

} // namespace

bool inRange(const QRect& geometry)
{
    return edgeInRange(geometry.left()) && edgeInRange(geometry.top()) &&
           edgeInRange(geometry.right()) && edgeInRange(geometry.bottom()) &&
           geometry.right() >= geometry.left() - 1 && geometry.bottom() >= geometry.top() - 1;
}

QRect limited(const QRect& geometry)
{
    const int left = std::clamp(geometry.left(), -Limit, Limit);
    const int top = std::clamp(geometry.top(), -Limit, Limit);
    const int right = std::clamp(geometry.right(), left - 1, Limit);
    const int bottom = std::clamp(geometry.bottom(), top - 1, Limit);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QPoint limitedOffset(const QRect& bounds, qint64 dx, qint64 dy)
{
    const QRect start = limited(bounds);
    // An empty extent (right = left - 1) moves as its left edge does.
    const int right = std::max(start.right(), start.left());
    const int bottom = std::max(start.bottom(), start.top());
    return QPoint(limitedShift(start.left(), right, dx), limitedShift(start.top(), bottom, dy));
}

QRect moved(const QRect& geometry, const QPoint& offset)
{
    const QRect start = limited(geometry);
    return start.translated(limitedOffset(start, offset));
}

QRect resized(const QRect& geometry, qint64 width, qint64 height)
{
    const QRect start = limited(geometry);
    const qint64 right = qint64(start.left()) + std::clamp<qint64>(width, 0, 2 * Limit + 1) - 1;
    const qint64 bottom = qint64(start.top()) + std::clamp<qint64>(height, 0, 2 * Limit + 1) - 1;
    return QRect(start.topLeft(),
                 QPoint(int(std::min<qint64>(right, Limit)), int(std::min<qint64>(bottom, Limit))));
}

QString outOfRangeMessage(const Control& control, unsigned int controlId)
{
    const QString key = control.getName().isEmpty() ? QStringLiteral("control%1").arg(controlId)
                                                    : control.getName();
    return QCoreApplication::translate("Velmora",
                                       "Control \"%1\" lies outside the positions and sizes a "
                                       "control can have (every edge within ±%2, no negative "
                                       "size)")
        .arg(key)
        .arg(Limit);
}

} // namespace Velmora::ControlGeometry
