#include "common/helpers.h"
#include "containers/sortvector.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;
using boost::logic::indeterminate;
using ModelStream::controlBytes;
using ModelStream::readControl;
using ModelStream::roundTripped;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;
using Defaults = std::vector<std::pair<QString, QVariant>>;

namespace {

void setControlFields(Control& c)
{
    c.setPageId(2);
    c.setGeometry(QRect(5, 6, 70, 80));
    c.setName("k");
    c.setCaption("c");
    c.setStartupSkin("s");
}

// A button with every field away from its default.
void setAll(Button& b)
{
    b.setPageId(7);
    b.setGeometry(QRect(QPoint(-3, 4), QPoint(120, 60)));
    b.setName("Key");
    b.setCaption(QString::fromUtf8("Caption \u00e9"));
    b.setStartupSkin("Pressed");
    b.setImageId(9);
    b.setActuation(Button::Actuation_MAINTAINED);
    b.setHeldTimeout(1500);
    b.setRepeatInterval(75);
    b.setFunction(ButtonFunction_GO_TO_PAGE);
    b.setFunctionPage(12);
    b.setFunctionTransition(PageTransition_PAN_LEFT);
    b.setFunctionTransitionDuration(900);
    b.setIRSlotId(Action_CLICK, 6);
    b.setFontSize(33);
    b.setWordWrap(true);
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
    return fromHex("4f72766e 4b565808 0000000e") + "Label_start" + "Control_start" +
           fromHex("00000001 00000000 00000000 00000009 00000009 ffffffff") + fromHex(caption) +
           "Control_end" + fromHex("00000018 01") + "Label_end";
}

std::unique_ptr<Control> make(ControlType type, const std::map<QString, QString>& properties = {})
{
    ControlFactory* factory = ControlFactory::get(type);
    EXPECT_NE(factory, nullptr);
    return std::unique_ptr<Control>(factory ? factory->create(properties) : nullptr);
}

std::unique_ptr<Theme> themeWith(ThemedItemType type, const Defaults& defaults)
{
    auto theme = std::make_unique<Theme>(QString());
    for (const auto& [name, value] : defaults)
        theme->setDefaultItemProperty(type, name, value);
    return theme;
}

// The control after it took the defaults of the theme (and no previous theme).
template <class T> QByteArray themed(ThemedItemType type, const Defaults& defaults)
{
    T control;
    control.initialiseFromTheme(themeWith(type, defaults).get(), nullptr);
    return controlBytes(control);
}

} // namespace

TEST(Controls, EachKindStreamsEveryField)
{
    Button button;
    setAll(button);
    EXPECT_EQ(roundTripped(button), controlBytes(button));
    // The other argument forms of a button, and the indeterminate flag.
    button.setFunction(ButtonFunction_SET_BRIGHTNESS);
    button.setFunctionLevel(77);
    button.setWordWrap(indeterminate);
    EXPECT_EQ(roundTripped(button), controlBytes(button));
    button.setFunction(ButtonFunction_BACK);
    EXPECT_EQ(roundTripped(button), controlBytes(button));

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

// One factory per type makes controls with the defaults of every field: no page, a null
// rectangle, null texts, then each kind's own.
TEST(ControlFactory, DefaultBlocksOfEveryKind)
{
    for (int type : {0, 7, -1})
        EXPECT_EQ(ControlFactory::get(ControlType(type)), nullptr);
    const QByteArray controlBlock =
        "Control_start" +
        fromHex("ffffffff 00000000 00000000 ffffffff ffffffff ffffffff ffffffff ffffffff") +
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
        EXPECT_EQ(ModelStream::body(controlBytes(*control)), d.kind + QByteArray("_start") +
                                                                 controlBlock + fromHex(d.fields) +
                                                                 d.kind + "_end")
            << d.kind;
    }
    // Lock carries no arguments: the IR slot follows the function byte at once.
    Button lock;
    lock.setFunction(ButtonFunction_LOCK);
    lock.setWordWrap(indeterminate);
    EXPECT_TRUE(controlBytes(lock).endsWith(fromHex("00 000001f4 000000c8 08 ff 00000010 02") +
                                            "Button_end"));
}

