// The theme's block in the project stream, and the block of one stored image.

#include "velmora_objects/theme.h"

#include "velmora_objects/image_data.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/streamer.h"

#include <QMetaType>
#include <QtEndian>
#include <cstring>
#include <stdexcept>
#include <string>

namespace Velmora {

namespace {

constexpr quint64 length(const char* text)
{
    return std::char_traits<char>::length(text);
}

// The fewest bytes each repeated record takes in the stream; counts read from a file are
// checked against them before they drive a loop.
constexpr quint64 MinimumImageBytes =
    2 + length("ImageData_start") + 4 + length("ImageData_end"); // id, tags, the data's length
constexpr quint64 MinimumReferenceBytes =
    length("SkinPropertyKey_start") + 4 + 4 + length("SkinPropertyKey_end") + 2;
constexpr quint64 MinimumSkinSetBytes = length("SkinSet_start") + 4 + 4 + length("SkinSet_end");
constexpr quint64 MinimumDefaultSkinBytes = 4 + 4;
constexpr quint64 MinimumItemTypeBytes = 4 + 4;
// A name and an invalid variant (its type and a null string).
constexpr quint64 MinimumDefaultPropertyBytes = 4 + 4 + 4;

// Splash images are panel pictures; larger ones are refused before they are decoded.
constexpr quint32 MaximumSplashSide = 4096;

// Default item properties that hold a Velmora::TextStyle. In the stream they travel as an int
// variant; reading turns them back into the text-style type.
bool holdsTextStyle(ThemedItemType itemType, const QString& name)
{
    return itemType == ThemedItemType_KEYPAD &&
           (name == QLatin1String("displayTextStyle") || name == QLatin1String("buttonTextStyle"));
}

// A number of the stream.
template <class T> T readNumber(Streamer& streamer)
{
    T value = 0;
    streamer.stream() >> value;
    return value;
}

// A splash image as the data stream keeps it: a marker (0 for a null image), then a PNG file,
// which carries no length of its own. Its chunks are walked up to the end chunk and the file's
// bytes are kept as they are; nothing is decoded. The header is checked so that a picture that
// is not a PNG file or is larger than a panel could need is refused at once. A file cut short
// ends the stream's reading (the next tag reports it) and gives no picture.
QByteArray readSplash(Streamer& streamer)
{
    DataStream& s = streamer.stream();
    if (readNumber<qint32>(streamer) == 0) // the marker of a null image
        return QByteArray();
    const char* const file = s.take(8);
    if (!file)
        return QByteArray();
    if (std::memcmp(file, "\x89PNG\r\n\x1a\n", 8) != 0)
        throw std::runtime_error("Unreadable splash image");
    for (bool first = true;; first = false) {
        const char* const head = s.take(8); // the chunk's length and type
        if (!head)
            return QByteArray();
        const quint32 size = qFromBigEndian<quint32>(head);
        const bool header = std::memcmp(head + 4, "IHDR", 4) == 0;
        if (size > 0x7fffffffu || (first && (!header || size < 8)))
            throw std::runtime_error("Unreadable splash image");
        const char* const body = s.take(qsizetype(size) + 4); // with its checksum
        if (!body)
            return QByteArray();
        if (first) {
            const quint32 width = qFromBigEndian<quint32>(body);
            const quint32 height = qFromBigEndian<quint32>(body + 4);
            if (width == 0 || height == 0 || width > MaximumSplashSide ||
                height > MaximumSplashSide)
                throw std::runtime_error("Unreadable splash image");
        }
        if (std::memcmp(head + 4, "IEND", 4) == 0)
            return s.bytesAt(file, body + size + 4 - file);
    }
}

void writeSplash(Streamer& streamer, const Theme::SplashImage& splash)
{
    const QByteArray& file = splash.bytes();
    streamer.stream() << qint32(file.isEmpty() ? 0 : 1);
    streamer.stream().writeRawBytes(file);
}

void writeImages(Streamer& streamer, const Theme::ImageStore& store,
                 const std::set<unsigned int>* only)
{
    DataStream& s = streamer.stream();
    auto written = [only](const ImageData& image) {
        return !only || only->count(image.getId()) != 0;
    };
    quint16 count = 0;
    for (const ImageData& image : store)
        count += written(image) ? 1 : 0;
    s << count;
    for (const ImageData& image : store) {
        if (!written(image))
            continue;
        s << quint16(image.getId());
        image.write(streamer);
    }
}

void readImages(Streamer& streamer, Theme::ImageStore& store)
{
    const quint16 count = readNumber<quint16>(streamer);
    streamer.checkCount(count, MinimumImageBytes);
    for (quint16 i = 0; i < count; ++i) {
        const quint16 id = readNumber<quint16>(streamer);
        smart_ptr<ImageData> image(new ImageData);
        image->read(streamer);
        // An id that is taken or beyond the store's maximum drops the image.
        store.insert(image, id);
    }
}

} // namespace

void ImageData::write(Streamer& streamer) const
{
    streamer.writeTag("ImageData_start");
    streamer.stream() << data << md5 << qint32(orientation);
    streamer.writeTag("ImageData_end");
}

void ImageData::read(Streamer& streamer)
{
    DataStream& s = streamer.stream();
    const quint32 version = streamer.version();
    streamer.expectTag("ImageData_start");
    s >> data;
    md5.clear();
    if (version >= 1)
        s >> md5;
    if (md5.isEmpty())
        md5 = digestOf(data);
    orientation = Orientation_LANDSCAPE;
    // Kept as read: a picture of an orientation no screen has is only left out of the lists
    // that offer pictures for the project's screen.
    if (version >= 2)
        orientation = readNumber<qint32>(streamer);
    streamer.expectTag("ImageData_end");
}

qsizetype Theme::streamBytesEstimate() const
{
    // The images are most of the block; a skin property takes about a hundred bytes. An
    // estimate short of the block would cost a copy of all of it as the bytes grow.
    qsizetype bytes = landscapeSplash.bytes().size() + portraitSplash.bytes().size();
    for (const ImageStore* store : {&pageBackgroundImages, &icons, &controlImages, &skinImages}) {
        for (const ImageData& image : *store)
            bytes += image.getData().size() + 64;
    }
    for (const auto& entry : skinSets) {
        for (const auto& skin : entry.second->getSkins())
            bytes += 1024 + qsizetype(skin.second->getProperties().size()) * 192;
    }
    return bytes;
}

void Theme::write(Streamer& streamer, const SaveFilter* filter) const
{
    DataStream& s = streamer.stream();
    streamer.writeTag("Theme_start");
    // The images are most of a project's bytes: they are copied into place on another thread
    // while the skins and everything after the theme are written.
    s.deferLargeArrays();
    writeSplash(streamer, landscapeSplash);
    writeSplash(streamer, portraitSplash);

    writeImages(streamer, pageBackgroundImages, filter ? &filter->pageBackgroundImages : nullptr);
    writeImages(streamer, icons, filter ? &filter->icons : nullptr);
    writeImages(streamer, controlImages, filter ? &filter->controlImages : nullptr);
    // Skins name their images through their properties, which a filter does not follow.
    writeImages(streamer, skinImages, nullptr);
    s.copyDeferredArrays();

    s << quint16(skinImageReferences.size());
    for (const auto& [key, ids] : skinImageReferences) {
        key.write(streamer);
        s << quint16(ids.size());
        for (unsigned int id : ids)
            s << quint16(id);
    }

    s << qint32(skinSets.size());
    for (const auto& entry : skinSets)
        entry.second->write(streamer);

    s << qint32(defaultSkins.size());
    for (const auto& [itemType, skinName] : defaultSkins)
        s << qint32(itemType) << skinName;

    s << qint32(defaultItemProperties.size());
    for (const auto& [itemType, properties] : defaultItemProperties) {
        s << qint32(itemType) << qint32(properties.size());
        for (const auto& [propertyName, value] : properties) {
            s << propertyName;
            if (value.metaType() == QMetaType::fromType<Gradient>()) {
                s << qint8(1);
                streamer << value.value<Gradient>();
            } else {
                // A text style travels as the int variant of its number.
                s << qint8(0);
                streamer.writeVariant(value);
            }
        }
    }
    streamer.writeTag("Theme_end");
}

void Theme::read(Streamer& streamer)
{
    const quint32 version = streamer.version();
    // A file can name a default skin that its set lacks, or end inside the list of names: the
    // theme never keeps such a name, wherever the reading ends.
    struct StaleDefaultSkinsDropper
    {
        ~StaleDefaultSkinsDropper() { theme.dropStaleDefaultSkins(); }
        Theme& theme;
    } dropper{*this};

    streamer.expectTag("Theme_start");
    landscapeSplash.setBytes(readSplash(streamer));
    portraitSplash.setBytes(version >= 2 ? readSplash(streamer) : QByteArray());

    readImages(streamer, pageBackgroundImages);
    readImages(streamer, icons);
    if (version >= 13)
        readImages(streamer, controlImages);
    if (version >= 16) {
        readImages(streamer, skinImages);
        const quint16 keyCount = readNumber<quint16>(streamer);
        streamer.checkCount(keyCount, MinimumReferenceBytes);
        for (quint16 i = 0; i < keyCount; ++i) {
            SkinPropertyKey key;
            key.read(streamer);
            const quint16 idCount = readNumber<quint16>(streamer);
            streamer.checkCount(idCount, 2);
            std::set<unsigned int> ids;
            for (quint16 j = 0; j < idCount; ++j)
                ids.insert(readNumber<quint16>(streamer));
            skinImageReferences[key] = ids;
        }
    }

    const quint32 setCount = readNumber<quint32>(streamer);
    streamer.checkCount(setCount, MinimumSkinSetBytes);
    // Skin sets, default skins and default properties of an item type the editor does not
    // have are kept as read: no item looks them up, and the project file keeps them.
    for (quint32 i = 0; i < setCount; ++i) {
        smart_ptr<SkinSet> skinSet(new SkinSet(ThemedItemType(0)));
        skinSet->read(streamer);
        setSkinSet(skinSet);
    }

    DataStream& s = streamer.stream();
    const quint32 defaultSkinCount = readNumber<quint32>(streamer);
    streamer.checkCount(defaultSkinCount, MinimumDefaultSkinBytes);
    for (quint32 i = 0; i < defaultSkinCount; ++i) {
        qint32 itemType = 0;
        QString skinName;
        s >> itemType;
        s.readRepeated(skinName);
        defaultSkins[ThemedItemType(itemType)] = skinName;
    }

    const quint32 itemTypeCount = readNumber<quint32>(streamer);
    streamer.checkCount(itemTypeCount, MinimumItemTypeBytes);
    for (quint32 i = 0; i < itemTypeCount; ++i) {
        qint32 readType = 0;
        s >> readType;
        const quint32 propertyCount = readNumber<quint32>(streamer);
        streamer.checkCount(propertyCount, MinimumDefaultPropertyBytes);
        const ThemedItemType itemType = ThemedItemType(readType);
        ItemPropertyMap& properties = defaultItemProperties[itemType];
        for (quint32 j = 0; j < propertyCount; ++j) {
            QString propertyName;
            s.readRepeated(propertyName);
            quint8 flag = 0;
            if (version >= 14)
                s >> flag;
            QVariant value;
            if (flag == 1) {
                Gradient gradient;
                streamer >> gradient;
                value = QVariant::fromValue(gradient);
            } else {
                value = streamer.readVariant();
                // Any number, as the keypad's own styles: one it does not know is drawn as
                // Normal.
                if (holdsTextStyle(itemType, propertyName) &&
                    value.metaType() == QMetaType::fromType<int>())
                    value = QVariant::fromValue(TextStyle(value.toInt()));
            }
            // In name order, as saved; a name read again replaces the value read before.
            properties.insert_or_assign(properties.end(), propertyName, value);
        }
    }
    streamer.expectTag("Theme_end");
}

} // namespace Velmora
