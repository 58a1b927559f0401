#include "appengine/preview_piece.h"
#include "velmora_objects/control_factory.h"

#include <gtest/gtest.h>
#include <set>

// Every control type the model makes has a row of its own in the preview: an item kind that the
// page view takes for a control's and a piece of the page builder between the page and the page
// switcher, shared with no other type. A type the factory makes but the preview does not know
// fails here.
TEST(PreviewPiece, EveryControlTypeHasAKindAndAPieceOfItsOwn)
{
    std::set<int> pieces;
    std::set<int> itemKinds;
    for (int type = 0; type < 256; ++type) {
        const PreviewControlKind* kind = previewControlKind(type);
        if (!ControlFactory::get(Velmora::ControlType(type))) {
            EXPECT_FALSE(kind) << "no control of type " << type;
            continue;
        }
        ASSERT_TRUE(kind) << "control type " << type;
        const PreviewPiece piece = previewControlPiece(type);
        EXPECT_TRUE(piece > PreviewPiece_PAGE && piece < PreviewPiece_PAGE_SWITCHER)
            << "control type " << type << ", piece " << piece;
        EXPECT_TRUE(pieces.insert(piece).second) << "control type " << type;
        EXPECT_TRUE(itemKinds.insert(kind->itemKind).second) << "control type " << type;
        EXPECT_TRUE(isPreviewControlItemKind(kind->itemKind)) << "control type " << type;
    }
    EXPECT_FALSE(isPreviewControlItemKind(PreviewItemKind_PAGE_SWITCHER));
}
