#pragma once

#include <QPixmap>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

class EditTheme;

namespace Velmora {
class Theme;
}

// One image store of a theme as a list for item views — page backgrounds, icons or control
// images, chosen by the kind — and the way images are added to and removed from that store,
// so that the store and the rows stay in step. One row per stored image, in the store's id
// order, in column 0 and without text:
// - IdRole (Qt::UserRole): the image id (uint); NoImage for a row added while no theme is
//   attached;
// - PathRole: the source file path of a row added from a file, empty otherwise;
// - OrientationRole: a Velmora::Orientation (int): the stored image's orientation, the given
//   one for rows made from bytes, 0 (any) for rows added from files;
// - Qt::DecorationRole: the image at two sizes (icons stretched to 18x18 and 24x24, page
//   backgrounds fitted in 30x18 and 240x136, control images in 30x18 and 120x44). Rows filled
//   from a theme decode their picture the first time it is asked for.
//
// The theme is not owned and must outlive every operation that reaches it; it may be null.
class ThemeImageModel : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Kind
    {
        PageBackgrounds = 0,
        Icons = 1,
        ControlImages = 2
    };
    enum Role
    {
        IdRole = Qt::UserRole,
        PathRole = Qt::UserRole + 1,
        OrientationRole = Qt::UserRole + 2
    };
    static constexpr unsigned int NoImage = 0xFFFFFFFF;

    // Any kind other than 0 and 1 shows the control images (and gets an empty icon when it is
    // not 2). Fills the rows from the theme when one is given.
    ThemeImageModel(int kind, Velmora::Theme* theme, QObject* parent);
    ~ThemeImageModel() override;

    int kind() const { return m_kind; }
    Velmora::Theme* theme() const { return m_theme; }

    // Attaches the theme (not null) and rebuilds every row from it.
    void setTheme(Velmora::Theme* theme);
    // Rebuilds the rows from the theme bundle at the path, read into a temporary theme; the
    // attached theme stays, so later additions still go to it. An unreadable bundle, or one
    // there is not the memory to read, gives no rows.
    void setThemeFile(const QString& path);

    // The row of an image file: the row already holding the path; else, with a theme, the
    // file is added to the store, which gives the id of an image of equal bytes when it holds
    // one, and that id's row is returned when there is one; else a new last row. Null only
    // when the theme's store is full. A file that cannot be read or decoded still gets a row
    // (with an empty icon) and is stored as the store stores it. A file there is not the
    // memory to read throws std::bad_alloc, with the theme and the rows as they were.
    QStandardItem* addImageFile(const QString& path);
    // Stores the bytes as a new image (no search for an equal one; page backgrounds with the
    // orientation) and makes its row, without a path, at the row (appended when below 0).
    // Null only when the theme's store is full.
    QStandardItem* addImageData(const QByteArray& data, int orientation, int row);
    // Erases the image of the index's row from the attached theme's store (which must hold
    // it) and removes the row.
    bool removeImage(const QModelIndex& index);

    // The first row holding the path or the id; invalid when none does.
    QModelIndex findFilePath(const QString& path) const;
    QModelIndex findImage(unsigned int id) const;

    QMap<int, QVariant> itemData(const QModelIndex& index) const override;

    // The picture of an image file, read as a theme reads it (through the regular-file rule:
    // a FIFO in the file's place never blocks) and decoded from its bytes; null when it cannot
    // be read or decoded.
    static QPixmap filePixmap(const QString& path);

private:
    void fill(const Velmora::Theme* theme);
    static void setRowData(QStandardItem* item, unsigned int id, const QString& path,
                           int orientation);
    QStandardItem* createImageRow(unsigned int id, const QString& path, int orientation,
                                  const QPixmap& pixmap, int row);

    int m_kind;
    Velmora::Theme* m_theme;
};

// The image model of the theme editor over its editable theme, which also hands out the
// stored bytes of a row's image, as the image commands keep them while a row is taken out.
class EditThemeImageModel : public ThemeImageModel
{
    Q_OBJECT

public:
    EditThemeImageModel(int kind, EditTheme* theme, QObject* parent);

    EditTheme* editTheme() const { return m_editTheme; }
    // The stored bytes of the image of the row's id, which the store must hold.
    const QByteArray& imageData(const QModelIndex& index) const;

private:
    EditTheme* m_editTheme;
};

// Shows the rows of a page-background model that fit an orientation: with filter 1
// (landscape) or 2 (portrait), the rows of that orientation and those of orientation 0, which
// fit both; with filter 0 every row.
class ThemeImageProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ThemeImageProxyModel(QObject* parent = nullptr);

    int orientationFilter() const { return m_orientationFilter; }
    void setOrientationFilter(int orientation);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    int m_orientationFilter = 0;
};
