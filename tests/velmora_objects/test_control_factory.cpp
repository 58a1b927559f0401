#include "model_stream.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;
using ModelStream::controlBytes;
using Properties = std::map<QString, QString>;

namespace {

std::unique_ptr<Control> make(ControlType type, const Properties& properties = {})
{
    ControlFactory* factory = ControlFactory::get(type);
    EXPECT_NE(factory, nullptr);
    return std::unique_ptr<Control>(factory ? factory->create(properties) : nullptr);
}

std::unique_ptr<Slider> makeSlider(const Properties& properties)
{
    std::unique_ptr<Control> control = make(ControlType_SLIDER, properties);
    return std::unique_ptr<Slider>(dynamic_cast<Slider*>(control.release()));
}

} // namespace

TEST(ControlFactory, OneFactoryPerControlType)
{
    EXPECT_EQ(ControlFactory::get(ControlType(0)), nullptr);
    EXPECT_EQ(ControlFactory::get(ControlType(7)), nullptr);
    EXPECT_EQ(ControlFactory::get(ControlType(-1)), nullptr);
    for (int type = 1; type <= 6; ++type) {
        ControlFactory* factory = ControlFactory::get(ControlType(type));
        ASSERT_NE(factory, nullptr);
        EXPECT_EQ(factory->controlType(), type);
        EXPECT_EQ(ControlFactory::get(ControlType(type)), factory);
    }
}

TEST(ControlFactory, EmptyMapGivesDefaultControls)
{
    const std::pair<ControlType, std::shared_ptr<Control>> defaults[] = {
        {ControlType_BUTTON, std::make_shared<Button>()},
        {ControlType_SLIDER, std::make_shared<Slider>()},
        {ControlType_COLOUR_PICKER, std::make_shared<ColourPicker>()},
        {ControlType_KEYPAD, std::make_shared<Keypad>()},
        {ControlType_LABEL, std::make_shared<Label>()},
        {ControlType_CLOCK, std::make_shared<Clock>()},
    };
    for (const auto& [type, expected] : defaults) {
        const std::unique_ptr<Control> control = make(type);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->getType(), type);
        EXPECT_EQ(controlBytes(*control), controlBytes(*expected)) << type;
    }
}

TEST(ControlFactory, CaptionInAnyCaseKeepsItsValue)
{
    const auto button = make(ControlType_BUTTON, {{"CAPTION", "Living Room"}});
    EXPECT_EQ(button->getCaption(), "Living Room");
    // Keys differing in case are applied in the map's order: "Caption" before "caption".
    const auto label = make(ControlType_LABEL, {{"caption", "second"}, {"Caption", "first"}});
    EXPECT_EQ(label->getCaption(), "second");
    // Every other key is ignored.
    const auto keypad = make(ControlType_KEYPAD, {{"name", "x"}, {"captions", "y"}});
    EXPECT_TRUE(keypad->getCaption().isEmpty());
    EXPECT_TRUE(keypad->getName().isEmpty());
}

TEST(ControlFactory, SliderUnit)
{
    const auto eightBit = makeSlider({{"Unit", "8Bit"}});
    ASSERT_TRUE(eightBit);
    EXPECT_EQ(eightBit->getUnit(), Slider::Unit_8BIT);
    EXPECT_EQ(eightBit->getMinimum(), 0);
    EXPECT_EQ(eightBit->getMaximum(), 255);
    EXPECT_TRUE(eightBit->getValueSuffix().isEmpty());

    const auto percent = makeSlider({{"UNIT", "PerCent"}, {"caption", "Volume"}});
    EXPECT_EQ(percent->getUnit(), Slider::Unit_PERCENT);
    EXPECT_EQ(percent->getMaximum(), 100);
    EXPECT_EQ(percent->getValueSuffix(), "%");
    EXPECT_EQ(percent->getCaption(), "Volume");

    for (const char* value : {"", "8 bit", "percentage", "1", "2"}) {
        const auto ignored = makeSlider({{"unit", value}});
        EXPECT_EQ(controlBytes(*ignored), controlBytes(Slider())) << value;
    }
}

TEST(ControlFactory, UnitMeansNothingToOtherControls)
{
    const auto label = make(ControlType_LABEL, {{"unit", "percent"}});
    EXPECT_EQ(controlBytes(*label), controlBytes(Label()));
}
