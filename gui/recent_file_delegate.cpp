#include "gui/recent_file_delegate.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QStyle>

void RecentFileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QRect& rect = option.rect;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    if (option.state & QStyle::State_MouseOver)
        painter->fillRect(rect, option.palette.brush(group, QPalette::AlternateBase));

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = rect;
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        const QPalette::ColorGroup backgroundGroup =
            (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor = option.palette.color(
            backgroundGroup,
            (option.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }

    const QPixmap icon = index.data(Qt::DecorationRole).value<QIcon>().pixmap(48, 48);
    if (!icon.isNull()) {
        const QSize size = icon.deviceIndependentSize().toSize();
        painter->drawPixmap(rect.left() + (50 - size.width()) / 2,
                            rect.top() + (50 - size.height()) / 2, icon);
    }

    painter->save();
    painter->setPen(option.palette.color(group, QPalette::Text));
    QFont font = option.font;
    font.setPointSize(10);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QString path = index.data(PathRole).toString();
    const QRect textBand(rect.left() + 50, rect.top(), rect.right() - rect.left() - 49,
                         rect.height());
    if (!path.isEmpty()) {
        font.setWeight(QFont::Bold);
        painter->setFont(font);
        const QRect upper(textBand.left(), rect.top(), textBand.width(), 25);
        painter->drawText(upper, Qt::AlignLeft | Qt::AlignBottom, text);
        painter->setFont(option.font);
        const QRect lower(textBand.left(), rect.top() + 25, textBand.width(), rect.height() - 25);
        painter->drawText(lower, Qt::AlignLeft | Qt::AlignTop, path);
    } else {
        painter->setFont(font);
        painter->drawText(textBand, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter->restore();
}

QSize RecentFileDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(100, 50);
}
