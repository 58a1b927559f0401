#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "core/gradient.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/skin_transition.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_xml_values.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

// The bytes of a store's images in id order, and their orientations.
std::vector<std::pair<QByteArray, int>> contentOf(const Theme::ImageStore& store)
{
    std::vector<std::pair<QByteArray, int>> content;
    for (const ImageData& image : store)
        content.emplace_back(image.getData(), image.getOrientation());
    return content;
}

std::vector<unsigned int> idsOf(const Theme::ImageStore& store)
{
    std::vector<unsigned int> ids;
    for (const ImageData& image : store)
        ids.push_back(image.getId());
    return ids;
}

// What a value looks like after a trip through the document: gradients lose the alpha of
// their stops, text styles stay, every other value comes back as its text.
QVariant defaultPropertyAfterTrip(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<Gradient>()) {
        GradientStops stops = value.value<Gradient>().stops();
        for (auto& stop : stops)
            stop.second.setAlpha(255);
        Gradient gradient;
        gradient.setStops(stops);
        return QVariant::fromValue(gradient);
    }
    if (value.metaType() == QMetaType::fromType<TextStyle>())
        return value;
    return QVariant(value.toString());
}

class ThemeRoundTrip : public ::testing::Test
{
protected:
    // Writes the theme with the bundle writer and loads the bundle back.
    std::unique_ptr<Theme> roundTrip(const Theme& theme)
    {
        const QString path = work.filePath("trip.qvt");
        ThemeFileWriter writer(&theme, nullptr);
        EXPECT_TRUE(writer.write(path));
        return std::make_unique<Theme>(path);
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir work;
};

} // namespace

