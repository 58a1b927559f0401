#include "appengine/theme_skin_image_model.h"

#include "appengine/theme_image_model.h"
#include "velmora_objects/theme.h"

#include <memory>
#include <new>

using Velmora::SkinPropertyKey;
using Velmora::Theme;

ThemeSkinImageModel::ThemeSkinImageModel(Theme* theme, QObject* parent)
    : QStandardItemModel(0, 1, parent), m_theme(theme)
{
    if (theme)
        fill(theme);
}

ThemeSkinImageModel::~ThemeSkinImageModel() = default;

void ThemeSkinImageModel::setTheme(Theme* theme)
{
    m_theme = theme;
    fill(theme);
}

void ThemeSkinImageModel::setThemeFile(const QString& path)
{
    // A bundle there is not the memory to read gives no rows, as one that cannot be read does.
    std::unique_ptr<Theme> theme;
    try {
        theme = std::make_unique<Theme>(path);
    } catch (const std::bad_alloc&) {
    }
    fill(theme.get());
}

void ThemeSkinImageModel::fill(const Theme* theme)
{
    clear();
    setColumnCount(1);
    if (!theme)
        return;
    for (const auto& [key, ids] : theme->getSkinImageReferences()) {
        for (const unsigned int id : ids)
            createImageRow(id, QString(), key, theme->getSkinImagePixmap(id), -1);
    }
}

QModelIndex ThemeSkinImageModel::findSkinIndex(const SkinPropertyKey& key) const
{
    for (int row = 0; row < rowCount(); ++row) {
        const QVariant value = item(row)->data(KeyRole);
        if (value.metaType() == QMetaType::fromType<SkinPropertyKey>() &&
            value.value<SkinPropertyKey>() == key)
            return index(row, 0);
    }
    return QModelIndex();
}

QModelIndex ThemeSkinImageModel::skinIndex(const SkinPropertyKey& key)
{
    const QModelIndex found = findSkinIndex(key);
    if (found.isValid())
        return found;
    auto item = new QStandardItem;
    item->setData(QVariant::fromValue(key), KeyRole);
    appendRow(item);
    return item->index();
}

QModelIndex ThemeSkinImageModel::findChild(const SkinPropertyKey& key, int role,
                                           const QVariant& value) const
{
    const QModelIndex keyIndex = findSkinIndex(key);
    if (!keyIndex.isValid())
        return QModelIndex();
    const QStandardItem* keyItem = itemFromIndex(keyIndex);
    for (int row = 0; row < keyItem->rowCount(); ++row) {
        if (keyItem->child(row)->data(role) == value)
            return keyItem->child(row)->index();
    }
    return QModelIndex();
}

QModelIndex ThemeSkinImageModel::findFilePath(const SkinPropertyKey& key, const QString& path) const
{
    return findChild(key, PathRole, path);
}

QModelIndex ThemeSkinImageModel::imageIndex(const SkinPropertyKey& key, unsigned int id) const
{
    return findChild(key, IdRole, id);
}

QStandardItem* ThemeSkinImageModel::createImageRow(unsigned int id, const QString& path,
                                                   const SkinPropertyKey& key,
                                                   const QPixmap& pixmap, int row)
{
    auto item = new QStandardItem;
    item->setData(id, IdRole);
    item->setData(path, PathRole);
    item->setData(QVariant::fromValue(key), KeyRole);
    QIcon icon;
    if (!pixmap.isNull()) {
        for (const QSize& size : {QSize(30, 18), QSize(240, 240)})
            icon.addPixmap(pixmap.scaled(size, Qt::KeepAspectRatio, Qt::FastTransformation));
    }
    item->setData(icon, Qt::DecorationRole);
    QStandardItem* parent = itemFromIndex(skinIndex(key));
    parent->insertRow(row < 0 ? parent->rowCount() : row, item);
    return item;
}

QStandardItem* ThemeSkinImageModel::addImageFile(const QString& path, const SkinPropertyKey& key)
{
    const QModelIndex known = findFilePath(key, path);
    if (known.isValid())
        return itemFromIndex(known);
    // The picture is read before the image is stored: a file there is not the memory for
    // leaves the theme as it was.
    const QPixmap pixmap = ThemeImageModel::filePixmap(path);
    unsigned int id = NoImage;
    if (m_theme) {
        id = m_theme->addSkinImage(path);
        if (id == Theme::NoImageId)
            return nullptr;
        m_theme->addSkinImageReference(key, id);
        const QModelIndex stored = imageIndex(key, id);
        if (stored.isValid())
            return itemFromIndex(stored);
    }
    return createImageRow(id, path, key, pixmap, -1);
}

QStandardItem* ThemeSkinImageModel::addImageData(const QByteArray& data, const SkinPropertyKey& key,
                                                 int row)
{
    unsigned int id = NoImage;
    if (m_theme) {
        id = m_theme->addSkinImageData(data);
        if (id == Theme::NoImageId)
            return nullptr;
        m_theme->addSkinImageReference(key, id);
    }
    QPixmap pixmap;
    pixmap.loadFromData(data);
    return createImageRow(id, QString(), key, pixmap, row);
}

void ThemeSkinImageModel::removeImage(const QModelIndex& index)
{
    const SkinPropertyKey key = index.data(KeyRole).value<SkinPropertyKey>();
    if (m_theme) {
        const unsigned int id = index.data(IdRole).toUInt();
        m_theme->removeSkinImageReference(key, id);
        bool stillUsed = false;
        for (const auto& [otherKey, ids] : m_theme->getSkinImageReferences())
            stillUsed = stillUsed || ids.count(id) > 0;
        if (!stillUsed)
            m_theme->removeSkinImage(id);
    }
    itemFromIndex(findSkinIndex(key))->removeRow(index.row());
}