TEST(ControlFactory, CaptionInAnyCaseAndTheSliderUnit)
{
    EXPECT_EQ(make(ControlType_BUTTON, {{"CAPTION", "Living Room"}})->getCaption(), "Living Room");
    // Keys differing in case are applied in the map's order: "Caption" before "caption".
    EXPECT_EQ(make(ControlType_LABEL, {{"caption", "second"}, {"Caption", "first"}})->getCaption(),
              "second");
    // Every other key is ignored; a unit means nothing to other controls.
    EXPECT_EQ(controlBytes(*make(ControlType_KEYPAD, {{"name", "x"}, {"captions", "y"}})),
              controlBytes(Keypad()));
    EXPECT_EQ(controlBytes(*make(ControlType_LABEL, {{"unit", "percent"}})), controlBytes(Label()));

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

TEST(Button, SetFunctionKeepsAndResetsArguments)
{
    Button b;
    EXPECT_EQ(b.getFunctionLevel(), -1);
    EXPECT_EQ(b.getFunctionTransitionDuration(), -1);
    b.setFunction(ButtonFunction_NEXT_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 200);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);

    b.setFunctionTransitionDuration(350);
    b.setFunction(ButtonFunction_BACK); // had a transition: kept
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 350);

    b.setFunction(ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);
    b.setFunctionPage(4);
    b.setFunction(ButtonFunction_GO_TO_PAGE); // same function: page kept
    EXPECT_EQ(b.getFunctionPage(), 4u);

    b.setFunction(ButtonFunction_SET_BRIGHTNESS); // from Go To Page: level reset
    EXPECT_EQ(b.getFunctionLevel(), 255);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_NONE);
    b.setFunctionLevel(0x1234); // low 8 bits
    b.setFunction(ButtonFunction_SET_BRIGHTNESS);
    EXPECT_EQ(b.getFunctionLevel(), 0x34);

    // From a function without a transition, each page-changing function takes its own.
    b.setFunction(ButtonFunction_PREVIOUS_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_LEFT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 200);
    b.setFunction(ButtonFunction_LOCK);
    b.setFunction(ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);

    // Beyond the known functions nothing more happens.
    b.setFunction(ButtonFunction(42));
    EXPECT_EQ(b.getFunction(), ButtonFunction(42));
    EXPECT_EQ(b.getFunctionLevel(), -1);
}

TEST(Slider, UnitComesFromRangeAndSuffixOnlyForOldSliders)
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
        // Otherwise it stays 0, as any unit no editor gives stays as read.
        {Slider::Unit(0), 0, 100, "", Slider::Unit(0)},
        {Slider::Unit(0), 0, 255, "%", Slider::Unit(0)},
        {Slider::Unit(0), 1, 100, "%", Slider::Unit(0)},
        {Slider::Unit(200), 0, 255, "", Slider::Unit(200)},
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
        EXPECT_EQ(read.getMaximum(), c.maximum);
    }

    // Setting a unit sets the range and the suffix, not the value.
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
    // Before version 9 a button's font size and word wrap are present but dropped.
    for (quint32 version : {0u, 8u}) {
        Button expected;
        expected.setPageId(3);
        expected.setGeometry(QRect(QPoint(10, 20), QPoint(89, 49)));
        expected.setName("Key");
        expected.setCaption("Go");
        expected.setActuation(Button::Actuation_MAINTAINED);
        expected.setHeldTimeout(1000);
        expected.setRepeatInterval(100);
        expected.setFunction(ButtonFunction_GO_TO_PAGE);
        expected.setFunctionPage(7);
        expected.setFunctionTransition(PageTransition_PAN_LEFT);
        expected.setFunctionTransitionDuration(300);
        expected.setIRSlotId(Action_CLICK, 4);
        EXPECT_EQ(controlBytes(readFixture<Button>("button_v8", version)), controlBytes(expected))
            << version;
    }
    for (quint32 version : {9u, 12u}) {
        const auto b = readFixture<Button>("button_v9", version);
        EXPECT_EQ(b.getImageId(), UINT_MAX); // still before the image id
        EXPECT_EQ(b.getFunctionLevel(), 128);
        EXPECT_EQ(b.getFontSize(), 20);
        EXPECT_TRUE(indeterminate(b.getWordWrap()));
    }
    for (quint32 version : {13u, 14u}) {
        const auto b = readFixture<Button>("button_v13", version);
        EXPECT_EQ(b.getImageId(), 5u);
        EXPECT_TRUE(b.getStartupSkin().isEmpty());
        EXPECT_EQ(b.getIRSlotId(Action_CLICK), 15);
        EXPECT_EQ(b.getFontSize(), 12);
        EXPECT_TRUE(b.getWordWrap() == false); // byte 5 is no flag value
    }
    for (quint32 version : {15u, 18u}) {
        const auto b = readFixture<Button>("button_v15", version);
        EXPECT_EQ(b.getStartupSkin(), "Pressed");
        EXPECT_EQ(b.getFunction(), ButtonFunction_NEXT_PAGE);
        EXPECT_EQ(b.getFunctionTransition(), PageTransition_NONE);
        EXPECT_TRUE(b.getWordWrap() == true);
    }
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
        {"keypad_v17", {15, 17}, 6, TextStyle_OUTLINE, TextStyle(9)}, // no style, as read
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
    // Every control block before version 15 ends after the caption: no start-up skin.
    Label label;
    ASSERT_TRUE(readControl(labelOfVersion14("00000002 0041"), label));
    EXPECT_EQ(label.getCaption(), "A");
    EXPECT_TRUE(label.getStartupSkin().isEmpty());
    EXPECT_EQ(label.getFontSize(), 24);
    EXPECT_TRUE(label.getWordWrap());
}

