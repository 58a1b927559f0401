#include "common/helpers.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;
using boost::logic::indeterminate;
using ModelStream::controlBytes;
using ModelStream::readControl;
using ModelStream::roundTripped;
using TestUtil::runtimeErrorOf;

namespace {

void setControlFields(Control& c)
{
    c.setPageId(2);
    c.setGeometry(QRect(5, 6, 70, 80));
    c.setName("k");
    c.setCaption("c");
    c.setStartupSkin("s");
}

template <class T> T readFixture(const QString& name, quint32 version)
{
    T control;
    EXPECT_TRUE(readControl(HexFixture::load(name, version), control))
        << name.toStdString() << " at version " << version;
    return control;
}

// A label block of version 14, whose control block ends after the caption; the caption field
// holds the given bytes.
QByteArray labelOfVersion14(const char* caption)
{
    return TestUtil::fromHex("4f72766e 4b565808 0000000e") + "Label_start" + "Control_start" +
           TestUtil::fromHex("00000001 00000000 00000000 00000009 00000009 ffffffff") +
           TestUtil::fromHex(caption) + "Control_end" + TestUtil::fromHex("00000018 01") +
           "Label_end";
}

} // namespace

TEST(Controls, EachStreamsEveryField)
{
    Slider slider;
    setControlFields(slider);
    slider.setShowValue(true);
    slider.setUnit(Slider::Unit_8BIT);
    slider.setValueSuffix(" lx");
    slider.setMinimum(-10);
    slider.setValue(42);
    slider.setIRSlotId(Action_INCREMENT, 3);
    slider.setIRSlotId(Action_DECREMENT, 4);
    slider.setCaptionFontSize(21);
    slider.setValueFontSize(23);
    slider.setWordWrap(indeterminate);
    slider.setHandleSize(0.35);
    slider.setSpacing(17);
    EXPECT_EQ(roundTripped(slider), controlBytes(slider));

    ColourPicker picker;
    setControlFields(picker);
    picker.setColour(QColor(10, 20, 30));
    picker.setCaptionFontSize(19);
    picker.setWordWrap(true);
    picker.setSpacing(2);
    EXPECT_EQ(roundTripped(picker), controlBytes(picker));
    // The alpha is not kept; an invalid colour stays invalid.
    for (const QColor& colour : {QColor(10, 20, 30, 128), QColor()}) {
        picker.setColour(colour);
        ColourPicker read;
        ASSERT_TRUE(readControl(controlBytes(picker), read));
        EXPECT_EQ(read.getColour(), colour.isValid() ? QColor(10, 20, 30) : QColor());
    }

    Keypad keypad;
    setControlFields(keypad);
    keypad.setMaxDigits(6);
    keypad.setHideCharacters(false);
    keypad.setDisplayTextStyle(TextStyle_OUTLINE);
    keypad.setButtonTextStyle(TextStyle_SUNKEN);
    EXPECT_EQ(roundTripped(keypad), controlBytes(keypad));

    Label label;
    setControlFields(label);
    label.setFontSize(40);
    label.setWordWrap(true);
    EXPECT_EQ(roundTripped(label), controlBytes(label));

    Clock clock;
    setControlFields(clock);
    clock.setClockType(Clock::ClockType_DIGITAL);
    clock.setCaptionFontSize(30);
    clock.setSpacing(0);
    EXPECT_EQ(roundTripped(clock), controlBytes(clock));
}

