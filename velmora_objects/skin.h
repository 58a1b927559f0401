#pragma once

#include "containers/smart_ptr.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_transition.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <QVariant>
#include <boost/container/flat_map.hpp>
#include <cstring>

namespace Velmora {

class Streamer;

// One named look of a themed item type (a "state" in the theme editor): values for the
// properties of the type's definition table, and the transition by which the preview animates
// a control into this look. A skin may hold fewer properties than the table defines; it owns
// the ones it holds, each stored under its own key.
class Skin
{
public:
    // The order of QString's operator<, decided inline where the first differing units are
    // not surrogates (where every string order agrees) and by that operator otherwise. A
    // theme's skins hold hundreds of properties, and reading one costs three comparisons.
    struct KeyOrder
    {
        bool operator()(const QString& a, const QString& b) const
        {
            const QChar* p = a.constData();
            const QChar* q = b.constData();
            const qsizetype common = qMin(a.size(), b.size());
            // Keys share long prefixes ("colour1", "colour10"): skip equal runs four characters
            // at a time before looking at single ones.
            qsizetype i = 0;
            for (; i + 4 <= common; i += 4) {
                quint64 x, y;
                std::memcpy(&x, p + i, sizeof x);
                std::memcpy(&y, q + i, sizeof y);
                if (x != y)
                    break;
            }
            for (; i < common; ++i) {
                const char16_t x = p[i].unicode(), y = q[i].unicode();
                if (x == y)
                    continue;
                if (QChar::isSurrogate(x) || QChar::isSurrogate(y))
                    return a < b;
                return x < y;
            }
            return a.size() < b.size();
        }
    };
    // A sorted array: a skin holds a few dozen properties, read in key order and written in
    // key order, so each goes last when read and the save walks them without chasing links.
    using PropertyMap = boost::container::flat_map<QString, smart_ptr<SkinProperty>, KeyOrder>;
    using const_iterator = PropertyMap::const_iterator;

    // No properties and the default transition.
    Skin(ThemedItemType itemType, const QString& name);
    // A deep copy: name, type, transition and a new copy of every property.
    Skin(const Skin& other);
    Skin& operator=(const Skin&) = delete;
    ~Skin();

    const QString& getName() const { return name; }
    // The skin set stores a skin under its name: rename a stored skin through its set.
    void setName(const QString& newName) { name = newName; }
    ThemedItemType getItemType() const { return itemType; }
    const SkinTransition& getTransition() const { return transition; }
    SkinTransition& getTransition() { return transition; }

    // The properties in key order.
    const PropertyMap& getProperties() const { return properties; }
    const_iterator begin() const { return properties.begin(); }
    const_iterator end() const { return properties.end(); }
    std::size_t size() const { return properties.size(); }

    bool hasProperty(const QString& key) const;
    // The held property of the key, or null.
    const SkinProperty* getProperty(const QString& key) const;
    // The held property's type number; 0 when the key is absent.
    int getPropertyType(const QString& key) const;
    // A copy of the held property's value; an invalid QVariant when the key is absent.
    QVariant getPropertyValue(const QString& key) const;
    // Replaces the value of a held property, without checking type or bounds; an invalid value
    // removes the property. Nothing happens for a key that is absent.
    void setPropertyValue(const QString& key, const QVariant& value);
    // Offers a property. A new key is stored and the property returned. A held property of the
    // same key, caption and type takes the offered value; the offered one is deleted and the
    // held one returned. On a clash of caption or type the offered property is deleted,
    // nothing changes and the result is null.
    SkinProperty* setProperty(smart_ptr<SkinProperty> property);
    // Removes and deletes the property of the key, if held.
    void removeProperty(const QString& key);

    // The skin's block in the project stream: "Skin_start", name, item type, the number of
    // properties, each property as its type number and its own block in key order, the
    // transition and "Skin_end". read expects a fresh skin and raises the stream's
    // std::runtime_error on a broken block.
    void read(Streamer& streamer);
    void write(Streamer& streamer) const;

private:
    QString name;
    ThemedItemType itemType;
    PropertyMap properties;
    SkinTransition transition;
};

} // namespace Velmora
