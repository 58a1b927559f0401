#include "appengine/preview_selection_overlay.h"

#include "appengine/control_gestures.h"
#include "appengine/preview_control_kinds.h"
#include "appengine/selection_manager.h"

void PreviewSelectionOverlay::mark(PreviewItemHandle& handle) const
{
    if (handle.kind() == PreviewItemKind_PAGE_SWITCHER)
        handle.setMarked(m_selection.isPageSwitcherSelected(handle.id()));
    else if (isPreviewControlItemKind(handle.kind()))
        handle.setMarked(m_selection.isControlSelected(handle.id()));
}

void PreviewSelectionOverlay::markItems(const Items& items,
                                        const PreviewItemHandle::Registry& handles)
{
    for (const auto& entry : items) {
        // A page switcher whose QML failed keeps a null entry.
        const auto found =
            entry.second ? handles.handles.find(entry.second) : handles.handles.end();
        if (found != handles.handles.end())
            mark(*found->second);
    }
    invalidate();
}

QRect PreviewSelectionOverlay::boundingRect(bool force, const Items& controlItems)
{
    if (!force && !m_boundingRect.isNull())
        return m_boundingRect;
    m_boundingRect = QRect();
    if (m_selection.kind() == SelectionManager::SelectionKind_CONTROLS)
        for (unsigned int controlId : m_selection.selectedIds()) {
            const auto found = controlItems.find(controlId);
            if (found != controlItems.end())
                m_boundingRect |= ControlGestures::geometryOf(found->second);
        }
    return m_boundingRect;
}
