#include "gui/gradient_item_delegate.h"

#include "core/gradient_library.h"
#include "gui/checkered_brush.h"

#include <QLinearGradient>
#include <QPainter>

GradientItemDelegate::GradientItemDelegate(QObject* parent) : QAbstractItemDelegate(parent) {}

void GradientItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    painter->save();

    const bool selected = option.state & QStyle::State_Selected;
    if (selected)
        painter->fillRect(option.rect,
                          option.palette.color(QPalette::Current, QPalette::Highlight));
    else if (option.state & QStyle::State_MouseOver)
        painter->fillRect(option.rect,
                          option.palette.color(QPalette::Current, QPalette::AlternateBase));

    const Gradient gradient =
        index.model() ? index.data(GradientLibrary::GradientRole).value<Gradient>() : Gradient();
    if (!gradient.stops().isEmpty()) {
        const QRect swatch(QPoint(option.rect.left() + 2, option.rect.top() + 2),
                           QPoint(option.rect.left() + 96, option.rect.bottom() - 3));
        painter->fillRect(swatch, CheckeredBrush());
        QLinearGradient fill(0, 0, 1, 0);
        fill.setCoordinateMode(QGradient::ObjectBoundingMode);
        fill.setStops(gradient.stops());
        QPen frame(Qt::black);
        frame.setCosmetic(true);
        painter->setPen(frame);
        painter->setBrush(fill);
        painter->drawRect(swatch);
    }

    painter->setPen(option.palette.color(QPalette::Current,
                                         selected ? QPalette::HighlightedText : QPalette::Text));
    QRect textRect = option.rect;
    textRect.setLeft(100);
    const QString name = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                       option.textElideMode, textRect.width());
    painter->drawText(textRect, Qt::AlignVCenter, name);

    painter->restore();
}

QSize GradientItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(100, 30);
}
