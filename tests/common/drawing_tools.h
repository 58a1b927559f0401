#pragma once

#include "main/action_manager.h"
#include "velmora_objects/velmora_types.h"

#include <utility>

namespace TestUtil {

// The drawing tools of the tool bar and the kind of control each one draws.
inline constexpr std::pair<ActionManager::ActionId, Velmora::ControlType> DrawingTools[] = {
    {ActionManager::ActionId_ADD_BUTTON, Velmora::ControlType_BUTTON},
    {ActionManager::ActionId_ADD_SLIDER, Velmora::ControlType_SLIDER},
    {ActionManager::ActionId_ADD_COLOUR_PICKER, Velmora::ControlType_COLOUR_PICKER},
    {ActionManager::ActionId_ADD_LABEL, Velmora::ControlType_LABEL},
    {ActionManager::ActionId_ADD_KEYPAD, Velmora::ControlType_KEYPAD},
    {ActionManager::ActionId_ADD_CLOCK, Velmora::ControlType_CLOCK}};

} // namespace TestUtil
