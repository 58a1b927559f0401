#include "common/qml_fixture.h"

#include "common/helpers.h"
#include "velmora_objects/qml/theme_image_provider.h"
#include "velmora_objects/theme.h"

using namespace VelmoraQML;
using Kind = ThemeImageProvider::ImageKind;
using TestUtil::pngBytes;

namespace {

// A theme whose stores hold images of distinct sizes: icons 0..3, backgrounds 0..12, control
// images 0..1 and skin images 0..12.
std::unique_ptr<Velmora::Theme> makeTheme()
{
    auto theme = std::make_unique<Velmora::Theme>(QString());
    for (int i = 0; i < 4; ++i)
        theme->addIconData(pngBytes(10 + i, 20, Qt::red));
    for (int i = 0; i < 13; ++i)
        theme->addPageBackgroundImageData(pngBytes(100 + i, 50, Qt::green), 1);
    for (int i = 0; i < 2; ++i)
        theme->addControlImageData(pngBytes(30 + i, 40, Qt::blue));
    for (int i = 0; i < 13; ++i)
        theme->addSkinImageData(pngBytes(60 + i, 70, Qt::yellow));
    return theme;
}

} // namespace

TEST(ThemeImageProvider, ParsesIds)
{
    struct Case
    {
        const char* id;
        Kind kind;
        unsigned int number;
    };
    const Case cases[] = {
        {"icon3", Kind::Icon, 3},
        {"controlImage0", Kind::ControlImage, 0},
        {"skinImage12", Kind::SkinImage, 12},
        {"007", Kind::PageBackground, 7},
        {"4294967295", Kind::PageBackground, 4294967295u},
        {"icon", Kind::Invalid, 0},
        {"icon-1", Kind::Invalid, 0},
        {"icon+1", Kind::Invalid, 0},
        {"icon3 ", Kind::Invalid, 0},
        {"Icon3", Kind::Invalid, 0}, // not an icon: a background id that is not a number
        {"", Kind::Invalid, 0},
        {"4294967296", Kind::Invalid, 0},
        {"١٢", Kind::Invalid, 0}, // digits of another script
    };
    for (const Case& c : cases) {
        const auto id = ThemeImageProvider::parseId(QString::fromUtf8(c.id));
        EXPECT_EQ(id.kind, c.kind) << c.id;
        if (c.kind != Kind::Invalid) {
            EXPECT_EQ(id.number, c.number) << c.id;
        }
    }
}

TEST(ThemeImageProvider, ServesEachStoreWithItsSize)
{
    const auto theme = makeTheme();
    ThemeImageProvider provider(theme.get());
    const QSize none(-1, -1);

    struct Case
    {
        const char* id;
        QSize size;
        QColor colour;
    };
    const Case cases[] = {
        {"icon3", {24, 24}, Qt::red},
        {"12", {112, 50}, Qt::green},
        {"controlImage1", {31, 40}, Qt::blue},
        {"skinImage12", {72, 70}, Qt::yellow},
    };
    for (const Case& c : cases) {
        QSize size;
        const QPixmap pixmap = provider.requestPixmap(c.id, &size, none);
        EXPECT_EQ(pixmap.size(), c.size) << c.id;
        EXPECT_EQ(size, c.size) << c.id;
        EXPECT_EQ(pixmap.toImage().pixelColor(0, 0), c.colour) << c.id;
    }

    // Stretched to exactly the requested size; the reported size stays the stored one.
    QSize size;
    const QPixmap stretched = provider.requestPixmap("12", &size, QSize(100, 50));
    EXPECT_EQ(stretched.size(), QSize(100, 50));
    EXPECT_EQ(size, QSize(112, 50));
    EXPECT_EQ(provider.requestPixmap("icon0", nullptr, QSize(8, 30)).size(), QSize(8, 30));
}

TEST(ThemeImageProvider, NullPixmapsForUnknownIds)
{
    const auto theme = makeTheme();
    ThemeImageProvider provider(theme.get());
    for (const char* id : {"iconX", "icon4", "13", "controlImage2"})
        EXPECT_TRUE(provider.requestPixmap(id, nullptr, QSize(10, 10)).isNull()) << id;
    // An id of no known form, or no theme, leaves the size alone.
    QSize size(5, 5);
    EXPECT_TRUE(provider.requestPixmap("iconX", &size, QSize(-1, -1)).isNull());
    EXPECT_TRUE(ThemeImageProvider(nullptr).requestPixmap("icon0", &size, QSize(-1, -1)).isNull());
    EXPECT_EQ(size, QSize(5, 5));
}

class ThemeImageProviderInQml : public TestUtil::QmlFixture
{
};

TEST_F(ThemeImageProviderInQml, ImagesAddressTheProviderByName)
{
    const auto theme = makeTheme();
    engine->addImageProvider("theme7", new ThemeImageProvider(theme.get()));
    auto root = create("Image { source: \"image://theme7/3\"; sourceSize.width: 40; "
                       "sourceSize.height: 20 }");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->property("status").toInt(), 1); // Image.Ready
    EXPECT_EQ(root->property("width").toInt(), 40);
    EXPECT_EQ(root->property("height").toInt(), 20);
    root.reset();
    engine->removeImageProvider("theme7");
}
