#include "appengine/theme_splash_item_model.h"

#include <QStandardItem>
#include <gtest/gtest.h>

using namespace Velmora;

// Rows are matched by type and by exact skin name: adding again only changes the check state.
TEST(ThemeSplashItemModel, AddingAgainReusesTheRow)
{
    ThemeSplashItemModel model;
    EXPECT_EQ(model.addSkinItem(ThemedItemType_BUTTON, "Normal", true), nullptr);
    EXPECT_EQ(model.rowCount(), 0);

    QStandardItem* buttons = model.addItemType(ThemedItemType_BUTTON, "Button", true);
    EXPECT_EQ(model.addItemType(ThemedItemType_BUTTON, "Knopf", false), buttons);
    EXPECT_EQ(buttons->text(), "Button");
    EXPECT_EQ(buttons->data(Qt::UserRole).toInt(), int(ThemedItemType_BUTTON));
    EXPECT_TRUE(buttons->isCheckable());
    model.addItemType(ThemedItemType_SLIDER, "Slider", true);

    QStandardItem* normal = model.addSkinItem(ThemedItemType_BUTTON, "Normal", true);
    EXPECT_EQ(model.addSkinItem(ThemedItemType_BUTTON, "normal", true)->row(), 1);
    EXPECT_EQ(model.addSkinItem(ThemedItemType_BUTTON, "Normal", false), normal);
    EXPECT_EQ(buttons->rowCount(), 2);
    EXPECT_EQ(normal->data(Qt::UserRole).toInt(), int(ThemedItemType_BUTTON));
    EXPECT_EQ(model.rowCount(), 2);
}

// Only fully checked rows count; skins are read whatever their type row's state.
TEST(ThemeSplashItemModel, QueriesReadCheckedRowsInOrder)
{
    ThemeSplashItemModel model;
    model.addItemType(ThemedItemType_PAGE_SWITCHER, "Page Switcher", true);
    model.addItemType(ThemedItemType_BUTTON, "Button", false);
    QStandardItem* sliders = model.addItemType(ThemedItemType_SLIDER, "Slider", true);
    for (const char* name : {"Zeta", "Alpha", "Mid"})
        model.addSkinItem(ThemedItemType_BUTTON, name, true);
    model.addSkinItem(ThemedItemType_BUTTON, "Alpha", false);
    model.addSkinItem(ThemedItemType_SLIDER, "Track", true)->setCheckState(Qt::PartiallyChecked);

    EXPECT_EQ(model.checkedItemTypes(),
              QList<ThemedItemType>({ThemedItemType_PAGE_SWITCHER, ThemedItemType_SLIDER}));
    EXPECT_EQ(model.checkedSkins(ThemedItemType_BUTTON), QStringList({"Zeta", "Mid"}));
    EXPECT_TRUE(model.checkedSkins(ThemedItemType_SLIDER).isEmpty());
    EXPECT_TRUE(model.checkedSkins(ThemedItemType_CLOCK).isEmpty());
    sliders->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(model.checkedItemTypes(), QList<ThemedItemType>({ThemedItemType_PAGE_SWITCHER}));

    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.checkedItemTypes().isEmpty());
    EXPECT_TRUE(model.checkedSkins(ThemedItemType_BUTTON).isEmpty());
    EXPECT_EQ(model.addSkinItem(ThemedItemType_BUTTON, "Zeta", true), nullptr);
}
