#pragma once

// What an item of the preview scene shows, its data 0 (data 1 is the object's id). A kind more
// takes the next number after the last one here; no two kinds share a number, which the
// control kinds' table (preview_control_kinds.h) makes sure of for the kinds it names.
enum PreviewItemKind
{
    PreviewItemKind_NONE = 0,
    PreviewItemKind_PAGE = 1,
    PreviewItemKind_BUTTON = 2,
    PreviewItemKind_SLIDER = 3,
    PreviewItemKind_COLOUR_PICKER = 4,
    PreviewItemKind_KEYPAD = 5,
    PreviewItemKind_PAGE_SWITCHER = 6,
    PreviewItemKind_LABEL = 7,
    PreviewItemKind_CLOCK = 8,
    // The lock page, which is no page of the project (id UINT_MAX).
    PreviewItemKind_LOCK_PAGE = 9
};
