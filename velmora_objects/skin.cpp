#include "velmora_objects/skin.h"

#include "core/prefetch.h"
#include "velmora_objects/streamer.h"

#include <algorithm>
#include <vector>

namespace Velmora {

namespace {

const char* const StartTag = "Skin_start";
const char* const EndTag = "Skin_end";

// Each stored property takes at least its type number.
constexpr quint64 MinimumPropertyBytes = sizeof(qint32);
constexpr quint32 MaximumReservedProperties = 256;
constexpr int PrefetchDistance = 4;

using Entry = std::pair<QString, smart_ptr<SkinProperty>>;

// Sorts the properties read out of key order in among those read in order. Of equal keys the
// one read last wins, as it does in order: the sort is stable and the read order is kept.
void mergeLate(Skin::PropertyMap& properties, std::vector<Entry>& late)
{
    if (late.empty())
        return;
    Skin::PropertyMap::sequence_type sequence = properties.extract_sequence();
    sequence.reserve(sequence.size() + late.size());
    for (Entry& entry : late)
        sequence.emplace_back(std::move(entry.first), entry.second);
    late.clear();
    std::stable_sort(sequence.begin(), sequence.end(), [](const Entry& a, const Entry& b) {
        return Skin::KeyOrder()(a.first, b.first);
    });
    auto kept = sequence.begin();
    for (auto entry = sequence.begin(); entry != sequence.end(); ++entry) {
        const auto next = entry + 1;
        if (next != sequence.end() && !Skin::KeyOrder()(entry->first, next->first))
            continue; // the next one has the same key and was read later
        if (kept != entry)
            *kept = *entry; // takes the property; the earlier one of the key is deleted
        ++kept;
    }
    sequence.erase(kept, sequence.end());
    properties.adopt_sequence(boost::container::ordered_unique_range, std::move(sequence));
}

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
    streamer.stream().readRepeated(name) >> readType >> count;
    itemType = ThemedItemType(readType);
    streamer.checkCount(count, MinimumPropertyBytes);
    // Room for the usual number at once; a larger count claimed by a damaged file grows the
    // array only as its properties are actually read.
    properties.reserve(qMin(count, MaximumReservedProperties));
    // Saved properties come in key order: each goes last at the cost of one comparison, and a
    // key read again replaces the property read before. From the first key out of order (a
    // damaged or foreign file) on, the rest are gathered and sorted in once at the end, so that
    // no order of keys costs more than a sort.
    std::vector<Entry> late;
    try {
        for (quint32 i = 0; i < count; ++i) {
            qint32 type = 0;
            streamer.stream() >> type;
            // An unknown type number has no block to read; the next tag check finds the stream
            // out of step.
            smart_ptr<SkinProperty> property(SkinProperty::create(SkinPropertyType(type)));
            if (!property)
                continue;
            property->read(streamer);
            QString key = property->getKey();
            if (late.empty() &&
                (properties.empty() || !KeyOrder()(key, properties.rbegin()->first)))
                properties.insert_or_assign(properties.end(), std::move(key), property);
            else
                late.emplace_back(std::move(key), property);
        }
    } catch (...) {
        mergeLate(properties, late);
        throw;
    }
    mergeLate(properties, late);
    transition.read(streamer);
    streamer.expectTag(EndTag);
}

} // namespace Velmora
