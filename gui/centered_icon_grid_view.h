#pragma once

#include <QAbstractItemView>
#include <QPersistentModelIndex>

// Shows the rows of a flat list model as equal cells, row after row, in as many columns as fit
// the viewport, the whole grid centred horizontally; it scrolls vertically when the rows do not
// fit. The delegate draws each cell. Item n sits in grid row n / columns, grid column
// n % columns. The layout follows the cell size, the viewport size and the row count; it is not
// recomputed when the model is reset or replaced, so owners set the grid size after the model.
class CenteredIconGridView : public QAbstractItemView
{
public:
    explicit CenteredIconGridView(QWidget* parent = nullptr);

    QSize gridSize() const { return cellSize; }
    void setGridSize(const QSize& size);

    QRect visualRect(const QModelIndex& index) const override;
    // Ignores the hint; an item scrolled to while the view is hidden is scrolled to when it shows.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int first, int last) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    // Selects the existing items of every grid row and column the rectangle touches.
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

private:
    // first and last are the rows about to be removed, -1 when none are.
    void updateLayout(int first = -1, int last = -1);
    void updateScrollBars(int first, int last);
    int itemCount() const;
    QModelIndex item(int row) const;
    bool hasCells() const { return cellSize.width() >= 1 && cellSize.height() >= 1; }

    QSize cellSize{-1, -1};
    int columnCount = 1;
    int leftMargin = 0;
    QPersistentModelIndex pendingScrollIndex;
};
