#pragma once

#include "containers/smart_ptr.h"
#include "containers/sortvector.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/velmora_types.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QVariant>
#include <climits>
#include <map>
#include <set>

namespace Velmora {

class Streamer;

// The look of a designed panel: a name, a splash image per panel orientation, four stores of
// images (page backgrounds, page icons, control images, skin images), the skin set of every
// themed item type, the default skin of each type and the default item properties that new
// pages, page switchers and controls take from it.
//
// A theme owns everything it holds; a copy shares nothing mutable with its source. Pointers
// that the lookups return stay owned by the theme.
class Theme
{
public:
    using ImageStore = sortvector<ImageData>;
    using SkinSetMap = std::map<ThemedItemType, smart_ptr<SkinSet>>;
    using DefaultSkinMap = std::map<ThemedItemType, QString>;
    using ItemPropertyMap = std::map<QString, QVariant>;
    using DefaultItemPropertyMap = std::map<ThemedItemType, ItemPropertyMap>;
    using SkinImageReferenceMap = std::map<SkinPropertyKey, std::set<unsigned int>>;

    // Growth step and maximum number of slots of the image stores.
    static constexpr unsigned int PageBackgroundStep = 64;
    static constexpr unsigned int PageBackgroundMaximum = 256;
    static constexpr unsigned int ImageStep = 256;
    static constexpr unsigned int ImageMaximum = 1024;
    // The id an image operation returns when a store is full.
    static constexpr unsigned int NoImageId = UINT_MAX;
    // Icons are drawn at this size whatever the stored picture's size.
    static constexpr int IconSize = 24;

    // An empty theme, then filled from the theme bundle at the path (see load). An empty path
    // gives an empty theme. A bundle that cannot be opened leaves the theme empty, one that
    // fails half-way leaves what was read; neither is reported. Only a bundle that this process
    // has not the memory to read throws, std::bad_alloc, as any failed allocation does.
    explicit Theme(const QString& bundlePath);
    // A deep copy: images (with their ids), skin sets and skins are copied, not shared.
    Theme(const Theme& other);
    Theme& operator=(const Theme&) = delete;
    virtual ~Theme();

    // Reads the theme bundle at the path into this theme through the bundle reader; false when
    // the bundle cannot be opened or its document is in error, with the reader's reason in
    // `error` when one is given. An empty path always fails. A bundle that this process has
    // not the memory to read fails too, with notEnoughMemoryText() as its reason.
    bool load(const QString& bundlePath, QString* error = nullptr);
    // The reason a theme bundle could not be read for want of memory.
    static QString notEnoughMemoryText();

    const QString& getName() const { return name; }
    void setName(const QString& newName) { name = newName; }

    // A splash picture as the theme keeps it: the bytes of its PNG file exactly as they were
    // read, written back unchanged and decoded only when the picture is asked for; a picture
    // set as an image is encoded (as PNG) only when its bytes are asked for. Either form is made
    // once and kept.
    class SplashImage
    {
    public:
        // The picture, decoded from the bytes on first use; null when they do not decode.
        const QImage& image() const;
        // The PNG file; empty when there is no picture.
        const QByteArray& bytes() const;
        void setImage(const QImage& image);
        // PNG bytes are kept as they are; bytes of another format are decoded at once (and
        // encoded as PNG when asked for); empty bytes remove the picture.
        void setBytes(const QByteArray& bytes);

    private:
        mutable QImage m_image;
        mutable QByteArray m_bytes;
        mutable bool m_decoded = true; // m_image shows the picture
        mutable bool m_encoded = true; // m_bytes holds the picture
    };

    // The splash pictures, decoded when first asked for.
    const QImage& getLandscapeSplash() const { return landscapeSplash.image(); }
    const QImage& getPortraitSplash() const { return portraitSplash.image(); }
    // Orientation_LANDSCAPE sets the landscape splash; any other value the portrait one.
    void setSplashImage(Orientation orientation, const QImage& image);
    // The splash pictures as stored: the bytes of a PNG file, empty for no picture. Setting
    // them keeps PNG bytes unchanged, so that they are written back as they came.
    const QByteArray& getSplashBytes(Orientation orientation) const;
    void setSplashBytes(Orientation orientation, const QByteArray& bytes);

    // The image stores, in id order.
    const ImageStore& getPageBackgroundImages() const { return pageBackgroundImages; }
    const ImageStore& getIcons() const { return icons; }
    const ImageStore& getControlImages() const { return controlImages; }
    const ImageStore& getSkinImages() const { return skinImages; }
    ImageStore& getPageBackgroundImages() { return pageBackgroundImages; }
    ImageStore& getIcons() { return icons; }
    ImageStore& getControlImages() { return controlImages; }
    ImageStore& getSkinImages() { return skinImages; }

    // Adds an image file and returns its id. A file whose bytes the store already holds gives
    // the id of the stored image; a full store gives NoImageId and keeps nothing. A file that
    // cannot be read is stored with empty bytes. The image's orientation is 0.
    unsigned int addPageBackgroundImage(const QString& filePath);
    unsigned int addIcon(const QString& filePath);
    unsigned int addControlImage(const QString& filePath);
    unsigned int addSkinImage(const QString& filePath);

