#include "common/helpers.h"
#include "common/sample_themes.h"
#include "common/theme_bundles.h"
#include "core/gradient.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "sample_theme.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_xml_values.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace Velmora;
using SampleTheme::gradientOf;
using TestUtil::fromHex;
using TestUtil::pngBytes;
using TestUtil::runtimeErrorOf;

namespace {

QStringList imagesOf(const Theme::ImageStore& store)
{
    QStringList list;
    for (const ImageData& image : store) {
        list << QString("%1:%2:%3:%4")
                    .arg(image.getId())
                    .arg(QString::fromLatin1(image.getData()))
                    .arg(QString::fromLatin1(image.getMd5().toHex()))
                    .arg(image.getOrientation());
    }
    return list;
}

QString valueText(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<Gradient>())
        return value.toString();
    QStringList stops;
    for (const auto& stop : value.value<Gradient>().stops())
        stops << QString("%1 %2").arg(stop.first).arg(stop.second.name(QColor::HexArgb));
    return stops.join(";");
}

// Everything a theme holds, as text, for comparing two themes.
QString describe(const Theme& theme)
{
    QStringList lines;
    lines << theme.getName();
    for (const QImage& splash : {theme.getLandscapeSplash(), theme.getPortraitSplash()}) {
        lines << QString("splash %1x%2 %3")
                     .arg(splash.width())
                     .arg(splash.height())
                     .arg(splash.isNull() ? QString() : splash.pixelColor(0, 0).name());
    }
    for (const Theme::ImageStore* store : {&theme.getPageBackgroundImages(), &theme.getIcons(),
                                           &theme.getControlImages(), &theme.getSkinImages()}) {
        lines << imagesOf(*store).join(",");
        lines << QString("%1/%2").arg(store->step()).arg(store->maximum());
    }
    for (const auto& [key, ids] : theme.getSkinImageReferences()) {
        QStringList idList;
        for (unsigned int id : ids)
            idList << QString::number(id);
        lines << QString("%1/%2=%3").arg(key.itemType).arg(key.name, idList.join(","));
    }
    for (const auto& [type, set] : theme.getSkinSets()) {
        for (const auto& [name, skin] : *set) {
            lines << QString("%1/%2 %3 ms easing %4")
                         .arg(type)
                         .arg(name)
                         .arg(skin->getTransition().duration)
                         .arg(skin->getTransition().easing);
            for (const auto& [key, property] : *skin)
                lines << QString("  %1=%2").arg(key, valueText(property->getValue()));
        }
    }
    for (const auto& [type, name] : theme.getDefaultSkins())
        lines << QString("default %1=%2").arg(type).arg(name);
    for (const auto& [type, properties] : theme.getDefaultItemProperties()) {
        for (const auto& [name, value] : properties)
            lines << QString("property %1/%2=%3 %4")
                         .arg(type)
                         .arg(name, value.typeName(), valueText(value));
    }
    return lines.join("\n");
}

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

QByteArray themeBytes(const Theme& theme)
{
    return TestUtil::streamed([&](Streamer& s) { theme.write(s, nullptr); });
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

void putInt(QByteArray& bytes, int at, quint32 value)
{
    qToBigEndian(value, reinterpret_cast<uchar*>(bytes.data()) + at);
}

} // namespace

// No path, and a bundle that cannot be opened, give an empty theme; nothing throws.
TEST(Theme, MissingBundlesGiveAnEmptyTheme)
{
    const QString empty = describe(Theme(QString()));
    EXPECT_EQ(empty, describe(*TestUtil::emptyTheme(QString())));
    for (const QString& path : {QString("/no/such/bundle.qvt"), QString("relative")})
        EXPECT_EQ(describe(Theme(path)), empty) << path.toStdString();
    const Theme theme{QString()};
    EXPECT_TRUE(theme.getSkinSets().empty() && theme.getDefaultSkins().empty() &&
                theme.getDefaultItemProperties().empty() && theme.getIcons().empty());
    EXPECT_EQ(theme.getPageBackgroundImages().slotCount(), 64u);
}

