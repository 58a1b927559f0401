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

namespace {

void setControlFields(Control& c)
{
    c.setPageId(2);
    c.setGeometry(QRect(5, 6, 70, 80));
    c.setName("k");
    c.setCaption("c");
    c.setStartupSkin("s");
}

void expectControlFields(const Control& c)
{
    EXPECT_EQ(c.getPageId(), 2u);
    EXPECT_EQ(c.getGeometry(), QRect(5, 6, 70, 80));
    EXPECT_EQ(c.getName(), "k");
    EXPECT_EQ(c.getCaption(), "c");
    EXPECT_EQ(c.getStartupSkin(), "s");
}

template <class T> T readFixture(const QString& name, quint32 version)
{
    T control;
    EXPECT_TRUE(readControl(HexFixture::load(name, version), control))
        << name.toStdString() << " at version " << version;
    return control;
}

} // namespace

// ---- Slider ---------------------------------------------------------------------------------

TEST(Slider, NewSliderHasItsDefaults)
{
    const Slider s;
    EXPECT_EQ(s.getType(), ControlType_SLIDER);
    EXPECT_FALSE(s.getShowValue());
    EXPECT_EQ(s.getUnit(), Slider::Unit_PERCENT);
    EXPECT_TRUE(s.getValueSuffix().isEmpty()); // "%" comes only through setUnit
    EXPECT_EQ(s.getMinimum(), 0);
    EXPECT_EQ(s.getMaximum(), 100);
    EXPECT_EQ(s.getValue(), 0);
    EXPECT_EQ(s.getIRSlotId(Action_INCREMENT), NoIRSlot);
    EXPECT_EQ(s.getIRSlotId(Action_DECREMENT), NoIRSlot);
    EXPECT_EQ(s.getCaptionFontSize(), 11);
    EXPECT_EQ(s.getValueFontSize(), 11);
    EXPECT_TRUE(s.getWordWrap() == false);
    EXPECT_DOUBLE_EQ(s.getHandleSize(), 0.2);
    EXPECT_EQ(s.getSpacing(), 6);
}

TEST(Slider, StreamsEveryField)
{
    Slider source;
    setControlFields(source);
    source.setShowValue(true);
    source.setUnit(Slider::Unit_8BIT);
    source.setValueSuffix(" lx");
    source.setMinimum(-10);
    source.setMaximum(300);
    source.setValue(42);
    source.setIRSlotId(Action_INCREMENT, 3);
    source.setIRSlotId(Action_DECREMENT, 4);
    source.setCaptionFontSize(21);
    source.setValueFontSize(23);
    source.setWordWrap(indeterminate);
    source.setHandleSize(0.35);
    source.setSpacing(17);

    Slider copy;
    ASSERT_TRUE(readControl(controlBytes(source), copy));
    expectControlFields(copy);
    EXPECT_TRUE(copy.getShowValue());
    EXPECT_EQ(copy.getUnit(), Slider::Unit_8BIT);
    EXPECT_EQ(copy.getValueSuffix(), " lx");
    EXPECT_EQ(copy.getMinimum(), -10);
    EXPECT_EQ(copy.getMaximum(), 300);
    EXPECT_EQ(copy.getValue(), 42);
    EXPECT_EQ(copy.getIRSlotId(Action_INCREMENT), 3);
    EXPECT_EQ(copy.getIRSlotId(Action_DECREMENT), 4);
    EXPECT_EQ(copy.getCaptionFontSize(), 21);
    EXPECT_EQ(copy.getValueFontSize(), 23);
    EXPECT_TRUE(indeterminate(copy.getWordWrap()));
    EXPECT_DOUBLE_EQ(copy.getHandleSize(), 0.35);
    EXPECT_EQ(copy.getSpacing(), 17);
}

TEST(Slider, UnitOfOldSlidersComesFromRangeAndSuffix)
{
    struct Case
    {
        int minimum, maximum;
        QString suffix;
        Slider::Unit expected;
    } cases[] = {
        {0, 100, "%", Slider::Unit_PERCENT}, {0, 255, "", Slider::Unit_8BIT},
        {0, 100, "", Slider::Unit(0)},       {0, 255, "%", Slider::Unit(0)},
        {1, 100, "%", Slider::Unit(0)},      {0, 101, "%", Slider::Unit(0)},
    };
    for (const auto& c : cases) {
        Slider source;
        source.setUnit(Slider::Unit(0));
        source.setMinimum(c.minimum);
        source.setMaximum(c.maximum);
        source.setValueSuffix(c.suffix);
        Slider read;
        ASSERT_TRUE(readControl(controlBytes(source), read));
        EXPECT_EQ(read.getUnit(), c.expected) << c.minimum << ".." << c.maximum;
    }
    // A stored unit is never replaced, whatever the range.
    Slider odd;
    odd.setUnit(Slider::Unit_8BIT);
    odd.setMaximum(100);
    odd.setValueSuffix("%");
    Slider read;
    ASSERT_TRUE(readControl(controlBytes(odd), read));
    EXPECT_EQ(read.getUnit(), Slider::Unit_8BIT);
}

