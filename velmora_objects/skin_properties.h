#pragma once

#include "containers/smart_ptr.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <map>

namespace Velmora {

// The definition table of one themed item type: which properties a skin of that type has, with
// caption, default value and, for numbers, range, unit and step. Each table registers itself
// under its item type when it is built; the tables of the item types are built during static
// initialisation and found through getSkinProperties. Iteration is in key order.
class SkinProperties
{
public:
    using PropertyMap = std::map<QString, smart_ptr<SkinProperty>>;
    using const_iterator = PropertyMap::const_iterator;

    // Registers the table; a second table for a registered type is a fatal error.
    explicit SkinProperties(ThemedItemType itemType);
    SkinProperties(const SkinProperties&) = delete;
    SkinProperties& operator=(const SkinProperties&) = delete;
    ~SkinProperties();

    // Takes the property and stores it under its key. When the key is taken the table keeps
    // the first property and deletes the newcomer.
    void add(smart_ptr<SkinProperty> property);

    // The registered table of the type, or null (Page Switcher has none).
    static const SkinProperties* getSkinProperties(ThemedItemType itemType);

    ThemedItemType getItemType() const { return itemType; }
    const PropertyMap& getProperties() const { return properties; }
    const_iterator begin() const { return properties.begin(); }
    const_iterator end() const { return properties.end(); }
    std::size_t size() const { return properties.size(); }
    // The definition of the key, or null.
    const SkinProperty* getProperty(const QString& key) const;

private:
    static std::map<ThemedItemType, const SkinProperties*>& getPropertiesByItemType();

    PropertyMap properties;
    ThemedItemType itemType;
};

} // namespace Velmora
