#pragma once

#include "velmora_objects/skin_property_key.h"

#include <QStandardItemModel>

namespace Velmora {
class Theme;
}

// The skin images of a theme grouped by the skin property that uses them, mirroring the
// theme's skin-image references: one top-level key row per Velmora::SkinPropertyKey (item type
// and property name, KeyRole) with one child row per image id the key refers to. Image rows,
// without text, hold:
// - IdRole (Qt::UserRole): the skin-image id (uint); NoImage for a row added while no theme
//   is attached;
// - PathRole: the source file path of a row added from a file, empty otherwise;
// - KeyRole: the key of the parent row;
// - Qt::DecorationRole: the image fitted in 30x18 and in 240x240.
// An image that several keys use has a row under each. Key rows are made on demand (an image
// property's combo box takes the key's row as its root) and never removed.
//
// The theme is not owned and must outlive every operation that reaches it; it may be null.
class ThemeSkinImageModel : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Role
    {
        IdRole = Qt::UserRole,
        PathRole = Qt::UserRole + 1,
        KeyRole = Qt::UserRole + 2
    };
    static constexpr unsigned int NoImage = 0xFFFFFFFF;

    ThemeSkinImageModel(Velmora::Theme* theme, QObject* parent);
    ~ThemeSkinImageModel() override;

    Velmora::Theme* theme() const { return m_theme; }
    // Attaches the theme (not null) and rebuilds every row from its references.
    void setTheme(Velmora::Theme* theme);
    // Rebuilds the rows from the theme bundle at the path, read into a temporary theme; the
    // attached theme stays. A bundle there is not the memory to read gives no rows.
    void setThemeFile(const QString& path);

    // The key's row; invalid when there is none (nothing is created).
    QModelIndex findSkinIndex(const Velmora::SkinPropertyKey& key) const;
    // The key's row, appended when there is none.
    QModelIndex skinIndex(const Velmora::SkinPropertyKey& key);
    // The key's image row holding the path or the id; invalid when there is none.
    QModelIndex findFilePath(const Velmora::SkinPropertyKey& key, const QString& path) const;
    QModelIndex imageIndex(const Velmora::SkinPropertyKey& key, unsigned int id) const;

    // The row of an image file offered for the key: the key's row already holding the path;
    // else, with a theme, the file is added to the skin-image store (which gives the id of an
    // image of equal bytes when it holds one) and the key's reference to the id recorded, and
    // the key's row of that id is returned when there is one; else a new last row under the
    // key. Null only when the theme's store is full. A file there is not the memory to read
    // throws std::bad_alloc, with the theme and the rows as they were.
    QStandardItem* addImageFile(const QString& path, const Velmora::SkinPropertyKey& key);
    // Stores the bytes as a new skin image referred to by the key (no search for an equal
    // one) and makes its row, without a path, at the row under the key (appended when below
    // 0). Null only when the theme's store is full.
    QStandardItem* addImageData(const QByteArray& data, const Velmora::SkinPropertyKey& key,
                                int row);
    // Drops the key's reference to the image of the image row and removes the row. The image
    // leaves the store only when no other key still refers to it.
    void removeImage(const QModelIndex& index);

private:
    void fill(const Velmora::Theme* theme);
    QStandardItem* createImageRow(unsigned int id, const QString& path,
                                  const Velmora::SkinPropertyKey& key, const QPixmap& pixmap,
                                  int row);
    QModelIndex findChild(const Velmora::SkinPropertyKey& key, int role,
                          const QVariant& value) const;

    Velmora::Theme* m_theme;
};