TEST(Slider, UnitOfOldSlidersComesFromRangeAndSuffix)
{
    const struct
    {
        Slider::Unit stored;
        int minimum, maximum;
        QString suffix;
        Slider::Unit expected;
    } cases[] = {
        {Slider::Unit(0), 0, 100, "%", Slider::Unit_PERCENT},
        {Slider::Unit(0), 0, 255, "", Slider::Unit_8BIT},
        {Slider::Unit(0), 0, 100, "", Slider::Unit(0)},
        {Slider::Unit(0), 0, 255, "%", Slider::Unit(0)},
        {Slider::Unit(0), 1, 100, "%", Slider::Unit(0)},
        {Slider::Unit(0), 0, 101, "%", Slider::Unit(0)},
        // A stored unit is never replaced, whatever the range.
        {Slider::Unit_8BIT, 0, 100, "%", Slider::Unit_8BIT},
    };
    for (const auto& c : cases) {
        Slider source;
        source.setUnit(c.stored);
        source.setMinimum(c.minimum);
        source.setMaximum(c.maximum);
        source.setValueSuffix(c.suffix);
        Slider read;
        ASSERT_TRUE(readControl(controlBytes(source), read));
        EXPECT_EQ(read.getUnit(), c.expected) << c.minimum << ".." << c.maximum;
    }
}

TEST(Slider, SetUnitSetsRangeAndSuffixButNotTheValue)
{
    Slider s;
    s.setValue(90);
    s.setUnit(Slider::Unit_8BIT);
    EXPECT_EQ(s.getMaximum(), 255);
    EXPECT_TRUE(s.getValueSuffix().isEmpty());
    EXPECT_EQ(s.getValue(), 90);
    s.setUnit(Slider::Unit_PERCENT);
    EXPECT_EQ(s.getMaximum(), 100);
    EXPECT_EQ(s.getValueSuffix(), "%");
    s.setMinimum(5);
    s.setUnit(Slider::Unit(7));
    EXPECT_EQ(s.getUnit(), Slider::Unit(7));
    EXPECT_EQ(s.getMinimum(), 5);
}

TEST(Controls, VersionGates)
{
    // Sliders before version 9 hold the text values too, but they meant nothing then.
    for (quint32 version : {0u, 8u}) {
        const auto s = readFixture<Slider>("slider_v8", version);
        EXPECT_EQ(s.getCaption(), "Go");
        EXPECT_EQ(s.getValue(), 50);
        EXPECT_EQ(s.getIRSlotId(Action_DECREMENT), 4);
        EXPECT_EQ(s.getCaptionFontSize(), 11);
        EXPECT_EQ(s.getValueFontSize(), 11);
        EXPECT_TRUE(s.getWordWrap() == false);
        EXPECT_DOUBLE_EQ(s.getHandleSize(), 0.2);
        EXPECT_EQ(s.getSpacing(), 6);
    }
    for (quint32 version : {9u, 14u}) {
        const auto s = readFixture<Slider>("slider_v9", version);
        EXPECT_EQ(s.getValueFontSize(), 22);
        EXPECT_TRUE(indeterminate(s.getWordWrap()));
        EXPECT_DOUBLE_EQ(s.getHandleSize(), 0.75);
        EXPECT_EQ(s.getSpacing(), 10);
    }
    // Colour pickers have their text fields from version 11.
    for (quint32 version : {0u, 10u}) {
        const auto old = readFixture<ColourPicker>("colour_picker_v10", version);
        EXPECT_EQ(old.getColour(), QColor(Qt::red));
        EXPECT_EQ(old.getCaptionFontSize(), 11);
        EXPECT_EQ(old.getSpacing(), 6);
    }
    for (quint32 version : {11u, 14u}) {
        const auto current = readFixture<ColourPicker>("colour_picker_v11", version);
        EXPECT_EQ(current.getCaptionFontSize(), 20);
        EXPECT_TRUE(current.getWordWrap());
        EXPECT_EQ(current.getSpacing(), 9);
    }
    // Keypads: text styles from 9, the digit count from 10, the hide flag from 18.
    const struct
    {
        const char* fixture;
        std::vector<quint32> versions;
        int digits;
        TextStyle display, button;
    } keypads[] = {
        {"keypad_v8", {0, 8}, 4, TextStyle_NORMAL, TextStyle_NORMAL},
        {"keypad_v9", {9}, 4, TextStyle_RAISED, TextStyle_SUNKEN},
        {"keypad_v10", {10, 14}, 5, TextStyle_SUNKEN, TextStyle_OUTLINE},
        {"keypad_v17", {15, 17}, 6, TextStyle_OUTLINE, TextStyle(9)}, // stored as read
    };
    for (const auto& k : keypads) {
        for (quint32 version : k.versions) {
            const auto keypad = readFixture<Keypad>(k.fixture, version);
            EXPECT_EQ(keypad.getMaxDigits(), k.digits) << k.fixture << " " << version;
            EXPECT_TRUE(keypad.getHideCharacters());
            EXPECT_EQ(keypad.getDisplayTextStyle(), k.display);
            EXPECT_EQ(keypad.getButtonTextStyle(), k.button);
        }
    }
    Keypad shown;
    shown.setHideCharacters(false);
    Keypad read;
    ASSERT_TRUE(readControl(controlBytes(shown), read));
    EXPECT_FALSE(read.getHideCharacters());
    // Every control block before version 15 ends after the caption: no start-up skin.
    Label label;
    ASSERT_TRUE(readControl(labelOfVersion14("00000002 0041"), label));
    EXPECT_EQ(label.getCaption(), "A");
    EXPECT_TRUE(label.getStartupSkin().isEmpty());
    EXPECT_EQ(label.getFontSize(), 24);
    EXPECT_TRUE(label.getWordWrap());
}

