#pragma once

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"

// The controls of the benchmarks: the six types in turn, then (unless left out) a digital clock
// as a seventh.
inline Velmora::Control* newMixedControl(int index, bool withDigitalClock = true)
{
    using namespace Velmora;
    switch (index % (withDigitalClock ? 7 : 6)) {
    case 0:
        return new Button;
    case 1:
        return new Slider;
    case 2:
        return new ColourPicker;
    case 3:
        return new Keypad;
    case 4:
        return new Label;
    case 5:
        return new Clock;
    default: {
        auto* clock = new Clock;
        clock->setClockType(Clock::ClockType_DIGITAL);
        return clock;
    }
    }
}
