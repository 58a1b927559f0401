#pragma once

namespace Velmora {

// Registers, once per process, the value types that travel in QVariants between subsystems:
// Gradient, Velmora::SkinPropertyKey, the shared enumerations and the enumerations of the
// property editor's rows (Velmora::Scaling, Velmora::Button::Actuation, Velmora::Slider::Unit,
// Velmora::Clock::ClockType), so that they are also known by name (QMetaType::fromName). Call it at
// start-up before anything looks a type up by name; further calls do nothing.
void registerMetaTypes();

} // namespace Velmora
