#include "appengine/preview_item_handle.h"

#include <QGraphicsScene>
#include <QQuickItem>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The handles of a page's children are put in order once for a batch of children added, and
// never for children removed, however many: removing n controls costs no O(n) ordering each.
TEST(PreviewItemHandle, RemovingChildrenLeavesTheOthersInOrderWithoutReordering)
{
    for (int count : {16, 512}) {
        QGraphicsScene scene;
        auto registry = std::make_shared<PreviewItemHandle::Registry>();
        QQuickItem page;
        auto* pageHandle = new PreviewItemHandle(&page, PreviewItemKind_PAGE, 0, registry);
        scene.addItem(pageHandle);
        std::vector<QQuickItem*> children;
        {
            const PreviewItemHandle::StackingBatch batch(pageHandle);
            for (int i = 0; i < count; ++i) {
                auto* child = new QQuickItem;
                child->setParent(&page);
                // Every fourth one under the others, as an item of a lower z paints.
                child->setZ(i % 4 == 0 ? -1 : 0);
                child->setParentItem(&page);
                new PreviewItemHandle(child, PreviewItemKind_LABEL, unsigned(i), registry);
                children.push_back(child);
            }
        }
        EXPECT_EQ(pageHandle->restackCount(), 1) << count << " children added";

        for (int i = 1; i < count; i += 2)
            delete children[std::size_t(i)];
        EXPECT_EQ(pageHandle->restackCount(), 1) << count / 2 << " children removed";
        std::vector<unsigned int> expected;
        for (int z : {-1, 0})
            for (int i = 0; i < count; i += 2)
                if ((i % 4 == 0 ? -1 : 0) == z)
                    expected.push_back(unsigned(i));
        std::vector<unsigned int> stacked;
        for (const QGraphicsItem* handle : pageHandle->childItems())
            stacked.push_back(handle->data(1).toUInt());
        EXPECT_EQ(stacked, expected) << count << " children, bottom first";
    }
}
