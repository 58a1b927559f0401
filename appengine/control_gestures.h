#pragma once

#include <QPoint>
#include <QRect>
#include <QTransform>
#include <functional>
#include <map>
#include <set>

class QQuickItem;

// The live feedback of the page view's drag and resize gestures on control items: the
// positions and geometries the controls had when the gesture began, and their items moved or
// reshaped from them as the pointer goes. The project is not touched; the page view issues a
// command when the gesture ends. Items are looked up by control id at every step, so that an
// item gone meanwhile is passed over. Geometry is read from and written to the items' "x",
// "y", "width" and "height".
class ControlGestures
{
public:
    // The grips of a selection frame: its corners and the middles of its edges.
    enum ResizeHandle
    {
        NoHandle = 0,
        TopLeft = 1,
        TopRight = 2,
        BottomLeft = 3,
        BottomRight = 4,
        Top = 5,
        Left = 6,
        Bottom = 7,
        Right = 8
    };

    // The live item of a control; null when it has none.
    using ItemLookup = std::function<QQuickItem*(unsigned int)>;

    explicit ControlGestures(ItemLookup item) : m_item(std::move(item)) {}

    static QRect geometryOf(const QQuickItem* item);
    static void setGeometry(QQuickItem* item, const QRect& geometry);
    // Handle: a ResizeHandle; any other number moves nothing. The handle's corner or edge of the
    // start rectangle moves by the offset, the opposite one stays: a scale about the rectangle's
    // top-left corner, then a translation. An extent of zero keeps its factor 1.
    static QTransform resizeTransform(const QRect& start, int handle, const QPoint& offset);

    // Records the positions, rounded to whole pixels (halves upwards), of the controls that
    // have items.
    void beginMove(const std::set<unsigned int>& controlIds);
    // Moves each recorded item to its position at the start plus the offset.
    void move(const QPoint& offset);
    void endMove() { m_dragStartPositions.clear(); }
    bool isDragging() const { return !m_dragStartPositions.empty(); }

    void beginResize(const std::set<unsigned int>& controlIds, int handle);
    // Maps every recorded geometry through resizeTransform() of their union.
    void resize(const QPoint& offset);
    // The new geometries of the controls whose geometry changed since the start.
    std::map<unsigned int, QRect> endResize();
    bool isResizing() const { return !m_resizeItems.empty(); }

    // Forgets any gesture under way.
    void clear();

private:
    ItemLookup m_item;
    std::map<unsigned int, QPoint> m_dragStartPositions;
    std::map<unsigned int, QRect> m_resizeItems;
    int m_resizeHandle = 0;
    QRect m_resizeStartRect;
};
