#pragma once

#include "gui/property.h"
#include "velmora_objects/skin_property_key.h"

#include <QModelIndex>
#include <QPixmap>
#include <QSize>
#include <QString>

class QComboBox;
class QStandardItem;
class ThemeImageModel;
class ThemeSkinImageModel;

// The property types whose values are ids into the open project or its theme. The project's
// ones read the document through ProjectAccess; with no project open their cells stay empty
// and their lists are empty.

// The id (unsigned int) of an image in one image store of a theme; NoImage for none. Painted
// as the image's thumbnail, picked from a combo box of thumbnails that applies at once, or
// added from an image file through the show-more button. Resetting stores NoImage.
class ImageProperty : public Property
{
public:
    static constexpr unsigned int NoImage = 0xFFFFFFFF;

    bool isResettable() const override { return true; }
    // Stores NoImage and returns true unless the value is NoImage already. An unset value
    // reads as id 0, so resetting it stores NoImage and reports a change.
    bool reset() override;
    QString toText() const override { return QString(); }
    // The image's thumbnail at the row's size, never stretched, its top-left corner 1 px in
    // from the cell's; nothing for an unset value or an id the store no longer holds.
    bool paint(QPainter* painter, const QStyleOption& option) const override;
    bool isEditable() const override { return true; }
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    // Selects the row holding exactly the value; none when no row does.
    void setEditorData(QWidget* editor) const override;
    // The id of the current row; invalid when none is current.
    QVariant valueFromEditor(QWidget* editor) const override;
    bool hasMore() const override { return true; }
    // Asks for one image file and picks its image as an edit of the row (through the model's
    // validator). The store keeps one copy of identical images, so a file chosen again picks
    // the image already stored. A cancel, no store to add to, or a full store changes
    // nothing; a file that acceptsImageFile() refuses is not added, nor one there is not the
    // memory to read (refuseForMemory() says so).
    void showMoreEditor(QWidget* parent) override;

    // Whether the chosen file may go into a theme's image store. A path that names no regular
    // file (a FIFO, a socket, a device, ...) is refused with a warning under the title in the
    // regular-file rule's words, without being opened; an image beyond the bounds of a theme
    // image (ThemeImageLimits) with one that names the bound.
    static bool acceptsImageFile(const QString& path, const QString& title, QWidget* parent);
    // Warns under the title that there is not the memory to read the image file, which was
    // therefore not added.
    static void refuseForMemory(const QString& path, const QString& title, QWidget* parent);

protected:
    ImageProperty(Property* parent, const QSize& thumbnailSize, const QSize& listIconSize);

    // The title of the file question.
    virtual QString fileDialogTitle() const = 0;
    // The row of the id; invalid when there is none or no store.
    virtual QModelIndex findImage(unsigned int id) const = 0;
    // Shows the store's rows in the combo box; leaves it empty when there is no store.
    virtual void showImages(QComboBox* combo) const = 0;
    virtual bool hasStore() const = 0;
    // The row of the file's image, the file added to the store when it is new; null when the
    // store is full.
    virtual QStandardItem* addImageFile(const QString& path) = 0;
    // The thumbnail as the row paints it.
    virtual QPixmap shownThumbnail(const QPixmap& thumbnail) const { return thumbnail; }

private:
    QSize thumbnailSize;
    QSize listIconSize;
};

// An image of one of the document's three theme image lists (ThemeImageModel::Kind).
class ProjectImageProperty : public ImageProperty
{
public:
    // The document's list of this kind; null while no project is open.
    ThemeImageModel* imageModel() const;

protected:
    ProjectImageProperty(Property* parent, int kind, const QSize& thumbnailSize,
                         const QSize& listIconSize);

    QModelIndex findImage(unsigned int id) const override;
    void showImages(QComboBox* combo) const override;
    bool hasStore() const override { return imageModel() != nullptr; }
    QStandardItem* addImageFile(const QString& path) override;

private:
    int kind;
};

// A page's background image. The list offers only the images that fit the project's
// orientation (and those that fit both).
class BackgroundImageProperty : public ProjectImageProperty
{
public:
    explicit BackgroundImageProperty(Property* parent);

protected:
    QString fileDialogTitle() const override;
    void showImages(QComboBox* combo) const override;
};

// A page's icon. The row and the list show each icon on a backdrop that it stands out on: a
// theme's icons are drawn for its panel's backgrounds and may be light glyphs on transparent.
class IconProperty : public ProjectImageProperty
{
public:
    explicit IconProperty(Property* parent);

protected:
    QString fileDialogTitle() const override;
    void showImages(QComboBox* combo) const override;
    QPixmap shownThumbnail(const QPixmap& thumbnail) const override;
};

// A button's image.
class ControlImageProperty : public ProjectImageProperty
{
public:
    explicit ControlImageProperty(Property* parent);

protected:
    QString fileDialogTitle() const override;
};

// An image of the skin images that one skin property uses, for the theme editor. The owner
// sets the key before the row is shown; the list shows the key's images only.
class SkinImageProperty : public ImageProperty
{
public:
    // The model is not owned; it may be null (no store: empty cell, no list, no adding).
    SkinImageProperty(ThemeSkinImageModel* skinImageModel, Property* parent);

    ThemeSkinImageModel* skinImageModel;
    Velmora::SkinPropertyKey key;

protected:
    QString fileDialogTitle() const override;
    QModelIndex findImage(unsigned int id) const override;
    void showImages(QComboBox* combo) const override;
    bool hasStore() const override { return skinImageModel != nullptr; }
    QStandardItem* addImageFile(const QString& path) override;
};

// The IR slot of a control action: 0 to 15, or Unassigned. The list offers the slots no other
// control uses; a slot is given up with the reset button, which stores Unassigned.
class IRSlotProperty : public Property
{
public:
    static constexpr int Unassigned = 255;

    explicit IRSlotProperty(Property* parent) : Property(parent) {}

    bool isResettable() const override { return true; }
    // Stores Unassigned and returns true, also when the slot was unassigned already, so that
    // the owner still hears of it.
    bool reset() override;
    // "Slot <n>" counting from 1, "Unassigned" for a value above 254 (as a byte), empty when
    // unset.
    QString toText() const override;
    bool isEditable() const override { return true; }
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    // Refills the list with the free slots plus the value's own slot, ascending, and selects
    // the value's; nothing is selected when the value is unset or unassigned.
    void setEditorData(QWidget* editor) const override;
    // The slot (int) of the current row; invalid when none is current.
    QVariant valueFromEditor(QWidget* editor) const override;
};

// A page id (unsigned int; UINT_MAX for none), the target of a button's Go To Page function,
// picked from the project's page list. Resetting unsets it.
class PageProperty : public Property
{
public:
    explicit PageProperty(Property* parent) : Property(parent) {}

    bool isResettable() const override { return true; }
    // The page's name; empty when unset, none, or no page of the project has the id.
    QString toText() const override;
    bool isEditable() const override { return true; }
    // Lists the document's page list, in page order.
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    // Selects the page of the value; none when no row has it.
    void setEditorData(QWidget* editor) const override;
    // The page id of the current row; invalid when none is current.
    QVariant valueFromEditor(QWidget* editor) const override;
};
