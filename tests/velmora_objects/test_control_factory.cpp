#include "common/helpers.h"
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
    // The defaults of every field: no page, a null rectangle, null texts, then each kind's own.
    const QByteArray controlBlock =
        QByteArray("Control_start") +
        TestUtil::fromHex(
            "ffffffff 00000000 00000000 ffffffff ffffffff ffffffff ffffffff ffffffff") +
        "Control_end";
    const struct
    {
        ControlType type;
        const char* kind;
        const char* fields;
    } defaults[] = {
        // No image, momentary, 500 and 200 ms, no function, no IR slot, 16 points, no wrap.
        {ControlType_BUTTON, "Button", "ffffffff 00 000001f4 000000c8 00 ff 00000010 00"},
        // Value hidden, per cent, null suffix, 0..100 at 0, no IR slots, 11 and 11 points, no
        // wrap, handle 0.2, spacing 6.
        {ControlType_SLIDER, "Slider",
         "00 02 ffffffff 00000000 00000064 00000000 ff ff 0000000b 0000000b 00 "
         "3fc999999999999a 00000006"},
        // No colour, 11 points, no wrap, spacing 6.
        {ControlType_COLOUR_PICKER, "ColourPicker", "49000000 0000000b 00 00000006"},
        // Four digits, hidden, normal text styles.
        {ControlType_KEYPAD, "Keypad", "00000004 01 00 00"},
        // 16 points, no wrap.
        {ControlType_LABEL, "Label", "00000010 00"},
        // Analogue, 11 points, spacing 6.
        {ControlType_CLOCK, "Clock", "00000000 0000000b 00000006"},
    };
    for (const auto& d : defaults) {
        EXPECT_EQ(ControlFactory::get(d.type)->controlType(), d.type);
        const std::unique_ptr<Control> control = make(d.type);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->getType(), d.type);
        EXPECT_EQ(ModelStream::body(controlBytes(*control)),
                  d.kind + QByteArray("_start") + controlBlock + TestUtil::fromHex(d.fields) +
                      d.kind + "_end")
            << d.kind;
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
