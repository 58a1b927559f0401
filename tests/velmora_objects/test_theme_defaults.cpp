#include "model_stream.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <gtest/gtest.h>

using namespace Velmora;
using boost::logic::indeterminate;
using ModelStream::controlBytes;

namespace {

// A theme holding the given defaults of one item type. Values come as the theme XML gives
// them (mostly text) unless the test says otherwise.
std::unique_ptr<Theme> themeWith(ThemedItemType type,
                                 const std::vector<std::pair<QString, QVariant>>& defaults)
{
    auto theme = std::make_unique<Theme>(QString());
    for (const auto& [name, value] : defaults)
        theme->setDefaultItemProperty(type, name, value);
    return theme;
}

Gradient gradient(const QColor& a, const QColor& b)
{
    Gradient g;
    g.setStops({{0.0, a}, {1.0, b}});
    return g;
}

// The control after it took the defaults of the theme (and no previous theme).
template <class T>
QByteArray themed(ThemedItemType type, const std::vector<std::pair<QString, QVariant>>& defaults)
{
    T control;
    control.initialiseFromTheme(themeWith(type, defaults).get(), nullptr);
    return controlBytes(control);
}

} // namespace

TEST(ThemeDefaults, EveryControlTakesItsKeys)
{
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

    // A theme without defaults, or none at all, changes nothing.
    const Theme empty{QString()};
    std::unique_ptr<Control> controls[] = {
        std::make_unique<Button>(), std::make_unique<Slider>(), std::make_unique<ColourPicker>(),
        std::make_unique<Keypad>(), std::make_unique<Label>(),  std::make_unique<Clock>()};
    for (const auto& control : controls) {
        const QByteArray before = controlBytes(*control);
        control->initialiseFromTheme(&empty, nullptr);
        control->initialiseFromTheme(nullptr, &empty);
        EXPECT_EQ(controlBytes(*control), before) << control->getType();
    }
}

TEST(ThemeDefaults, OnlyKeysOfTheOwnItemType)
{
    // A clock takes its defaults from the Clock item type, never from the Colour Picker's;
    // a label from Label (6), not from ControlType_LABEL's number (5, Page Switcher).
    auto theme = std::make_unique<Theme>(QString());
    theme->setDefaultItemProperty(ThemedItemType_COLOUR_PICKER, "captionFontSize", 30);
    theme->setDefaultItemProperty(ThemedItemType_CLOCK, "spacing", 14);
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "fontSize", 40);
    Clock clock;
    clock.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(clock.getCaptionFontSize(), 11);
    EXPECT_EQ(clock.getSpacing(), 14);
    Label label;
    label.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(label.getFontSize(), 16);
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

TEST(ThemeDefaults, PageSwitcherTakesEveryKey)
{
    const Gradient bar = gradient(Qt::red, Qt::blue);
    const auto theme =
        themeWith(ThemedItemType_PAGE_SWITCHER, {{"backgroundGradient", QVariant::fromValue(bar)},
                                                 {"buttonTextColour", "#102030"},
                                                 {"buttonHighlight", QColor(Qt::yellow)},
                                                 {"backgroundOpacity", "0.9"},
                                                 {"buttonFontSize", "15"},
                                                 {"buttonHighlightOpacity", "0.1"},
                                                 {"showPageNames", "false"},
                                                 {"showTime", "true"},
                                                 {"showDate", "true"},
                                                 {"timeFormat", "h:mm"},
                                                 {"dateFormat", "dd.MM."},
                                                 {"dateTimeAtEnd", "false"},
                                                 {"dateTimeFontSize", "12"}});
    PageSwitcher p;
    p.initialiseFromTheme(theme.get(), nullptr);
    PageSwitcher expected;
    expected.setBackgroundGradient(bar);
    expected.setButtonTextColour(QColor(0x10, 0x20, 0x30));
    expected.setButtonHighlight(QColor(Qt::yellow));
    expected.setBackgroundOpacity(0.9);
    expected.setButtonFontSize(15);
    expected.setButtonHighlightOpacity(0.1);
    expected.setShowPageNames(false);
    expected.setShowTime(true);
    expected.setShowDate(true);
    expected.setTimeFormat("h:mm");
    expected.setDateFormat("dd.MM.");
    expected.setDateTimeAtEnd(false);
    expected.setDateTimeFontSize(12);
    EXPECT_EQ(ModelStream::objectBytes(p), ModelStream::objectBytes(expected));
}

TEST(ThemeDefaults, PageSwitcherComparesGradientsAndColoursAsSuch)
{
    const Gradient oldBar = gradient(Qt::black, Qt::gray);
    const Gradient newBar = gradient(Qt::white, Qt::green);
    const auto old = themeWith(ThemedItemType_PAGE_SWITCHER,
                               {{"backgroundGradient", QVariant::fromValue(oldBar)},
                                {"buttonTextColour", "#b2b2b2"}, // text, equal to the colour
                                {"buttonHighlight", "#000000"}});
    const auto next = themeWith(ThemedItemType_PAGE_SWITCHER,
                                {{"backgroundGradient", QVariant::fromValue(newBar)},
                                 {"buttonTextColour", "#ffffff"},
                                 {"buttonHighlight", "#ff0000"}});

    PageSwitcher following;
    following.setBackgroundGradient(oldBar);
    following.initialiseFromTheme(next.get(), old.get());
    EXPECT_EQ(following.getBackgroundGradient(), newBar);
    EXPECT_EQ(following.getButtonTextColour(), QColor(Qt::white));
    // The highlight was not the previous theme's: it stays.
    EXPECT_EQ(following.getButtonHighlight(), QColor("#4682B4"));

    PageSwitcher changed;
    changed.setBackgroundGradient(gradient(Qt::cyan, Qt::cyan));
    changed.initialiseFromTheme(next.get(), old.get());
    EXPECT_EQ(changed.getBackgroundGradient(), gradient(Qt::cyan, Qt::cyan));
}

TEST(ThemeDefaults, DamagedPageSwitcherDefaultsAreIgnored)
{
    const auto theme =
        themeWith(ThemedItemType_PAGE_SWITCHER, {{"backgroundGradient", "not a gradient"},
                                                 {"buttonTextColour", "not a colour"},
                                                 {"buttonHighlight", 42}});
    PageSwitcher p;
    const QByteArray before = ModelStream::objectBytes(p);
    p.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(ModelStream::objectBytes(p), before);
}
