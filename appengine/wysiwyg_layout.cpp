#include "appengine/wysiwyg_layout.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

const ConcreteWysiwygLayoutCreator<HorizontalWysiwygLayout> horizontalLayoutCreator;
const ConcreteWysiwygLayoutCreator<VerticalWysiwygLayout> verticalLayoutCreator;
const ConcreteWysiwygLayoutCreator<GridWysiwygLayout> gridLayoutCreator;

QRect unitedRect(const std::map<unsigned int, QRect>& rects)
{
    QRect united;
    for (const auto& entry : rects)
        united |= entry.second;
    return united;
}

namespace {

// The middle of a span of pixels, rounded down also below zero, so that a rectangle as wide as
// the span and centred on it stays inside it.
int middle(int first, int last)
{
    return int(std::floor((qint64(first) + last) / 2.0));
}

} // namespace

void alignRects(std::map<unsigned int, QRect>& rects, int mode)
{
    const QRect bounds = unitedRect(rects);
    for (auto& entry : rects) {
        QRect& rect = entry.second;
        // Centring moves along one axis only; the other keeps its position exactly.
        const int left = rect.left(), top = rect.top();
        switch (unsigned(mode)) {
        case 0:
            rect.moveLeft(bounds.left());
            break;
        case 1:
            rect.moveRight(bounds.right());
            break;
        case 2:
            rect.moveTop(bounds.top());
            break;
        case 3:
            rect.moveBottom(bounds.bottom());
            break;
        case 4:
            rect.moveCenter(QPoint(middle(bounds.left(), bounds.right()), rect.center().y()));
            rect.moveTop(top);
            break;
        case 5:
            rect.moveCenter(QPoint(rect.center().x(), middle(bounds.top(), bounds.bottom())));
            rect.moveLeft(left);
            break;
        default:
            return;
        }
    }
}

namespace {

// Lays the rectangles out in one line across their bounding rectangle: along x for a row,
// along y for a column; positions and extents are taken along the line.
void arrangeInLine(std::map<unsigned int, QRect>& rects, int spacing, bool row)
{
    if (rects.empty())
        return;
    const auto start = [row](const QRect& r) { return row ? r.left() : r.top(); };
    const auto extent = [row](const QRect& r) { return row ? r.width() : r.height(); };
    // Ordered by position along the line, then extent, then id.
    std::set<std::tuple<int, int, unsigned int>> order;
    for (const auto& [id, rect] : rects)
        order.insert({start(rect), extent(rect), id});
    const QRect bounds = unitedRect(rects);
    if (bounds.isEmpty())
        return; // only empty rectangles: no room to share

    // Signed arithmetic: a spacing that leaves no room gives a share below one pixel, which
    // becomes one (a negative spacing cannot make it wider than the bounding rectangle), and
    // rectangles that would then leave the bounding rectangle are held at its far edge.
    const qint64 count = qint64(rects.size());
    const qint64 room = extent(bounds) - (count - 1) * spacing;
    const int share = int(std::clamp<qint64>(room / count, 1, extent(bounds)));
    const qint64 last = qint64(start(bounds)) + extent(bounds) - share;
    qint64 position = start(bounds);
    for (const auto& item : order) {
        const int at = int(std::min(position, last));
        QRect& rect = rects[std::get<2>(item)];
        rect = row ? QRect(at, bounds.top(), share, bounds.height())
                   : QRect(bounds.left(), at, bounds.width(), share);
        position += share + spacing;
    }
}

} // namespace

void HorizontalWysiwygLayout::apply()
{
    arrangeInLine(rects, spacing, true);
}

void VerticalWysiwygLayout::apply()
{
    arrangeInLine(rects, spacing, false);
}

// GridWysiwygLayout

bool GridWysiwygLayout::columnHasStart(int column)
{
    for (int r = 0; r < rows; ++r)
        if (cell(r, column) && (column == 0 || cell(r, column - 1) != cell(r, column)))
            return true;
    return false;
}

