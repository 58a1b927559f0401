#include "velmora_objects/control_factory.h"

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"

#include <memory>

using namespace Velmora;

namespace {

// Properties that only some control classes know; the key is already in lower case.
void applyProperty(Control&, const QString&, const QString&) {}

void applyProperty(Slider& slider, const QString& key, const QString& value)
{
    if (key != QLatin1String("unit"))
        return;
    const QString unit = value.toLower();
    if (unit == QLatin1String("8bit"))
        slider.setUnit(Slider::Unit_8BIT);
    else if (unit == QLatin1String("percent"))
        slider.setUnit(Slider::Unit_PERCENT);
}

ConcreteControlFactory<Button, ControlType_BUTTON> buttonFactory;
ConcreteControlFactory<Slider, ControlType_SLIDER> sliderFactory;
ConcreteControlFactory<ColourPicker, ControlType_COLOUR_PICKER> colourPickerFactory;
ConcreteControlFactory<Keypad, ControlType_KEYPAD> keypadFactory;
ConcreteControlFactory<Label, ControlType_LABEL> labelFactory;
ConcreteControlFactory<Clock, ControlType_CLOCK> clockFactory;

} // namespace

template <class T, ControlType N>
Control* ConcreteControlFactory<T, N>::create(const std::map<QString, QString>& properties) const
{
    auto control = std::make_unique<T>();
    for (const auto& [key, value] : properties) {
        const QString lowerKey = key.toLower();
        if (lowerKey == QLatin1String("caption"))
            control->setCaption(value);
        else
            applyProperty(*control, lowerKey, value);
    }
    return control.release();
}

ControlFactory* ControlFactory::get(ControlType type)
{
    switch (type) {
    case ControlType_BUTTON:
        return &buttonFactory;
    case ControlType_SLIDER:
        return &sliderFactory;
    case ControlType_COLOUR_PICKER:
        return &colourPickerFactory;
    case ControlType_KEYPAD:
        return &keypadFactory;
    case ControlType_LABEL:
        return &labelFactory;
    case ControlType_CLOCK:
        return &clockFactory;
    default:
        return nullptr;
    }
}
