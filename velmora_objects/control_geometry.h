#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>

namespace Velmora {

class Control;

// The one range of a control's rectangle (inclusive edges, in panel pixels): every edge within
// ±Limit and a width and height of at least 0 (right at least left - 1, bottom at least
// top - 1). No page (480 × 272) comes near its ends, yet it keeps controls parked off the page,
// and no sum or difference of two of its values overflows an int.
//
// Rectangles enter it where they come in: a file or the clipboard outside it is refused, and
// edits (moves, resizes, typed values) are limited to it.
namespace ControlGeometry {

constexpr int Limit = 32767;

bool inRange(const QRect& geometry);

// The rectangle with each edge brought into the range and a negative width or height made 0:
// the left and top edges stay where they can, the size gives way.
QRect limited(const QRect& geometry);

// The offset shortened, in each direction, so that the rectangle (in range) moved by it stays
// in range. Any int offset may be given: the arithmetic does not overflow.
QPoint limitedOffset(const QRect& bounds, qint64 dx, qint64 dy);
inline QPoint limitedOffset(const QRect& bounds, const QPoint& offset)
{
    return limitedOffset(bounds, offset.x(), offset.y());
}

// The rectangle moved by the offset as far as the range lets it.
QRect moved(const QRect& geometry, const QPoint& offset);
// The rectangle with its left and top edges kept and the size given, as far as the range lets
// it: a negative size becomes 0.
QRect resized(const QRect& geometry, qint64 width, qint64 height);

// Why a control read from a file or the clipboard is refused: names the control by its key,
// or by its default key when it has none.
QString outOfRangeMessage(const Control& control, unsigned int controlId);

} // namespace ControlGeometry

} // namespace Velmora
