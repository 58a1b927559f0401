#pragma once

#include <QMetaType>
#include <QString>

namespace Velmora {

class Streamer;

// Names one skin property of one item type across skins: the key of a theme's skin-image
// references and an item-model value of the theme editor. Ordered by item type (as signed
// integers), then by name (UTF-16 code-unit order).
struct SkinPropertyKey
{
    SkinPropertyKey() = default;
    SkinPropertyKey(int itemType, const QString& name) : itemType(itemType), name(name) {}

    // The key's block in the project stream; read raises the stream's std::runtime_error on a
    // broken block.
    void read(Streamer& stream);
    void write(Streamer& stream) const;

    int itemType = 0; // a ThemedItemType
    QString name;
};

bool operator<(const SkinPropertyKey& a, const SkinPropertyKey& b);
bool operator==(const SkinPropertyKey& a, const SkinPropertyKey& b);
inline bool operator!=(const SkinPropertyKey& a, const SkinPropertyKey& b)
{
    return !(a == b);
}

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::SkinPropertyKey)
