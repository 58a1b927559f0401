#pragma once

#include "velmora_objects/theme.h"

// The theme editor's editable theme: a complete, independent copy of a theme on which the
// editor's commands work. The theme bundle writer also makes one as its private working copy,
// which it prunes without touching the caller's theme.
class EditTheme : public Velmora::Theme
{
public:
    // A deep copy of the theme, its name included.
    explicit EditTheme(const Velmora::Theme& theme);
    EditTheme(const EditTheme&) = delete;
    EditTheme& operator=(const EditTheme&) = delete;
    ~EditTheme() override;

    // The skin set of the item type. When the theme has none: null, or with create a new,
    // empty set of that type, stored in the theme (which owns it) and returned.
    Velmora::SkinSet* skinSet(Velmora::ThemedItemType itemType, bool create);
};
