#pragma once

#include <QAbstractItemDelegate>

// Draws a row of the launch dialog's file list, 50 pixels high: the icon centred in the square
// at the left, then for a recent file its name in bold above its path, otherwise the row's text
// alone. The row under the mouse is filled with the palette's alternate base.
class RecentFileDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    // The role under which a recent-file row holds its path.
    static constexpr int PathRole = Qt::UserRole + 1;

    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
