#include "common/helpers.h"
#include "velmora_objects/hex_fixture.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/model_stream.h"
#include "velmora_objects/sample_theme.h"
#include "velmora_objects/theme.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace Velmora;
using ModelStream::written;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;

namespace {

QByteArray themeBytes(const Theme& theme)
{
    return written([&](Streamer& s) { theme.write(s, nullptr); });
}

// Reads a theme block (behind its stream header) into a new theme.
std::unique_ptr<Theme> readTheme(QByteArray bytes)
{
    auto theme = std::make_unique<Theme>(QString());
    Streamer s;
    s.open(Streamer::Mode_READ, &bytes);
    theme->read(s);
    return theme;
}

QList<unsigned int> idsOf(const Theme::ImageStore& store)
{
    QList<unsigned int> ids;
    for (const ImageData& image : store)
        ids << image.getId();
    return ids;
}

QByteArray fixture(const char* name)
{
    return HexFixture::parse(
        TestUtil::readFile(TestUtil::dataPath(QString("project/%1.hex").arg(name))));
}

void putInt(QByteArray& bytes, int at, quint32 value)
{
    qToBigEndian(value, reinterpret_cast<uchar*>(bytes.data()) + at);
}

} // namespace

// The whole theme block round-trips inside the full project of the project-file tests.

TEST(ThemeStream, TextStyleDefaultsTravelAsIntVariants)
{
    Theme theme{QString()};
    theme.setDefaultItemProperty(ThemedItemType_KEYPAD, "displayTextStyle",
                                 QVariant::fromValue(TextStyle_SUNKEN));
    const QByteArray bytes = themeBytes(theme);
    // Name, flag 0, then the Qt 3 int variant (type 16) holding 3.
    const QByteArray name = fromHex("00000020") + QByteArray("\0d\0i\0s\0p\0l\0a\0y\0T\0e\0x\0t"
                                                             "\0S\0t\0y\0l\0e",
                                                             32);
    EXPECT_TRUE(bytes.contains(name + fromHex("00 00000010 00000003") + "Theme_end"));

    const QVariant back =
        readTheme(bytes)->getDefaultItemProperty(ThemedItemType_KEYPAD, "displayTextStyle");
    EXPECT_EQ(back.metaType(), QMetaType::fromType<TextStyle>());
    EXPECT_EQ(back.value<TextStyle>(), TextStyle_SUNKEN);
    // Another key keeps the int it was stored as.
    theme.setDefaultItemProperty(ThemedItemType_BUTTON, "fontSize", 3);
    EXPECT_EQ(readTheme(themeBytes(theme))
                  ->getDefaultItemProperty(ThemedItemType_BUTTON, "fontSize")
                  .metaType(),
              QMetaType::fromType<int>());
}

TEST(ThemeStream, DefaultSkinsNamingNoSkinAreDropped)
{
    const auto theme = SampleTheme::make(1);
    theme->setDefaultSkin(ThemedItemType_BUTTON, "Gone");
    theme->setDefaultSkin(ThemedItemType_KEYPAD, "No set");
    const auto back = readTheme(themeBytes(*theme));
    EXPECT_EQ(back->getDefaultSkins().size(), 1u);
    EXPECT_EQ(back->getDefaultSkin(ThemedItemType_BUTTON), nullptr);
    EXPECT_EQ(back->getDefaultSkin(ThemedItemType_SLIDER)->getName(), "Default");
}

TEST(ThemeStream, SecondSkinSetOfATypeReplacesTheFirst)
{
    const auto theme = SampleTheme::make(1);
    QByteArray bytes = themeBytes(*theme);
    // Make the slider set (the second one) claim the button type.
    const int second = bytes.indexOf("SkinSet_start", bytes.indexOf("SkinSet_start") + 1);
    ASSERT_GT(second, 0);
    putInt(bytes, second + 13, ThemedItemType_BUTTON);
    const auto back = readTheme(bytes);
    EXPECT_EQ(back->getSkinSets().size(), 2u); // buttons (the sliders' skins) and clocks
    EXPECT_NE(back->findSkin(ThemedItemType_BUTTON, "Default"), nullptr);
    EXPECT_EQ(back->findSkin(ThemedItemType_BUTTON, "Normal"), nullptr);
    EXPECT_EQ(back->getSkinSet(ThemedItemType_SLIDER), nullptr);
}

