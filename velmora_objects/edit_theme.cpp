#include "velmora_objects/edit_theme.h"

#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/theme_image_limits.h"
#include "velmora_objects/theme_reader.h"

#include <QCoreApplication>
#include <QImage>

using namespace Velmora;

namespace {

bool holdsDigest(const Theme::ImageStore& store, const QByteArray& md5)
{
    for (const ImageData& stored : store) {
        if (stored.getMd5() == md5)
            return true;
    }
    return false;
}

bool decodes(const ImageData& image)
{
    return !image.getData().isEmpty() && !QImage::fromData(image.getData()).isNull();
}

} // namespace

EditTheme::EditTheme(const Theme& theme) : Theme(theme) {}

EditTheme::EditTheme(const QString& bundlePath) : Theme(bundlePath) {}

EditTheme::~EditTheme() = default;

SkinSet* EditTheme::skinSet(ThemedItemType itemType, bool create)
{
    SkinSet* set = getSkinSet(itemType);
    if (set || !create)
        return set;
    setSkinSet(smart_ptr<SkinSet>(new SkinSet(itemType)));
    return getSkinSet(itemType);
}

bool EditTheme::addSkin(smart_ptr<Skin>& skin)
{
    if (!skin)
        return false;
    SkinSet* set = skinSet(skin->getItemType(), true);
    if (set->getSkin(skin->getName(), false))
        return false;
    set->addSkin(skin);
    return true;
}

void EditTheme::removeSkin(ThemedItemType itemType, const QString& name)
{
    if (SkinSet* set = getSkinSet(itemType))
        set->removeSkin(name);
}

bool EditTheme::createSkin(ThemedItemType itemType, const QString& name)
{
    SkinSet* set = skinSet(itemType, true);
    if (set->getSkin(name, false))
        return false;
    Skin* skin = set->getSkin(name, true);
    const SkinProperties* table = SkinProperties::getSkinProperties(itemType);
    if (!table)
        return true;

    // A default-skin name that names no skin of the set counts as no default skin.
    const Skin* defaultSkin = nullptr;
    const auto iDefault = getDefaultSkins().find(itemType);
    if (iDefault != getDefaultSkins().end())
        defaultSkin = set->getSkin(iDefault->second, false);

    for (const auto& [key, row] : *table) {
        if (skin->hasProperty(key))
            continue;
        const SkinProperty* source = defaultSkin ? defaultSkin->getProperty(key) : nullptr;
        smart_ptr<SkinProperty> property(SkinProperty::create(row->getType()));
        property->copyFrom(source ? *source : *row);
        skin->setProperty(property);
    }
    return true;
}

bool EditTheme::duplicateSkin(ThemedItemType itemType, const QString& name, QString& newName)
{
    SkinSet* set = getSkinSet(itemType);
    const Skin* skin = set ? set->getSkin(name, false) : nullptr;
    if (!skin)
        return false;
    newName = QCoreApplication::translate("EditTheme", "Copy of %1").arg(name);
    for (int n = 2; set->getSkin(newName, false); ++n)
        newName =
            QCoreApplication::translate("EditTheme", "Copy %1 of %2").arg(QString::number(n), name);
    smart_ptr<Skin> copy(new Skin(*skin));
    copy->setName(newName);
    set->addSkin(copy);
    return true;
}

void EditTheme::setDefaultItemProperty(ThemedItemType itemType, const QString& propertyName,
                                       const QVariant& value)
{
    if (value.isValid()) {
        Theme::setDefaultItemProperty(itemType, propertyName, value);
        return;
    }
    const auto iType = defaultItemProperties.find(itemType);
    if (iType == defaultItemProperties.end())
        return;
    iType->second.erase(propertyName);
    if (iType->second.empty())
        defaultItemProperties.erase(iType);
}

bool EditTheme::containsImageFile(const QString& path, const ImageStore& store)
{
    ImageData image;
    image.loadFromFile(path);
    return holdsDigest(store, image.getMd5());
}

bool EditTheme::hasPageBackground(const QString& path) const
{
    return containsImageFile(path, pageBackgroundImages);
}

bool EditTheme::hasIcon(const QString& path) const
{
    return containsImageFile(path, icons);
}

bool EditTheme::isImageFile(const QString& path)
{
    if (!ThemeImageLimits::fileFault(path).isEmpty())
        return false;
    ImageData image;
    image.loadFromFile(path);
    return decodes(image);
}

EditTheme::ImageFiles EditTheme::sortImageFiles(const QStringList& paths, const ImageStore& store,
                                                qint64 room)
{
    ImageFiles files;
    for (const QString& path : paths) {
        // The bounds first: a picture too large to decode is too large, not unreadable.
        const ThemeImageLimits::FileFault fault = ThemeImageLimits::fileFault(path);
        if (!fault.refusal.isEmpty()) {
            files.notRegularFiles.append({path, fault.refusal});
            continue;
        }
        if (!fault.bound.isEmpty()) {
            files.tooLargeFiles.append({path, fault.bound});
            continue;
        }
        ImageData image;
        image.loadFromFile(path);
        if (!decodes(image)) {
            files.unreadableFiles.append(path);
        } else if (holdsDigest(store, image.getMd5())) {
            files.storedFiles.append(path);
        } else if (image.getData().size() > room) {
            files.tooLargeFiles.append(
                {path, QCoreApplication::translate("EditTheme",
                                                   "with the theme's other images more than the "
                                                   "%1 bytes a theme bundle may hold")
                           .arg(ThemeReader::limits().totalSize)});
        } else {
            room -= image.getData().size();
            files.newFiles.append(path);
        }
    }
    return files;
}

qint64 EditTheme::imageBytes() const
{
    qint64 bytes =
        getSplashBytes(Orientation_LANDSCAPE).size() + getSplashBytes(Orientation_PORTRAIT).size();
    for (const ImageStore* store : {&pageBackgroundImages, &icons, &controlImages, &skinImages}) {
        for (const ImageData& image : *store)
            bytes += image.getData().size();
    }
    return bytes;
}

const QByteArray& EditTheme::pageBackgroundData(unsigned int id) const
{
    return pageBackgroundImages[id].getData();
}

const QByteArray& EditTheme::iconData(unsigned int id) const
{
    return icons[id].getData();
}

const QByteArray& EditTheme::controlImageData(unsigned int id) const
{
    return controlImages[id].getData();
}

const QByteArray& EditTheme::skinImageData(unsigned int id) const
{
    return skinImages[id].getData();
}
