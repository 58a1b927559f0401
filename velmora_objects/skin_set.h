#pragma once

#include "containers/smart_ptr.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <map>

namespace Velmora {

class Streamer;

// All skins of one themed item type, owned and stored under their names.
class SkinSet
{
public:
    using SkinMap = std::map<QString, smart_ptr<Skin>>;
    using const_iterator = SkinMap::const_iterator;

    // An empty set. The stream reader passes 0; the block it reads sets the type.
    explicit SkinSet(ThemedItemType itemType);
    // A deep copy: the type and a new copy of every skin.
    SkinSet(const SkinSet& other);
    SkinSet& operator=(const SkinSet&) = delete;
    ~SkinSet();

    ThemedItemType getItemType() const { return itemType; }
    // For readers that learn the type only after making the set. Skins already held keep
    // their own type.
    void setItemType(ThemedItemType type) { itemType = type; }

    // The skins in name order.
    const SkinMap& getSkins() const { return skins; }
    const_iterator begin() const { return skins.begin(); }
    const_iterator end() const { return skins.end(); }
    std::size_t size() const { return skins.size(); }

    // Takes the skin and stores it under its name; a different skin stored under that name is
    // deleted. Adding the skin that is stored already changes nothing.
    void addSkin(smart_ptr<Skin> skin);
    // The skin of the name. When it is absent: with create, a new skin of the set's type with
    // that name (no properties, default transition) is stored and returned; otherwise null.
    Skin* getSkin(const QString& name, bool create);
    const Skin* getSkin(const QString& name) const;
    // Removes and deletes the skin of the name, if any.
    void removeSkin(const QString& name);
    // Gives the skin called oldName the name newName and stores it under that name; a
    // different skin stored under newName is deleted. Nothing happens when no skin is called
    // oldName.
    void renameSkin(const QString& oldName, const QString& newName);

    // The set's block in the project stream: "SkinSet_start", the item type, the number of
    // skins, the skins in name order and "SkinSet_end". read raises the stream's
    // std::runtime_error on a broken block.
    void read(Streamer& streamer);
    void write(Streamer& streamer) const;

private:
    ThemedItemType itemType;
    SkinMap skins;
};

} // namespace Velmora
