#include "velmora_objects/skin_property_key.h"

#include "velmora_objects/streamer.h"

namespace Velmora {

void SkinPropertyKey::read(Streamer& stream)
{
    stream.expectTag("SkinPropertyKey_start");
    qint32 type = 0;
    stream.stream() >> type;
    itemType = type;
    stream.stream() >> name;
    stream.expectTag("SkinPropertyKey_end");
}

void SkinPropertyKey::write(Streamer& stream) const
{
    stream.writeTag("SkinPropertyKey_start");
    stream.stream() << qint32(itemType) << name;
    stream.writeTag("SkinPropertyKey_end");
}

bool operator<(const SkinPropertyKey& a, const SkinPropertyKey& b)
{
    if (a.itemType != b.itemType)
        return a.itemType < b.itemType;
    return a.name < b.name;
}

bool operator==(const SkinPropertyKey& a, const SkinPropertyKey& b)
{
    return a.itemType == b.itemType && a.name == b.name;
}

} // namespace Velmora
