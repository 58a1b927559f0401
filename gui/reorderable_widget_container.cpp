#include "gui/reorderable_widget_container.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSpacerItem>

ReorderableWidgetContainer::ReorderableWidgetContainer(QWidget* parent)
    : QScrollArea(parent), inner(new QWidget(this)),
      layout(new QBoxLayout(QBoxLayout::TopToBottom, inner))
{
    setBackgroundRole(QPalette::Base);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);
    resetDropIndicator();
    setWidget(inner);
    setWidgetResizable(true);
    // Drag events reach a scroll area's handlers only through its viewport; whether a drop is
    // taken is then decided by the container's own acceptDrops() and formats.
    viewport()->setAcceptDrops(true);
}

ReorderableWidgetContainer::~ReorderableWidgetContainer()
{
    // Items destroyed with the container find no index, so they announce nothing; they go while
    // the container is still whole.
    destroying = true;
    delete takeWidget();
}

int ReorderableWidgetContainer::count() const
{
    return layout->count() - 2;
}

QWidget* ReorderableWidgetContainer::widgetAt(int index) const
{
    QLayoutItem* item = index >= 0 && index < layout->count() ? layout->itemAt(index) : nullptr;
    return item ? item->widget() : nullptr;
}

int ReorderableWidgetContainer::indexOf(QWidget* widget) const
{
    if (!widget || destroying)
        return -1;
    return layout->indexOf(widget);
}

void ReorderableWidgetContainer::addWidget(QWidget* widget)
{
    insertWidget(widget, count());
}

void ReorderableWidgetContainer::insertWidget(QWidget* widget, int index)
{
    layout->insertWidget(qMin(index, count()), widget);
    widget->installEventFilter(this);
}

void ReorderableWidgetContainer::clear()
{
    for (int index = 0; index < layout->count();) {
        QLayoutItem* item = layout->itemAt(index);
        if (QWidget* widget = item->widget()) {
            delete layout->takeAt(index);
            widget->deleteLater();
        } else {
            ++index;
        }
    }
}

void ReorderableWidgetContainer::setOrientation(Qt::Orientation orientation)
{
    listOrientation = orientation;
    layout->setDirection(orientation == Qt::Vertical ? QBoxLayout::TopToBottom
                                                     : QBoxLayout::LeftToRight);
    resetDropIndicator();
}

