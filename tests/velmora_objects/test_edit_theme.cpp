#include "common/helpers.h"
#include "common/sample_themes.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"

#include <QImage>
#include <QTemporaryDir>

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

TEST(EditTheme, ImageFilesAreSortedByContent)
{
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
        {"empty.png", ""}};
    for (const auto& [name, bytes] : files)
        ASSERT_TRUE(TestUtil::writeFile(folder.filePath(name), bytes));

    EditTheme theme(*TestUtil::sampleTheme());
    theme.addIconData(red);
    EXPECT_TRUE(theme.hasIcon(folder.filePath("copy.png")));
    EXPECT_FALSE(theme.hasIcon(folder.filePath("red.bmp")));
    EXPECT_FALSE(theme.hasPageBackground(folder.filePath("red.png")));

    const QStringList paths = {folder.filePath("red.png"),  folder.filePath("missing.png"),
                               folder.filePath("blue.png"), folder.filePath("broken.png"),
                               folder.filePath("red.bmp"),  folder.filePath("empty.png")};
    const EditTheme::ImageFiles sorted = theme.sortImageFiles(paths, theme.getIcons());
    EXPECT_EQ(sorted.newFiles, QStringList({paths[2], paths[4]}));
    EXPECT_EQ(sorted.storedFiles, QStringList({paths[0]}));
    EXPECT_EQ(sorted.unreadableFiles, QStringList({paths[1], paths[3], paths[5]}));
}