// Bytes outside the named values are kept as read; the rest of the block stays in step.
TEST(Button, OutOfRangeBytesAreKeptAsRead)
{
    QByteArray bytes = HexFixture::load("button_v13");
    const int functionAt = bytes.indexOf("Control_end") + 11 + 4 + 1 + 8;
    ASSERT_EQ(bytes.at(functionAt), char(8));
    bytes[functionAt - 9] = char(0xc8); // actuation 200
    bytes[functionAt] = char(0xfa);     // function 250: no argument bytes follow
    Button b;
    ASSERT_TRUE(readControl(bytes, b));
    EXPECT_EQ(b.getActuation(), Button::Actuation(200));
    EXPECT_EQ(b.getFunction(), ButtonFunction(250));
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), 15);
    EXPECT_EQ(roundTripped(b), controlBytes(b)); // written back unchanged
}

TEST(Controls, ClonesHoldNoIRSlotsWhileCopiesKeepThem)
{
    sortvector<Control> controls(64, 4096);
    smart_ptr<Control> owned(new Button);
    auto* button = static_cast<Button*>(owned.get());
    setAll(*button);
    ASSERT_EQ(controls.insert(owned, 12), 12u);
    std::unique_ptr<Control> clone(button->clone());
    EXPECT_EQ(clone->getId(), 12u);
    EXPECT_EQ(clone->getIRSlotId(Action_CLICK), NoIRSlot);
    clone->setIRSlotId(Action_CLICK, 6);
    EXPECT_EQ(controlBytes(*clone), controlBytes(*button));
    EXPECT_EQ(controlBytes(Button(*button)), controlBytes(*button));
    EXPECT_EQ(button->defaultName(), "control12");
    // A button's one slot is the click's.
    button->setIRSlotId(Action_INCREMENT, 7);
    EXPECT_EQ(button->getIRSlotId(Action_CLICK), 6);
    EXPECT_EQ(button->getIRSlotId(Action_INCREMENT), NoIRSlot);

    Slider slider;
    setControlFields(slider);
    slider.setIRSlotId(Action_INCREMENT, 3);
    slider.setIRSlotId(Action_DECREMENT, 4);
    slider.setIRSlotId(Action_CLICK, 9);
    EXPECT_EQ(slider.getIRSlotId(Action_CLICK), NoIRSlot);
    clone.reset(slider.clone());
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
    const QByteArray button = HexFixture::load("button_v15");
    const QByteArray slider = controlBytes(Slider());
    const auto readAs = [](auto control, const QByteArray& bytes) {
        return runtimeErrorOf([&] { readControl(bytes, control); });
    };
    EXPECT_EQ(readAs(Button(), button.left(button.size() - 3)),
              "Failed to find expected tag Button_end");
    EXPECT_EQ(readAs(Button(), button.left(40)), "Failed to find expected tag Control_end");
    EXPECT_EQ(readAs(Button(), QByteArray(button).replace("Button_start", "Button_stArt")),
              "Failed to find expected tag Button_start");
    EXPECT_EQ(readAs(Button(), QByteArray(button).replace("Control_end", "Control_eNd")),
              "Failed to find expected tag Control_end");
    // A label block handed to a clock reader fails on the clock's start tag.
    EXPECT_EQ(readAs(Clock(), controlBytes(Label())), "Failed to find expected tag Clock_start");
    // A slider block cut short inside its doubles fails on its end tag.
    EXPECT_EQ(readAs(Slider(), slider.left(slider.size() - 16)),
              "Failed to find expected tag Slider_end");
    // A caption of odd byte length is corrupt: reading ends there, though the bytes after
    // its length happen to spell the next tag.
    EXPECT_EQ(readAs(Label(), labelOfVersion14("0000000b")),
              "Failed to find expected tag Control_end");
}