TEST(Controls, ClonesHoldNoIRSlotsWhileCopiesKeepThem)
{
    Slider slider;
    setControlFields(slider);
    slider.setIRSlotId(Action_INCREMENT, 3);
    slider.setIRSlotId(Action_DECREMENT, 4);
    slider.setIRSlotId(Action_CLICK, 9);
    EXPECT_EQ(slider.getIRSlotId(Action_CLICK), NoIRSlot);
    std::unique_ptr<Control> clone(slider.clone());
    EXPECT_EQ(clone->getIRSlotId(Action_INCREMENT), NoIRSlot);
    EXPECT_EQ(clone->getIRSlotId(Action_DECREMENT), NoIRSlot);
    clone->setIRSlotId(Action_INCREMENT, 3);
    clone->setIRSlotId(Action_DECREMENT, 4);
    EXPECT_EQ(controlBytes(*clone), controlBytes(slider));
    EXPECT_EQ(controlBytes(Slider(slider)), controlBytes(slider));

    // The other four have no slots at all.
    const std::shared_ptr<Control> others[] = {
        std::make_shared<ColourPicker>(), std::make_shared<Keypad>(), std::make_shared<Label>(),
        std::make_shared<Clock>()};
    for (const auto& control : others) {
        setControlFields(*control);
        std::unique_ptr<Control> copy(control->clone());
        EXPECT_EQ(controlBytes(*copy), controlBytes(*control)) << control->getType();
        for (Action a : {NoAction, Action_CLICK, Action_INCREMENT, Action_DECREMENT}) {
            control->setIRSlotId(a, 1);
            EXPECT_EQ(control->getIRSlotId(a), NoIRSlot);
        }
    }
}

TEST(Controls, DamagedBlocksRaiseTheStreamError)
{
    // A label block handed to a clock reader fails on the clock's start tag.
    EXPECT_EQ(runtimeErrorOf([&] {
                  Clock clock;
                  readControl(controlBytes(Label()), clock);
              }),
              "Failed to find expected tag Clock_start");
    // A slider block cut short inside its doubles fails on its end tag.
    const QByteArray slider = controlBytes(Slider());
    EXPECT_EQ(runtimeErrorOf([&] {
                  Slider s;
                  readControl(slider.left(slider.size() - 16), s);
              }),
              "Failed to find expected tag Slider_end");
    // A caption of odd byte length is corrupt: reading ends there, though the bytes after
    // its length happen to spell the next tag.
    EXPECT_EQ(runtimeErrorOf([&] {
                  Label label;
                  readControl(labelOfVersion14("0000000b"), label);
              }),
              "Failed to find expected tag Control_end");
}
