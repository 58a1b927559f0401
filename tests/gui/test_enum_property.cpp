#include "gui/enum_property.h"
#include "velmora_objects/velmora_types.h"

#include <QComboBox>
#include <gtest/gtest.h>
#include <memory>

using Velmora::ButtonFunction;

TEST(EnumProperty, ListsChoicesInTheOrderAddedAndTakesOnlyItsType)
{
    EnumProperty<ButtonFunction> function(nullptr);
    const char* texts[] = {"None",
                           "Next Page",
                           "Previous Page",
                           "Go To Page",
                           "Increase Brightness",
                           "Decrease Brightness",
                           "Set Brightness",
                           "Back",
                           "Lock"};
    for (int value : {0, 1, 2, 7, 3, 4, 5, 6, 8})
        function.setString(ButtonFunction(value), texts[value]);
    function.setValue(QVariant::fromValue(Velmora::ButtonFunction_BACK));
    EXPECT_EQ(function.toText(), "Back");

    std::unique_ptr<QComboBox> combo(
        qobject_cast<QComboBox*>(function.createEditor(nullptr, nullptr, nullptr)));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->itemText(3), "Back");
    EXPECT_EQ(combo->itemText(4), "Go To Page");
    function.setEditorData(combo.get());
    EXPECT_EQ(combo->currentIndex(), 3);
    combo->setCurrentIndex(4);
    const QVariant picked = function.valueFromEditor(combo.get());
    EXPECT_EQ(picked, QVariant::fromValue(Velmora::ButtonFunction_GO_TO_PAGE));

    // A plain int is no ButtonFunction; a value without a choice reads empty.
    function.setValue(7);
    EXPECT_FALSE(function.value().isValid());
    function.setEditorData(combo.get());
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(function.valueFromEditor(combo.get()).isValid());
    function.setValue(QVariant::fromValue(ButtonFunction(42)));
    EXPECT_TRUE(function.value().isValid());
    EXPECT_EQ(function.toText(), "");
}

TEST(EnumProperty, BoolChoicesReadAsTheirTexts)
{
    EnumProperty<bool> position(nullptr);
    position.setString(false, "Start");
    position.setString(true, "End");
    position.setValue(true);
    EXPECT_EQ(position.toText(), "End");
    EXPECT_FALSE(position.compare(false));
    EXPECT_FALSE(position.compare(QVariant()));
    position.setValue(QColor(Qt::red));
    EXPECT_TRUE(position.compare(QVariant()));
}

TEST(EnumProperty, ClearEmptiesTheChoicesAndKeepsTheValue)
{
    EnumProperty<QString> startup(nullptr);
    startup.setString("pressed", "pressed");
    startup.setString("", "[None]");
    startup.setString("pressed", "Pressed"); // listed twice, read with the later text
    startup.setValue(QString("pressed"));
    EXPECT_EQ(startup.toText(), "Pressed");
    EXPECT_EQ(startup.choiceModel().rowCount(), 3);
    startup.clear();
    EXPECT_EQ(startup.choiceModel().rowCount(), 0);
    EXPECT_EQ(startup.value(), QVariant(QString("pressed")));
    EXPECT_EQ(startup.toText(), "");
}
