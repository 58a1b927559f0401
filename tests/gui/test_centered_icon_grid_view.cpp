#include "gui/centered_icon_grid_view.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
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
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(100, 50);
    }
};

class Grid : public CenteredIconGridView
{
public:
    using CenteredIconGridView::CursorAction;
    using CenteredIconGridView::moveCursor;
    using CenteredIconGridView::setSelection;
};

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
        grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
        grid.resize(400, 120); // four columns, three grid rows, two and a half in sight
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.setGridSize(QSize(100, 50));
    }

    // Number of items in the first grid row, and the left margin.
    std::pair<int, int> columnsAndMargin() const
    {
        int columns = 0;
        while (columns < 10 && grid.visualRect(model.index(columns, 0)).top() == 0)
            ++columns;
        return {columns, grid.visualRect(model.index(0, 0)).left()};
    }

    QStandardItemModel model;
    FillDelegate delegate;
    Grid grid;
};

} // namespace

TEST_F(CenteredIconGridViewTest, CentresAsManyColumnsAsFit)
{
    const struct
    {
        int cellWidth;
        int viewportWidth;
        int columns;
        int margin;
        int horizontalRange;
    } cases[] = {
        {100, 350, 3, 25, 0}, {100, 301, 3, 0, 0}, // a slack of one pixel stays on the right
        {100, 302, 3, 1, 0},  {100, 400, 4, 0, 0},
        {400, 350, 1, 0, 50}, // wider than the viewport: it scrolls sideways
    };
    for (const auto& c : cases) {
        grid.resize(c.viewportWidth, 120);
        grid.setGridSize(QSize(c.cellWidth, 50));
        EXPECT_EQ(columnsAndMargin(), std::make_pair(c.columns, c.margin)) << c.viewportWidth;
        EXPECT_EQ(grid.horizontalScrollBar()->maximum(), c.horizontalRange) << c.cellWidth;
    }
}

TEST_F(CenteredIconGridViewTest, PaintsEachCellWhereItBelongs)
{
    grid.resize(350, 200);
    grid.selectionModel()->select(model.index(4, 0), QItemSelectionModel::Select);
    const QImage shot = grid.viewport()->grab().toImage();
    // Item 4 is the second of the second grid row; item 9 the first of the fourth.
    const QColor background = shot.pixelColor(10, 10);
    EXPECT_NE(background, QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(75, 25), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(175, 75), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(75, 175), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(175, 175), background);
    EXPECT_EQ(shot.pixelColor(340, 25), background);
}

TEST_F(CenteredIconGridViewTest, ScrollRangeFollowsTheRows)
{
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 30);
    EXPECT_EQ(grid.verticalScrollBar()->pageStep(), 50);
    model.appendRow(new QStandardItem("10"));
    model.appendRow(new QStandardItem("11"));
    model.appendRow(new QStandardItem("12"));
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 80);
    // The view has taken the rows out of its range before they go.
    int rangeBeforeRemoval = -1;
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved,
                     [&] { rangeBeforeRemoval = grid.verticalScrollBar()->maximum(); });
    model.removeRows(8, 5);
    EXPECT_EQ(rangeBeforeRemoval, 0);
}

TEST_F(CenteredIconGridViewTest, CursorMovesOverAPartlyFilledLastRow)
{
    using M = Grid::CursorAction;
    const struct
    {
        int from;
        M action;
        int to; // -1: does not move
    } moves[] = {
        {5, M::MoveDown, 9},      {6, M::MoveDown, -1},
        {9, M::MoveRight, -1},    {2, M::MoveEnd, 9},
        {6, M::MoveUp, 2},        {2, M::MovePrevious, -1},
        {0, M::MoveLeft, -1},     {4, M::MoveLeft, 3},
        {7, M::MoveHome, 0},      {5, M::MoveNext, 9},
        {5, M::MovePageDown, -1}, {-1, M::MoveDown, 0}, // no current item: the first
    };
    for (const auto& m : moves) {
        grid.setCurrentIndex(m.from < 0 ? QModelIndex() : model.index(m.from, 0));
        const QModelIndex to = grid.moveCursor(m.action, Qt::NoModifier);
        EXPECT_EQ(to.isValid() ? to.row() : -1, m.to) << m.from << " " << int(m.action);
    }
}

TEST_F(CenteredIconGridViewTest, HitsOnlyExistingItems)
{
    grid.resize(450, 120); // four columns, margin 25
    const struct
    {
        QPoint point;
        int row;
    } hits[] = {
        {{30, 10}, 0},   {{24, 10}, -1},   {{425, 10}, -1}, // left of and right of the columns
        {{130, 110}, 9}, {{230, 110}, -1},                  // below the last item
    };
    for (const auto& h : hits) {
        const QModelIndex index = grid.indexAt(h.point);
        EXPECT_EQ(index.isValid() ? index.row() : -1, h.row) << h.point.x() << "," << h.point.y();
    }
}

TEST_F(CenteredIconGridViewTest, BandOverThePartlyFilledLastRowSelectsWhatExists)
{
    // Columns 1 to 3 of grid rows 1 and 2; row 2 holds items 8 and 9 only.
    grid.setSelection(QRect(QPoint(390, 140), QPoint(120, 60)),
                      QItemSelectionModel::ClearAndSelect);
    QList<int> selected;
    for (const QModelIndex& index : grid.selectionModel()->selectedIndexes())
        selected.append(index.row());
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, QList<int>({5, 6, 7, 9}));
    EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 4);
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
