#include "gui/basic_properties.h"
#include "gui/colour_property.h"
#include "gui/enum_property.h"
#include "gui/gradient_property.h"
#include "velmora_objects/velmora_types.h"
#include "widgets/property_id_table.h"

#include <QSpinBox>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<Property> make(int id)
{
    const PropertyRow* row = propertyRow(id);
    EXPECT_NE(row, nullptr) << id;
    return std::unique_ptr<Property>(row ? createPropertyRow(*row, nullptr) : nullptr);
}

QStringList choiceTexts(const Property& p)
{
    QStringList texts;
    const auto& choices = dynamic_cast<const ChoiceProperty&>(p).choiceModel();
    for (int r = 0; r < choices.rowCount(); ++r)
        texts << choices.item(r)->text();
    return texts;
}

} // namespace

// Every id has one row, but the clock type, which the editor does not edit; a row's parent
// belongs to its group. Which rows a selection shows, and under which rows, is the property
// editor's test.
TEST(PropertyIdTable, EveryIdButTheClockTypeHasOneRowInItsGroup)
{
    std::vector<int> seen;
    for (const PropertyRow& row : propertyRows()) {
        seen.push_back(row.id);
        if (row.parent >= 0) {
            EXPECT_EQ(propertyRow(row.parent)->group, row.group) << row.id;
        } else if (row.type == PropertyClass::Group) {
            EXPECT_EQ(row.group, row.id);
        }
    }
    std::vector<int> all;
    for (int id = PropertyId_PAGE; id <= PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END; ++id)
        if (id != PropertyId_CLOCK_TYPE)
            all.push_back(id);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, all);
    EXPECT_EQ(propertyRow(PropertyId_CLOCK_TYPE), nullptr);
}

TEST(PropertyIdTable, NumberRowsTakeTheirRangesAndUnits)
{
    struct IntCase
    {
        int id;
        int minimum, maximum;
        bool wraps;
        QString suffix;
    };
    // Control geometry: within its range, positions off the page too.
    const IntCase ints[] = {{PropertyId_PAGE_GRADIENT_ROTATION, 0, 359, true, "\u00B0"},
                            {PropertyId_CONTROL_X, -32767, 32767, false, ""},
                            {PropertyId_CONTROL_HEIGHT, 0, 65535, false, ""},
                            {PropertyId_BUTTON_FONT_SIZE, 1, 500, false, "px"},
                            {PropertyId_BUTTON_HELD_TIMEOUT, 0, 60000, false, "ms"},
                            {PropertyId_BUTTON_REPEAT_INTERVAL, 0, 60000, false, "ms"},
                            {PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION, 0, 5000, false, ""},
                            {PropertyId_BUTTON_FUNCTION_LEVEL, 0, 255, false, ""},
                            {PropertyId_SLIDER_TEXT_SPACING, 0, 100, false, "px"},
                            {PropertyId_KEYPAD_MAX_DIGITS, 1, 6, false, ""},
                            {PropertyId_CLOCK_FONT_SIZE, 1, 500, false, "px"},
                            {PropertyId_PAGE_SWITCHER_FONT_SIZE, 1, 255, false, "px"},
                            {PropertyId_PAGE_SWITCHER_DATE_TIME_FONT_SIZE, 1, 255, false, "px"}};
    for (const IntCase& c : ints) {
        auto p = make(c.id);
        auto* number = dynamic_cast<IntProperty*>(p.get());
        ASSERT_NE(number, nullptr) << c.id;
        EXPECT_EQ(number->minimum, c.minimum) << c.id;
        EXPECT_EQ(number->maximum, c.maximum) << c.id;
        EXPECT_EQ(number->wrapping, c.wraps) << c.id;
        EXPECT_EQ(number->suffix, c.suffix) << c.id;
    }

    // Rotation steps from 359 round to 0.
    auto rotation = make(PropertyId_PAGE_GRADIENT_ROTATION);
    rotation->setValue(359);
    std::unique_ptr<QWidget> editor(rotation->createEditor(nullptr, nullptr, nullptr));
    auto* spin = qobject_cast<QSpinBox*>(editor.get());
    ASSERT_NE(spin, nullptr);
    rotation->setEditorData(spin);
    spin->stepUp();
    EXPECT_EQ(rotation->valueFromEditor(spin), QVariant(0));

    struct DoubleCase
    {
        int id;
        double minimum, maximum, step;
    };
    for (const DoubleCase& c :
         {DoubleCase{PropertyId_SLIDER_HANDLE_SIZE, 0.05, 0.95, 0.05},
          DoubleCase{PropertyId_PAGE_SWITCHER_BACKGROUND_OPACITY, 0, 1.0, 1.0},
          DoubleCase{PropertyId_PAGE_SWITCHER_HIGHLIGHT_OPACITY, 0, 1.0, 1.0}}) {
        auto p = make(c.id);
        auto* number = dynamic_cast<DoubleProperty*>(p.get());
        ASSERT_NE(number, nullptr) << c.id;
        EXPECT_DOUBLE_EQ(number->minimum, c.minimum) << c.id;
        EXPECT_DOUBLE_EQ(number->maximum, c.maximum) << c.id;
        EXPECT_DOUBLE_EQ(number->singleStep, c.step) << c.id;
        EXPECT_EQ(number->decimals, 2);
    }
}