TEST(ThemeDefaults, EveryControlTakesItsKeys)
{
    // Values come as the theme document gives them (mostly text).
    Button button;
    button.setFontSize(24);
    button.setWordWrap(true);
    EXPECT_EQ(themed<Button>(ThemedItemType_BUTTON, {{"fontSize", "24"}, {"wordWrap", "true"}}),
              controlBytes(button));
    Slider slider;
    slider.setCaptionFontSize(13);
    slider.setValueFontSize(15);
    slider.setWordWrap(true);
    slider.setHandleSize(0.3);
    slider.setSpacing(2);
    EXPECT_EQ(themed<Slider>(ThemedItemType_SLIDER, {{"captionFontSize", "13"},
                                                     {"valueFontSize", "15"},
                                                     {"wordWrap", "true"},
                                                     {"handleSize", "0.3"},
                                                     {"spacing", "2"}}),
              controlBytes(slider));
    ColourPicker picker;
    picker.setCaptionFontSize(9);
    picker.setWordWrap(true);
    picker.setSpacing(1);
    EXPECT_EQ(
        themed<ColourPicker>(ThemedItemType_COLOUR_PICKER,
                             {{"captionFontSize", "9"}, {"wordWrap", "true"}, {"spacing", "1"}}),
        controlBytes(picker));
    Keypad keypad;
    keypad.setDisplayTextStyle(TextStyle_RAISED);
    keypad.setButtonTextStyle(TextStyle_OUTLINE);
    EXPECT_EQ(themed<Keypad>(ThemedItemType_KEYPAD,
                             {{"displayTextStyle", QVariant::fromValue(TextStyle_RAISED)},
                              {"buttonTextStyle", QVariant::fromValue(TextStyle_OUTLINE)}}),
              controlBytes(keypad));
    Label label;
    label.setFontSize(20);
    label.setWordWrap(true);
    EXPECT_EQ(themed<Label>(ThemedItemType_LABEL, {{"fontSize", "20"}, {"wordWrap", "true"}}),
              controlBytes(label));
    Clock clock;
    clock.setCaptionFontSize(12);
    clock.setSpacing(8);
    EXPECT_EQ(themed<Clock>(ThemedItemType_CLOCK, {{"captionFontSize", "12"}, {"spacing", "8"}}),
              controlBytes(clock));

    // A text style the enumeration does not name is taken as it is, as a file's own is kept.
    Keypad unnamed;
    unnamed.setDisplayTextStyle(TextStyle(9));
    EXPECT_EQ(themed<Keypad>(ThemedItemType_KEYPAD,
                             {{"displayTextStyle", QVariant::fromValue(TextStyle(9))}}),
              controlBytes(unnamed));

    // A theme without defaults, or none at all, changes nothing. A clock takes its defaults
    // from the Clock item type, never from the Colour Picker's; a label from Label (6), not from
    // ControlType_LABEL's number (5, Page Switcher).
    Theme empty{QString()};
    const auto others = themeWith(ThemedItemType_COLOUR_PICKER, {{"captionFontSize", 30}});
    others->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "fontSize", 40);
    std::unique_ptr<Control> controls[] = {
        std::make_unique<Button>(), std::make_unique<Slider>(), std::make_unique<ColourPicker>(),
        std::make_unique<Keypad>(), std::make_unique<Label>(),  std::make_unique<Clock>()};
    for (const auto& control : controls) {
        const QByteArray before = controlBytes(*control);
        control->initialiseFromTheme(&empty, nullptr);
        control->initialiseFromTheme(nullptr, &empty);
        if (control->getType() != ControlType_COLOUR_PICKER)
            control->initialiseFromTheme(others.get(), nullptr);
        EXPECT_EQ(controlBytes(*control), before) << control->getType();
    }
}

TEST(ThemeDefaults, ChangedValuesSurviveAThemeChange)
{
    // Values still showing the previous theme's defaults follow the new theme; changed ones
    // stay. An indeterminate flag counts as "not true".
    const auto theme = themeWith(ThemedItemType_BUTTON, {{"fontSize", "24"}, {"wordWrap", "true"}});
    const auto next = themeWith(ThemedItemType_BUTTON, {{"fontSize", "30"}, {"wordWrap", "false"}});
    Button following;
    following.initialiseFromTheme(theme.get(), nullptr);
    Button changed(following);
    changed.setWordWrap(indeterminate);
    following.initialiseFromTheme(next.get(), theme.get());
    EXPECT_EQ(following.getFontSize(), 30);
    EXPECT_TRUE(following.getWordWrap() == false);
    changed.initialiseFromTheme(next.get(), theme.get());
    EXPECT_EQ(changed.getFontSize(), 30);
    EXPECT_TRUE(indeterminate(changed.getWordWrap()));

    const auto old = themeWith(ThemedItemType_SLIDER, {{"spacing", 6}, {"handleSize", 0.2}});
    const auto sliderNext = themeWith(
        ThemedItemType_SLIDER, {{"spacing", 9}, {"handleSize", 0.5}, {"captionFontSize", 18}});
    Slider slider;
    slider.setHandleSize(0.4); // changed by the user
    slider.initialiseFromTheme(sliderNext.get(), old.get());
    EXPECT_EQ(slider.getSpacing(), 9);
    EXPECT_DOUBLE_EQ(slider.getHandleSize(), 0.4);
    // A key the previous theme had no default for is not taken either.
    EXPECT_EQ(slider.getCaptionFontSize(), 11);
}