TEST(Theme, CopyIsEqualAndChangingItLeavesTheOriginalUntouched)
{
    const std::unique_ptr<Theme> original = TestUtil::sampleTheme();
    const QString before = describe(*original);
    Theme copy(*original);
    EXPECT_EQ(describe(copy), before);
    EXPECT_NE(copy.getSkinSet(ThemedItemType_BUTTON), original->getSkinSet(ThemedItemType_BUTTON));
    EXPECT_NE(copy.findSkin(ThemedItemType_BUTTON, "Normal"),
              original->findSkin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_NE(&copy.getIcons()[7], &original->getIcons()[7]);

    // Change every member of the copy.
    copy.setName("Red");
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    copy.setSplashImage(Orientation_LANDSCAPE, red);
    copy.setSplashImage(Orientation_PORTRAIT, red);
    copy.removePageBackgroundImage(0);
    copy.addIconData("icon 8");
    copy.removeIcon(7);
    copy.addControlImageData("control 2");
    copy.removeSkinImage(0);
    copy.removeSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), 0);
    copy.addSkinImageReference(SkinPropertyKey(ThemedItemType_SLIDER, "x"), 3);
    copy.findSkin(ThemedItemType_BUTTON, "Normal")->setPropertyValue("borderWidth", 30);
    copy.findSkin(ThemedItemType_BUTTON, "Pressed")->getTransition().easing = 0;
    copy.getSkinSet(ThemedItemType_BUTTON)->renameSkin("Pressed", "Down");
    copy.getSkinSet(ThemedItemType_CLOCK)->getSkin("Second", true);
    copy.setSkinSet(smart_ptr<SkinSet>(new SkinSet(ThemedItemType_KEYPAD)));
    copy.setDefaultSkin(ThemedItemType_BUTTON, "Down");
    copy.clearDefaultSkin(ThemedItemType_SLIDER);
    copy.setDefaultItemProperty(ThemedItemType_BUTTON, "fontSize", 50);
    copy.setDefaultItemProperty(ThemedItemType_LABEL, "width", 10);
    copy.getPageBackgroundImages().erase(copy.getPageBackgroundImages().begin(),
                                         copy.getPageBackgroundImages().end());

    EXPECT_EQ(describe(*original), before);
    EXPECT_NE(describe(copy), before);
    // A copy's stores keep their step and maximum.
    for (int i = 0; i < 300; ++i)
        copy.addPageBackgroundImageData(QByteArray::number(i), 0);
    EXPECT_EQ(copy.getPageBackgroundImages().size(), 256u);
}

TEST(Theme, SplashImageOfAnyOrientationButLandscapeIsThePortraitOne)
{
    Theme theme{QString()};
    QImage image(3, 5, QImage::Format_RGB32);
    theme.setSplashImage(Orientation_ANY, image);
    EXPECT_EQ(theme.getPortraitSplash().size(), QSize(3, 5));
    EXPECT_TRUE(theme.getLandscapeSplash().isNull());
    theme.setSplashImage(Orientation_LANDSCAPE, image.scaled(6, 2));
    EXPECT_EQ(theme.getLandscapeSplash().size(), QSize(6, 2));
    EXPECT_EQ(theme.getPortraitSplash().size(), QSize(3, 5));
}

TEST(Theme, SkinImageReferencesDropTheirLastId)
{
    Theme theme{QString()};
    const SkinPropertyKey key(ThemedItemType_BUTTON, "backgroundImage");
    theme.addSkinImageReference(key, 4);
    theme.addSkinImageReference(key, 4);
    theme.addSkinImageReference(key, 2);
    ASSERT_EQ(theme.getSkinImageReferences().size(), 1u);
    EXPECT_EQ(theme.getSkinImageReferences().at(key), std::set<unsigned int>({2, 4}));

    theme.removeSkinImageReference(key, 9);
    theme.removeSkinImageReference(SkinPropertyKey(ThemedItemType_SLIDER, "backgroundImage"), 4);
    theme.removeSkinImageReference(key, 4);
    EXPECT_EQ(theme.getSkinImageReferences().at(key), std::set<unsigned int>({2}));
    theme.removeSkinImageReference(key, 2);
    EXPECT_EQ(theme.getSkinImageReferences().count(key), 0u);
}

