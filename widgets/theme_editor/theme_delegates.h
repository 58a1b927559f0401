#pragma once

#include <QAbstractItemDelegate>

// Draws page-background thumbnails as a grid of equal cells: the row's icon (Qt::DecorationRole)
// at the thumbnail size of the orientation, centred in its cell, on a highlight frame 4 pixels
// wide when selected. Owners install it on a grid view whose grid size is cellSize().
class BackgroundImageDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    explicit BackgroundImageDelegate(QObject* parent = nullptr);
    ~BackgroundImageDelegate() override;

    // 68x120 for portrait (2), 240x136 for any other orientation.
    static const QSize& thumbnailSize(int orientation);
    // The thumbnail size plus 4 pixels on every side.
    QSize cellSize() const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // 2: portrait thumbnails; any other value: landscape ones. Written by the owner.
    int orientation = 0;
};

// Draws a theme as its splash image with its name (Qt::DisplayRole) centred underneath. The
// row's icon holds the landscape splash as its Normal pixmap and the portrait splash as its
// Disabled pixmap; the orientation picks one. Owners install it on a grid view whose grid size
// is cellSize().
class ThemeSplashDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    explicit ThemeSplashDelegate(QObject* parent = nullptr);
    ~ThemeSplashDelegate() override;

    // 136x240 for portrait (2), 240x136 for any other orientation.
    static const QSize& splashSize(int orientation);
    // The splash size plus 8 pixels across, and one line of the application's font plus 8
    // pixels down.
    QSize cellSize() const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // 2: the portrait splash; any other value: the landscape one. Written by the owner.
    int orientation = 0;
};
