#pragma once

#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <boost/bimap.hpp>
#include <boost/bimap/set_of.hpp>

class Property;
class PropertyGroup;
class ThemeSkinImageModel;

namespace Velmora {
class SkinProperty;
} // namespace Velmora

// The rows of the theme editor's two property sheets: which item types the sheets list and in
// what order, the rows of every item type's default properties, the editor row of a skin
// property, and the map between row keys and rows.

// Row keys to editor rows and back; both sides are unique.
using ThemePropertyMap =
    boost::bimap<boost::bimaps::set_of<Velmora::SkinPropertyKey>, boost::bimaps::set_of<Property*>>;

// The item types in the order the item type box and the default sheet list them.
inline constexpr Velmora::ThemedItemType ThemeItemTypeOrder[] = {
    Velmora::ThemedItemType_BUTTON,        Velmora::ThemedItemType_SLIDER,
    Velmora::ThemedItemType_COLOUR_PICKER, Velmora::ThemedItemType_PAGE_SWITCHER,
    Velmora::ThemedItemType_KEYPAD,        Velmora::ThemedItemType_LABEL,
    Velmora::ThemedItemType_CLOCK};

// The item types that have skins, in the order of the skin sheet's groups.
inline constexpr Velmora::ThemedItemType ThemeSkinnedTypeOrder[] = {
    Velmora::ThemedItemType_BUTTON,        Velmora::ThemedItemType_SLIDER,
    Velmora::ThemedItemType_COLOUR_PICKER, Velmora::ThemedItemType_KEYPAD,
    Velmora::ThemedItemType_LABEL,         Velmora::ThemedItemType_CLOCK};

// The item type's name as the sheets and the item type box show it.
QString themeItemTypeName(Velmora::ThemedItemType type);

// Adds the default-property rows of the item type to its group, each registered under
// (type, key) in the map.
void createDefaultPropertyRows(Velmora::ThemedItemType type, PropertyGroup& group,
                               ThemePropertyMap& map);

// The editor row of one skin-property definition; null for a type no editor handles.
Property* createSkinPropertyRow(const Velmora::SkinProperty& definition,
                                Velmora::ThemedItemType type, PropertyGroup* group,
                                ThemeSkinImageModel* skinImages);

// The row of the key; null when there is none.
Property* findPropertyRow(const ThemePropertyMap& map, const Velmora::SkinPropertyKey& key);
// The key of the row; false when the row is not in the map.
bool findPropertyKey(const ThemePropertyMap& map, const Property* row,
                     Velmora::SkinPropertyKey* key);
