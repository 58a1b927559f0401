#include "core/gradient.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_xml_values.h"

#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

Gradient gradientOf(QColor top, QColor bottom)
{
    Gradient gradient;
    gradient.setStops({{0.0, top}, {1.0, bottom}});
    return gradient;
}

smart_ptr<SkinProperty> radius(int value)
{
    return smart_ptr<SkinProperty>(
        new IntSkinProperty("radius", "Corner radius", value, "px", 0, 99, QString()));
}

// A theme with something in every member.
std::unique_ptr<Theme> sampleTheme()
{
    auto theme = std::make_unique<Theme>(QString());
    theme->setName("Blue");
    QImage landscape(48, 27, QImage::Format_RGB32);
    landscape.fill(Qt::blue);
    theme->setSplashImage(Orientation_LANDSCAPE, landscape);
    theme->setSplashImage(Orientation_PORTRAIT, landscape.transformed(QTransform().rotate(90)));
    theme->addPageBackgroundImageData("background", Orientation_PORTRAIT);
    theme->addIconData("icon 0");
    theme->addIconData("icon 1");
    theme->removeIcon(0);
    theme->addControlImageData("control");
    theme->addSkinImageData("skin");
    theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), 0);

    smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
    buttons->getSkin("Normal", true)->setProperty(radius(5));
    buttons->getSkin("Pressed", true)->setProperty(radius(8));
    buttons->getSkin("Pressed", false)->getTransition().easing = QEasingCurve::OutBounce;
    theme->setSkinSet(buttons);
    smart_ptr<SkinSet> clocks(new SkinSet(ThemedItemType_CLOCK));
    clocks->getSkin("Face", true);
    theme->setSkinSet(clocks);
    theme->setDefaultSkin(ThemedItemType_BUTTON, "Normal");
    theme->setDefaultSkin(ThemedItemType_CLOCK, "Face");

    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "height", 40);
    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "textStyle",
                                  QVariant::fromValue(TextStyle_RAISED));
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "gradient",
                                  QVariant::fromValue(gradientOf(Qt::black, Qt::white)));
    return theme;
}

QStringList skinsOf(const Theme& theme)
{
    QStringList list;
    for (const auto& [type, set] : theme.getSkinSets()) {
        for (const auto& [name, skin] : *set) {
            list << QString("%1/%2 radius=%3 easing=%4")
                        .arg(type)
                        .arg(name)
                        .arg(skin->getPropertyValue("radius").toString())
                        .arg(skin->getTransition().easing);
        }
    }
    return list;
}

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
        stops << QString("%1 %2").arg(stop.first).arg(stop.second.name());
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
    lines << skinsOf(theme);
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

} // namespace

TEST(Theme, EmptyPathGivesAnEmptyThemeAndNoBundleEverThrows)
{
    for (const QString& path : {QString(), QString("/no/such/bundle.qvt"), QString("relative")}) {
        const Theme theme(path);
        EXPECT_TRUE(theme.getName().isEmpty());
        EXPECT_TRUE(theme.getLandscapeSplash().isNull());
        EXPECT_TRUE(theme.getPortraitSplash().isNull());
        EXPECT_TRUE(theme.getSkinSets().empty());
        EXPECT_TRUE(theme.getDefaultSkins().empty());
        EXPECT_TRUE(theme.getDefaultItemProperties().empty());
        EXPECT_TRUE(theme.getSkinImageReferences().empty());
        EXPECT_EQ(theme.getPageBackgroundImages().step(), 64u);
        EXPECT_EQ(theme.getPageBackgroundImages().maximum(), 256u);
        EXPECT_EQ(theme.getPageBackgroundImages().slotCount(), 64u);
        for (const Theme::ImageStore* store :
             {&theme.getIcons(), &theme.getControlImages(), &theme.getSkinImages()}) {
            EXPECT_EQ(store->step(), 256u);
            EXPECT_EQ(store->maximum(), 1024u);
            EXPECT_EQ(store->size(), 0u);
        }
    }
}

