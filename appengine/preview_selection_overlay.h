#pragma once

#include "appengine/preview_item_handle.h"

#include <QRect>
#include <map>

class QQuickItem;
class SelectionManager;

// The selection as the page preview shows it: the handles of the selected controls and page
// switchers marked with the selection overlay (PreviewItemHandle::setMarked), every other
// handle unmarked, and the union of the selected controls' geometries, kept until an edit
// makes it stale. The selection is read, never changed, and must outlive the overlay.
class PreviewSelectionOverlay
{
public:
    // Items by the ids of their objects in the project.
    using Items = std::map<unsigned int, QQuickItem*>;

    explicit PreviewSelectionOverlay(const SelectionManager& selection) : m_selection(selection) {}

    // Marks the handle of a control or page switcher when the selection holds its object, and
    // unmarks it otherwise; a page's handle is left as it is.
    void mark(PreviewItemHandle& handle) const;
    // mark() for the handle of every item given that has one; the bounding rectangle is stale.
    void markItems(const Items& items, const PreviewItemHandle::Registry& handles);

    // Something selected may have moved or changed size.
    void invalidate() { m_boundingRect = QRect(); }
    // The union of the geometries of the selected controls that have items (null when there is
    // none), measured again when stale or forced.
    QRect boundingRect(bool force, const Items& controlItems);

private:
    const SelectionManager& m_selection;
    // Null means stale.
    QRect m_boundingRect;
};