// A theme written to a bundle and read back differs only in what the document cannot carry:
// ids renumbered in document order, values as text, lost alphas and orientations 0, a skin
// image per property that uses it, unnamed easings, and what the writer leaves out.
TEST_F(ThemeRoundTrip, ReadBackDiffersOnlyAsTheDocumentAllows)
{
    std::unique_ptr<Theme> original = TestUtil::sampleTheme();
    // One skin image used by two properties, and a default skin for a type without skins.
    Skin* normal = original->findSkin(ThemedItemType_BUTTON, "Normal");
    {
        const SkinProperty* definition = SkinProperties::getSkinProperties(ThemedItemType_BUTTON)
                                             ->getProperty("backgroundImage_pressed");
        smart_ptr<SkinProperty> property(SkinProperty::create(definition->getType()));
        property->copyFrom(*definition);
        property->setValue(QVariant(0u));
        normal->setProperty(property);
        original->addSkinImageReference(
            SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage_pressed"), 0);
    }
    original->setDefaultSkin(ThemedItemType_KEYPAD, "Ghost");

    const std::unique_ptr<Theme> read = roundTrip(*original);

    EXPECT_EQ(read->getName(), original->getName());
    EXPECT_EQ(read->getLandscapeSplash().convertToFormat(QImage::Format_RGB32),
              original->getLandscapeSplash());
    EXPECT_TRUE(read->getPortraitSplash().isNull());

    // Image stores: renumbered from 0 in id order; orientation 0 becomes landscape.
    auto backgrounds = contentOf(original->getPageBackgroundImages());
    for (auto& image : backgrounds) {
        if (image.second == Orientation_ANY)
            image.second = Orientation_LANDSCAPE;
    }
    EXPECT_EQ(contentOf(read->getPageBackgroundImages()), backgrounds);
    EXPECT_EQ(idsOf(read->getPageBackgroundImages()), (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(contentOf(read->getIcons()), contentOf(original->getIcons()));
    EXPECT_EQ(idsOf(read->getIcons()), std::vector<unsigned int>{0});
    EXPECT_EQ(contentOf(read->getControlImages()), contentOf(original->getControlImages()));
    for (const ImageData& image : read->getIcons())
        EXPECT_EQ(image.getMd5(), ImageData::digestOf(image.getData()));

    // Default item properties: only item types with a name travel.
    for (const auto& [itemType, properties] : original->getDefaultItemProperties()) {
        if (themedItemTypeName(itemType).isEmpty()) {
            EXPECT_EQ(read->getDefaultItemProperties().count(itemType), 0u);
            continue;
        }
        ASSERT_EQ(read->getDefaultItemProperties().count(itemType), 1u);
        const auto& readProperties = read->getDefaultItemProperties().at(itemType);
        ASSERT_EQ(readProperties.size(), properties.size());
        for (const auto& [name, value] : properties)
            EXPECT_EQ(readProperties.at(name), defaultPropertyAfterTrip(value))
                << name.toStdString();
    }

    // Default skins: kept where they name a skin of the set.
    EXPECT_EQ(read->getDefaultSkins(), (Theme::DefaultSkinMap{{ThemedItemType_BUTTON, "Normal"},
                                                              {ThemedItemType_SLIDER, "Track"}}));

    // Skins: every property the original holds comes back; the others are completed.
    Theme::SkinImageReferenceMap expectedReferences;
    std::set<unsigned int> skinImageIds;
    ASSERT_EQ(read->getSkinSets().size(), original->getSkinSets().size());
    for (const auto& [itemType, skinSet] : original->getSkinSets()) {
        const SkinSet* readSet = read->getSkinSet(itemType);
        ASSERT_TRUE(readSet);
        const SkinProperties* table = SkinProperties::getSkinProperties(itemType);
        const Skin* readDefault = read->getDefaultSkin(itemType);
        ASSERT_EQ(readSet->size(), skinSet->size());
        for (const auto& [skinName, skin] : *skinSet) {
            SCOPED_TRACE(skinName.toStdString());
            const Skin* readSkin = readSet->getSkin(skinName);
            ASSERT_TRUE(readSkin);
            EXPECT_EQ(readSkin->getTransition().duration, skin->getTransition().duration);
            const int easing = EasingCurveNames::name(skin->getTransition().easing)
                                   ? skin->getTransition().easing
                                   : SkinTransition::DefaultEasing;
            EXPECT_EQ(readSkin->getTransition().easing, easing);
            EXPECT_EQ(readSkin->size(), table->size());
            for (const auto& [key, definition] : *table) {
                SCOPED_TRACE(key.toStdString());
                const SkinProperty* readProperty = readSkin->getProperty(key);
                ASSERT_TRUE(readProperty);
                EXPECT_EQ(readProperty->getCaption(), definition->getCaption());
                const QVariant value = readProperty->getValue();
                const SkinProperty* property = skin->getProperty(key);
                const QVariant filled = readDefault && readDefault != readSkin
                                            ? readDefault->getPropertyValue(key)
                                            : definition->getValue();
                if (!property) {
                    EXPECT_EQ(value, filled);
                    continue;
                }
                const QVariant before = property->getValue();
                switch (property->getType()) {
                case SkinPropertyType_BOOL:
                case SkinPropertyType_STRING:
                    EXPECT_EQ(value, QVariant(before.toString()));
                    break;
                case SkinPropertyType_IMAGE: {
                    bool isId = false;
                    const unsigned int id = before.toString().toUInt(&isId);
                    if (!before.isValid()) {
                        EXPECT_FALSE(value.isValid());
                    } else if (isId && original->getSkinImages().exists(id)) {
                        // Its own copy of the picture, under a new id.
                        ASSERT_EQ(value.metaType(), QMetaType::fromType<unsigned int>());
                        const unsigned int readId = value.toUInt();
                        EXPECT_TRUE(skinImageIds.insert(readId).second);
                        ASSERT_TRUE(read->getSkinImages().exists(readId));
                        EXPECT_EQ(read->getSkinImages()[readId].getData(),
                                  original->getSkinImages()[id].getData());
                        expectedReferences[SkinPropertyKey(itemType, key)].insert(readId);
                    } else {
                        // Names no stored picture: left out, then completed.
                        EXPECT_EQ(value, filled);
                    }
                    break;
                }
                default:
                    EXPECT_EQ(value, before);
                }
            }
        }
    }
    EXPECT_EQ(read->getSkinImages().size(), skinImageIds.size());
    EXPECT_EQ(read->getSkinImageReferences(), expectedReferences);
}