TEST(Theme, SkinLookups)
{
    const std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    const Theme& constTheme = *theme;
    EXPECT_EQ(constTheme.getSkinSet(ThemedItemType_KEYPAD), nullptr);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_KEYPAD, "Normal"), nullptr);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_BUTTON, "Absent"), nullptr);
    ASSERT_NE(constTheme.findSkin(ThemedItemType_BUTTON, "Pressed"), nullptr);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_BUTTON, "Normal")->getPropertyValue("borderWidth"),
              QVariant(3));
    EXPECT_EQ(constTheme.getDefaultSkin(ThemedItemType_BUTTON),
              constTheme.findSkin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_EQ(theme->getDefaultSkin(ThemedItemType_SLIDER),
              theme->findSkin(ThemedItemType_SLIDER, "Track"));

    // No default name, or a name without a skin set: no default skin.
    EXPECT_EQ(constTheme.getDefaultSkin(ThemedItemType_CLOCK), nullptr);
    theme->setDefaultSkin(ThemedItemType_KEYPAD, "Normal");
    EXPECT_EQ(constTheme.getDefaultSkin(ThemedItemType_KEYPAD), nullptr);

    // A replaced skin set takes the place of the old one.
    smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
    const SkinSet* replacement = buttons.get();
    buttons->getSkin("Normal", true);
    theme->setSkinSet(buttons);
    EXPECT_EQ(constTheme.getSkinSet(ThemedItemType_BUTTON), replacement);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_BUTTON, "Pressed"), nullptr);
    EXPECT_EQ(constTheme.getSkinSets().size(), 3u);
}

TEST(ThemeDeathTest, DefaultNameWithoutItsSkinIsFatalInMemory)
{
    const std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    theme->getSkinSet(ThemedItemType_BUTTON)->removeSkin("Normal");
    EXPECT_DEATH(theme->getDefaultSkin(ThemedItemType_BUTTON),
                 "Assert: 'iSkin != skins.end\\(\\)' is FALSE");
}

TEST(Theme, StaleDefaultSkinNamesCanBeDropped)
{
    const std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    // As a reader can leave them: a later set of one type without the named skin, and a
    // default name for a type without a set.
    smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
    buttons->getSkin("Other", true);
    theme->setSkinSet(buttons);
    theme->setDefaultSkin(ThemedItemType_KEYPAD, "Normal");

    EXPECT_EQ(theme->dropStaleDefaultSkins(), 2);
    EXPECT_EQ(theme->getDefaultSkins().size(), 1u);
    EXPECT_EQ(theme->getDefaultSkins().at(ThemedItemType_SLIDER), "Track");
    EXPECT_EQ(theme->getDefaultSkin(ThemedItemType_BUTTON), nullptr);
    EXPECT_EQ(theme->getDefaultSkin(ThemedItemType_SLIDER),
              theme->findSkin(ThemedItemType_SLIDER, "Track"));
    EXPECT_EQ(theme->dropStaleDefaultSkins(), 0);
}

