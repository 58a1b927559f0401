#include "gui/centered_icon_grid_view.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace {

// Which cell a coordinate falls in; single precision, rounding down also below 0.
int cellOf(int coordinate, int cell)
{
    return int(std::floor(float(coordinate) / float(cell)));
}

} // namespace

CenteredIconGridView::CenteredIconGridView(QWidget* parent) : QAbstractItemView(parent) {}

void CenteredIconGridView::setGridSize(const QSize& size)
{
    cellSize = size;
    updateLayout();
    viewport()->update();
}

int CenteredIconGridView::itemCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex CenteredIconGridView::item(int row) const
{
    return model()->index(row, 0, rootIndex());
}

QRect CenteredIconGridView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || columnCount <= 0)
        return QRect();
    const int row = index.row();
    return QRect((row % columnCount) * cellSize.width() + leftMargin - horizontalOffset(),
                 (row / columnCount) * cellSize.height() - verticalOffset(), cellSize.width(),
                 cellSize.height());
}

QModelIndex CenteredIconGridView::indexAt(const QPoint& point) const
{
    if (!model() || !hasCells())
        return QModelIndex();
    const int column = cellOf(point.x() + horizontalOffset() - leftMargin, cellSize.width());
    const int row = cellOf(point.y() + verticalOffset(), cellSize.height());
    if (column < 0 || column >= columnCount || row < 0)
        return QModelIndex();
    const int n = columnCount * row + column;
    return n < itemCount() ? item(n) : QModelIndex();
}

void CenteredIconGridView::scrollTo(const QModelIndex& index, ScrollHint)
{
    if (!index.isValid())
        return;
    if (!isVisible()) {
        pendingScrollIndex = index;
        return;
    }
    const int y = (index.row() / columnCount) * cellSize.height();
    const int top = verticalOffset();
    if (y < top)
        verticalScrollBar()->setValue(y);
    else if (y + cellSize.height() > top + viewport()->height())
        verticalScrollBar()->setValue(y - viewport()->height() + cellSize.height());
}

void CenteredIconGridView::showEvent(QShowEvent* event)
{
    QAbstractItemView::showEvent(event);
    if (pendingScrollIndex.isValid()) {
        scrollTo(pendingScrollIndex);
        pendingScrollIndex = QPersistentModelIndex();
    }
}

bool CenteredIconGridView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize)
        updateLayout();
    // The item view's own hover and tool-tip handling is not used.
    return QAbstractScrollArea::viewportEvent(event);
}

void CenteredIconGridView::rowsInserted(const QModelIndex&, int, int)
{
    updateLayout();
    viewport()->update();
}

void CenteredIconGridView::rowsAboutToBeRemoved(const QModelIndex&, int first, int last)
{
    updateLayout(first, last);
    viewport()->update();
}

void CenteredIconGridView::updateLayout(int first, int last)
{
    const int width = viewport()->width();
    columnCount = cellSize.width() >= 1 ? qMax(1, width / cellSize.width()) : 1;
    const int slack = width - cellSize.width() * columnCount;
    leftMargin = slack > 1 ? slack / 2 : 0;
    updateScrollBars(first, last);
}

void CenteredIconGridView::updateScrollBars(int first, int last)
{
    int horizontalMaximum = 0, verticalMaximum = 0;
    if (model()) {
        horizontalMaximum = qMax(0, cellSize.width() - viewport()->width());
        int rows = itemCount();
        if (first != -1 && last != -1)
            rows -= last - first + 1;
        const int gridRows = (rows + columnCount - 1) / columnCount;
        verticalMaximum = qMax(0, gridRows * cellSize.height() - viewport()->height());
    }
    horizontalScrollBar()->setRange(0, horizontalMaximum);
    verticalScrollBar()->setRange(0, verticalMaximum);
    horizontalScrollBar()->setPageStep(cellSize.width());
    horizontalScrollBar()->setSingleStep(cellSize.width());
    verticalScrollBar()->setPageStep(cellSize.height());
    verticalScrollBar()->setSingleStep(cellSize.height());
}

QModelIndex CenteredIconGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    if (!model())
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return item(0);
    const int r = current.row(), n = itemCount();
    int target = -1;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        if (r >= columnCount)
            target = r - columnCount;
        break;
    case MoveDown:
    case MoveNext:
        if (r < n - columnCount)
            target = r + columnCount;
        break;
    case MoveLeft:
        if (r > 0)
            target = r - 1;
        break;
    case MoveRight:
        if (r < n - 1)
            target = r + 1;
        break;
    case MoveHome:
        target = 0;
        break;
    case MoveEnd:
        target = n - 1;
        break;
    case MovePageUp:
    case MovePageDown:
        break;
    }
    return target >= 0 ? item(target) : QModelIndex();
}

int CenteredIconGridView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int CenteredIconGridView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool CenteredIconGridView::isIndexHidden(const QModelIndex&) const
{
    return false;
}

void CenteredIconGridView::setSelection(const QRect& rect,
                                        QItemSelectionModel::SelectionFlags command)
{
    if (!model() || !selectionModel() || !hasCells())
        return;
    // A band dragged up or to the left arrives with its corners swapped.
    const QRect band = rect.normalized();
    const int firstRow = qMax(0, cellOf(band.top() + verticalOffset(), cellSize.height()));
    const int lastRow = cellOf(band.bottom() + verticalOffset(), cellSize.height());
    const int firstColumn =
        qMax(0, cellOf(band.left() + horizontalOffset() - leftMargin, cellSize.width()));
    const int lastColumn = qMin(
        columnCount - 1, cellOf(band.right() + horizontalOffset() - leftMargin, cellSize.width()));
    const int n = itemCount();
    QItemSelection selection;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int first = row * columnCount + firstColumn;
        // A partly filled last grid row contributes the items it has.
        const int last = qMin(row * columnCount + lastColumn, n - 1);
        if (first >= n)
            break;
        if (first <= last)
            selection.append(QItemSelectionRange(item(first), item(last)));
    }
    selectionModel()->select(selection, command);
}

QRegion CenteredIconGridView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    for (const QItemSelectionRange& range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            for (int column = range.left(); column <= range.right(); ++column)
                region += visualRect(model()->index(row, column, range.parent()));
    return region;
}

void CenteredIconGridView::paintEvent(QPaintEvent*)
{
    if (!model())
        return;
    QPainter painter(viewport());
    QStyleOptionViewItem viewOption;
    initViewItemOption(&viewOption);
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus() || viewport()->hasFocus();
    const int n = itemCount();
    for (int row = 0; row < n; ++row) {
        const QModelIndex index = item(row);
        QStyleOptionViewItem option = viewOption;
        option.rect = visualRect(index);
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (model()->hasChildren(index))
            option.state |= QStyle::State_Children;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}
