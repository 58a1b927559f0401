#include "common/helpers.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/theme.h"

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using TestUtil::fromHex;
using TestUtil::pngBytes;
using Velmora::ImageData;
using Velmora::Theme;

namespace {

// A file in the folder holding the bytes.
QString fileWith(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(TestUtil::writeFile(path, bytes));
    return path;
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

TEST(ImageData, BytesCarryTheirDigestAndUnreadableFilesNone)
{
    ImageData image;
    image.setData("abc");
    EXPECT_EQ(image.getMd5(), fromHex("900150983cd24fb0d6963f7d28e17f72"));
    image.setData(QByteArray());
    EXPECT_EQ(image.getMd5(), fromHex("d41d8cd98f00b204e9800998ecf8427e"));

    QTemporaryDir dir;
    const QByteArray bytes = fromHex("89504e47 0d0a1a0a 00 ff 10");
    image.loadFromFile(fileWith(dir, "a.png", bytes));
    EXPECT_EQ(image.getData(), bytes);
    EXPECT_EQ(image.getMd5(), ImageData::digestOf(bytes));
    for (const QString& unreadable : {dir.filePath("missing.png"), dir.path()}) {
        image.loadFromFile(unreadable);
        EXPECT_TRUE(image.getData().isEmpty());
        EXPECT_TRUE(image.getMd5().isEmpty());
    }
}

TEST(ImageStore, SameBytesGiveTheSameIdWithinOneStore)
{
    QTemporaryDir dir;
    const QString red = fileWith(dir, "red.png", pngBytes(4, 4, Qt::red));
    const QString sameBytes = fileWith(dir, "other name.png", pngBytes(4, 4, Qt::red));
    const QString blue = fileWith(dir, "blue.png", pngBytes(4, 4, Qt::blue));
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Theme theme{QString()};
        EXPECT_EQ(kind.addFile(theme, red), 0u);
        EXPECT_EQ(kind.addFile(theme, blue), 1u);
        EXPECT_EQ(kind.addFile(theme, red), 0u);
        EXPECT_EQ(kind.addFile(theme, sameBytes), 0u);
        EXPECT_EQ(kind.store(theme)[0].getData(), pngBytes(4, 4, Qt::red));
        // Bytes put back without comparison are stored again.
        EXPECT_EQ(kind.addData(theme, pngBytes(4, 4, Qt::red)), 2u);
        EXPECT_EQ(kind.store(theme).size(), 3u);
    }
}

TEST(ImageStore, EachKindOfStoreRefusesOneImageBeyondItsMaximum)
{
    QTemporaryDir dir;
    const QString fresh = fileWith(dir, "fresh.png", pngBytes(2, 2, Qt::green));
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Theme theme{QString()};
        for (unsigned int i = 0; i < kind.maximum; ++i)
            ASSERT_EQ(kind.addData(theme, QByteArray::number(i)), i);
        EXPECT_EQ(kind.addData(theme, "one too many"), Theme::NoImageId);
        EXPECT_EQ(kind.addFile(theme, fresh), 4294967295u);
        EXPECT_EQ(kind.store(theme).size(), kind.maximum);
        // A file whose bytes are stored still finds its image in a full store.
        EXPECT_EQ(kind.addFile(theme, fileWith(dir, "7", "7")), 7u);
        // A freed id is taken first.
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
    EXPECT_TRUE(theme.getIcons()[0].getMd5().isEmpty());
    EXPECT_TRUE(theme.getIconPixmap(0).isNull());
}

TEST(ImageStore, PixmapsAreDecodedAndIconsScaled)
{
    Theme theme{QString()};
    const QByteArray wide = pngBytes(100, 50, Qt::red);
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
    for (unsigned int absent : {2u, 256u, 5000u, Theme::NoImageId}) {
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