bool GridWysiwygLayout::columnHasEnd(int column)
{
    for (int r = 0; r < rows; ++r)
        if (cell(r, column) && (column == columns - 1 || cell(r, column + 1) != cell(r, column)))
            return true;
    return false;
}

bool GridWysiwygLayout::rowHasStart(int row)
{
    for (int c = 0; c < columns; ++c)
        if (cell(row, c) && (row == 0 || cell(row - 1, c) != cell(row, c)))
            return true;
    return false;
}

bool GridWysiwygLayout::rowHasEnd(int row)
{
    for (int c = 0; c < columns; ++c)
        if (cell(row, c) && (row == rows - 1 || cell(row + 1, c) != cell(row, c)))
            return true;
    return false;
}

int GridWysiwygLayout::runDown(int row, int column, Cell item)
{
    int count = 0;
    while (row + count < rows && cell(row + count, column) == item)
        ++count;
    return count;
}

int GridWysiwygLayout::runRight(int row, int column, Cell item)
{
    int count = 0;
    while (column + count < columns && cell(row, column + count) == item)
        ++count;
    return count;
}

// The four passes stretch a block of cells over the empty cells beside it, as far as the next
// column (or row) in which another block begins or ends: stopping where one ends, stretching up
// to where one begins.
void GridWysiwygLayout::extendLeft()
{
    for (int j = 1; j < columns; ++j) {
        for (int r = 0; r < rows; ++r) {
            const Cell item = cell(r, j);
            if (!item)
                continue;
            const int height = runDown(r, j, item);
            for (int c = j - 1; c >= 0; --c) {
                if (runDown(r, c, nullptr) < height || columnHasEnd(c))
                    break;
                if (columnHasStart(c)) {
                    for (int i = r; i < r + height; ++i)
                        std::fill_n(&cell(i, c), j - c, item);
                    break;
                }
            }
        }
    }
}

void GridWysiwygLayout::extendRight()
{
    for (int j = columns - 2; j >= 0; --j) {
        for (int r = 0; r < rows; ++r) {
            const Cell item = cell(r, j);
            if (!item)
                continue;
            const int height = runDown(r, j, item);
            for (int c = j + 1; c < columns; ++c) {
                if (runDown(r, c, nullptr) < height || columnHasStart(c))
                    break;
                if (columnHasEnd(c)) {
                    for (int i = r; i < r + height; ++i)
                        std::fill_n(&cell(i, j + 1), c - j, item);
                    break;
                }
            }
        }
    }
}

void GridWysiwygLayout::extendUp()
{
    for (int i = 1; i < rows; ++i) {
        for (int c = 0; c < columns; ++c) {
            const Cell item = cell(i, c);
            if (!item)
                continue;
            const int width = runRight(i, c, item);
            for (int r = i - 1; r >= 0; --r) {
                if (runRight(r, c, nullptr) < width || rowHasEnd(r))
                    break;
                if (rowHasStart(r)) {
                    for (int k = r; k < i; ++k)
                        std::fill_n(&cell(k, c), width, item);
                    break;
                }
            }
        }
    }
}

void GridWysiwygLayout::extendDown()
{
    for (int i = rows - 2; i >= 0; --i) {
        for (int c = 0; c < columns; ++c) {
            const Cell item = cell(i, c);
            if (!item)
                continue;
            const int width = runRight(i, c, item);
            for (int r = i + 1; r < rows; ++r) {
                if (runRight(r, c, nullptr) < width || rowHasStart(r))
                    break;
                if (rowHasEnd(r)) {
                    for (int k = i + 1; k <= r; ++k)
                        std::fill_n(&cell(k, c), width, item);
                    break;
                }
            }
        }
    }
}

// Marks the rows and columns in which some block begins: only they take a share of the
// bounding rectangle, so that a gap between blocks does not become a row or column of its own.
void GridWysiwygLayout::markOrigins()
{
    markedRows.reset();
    markedColumns.reset();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Cell item = cell(r, c);
            if (item && (r == 0 || cell(r - 1, c) != item) && (c == 0 || cell(r, c - 1) != item)) {
                markedRows.set(std::size_t(r));
                markedColumns.set(std::size_t(c));
            }
        }
    }
}