void ReorderableWidgetContainer::resetDropIndicator()
{
    if (dropIndicator) {
        layout->removeItem(dropIndicator);
        delete dropIndicator;
    }
    const int extent = layout->spacing() + 10;
    dropIndicator =
        isVertical()
            ? new QSpacerItem(0, extent, QSizePolicy::MinimumExpanding, QSizePolicy::Fixed)
            : new QSpacerItem(extent, 0, QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    layout->insertItem(layout->count() - 1, dropIndicator);
}

void ReorderableWidgetContainer::moveDropIndicator(int index)
{
    layout->removeItem(dropIndicator);
    layout->insertItem(index, dropIndicator);
}

void ReorderableWidgetContainer::parkDropIndicator()
{
    moveDropIndicator(layout->count() - 1);
    dragging = false;
    dropIndex = -1;
}

void ReorderableWidgetContainer::showDropIndicator(int index)
{
    dragging = true;
    if (index != dropIndex) {
        dropIndex = index;
        moveDropIndicator(index);
    }
}

void ReorderableWidgetContainer::hideDropIndicator()
{
    if (dragging)
        parkDropIndicator();
}

bool ReorderableWidgetContainer::hasAcceptedFormat(const QStringList& formats) const
{
    if (!acceptDrops())
        return false;
    for (const QString& format : formats)
        if (isMimeFormatAccepted(format))
            return true;
    return false;
}

int ReorderableWidgetContainer::dropIndexAt(const QPoint& point) const
{
    int along = isVertical() ? point.y() : point.x();
    int index = 0;
    // The last item is the stretch.
    for (int i = 0; i < layout->count() - 1; ++i) {
        QLayoutItem* item = layout->itemAt(i);
        const QRect geometry = item->geometry();
        if (item->spacerItem()) {
            // Items after a gap compare as if it were closed.
            along += isVertical() ? geometry.height() : geometry.width();
            continue;
        }
        const int centre = isVertical() ? (geometry.top() + geometry.bottom()) / 2
                                        : (geometry.left() + geometry.right()) / 2;
        if (centre > along)
            break;
        ++index;
    }
    return index;
}

bool ReorderableWidgetContainer::isMimeFormatAccepted(const QString&) const
{
    return false;
}

QWidget* ReorderableWidgetContainer::createWidget(const QMimeData*)
{
    return nullptr;
}

bool ReorderableWidgetContainer::eventFilter(QObject* object, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QScrollArea::eventFilter(object, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint position = mouse->position().toPoint();
    auto* item = dynamic_cast<ReorderableWidget*>(object);
    if (!item) {
        // Other widgets in the list take no part in dragging, and get no mouse input either.
        if (type == QEvent::MouseButtonPress)
            pressPoint = position;
        return true;
    }
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        pressPoint = position;
        sourceIndex = indexOf(item);
        item->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    if (type == QEvent::MouseMove && sourceIndex != -1)
        return dragItem(item, position);
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        dropItem(item);
        return true;
    }
    return QScrollArea::eventFilter(object, event);
}

bool ReorderableWidgetContainer::dragItem(ReorderableWidget* item, const QPoint& position)
{
    const QPoint moved = position - pressPoint;
    if (!dragging && moved.manhattanLength() < QApplication::startDragDistance())
        return true;
    const QPoint target = item->pos() + moved;
    // Computed on the layout as it is: on the first step the item still counts itself once the
    // point passes its own centre, as the next item slides into its place. An item flung past
    // the end lands last.
    const int candidate = qMin(dropIndexAt(target), count() - 1);
    if (!dragging) {
        layout->removeWidget(item);
        item->raise();
        dragging = true;
        placeholder = isVertical()
                          ? new QSpacerItem(0, layout->spacing() + item->height(),
                                            QSizePolicy::MinimumExpanding, QSizePolicy::Fixed)
                          : new QSpacerItem(layout->spacing() + item->width(), 0,
                                            QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    }
    if (isVertical())
        item->move(0, qMin(inner->height() - item->height(), qMax(target.y(), 0)));
    else
        item->move(qMin(inner->width() - item->width(), qMax(target.x(), 0)), 0);
    if (candidate != dropIndex) {
        dropIndex = candidate;
        layout->removeItem(placeholder);
        layout->insertItem(candidate, placeholder);
    }
    return true;
}

void ReorderableWidgetContainer::dropItem(ReorderableWidget* item)
{
    if (dragging) {
        layout->removeItem(placeholder);
        delete placeholder;
        placeholder = nullptr;
        layout->insertWidget(dropIndex, item, 0, Qt::Alignment());
        if (dropIndex != sourceIndex)
            emit widgetReordered(sourceIndex, dropIndex);
        dragging = false;
    }
    sourceIndex = -1;
    dropIndex = -1;
    item->setCursor(Qt::OpenHandCursor);
}

void ReorderableWidgetContainer::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void ReorderableWidgetContainer::dragMoveEvent(QDragMoveEvent* event)
{
    if (!hasAcceptedFormat(event->mimeData()->formats())) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint() +
                         QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    showDropIndicator(dropIndexAt(point));
    event->accept();
}

void ReorderableWidgetContainer::dragLeaveEvent(QDragLeaveEvent*)
{
    hideDropIndicator();
}

void ReorderableWidgetContainer::dropEvent(QDropEvent* event)
{
    if (!hasAcceptedFormat(event->mimeData()->formats())) {
        event->ignore();
        return;
    }
    if (QWidget* widget = createWidget(event->mimeData())) {
        // A drop that no move announced lands last.
        const int index = dropIndex < 0 ? count() : qMin(dropIndex, count());
        insertWidget(widget, index);
        emit widgetDropped(index);
        event->accept();
    } else {
        event->ignore();
    }
    hideDropIndicator();
}

ReorderableWidget::ReorderableWidget(ReorderableWidgetContainer* container)
    : QWidget(container), container(container)
{
    container->layout->insertWidget(container->layout->count() - 2, this);
    installEventFilter(container);
}

ReorderableWidget::~ReorderableWidget()
{
    const int at = index();
    if (at != -1)
        emit container->widgetRemoved(at, this);
}

void ReorderableWidget::enterEvent(QEnterEvent* event)
{
    setCursor(Qt::OpenHandCursor);
    QWidget::enterEvent(event);
}

void ReorderableWidget::leaveEvent(QEvent* event)
{
    unsetCursor();
    QWidget::leaveEvent(event);
}