TEST(Theme, CopyIsEqualAndChangingItLeavesTheOriginalUntouched)
{
    const std::unique_ptr<Theme> original = sampleTheme();
    const QString before = describe(*original);
    Theme copy(*original);
    EXPECT_EQ(describe(copy), before);
    EXPECT_NE(copy.getSkinSet(ThemedItemType_BUTTON), original->getSkinSet(ThemedItemType_BUTTON));
    EXPECT_NE(copy.findSkin(ThemedItemType_BUTTON, "Normal"),
              original->findSkin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_NE(&copy.getIcons()[1], &original->getIcons()[1]);
    EXPECT_EQ(
        copy.getDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "gradient").value<Gradient>(),
        gradientOf(Qt::black, Qt::white));

    // Change every member of the copy.
    copy.setName("Red");
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    copy.setSplashImage(Orientation_LANDSCAPE, red);
    copy.setSplashImage(Orientation_PORTRAIT, red);
    copy.removePageBackgroundImage(0);
    copy.addIconData("icon 2");
    copy.removeIcon(1);
    copy.addControlImageData("control 2");
    copy.removeSkinImage(0);
    copy.removeSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), 0);
    copy.addSkinImageReference(SkinPropertyKey(ThemedItemType_SLIDER, "x"), 3);
    copy.findSkin(ThemedItemType_BUTTON, "Normal")->setPropertyValue("radius", 30);
    copy.findSkin(ThemedItemType_BUTTON, "Pressed")->getTransition().easing = 0;
    copy.getSkinSet(ThemedItemType_BUTTON)->renameSkin("Pressed", "Down");
    copy.getSkinSet(ThemedItemType_CLOCK)->getSkin("Second", true);
    copy.setSkinSet(smart_ptr<SkinSet>(new SkinSet(ThemedItemType_KEYPAD)));
    copy.setDefaultSkin(ThemedItemType_BUTTON, "Down");
    copy.clearDefaultSkin(ThemedItemType_CLOCK);
    copy.setDefaultItemProperty(ThemedItemType_BUTTON, "height", 50);
    copy.setDefaultItemProperty(ThemedItemType_LABEL, "width", 10);
    copy.getPageBackgroundImages().erase(copy.getPageBackgroundImages().begin(),
                                         copy.getPageBackgroundImages().end());

    EXPECT_EQ(describe(*original), before);
    EXPECT_EQ(original->getDefaultItemProperty(ThemedItemType_BUTTON, "height"), QVariant(40));
    EXPECT_NE(describe(copy), before);
}

TEST(Theme, CopiedStoresKeepTheirStepAndMaximum)
{
    const std::unique_ptr<Theme> original = sampleTheme();
    Theme copy(*original);
    int refused = 0;
    for (int i = 0; i < 300; ++i)
        refused += copy.addPageBackgroundImageData(QByteArray::number(i), 0) == Theme::NoImageId;
    EXPECT_EQ(copy.getPageBackgroundImages().size(), 256u);
    EXPECT_EQ(refused, 300 - 255);
    EXPECT_EQ(copy.getIcons().step(), 256u);
    EXPECT_EQ(copy.getIcons().maximum(), 1024u);
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
    const std::unique_ptr<Theme> theme = sampleTheme();
    const Theme& constTheme = *theme;
    EXPECT_EQ(constTheme.getSkinSet(ThemedItemType_SLIDER), nullptr);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_SLIDER, "Normal"), nullptr);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_BUTTON, "Absent"), nullptr);
    ASSERT_NE(constTheme.findSkin(ThemedItemType_BUTTON, "Pressed"), nullptr);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_BUTTON, "Pressed")->getPropertyValue("radius"),
              QVariant(8));
    EXPECT_EQ(constTheme.getDefaultSkin(ThemedItemType_BUTTON),
              constTheme.findSkin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_EQ(theme->getDefaultSkin(ThemedItemType_CLOCK),
              theme->findSkin(ThemedItemType_CLOCK, "Face"));

    // No default name, or a name without a skin set: no default skin.
    EXPECT_EQ(constTheme.getDefaultSkin(ThemedItemType_SLIDER), nullptr);
    theme->setDefaultSkin(ThemedItemType_SLIDER, "Normal");
    EXPECT_EQ(constTheme.getDefaultSkin(ThemedItemType_SLIDER), nullptr);

    // A replaced skin set takes the place of the old one.
    smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
    const SkinSet* replacement = buttons.get();
    buttons->getSkin("Normal", true);
    theme->setSkinSet(buttons);
    EXPECT_EQ(constTheme.getSkinSet(ThemedItemType_BUTTON), replacement);
    EXPECT_EQ(constTheme.findSkin(ThemedItemType_BUTTON, "Pressed"), nullptr);
    EXPECT_EQ(constTheme.getSkinSets().size(), 2u);
}

TEST(ThemeDeathTest, DefaultNameWithoutItsSkinIsFatalInMemory)
{
    const std::unique_ptr<Theme> theme = sampleTheme();
    theme->getSkinSet(ThemedItemType_BUTTON)->removeSkin("Normal");
    EXPECT_DEATH(theme->getDefaultSkin(ThemedItemType_BUTTON),
                 "Assert: 'iSkin != skins.end\\(\\)' is FALSE");
}

