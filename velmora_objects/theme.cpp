#include "velmora_objects/theme.h"

#include "core/assertion.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/skin.h"

#include <QBuffer>
#include <QImageWriter>
#include <exception>
#include <new>

namespace Velmora {

namespace {

// The first bytes of every PNG file.
constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";

} // namespace

Theme::Theme(const QString& bundlePath)
    : pageBackgroundImages(PageBackgroundStep, PageBackgroundMaximum),
      icons(ImageStep, ImageMaximum), controlImages(ImageStep, ImageMaximum),
      skinImages(ImageStep, ImageMaximum)
{
    if (bundlePath.isEmpty())
        return;
    try {
        readBundle(bundlePath, nullptr);
    } catch (const std::bad_alloc&) {
        // What was read of a bundle there was not the memory for is no theme to go on with.
        throw;
    } catch (const std::exception&) {
        // The result of loading is not reported: the theme keeps what was read.
    }
    dropStaleDefaultSkins();
}

Theme::Theme(const Theme& other)
    : name(other.name), landscapeSplash(other.landscapeSplash),
      portraitSplash(other.portraitSplash), pageBackgroundImages(other.pageBackgroundImages),
      icons(other.icons), controlImages(other.controlImages), skinImages(other.skinImages),
      skinImageReferences(other.skinImageReferences), defaultSkins(other.defaultSkins),
      defaultItemProperties(other.defaultItemProperties)
{
    for (const auto& [itemType, skinSet] : other.skinSets) {
        if (skinSet)
            skinSets[itemType] = smart_ptr<SkinSet>(new SkinSet(*skinSet));
    }
}

Theme::~Theme() = default;

const QImage& Theme::SplashImage::image() const
{
    if (!m_decoded) {
        m_image = QImage::fromData(m_bytes, "PNG");
        m_decoded = true;
    }
    return m_image;
}

const QByteArray& Theme::SplashImage::bytes() const
{
    if (!m_encoded) {
        // The form Qt's data stream gives an image: a PNG file at the default settings.
        QBuffer buffer(&m_bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, "png").write(m_image))
            m_bytes.clear();
        m_encoded = true;
    }
    return m_bytes;
}

void Theme::SplashImage::setImage(const QImage& image)
{
    m_image = image;
    m_decoded = true;
    m_bytes.clear();
    m_encoded = image.isNull();
}

void Theme::SplashImage::setBytes(const QByteArray& bytes)
{
    if (bytes.startsWith(QByteArrayView(PngSignature, 8))) {
        m_bytes = bytes;
        m_encoded = true;
        m_image = QImage();
        m_decoded = false;
    } else {
        setImage(bytes.isEmpty() ? QImage() : QImage::fromData(bytes));
    }
}

void Theme::setSplashImage(Orientation orientation, const QImage& image)
{
    (orientation == Orientation_LANDSCAPE ? landscapeSplash : portraitSplash).setImage(image);
}

const QByteArray& Theme::getSplashBytes(Orientation orientation) const
{
    return (orientation == Orientation_LANDSCAPE ? landscapeSplash : portraitSplash).bytes();
}

void Theme::setSplashBytes(Orientation orientation, const QByteArray& bytes)
{
    (orientation == Orientation_LANDSCAPE ? landscapeSplash : portraitSplash).setBytes(bytes);
}

unsigned int Theme::addImageFile(const QString& filePath, ImageStore& store)
{
    smart_ptr<ImageData> image(new ImageData);
    image->loadFromFile(filePath);
    for (const ImageData& stored : store) {
        if (stored.getMd5() == image->getMd5())
            return stored.getId();
    }
    // A full store leaves the image with the smart_ptr, which deletes it.
    return store.insert(image, NoImageId);
}

unsigned int Theme::addImageData(ImageStore& store, const QByteArray& bytes, int orientation)
{
    smart_ptr<ImageData> image(new ImageData);
    image->setData(bytes);
    image->setOrientation(orientation);
    return store.insert(image, NoImageId);
}

unsigned int Theme::addPageBackgroundImage(const QString& filePath)
{
    return addImageFile(filePath, pageBackgroundImages);
}

unsigned int Theme::addIcon(const QString& filePath)
{
    return addImageFile(filePath, icons);
}

unsigned int Theme::addControlImage(const QString& filePath)
{
    return addImageFile(filePath, controlImages);
}

unsigned int Theme::addSkinImage(const QString& filePath)
{
    return addImageFile(filePath, skinImages);
}

unsigned int Theme::addPageBackgroundImageData(const QByteArray& bytes, int orientation)
{
    return addImageData(pageBackgroundImages, bytes, orientation);
}

unsigned int Theme::addIconData(const QByteArray& bytes)
{
    return addImageData(icons, bytes, Orientation_ANY);
}

unsigned int Theme::addControlImageData(const QByteArray& bytes)
{
    return addImageData(controlImages, bytes, Orientation_ANY);
}

unsigned int Theme::addSkinImageData(const QByteArray& bytes)
{
    return addImageData(skinImages, bytes, Orientation_ANY);
}

void Theme::removePageBackgroundImage(unsigned int id)
{
    pageBackgroundImages.erase(id);
}

