#pragma once

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"

// The controls of the preview benchmarks: the six types and the digital clock in turn.
inline Velmora::Control* newMixedControl(int index)
{
    using namespace Velmora;
    switch (index % 7) {
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
