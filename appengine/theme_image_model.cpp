#include "appengine/theme_image_model.h"

#include "velmora_objects/edit_theme.h"

#include <memory>

using Velmora::Theme;

namespace {

// The two sizes of a row's icon by kind, and whether the picture is stretched to them.
struct IconSizes
{
    QSize small;
    QSize large;
    Qt::AspectRatioMode aspect;
};

const IconSizes* iconSizesOf(int kind)
{
    static const IconSizes sizes[] = {
        {QSize(30, 18), QSize(240, 136), Qt::KeepAspectRatio},
        {QSize(18, 18), QSize(24, 24), Qt::IgnoreAspectRatio},
        {QSize(30, 18), QSize(120, 44), Qt::KeepAspectRatio},
    };
    return kind >= 0 && kind <= 2 ? &sizes[kind] : nullptr;
}

// The store of the kind: 0 page backgrounds, 1 icons, any other kind control images.
template <class AnyTheme> auto& storeOf(AnyTheme& theme, int kind)
{
    switch (kind) {
    case ThemeImageModel::PageBackgrounds:
        return theme.getPageBackgroundImages();
    case ThemeImageModel::Icons:
        return theme.getIcons();
    default:
        return theme.getControlImages();
    }
}

} // namespace

ThemeImageModel::ThemeImageModel(int kind, Theme* theme, QObject* parent)
    : QStandardItemModel(0, 1, parent), m_kind(kind), m_theme(theme)
{
    if (theme)
        fill(theme);
}

ThemeImageModel::~ThemeImageModel() = default;

void ThemeImageModel::setTheme(Theme* theme)
{
    m_theme = theme;
    fill(theme);
}

void ThemeImageModel::setThemeFile(const QString& path)
{
    const auto theme = std::make_unique<Theme>(path);
    fill(theme.get());
}

void ThemeImageModel::fill(const Theme* theme)
{
    clear();
    setColumnCount(1);
    if (!theme)
        return;
    for (const Velmora::ImageData& image : storeOf(*theme, m_kind)) {
        const unsigned int id = image.getId();
        QPixmap pixmap;
        switch (m_kind) {
        case PageBackgrounds:
            pixmap = theme->getPageBackgroundPixmap(id);
            break;
        case Icons:
            pixmap = theme->getIconPixmap(id);
            break;
        default:
            pixmap = theme->getControlImagePixmap(id);
            break;
        }
        createImageRow(id, QString(), image.getOrientation(), pixmap, -1);
    }
}

QIcon ThemeImageModel::iconOf(const QPixmap& pixmap) const
{
    QIcon icon;
    const IconSizes* sizes = iconSizesOf(m_kind);
    if (!sizes || pixmap.isNull())
        return icon;
    for (const QSize& size : {sizes->small, sizes->large})
        icon.addPixmap(pixmap.scaled(size, sizes->aspect, Qt::FastTransformation));
    return icon;
}

QStandardItem* ThemeImageModel::createImageRow(unsigned int id, const QString& path,
                                               int orientation, const QPixmap& pixmap, int row)
{
    auto item = new QStandardItem;
    item->setData(id, IdRole);
    item->setData(path, PathRole);
    item->setData(orientation, OrientationRole);
    item->setData(iconOf(pixmap), Qt::DecorationRole);
    if (row < 0)
        appendRow(item);
    else
        insertRow(row, item);
    return item;
}

QStandardItem* ThemeImageModel::addImageFile(const QString& path)
{
    const QModelIndex known = findFilePath(path);
    if (known.isValid())
        return itemFromIndex(known);

    unsigned int id = NoImage;
    if (m_theme) {
        switch (m_kind) {
        case PageBackgrounds:
            id = m_theme->addPageBackgroundImage(path);
            break;
        case Icons:
            id = m_theme->addIcon(path);
            break;
        default:
            id = m_theme->addControlImage(path);
            break;
        }
        if (id == Theme::NoImageId)
            return nullptr;
        const QModelIndex stored = findImage(id);
        if (stored.isValid())
            return itemFromIndex(stored);
    }
    return createImageRow(id, path, Velmora::Orientation_ANY, QPixmap(path), -1);
}

QStandardItem* ThemeImageModel::addImageData(const QByteArray& data, int orientation, int row)
{
    unsigned int id = NoImage;
    if (m_theme) {
        switch (m_kind) {
        case PageBackgrounds:
            id = m_theme->addPageBackgroundImageData(data, orientation);
            break;
        case Icons:
            id = m_theme->addIconData(data);
            break;
        default:
            id = m_theme->addControlImageData(data);
            break;
        }
        if (id == Theme::NoImageId)
            return nullptr;
    }
    QPixmap pixmap;
    pixmap.loadFromData(data);
    return createImageRow(id, QString(), orientation, pixmap, row);
}

bool ThemeImageModel::removeImage(const QModelIndex& index)
{
    if (m_theme) {
        const unsigned int id = item(index.row(), 0)->data(IdRole).toUInt();
        switch (m_kind) {
        case PageBackgrounds:
            m_theme->removePageBackgroundImage(id);
            break;
        case Icons:
            m_theme->removeIcon(id);
            break;
        default:
            m_theme->removeControlImage(id);
            break;
        }
    }
    return removeRow(index.row());
}

QModelIndex ThemeImageModel::findFilePath(const QString& path) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row)->data(PathRole).toString() == path)
            return index(row, 0);
    }
    return QModelIndex();
}

QModelIndex ThemeImageModel::findImage(unsigned int id) const
{
    for (int row = 0; row < rowCount(); ++row) {
        const QVariant value = item(row)->data(IdRole);
        if (value.isValid() && value.toUInt() == id)
            return index(row, 0);
    }
    return QModelIndex();
}

EditThemeImageModel::EditThemeImageModel(int kind, EditTheme* theme, QObject* parent)
    : ThemeImageModel(kind, theme, parent), m_editTheme(theme)
{
}

const QByteArray& EditThemeImageModel::imageData(const QModelIndex& index) const
{
    const unsigned int id = item(index.row(), 0)->data(IdRole).toUInt();
    return storeOf(*m_editTheme, kind())[id].getData();
}

ThemeImageProxyModel::ThemeImageProxyModel(QObject* parent) : QSortFilterProxyModel(parent) {}

void ThemeImageProxyModel::setOrientationFilter(int orientation)
{
    m_orientationFilter = orientation;
    invalidateFilter();
}

bool ThemeImageProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (m_orientationFilter == 0)
        return true;
    const int orientation = sourceModel()
                                ->index(sourceRow, 0, sourceParent)
                                .data(ThemeImageModel::OrientationRole)
                                .toInt();
    return orientation == 0 || orientation == m_orientationFilter;
}