TEST(Theme, StaleDefaultSkinNamesCanBeDropped)
{
    const std::unique_ptr<Theme> theme = sampleTheme();
    // As a reader can leave them: a later set of one type without the named skin, and a
    // default name for a type without a set.
    smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
    buttons->getSkin("Other", true);
    theme->setSkinSet(buttons);
    theme->setDefaultSkin(ThemedItemType_KEYPAD, "Normal");

    EXPECT_EQ(theme->dropStaleDefaultSkins(), 2);
    EXPECT_EQ(theme->getDefaultSkins().size(), 1u);
    EXPECT_EQ(theme->getDefaultSkins().at(ThemedItemType_CLOCK), "Face");
    EXPECT_EQ(theme->getDefaultSkin(ThemedItemType_BUTTON), nullptr);
    EXPECT_EQ(theme->getDefaultSkin(ThemedItemType_CLOCK),
              theme->findSkin(ThemedItemType_CLOCK, "Face"));
    EXPECT_EQ(theme->dropStaleDefaultSkins(), 0);
}

TEST(Theme, DefaultItemProperties)
{
    Theme theme{QString()};
    EXPECT_FALSE(theme.getDefaultItemProperty(ThemedItemType_BUTTON, "height").isValid());
    theme.setDefaultItemProperty(ThemedItemType_BUTTON, "height", 40);
    theme.setDefaultItemProperty(ThemedItemType_BUTTON, "height", 42);
    theme.setDefaultItemProperty(ThemedItemType_BUTTON, "cleared", QVariant());
    EXPECT_EQ(theme.getDefaultItemProperty(ThemedItemType_BUTTON, "height"), QVariant(42));
    EXPECT_FALSE(theme.getDefaultItemProperty(ThemedItemType_BUTTON, "width").isValid());
    EXPECT_FALSE(theme.getDefaultItemProperty(ThemedItemType_SLIDER, "height").isValid());
    EXPECT_EQ(theme.getDefaultItemProperties().at(ThemedItemType_BUTTON).size(), 2u);
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

TEST(ThemeNames, ItemTypeNamesBothWays)
{
    const QStringList names = {"Button",        "Slider", "Colour Picker", "Keypad",
                               "Page Switcher", "Label",  "Clock"};
    for (int type = 1; type <= 7; ++type) {
        EXPECT_EQ(themedItemTypeName(type), names[type - 1]);
        EXPECT_EQ(themedItemTypeFromName(names[type - 1]), type);
    }
    EXPECT_EQ(themedItemTypeFromName("Page Switcher"), ThemedItemType_PAGE_SWITCHER);
    for (const char* text : {"page switcher", "PageSwitcher", "", " Button", "Colour picker"})
        EXPECT_EQ(int(themedItemTypeFromName(text)), 0) << text;
    for (int type : {0, 8, -1})
        EXPECT_TRUE(themedItemTypeName(type).isEmpty()) << type;
}

TEST(ThemeNames, TextStyleNamesBothWays)
{
    const QStringList names = {"Normal", "Outline", "Raised", "Sunken"};
    for (int style = 0; style < 4; ++style) {
        EXPECT_EQ(textStyleName(style), names[style]);
        EXPECT_EQ(textStyleFromName(names[style]), style);
    }
    for (const char* text : {"normal", "Bold", ""})
        EXPECT_EQ(textStyleFromName(text), 4) << text;
    EXPECT_TRUE(textStyleName(4).isEmpty());
    EXPECT_TRUE(textStyleName(-1).isEmpty());
}

TEST(ThemeXmlValues, TextStyleAndGradientElements)
{
    Gradient gradient;
    gradient.setName("Not written");
    gradient.setStops({{0.5, QColor(0x12, 0xAB, 0xEF, 128)}, {0.0, Qt::red}, {1.0 / 3, Qt::white}});

    QString text;
    QXmlStreamWriter writer(&text);
    writer.writeStartElement("Root");
    writeTextStyleElement(writer, TextStyle_SUNKEN);
    writeGradientElement(writer, gradient);
    writeGradientElement(writer, Gradient());
    writer.writeEndElement();

    EXPECT_EQ(text, "<Root><TextStyle>Sunken</TextStyle><Gradient>"
                    "<GradientStop Position=\"0\" Colour=\"#ff0000\"/>"
                    "<GradientStop Position=\"0.333333\" Colour=\"#ffffff\"/>"
                    "<GradientStop Position=\"0.5\" Colour=\"#12abef\"/>"
                    "</Gradient><Gradient/></Root>");
}
