#include "velmora_objects/skin.h"

#include "core/prefetch.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

namespace {

const char* const StartTag = "Skin_start";
const char* const EndTag = "Skin_end";

// Each stored property takes at least its type number.
constexpr quint64 MinimumPropertyBytes = sizeof(qint32);
constexpr quint32 MaximumReservedProperties = 256;
constexpr int PrefetchDistance = 4;

} // namespace

Skin::Skin(ThemedItemType itemType, const QString& name) : name(name), itemType(itemType) {}

Skin::Skin(const Skin& other)
    : name(other.name), itemType(other.itemType), transition(other.transition)
{
    for (const auto& [key, property] : other.properties) {
        smart_ptr<SkinProperty> copy(SkinProperty::create(property->getType()));
        copy->copyFrom(*property);
        properties[key] = copy;
    }
}

Skin::~Skin() = default;

bool Skin::hasProperty(const QString& key) const
{
    return properties.find(key) != properties.end();
}

const SkinProperty* Skin::getProperty(const QString& key) const
{
    const auto it = properties.find(key);
    return it == properties.end() ? nullptr : it->second.get();
}

int Skin::getPropertyType(const QString& key) const
{
    const SkinProperty* property = getProperty(key);
    return property ? int(property->getType()) : 0;
}

QVariant Skin::getPropertyValue(const QString& key) const
{
    const SkinProperty* property = getProperty(key);
    return property ? property->getValue() : QVariant();
}

void Skin::setPropertyValue(const QString& key, const QVariant& value)
{
    const auto it = properties.find(key);
    if (it == properties.end())
        return;
    if (value.isValid())
        it->second->setValue(value);
    else
        properties.erase(it);
}

SkinProperty* Skin::setProperty(smart_ptr<SkinProperty> property)
{
    if (!property)
        return nullptr;
    const QString key = property->getKey();
    const auto it = properties.find(key);
    if (it == properties.end()) {
        SkinProperty* stored = property.get();
        properties[key] = property;
        return stored;
    }
    SkinProperty* held = it->second.get();
    if (held->getCaption() != property->getCaption() || held->getType() != property->getType())
        return nullptr;
    held->setValue(property->getValue());
    return held;
}

void Skin::removeProperty(const QString& key)
{
    properties.erase(key);
}

void Skin::write(Streamer& streamer) const
{
    streamer.writeTag(StartTag);
    streamer.stream() << name << qint32(itemType) << qint32(properties.size());
    for (auto entry = properties.begin(); entry != properties.end(); ++entry) {
        // The properties lie apart in memory: the one a few places on is fetched into the cache
        // while this one is written.
        if (properties.end() - entry > PrefetchDistance)
            prefetchObject<128>(entry[PrefetchDistance].second.get());
        const SkinProperty& property = *entry->second;
        streamer.stream() << qint32(property.getType());
        property.write(streamer);
    }
    transition.write(streamer);
    streamer.writeTag(EndTag);
}

void Skin::read(Streamer& streamer)
{
    streamer.expectTag(StartTag);
    qint32 readType = 0;
    quint32 count = 0;
    streamer.stream() >> name >> readType >> count;
    itemType = ThemedItemType(readType);
    streamer.checkCount(count, MinimumPropertyBytes);
    // Room for the usual number at once; a larger count claimed by a damaged file grows the
    // array only as its properties are actually read.
    properties.reserve(qMin(count, MaximumReservedProperties));
    for (quint32 i = 0; i < count; ++i) {
        qint32 type = 0;
        streamer.stream() >> type;
        // An unknown type number has no block to read; the next tag check finds the stream
        // out of step.
        smart_ptr<SkinProperty> property(SkinProperty::create(SkinPropertyType(type)));
        if (!property)
            continue;
        property->read(streamer);
        // Saved properties come in key order: each goes last at the cost of one comparison.
        // A key read again replaces the property read before.
        properties.insert_or_assign(properties.end(), streamer.stream().copyOf(property->getKey()),
                                    property);
    }
    transition.read(streamer);
    streamer.expectTag(EndTag);
}

} // namespace Velmora
