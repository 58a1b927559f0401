#pragma once

#include "velmora_objects/skin_properties.h"

namespace Velmora {

// The definition tables of the six item types that have skins. Each adds its rows in a fixed
// order and registers itself under its item type; one of each is built during static
// initialisation. The control classes know them by their nested names
// (Button::ButtonSkinProperties and so on).
class ButtonSkinProperties : public SkinProperties
{
public:
    ButtonSkinProperties();
};

class SliderSkinProperties : public SkinProperties
{
public:
    SliderSkinProperties();
};

class ColourPickerSkinProperties : public SkinProperties
{
public:
    ColourPickerSkinProperties();
};

class KeypadSkinProperties : public SkinProperties
{
public:
    KeypadSkinProperties();
};

class LabelSkinProperties : public SkinProperties
{
public:
    LabelSkinProperties();
};

class ClockSkinProperties : public SkinProperties
{
public:
    ClockSkinProperties();
};

// Builds and registers the six tables once; later calls do nothing. Lookups call it, so the
// tables are present in every program that uses them.
void ensureSkinPropertyTables();

} // namespace Velmora
