#include "common/sample_themes.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/skin.h"

#include <gtest/gtest.h>

using namespace Velmora;

TEST(EditTheme, IsAnIndependentCompleteCopy)
{
    const std::unique_ptr<Theme> source = TestUtil::sampleTheme();
    EditTheme copy(*source);
    EXPECT_EQ(copy.getName(), "Blue");
    EXPECT_EQ(copy.getLandscapeSplash(), source->getLandscapeSplash());
    ASSERT_TRUE(copy.getIcons().exists(7));
    EXPECT_EQ(copy.getIcons()[7].getData(), "icon 7");
    EXPECT_EQ(copy.getSkinImages().size(), 3u);
    EXPECT_EQ(copy.getDefaultSkins(), source->getDefaultSkins());
    EXPECT_EQ(copy.getDefaultItemProperty(ThemedItemType_BUTTON, "fontSize"), QVariant(12));
    ASSERT_TRUE(copy.findSkin(ThemedItemType_BUTTON, "Normal"));
    EXPECT_NE(copy.findSkin(ThemedItemType_BUTTON, "Normal"),
              source->findSkin(ThemedItemType_BUTTON, "Normal"));

    copy.setName("Changed");
    copy.removeSkinImage(1);
    copy.findSkin(ThemedItemType_BUTTON, "Normal")->setPropertyValue("borderWidth", 9);
    EXPECT_EQ(source->getName(), "Blue");
    EXPECT_TRUE(source->getSkinImages().exists(1));
    EXPECT_EQ(source->findSkin(ThemedItemType_BUTTON, "Normal")->getPropertyValue("borderWidth"),
              QVariant(3));
}

TEST(EditTheme, SkinSetIsCreatedOnlyWhenAskedFor)
{
    EditTheme theme(*TestUtil::sampleTheme());
    SkinSet* buttons = theme.getSkinSet(ThemedItemType_BUTTON);
    EXPECT_EQ(theme.skinSet(ThemedItemType_BUTTON, false), buttons);
    EXPECT_EQ(theme.skinSet(ThemedItemType_BUTTON, true), buttons);

    EXPECT_EQ(theme.skinSet(ThemedItemType_KEYPAD, false), nullptr);
    EXPECT_EQ(theme.getSkinSets().count(ThemedItemType_KEYPAD), 0u);

    SkinSet* keypads = theme.skinSet(ThemedItemType_KEYPAD, true);
    ASSERT_NE(keypads, nullptr);
    EXPECT_EQ(keypads->getItemType(), ThemedItemType_KEYPAD);
    EXPECT_EQ(keypads->size(), 0u);
    EXPECT_EQ(theme.getSkinSet(ThemedItemType_KEYPAD), keypads);
    EXPECT_EQ(theme.skinSet(ThemedItemType_KEYPAD, true), keypads);
}
