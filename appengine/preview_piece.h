#pragma once

#include "appengine/preview_control_kinds.h"

// The pieces a page of the preview is built of, in the order they are made: the page item, its
// controls (one kind of piece per row of PreviewControlKinds, in the order of the rows), the
// page switcher shown on it and the switcher's buttons. The page builder measures what each
// kind of piece takes to make; a control type more moves the switcher and its buttons up.
enum PreviewPiece : int
{
    PreviewPiece_NONE = -1,
    PreviewPiece_PAGE = 0,
    PreviewPiece_FIRST_CONTROL = 1,
    PreviewPiece_PAGE_SWITCHER = PreviewPiece_FIRST_CONTROL + PreviewControlKindCount,
    PreviewPiece_BUTTON,
    PreviewPiece_COUNT
};

// The piece of a control of the type. A type the preview does not know (no control of the
// project has one) is taken for the first row's: its cost is only an estimate.
constexpr PreviewPiece previewControlPiece(int controlType)
{
    const int index = previewControlKindIndex(controlType);
    return PreviewPiece(PreviewPiece_FIRST_CONTROL + (index < 0 ? 0 : index));
}
