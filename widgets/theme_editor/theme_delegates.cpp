#include "widgets/theme_editor/theme_delegates.h"

#include "velmora_objects/velmora_types.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

const int CellMargin = 4;

QIcon iconOf(const QModelIndex& index)
{
    return index.data(Qt::DecorationRole).value<QIcon>();
}

} // namespace

BackgroundImageDelegate::BackgroundImageDelegate(QObject* parent) : QAbstractItemDelegate(parent) {}

BackgroundImageDelegate::~BackgroundImageDelegate() = default;

const QSize& BackgroundImageDelegate::thumbnailSize(int orientation)
{
    static const QSize portrait(68, 120);
    static const QSize landscape(240, 136);
    return orientation == Velmora::Orientation_PORTRAIT ? portrait : landscape;
}

QSize BackgroundImageDelegate::cellSize() const
{
    return thumbnailSize(orientation) + QSize(2 * CellMargin, 2 * CellMargin);
}

QSize BackgroundImageDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return cellSize();
}

void BackgroundImageDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QIcon::Mode mode =
        option.state.testFlag(QStyle::State_Enabled) ? QIcon::Normal : QIcon::Disabled;
    const QPixmap pixmap = iconOf(index).pixmap(thumbnailSize(orientation), mode, QIcon::Off);
    const int x = option.rect.left() + (option.rect.width() - pixmap.width()) / 2;
    const int y = option.rect.top() + (option.rect.height() - pixmap.height()) / 2;
    if (option.state.testFlag(QStyle::State_Selected)) {
        painter->fillRect(QRect(x - CellMargin, y - CellMargin, pixmap.width() + 2 * CellMargin,
                                pixmap.height() + 2 * CellMargin),
                          option.palette.color(QPalette::Current, QPalette::Highlight));
    }
    painter->drawPixmap(x, y, pixmap);
}

ThemeSplashDelegate::ThemeSplashDelegate(QObject* parent) : QAbstractItemDelegate(parent) {}

ThemeSplashDelegate::~ThemeSplashDelegate() = default;

const QSize& ThemeSplashDelegate::splashSize(int orientation)
{
    static const QSize portrait(136, 240);
    static const QSize landscape(240, 136);
    return orientation == Velmora::Orientation_PORTRAIT ? portrait : landscape;
}

QSize ThemeSplashDelegate::cellSize() const
{
    const QSize splash = splashSize(orientation);
    return QSize(splash.width() + 2 * CellMargin,
                 splash.height() + QFontMetrics(QApplication::font()).height() + 2 * CellMargin);
}

QSize ThemeSplashDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return cellSize();
}

void ThemeSplashDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const QSize splash = splashSize(orientation);
    // The nominal width places the splash, so narrower splashes line up on their left edges.
    const int x = option.rect.left() + (option.rect.width() - splash.width()) / 2;
    const bool selected = option.state.testFlag(QStyle::State_Selected);

    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        const QPalette::ColorGroup group =
            option.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor =
            option.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
    }

    painter->save();
    if (selected) {
        painter->fillRect(option.rect.adjusted(1, 1, -1, -1),
                          option.palette.color(QPalette::Current, QPalette::Highlight));
        painter->setPen(option.palette.color(QPalette::Current, QPalette::HighlightedText));
    } else {
        painter->setPen(option.palette.color(QPalette::Current, QPalette::Text));
    }
    const QIcon::Mode mode =
        orientation == Velmora::Orientation_PORTRAIT ? QIcon::Disabled : QIcon::Normal;
    const QPixmap pixmap = iconOf(index).pixmap(splash, mode, QIcon::Off);
    const int top = option.rect.top() + CellMargin;
    painter->drawPixmap(x, top, pixmap);
    // The name goes under the splash, within its width less 2 pixels each side; a theme
    // without a splash still shows its name, where a splash of the nominal size would end.
    const QSize box = pixmap.isNull() ? splash : pixmap.size();
    const int textWidth = box.width() - 4;
    const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, textWidth);
    painter->drawText(QRect(x + 2, top + box.height(), textWidth, option.fontMetrics.height()),
                      Qt::AlignHCenter | Qt::AlignVCenter, text);
    painter->restore();
}