    // Stores the bytes as a new image at the lowest free id, which is returned, without
    // looking for an equal image (NoImageId when the store is full).
    unsigned int addPageBackgroundImageData(const QByteArray& bytes, int orientation);
    unsigned int addIconData(const QByteArray& bytes);
    unsigned int addControlImageData(const QByteArray& bytes);
    unsigned int addSkinImageData(const QByteArray& bytes);

    // Delete the image of the id, which must be stored. Pages, controls and skins that name
    // the id are not touched.
    void removePageBackgroundImage(unsigned int id);
    void removeIcon(unsigned int id);
    void removeControlImage(unsigned int id);
    void removeSkinImage(unsigned int id);

    // The stored image of the id decoded (format taken from the bytes); a null pixmap for an
    // id the store does not hold. Icons are scaled to IconSize x IconSize, ignoring the aspect
    // ratio. Decoding needs a QGuiApplication.
    QPixmap getPageBackgroundPixmap(unsigned int id) const;
    QPixmap getIconPixmap(unsigned int id) const;
    QPixmap getControlImagePixmap(unsigned int id) const;
    QPixmap getSkinImagePixmap(unsigned int id) const;

    // For each skin property (item type and key), the ids of the skin images that skins of the
    // theme use for it.
    const SkinImageReferenceMap& getSkinImageReferences() const { return skinImageReferences; }
    // Adds the id to the key's set, creating the set for a new key.
    void addSkinImageReference(const SkinPropertyKey& key, unsigned int imageId);
    // Removes the id from the key's set and the key with its last id; nothing when either is
    // absent.
    void removeSkinImageReference(const SkinPropertyKey& key, unsigned int imageId);

    // The skin sets by item type.
    const SkinSetMap& getSkinSets() const { return skinSets; }
    // The skin set of the type, or null.
    const SkinSet* getSkinSet(ThemedItemType itemType) const;
    SkinSet* getSkinSet(ThemedItemType itemType);
    // Takes the set and stores it under its own item type; a set stored for that type before
    // is deleted.
    void setSkinSet(smart_ptr<SkinSet> skinSet);
    // The named skin of the type's set; null when there is no such set or skin.
    const Skin* findSkin(ThemedItemType itemType, const QString& skinName) const;
    Skin* findSkin(ThemedItemType itemType, const QString& skinName);

    // The name of each type's default skin.
    const DefaultSkinMap& getDefaultSkins() const { return defaultSkins; }
    // The type's default skin; null when the type has no default-skin name or no skin set.
    // A default name that names no skin of the set is a broken invariant and fatal: theme
    // readers drop such entries (dropStaleDefaultSkins) before the theme is used.
    const Skin* getDefaultSkin(ThemedItemType itemType) const;
    Skin* getDefaultSkin(ThemedItemType itemType);
    // Makes the name the type's default-skin name (inserted or replaced).
    void setDefaultSkin(ThemedItemType itemType, const QString& skinName);
    // The type loses its default-skin name, if it has one.
    void clearDefaultSkin(ThemedItemType itemType);
    // Drops every default-skin name that names no skin of its type's set (or whose type has
    // no set), as data read from a file can leave them. Returns how many were dropped.
    int dropStaleDefaultSkins();

    // The ids of the page-background images, icons and control images that a project's pages
    // and buttons use: a minimal save writes only those images of the three stores.
    struct SaveFilter
    {
        std::set<unsigned int> pageBackgroundImages;
        std::set<unsigned int> icons;
        std::set<unsigned int> controlImages;
    };
    // The theme's block in the project stream (theme_stream.cpp), without the name. write
    // writes the newest form, with a filter only the images it names of the three stores it
    // covers; read reads a block of any accepted version into an empty theme and raises the
    // stream's std::runtime_error on a damaged block.
    void write(Streamer& streamer, const SaveFilter* filter) const;
    void read(Streamer& streamer);
    // About how many bytes the block takes, for a writer to make room for it at once.
    qsizetype streamBytesEstimate() const;

    // Default item properties by item type and property name; a value is a plain QVariant or
    // holds a Gradient or a TextStyle.
    const DefaultItemPropertyMap& getDefaultItemProperties() const { return defaultItemProperties; }
    // A copy of the stored value; invalid when the type or the name is absent.
    QVariant getDefaultItemProperty(ThemedItemType itemType, const QString& propertyName) const;
    // Stores the value (an invalid one too) under the type and the name.
    void setDefaultItemProperty(ThemedItemType itemType, const QString& propertyName,
                                const QVariant& value);

protected:
    // load() but for a failed allocation, which it throws.
    bool readBundle(const QString& bundlePath, QString* error);
    // Adds the file to the store unless the store holds an image of the same bytes (compared
    // by MD5 digest, in id order), whose id is returned instead.
    static unsigned int addImageFile(const QString& filePath, ImageStore& store);
    // Stores the bytes as a new image at the lowest free id.
    static unsigned int addImageData(ImageStore& store, const QByteArray& bytes, int orientation);
    static QPixmap pixmapOf(const ImageStore& store, unsigned int id);

    QString name;
    SplashImage landscapeSplash;
    SplashImage portraitSplash;
    ImageStore pageBackgroundImages;
    ImageStore icons;
    ImageStore controlImages;
    ImageStore skinImages;
    SkinImageReferenceMap skinImageReferences;
    SkinSetMap skinSets;
    DefaultSkinMap defaultSkins;
    DefaultItemPropertyMap defaultItemProperties;
};

} // namespace Velmora
