#pragma once

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/model_stream.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/sample_theme.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/streamer.h"

#include <QRect>

// Projects with something in every part, for the tests of the project file.
namespace SampleProject {

using namespace Velmora;

// Stores the control on its page, with the page listing it; returns its id.
inline unsigned int place(Configuration& project, Control* control, unsigned int pageId,
                          const QRect& geometry)
{
    control->setPageId(pageId);
    control->setGeometry(geometry);
    smart_ptr<Control> owned(control);
    const unsigned int id = project.insertControl(owned, UINT_MAX);
    project.getPage(pageId).getControlIds().insert(id);
    project.getControl(id).setName(project.getControl(id).defaultName());
    return id;
}

// A portrait project with three pages, two page switchers, controls of all six types, the
// sample theme (with imageCount images in each store), IR slots and security settings.
inline void fill(Configuration& project, int imageCount = 3)
{
    project.clear();
    project.setName("Sample project");
    project.setOrientation(Orientation_PORTRAIT);
    project.setTheme(SampleTheme::make(imageCount).release());

    const unsigned int first = project.addPage();
    const unsigned int second = project.addPage();
    const unsigned int third = project.addPage();
    Page& home = project.getPage(first);
    home.setName("Home");
    home.setBackgroundColour(QColor(10, 20, 30));
    home.setIconId(0);
    Page& lights = project.getPage(second);
    lights.setName("Lights");
    lights.setBackgroundGradient(SampleTheme::gradientOf(Qt::white, Qt::blue));
    lights.setBackgroundGradientRotation(45);
    lights.setBackgroundImageId(1);
    lights.setBackgroundImageScaling(Scaling_TILED);
    Page& settings = project.getPage(third);
    settings.setName("Settings");
    settings.setBackgroundImageId(2);
    settings.setIconId(2);
    settings.setLayoutName("Grid");
    NavButtons navigation;
    navigation.position = NavigationPosition_BOTTOM;
    navigation.alignment = Alignment_CENTER;
    navigation.functions = {ButtonFunction_PREVIOUS_PAGE, ButtonFunction_BACK};
    settings.setNavButtons(navigation);

    smart_ptr<PageSwitcher> bar(new PageSwitcher);
    bar->setPosition(NavigationPosition_BOTTOM);
    bar->setPageIds({first, second, third});
    bar->setUsage(2);
    bar->setShowTime(true);
    const unsigned int barId = project.insertPageSwitcher(bar, UINT_MAX);
    smart_ptr<PageSwitcher> side(new PageSwitcher);
    side->setPosition(NavigationPosition_LEFT);
    side->setAlignment(Alignment_START);
    side->setPageIds({third});
    side->setUsage(1);
    const unsigned int sideId = project.insertPageSwitcher(side, UINT_MAX);
    home.setPageSwitcherId(barId);
    lights.setPageSwitcherId(barId);
    settings.setPageSwitcherId(sideId);

    auto* goTo = new Button;
    goTo->setCaption("Settings");
    goTo->setStartupSkin("Normal");
    goTo->setImageId(1);
    goTo->setFunction(ButtonFunction_GO_TO_PAGE);
    goTo->setFunctionPage(third);
    goTo->setIRSlotId(Action_CLICK, 3);
    place(project, goTo, first, QRect(10, 10, 100, 40));
    auto* dimmer = new Slider;
    dimmer->setCaption("Dimmer");
    dimmer->setStartupSkin("Default");
    dimmer->setUnit(Slider::Unit_8BIT);
    dimmer->setValue(128);
    dimmer->setIRSlotId(Action_INCREMENT, 4);
    dimmer->setIRSlotId(Action_DECREMENT, 5);
    place(project, dimmer, first, QRect(10, 60, 200, 30));
    auto* picker = new ColourPicker;
    picker->setColour(QColor(255, 128, 0));
    place(project, picker, second, QRect(0, 0, 120, 120));
    auto* keypad = new Keypad;
    keypad->setMaxDigits(6);
    keypad->setDisplayTextStyle(TextStyle_RAISED);
    place(project, keypad, second, QRect(130, 0, 120, 200));
    auto* label = new Label;
    label->setCaption("Ünïcode ✓");
    label->setWordWrap(true);
    place(project, label, third, QRect(0, 300, 272, 20));
    auto* clock = new Clock;
    clock->setClockType(Clock::ClockType_DIGITAL);
    clock->setStartupSkin("Face");
    place(project, clock, third, QRect(0, 0, 100, 100));
    auto* brighter = new Button;
    brighter->setFunction(ButtonFunction_SET_BRIGHTNESS);
    brighter->setFunctionLevel(200);
    brighter->setStartupSkin("Normal");
    brighter->setIRSlotId(Action_CLICK, 9);
    place(project, brighter, third, QRect(0, 400, 80, 40));

    project.setDefaultPageId(second);
    project.setUnlockCode("2468");
    project.setUnlockFunction(ButtonFunction_BACK);
    project.setLockTimeout(300000);
}

inline QByteArray saved(const Configuration& project, bool minimal = false)
{
    return TestUtil::streamed([&](Streamer& s) { project.write(s, minimal); });
}

// Loads the bytes into the project, which is cleared first.
inline void load(Configuration& project, QByteArray bytes)
{
    project.clear();
    Streamer s;
    s.open(Streamer::Mode_READ, &bytes);
    project.read(s);
}

} // namespace SampleProject