TEST(ThemeStream, ImagesUnderIdsBeyondTheStoreAreDropped)
{
    Theme theme{QString()};
    theme.addPageBackgroundImageData("a", 1);
    theme.addPageBackgroundImageData("b", 1);
    theme.addIconData("c");
    QByteArray bytes = themeBytes(theme);
    // Move the second page background to id 256, one past the store's last slot.
    const int second = bytes.indexOf("ImageData_start", bytes.indexOf("ImageData_start") + 1);
    bytes[second - 2] = 0x01;
    bytes[second - 1] = 0x00;
    const auto back = readTheme(bytes);
    EXPECT_EQ(idsOf(back->getPageBackgroundImages()), QList<unsigned int>({0}));
    EXPECT_EQ(idsOf(back->getIcons()), QList<unsigned int>({0})); // reading went on
}

TEST(ThemeStream, ImageBlockWithoutDigestGetsTheDigestOfItsBytes)
{
    QByteArray bytes = fromHex("4f72766e 4b565808 00000012") + "ImageData_start" +
                       fromHex("00000003 616263  00000000  00000002") + "ImageData_end";
    ImageData image;
    Streamer s;
    s.open(Streamer::Mode_READ, &bytes);
    image.read(s);
    EXPECT_EQ(image.getData(), "abc");
    EXPECT_EQ(image.getMd5(), ImageData::digestOf("abc"));
    EXPECT_EQ(image.getOrientation(), 2);
}

TEST(ThemeStream, CorruptCountsEndTheReadAtOnce)
{
    Theme theme{QString()};
    theme.setDefaultSkin(ThemedItemType_KEYPAD, "X");
    theme.setDefaultItemProperty(ThemedItemType_LABEL, "p", 1);
    const QByteArray bytes = themeBytes(theme);
    // Header and tag (23), two null splash markers (8), four empty image lists (8), no
    // skin-image references (2): the skin-set count is at 41, the default-skin count at 45, its
    // one entry takes 10 bytes, the count of item types is at 59 and the count of the first
    // type's properties at 67.
    ASSERT_EQ(bytes.mid(41, 30), fromHex("00000000 00000001 00000004 00000002 0058"
                                         "00000001 00000006 00000001"));
    for (int at : {41, 45, 59, 67}) {
        QByteArray damaged = bytes;
        putInt(damaged, at, 0x7fffffff);
        EXPECT_EQ(runtimeErrorOf([&] { readTheme(damaged); }), "Unexpected end of file") << at;
    }
}

TEST(ThemeStream, DamagedSplashImagesAreRefused)
{
    Theme theme{QString()};
    QImage huge(1, 1, QImage::Format_RGB32);
    huge.fill(Qt::white);
    theme.setSplashImage(Orientation_LANDSCAPE, huge);
    QByteArray bytes = themeBytes(theme);
    const int png = bytes.indexOf("\x89PNG");
    ASSERT_GT(png, 0);

    QByteArray wide = bytes;
    putInt(wide, png + 16, 100000); // the width in the PNG header
    EXPECT_EQ(runtimeErrorOf([&] { readTheme(wide); }), "Unreadable splash image");
    QByteArray foreign = bytes;
    foreign[png + 1] = 'X';
    EXPECT_EQ(runtimeErrorOf([&] { readTheme(foreign); }), "Unreadable splash image");
    EXPECT_EQ(runtimeErrorOf([&] { readTheme(bytes.left(png + 10)); }),
              "Failed to find expected tag Theme_end");
    EXPECT_NE(runtimeErrorOf([&] { readTheme(bytes.left(png + 40)); }), "<no error>");
}

