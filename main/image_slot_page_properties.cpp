#include "main/image_slot_page_properties.h"

#include "appengine/theme_image_model.h"
#include "appengine/theme_skin_image_model.h"
#include "gui/backdrop_icon_model.h"
#include "gui/property_model.h"
#include "main/project_access.h"
#include "main/velmora_document.h"
#include "velmora_objects/theme_image_limits.h"

#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QStandardItem>
#include <QStyleOption>
#include <climits>
#include <new>
#include <set>

namespace {

QComboBox* newCombo(QWidget* parent, const QObject* receiver, const char* member)
{
    auto* combo = new QComboBox(parent);
    if (receiver && member)
        QObject::connect(combo, SIGNAL(activated(int)), receiver, member);
    return combo;
}

// The current row's data in the role; invalid when no row is current.
QVariant currentData(QWidget* editor, int role)
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo || combo->currentIndex() < 0)
        return QVariant();
    return combo->itemData(combo->currentIndex(), role);
}

// Makes current the first row whose data in the role equals the value; none when no row does
// or the value is unset.
void selectData(QWidget* editor, const QVariant& value, int role)
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo)
        combo->setCurrentIndex(value.isValid() ? combo->findData(value, role) : -1);
}

} // namespace

// Image properties.

ImageProperty::ImageProperty(Property* parent, const QSize& thumbnailSize,
                             const QSize& listIconSize)
    : Property(parent), thumbnailSize(thumbnailSize), listIconSize(listIconSize)
{
}

bool ImageProperty::reset()
{
    if (value().toUInt() == NoImage)
        return false;
    setValue(QVariant(NoImage));
    return true;
}

bool ImageProperty::paint(QPainter* painter, const QStyleOption& option) const
{
    const QVariant stored = value();
    if (!stored.isValid())
        return true;
    const QModelIndex row = findImage(stored.toUInt());
    if (!row.isValid())
        return true;
    const QPixmap thumbnail = qvariant_cast<QIcon>(row.data(Qt::DecorationRole))
                                  .pixmap(thumbnailSize, QIcon::Normal, QIcon::On);
    painter->drawPixmap(option.rect.left() + 1, option.rect.top() + 1, shownThumbnail(thumbnail));
    return true;
}

QWidget* ImageProperty::createEditor(QWidget* parent, const QObject* receiver,
                                     const char* member) const
{
    QComboBox* combo = newCombo(parent, receiver, member);
    combo->setIconSize(listIconSize);
    showImages(combo);
    return combo;
}

void ImageProperty::setEditorData(QWidget* editor) const
{
    selectData(editor, value(), Qt::UserRole);
}

QVariant ImageProperty::valueFromEditor(QWidget* editor) const
{
    return currentData(editor, Qt::UserRole);
}

void ImageProperty::showMoreEditor(QWidget* parent)
{
    if (!hasStore())
        return;
    const QStringList files = ProjectAccess::askImageFiles(fileDialogTitle(), true, parent);
    // The question may have run an event loop: check the store again before adding to it.
    if (files.isEmpty() || !hasStore())
        return;
    const QStandardItem* item = nullptr;
    try {
        if (!acceptsImageFile(files.first(), fileDialogTitle(), parent))
            return;
        item = addImageFile(files.first());
    } catch (const std::bad_alloc&) {
        refuseForMemory(files.first(), fileDialogTitle(), parent);
        return;
    }
    if (item && model())
        model()->setData(index(1), QVariant(item->data(Qt::UserRole).toUInt()), Qt::EditRole);
}

bool ImageProperty::acceptsImageFile(const QString& path, const QString& title, QWidget* parent)
{
    // An image that a theme bundle could not carry would make the theme unreadable once saved.
    const ThemeImageLimits::FileFault fault = ThemeImageLimits::fileFault(path);
    if (fault.isEmpty())
        return true;
    const QString file = QDir::toNativeSeparators(path);
    QMessageBox::warning(
        parent, title,
        fault.refusal.isEmpty()
            ? QObject::tr("%1 is too large for a theme: %2.").arg(file, fault.bound)
            : QObject::tr("%1 cannot be read as an image: %2.").arg(file, fault.refusal),
        QMessageBox::Ok);
    return false;
}

void ImageProperty::refuseForMemory(const QString& path, const QString& title, QWidget* parent)
{
    // What the read had taken is free again: the message fits.
    QMessageBox::warning(
        parent, title,
        QObject::tr("There is not enough memory to read %1.").arg(QDir::toNativeSeparators(path)),
        QMessageBox::Ok);
}

// The document's image lists.

ProjectImageProperty::ProjectImageProperty(Property* parent, int kind, const QSize& thumbnailSize,
                                           const QSize& listIconSize)
    : ImageProperty(parent, thumbnailSize, listIconSize), kind(kind)
{
}

ThemeImageModel* ProjectImageProperty::imageModel() const
{
    const VelmoraDocument* document = ProjectAccess::currentDocument();
    if (!document)
        return nullptr;
    switch (kind) {
    case ThemeImageModel::PageBackgrounds:
        return document->backgroundImageModel();
    case ThemeImageModel::Icons:
        return document->iconModel();
    default:
        return document->controlImageModel();
    }
}

QModelIndex ProjectImageProperty::findImage(unsigned int id) const
{
    const ThemeImageModel* images = imageModel();
    return images ? images->findImage(id) : QModelIndex();
}

void ProjectImageProperty::showImages(QComboBox* combo) const
{
    if (ThemeImageModel* images = imageModel())
        combo->setModel(images);
}