TEST(Slider, Version8DropsTheTextValues)
{
    for (quint32 version : {0u, 8u}) {
        SCOPED_TRACE(version);
        const auto s = readFixture<Slider>("slider_v8", version);
        EXPECT_EQ(s.getPageId(), 4u);
        EXPECT_EQ(s.getCaption(), "Go");
        EXPECT_TRUE(s.getShowValue());
        EXPECT_EQ(s.getUnit(), Slider::Unit_PERCENT);
        EXPECT_EQ(s.getValue(), 50);
        EXPECT_EQ(s.getIRSlotId(Action_INCREMENT), 3);
        EXPECT_EQ(s.getIRSlotId(Action_DECREMENT), 4);
        EXPECT_EQ(s.getCaptionFontSize(), 11);
        EXPECT_EQ(s.getValueFontSize(), 11);
        EXPECT_TRUE(s.getWordWrap() == false);
        EXPECT_DOUBLE_EQ(s.getHandleSize(), 0.2);
        EXPECT_EQ(s.getSpacing(), 6);
    }
}

TEST(Slider, Version9ReadsTheTextValues)
{
    for (quint32 version : {9u, 14u}) {
        SCOPED_TRACE(version);
        const auto s = readFixture<Slider>("slider_v9", version);
        EXPECT_EQ(s.getUnit(), Slider::Unit_8BIT);
        EXPECT_EQ(s.getMaximum(), 255);
        EXPECT_EQ(s.getValue(), 200);
        EXPECT_EQ(s.getIRSlotId(Action_INCREMENT), NoIRSlot);
        EXPECT_EQ(s.getCaptionFontSize(), 20);
        EXPECT_EQ(s.getValueFontSize(), 22);
        EXPECT_TRUE(indeterminate(s.getWordWrap()));
        EXPECT_DOUBLE_EQ(s.getHandleSize(), 0.75);
        EXPECT_EQ(s.getSpacing(), 10);
    }
}

TEST(Slider, SetUnitSetsRangeAndSuffixButNotTheValue)
{
    Slider s;
    s.setValue(90);
    s.setUnit(Slider::Unit_8BIT);
    EXPECT_EQ(s.getMinimum(), 0);
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
    EXPECT_EQ(s.getValueSuffix(), "%");
}

TEST(Slider, IRSlotsAndClone)
{
    Slider s;
    setControlFields(s);
    s.setIRSlotId(Action_INCREMENT, 3);
    s.setIRSlotId(Action_DECREMENT, 4);
    s.setIRSlotId(Action_CLICK, 9);
    EXPECT_EQ(s.getIRSlotId(Action_CLICK), NoIRSlot);
    EXPECT_EQ(s.getIRSlotId(NoAction), NoIRSlot);

    std::unique_ptr<Control> clone(s.clone());
    EXPECT_EQ(clone->getIRSlotId(Action_INCREMENT), NoIRSlot);
    EXPECT_EQ(clone->getIRSlotId(Action_DECREMENT), NoIRSlot);
    clone->setIRSlotId(Action_INCREMENT, 3);
    clone->setIRSlotId(Action_DECREMENT, 4);
    EXPECT_EQ(controlBytes(*clone), controlBytes(s));

    const Slider copy(s);
    EXPECT_EQ(copy.getIRSlotId(Action_INCREMENT), 3);
    EXPECT_EQ(copy.getIRSlotId(Action_DECREMENT), 4);
}

// ---- Colour picker --------------------------------------------------------------------------

TEST(ColourPicker, StreamsEveryField)
{
    ColourPicker source;
    EXPECT_EQ(source.getType(), ControlType_COLOUR_PICKER);
    EXPECT_FALSE(source.getColour().isValid());
    setControlFields(source);
    source.setColour(QColor(10, 20, 30, 128)); // the alpha is not kept
    source.setCaptionFontSize(19);
    source.setWordWrap(true);
    source.setSpacing(2);

    ColourPicker copy;
    ASSERT_TRUE(readControl(controlBytes(source), copy));
    expectControlFields(copy);
    EXPECT_EQ(copy.getColour(), QColor(10, 20, 30));
    EXPECT_EQ(copy.getCaptionFontSize(), 19);
    EXPECT_TRUE(copy.getWordWrap());
    EXPECT_EQ(copy.getSpacing(), 2);

    // An invalid colour stays invalid.
    ColourPicker invalid;
    ASSERT_TRUE(readControl(controlBytes(ColourPicker()), invalid));
    EXPECT_FALSE(invalid.getColour().isValid());
}

