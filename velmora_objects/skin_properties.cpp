#include "velmora_objects/skin_properties.h"

#include "core/assertion.h"
#include "velmora_objects/skin_property_tables.h"

namespace Velmora {

std::map<ThemedItemType, const SkinProperties*>& SkinProperties::getPropertiesByItemType()
{
    // Built on first use, so that tables built during static initialisation find it whatever
    // the order of initialisation.
    static std::map<ThemedItemType, const SkinProperties*> propertiesByItemType;
    return propertiesByItemType;
}

SkinProperties::SkinProperties(ThemedItemType itemType) : itemType(itemType)
{
    auto& lookup = getPropertiesByItemType();
    const auto iElements = lookup.lower_bound(itemType);
    if (iElements != lookup.end() && iElements->first == itemType)
        VELMORA_ASSERT(iElements == lookup.end());
    lookup.emplace_hint(iElements, itemType, this);
}

SkinProperties::~SkinProperties()
{
    // A table that goes away leaves no dangling entry behind.
    auto& lookup = getPropertiesByItemType();
    const auto entry = lookup.find(itemType);
    if (entry != lookup.end() && entry->second == this)
        lookup.erase(entry);
}

void SkinProperties::add(smart_ptr<SkinProperty> property)
{
    if (!property)
        return;
    const QString key = property->getKey();
    properties.emplace(key, property); // a taken key: the newcomer dies with the argument
}

const SkinProperties* SkinProperties::getSkinProperties(ThemedItemType itemType)
{
    // Referring to the tables here keeps them in every program that looks them up.
    ensureSkinPropertyTables();
    const auto& lookup = getPropertiesByItemType();
    const auto entry = lookup.lower_bound(itemType);
    return entry != lookup.end() && entry->first == itemType ? entry->second : nullptr;
}

const SkinProperty* SkinProperties::getProperty(const QString& key) const
{
    const auto entry = properties.find(key);
    return entry != properties.end() ? entry->second.get() : nullptr;
}

} // namespace Velmora