TEST(ThemeStream, SplashImagesKeepTheBytesTheyWereStoredIn)
{
    const QColor teal(0, 128, 128);
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(teal);
    auto encoded = [&](const char* format, int quality) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format, quality);
        return bytes;
    };
    // Unlike the default encoding; a re-encoded picture would not give these bytes back.
    const QByteArray uncompressed = encoded("PNG", 100);
    ASSERT_NE(uncompressed, encoded("PNG", -1));
    // Sound in its structure, so kept; its pixel data is damaged, so it decodes to nothing.
    QByteArray damaged = uncompressed;
    damaged[damaged.indexOf("IDAT") + 8] ^= 0x5a;
    const struct
    {
        const char* what;
        QByteArray stored;
        bool keptAsStored;
        bool decodes;
    } cases[] = {
        {"PNG", uncompressed, true, true},
        {"damaged PNG", damaged, true, false},
        {"JPEG, stored as PNG", encoded("JPG", 100), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Theme theme{QString()};
        theme.setSplashBytes(Orientation_LANDSCAPE, c.stored);
        const QByteArray bytes = themeBytes(theme);
        const auto back = readTheme(bytes);
        const QByteArray& kept = back->getSplashBytes(Orientation_LANDSCAPE);
        EXPECT_EQ(kept, theme.getSplashBytes(Orientation_LANDSCAPE));
        EXPECT_EQ(kept == c.stored, c.keptAsStored);
        EXPECT_TRUE(kept.startsWith("\x89PNG"));
        EXPECT_EQ(themeBytes(*back), bytes); // saved again unchanged
        const QImage shown = back->getLandscapeSplash();
        EXPECT_EQ(shown.isNull(), !c.decodes);
        if (c.decodes) { // JPEG may be a step off
            const QColor pixel = shown.pixelColor(7, 3);
            EXPECT_LE(std::abs(pixel.red() - teal.red()) + std::abs(pixel.green() - teal.green()) +
                          std::abs(pixel.blue() - teal.blue()),
                      3);
        }
        EXPECT_TRUE(back->getPortraitSplash().isNull());
    }
}

TEST(ThemeStream, VersionOneBlockGetsTheDefaultsOfLaterFields)
{
    const auto theme = readTheme(fixture("theme_v1"));
    EXPECT_TRUE(theme->getLandscapeSplash().isNull());
    EXPECT_TRUE(theme->getPortraitSplash().isNull());
    ASSERT_EQ(idsOf(theme->getPageBackgroundImages()), QList<unsigned int>({5}));
    const ImageData& image = theme->getPageBackgroundImages()[5];
    EXPECT_EQ(image.getData(), "abc");
    EXPECT_EQ(image.getMd5(), ImageData::digestOf("abc"));
    EXPECT_EQ(image.getOrientation(), Orientation_LANDSCAPE);
    EXPECT_TRUE(theme->getControlImages().empty());
    const QVariant style = theme->getDefaultItemProperty(ThemedItemType_KEYPAD, "buttonTextStyle");
    EXPECT_EQ(style.metaType(), QMetaType::fromType<TextStyle>());
    EXPECT_EQ(style.value<TextStyle>(), TextStyle_RAISED);
}

TEST(ThemeStream, VersionThirteenBlockHasControlImagesButNoSkinImages)
{
    const auto theme = readTheme(fixture("theme_v13"));
    ASSERT_EQ(idsOf(theme->getControlImages()), QList<unsigned int>({3}));
    EXPECT_EQ(theme->getControlImages()[3].getMd5(),
              fromHex("00112233 44556677 8899aabb ccddeeff"));
    EXPECT_TRUE(theme->getSkinImages().empty());
    EXPECT_EQ(theme->getDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "timeFormat"),
              QVariant(QString("h:mm")));
}

TEST(ThemeStream, VersionSixteenBlockAddsSkinImagesAndReferences)
{
    const auto theme = readTheme(fixture("theme_v16"));
    ASSERT_EQ(idsOf(theme->getSkinImages()), QList<unsigned int>({2}));
    EXPECT_EQ(theme->getSkinImages()[2].getMd5(), ImageData::digestOf("sk"));
    const Theme::SkinImageReferenceMap references{
        {SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), {2}}};
    EXPECT_EQ(theme->getSkinImageReferences(), references);
    Gradient blue;
    blue.setStops({{0.5, Qt::blue}});
    const QVariant gradient = theme->getDefaultItemProperty(ThemedItemType_BUTTON, "g");
    EXPECT_EQ(gradient.metaType(), QMetaType::fromType<Gradient>());
    EXPECT_EQ(gradient.value<Gradient>(), blue);
    EXPECT_EQ(theme->getDefaultItemProperty(ThemedItemType_BUTTON, "wordWrap"), QVariant(true));
}
