#include "appengine/theme_image_model.h"

#include "velmora_objects/edit_theme.h"

#include <QModelRoleDataSpan>
#include <memory>
#include <new>

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

// The icon of a row at the two sizes of its kind; empty for a picture that did not decode.
QIcon iconOf(int kind, const QPixmap& pixmap)
{
    QIcon icon;
    const IconSizes* sizes = iconSizesOf(kind);
    if (!sizes || pixmap.isNull())
        return icon;
    for (const QSize& size : {sizes->small, sizes->large})
        icon.addPixmap(pixmap.scaled(size, sizes->aspect, Qt::FastTransformation));
    return icon;
}

// A row of a stored image whose icon is decoded from the image's bytes only when it is first
// asked for: opening a project then costs no decoding, and a list decodes the rows it shows.
// The bytes are shared with the store (no copy) and let go of once decoded. Setting the
// decoration from outside replaces the pending picture as it would any value.
class StoredImageItem : public QStandardItem
{
public:
    StoredImageItem(int kind, const QByteArray& bytes) : kind(kind), bytes(bytes), pending(true) {}

    QVariant data(int role) const override
    {
        if (role == Qt::DecorationRole && pending)
            return decoded();
        return QStandardItem::data(role);
    }

    void multiData(QModelRoleDataSpan roleDataSpan) const override
    {
        QStandardItem::multiData(roleDataSpan);
        if (!pending)
            return;
        if (QVariant* decoration = roleDataSpan.dataForRole(Qt::DecorationRole))
            *decoration = decoded();
    }

    void setData(const QVariant& value, int role) override
    {
        if (role == Qt::DecorationRole)
            dropPending();
        QStandardItem::setData(value, role);
    }

private:
    QVariant decoded() const
    {
        if (icon.isNull() && !bytes.isEmpty()) {
            QPixmap pixmap;
            pixmap.loadFromData(bytes);
            // Icons are stored at any size and shown as the theme shows them, at 24 x 24.
            if (kind == ThemeImageModel::Icons && !pixmap.isNull())
                pixmap = pixmap.scaled(Theme::IconSize, Theme::IconSize, Qt::IgnoreAspectRatio,
                                       Qt::FastTransformation);
            icon = iconOf(kind, pixmap);
            bytes = QByteArray();
        }
        return icon;
    }

    void dropPending()
    {
        pending = false;
        icon = QIcon();
        bytes = QByteArray();
    }

    const int kind;
    // The stored bytes until they are decoded, and the icon made from them.
    mutable QByteArray bytes;
    mutable QIcon icon;
    bool pending;
};

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
    // A bundle there is not the memory to read gives no rows, as one that cannot be read does.
    std::unique_ptr<Theme> theme;
    try {
        theme = std::make_unique<Theme>(path);
    } catch (const std::bad_alloc&) {
    }
    fill(theme.get());
}

void ThemeImageModel::fill(const Theme* theme)
{
    clear();
    setColumnCount(1);
    if (!theme)
        return;
    // The rows are made together and added at once; their pictures wait until they are shown.
    QList<QStandardItem*> rows;
    rows.reserve(qsizetype(storeOf(*theme, m_kind).size()));
    for (const Velmora::ImageData& image : storeOf(*theme, m_kind)) {
        auto item = new StoredImageItem(m_kind, image.getData());
        setRowData(item, image.getId(), QString(), image.getOrientation());
        rows.append(item);
    }
    invisibleRootItem()->appendRows(rows);
}

QMap<int, QVariant> ThemeImageModel::itemData(const QModelIndex& index) const
{
    // A picture still waiting to be decoded belongs to the row's data all the same.
    QMap<int, QVariant> values = QStandardItemModel::itemData(index);
    if (!values.isEmpty() && !values.contains(Qt::DecorationRole))
        values.insert(Qt::DecorationRole, data(index, Qt::DecorationRole));
    return values;
}

void ThemeImageModel::setRowData(QStandardItem* item, unsigned int id, const QString& path,
                                 int orientation)
{
    item->setData(id, IdRole);
    item->setData(path, PathRole);
    item->setData(orientation, OrientationRole);
}

QStandardItem* ThemeImageModel::createImageRow(unsigned int id, const QString& path,
                                               int orientation, const QPixmap& pixmap, int row)
{
    auto item = new QStandardItem;
    setRowData(item, id, path, orientation);
    item->setData(iconOf(m_kind, pixmap), Qt::DecorationRole);
    if (row < 0)
        appendRow(item);
    else
        insertRow(row, item);
    return item;
}

QPixmap ThemeImageModel::filePixmap(const QString& path)
{
    Velmora::ImageData image;
    image.loadFromFile(path);
    QPixmap pixmap;
    pixmap.loadFromData(image.getData());
    return pixmap;
}

QStandardItem* ThemeImageModel::addImageFile(const QString& path)
{
    const QModelIndex known = findFilePath(path);
    if (known.isValid())
        return itemFromIndex(known);

    // The picture is read before the image is stored: a file there is not the memory for
    // leaves the theme as it was.
    const QPixmap pixmap = filePixmap(path);
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
    return createImageRow(id, path, Velmora::Orientation_ANY, pixmap, -1);
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
