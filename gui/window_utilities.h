#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

class QObject;
class QWidget;

// Moves a window rectangle that meets none of the desktop's screens (their available geometry,
// without task bars and menus) so that its centre is the centre of the primary screen; a
// rectangle that meets one stays where it is.
void ensureOnScreen(QRect& rect);
// The same over given available geometries, `defaultScreen` indexing the one to centre on.
void ensureOnScreen(QRect& rect, const QList<QRect>& availableGeometries, int defaultScreen);

// Fits a rectangle into the available geometry of the screen showing `widget` (the primary
// screen for null): wider or taller rectangles are cut to the screen's width or height, keeping
// their left or top edge, then the rectangle is centred on the screen.
void centreOnScreen(QRect& rect, QWidget* widget);
void centreOnScreen(QRect& rect, const QRect& availableGeometry);

// blockSignals(block) on the object and on all its descendants; nothing for null.
void blockSignalsRecursively(QObject* object, bool block);

// Clock text of a duration, "hh:mm:ss" with leading zeros; `compact` drops zero hours and
// minutes and the leading zero of the first number written. `decimals` 1 to 3 appends that many
// digits of the milliseconds, cut, not rounded.
QString formatMilliseconds(unsigned int ms, int decimals, bool compact);

// Moves the mouse pointer to a global position. Widgets that pull the pointer back (the hue
// wheel keeps it on its rim) go through here, so that tests can watch the moves.
using CursorMover = std::function<void(const QPoint&)>;
void moveCursor(const QPoint& globalPosition);
// Replaces the pointer mover; an empty function restores QCursor::setPos. Returns the previous.
CursorMover setCursorMover(CursorMover mover);