QStandardItem* ProjectImageProperty::addImageFile(const QString& path)
{
    ThemeImageModel* images = imageModel();
    return images ? images->addImageFile(path) : nullptr;
}

BackgroundImageProperty::BackgroundImageProperty(Property* parent)
    : ProjectImageProperty(parent, ThemeImageModel::PageBackgrounds, QSize(30, 18), QSize(30, 18))
{
}

QString BackgroundImageProperty::fileDialogTitle() const
{
    return QObject::tr("Background Image");
}

void BackgroundImageProperty::showImages(QComboBox* combo) const
{
    ThemeImageModel* images = imageModel();
    if (!images)
        return;
    // The filter lives as long as the combo box that shows it.
    auto* fitting = new ThemeImageProxyModel(combo);
    fitting->setSourceModel(images);
    fitting->setOrientationFilter(ProjectAccess::currentDocument()->getOrientation());
    combo->setModel(fitting);
}

IconProperty::IconProperty(Property* parent)
    : ProjectImageProperty(parent, ThemeImageModel::Icons, QSize(18, 18), QSize(24, 24))
{
}

QString IconProperty::fileDialogTitle() const
{
    return QObject::tr("Icon");
}

void IconProperty::showImages(QComboBox* combo) const
{
    ThemeImageModel* images = imageModel();
    if (!images)
        return;
    // The backdrops live as long as the combo box that shows them.
    auto* shown = new BackdropIconModel(combo);
    shown->setSourceModel(images);
    combo->setModel(shown);
}

QPixmap IconProperty::shownThumbnail(const QPixmap& thumbnail) const
{
    return onContrastingBackdrop(thumbnail);
}

ControlImageProperty::ControlImageProperty(Property* parent)
    : ProjectImageProperty(parent, ThemeImageModel::ControlImages, QSize(30, 18), QSize(30, 18))
{
}

QString ControlImageProperty::fileDialogTitle() const
{
    return QObject::tr("Control Image");
}

// Skin images.

SkinImageProperty::SkinImageProperty(ThemeSkinImageModel* skinImageModel, Property* parent)
    : ImageProperty(parent, QSize(30, 18), QSize(30, 18)), skinImageModel(skinImageModel)
{
}

QString SkinImageProperty::fileDialogTitle() const
{
    return QObject::tr("Image");
}

QModelIndex SkinImageProperty::findImage(unsigned int id) const
{
    return skinImageModel ? skinImageModel->imageIndex(key, id) : QModelIndex();
}

void SkinImageProperty::showImages(QComboBox* combo) const
{
    if (!skinImageModel)
        return;
    combo->setModel(skinImageModel);
    combo->setRootModelIndex(skinImageModel->skinIndex(key));
}

QStandardItem* SkinImageProperty::addImageFile(const QString& path)
{
    return skinImageModel ? skinImageModel->addImageFile(path, key) : nullptr;
}

// IR slots.

bool IRSlotProperty::reset()
{
    setValue(QVariant(Unassigned));
    return true;
}

QString IRSlotProperty::toText() const
{
    const QVariant stored = value();
    if (!stored.isValid())
        return QString();
    const unsigned char slot = static_cast<unsigned char>(stored.toUInt());
    if (slot > 254)
        return QObject::tr("Unassigned");
    return QObject::tr("Slot %1").arg(slot + 1);
}

QWidget* IRSlotProperty::createEditor(QWidget* parent, const QObject* receiver,
                                      const char* member) const
{
    return newCombo(parent, receiver, member);
}

void IRSlotProperty::setEditorData(QWidget* editor) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        return;
    const VelmoraDocument* document = ProjectAccess::currentDocument();
    std::set<unsigned char> offered =
        document ? document->freeIRSlots() : std::set<unsigned char>();
    const QVariant stored = value();
    const unsigned int current = stored.isValid() ? (stored.toUInt() & 0xFF) : Unassigned;
    // The control's own slot is in use by itself, and stays on offer.
    if (current != Unassigned)
        offered.insert(static_cast<unsigned char>(current));
    combo->clear();
    int currentRow = -1;
    for (const unsigned char slot : offered) {
        if (slot == current)
            currentRow = combo->count();
        combo->addItem(QObject::tr("Slot %1").arg(slot + 1), QVariant(int(slot)));
    }
    combo->setCurrentIndex(currentRow);
}

QVariant IRSlotProperty::valueFromEditor(QWidget* editor) const
{
    return currentData(editor, Qt::UserRole);
}

// Pages.

QString PageProperty::toText() const
{
    const QVariant stored = value();
    const VelmoraDocument* document = ProjectAccess::currentDocument();
    if (!stored.isValid() || !document)
        return QString();
    const unsigned int pageId = stored.toUInt();
    if (pageId == UINT_MAX || !document->pageExists(pageId))
        return QString();
    return document->getPage(pageId).getName();
}

QWidget* PageProperty::createEditor(QWidget* parent, const QObject* receiver,
                                    const char* member) const
{
    QComboBox* combo = newCombo(parent, receiver, member);
    if (const VelmoraDocument* document = ProjectAccess::currentDocument())
        combo->setModel(document->pageModel());
    return combo;
}

void PageProperty::setEditorData(QWidget* editor) const
{
    selectData(editor, value(), VelmoraDocument::PageIdRole);
}

QVariant PageProperty::valueFromEditor(QWidget* editor) const
{
    return currentData(editor, VelmoraDocument::PageIdRole);
}
