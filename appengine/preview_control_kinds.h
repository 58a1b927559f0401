#pragma once

#include "appengine/preview_item_kind.h"
#include "velmora_objects/velmora_types.h"

#include <iterator>

// What the page preview knows of each control type: the kind of item that shows it (data 0 of
// its handle in the scene) and what its built item takes, in KiB (the heap of a Release build,
// the same at any size). The one list of control types in the preview: the pieces a page is
// built of (PreviewPiece), the weight of a built page (PreviewPageSet) and the page view's test
// for a control's item all follow from it, so that a new control type is a row more here.
struct PreviewControlKind
{
    Velmora::ControlType controlType;
    PreviewItemKind itemKind;
    int weightKiB;
};

inline constexpr PreviewControlKind PreviewControlKinds[] = {
    {Velmora::ControlType_BUTTON, PreviewItemKind_BUTTON, 35},
    {Velmora::ControlType_SLIDER, PreviewItemKind_SLIDER, 52},
    {Velmora::ControlType_COLOUR_PICKER, PreviewItemKind_COLOUR_PICKER, 22},
    {Velmora::ControlType_KEYPAD, PreviewItemKind_KEYPAD, 40},
    {Velmora::ControlType_LABEL, PreviewItemKind_LABEL, 18},
    {Velmora::ControlType_CLOCK, PreviewItemKind_CLOCK, 31},
};

inline constexpr int PreviewControlKindCount = int(std::size(PreviewControlKinds));

// Whether the table's item kinds are all different, and none of them is a kind that shows no
// control: an item whose kind a control kind shared would be taken for the other's (a control's
// item for the lock page, which cannot be picked).
constexpr bool previewControlItemKindsAreDistinct()
{
    constexpr PreviewItemKind others[] = {PreviewItemKind_NONE, PreviewItemKind_PAGE,
                                          PreviewItemKind_PAGE_SWITCHER, PreviewItemKind_LOCK_PAGE};
    for (int i = 0; i < PreviewControlKindCount; ++i) {
        for (PreviewItemKind other : others)
            if (PreviewControlKinds[i].itemKind == other)
                return false;
        for (int j = 0; j < i; ++j)
            if (PreviewControlKinds[j].itemKind == PreviewControlKinds[i].itemKind)
                return false;
    }
    return true;
}
static_assert(previewControlItemKindsAreDistinct(),
              "a control kind shares its PreviewItemKind: give it the next free number");

// The row of the control type in PreviewControlKinds; -1 for a type the preview does not know.
constexpr int previewControlKindIndex(int controlType)
{
    for (int i = 0; i < PreviewControlKindCount; ++i)
        if (PreviewControlKinds[i].controlType == controlType)
            return i;
    return -1;
}

// The row of the control type; null for a type the preview does not know.
constexpr const PreviewControlKind* previewControlKind(int controlType)
{
    const int index = previewControlKindIndex(controlType);
    return index < 0 ? nullptr : &PreviewControlKinds[index];
}

// Whether items of the kind (a PreviewItemKind) show controls.
constexpr bool isPreviewControlItemKind(int itemKind)
{
    for (const PreviewControlKind& kind : PreviewControlKinds)
        if (kind.itemKind == itemKind)
            return true;
    return false;
}
