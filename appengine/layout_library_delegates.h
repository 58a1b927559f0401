#pragma once

#include <QAbstractItemDelegate>
#include <QStyledItemDelegate>

// Draws a row of the LayoutLibrary as a thumbnail cell: the template's thumbnail for the
// delegate's orientation, centred near the top of the cell, and its name below it ("Blank" for
// the blank row), elided to the cell's width; cells are as wide as landscape ones in either
// orientation, so that names fit beside narrow portrait thumbnails too. A selected cell is filled
// with the highlight colour; the cell with the keyboard focus gets the style's focus frame.
class LayoutViewDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    explicit LayoutViewDelegate(QObject* parent = nullptr);

    // The page orientation of the view: 2 (portrait) shows the portrait thumbnails, any other
    // value the landscape ones.
    int orientation() const { return m_orientation; }
    void setOrientation(int orientation) { m_orientation = orientation; }

    // The size of every cell: the landscape thumbnail's width and the thumbnail's height plus
    // the application font's height, with 8 pixels to spare each way. Views use it as their
    // grid size.
    QSize cellSize() const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_orientation = 1;
};

// Draws a row of LayoutLibrary::errorModel() on two lines: the refused file's address, elided
// in the middle, with "[Line: l Column: c]" at the right end, then the message, wrapped to the
// row's width.
class LayoutErrorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
