#include "common/helpers.h"
#include "containers/sortvector.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/velmora_types.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using TestUtil::fromHex;
using Velmora::ImageData;
using Velmora::Theme;

namespace {

QByteArray png(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A file in the folder holding the bytes.
QString fileWith(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(TestUtil::writeFile(path, bytes));
    return path;
}

std::vector<unsigned int> idsOf(const Theme::ImageStore& store)
{
    std::vector<unsigned int> ids;
    for (const ImageData& image : store)
        ids.push_back(image.getId());
    return ids;
}

// The four stores of a theme, each with its operations.
struct StoreKind
{
    const char* name;
    unsigned int maximum;
    std::function<unsigned int(Theme&, const QString&)> addFile;
    std::function<unsigned int(Theme&, const QByteArray&)> addData;
    std::function<void(Theme&, unsigned int)> remove;
    std::function<const Theme::ImageStore&(const Theme&)> store;
};

std::vector<StoreKind> storeKinds()
{
    return {
        {"page backgrounds", 256, &Theme::addPageBackgroundImage,
         [](Theme& t, const QByteArray& b) { return t.addPageBackgroundImageData(b, 0); },
         &Theme::removePageBackgroundImage,
         [](const Theme& t) -> const Theme::ImageStore& { return t.getPageBackgroundImages(); }},
        {"icons", 1024, &Theme::addIcon, &Theme::addIconData, &Theme::removeIcon,
         [](const Theme& t) -> const Theme::ImageStore& { return t.getIcons(); }},
        {"control images", 1024, &Theme::addControlImage, &Theme::addControlImageData,
         &Theme::removeControlImage,
         [](const Theme& t) -> const Theme::ImageStore& { return t.getControlImages(); }},
        {"skin images", 1024, &Theme::addSkinImage, &Theme::addSkinImageData,
         &Theme::removeSkinImage,
         [](const Theme& t) -> const Theme::ImageStore& { return t.getSkinImages(); }},
    };
}

} // namespace

TEST(ImageData, BytesCarryTheirDigest)
{
    ImageData image;
    image.setData("abc");
    EXPECT_EQ(image.getData(), QByteArray("abc"));
    EXPECT_EQ(image.getMd5(), fromHex("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(image.getOrientation(), 0);

    image.setData(QByteArray());
    EXPECT_EQ(image.getMd5(), fromHex("d41d8cd98f00b204e9800998ecf8427e"));
}

TEST(ImageData, LoadsFilesAndLeavesUnreadableOnesEmpty)
{
    QTemporaryDir dir;
    const QByteArray bytes = fromHex("89504e47 0d0a1a0a 00 ff 10");
    ASSERT_TRUE(TestUtil::writeFile(dir.filePath("a.png"), bytes));

    ImageData image;
    image.loadFromFile(dir.filePath("a.png"));
    EXPECT_EQ(image.getData(), bytes);
    EXPECT_EQ(image.getMd5(), ImageData::digestOf(bytes));
    EXPECT_EQ(image.getMd5().size(), 16);

    image.loadFromFile(dir.filePath("missing.png"));
    EXPECT_TRUE(image.getData().isEmpty());
    EXPECT_TRUE(image.getMd5().isEmpty());
    image.loadFromFile(dir.path()); // a folder does not read as a file either
    EXPECT_TRUE(image.getMd5().isEmpty());
}

TEST(ImageData, CloneCopiesIdBytesDigestAndOrientation)
{
    sortvector<ImageData> store(64, 256);
    smart_ptr<ImageData> image(new ImageData);
    image->setData("picture");
    image->setOrientation(Velmora::Orientation_PORTRAIT);
    ASSERT_EQ(store.insert(image, 7), 7u);

    std::unique_ptr<ImageData> copy(store[7].clone());
    EXPECT_EQ(copy->getId(), 7u);
    EXPECT_EQ(copy->getData(), QByteArray("picture"));
    EXPECT_EQ(copy->getMd5(), ImageData::digestOf("picture"));
    EXPECT_EQ(copy->getOrientation(), 2);
    EXPECT_FALSE(copy->isLinked());
}

TEST(ImageStore, SameBytesGiveTheSameIdWithinOneStore)
{
    QTemporaryDir dir;
    const QString red = fileWith(dir, "red.png", png(4, 4, Qt::red));
    const QString sameBytes = fileWith(dir, "other name.png", png(4, 4, Qt::red));
    const QString blue = fileWith(dir, "blue.png", png(4, 4, Qt::blue));
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Theme theme{QString()};
        EXPECT_EQ(kind.addFile(theme, red), 0u);
        EXPECT_EQ(kind.addFile(theme, blue), 1u);
        EXPECT_EQ(kind.addFile(theme, red), 0u);
        EXPECT_EQ(kind.addFile(theme, sameBytes), 0u);
        EXPECT_EQ(kind.store(theme).size(), 2u);
        const ImageData& stored = kind.store(theme)[0];
        EXPECT_EQ(stored.getData(), png(4, 4, Qt::red));
        EXPECT_EQ(stored.getOrientation(), 0);

        // Bytes put back without comparison are stored again.
        EXPECT_EQ(kind.addData(theme, png(4, 4, Qt::red)), 2u);
        EXPECT_EQ(kind.addData(theme, png(4, 4, Qt::red)), 3u);
        EXPECT_EQ(kind.store(theme).size(), 4u);
        EXPECT_EQ(kind.store(theme)[3].getMd5(), stored.getMd5());
    }
}

TEST(ImageStore, EachStoreNumbersItsOwnImages)
{
    QTemporaryDir dir;
    const QString red = fileWith(dir, "red.png", png(4, 4, Qt::red));
    const QString blue = fileWith(dir, "blue.png", png(4, 4, Qt::blue));
    Theme theme{QString()};
    EXPECT_EQ(theme.addIcon(blue), 0u);
    EXPECT_EQ(theme.addIcon(red), 1u);
    EXPECT_EQ(theme.addControlImage(red), 0u);
    EXPECT_EQ(theme.getIcons().size(), 2u);
    EXPECT_EQ(theme.getControlImages().size(), 1u);
    EXPECT_EQ(theme.getPageBackgroundImages().size(), 0u);
}

TEST(ImageStore, RemovedIdIsReusedFirst)
{
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Theme theme{QString()};
        for (char c = '0'; c <= '5'; ++c)
            kind.addData(theme, QByteArray(1, c));
        kind.remove(theme, 3);
        EXPECT_EQ(idsOf(kind.store(theme)), std::vector<unsigned int>({0, 1, 2, 4, 5}));
        EXPECT_EQ(kind.addData(theme, "new"), 3u);
        EXPECT_EQ(kind.addData(theme, "newer"), 6u);
        EXPECT_EQ(idsOf(kind.store(theme)), std::vector<unsigned int>({0, 1, 2, 3, 4, 5, 6}));
    }
}

TEST(ImageStore, EachKindOfStoreRefusesOneImageBeyondItsMaximum)
{
    QTemporaryDir dir;
    const QString fresh = fileWith(dir, "fresh.png", png(2, 2, Qt::green));
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Theme theme{QString()};
        for (unsigned int i = 0; i < kind.maximum; ++i)
            ASSERT_EQ(kind.addData(theme, QByteArray::number(i)), i);
        EXPECT_EQ(kind.addData(theme, "one too many"), Theme::NoImageId);
        EXPECT_EQ(kind.addFile(theme, fresh), 4294967295u);
        EXPECT_EQ(kind.store(theme).size(), kind.maximum);
        EXPECT_EQ(kind.store(theme).slotCount(), kind.maximum);
        // A file whose bytes are stored still finds its image in a full store.
        EXPECT_EQ(kind.addFile(theme, fileWith(dir, "7", "7")), 7u);
        kind.remove(theme, 100);
        EXPECT_EQ(kind.addFile(theme, fresh), 100u);
    }
}

