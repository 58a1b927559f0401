#pragma once

#include <QMetaType>

// Enumerations shared by the project model, the themes, the preview and the windows. Their
// numbers are stored in project files, theme XML and QML text, so they never change.
// Each has int as its fixed underlying type, so any int converts to it. A file keeps the values
// it stores, also those no editor gives, and every user of a value copes with one it does not
// know; only where such a value cannot be used at all does the reader put the default in its
// place (knownOr). An edit is checked with isKnown (one overload per enumeration, beside it)
// and refused for a value the enumeration does not name.
namespace Velmora {

enum ControlType : int
{
    ControlType_BUTTON = 1,
    ControlType_SLIDER = 2,
    ControlType_COLOUR_PICKER = 3,
    ControlType_KEYPAD = 4,
    ControlType_LABEL = 5,
    ControlType_CLOCK = 6
};

// Item types that take skins and defaults from a theme (Label and Clock are numbered
// differently from ControlType).
enum ThemedItemType : int
{
    ThemedItemType_BUTTON = 1,
    ThemedItemType_SLIDER = 2,
    ThemedItemType_COLOUR_PICKER = 3,
    ThemedItemType_KEYPAD = 4,
    ThemedItemType_PAGE_SWITCHER = 5,
    ThemedItemType_LABEL = 6,
    ThemedItemType_CLOCK = 7
};

// The item type whose skins and defaults a control of that type takes; 0 for none.
constexpr ThemedItemType themedItemTypeOf(ControlType type)
{
    switch (type) {
    case ControlType_BUTTON:
        return ThemedItemType_BUTTON;
    case ControlType_SLIDER:
        return ThemedItemType_SLIDER;
    case ControlType_COLOUR_PICKER:
        return ThemedItemType_COLOUR_PICKER;
    case ControlType_KEYPAD:
        return ThemedItemType_KEYPAD;
    case ControlType_LABEL:
        return ThemedItemType_LABEL;
    case ControlType_CLOCK:
        return ThemedItemType_CLOCK;
    }
    return ThemedItemType(0);
}

enum ButtonFunction : int
{
    ButtonFunction_NONE = 0,
    ButtonFunction_NEXT_PAGE = 1,
    ButtonFunction_PREVIOUS_PAGE = 2,
    ButtonFunction_GO_TO_PAGE = 3,
    ButtonFunction_INCREASE_BRIGHTNESS = 4,
    ButtonFunction_DECREASE_BRIGHTNESS = 5,
    ButtonFunction_SET_BRIGHTNESS = 6,
    ButtonFunction_BACK = 7,
    ButtonFunction_LOCK = 8
};

enum PageTransition : int
{
    PageTransition_NONE = 0,
    PageTransition_PAN_LEFT = 1,
    PageTransition_PAN_RIGHT = 2
};

enum TextStyle : int
{
    TextStyle_NORMAL = 0,
    TextStyle_OUTLINE = 1,
    TextStyle_RAISED = 2,
    TextStyle_SUNKEN = 3
};

// 0 stands for "any" where templates, page-background images and image filters allow it.
enum Orientation : int
{
    Orientation_ANY = 0,
    Orientation_LANDSCAPE = 1,
    Orientation_PORTRAIT = 2
};

// The IR action kinds; a control keeps one IR slot per action kind.
enum Action : int
{
    NoAction = 0,
    Action_CLICK = 1,
    Action_INCREMENT = 2,
    Action_DECREMENT = 3
};

enum Alignment : int
{
    Alignment_START = 0,
    Alignment_END = 1,
    Alignment_CENTER = 2,
    Alignment_SPREAD = 3
};

// Where a page's navigation bar sits.
enum NavigationPosition : int
{
    NavigationPosition_TOP = 1,
    NavigationPosition_RIGHT = 2,
    NavigationPosition_BOTTOM = 3,
    NavigationPosition_LEFT = 4
};

enum SkinPropertyType : int
{
    SkinPropertyType_INT = 1,
    SkinPropertyType_DOUBLE = 2,
    SkinPropertyType_BOOL = 3,
    SkinPropertyType_STRING = 4,
    SkinPropertyType_COLOUR = 5,
    SkinPropertyType_IMAGE = 6
};

// An IR slot is a byte; this value means unassigned.
constexpr unsigned char NoIRSlot = 255;

// Whether the value is one the enumeration names.
constexpr bool isKnown(ButtonFunction function)
{
    return function >= ButtonFunction_NONE && function <= ButtonFunction_LOCK;
}
constexpr bool isKnown(PageTransition transition)
{
    return transition >= PageTransition_NONE && transition <= PageTransition_PAN_RIGHT;
}
constexpr bool isKnown(TextStyle style)
{
    return style >= TextStyle_NORMAL && style <= TextStyle_SUNKEN;
}
constexpr bool isKnown(Alignment alignment)
{
    return alignment >= Alignment_START && alignment <= Alignment_SPREAD;
}
constexpr bool isKnown(NavigationPosition position)
{
    return position >= NavigationPosition_TOP && position <= NavigationPosition_LEFT;
}

// The value when the enumeration names it, else the fallback.
template <class E> constexpr E knownOr(E value, E fallback)
{
    return isKnown(value) ? value : fallback;
}

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::ControlType)
Q_DECLARE_METATYPE(Velmora::ThemedItemType)
Q_DECLARE_METATYPE(Velmora::ButtonFunction)
Q_DECLARE_METATYPE(Velmora::PageTransition)
Q_DECLARE_METATYPE(Velmora::TextStyle)
Q_DECLARE_METATYPE(Velmora::Orientation)
Q_DECLARE_METATYPE(Velmora::Action)
Q_DECLARE_METATYPE(Velmora::Alignment)
Q_DECLARE_METATYPE(Velmora::NavigationPosition)
Q_DECLARE_METATYPE(Velmora::SkinPropertyType)