TEST(PropertyIdTable, ChoiceRowsListTheirTextsInOrder)
{
    const std::pair<int, QStringList> cases[] = {
        {PropertyId_PAGE_IMAGE_SCALING,
         {"None", "Stretch", "Zoom To Fit", "Zoom (Cropped)", "Tiled", "Tiled Vertically",
          "Tiled Horizontally"}},
        {PropertyId_BUTTON_ACTUATION, {"Momentary", "Maintained"}},
        {PropertyId_BUTTON_FUNCTION,
         {"None", "Next Page", "Previous Page", "Back", "Go To Page", "Increase Brightness",
          "Decrease Brightness", "Set Brightness", "Lock"}},
        {PropertyId_BUTTON_FUNCTION_TRANSITION, {"None", "Pan Left", "Pan Right"}},
        {PropertyId_SLIDER_UNIT, {"8 bit", "Percent"}},
        {PropertyId_PAGE_SWITCHER_ALIGNMENT, {"Start", "End", "Center", "Spread"}},
        {PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END, {"Start", "End"}},
        {PropertyId_CONTROL_STARTUP_STATE, {}}};
    for (const auto& [id, texts] : cases) {
        auto p = make(id);
        EXPECT_EQ(choiceTexts(*p), texts) << id;
    }
    auto function = make(PropertyId_BUTTON_FUNCTION);
    function->setValue(QVariant::fromValue(Velmora::ButtonFunction_BACK));
    EXPECT_EQ(function->toText(), "Back");
    auto position = make(PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END);
    position->setValue(true);
    EXPECT_EQ(position->toText(), "End");
}

TEST(PropertyIdTable, ColourAndGradientRowsKeepTheirOptions)
{
    auto background = make(PropertyId_PAGE_BACKGROUND_COLOUR);
    background->setValue(QColor(Qt::red));
    EXPECT_TRUE(background->reset());
    EXPECT_EQ(background->value(), QVariant(QColor(Qt::white)));
    for (int id : {PropertyId_PAGE_SWITCHER_TEXT_COLOUR, PropertyId_PAGE_SWITCHER_HIGHLIGHT_COLOUR})
        EXPECT_FALSE(dynamic_cast<ColourProperty&>(*make(id)).defaultColour.isValid()) << id;
    EXPECT_FALSE(
        dynamic_cast<GradientProperty&>(*make(PropertyId_PAGE_BACKGROUND_GRADIENT)).alphaEnabled);
    EXPECT_TRUE(dynamic_cast<GradientProperty&>(*make(PropertyId_PAGE_SWITCHER_BACKGROUND_GRADIENT))
                    .alphaEnabled);
    EXPECT_EQ(make(PropertyId_PAGE_SWITCHER)->name, "Page Switcher");
    EXPECT_EQ(make(PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION)->name, "Transition Duration");
}
