#include "velmora_objects/skin_set.h"

#include "velmora_objects/streamer.h"

#include <cstring>

namespace Velmora {

namespace {

const char* const StartTag = "SkinSet_start";
const char* const EndTag = "SkinSet_end";

// The smallest Skin block: its tags, an empty name, the type, a zero count and a transition.
const quint64 MinimumSkinBytes = std::strlen("Skin_start") + 3 * sizeof(qint32) +
                                 std::strlen("SkinTransition_start") + 2 * sizeof(qint32) +
                                 std::strlen("SkinTransition_end") + std::strlen("Skin_end");

} // namespace

SkinSet::SkinSet(ThemedItemType itemType) : itemType(itemType) {}

SkinSet::SkinSet(const SkinSet& other) : itemType(other.itemType)
{
    for (const auto& [name, skin] : other.skins)
        skins[name] = smart_ptr<Skin>(new Skin(*skin));
}

SkinSet::~SkinSet() = default;

void SkinSet::addSkin(smart_ptr<Skin> skin)
{
    if (!skin)
        return;
    smart_ptr<Skin>& slot = skins[skin->getName()];
    if (slot.get() == skin.get()) {
        // Already stored here: the set keeps its ownership.
        skin.release();
        return;
    }
    slot = skin;
}

Skin* SkinSet::getSkin(const QString& name, bool create)
{
    const auto it = skins.find(name);
    if (it != skins.end())
        return it->second.get();
    if (!create)
        return nullptr;
    Skin* skin = new Skin(itemType, name);
    skins[name] = smart_ptr<Skin>(skin);
    return skin;
}

const Skin* SkinSet::getSkin(const QString& name) const
{
    const auto it = skins.find(name);
    return it == skins.end() ? nullptr : it->second.get();
}

void SkinSet::removeSkin(const QString& name)
{
    skins.erase(name);
}

void SkinSet::renameSkin(const QString& oldName, const QString& newName)
{
    const auto it = skins.find(oldName);
    if (it == skins.end() || oldName == newName)
        return;
    smart_ptr<Skin> skin = it->second;
    skins.erase(it);
    skin->setName(newName);
    skins[newName] = skin;
}

void SkinSet::write(Streamer& streamer) const
{
    streamer.writeTag(StartTag);
    streamer.stream() << qint32(itemType) << qint32(skins.size());
    for (const auto& entry : skins)
        entry.second->write(streamer);
    streamer.writeTag(EndTag);
}

void SkinSet::read(Streamer& streamer)
{
    streamer.expectTag(StartTag);
    qint32 readType = 0;
    quint32 count = 0;
    streamer.stream() >> readType >> count;
    itemType = ThemedItemType(readType);
    streamer.checkCount(count, MinimumSkinBytes);
    for (quint32 i = 0; i < count; ++i) {
        smart_ptr<Skin> skin(new Skin(ThemedItemType(0), QString()));
        skin->read(streamer);
        // In name order, as saved; a name read again replaces the skin read before.
        skins.insert_or_assign(skins.end(), skin->getName(), skin);
    }
    streamer.expectTag(EndTag);
}

} // namespace Velmora