TEST(ColourPicker, TextFieldsFromVersion11)
{
    for (quint32 version : {0u, 10u}) {
        const auto old = readFixture<ColourPicker>("colour_picker_v10", version);
        EXPECT_EQ(old.getColour(), QColor(Qt::red));
        EXPECT_EQ(old.getCaptionFontSize(), 11);
        EXPECT_FALSE(old.getWordWrap());
        EXPECT_EQ(old.getSpacing(), 6);
    }
    for (quint32 version : {11u, 14u}) {
        const auto current = readFixture<ColourPicker>("colour_picker_v11", version);
        EXPECT_EQ(current.getColour(), QColor(Qt::green));
        EXPECT_EQ(current.getCaptionFontSize(), 20);
        EXPECT_TRUE(current.getWordWrap());
        EXPECT_EQ(current.getSpacing(), 9);
    }
}

// ---- Keypad ---------------------------------------------------------------------------------

TEST(Keypad, StreamsEveryField)
{
    Keypad source;
    EXPECT_EQ(source.getType(), ControlType_KEYPAD);
    setControlFields(source);
    source.setMaxDigits(6);
    source.setHideCharacters(false);
    source.setDisplayTextStyle(TextStyle_OUTLINE);
    source.setButtonTextStyle(TextStyle_SUNKEN);

    Keypad copy;
    ASSERT_TRUE(readControl(controlBytes(source), copy));
    expectControlFields(copy);
    EXPECT_EQ(copy.getMaxDigits(), 6);
    EXPECT_FALSE(copy.getHideCharacters());
    EXPECT_EQ(copy.getDisplayTextStyle(), TextStyle_OUTLINE);
    EXPECT_EQ(copy.getButtonTextStyle(), TextStyle_SUNKEN);
}

TEST(Keypad, VersionGates)
{
    for (quint32 version : {0u, 8u}) {
        const auto v8 = readFixture<Keypad>("keypad_v8", version);
        EXPECT_EQ(v8.getName(), "Code");
        EXPECT_EQ(v8.getMaxDigits(), 4);
        EXPECT_TRUE(v8.getHideCharacters());
        EXPECT_EQ(v8.getDisplayTextStyle(), TextStyle_NORMAL);
        EXPECT_EQ(v8.getButtonTextStyle(), TextStyle_NORMAL);
    }

    const auto v9 = readFixture<Keypad>("keypad_v9", 9);
    EXPECT_EQ(v9.getMaxDigits(), 4);
    EXPECT_EQ(v9.getDisplayTextStyle(), TextStyle_RAISED);
    EXPECT_EQ(v9.getButtonTextStyle(), TextStyle_SUNKEN);

    for (quint32 version : {10u, 14u}) {
        const auto v10 = readFixture<Keypad>("keypad_v10", version);
        EXPECT_EQ(v10.getMaxDigits(), 5);
        EXPECT_TRUE(v10.getHideCharacters());
        EXPECT_EQ(v10.getDisplayTextStyle(), TextStyle_SUNKEN);
        EXPECT_EQ(v10.getButtonTextStyle(), TextStyle_OUTLINE);
    }

    for (quint32 version : {15u, 17u}) {
        const auto v17 = readFixture<Keypad>("keypad_v17", version);
        EXPECT_EQ(v17.getMaxDigits(), 6);
        EXPECT_TRUE(v17.getHideCharacters());
        EXPECT_EQ(v17.getDisplayTextStyle(), TextStyle_OUTLINE);
        EXPECT_EQ(v17.getButtonTextStyle(), TextStyle(9)); // stored as read
    }
    // From version 18 on the hide flag sits between the digit count and the styles.
    Keypad shown;
    shown.setHideCharacters(false);
    Keypad read;
    ASSERT_TRUE(readControl(controlBytes(shown), read));
    EXPECT_FALSE(read.getHideCharacters());
}

// ---- Label and clock ------------------------------------------------------------------------

TEST(Label, StreamsEveryField)
{
    Label source;
    EXPECT_EQ(source.getType(), ControlType_LABEL);
    EXPECT_EQ(source.getFontSize(), 16);
    EXPECT_FALSE(source.getWordWrap());
    setControlFields(source);
    source.setFontSize(40);
    source.setWordWrap(true);

    Label copy;
    ASSERT_TRUE(readControl(controlBytes(source), copy));
    expectControlFields(copy);
    EXPECT_EQ(copy.getFontSize(), 40);
    EXPECT_TRUE(copy.getWordWrap());
}

