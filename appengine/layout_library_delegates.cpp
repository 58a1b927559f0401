#include "appengine/layout_library_delegates.h"

#include "appengine/layout_library.h"
#include "velmora_objects/velmora_types.h"

#include <QApplication>
#include <QPainter>
#include <QStaticText>
#include <QStyle>
#include <QUrl>
#include <algorithm>

LayoutViewDelegate::LayoutViewDelegate(QObject* parent) : QAbstractItemDelegate(parent) {}

QSize LayoutViewDelegate::cellSize() const
{
    // Portrait cells as wide as landscape ones: a name such as "Media Player" needs more than
    // the narrow thumbnail's width.
    const QSize thumbnail = LayoutLibrary::thumbnailSize(m_orientation);
    const int landscapeWidth = LayoutLibrary::thumbnailSize(Velmora::Orientation_LANDSCAPE).width();
    return QSize(std::max(thumbnail.width(), landscapeWidth) + 8,
                 thumbnail.height() + QFontMetrics(QApplication::font()).height() + 8);
}

QSize LayoutViewDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return cellSize();
}

void LayoutViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const QSize size = LayoutLibrary::thumbnailSize(m_orientation);
    const QRect& cell = option.rect;
    const int x = cell.left() + (cell.width() - size.width()) / 2;
    const bool selected = option.state & QStyle::State_Selected;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor =
            option.palette.color(selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }

    painter->save();
    if (selected) {
        painter->fillRect(cell.adjusted(1, 1, -1, -1), option.palette.highlight());
        painter->setPen(option.palette.color(QPalette::HighlightedText));
    } else {
        painter->setPen(option.palette.color(QPalette::Text));
    }
    // Any orientation but portrait (a square project's 0 too) shows the landscape thumbnail,
    // which thumbnailSize gives room for.
    const QIcon::Mode mode = m_orientation == 2 ? QIcon::Disabled : QIcon::Normal;
    const QPixmap pixmap = icon.pixmap(size, mode, QIcon::Off);
    painter->drawPixmap(x, cell.top() + 4, pixmap);

    // The name gets the cell's width, less its margins.
    QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        text = tr("Blank");
    const QFontMetrics& metrics = option.fontMetrics;
    const int textTop = cell.top() + pixmap.height() + 4;
    const QRect textRect(cell.left() + 4, textTop, cell.width() - 8, metrics.height());
    painter->drawText(textRect, Qt::AlignCenter,
                      metrics.elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

void LayoutErrorDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const QRect& row = option.rect;
    const QFontMetrics& metrics = option.fontMetrics;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));

    int positionWidth = 0;
    const QVariant line = index.data(LayoutLibrary::LineRole);
    const QVariant column = index.data(LayoutLibrary::ColumnRole);
    if (line.isValid() && column.isValid()) {
        const QString position =
            tr("[Line: %1 Column: %2]").arg(line.toLongLong()).arg(column.toLongLong());
        positionWidth = metrics.horizontalAdvance(position);
        painter->drawText(QRect(QPoint(row.right() + 1 - positionWidth, row.top()),
                                QPoint(row.right(), row.bottom())),
                          0, position);
    }
    const int addressWidth = row.width() - positionWidth - 5;
    const QString address = index.data(LayoutLibrary::DocumentRole).toString();
    painter->drawText(QRect(row.left(), row.top(), addressWidth, metrics.height()), 0,
                      metrics.elidedText(address, Qt::ElideMiddle, addressWidth));

    QStaticText message(index.data(Qt::DisplayRole).toString());
    message.setTextWidth(row.width());
    painter->drawStaticText(row.left(), row.top() + metrics.height(), message);
    painter->restore();
}

QSize LayoutErrorDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    QStaticText message(index.data(Qt::DisplayRole).toString());
    message.setTextWidth(option.rect.width());
    message.prepare(QTransform(), option.font);
    return QSize(option.rect.width(),
                 option.fontMetrics.height() + qRound(message.size().height()));
}
