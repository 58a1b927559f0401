#pragma once

#include <QRect>
#include <boost/dynamic_bitset.hpp>
#include <map>
#include <vector>

// The geometry behind the align and arrange actions on selected controls: a map of control id
// to rectangle (page pixels, inclusive right and bottom edges) is rewritten in place. Nothing
// here knows the document, the selection or the undo stack.

// The union of all the rectangles; the null rectangle for an empty map.
QRect unitedRect(const std::map<unsigned int, QRect>& rects);

// Aligns every rectangle to the common bounding rectangle B, keeping its size: 0 left edges on
// B's left, 1 right edges on B's right, 2 tops on B's top, 3 bottoms on B's bottom, 4 centres on
// B's vertical centre line (vertical positions kept), 5 centres on B's horizontal centre line
// (horizontal positions kept). Any other mode changes nothing.
void alignRects(std::map<unsigned int, QRect>& rects, int mode);

// An arrangement of the rectangles within their bounding rectangle. The caller fills `rects`
// and sets `spacing`, the gap in pixels between neighbours, then calls apply() once and reads
// `rects` back. Every id keeps a rectangle; an empty map stays empty.
class WysiwygLayout
{
public:
    virtual ~WysiwygLayout() = default;
    virtual void apply() = 0;

    std::map<unsigned int, QRect> rects;
    int spacing = 0;
};

// One row across the bounding rectangle, left to right in the order of the left edges (then
// widths, then ids), each rectangle the full height and an equal share of the width. The share
// is at least one pixel, and a spacing that leaves no room keeps the rectangles inside the
// bounding rectangle, piled up at its right edge.
class HorizontalWysiwygLayout : public WysiwygLayout
{
public:
    void apply() override;
};

// The column counterpart of HorizontalWysiwygLayout, top to bottom.
class VerticalWysiwygLayout : public WysiwygLayout
{
public:
    void apply() override;
};

// A grid: the rectangles are cut into cells along all their edges, each takes the block of
// cells it covers, the blocks are stretched over empty cells up to the edges of other
// rectangles, and the rows and columns in which some rectangle begins are spread evenly over
// the bounding rectangle. A rectangle one pixel wide or high covers no cell and stays as it is.
class GridWysiwygLayout : public WysiwygLayout
{
public:
    void apply() override;

private:
    struct Item
    {
        unsigned int id;
        QRect rect;
    };
    using Cell = const Item*; // null when empty

    Cell& cell(int row, int column) { return cells[std::size_t(row) * columns + column]; }
    bool columnHasStart(int column);
    bool columnHasEnd(int column);
    bool rowHasStart(int row);
    bool rowHasEnd(int row);
    // Cells from (row, column) down (or right) that hold the item, or that are empty for null.
    int runDown(int row, int column, Cell item);
    int runRight(int row, int column, Cell item);
    void extendLeft();
    void extendRight();
    void extendUp();
    void extendDown();
    void markOrigins();
    bool locateItem(const Item& item, int* row, int* column);

    QRect bounds;
    std::vector<Item> items; // in ascending id order
    std::vector<Cell> cells; // row by row
    boost::dynamic_bitset<> markedRows;
    boost::dynamic_bitset<> markedColumns;
    int rows = 0;
    int columns = 0;
};

// Makes a new layout of one kind, owned by the caller. The action set carries one creator per
// kind; they live for the whole run and are never deleted.
class WysiwygLayoutCreator
{
public:
    virtual WysiwygLayout* make() const = 0;

protected:
    ~WysiwygLayoutCreator() = default;
};

template <class T> class ConcreteWysiwygLayoutCreator : public WysiwygLayoutCreator
{
public:
    WysiwygLayout* make() const override { return new T; }
};

extern const ConcreteWysiwygLayoutCreator<HorizontalWysiwygLayout> horizontalLayoutCreator;
extern const ConcreteWysiwygLayoutCreator<VerticalWysiwygLayout> verticalLayoutCreator;
extern const ConcreteWysiwygLayoutCreator<GridWysiwygLayout> gridLayoutCreator;