TEST(Themed, DefaultFromThemeTruthTable)
{
    const QVariant none;
    const QVariant gradientA = QVariant::fromValue(gradientOf(Qt::red, Qt::blue));
    const QVariant gradientB = QVariant::fromValue(gradientOf(Qt::red, Qt::green));
    struct Case
    {
        const char* what;
        QVariant newDefault;
        bool hasPrevious;
        QVariant previousDefault;
        QVariant current;
        bool taken;
    };
    const Case cases[] = {
        {"new theme has no default", none, false, none, 11, false},
        {"no default, previous had one equal", none, true, 11, 11, false},
        {"no previous theme", 12, false, none, 11, true},
        {"no previous theme, current invalid", 12, false, none, none, true},
        {"previous default still shown", 12, true, 10, 10, true},
        {"user changed the value", 12, true, 10, 11, false},
        {"previous theme had no default", 12, true, none, 11, false},
        {"previous had none, current invalid", 12, true, none, none, false},
        {"gradient still the old default", gradientB, true, gradientA,
         QVariant::fromValue(gradientOf(Qt::red, Qt::blue)), true},
        {"gradient changed by the user", gradientB, true, gradientA, gradientB, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Theme theme{QString()};
        Theme previous{QString()};
        if (c.newDefault.isValid())
            theme.setDefaultItemProperty(ThemedItemType_LABEL, "width", c.newDefault);
        if (c.previousDefault.isValid())
            previous.setDefaultItemProperty(ThemedItemType_LABEL, "width", c.previousDefault);
        // Defaults of another type or name never count.
        previous.setDefaultItemProperty(ThemedItemType_BUTTON, "width", c.current);
        previous.setDefaultItemProperty(ThemedItemType_LABEL, "height", c.current);

        QVariant result = "untouched";
        const bool taken =
            Themed::defaultFromTheme(&theme, c.hasPrevious ? &previous : nullptr,
                                     ThemedItemType_LABEL, "width", c.current, result);
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(result, c.newDefault);
    }
}

TEST(ThemeNames, ItemTypeAndTextStyleNamesBothWays)
{
    const QStringList types = {"Button",        "Slider", "Colour Picker", "Keypad",
                               "Page Switcher", "Label",  "Clock"};
    for (int type = 1; type <= 7; ++type) {
        EXPECT_EQ(themedItemTypeName(type), types[type - 1]);
        EXPECT_EQ(themedItemTypeFromName(types[type - 1]), type);
    }
    for (const char* text : {"page switcher", "PageSwitcher", "", " Button", "Colour picker"})
        EXPECT_EQ(int(themedItemTypeFromName(text)), 0) << text;
    for (int type : {0, 8, -1})
        EXPECT_TRUE(themedItemTypeName(type).isEmpty()) << type;

    const QStringList styles = {"Normal", "Outline", "Raised", "Sunken"};
    for (int style = 0; style < 4; ++style) {
        EXPECT_EQ(textStyleName(style), styles[style]);
        EXPECT_EQ(textStyleFromName(styles[style]), style);
    }
    for (const char* text : {"normal", "Bold", ""})
        EXPECT_EQ(textStyleFromName(text), 4) << text;
    EXPECT_TRUE(textStyleName(4).isEmpty() && textStyleName(-1).isEmpty());
}

// The digest is MD5, as project files of every version hold it.
TEST(ImageData, BytesCarryTheirDigest)
{
    ImageData image;
    image.setData("abc");
    EXPECT_EQ(image.getMd5(), fromHex("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(ImageData::digestOf(QByteArray()), fromHex("d41d8cd98f00b204e9800998ecf8427e"));
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
    EXPECT_TRUE(theme.getIcons()[0].getData().isEmpty());
    EXPECT_TRUE(theme.getIcons()[0].getMd5().isEmpty());
    EXPECT_TRUE(theme.getIconPixmap(0).isNull());
    // A folder is no readable file either.
    EXPECT_EQ(theme.addIcon(dir.path()), 0u);
}

TEST(ImageStore, PixmapsAreDecodedAndIconsScaled)
{
    Theme theme{QString()};
    const QByteArray wide = pngBytes(100, 50, Qt::red);
    ASSERT_EQ(theme.addIconData(wide), 0u);
    ASSERT_EQ(theme.addPageBackgroundImageData(wide, Orientation_LANDSCAPE), 0u);
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

TEST(EditTheme, SkinSetIsCreatedOnlyWhenAskedFor)
{
    EditTheme theme(*TestUtil::sampleTheme());
    SkinSet* buttons = theme.getSkinSet(ThemedItemType_BUTTON);
    EXPECT_EQ(theme.skinSet(ThemedItemType_BUTTON, true), buttons);
    EXPECT_EQ(theme.skinSet(ThemedItemType_KEYPAD, false), nullptr);
    EXPECT_EQ(theme.getSkinSets().count(ThemedItemType_KEYPAD), 0u);
    SkinSet* keypads = theme.skinSet(ThemedItemType_KEYPAD, true);
    ASSERT_NE(keypads, nullptr);
    EXPECT_EQ(keypads->getItemType(), ThemedItemType_KEYPAD);
    EXPECT_EQ(theme.getSkinSet(ThemedItemType_KEYPAD), keypads);
}

TEST(EditTheme, NewSkinTakesTheDefaultSkinsValuesButNotItsTransition)
{
    EditTheme theme(*TestUtil::sampleTheme());
    ASSERT_TRUE(theme.createSkin(ThemedItemType_BUTTON, "Hover"));
    const Skin* hover = theme.findSkin(ThemedItemType_BUTTON, "Hover");
    const SkinProperties* table = SkinProperties::getSkinProperties(ThemedItemType_BUTTON);
    EXPECT_EQ(hover->size(), table->size());
    EXPECT_EQ(hover->getPropertyValue("borderWidth"), QVariant(3));
    EXPECT_EQ(hover->getPropertyValue("gradientTopColour"), QVariant(QColor("#123456")));
    EXPECT_EQ(hover->getPropertyValue("radius"), table->getProperty("radius")->getValue());
    EXPECT_EQ(hover->getTransition().duration, SkinTransition::DefaultDuration);
    EXPECT_EQ(hover->getTransition().easing, SkinTransition::DefaultEasing);

    // A taken name changes nothing; the Page Switcher has no table, so no properties.
    EXPECT_FALSE(theme.createSkin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_EQ(theme.findSkin(ThemedItemType_BUTTON, "Normal")->getTransition().duration, 250);
    EXPECT_EQ(theme.getSkinSet(ThemedItemType_BUTTON)->size(), 3u);
    ASSERT_TRUE(theme.createSkin(ThemedItemType_PAGE_SWITCHER, "Bar"));
    EXPECT_EQ(theme.findSkin(ThemedItemType_PAGE_SWITCHER, "Bar")->size(), 0u);
}

TEST(EditTheme, DuplicatesAreNumberedFromTwo)
{
    EditTheme theme(*TestUtil::sampleTheme());
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        QString name;
        ASSERT_TRUE(theme.duplicateSkin(ThemedItemType_BUTTON, "Pressed", name));
        names << name;
    }
    EXPECT_EQ(names, QStringList({"Copy of Pressed", "Copy 2 of Pressed", "Copy 3 of Pressed"}));

    QString name;
    EXPECT_FALSE(theme.duplicateSkin(ThemedItemType_KEYPAD, "Pressed", name));
    EXPECT_FALSE(theme.duplicateSkin(ThemedItemType_BUTTON, "Missing", name));
    EXPECT_EQ(theme.getSkinSet(ThemedItemType_KEYPAD), nullptr);
}

TEST(EditTheme, AddSkinRefusesATakenNameAndLeavesTheSkinWithTheCaller)
{
    EditTheme theme(*TestUtil::sampleTheme());
    smart_ptr<Skin> taken(new Skin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_FALSE(theme.addSkin(taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(theme.findSkin(ThemedItemType_BUTTON, "Normal")->size(), 5u);
    smart_ptr<Skin> fresh(new Skin(ThemedItemType_KEYPAD, "Key"));
    EXPECT_TRUE(theme.addSkin(fresh));
    EXPECT_FALSE(fresh);
    EXPECT_TRUE(theme.findSkin(ThemedItemType_KEYPAD, "Key"));
}

TEST(EditTheme, ImageFilesAreSortedByContentAndTheBundleLimits)
{
    const TestUtil::ReaderLimits limits({4096, 600, 1 << 20, 4, 4096});
    QTemporaryDir folder;
    const QByteArray red = TestUtil::pngBytes(4, 4, Qt::red);
    QImage reencoded;
    reencoded.loadFromData(red);
    ASSERT_TRUE(reencoded.save(folder.filePath("red.bmp")));
    const std::pair<const char*, QByteArray> files[] = {
        {"red.png", red},
        {"copy.png", red},
        {"blue.png", TestUtil::pngBytes(4, 4, Qt::blue)},
        {"broken.png", "not an image"},
        {"empty.png", ""},
        {"wide.png", TestUtil::pngBytes(5, 4, Qt::red)},
        {"huge.png", TestUtil::hugePngHeader()},
        {"heavy.png", QByteArray(601, 'x')}};
    for (const auto& [name, bytes] : files)
        ASSERT_TRUE(TestUtil::writeFile(folder.filePath(name), bytes));

    EditTheme theme(*TestUtil::sampleTheme());
    theme.addIconData(red);
    EXPECT_TRUE(theme.hasIcon(folder.filePath("copy.png")));
    EXPECT_FALSE(theme.hasIcon(folder.filePath("red.bmp")));
    EXPECT_FALSE(theme.hasPageBackground(folder.filePath("red.png")));

    QStringList paths;
    for (const char* name : {"red.png", "missing.png", "blue.png", "broken.png", "red.bmp",
                             "empty.png", "wide.png", "huge.png", "heavy.png"})
        paths << folder.filePath(name);
    // What is no file is named as such, unread (a FIFO that nothing writes to would hang).
    QStringList notFiles;
    for (const auto& [path, message] : TestUtil::nonFiles(folder.path(), ".png")) {
        paths << path;
        notFiles << path + ": " + message;
    }
    // The room left takes the blue picture and no more.
    const EditTheme::ImageFiles sorted =
        theme.sortImageFiles(paths, theme.getIcons(), QFileInfo(paths[2]).size());
    EXPECT_EQ(sorted.newFiles, QStringList({paths[2]}));
    EXPECT_EQ(sorted.storedFiles, QStringList({paths[0]}));
    EXPECT_EQ(sorted.unreadableFiles, QStringList({paths[1], paths[3], paths[5]}));
    QStringList refused;
    for (const EditTheme::RefusedFile& file : sorted.notRegularFiles) {
        refused << file.path + ": " + file.reason;
        EXPECT_FALSE(EditTheme::isImageFile(file.path));
    }
    EXPECT_EQ(refused, notFiles);
    QStringList tooLarge;
    for (const EditTheme::RefusedFile& file : sorted.tooLargeFiles)
        tooLarge << QFileInfo(file.path).fileName() + ": " + file.reason;
    const QString side = ", larger than the 4 by 4 pixels a theme image may have";
    EXPECT_EQ(
        tooLarge,
        QStringList({"red.bmp: with the theme's other images more than the 1048576 bytes a "
                     "theme bundle may hold",
                     "wide.png: 5 by 4 pixels" + side, "huge.png: 10000 by 10000 pixels" + side,
                     "heavy.png: 601 bytes, more than the 600 bytes a theme image may hold"}));
    EXPECT_FALSE(EditTheme::isImageFile(paths[6]));
}

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
    const auto theme = readTheme(HexFixture::load("project/theme_v1"));
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
    const auto theme = readTheme(HexFixture::load("project/theme_v13"));
    ASSERT_EQ(idsOf(theme->getControlImages()), QList<unsigned int>({3}));
    EXPECT_EQ(theme->getControlImages()[3].getMd5(),
              fromHex("00112233 44556677 8899aabb ccddeeff"));
    EXPECT_TRUE(theme->getSkinImages().empty());
    EXPECT_EQ(theme->getDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "timeFormat"),
              QVariant(QString("h:mm")));
}

TEST(ThemeStream, VersionSixteenBlockAddsSkinImagesAndReferences)
{
    const auto theme = readTheme(HexFixture::load("project/theme_v16"));
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