bool GridWysiwygLayout::locateItem(const Item& item, int* row, int* column)
{
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            if (cell(r, c) == &item) {
                *row = r;
                *column = c;
                return true;
            }
        }
    }
    return false;
}

namespace {

// The index of a value in a sorted list of distinct values that holds it.
int indexOf(const std::vector<int>& values, int value)
{
    return int(std::lower_bound(values.begin(), values.end(), value) - values.begin());
}

std::vector<int> distinctSorted(std::vector<int> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// The number of marked rows or columns before `end`: the place of a block in the spread grid.
int countBefore(const boost::dynamic_bitset<>& marked, int end)
{
    int count = 0;
    for (int i = 0; i < end; ++i)
        count += marked.test(std::size_t(i)) ? 1 : 0;
    return count;
}

// Size and position of a block along one axis: `place` marked rows or columns before it and
// `span` marked ones in it, with the given pitch, spacing and bounding edges.
void spread(int place, int span, float pitch, int spacing, int first, int last, int* position,
            int* size)
{
    const float extent = float(place + span) * pitch - float(place) * pitch;
    *size = std::max(1, int(double(extent) + 0.5) - spacing);
    int at = int(float(place) * pitch) + first;
    if (at < 0)
        at = 0;
    if (at > last - *size + 1)
        at = last - *size + 1;
    *position = at;
}

} // namespace

void GridWysiwygLayout::apply()
{
    if (rects.empty())
        return;
    bounds = QRect();
    items.clear();
    std::vector<int> xs, ys;
    for (const auto& [id, rect] : rects) {
        bounds |= rect;
        items.push_back({id, rect});
        xs.push_back(rect.left());
        xs.push_back(rect.right());
        ys.push_back(rect.top());
        ys.push_back(rect.bottom());
    }
    xs = distinctSorted(xs);
    ys = distinctSorted(ys);
    columns = int(xs.size()) - 1;
    rows = int(ys.size()) - 1;
    cells.assign(std::size_t(rows) * std::size_t(columns), nullptr);
    markedRows.clear();
    markedRows.resize(std::size_t(rows));
    markedColumns.clear();
    markedColumns.resize(std::size_t(columns));

    // Each item takes the cells from its left edge up to its right edge; later ids win where
    // rectangles overlap.
    for (const Item& item : items) {
        const int left = indexOf(xs, item.rect.left()), right = indexOf(xs, item.rect.right());
        const int top = indexOf(ys, item.rect.top()), bottom = indexOf(ys, item.rect.bottom());
        for (int r = top; r < bottom && left < right; ++r)
            std::fill_n(&cell(r, left), right - left, &item);
    }

    extendLeft();
    extendRight();
    extendUp();
    extendDown();
    markOrigins();
    if (markedColumns.none())
        return; // no item covers a cell: nothing moves

    const float pitchX = float(bounds.width() + spacing) / float(markedColumns.count());
    const float pitchY = float(bounds.height() + spacing) / float(markedRows.count());
    for (const Item& item : items) {
        int r0, c0;
        if (!locateItem(item, &r0, &c0))
            continue;
        int colSpan = 0, rowSpan = 0;
        for (int c = c0; c < columns && cell(r0, c) == &item; ++c)
            colSpan += markedColumns.test(std::size_t(c)) ? 1 : 0;
        for (int r = r0; r < rows && cell(r, c0) == &item; ++r)
            rowSpan += markedRows.test(std::size_t(r)) ? 1 : 0;
        int x, y, width, height;
        spread(countBefore(markedColumns, c0), colSpan, pitchX, spacing, bounds.left(),
               bounds.right(), &x, &width);
        spread(countBefore(markedRows, r0), rowSpan, pitchY, spacing, bounds.top(), bounds.bottom(),
               &y, &height);
        rects[item.id] = QRect(x, y, width, height);
    }
}
