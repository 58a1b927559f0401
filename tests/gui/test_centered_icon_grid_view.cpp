#include "gui/centered_icon_grid_view.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Fills each cell, inset by one pixel: red when selected, blue otherwise.
class FillDelegate : public QAbstractItemDelegate
{
public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex&) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect.adjusted(1, 1, -1, -1), selected ? Qt::red : Qt::blue);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {}; }
};

class Grid : public CenteredIconGridView
{
public:
    using CenteredIconGridView::CursorAction;
    using CenteredIconGridView::moveCursor;
    using CenteredIconGridView::setSelection;
};

// Ten items of 100 × 50 in a 400 × 120 viewport: four columns, three grid rows.
class CenteredIconGridViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int row = 0; row < 10; ++row)
            model.appendRow(new QStandardItem(QString::number(row)));
        grid.setFrameShape(QFrame::NoFrame);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setModel(&model);
        grid.setItemDelegate(&delegate);
        grid.resize(400, 120);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.setGridSize(QSize(100, 50));
    }
    int rowAt(const QModelIndex& index) const { return index.isValid() ? index.row() : -1; }

    QStandardItemModel model;
    FillDelegate delegate;
    Grid grid;
};

} // namespace

TEST_F(CenteredIconGridViewTest, CentresAsManyColumnsAsFit)
{
    const struct
    {
        int cellWidth, viewportWidth, columns, margin, horizontalRange;
    } cases[] = {
        {100, 350, 3, 25, 0},
        {100, 301, 3, 0, 0}, // a slack of one pixel stays on the right
        {100, 400, 4, 0, 0},
        {400, 350, 1, 0, 50}, // wider than the viewport: it scrolls sideways
    };
    for (const auto& c : cases) {
        grid.resize(c.viewportWidth, 120);
        grid.setGridSize(QSize(c.cellWidth, 50));
        int columns = 0;
        while (grid.visualRect(model.index(columns, 0)).top() == 0)
            ++columns;
        EXPECT_EQ(columns, c.columns) << c.viewportWidth;
        EXPECT_EQ(grid.visualRect(model.index(0, 0)).left(), c.margin) << c.viewportWidth;
        EXPECT_EQ(grid.horizontalScrollBar()->maximum(), c.horizontalRange) << c.cellWidth;
    }
}

TEST_F(CenteredIconGridViewTest, PaintsEachCellWhereItBelongs)
{
    grid.resize(350, 200); // three columns, margin 25
    grid.selectionModel()->select(model.index(4, 0), QItemSelectionModel::Select);
    const QImage shot = grid.viewport()->grab().toImage();
    const QColor background = shot.pixelColor(10, 10);
    EXPECT_NE(background, QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(75, 25), QColor(Qt::blue));  // item 0
    EXPECT_EQ(shot.pixelColor(175, 75), QColor(Qt::red));  // item 4, selected
    EXPECT_EQ(shot.pixelColor(75, 175), QColor(Qt::blue)); // item 9
    EXPECT_EQ(shot.pixelColor(175, 175), background);      // no item 10
    EXPECT_EQ(shot.pixelColor(340, 25), background);       // right margin
}

TEST_F(CenteredIconGridViewTest, ScrollRangeFollowsTheRows)
{
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 30);
    for (int row = 10; row < 13; ++row)
        model.appendRow(new QStandardItem(QString::number(row)));
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 80);
    // The view has taken the rows out of its range before they go.
    int rangeBeforeRemoval = -1;
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved,
                     [&] { rangeBeforeRemoval = grid.verticalScrollBar()->maximum(); });
    model.removeRows(8, 5);
    EXPECT_EQ(rangeBeforeRemoval, 0);
}

TEST_F(CenteredIconGridViewTest, CursorMovesAndHitsOverAPartlyFilledLastRow)
{
    using M = Grid::CursorAction;
    const struct
    {
        int from;
        M action;
        int to; // -1: does not move
    } moves[] = {
        {5, M::MoveDown, 9},  {6, M::MoveDown, -1}, {9, M::MoveRight, -1},
        {2, M::MoveEnd, 9},   {6, M::MoveUp, 2},    {2, M::MovePrevious, -1},
        {0, M::MoveLeft, -1}, {7, M::MoveHome, 0},  {5, M::MovePageDown, -1},
        {-1, M::MoveDown, 0}, // no current item: the first
    };
    for (const auto& m : moves) {
        grid.setCurrentIndex(m.from < 0 ? QModelIndex() : model.index(m.from, 0));
        EXPECT_EQ(rowAt(grid.moveCursor(m.action, {})), m.to) << m.from << " " << int(m.action);
    }
    grid.resize(450, 120); // four columns, margin 25
    EXPECT_EQ(rowAt(grid.indexAt({30, 10})), 0);
    EXPECT_EQ(rowAt(grid.indexAt({24, 10})), -1);
    EXPECT_EQ(rowAt(grid.indexAt({425, 10})), -1);
    EXPECT_EQ(rowAt(grid.indexAt({130, 110})), 9);
    EXPECT_EQ(rowAt(grid.indexAt({230, 110})), -1); // below the last item
}

TEST_F(CenteredIconGridViewTest, BandOverThePartlyFilledLastRowSelectsWhatExists)
{
    // Dragged up and left over columns 1 to 3 of grid rows 1 and 2; row 2 holds items 8 and 9.
    grid.setSelection(QRect(QPoint(390, 140), QPoint(120, 60)),
                      QItemSelectionModel::ClearAndSelect);
    QList<int> selected;
    for (const QModelIndex& index : grid.selectionModel()->selectedIndexes())
        selected.append(index.row());
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, QList<int>({5, 6, 7, 9}));
}

TEST_F(CenteredIconGridViewTest, ScrollingWhileHiddenWaitsForTheShow)
{
    grid.hide();
    grid.scrollTo(model.index(9, 0));
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    grid.show();
    EXPECT_EQ(grid.verticalScrollBar()->value(), 30);
    grid.scrollTo(model.index(1, 0));
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
}