void Theme::removeIcon(unsigned int id)
{
    icons.erase(id);
}

void Theme::removeControlImage(unsigned int id)
{
    controlImages.erase(id);
}

void Theme::removeSkinImage(unsigned int id)
{
    skinImages.erase(id);
}

QPixmap Theme::pixmapOf(const ImageStore& store, unsigned int id)
{
    QPixmap pixmap;
    if (store.exists(id))
        pixmap.loadFromData(store[id].getData());
    return pixmap;
}

QPixmap Theme::getPageBackgroundPixmap(unsigned int id) const
{
    return pixmapOf(pageBackgroundImages, id);
}

QPixmap Theme::getIconPixmap(unsigned int id) const
{
    const QPixmap pixmap = pixmapOf(icons, id);
    if (pixmap.isNull())
        return pixmap;
    return pixmap.scaled(IconSize, IconSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QPixmap Theme::getControlImagePixmap(unsigned int id) const
{
    return pixmapOf(controlImages, id);
}

QPixmap Theme::getSkinImagePixmap(unsigned int id) const
{
    return pixmapOf(skinImages, id);
}

void Theme::addSkinImageReference(const SkinPropertyKey& key, unsigned int imageId)
{
    skinImageReferences[key].insert(imageId);
}

void Theme::removeSkinImageReference(const SkinPropertyKey& key, unsigned int imageId)
{
    const auto it = skinImageReferences.find(key);
    if (it == skinImageReferences.end())
        return;
    it->second.erase(imageId);
    if (it->second.empty())
        skinImageReferences.erase(it);
}

const SkinSet* Theme::getSkinSet(ThemedItemType itemType) const
{
    const auto it = skinSets.find(itemType);
    return it == skinSets.end() ? nullptr : it->second.get();
}

SkinSet* Theme::getSkinSet(ThemedItemType itemType)
{
    const auto it = skinSets.find(itemType);
    return it == skinSets.end() ? nullptr : it->second.get();
}

void Theme::setSkinSet(smart_ptr<SkinSet> skinSet)
{
    if (!skinSet)
        return;
    smart_ptr<SkinSet>& slot = skinSets[skinSet->getItemType()];
    if (slot.get() == skinSet.get()) {
        skinSet.release();
        return;
    }
    slot = skinSet;
}

const Skin* Theme::findSkin(ThemedItemType itemType, const QString& skinName) const
{
    const SkinSet* skinSet = getSkinSet(itemType);
    return skinSet ? skinSet->getSkin(skinName) : nullptr;
}

Skin* Theme::findSkin(ThemedItemType itemType, const QString& skinName)
{
    SkinSet* skinSet = getSkinSet(itemType);
    return skinSet ? skinSet->getSkin(skinName, false) : nullptr;
}

const Skin* Theme::getDefaultSkin(ThemedItemType itemType) const
{
    const auto iName = defaultSkins.find(itemType);
    if (iName == defaultSkins.end())
        return nullptr;
    const SkinSet* skinSet = getSkinSet(itemType);
    if (!skinSet)
        return nullptr;
    const SkinSet::SkinMap& skins = skinSet->getSkins();
    const auto iSkin = skins.find(iName->second);
    VELMORA_ASSERT(iSkin != skins.end());
    return iSkin->second.get();
}

Skin* Theme::getDefaultSkin(ThemedItemType itemType)
{
    return const_cast<Skin*>(static_cast<const Theme*>(this)->getDefaultSkin(itemType));
}

void Theme::setDefaultSkin(ThemedItemType itemType, const QString& skinName)
{
    defaultSkins[itemType] = skinName;
}

void Theme::clearDefaultSkin(ThemedItemType itemType)
{
    defaultSkins.erase(itemType);
}

int Theme::dropStaleDefaultSkins()
{
    int dropped = 0;
    for (auto it = defaultSkins.begin(); it != defaultSkins.end();) {
        if (findSkin(it->first, it->second)) {
            ++it;
        } else {
            it = defaultSkins.erase(it);
            ++dropped;
        }
    }
    return dropped;
}

QVariant Theme::getDefaultItemProperty(ThemedItemType itemType, const QString& propertyName) const
{
    const auto iType = defaultItemProperties.find(itemType);
    if (iType == defaultItemProperties.end())
        return QVariant();
    const auto iValue = iType->second.find(propertyName);
    return iValue == iType->second.end() ? QVariant() : iValue->second;
}

void Theme::setDefaultItemProperty(ThemedItemType itemType, const QString& propertyName,
                                   const QVariant& value)
{
    defaultItemProperties[itemType][propertyName] = value;
}

bool Themed::defaultFromTheme(const Theme* theme, const Theme* previous, ThemedItemType itemType,
                              const QString& name, const QVariant& current, QVariant& result)
{
    result = theme->getDefaultItemProperty(itemType, name);
    if (!result.isValid())
        return false;
    if (!previous)
        return true;
    const QVariant previousDefault = previous->getDefaultItemProperty(itemType, name);
    return previousDefault.isValid() && previousDefault == current;
}

} // namespace Velmora
