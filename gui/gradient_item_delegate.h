#pragma once

#include <QAbstractItemDelegate>

// Draws a row of the gradient library: a 95-pixel swatch of the gradient with a black frame
// over a checkerboard (so that transparency shows), then the name from x = 100 of the view.
// Every row is 100 × 30. The editor operations are the base class's.
class GradientItemDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    explicit GradientItemDelegate(QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
