#include "velmora_objects/edit_theme.h"

EditTheme::EditTheme(const Velmora::Theme& theme) : Velmora::Theme(theme) {}

EditTheme::~EditTheme() = default;

Velmora::SkinSet* EditTheme::skinSet(Velmora::ThemedItemType itemType, bool create)
{
    Velmora::SkinSet* set = getSkinSet(itemType);
    if (set || !create)
        return set;
    setSkinSet(smart_ptr<Velmora::SkinSet>(new Velmora::SkinSet(itemType)));
    return getSkinSet(itemType);
}
