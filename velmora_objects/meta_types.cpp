#include "velmora_objects/meta_types.h"

#include "core/gradient.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/page.h"
#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/velmora_types.h"

#include <QMetaType>

namespace Velmora {

void registerMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<Gradient>();
        qRegisterMetaType<SkinPropertyKey>();
        qRegisterMetaType<ControlType>();
        qRegisterMetaType<ThemedItemType>();
        qRegisterMetaType<ButtonFunction>();
        qRegisterMetaType<PageTransition>();
        qRegisterMetaType<TextStyle>();
        qRegisterMetaType<Orientation>();
        qRegisterMetaType<Action>();
        qRegisterMetaType<Alignment>();
        qRegisterMetaType<NavigationPosition>();
        qRegisterMetaType<SkinPropertyType>();
        qRegisterMetaType<Scaling>();
        qRegisterMetaType<Button::Actuation>();
        qRegisterMetaType<Slider::Unit>();
        qRegisterMetaType<Clock::ClockType>();
        return true;
    }();
    (void)registered;
}

} // namespace Velmora
