#include "appengine/control_gestures.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QtMath>

QRect ControlGestures::geometryOf(const QQuickItem* item)
{
    return QRect(qRound(item->x()), qRound(item->y()), qRound(item->width()),
                 qRound(item->height()));
}

void ControlGestures::setGeometry(QQuickItem* item, const QRect& geometry)
{
    QQmlProperty::write(item, QStringLiteral("x"), geometry.x());
    QQmlProperty::write(item, QStringLiteral("y"), geometry.y());
    QQmlProperty::write(item, QStringLiteral("width"), geometry.width());
    QQmlProperty::write(item, QStringLiteral("height"), geometry.height());
}

QTransform ControlGestures::resizeTransform(const QRect& start, int handle, const QPoint& offset)
{
    // Per handle, the side that moves along each axis: -1 the near one (left or top), +1 the
    // far one, 0 none.
    static const int sides[9][2] = {{0, 0},  {-1, -1}, {1, -1}, {-1, 1}, {1, 1},
                                    {0, -1}, {-1, 0},  {0, 1},  {1, 0}};
    const int* side = sides[handle >= 1 && handle <= 8 ? handle : 0];
    // The factor of an extent whose side moves by delta; an empty extent cannot scale.
    const auto factor = [](int moving, double extent, double delta) {
        return moving == 0 || extent == 0 ? 1.0 : (extent + moving * delta) / extent;
    };
    const double sx = factor(side[0], start.width(), offset.x());
    const double sy = factor(side[1], start.height(), offset.y());
    const double tx = side[0] < 0 ? offset.x() : 0;
    const double ty = side[1] < 0 ? offset.y() : 0;
    const double x1 = start.left();
    const double y1 = start.top();
    return QTransform(sx, 0, 0, sy, x1 - sx * x1 + tx, y1 - sy * y1 + ty);
}

void ControlGestures::beginMove(const std::set<unsigned int>& controlIds)
{
    m_dragStartPositions.clear();
    for (unsigned int controlId : controlIds)
        if (QQuickItem* item = m_item(controlId))
            m_dragStartPositions[controlId] =
                QPoint(qFloor(item->x() + 0.5), qFloor(item->y() + 0.5));
}

void ControlGestures::move(const QPoint& offset)
{
    for (const auto& [controlId, start] : m_dragStartPositions)
        if (QQuickItem* item = m_item(controlId)) {
            const QPoint position = start + offset;
            QQmlProperty::write(item, QStringLiteral("x"), position.x());
            QQmlProperty::write(item, QStringLiteral("y"), position.y());
        }
}

void ControlGestures::beginResize(const std::set<unsigned int>& controlIds, int handle)
{
    m_resizeHandle = handle;
    m_resizeItems.clear();
    m_resizeStartRect = QRect();
    for (unsigned int controlId : controlIds)
        if (QQuickItem* item = m_item(controlId)) {
            const QRect geometry = geometryOf(item);
            m_resizeItems[controlId] = geometry;
            m_resizeStartRect |= geometry;
        }
}

void ControlGestures::resize(const QPoint& offset)
{
    const QTransform transform = resizeTransform(m_resizeStartRect, m_resizeHandle, offset);
    for (const auto& [controlId, start] : m_resizeItems)
        if (QQuickItem* item = m_item(controlId))
            setGeometry(item, transform.mapRect(start));
}

std::map<unsigned int, QRect> ControlGestures::endResize()
{
    std::map<unsigned int, QRect> changed;
    for (const auto& [controlId, start] : m_resizeItems)
        if (QQuickItem* item = m_item(controlId)) {
            const QRect geometry = geometryOf(item);
            if (geometry != start)
                changed[controlId] = geometry;
        }
    m_resizeItems.clear();
    m_resizeHandle = 0;
    m_resizeStartRect = QRect();
    return changed;
}

void ControlGestures::clear()
{
    m_dragStartPositions.clear();
    m_resizeItems.clear();
    m_resizeHandle = 0;
    m_resizeStartRect = QRect();
}
