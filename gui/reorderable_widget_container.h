#pragma once

#include <QPoint>
#include <QScrollArea>

class QBoxLayout;
class QMimeData;
class QSpacerItem;
class ReorderableWidget;

// A scrollable strip of item widgets that the user reorders by dragging an item with the left
// mouse button; a gap opens where the item will land. The items sit in one box layout, followed
// by a drop indicator (a gap parked there while idle) and a stretch. The container handles the
// drag through an event filter on each item. Widgets dragged in from elsewhere are accepted only
// by subclasses, through isMimeFormatAccepted and createWidget.
class ReorderableWidgetContainer : public QScrollArea
{
    Q_OBJECT

public:
    explicit ReorderableWidgetContainer(QWidget* parent = nullptr);
    ~ReorderableWidgetContainer() override;

    int count() const;
    // The widget of layout item `index`; null for a gap or an index outside the layout.
    QWidget* widgetAt(int index) const;
    // The layout index of `widget`; -1 when it is not laid out here or while destroying.
    int indexOf(QWidget* widget) const;
    // Appends `widget` after the last item.
    void addWidget(QWidget* widget);
    // Inserts `widget` at `index`, or after the last item when `index` is beyond it.
    void insertWidget(QWidget* widget, int index);
    // Takes every item out and deletes it later.
    void clear();

    Qt::Orientation orientation() const { return listOrientation; }
    void setOrientation(Qt::Orientation orientation);

    // Rebuilds the drop indicator for the orientation and parks it before the stretch.
    void resetDropIndicator();
    void showDropIndicator(int index);
    void hideDropIndicator();
    // Whether drops are on and a subclass accepts one of `formats`.
    bool hasAcceptedFormat(const QStringList& formats) const;
    // The index an item or a drop lands at for a point of the inner widget: the number of items
    // whose centre lies at or before the point along the axis, gaps counted as closed.
    int dropIndexAt(const QPoint& point) const;

    bool eventFilter(QObject* object, QEvent* event) override;

signals:
    // An item drag ended at another place.
    void widgetReordered(int oldIndex, int newIndex);
    // An outside drop created an item at `index`.
    void widgetDropped(int index);
    // The item at `index` is being destroyed.
    void widgetRemoved(int index, const ReorderableWidget* widget);

protected:
    // Whether an outside drag carrying `format` may be dropped; the base accepts none.
    virtual bool isMimeFormatAccepted(const QString& format) const;
    // The item widget for an outside drop, or null; the base makes none.
    virtual QWidget* createWidget(const QMimeData* data);

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class ReorderableWidget;

    bool isVertical() const { return listOrientation == Qt::Vertical; }
    void parkDropIndicator();
    void moveDropIndicator(int index);
    bool dragItem(ReorderableWidget* item, const QPoint& position);
    void dropItem(ReorderableWidget* item);

    QWidget* inner;
    QBoxLayout* layout;
    QPoint pressPoint;
    bool dragging = false;
    int sourceIndex = -1;
    int dropIndex = -1;
    // Stands in the layout for the dragged item while it is dragged.
    QSpacerItem* placeholder = nullptr;
    QSpacerItem* dropIndicator = nullptr;
    Qt::Orientation listOrientation = Qt::Vertical;
    bool destroying = false;
};

// The base class of the items of a ReorderableWidgetContainer: appends itself to the container
// when constructed, shows a hand cursor and reports its removal when destroyed.
class ReorderableWidget : public QWidget
{
public:
    explicit ReorderableWidget(ReorderableWidgetContainer* container);
    ~ReorderableWidget() override;

    int index() const { return container->indexOf(const_cast<ReorderableWidget*>(this)); }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    ReorderableWidgetContainer* container;
};
