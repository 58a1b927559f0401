#include "gui/basic_properties.h"
#include "gui/colour_property.h"
#include "gui/enum_property.h"
#include "gui/gradient_property.h"
#include "velmora_objects/velmora_types.h"
#include "widgets/property_id_table.h"

#include <QSpinBox>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
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

TEST(PropertyIdTable, GroupsHoldTheirRowsInOrderAndSubRowsHangUnderTheirRows)
{
    std::map<int, std::vector<int>> direct;
    std::map<int, int> parents;
    std::vector<int> seen;
    for (const PropertyRow& row : propertyRows()) {
        seen.push_back(row.id);
        if (row.parent >= 0) {
            parents[row.id] = row.parent;
            EXPECT_EQ(propertyRow(row.parent)->group, row.group) << row.id;
        } else if (row.type != PropertyClass::Group) {
            direct[row.group].push_back(row.id);
        } else {
            EXPECT_EQ(row.group, row.id);
        }
    }
    std::vector<int> all;
    for (int id = 0; id <= 66; ++id)
        if (id != PropertyId_CLOCK_TYPE)
            all.push_back(id);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, all);
    EXPECT_EQ(propertyRow(PropertyId_CLOCK_TYPE), nullptr);

    const std::map<int, std::vector<int>> expected = {
        {0, {1, 3, 2, 4, 5, 7}},
        {9, {10, 11, 12, 13, 14, 15, 16}},
        {17, {18, 19, 20, 21, 24, 29}},
        {30, {31, 32, 33, 34, 35, 36, 37, 38}},
        {39, {40, 41}},
        {42, {43, 44}},
        {45, {46, 47}},
        {48, {50, 51}},
        {52, {53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 65, 66}}};
    EXPECT_EQ(direct, expected);
    const std::map<int, int> expectedParents = {{6, 5},   {8, 7},   {22, 21}, {23, 21}, {25, 24},
                                                {26, 24}, {27, 24}, {28, 24}, {63, 61}, {64, 62}};
    EXPECT_EQ(parents, expectedParents);
}

TEST(PropertyIdTable, EachIdActsOnItsSelectionKind)
{
    const std::pair<int, int> cases[] = {{-1, 0}, {0, 0},  {1, 1},  {8, 1},  {9, 0},  {10, 2},
                                         {16, 2}, {17, 0}, {29, 2}, {30, 0}, {48, 0}, {49, 2},
                                         {51, 2}, {52, 0}, {53, 3}, {66, 3}, {67, 0}};
    for (const auto& [id, kind] : cases)
        EXPECT_EQ(propertySelectionKind(id), kind) << id;
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
    const IntCase ints[] = {
        // Control geometry: within its range, positions off the page too.
        {6, 0, 359, true, "\u00B0"}, {13, -32767, 32767, false, ""}, {16, 0, 65535, false, ""},
        {19, 1, 500, false, "px"},   {22, 0, 60000, false, "ms"},    {23, 0, 60000, false, "ms"},
        {27, 0, 5000, false, ""},    {28, 0, 255, false, ""},        {35, 0, 100, false, "px"},
        {43, 1, 6, false, ""},       {50, 1, 500, false, "px"},      {56, 1, 255, false, "px"},
        {65, 1, 255, false, "px"}};
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
    for (const DoubleCase& c : {DoubleCase{36, 0.05, 0.95, 0.05}, DoubleCase{55, 0, 1.0, 1.0},
                                DoubleCase{60, 0, 1.0, 1.0}}) {
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
        {8,
         {"None", "Stretch", "Zoom To Fit", "Zoom (Cropped)", "Tiled", "Tiled Vertically",
          "Tiled Horizontally"}},
        {21, {"Momentary", "Maintained"}},
        {24,
         {"None", "Next Page", "Previous Page", "Back", "Go To Page", "Increase Brightness",
          "Decrease Brightness", "Set Brightness", "Lock"}},
        {26, {"None", "Pan Left", "Pan Right"}},
        {32, {"8 bit", "Percent"}},
        {53, {"Start", "End", "Center", "Spread"}},
        {66, {"Start", "End"}},
        {12, {}}};
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
    EXPECT_FALSE(dynamic_cast<GradientProperty&>(*make(5)).alphaEnabled);
    EXPECT_TRUE(dynamic_cast<GradientProperty&>(*make(54)).alphaEnabled);
    EXPECT_EQ(make(PropertyId_PAGE_SWITCHER)->name, "Page Switcher");
    EXPECT_EQ(make(PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION)->name, "Transition Duration");
}