TEST(Clock, StreamsEveryField)
{
    Clock source;
    EXPECT_EQ(source.getType(), ControlType_CLOCK);
    EXPECT_EQ(source.getClockType(), Clock::ClockType_ANALOGUE);
    EXPECT_EQ(source.getCaptionFontSize(), 11);
    EXPECT_EQ(source.getSpacing(), 6);
    setControlFields(source);
    source.setClockType(Clock::ClockType_DIGITAL);
    source.setCaptionFontSize(30);
    source.setSpacing(0);

    Clock copy;
    ASSERT_TRUE(readControl(controlBytes(source), copy));
    expectControlFields(copy);
    EXPECT_EQ(copy.getClockType(), Clock::ClockType_DIGITAL);
    EXPECT_EQ(copy.getCaptionFontSize(), 30);
    EXPECT_EQ(copy.getSpacing(), 0);
}

TEST(Controls, OldControlBlocksHaveNoStartupSkin)
{
    // A label of version 14: the control block ends after the caption.
    const QByteArray bytes = TestUtil::fromHex("4f72766e 4b565808 0000000e") + "Label_start" +
                             "Control_start" +
                             TestUtil::fromHex("00000001 00000000 00000000 00000009 00000009"
                                               "ffffffff 00000002 0041") +
                             "Control_end" + TestUtil::fromHex("00000018 01") + "Label_end";
    Label label;
    ASSERT_TRUE(readControl(bytes, label));
    EXPECT_EQ(label.getCaption(), "A");
    EXPECT_TRUE(label.getStartupSkin().isEmpty());
    EXPECT_EQ(label.getFontSize(), 24);
    EXPECT_TRUE(label.getWordWrap());
}

// ---- What the five share --------------------------------------------------------------------

TEST(Controls, CloneCopiesAndRenderCallsTheOwnOperation)
{
    struct Case
    {
        std::shared_ptr<Control> control;
        const char* rendered;
    } cases[] = {
        {std::make_shared<Slider>(), "slider"}, {std::make_shared<ColourPicker>(), "colourPicker"},
        {std::make_shared<Keypad>(), "keypad"}, {std::make_shared<Label>(), "label"},
        {std::make_shared<Clock>(), "clock"},
    };
    for (const auto& c : cases) {
        setControlFields(*c.control);
        std::unique_ptr<Control> clone(c.control->clone());
        EXPECT_EQ(clone->getType(), c.control->getType());
        EXPECT_EQ(controlBytes(*clone), controlBytes(*c.control)) << c.rendered;

        ModelStream::RecordingRenderer renderer;
        c.control->render(&renderer);
        EXPECT_EQ(renderer.calls, QStringList{c.rendered});
        EXPECT_EQ(renderer.object, static_cast<const void*>(c.control.get()));
        if (c.control->getType() != ControlType_SLIDER) {
            for (Action a : {NoAction, Action_CLICK, Action_INCREMENT, Action_DECREMENT}) {
                c.control->setIRSlotId(a, 1);
                EXPECT_EQ(c.control->getIRSlotId(a), NoIRSlot);
            }
        }
    }
    // Whatever its clock type, a clock renders as a clock.
    Clock clock;
    clock.setClockType(Clock::ClockType(5));
    ModelStream::RecordingRenderer renderer;
    clock.render(&renderer);
    EXPECT_EQ(renderer.calls, QStringList{"clock"});
    EXPECT_EQ(renderer.object, &clock);
}

TEST(Controls, EachBlockChecksItsOwnTags)
{
    // A label block handed to a clock reader fails on the clock's start tag.
    Label label;
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  Clock clock;
                  readControl(controlBytes(label), clock);
              }),
              "Failed to find expected tag Clock_start");
    // A slider block cut short inside its doubles fails on its end tag.
    const QByteArray slider = controlBytes(Slider());
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  Slider s;
                  readControl(slider.left(slider.size() - 16), s);
              }),
              "Failed to find expected tag Slider_end");
}

TEST(Controls, CorruptDataBehindAMatchingTagIsAnError)
{
    // A caption of odd byte length is corrupt; the stream leaves its bytes unread, and here
    // they happen to spell the next tag.
    const QByteArray bytes = TestUtil::fromHex("4f72766e 4b565808 0000000e") + "Label_start" +
                             "Control_start" +
                             TestUtil::fromHex("00000001 00000000 00000000 00000009 00000009"
                                               "ffffffff 0000000b") +
                             "Control_end" + TestUtil::fromHex("00000018 01") + "Label_end";
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  Label label;
                  readControl(bytes, label);
              }),
              "Unexpected end of file");
}
