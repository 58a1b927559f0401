#include "model_stream.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <gtest/gtest.h>

using namespace Velmora;
using boost::logic::indeterminate;
using ModelStream::controlBytes;
using ModelStream::written;

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

QByteArray switcherBytes(const PageSwitcher& p)
{
    return written([&](Streamer& s) { s << p; });
}

} // namespace

TEST(ThemeDefaults, ButtonTakesFontSizeAndWordWrap)
{
    const auto theme = themeWith(ThemedItemType_BUTTON, {{"fontSize", "24"}, {"wordWrap", "true"}});
    Button b;
    b.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(b.getFontSize(), 24);
    EXPECT_TRUE(b.getWordWrap() == true);

    // Values still showing the previous theme's defaults follow the new theme; changed ones
    // stay. An indeterminate flag counts as "not true".
    const auto next = themeWith(ThemedItemType_BUTTON, {{"fontSize", "30"}, {"wordWrap", "false"}});
    Button changed(b);
    changed.setWordWrap(indeterminate);
    b.initialiseFromTheme(next.get(), theme.get());
    EXPECT_EQ(b.getFontSize(), 30);
    EXPECT_TRUE(b.getWordWrap() == false);
    changed.initialiseFromTheme(next.get(), theme.get());
    EXPECT_EQ(changed.getFontSize(), 30);
    EXPECT_TRUE(indeterminate(changed.getWordWrap()));
}

TEST(ThemeDefaults, OnlyKeysOfTheOwnItemType)
{
    // A clock takes its defaults from the Clock item type, never from the Colour Picker's;
    // a label from Label (6), not from ControlType_LABEL's number (5, Page Switcher).
    auto theme = std::make_unique<Theme>(QString());
    theme->setDefaultItemProperty(ThemedItemType_COLOUR_PICKER, "captionFontSize", 30);
    theme->setDefaultItemProperty(ThemedItemType_COLOUR_PICKER, "spacing", 30);
    theme->setDefaultItemProperty(ThemedItemType_CLOCK, "captionFontSize", 14);
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "fontSize", 40);
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "wordWrap", true);
    Clock clock;
    clock.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(clock.getCaptionFontSize(), 14);
    EXPECT_EQ(clock.getSpacing(), 6);
    Label label;
    label.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(label.getFontSize(), 16);
    EXPECT_TRUE(label.getWordWrap());
    ColourPicker picker;
    picker.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(picker.getCaptionFontSize(), 30);
    EXPECT_EQ(picker.getSpacing(), 30);
    EXPECT_FALSE(picker.getWordWrap());
}

