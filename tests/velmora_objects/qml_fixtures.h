#pragma once

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <QColor>
#include <QRect>
#include <QRegularExpression>
#include <memory>
#include <vector>

// The projects whose QML documents are kept in tests/data/qml/. The documents were checked
// line by line against what the preview's components expect; changing a fixture means
// reviewing the documents it writes again.
namespace QmlFixtures {

using Velmora::Configuration;

// The expected documents are written for the serial number 1. A configuration's serial comes
// from a process-wide counter, so it is moved past 1 and then written back as 1; a document
// that used a wrong serial keeps it and fails the comparison.
inline void moveSerialPastOne(Configuration& configuration)
{
    while (configuration.getSerial() <= 1)
        configuration.assignSerial();
}

inline QString withSerialOne(QString text, const Configuration& configuration)
{
    const QString serial = QString::number(configuration.getSerial());
    text.replace(QRegularExpression(QStringLiteral("theTheme%1(?!\\d)").arg(serial)),
                 QStringLiteral("theTheme1"));
    text.replace(QStringLiteral("image://theme%1/").arg(serial), QStringLiteral("image://theme1/"));
    return text;
}

inline Gradient gradient(const GradientStops& stops)
{
    Gradient result;
    result.setStops(stops);
    return result;
}

template <class T>
T* addControl(Configuration& configuration, unsigned int id, unsigned int pageId,
              const QString& name, const QString& caption, const QRect& geometry)
{
    T* control = new T;
    control->setPageId(pageId);
    control->setName(name);
    control->setCaption(caption);
    control->setGeometry(geometry);
    smart_ptr<Velmora::Control> owner(control);
    const unsigned int stored = configuration.insertControl(owner, id);
    if (stored != id)
        return nullptr;
    configuration.getPage(pageId).getControlIds().insert(id);
    return control;
}

inline Velmora::Page& addPage(Configuration& configuration, unsigned int id, const QString& name,
                              int sortValue)
{
    smart_ptr<Velmora::Page> page(new Velmora::Page);
    page->setName(name);
    page->setSortValue(sortValue);
    configuration.insertPage(page, id);
    return configuration.getPage(id);
}

inline Velmora::PageSwitcher& addPageSwitcher(Configuration& configuration, unsigned int id,
                                              int position, int alignment,
                                              const std::vector<unsigned int>& pageIds)
{
    smart_ptr<Velmora::PageSwitcher> pageSwitcher(new Velmora::PageSwitcher);
    pageSwitcher->setPosition(position);
    pageSwitcher->setAlignment(Velmora::Alignment(alignment));
    pageSwitcher->setPageIds(pageIds);
    configuration.insertPageSwitcher(pageSwitcher, id);
    return configuration.getPageSwitcher(id);
}

inline void addProperty(Velmora::Skin& skin, Velmora::SkinProperty* property)
{
    skin.setProperty(smart_ptr<Velmora::SkinProperty>(property));
}

inline Velmora::Skin* addSkin(Velmora::SkinSet& set, const QString& name, int duration, int easing)
{
    Velmora::Skin* skin = set.getSkin(name, true);
    skin->getTransition().duration = duration;
    skin->getTransition().easing = easing;
    return skin;
}

// A theme with skin sets for buttons (default "Default" of two skins), sliders (no default),
// keypads (default "Light", the second of two), labels and clocks, and none for colour
// pickers. Some skins lack properties of their type, one holds a string property of its own.
inline Velmora::Theme* makeTheme()
{
    using namespace Velmora;
    auto* theme = new Theme(QString());

    auto* buttons = new SkinSet(ThemedItemType_BUTTON);
    Skin* skin = addSkin(*buttons, "Default", 300, 3);
    addProperty(*skin, new IntSkinProperty("borderWidth", "Border width", 2, "px", 0, 99, ""));
    addProperty(*skin, new BoolSkinProperty("fontBold", "Bold text", true));
    addProperty(*skin, new ColourSkinProperty("gradientTopColour", "Gradient top colour",
                                              QColor("#112233")));
    addProperty(*skin, new DoubleSkinProperty("opacity", "Opacity", 0.8, "", 0.0, 1.0, 0.1));
    addProperty(*skin, new ImageSkinProperty("backgroundImage", "Background image", 4u));
    skin = addSkin(*buttons, "Pressed", 150, 0);
    addProperty(*skin, new StringSkinProperty("label", "Label", QString("Say \"hi\" \\ now")));
    addProperty(*skin, new ColourSkinProperty("textColour", "Text colour", QColor(Qt::red)));
    theme->setSkinSet(smart_ptr<SkinSet>(buttons));
    theme->setDefaultSkin(ThemedItemType_BUTTON, "Default");

    auto* sliders = new SkinSet(ThemedItemType_SLIDER);
    skin = addSkin(*sliders, "Plain", 300, 3);
    addProperty(*skin, new IntSkinProperty("radius", "Track radius", 4, "px", 0, 99, ""));
    theme->setSkinSet(smart_ptr<SkinSet>(sliders));

    auto* keypads = new SkinSet(ThemedItemType_KEYPAD);
    addSkin(*keypads, "Dark", 300, 3);
    skin = addSkin(*keypads, "Light", 250, 6);
    addProperty(*skin,
                new ColourSkinProperty("backgroundColour", "Background colour", QColor("#101010")));
    theme->setSkinSet(smart_ptr<SkinSet>(keypads));
    theme->setDefaultSkin(ThemedItemType_KEYPAD, "Light");

    auto* labels = new SkinSet(ThemedItemType_LABEL);
    skin = addSkin(*labels, "Caption", 0, 0);
    addProperty(*skin, new ColourSkinProperty("textColour", "Text colour", QColor("#fafafa")));
    theme->setSkinSet(smart_ptr<SkinSet>(labels));
    theme->setDefaultSkin(ThemedItemType_LABEL, "Caption");

    auto* clocks = new SkinSet(ThemedItemType_CLOCK);
    skin = addSkin(*clocks, "Face", 300, 3);
    addProperty(*skin, new ImageSkinProperty("faceImage", "Face image", 2u));
    addProperty(*skin, new IntSkinProperty("borderWidth", "Border width", 3, "px", 0, 99, ""));
    theme->setSkinSet(smart_ptr<SkinSet>(clocks));
    theme->setDefaultSkin(ThemedItemType_CLOCK, "Face");
    return theme;
}

// A landscape project with the theme above, four pages (listed out of id order), every kind
// of control and two page switchers.
inline std::unique_ptr<Configuration> makeProject()
{
    using namespace Velmora;
    auto configuration = std::make_unique<Configuration>();
    configuration->clear();
    configuration->setOrientation(Orientation_LANDSCAPE);
    configuration->setTheme(makeTheme());
    moveSerialPastOne(*configuration);

    Page& home = addPage(*configuration, 1, "Home", 0);
    home.setPageSwitcherId(0);
    home.setBackgroundColour(QColor("#203040"));
    home.setIconId(3);
    Page& settings = addPage(*configuration, 0, "Settings", 65536);
    settings.setPageSwitcherId(0);
    settings.setBackgroundGradient(gradient({{0.0, QColor("#000000")}, {1.0, QColor("#ffffff")}}));
    settings.setBackgroundGradientRotation(45);
    settings.setBackgroundImageId(5);
    settings.setBackgroundImageScaling(Scaling_STRETCH);
    Page& clocks = addPage(*configuration, 2, "Clocks", 131072);
    clocks.setPageSwitcherId(1);
    clocks.setBackgroundImageId(6);
    clocks.setBackgroundImageScaling(Scaling_NONE);
    Page& tiles = addPage(*configuration, 3, "Tiles", 196608);
    tiles.setBackgroundImageId(7);
    tiles.setBackgroundImageScaling(Scaling_TILED);

    // The first button and the first clock keep their defaults.
    addControl<Button>(*configuration, 0, 1, "button000", "Go", QRect(10, 20, 100, 40));
    Button* button = addControl<Button>(*configuration, 2, 1, "button001", "Line \"1\" \\ 2",
                                        QRect(120, 20, 100, 40));
    button->setStartupSkin("Pressed");
    button->setFontSize(20);
    button->setWordWrap(true);
    button->setHeldTimeout(1000);
    button->setRepeatInterval(250);
    button->setImageId(8);
    button->setActuation(Button::Actuation_MAINTAINED);

    Slider* slider =
        addControl<Slider>(*configuration, 1, 0, "slider000", "Volume", QRect(10, 10, 200, 40));
    slider->setMaximum(255);
    slider->setValue(51);
    slider->setShowValue(true);
    slider->setValueFontSize(12);
    slider = addControl<Slider>(*configuration, 3, 0, "slider001", "", QRect(10, 60, 200, 40));
    slider->setMinimum(5);
    slider->setMaximum(5);
    slider->setValue(5);
    slider->setShowValue(false);
    slider->setValueSuffix("%");
    slider->setWordWrap(true);
    slider->setHandleSize(0.35);
    slider->setSpacing(4);

    ColourPicker* picker = addControl<ColourPicker>(*configuration, 4, 0, "colour000", "Tint",
                                                    QRect(250, 10, 100, 100));
    picker->setCaptionFontSize(13);
    picker->setWordWrap(true);
    picker->setSpacing(8);

    Keypad* keypad =
        addControl<Keypad>(*configuration, 5, 0, "keypad000", "Code", QRect(360, 10, 110, 250));
    keypad->setMaxDigits(6);
    keypad->setHideCharacters(false);
    keypad->setDisplayTextStyle(TextStyle_RAISED);
    keypad->setButtonTextStyle(TextStyle_SUNKEN);

    Label* label =
        addControl<Label>(*configuration, 6, 2, "label000", "Welcome", QRect(10, 10, 200, 30));
    label->setFontSize(18);
    label->setWordWrap(true);

    addControl<Clock>(*configuration, 7, 2, "clock000", "Local", QRect(10, 60, 120, 120));
    Clock* clock =
        addControl<Clock>(*configuration, 8, 2, "clock001", "Digital", QRect(140, 60, 120, 40));
    clock->setStartupSkin("Face");
    clock->setClockType(Clock::ClockType_DIGITAL);
    clock->setCaptionFontSize(14);
    clock->setSpacing(2);
    clock = addControl<Clock>(*configuration, 9, 2, "clock002", "Odd", QRect(270, 60, 50, 50));
    clock->setClockType(Clock::ClockType(5));

    addPageSwitcher(*configuration, 0, NavigationPosition_BOTTOM, Alignment_CENTER, {1, 0, 2});
    PageSwitcher& side =
        addPageSwitcher(*configuration, 1, NavigationPosition_RIGHT, Alignment_START, {2, 1});
    side.setShowTime(true);
    side.setShowDate(true);
    side.setDateTimeAtEnd(false);
    side.setDateTimeFontSize(12);
    side.setTimeFormat("hh:mm:ss");
    side.setDateFormat("ddd d MMM");
    side.setButtonTextColour(QColor("#ffffff"));
    side.setButtonHighlight(QColor("#ff8800"));
    side.setButtonHighlightOpacity(0.75);
    side.setBackgroundOpacity(0.9);
    side.setBackgroundGradient(gradient({{0.0, QColor("#102030")}, {1.0, QColor("#405060")}}));
    side.setShowPageNames(false);
    return configuration;
}

// A project without a theme whose page switchers cover every position and alignment with no
// date or time, with the time at the start and with time and date at the end, and the edge
// cases of the layout: a bar over the whole screen, unknown alignments, spreading one button,
// more pages than fit with and without the date, a date and time too wide for any button,
// the date's format deciding the extent, and no pages.
inline std::unique_ptr<Configuration> makeSwitcherProject(int orientation)
{
    using namespace Velmora;
    auto configuration = std::make_unique<Configuration>();
    configuration->clear();
    configuration->setOrientation(orientation);
    moveSerialPastOne(*configuration);

    addPage(*configuration, 0, "One", 0);
    addPage(*configuration, 1, "Two", 65536);
    addPage(*configuration, 2, "Three", 131072);
    for (unsigned int id = 3; id < 12; ++id)
        addPage(*configuration, id, QStringLiteral("P%1").arg(id), 65536 * int(id));
    std::vector<unsigned int> all;
    for (unsigned int id = 0; id < 12; ++id)
        all.push_back(id);

    unsigned int id = 0;
    for (int position = 1; position <= 4; ++position) {
        for (int alignment = 0; alignment <= 3; ++alignment) {
            addPageSwitcher(*configuration, id++, position, alignment, {0, 1, 2});
            PageSwitcher& timeFirst =
                addPageSwitcher(*configuration, id++, position, alignment, {0, 1, 2});
            timeFirst.setShowTime(true);
            timeFirst.setDateTimeAtEnd(false);
            PageSwitcher& bothLast =
                addPageSwitcher(*configuration, id++, position, alignment, {0, 1, 2});
            bothLast.setShowTime(true);
            bothLast.setShowDate(true);
            bothLast.setDateTimeAtEnd(true);
        }
    }
    addPageSwitcher(*configuration, id++, 0, Alignment_CENTER, {0, 1, 2});
    addPageSwitcher(*configuration, id++, 7, Alignment_END, {0, 1, 2}).setShowDate(true);
    PageSwitcher& unknownAlignment = addPageSwitcher(*configuration, id++, 1, 9, {0, 1, 2});
    unknownAlignment.setShowTime(true);
    unknownAlignment.setDateTimeAtEnd(false);
    addPageSwitcher(*configuration, id++, 4, 9, {0, 1, 2});
    PageSwitcher& spreadOne = addPageSwitcher(*configuration, id++, 1, Alignment_SPREAD, {1});
    spreadOne.setShowDate(true);
    spreadOne.setDateTimeAtEnd(false);
    addPageSwitcher(*configuration, id++, 4, Alignment_SPREAD, {1});
    addPageSwitcher(*configuration, id++, 3, Alignment_START, all);
    addPageSwitcher(*configuration, id++, 3, Alignment_START, all).setShowTime(true);
    addPageSwitcher(*configuration, id++, 2, Alignment_END, all).setShowDate(true);
    PageSwitcher& tooWide = addPageSwitcher(*configuration, id++, 1, Alignment_CENTER, {0, 1, 2});
    tooWide.setShowTime(true);
    tooWide.setShowDate(true);
    tooWide.setDateTimeFontSize(200);
    PageSwitcher& dateOnly = addPageSwitcher(*configuration, id++, 1, Alignment_END, {0, 1, 2});
    dateOnly.setShowDate(true);
    dateOnly.setDateFormat("dddd d MMMM yyyy");
    dateOnly.setTimeFormat("hh:mm:ss:zzz AP");
    addPageSwitcher(*configuration, id++, 3, Alignment_SPREAD, {});
    return configuration;
}

// The text of one object rendered on its own, with the serial written as 1.
template <class Object>
QString render(const Configuration& configuration, const Object& object, bool editable,
               bool renderChildren, bool standalone)
{
    VelmoraQML::QMLStreamer streamer(&configuration);
    streamer.editable = editable;
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.renderChildren = renderChildren;
    renderer.standalone = standalone;
    object.render(&renderer);
    return withSerialOne(streamer.text(), configuration);
}

} // namespace QmlFixtures