TEST(ImageStore, UnreadableFilesShareOneEmptyImage)
{
    QTemporaryDir dir;
    Theme theme{QString()};
    EXPECT_EQ(theme.addIcon(dir.filePath("missing.png")), 0u);
    EXPECT_EQ(theme.addIcon(dir.filePath("also missing.png")), 0u);
    EXPECT_EQ(theme.getIcons().size(), 1u);
    EXPECT_TRUE(theme.getIcons()[0].getData().isEmpty());
    EXPECT_TRUE(theme.getIcons()[0].getMd5().isEmpty());
    EXPECT_TRUE(theme.getIconPixmap(0).isNull());
}

TEST(ImageStore, PixmapsAreDecodedAndIconsScaled)
{
    Theme theme{QString()};
    const QByteArray wide = png(100, 50, Qt::red);
    ASSERT_EQ(theme.addIconData(wide), 0u);
    ASSERT_EQ(theme.addPageBackgroundImageData(wide, Velmora::Orientation_LANDSCAPE), 0u);
    ASSERT_EQ(theme.addControlImageData(wide), 0u);
    ASSERT_EQ(theme.addSkinImageData(wide), 0u);
    ASSERT_EQ(theme.addIconData("not an image"), 1u);

    EXPECT_EQ(theme.getIconPixmap(0).size(), QSize(24, 24));
    EXPECT_EQ(theme.getIconPixmap(0).toImage().pixelColor(12, 12), QColor(Qt::red));
    EXPECT_EQ(theme.getPageBackgroundPixmap(0).size(), QSize(100, 50));
    EXPECT_EQ(theme.getPageBackgroundImages()[0].getOrientation(), 1);
    EXPECT_EQ(theme.getControlImagePixmap(0).size(), QSize(100, 50));
    EXPECT_EQ(theme.getSkinImagePixmap(0).size(), QSize(100, 50));

    EXPECT_TRUE(theme.getIconPixmap(1).isNull());
    for (unsigned int absent : {2u, 255u, 256u, 5000u, Theme::NoImageId}) {
        EXPECT_TRUE(theme.getIconPixmap(absent).isNull()) << absent;
        EXPECT_TRUE(theme.getPageBackgroundPixmap(absent).isNull()) << absent;
        EXPECT_TRUE(theme.getControlImagePixmap(absent).isNull()) << absent;
        EXPECT_TRUE(theme.getSkinImagePixmap(absent).isNull()) << absent;
    }
}

TEST(ImageStoreDeathTest, RemovingAnIdThatIsNotStoredIsFatal)
{
    Theme theme{QString()};
    theme.addIconData("a");
    EXPECT_DEATH(theme.removeIcon(1), "Assert: 'exists\\(id\\)' is FALSE");
    EXPECT_DEATH(theme.removePageBackgroundImage(0), "Assert: 'exists\\(id\\)' is FALSE");
    EXPECT_DEATH(theme.removeSkinImage(4000), "Assert: 'exists\\(id\\)' is FALSE");
}