TEST(ThemeDefaults, EveryControlTakesItsKeys)
{
    const auto sliderTheme = themeWith(ThemedItemType_SLIDER, {{"captionFontSize", "13"},
                                                               {"valueFontSize", "15"},
                                                               {"wordWrap", "true"},
                                                               {"handleSize", "0.3"},
                                                               {"spacing", "2"}});
    Slider slider;
    slider.initialiseFromTheme(sliderTheme.get(), nullptr);
    EXPECT_EQ(slider.getCaptionFontSize(), 13);
    EXPECT_EQ(slider.getValueFontSize(), 15);
    EXPECT_TRUE(slider.getWordWrap() == true);
    EXPECT_DOUBLE_EQ(slider.getHandleSize(), 0.3);
    EXPECT_EQ(slider.getSpacing(), 2);

    const auto pickerTheme =
        themeWith(ThemedItemType_COLOUR_PICKER,
                  {{"captionFontSize", "9"}, {"wordWrap", "true"}, {"spacing", "1"}});
    ColourPicker picker;
    picker.initialiseFromTheme(pickerTheme.get(), nullptr);
    EXPECT_EQ(picker.getCaptionFontSize(), 9);
    EXPECT_TRUE(picker.getWordWrap());
    EXPECT_EQ(picker.getSpacing(), 1);

    const auto keypadTheme = themeWith(
        ThemedItemType_KEYPAD, {{"displayTextStyle", QVariant::fromValue(TextStyle_RAISED)},
                                {"buttonTextStyle", QVariant::fromValue(TextStyle_OUTLINE)}});
    Keypad keypad;
    keypad.initialiseFromTheme(keypadTheme.get(), nullptr);
    EXPECT_EQ(keypad.getDisplayTextStyle(), TextStyle_RAISED);
    EXPECT_EQ(keypad.getButtonTextStyle(), TextStyle_OUTLINE);
    EXPECT_EQ(keypad.getMaxDigits(), 4);

    const auto labelTheme =
        themeWith(ThemedItemType_LABEL, {{"fontSize", "20"}, {"wordWrap", "true"}});
    Label label;
    label.initialiseFromTheme(labelTheme.get(), nullptr);
    EXPECT_EQ(label.getFontSize(), 20);
    EXPECT_TRUE(label.getWordWrap());

    const auto clockTheme =
        themeWith(ThemedItemType_CLOCK, {{"captionFontSize", "12"}, {"spacing", "8"}});
    Clock clock;
    clock.initialiseFromTheme(clockTheme.get(), nullptr);
    EXPECT_EQ(clock.getCaptionFontSize(), 12);
    EXPECT_EQ(clock.getSpacing(), 8);

    // A theme without defaults changes nothing.
    const Theme empty{QString()};
    std::unique_ptr<Control> controls[] = {
        std::make_unique<Button>(), std::make_unique<Slider>(), std::make_unique<ColourPicker>(),
        std::make_unique<Keypad>(), std::make_unique<Label>(),  std::make_unique<Clock>()};
    for (const auto& control : controls) {
        const QByteArray before = controlBytes(*control);
        control->initialiseFromTheme(&empty, nullptr);
        control->initialiseFromTheme(&empty, sliderTheme.get());
        EXPECT_EQ(controlBytes(*control), before) << control->getType();
    }
}

TEST(ThemeDefaults, ChangedValuesSurviveAThemeChange)
{
    const auto old = themeWith(ThemedItemType_SLIDER, {{"spacing", 6}, {"handleSize", 0.2}});
    const auto next = themeWith(ThemedItemType_SLIDER, {{"spacing", 9}, {"handleSize", 0.5}});
    Slider slider;
    slider.setHandleSize(0.4); // changed by the user
    slider.initialiseFromTheme(next.get(), old.get());
    EXPECT_EQ(slider.getSpacing(), 9);
    EXPECT_DOUBLE_EQ(slider.getHandleSize(), 0.4);

    // A key the previous theme had no default for is not taken either.
    const auto partial = themeWith(ThemedItemType_SLIDER, {{"valueFontSize", 11}});
    const auto withFont = themeWith(ThemedItemType_SLIDER, {{"captionFontSize", 18}});
    slider.initialiseFromTheme(withFont.get(), partial.get());
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
    EXPECT_EQ(p.getBackgroundGradient(), bar);
    EXPECT_EQ(p.getButtonTextColour(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(p.getButtonHighlight(), QColor(Qt::yellow));
    EXPECT_DOUBLE_EQ(p.getBackgroundOpacity(), 0.9);
    EXPECT_EQ(p.getButtonFontSize(), 15);
    EXPECT_DOUBLE_EQ(p.getButtonHighlightOpacity(), 0.1);
    EXPECT_FALSE(p.getShowPageNames());
    EXPECT_TRUE(p.getShowTime());
    EXPECT_TRUE(p.getShowDate());
    EXPECT_EQ(p.getTimeFormat(), "h:mm");
    EXPECT_EQ(p.getDateFormat(), "dd.MM.");
    EXPECT_FALSE(p.getDateTimeAtEnd());
    EXPECT_EQ(p.getDateTimeFontSize(), 12);
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
    const QByteArray before = switcherBytes(p);
    p.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(switcherBytes(p), before);
}

TEST(ThemeDefaults, PagesTakeNothing)
{
    const auto theme = themeWith(ThemedItemType_BUTTON, {{"fontSize", 30}});
    Page page;
    const QByteArray before = written([&](Streamer& s) { s << page; });
    page.initialiseFromTheme(theme.get(), nullptr);
    EXPECT_EQ(written([&](Streamer& s) { s << page; }), before);
}
