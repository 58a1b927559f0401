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

} // namespace

TEST(ControlFactory, OneFactoryPerTypeMakingDefaultControls)
{
    for (int type : {0, 7, -1})
        EXPECT_EQ(ControlFactory::get(ControlType(type)), nullptr);
    const std::pair<ControlType, std::shared_ptr<Control>> defaults[] = {
        {ControlType_BUTTON, std::make_shared<Button>()},
        {ControlType_SLIDER, std::make_shared<Slider>()},
        {ControlType_COLOUR_PICKER, std::make_shared<ColourPicker>()},
        {ControlType_KEYPAD, std::make_shared<Keypad>()},
        {ControlType_LABEL, std::make_shared<Label>()},
        {ControlType_CLOCK, std::make_shared<Clock>()},
    };
    for (const auto& [type, expected] : defaults) {
        EXPECT_EQ(ControlFactory::get(type)->controlType(), type);
        const std::unique_ptr<Control> control = make(type);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->getType(), type);
        EXPECT_EQ(controlBytes(*control), controlBytes(*expected)) << type;
    }
}

TEST(ControlFactory, CaptionInAnyCaseKeepsItsValue)
{
    EXPECT_EQ(make(ControlType_BUTTON, {{"CAPTION", "Living Room"}})->getCaption(), "Living Room");
    // Keys differing in case are applied in the map's order: "Caption" before "caption".
    EXPECT_EQ(make(ControlType_LABEL, {{"caption", "second"}, {"Caption", "first"}})->getCaption(),
              "second");
    // Every other key is ignored; a unit means nothing to other controls.
    EXPECT_EQ(controlBytes(*make(ControlType_KEYPAD, {{"name", "x"}, {"captions", "y"}})),
              controlBytes(Keypad()));
    EXPECT_EQ(controlBytes(*make(ControlType_LABEL, {{"unit", "percent"}})), controlBytes(Label()));
}

TEST(ControlFactory, SliderUnit)
{
    Slider eightBit;
    eightBit.setUnit(Slider::Unit_8BIT);
    EXPECT_EQ(controlBytes(*make(ControlType_SLIDER, {{"Unit", "8Bit"}})), controlBytes(eightBit));
    Slider percent;
    percent.setUnit(Slider::Unit_PERCENT);
    percent.setCaption("Volume");
    EXPECT_EQ(controlBytes(*make(ControlType_SLIDER, {{"UNIT", "PerCent"}, {"caption", "Volume"}})),
              controlBytes(percent));
    for (const char* value : {"", "8 bit", "percentage", "1", "2"})
        EXPECT_EQ(controlBytes(*make(ControlType_SLIDER, {{"unit", value}})),
                  controlBytes(Slider()))
            << value;
}
