#include "main/page_switcher_commands.h"

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "core/assertion.h"
#include "main/velmora_document.h"

#include <climits>

using namespace Velmora;

namespace {

void sendUsageChanged(unsigned int pageSwitcherId)
{
    PageSwitcherUsageChangedEvent event(pageSwitcherId);
    sendDocumentEvent(event);
}

void sendRemoved(unsigned int pageSwitcherId)
{
    PageSwitcherRemovedEvent event(pageSwitcherId);
    sendDocumentEvent(event);
}

// Takes a switcher that has just lost its last page out of the selection and the project.
smart_ptr<PageSwitcher> takeOut(VelmoraDocument& document, unsigned int pageSwitcherId)
{
    document.selection().selectPageSwitcher(pageSwitcherId, false);
    smart_ptr<PageSwitcher> taken = document.removePageSwitcher(pageSwitcherId);
    sendRemoved(pageSwitcherId);
    return taken;
}

unsigned int shownSwitcher(const VelmoraDocument& document, unsigned int pageId)
{
    const unsigned int pageSwitcherId = document.pageSwitcherOfPage(pageId);
    VELMORA_ASSERT(pageSwitcherId != UINT_MAX);
    return pageSwitcherId;
}

// The preview bar of the switcher is built again and the page's thumbnail marked.
void refresh(VelmoraDocument& document, unsigned int pageSwitcherId, unsigned int pageId)
{
    document.previewScene()->removePageSwitcherItem(pageSwitcherId);
    document.invalidatePageThumbnail(pageId);
}

} // namespace

CreatePageSwitcherCommand::CreatePageSwitcherCommand(SharedData<unsigned int> pageSwitcherId,
                                                     unsigned int position, unsigned int alignment,
                                                     const std::vector<unsigned int>& pages,
                                                     VelmoraDocument& document,
                                                     QUndoCommand* parent)
    : VelmoraCommand(CommandId_CREATE_PAGE_SWITCHER, document, parent),
      m_pageSwitcherId(pageSwitcherId), m_position(position), m_alignment(alignment), m_pages(pages)
{
}

CreatePageSwitcherCommand::~CreatePageSwitcherCommand() = default;

void CreatePageSwitcherCommand::redo()
{
    VelmoraDocument& doc = document();
    if (m_saved) {
        doc.restorePageSwitcher(m_saved, *m_pageSwitcherId);
    } else {
        // Written into the shared value itself: the rest of the group shows this switcher.
        *m_pageSwitcherId = doc.addPageSwitcher(int(m_position), int(m_alignment), m_pages);
        if (*m_pageSwitcherId == UINT_MAX)
            return;
    }
    sendUsageChanged(*m_pageSwitcherId);
}

void CreatePageSwitcherCommand::undo()
{
    if (*m_pageSwitcherId != UINT_MAX)
        m_saved = takeOut(document(), *m_pageSwitcherId);
}

RemovePageSwitcherCommand::RemovePageSwitcherCommand(unsigned int pageId, VelmoraDocument& document,
                                                     QUndoCommand* parent)
    : VelmoraCommand(CommandId_REMOVE_PAGE_SWITCHER, document, parent), m_pageId(pageId),
      m_pageSwitcherId(shownSwitcher(document, pageId))
{
}

RemovePageSwitcherCommand::~RemovePageSwitcherCommand() = default;

void RemovePageSwitcherCommand::redo()
{
    VelmoraDocument& doc = document();
    doc.selection().selectPageSwitcher(m_pageSwitcherId, false);
    doc.getPage(m_pageId).setPageSwitcherId(UINT_MAX);
    const int usage = doc.getPageSwitcher(m_pageSwitcherId).decrementUsage();
    sendUsageChanged(m_pageSwitcherId);
    if (usage == 0)
        m_saved = takeOut(doc, m_pageSwitcherId);
    refresh(doc, m_pageSwitcherId, m_pageId);
}

void RemovePageSwitcherCommand::undo()
{
    VelmoraDocument& doc = document();
    if (m_saved)
        doc.restorePageSwitcher(m_saved, m_pageSwitcherId);
    doc.getPage(m_pageId).setPageSwitcherId(m_pageSwitcherId);
    doc.getPageSwitcher(m_pageSwitcherId).incrementUsage();
    sendUsageChanged(m_pageSwitcherId);
    refresh(doc, m_pageSwitcherId, m_pageId);
}

SetPageSwitcherOnPageCommand::SetPageSwitcherOnPageCommand(unsigned int pageId,
                                                           SharedData<unsigned int> pageSwitcherId,
                                                           VelmoraDocument& document,
                                                           QUndoCommand* parent)
    : VelmoraCommand(CommandId_SET_PAGE_SWITCHER_ON_PAGE, document, parent), m_pageId(pageId),
      m_pageSwitcherId(pageSwitcherId)
{
}

SetPageSwitcherOnPageCommand::~SetPageSwitcherOnPageCommand() = default;

void SetPageSwitcherOnPageCommand::redo()
{
    VelmoraDocument& doc = document();
    Page& page = doc.getPage(m_pageId);
    const unsigned int previous = page.getPageSwitcherId();
    const unsigned int shown = *m_pageSwitcherId;
    if (previous != shown) {
        if (previous != UINT_MAX) {
            const int usage = doc.getPageSwitcher(previous).decrementUsage();
            sendUsageChanged(previous);
            if (usage == 0)
                m_saved = takeOut(doc, previous);
        }
        page.setPageSwitcherId(shown);
        if (shown != UINT_MAX) {
            doc.getPageSwitcher(shown).incrementUsage();
            sendUsageChanged(shown);
        }
        refresh(doc, shown, m_pageId);
    }
    // From here on the value is this command's own: the one to show again on undo.
    if (m_pageSwitcherId.useCount() != 1)
        m_pageSwitcherId.detach();
    *m_pageSwitcherId = previous;
}

void SetPageSwitcherOnPageCommand::undo()
{
    VelmoraDocument& doc = document();
    Page& page = doc.getPage(m_pageId);
    const unsigned int current = page.getPageSwitcherId();
    const unsigned int held = *m_pageSwitcherId;
    if (current != held) {
        // A switcher left without pages stays: in a create group the create command's undo,
        // which runs next, takes it out.
        if (current != UINT_MAX) {
            doc.getPageSwitcher(current).decrementUsage();
            sendUsageChanged(current);
        }
        if (m_saved)
            doc.restorePageSwitcher(m_saved, held);
        page.setPageSwitcherId(held);
        if (held != UINT_MAX) {
            doc.getPageSwitcher(held).incrementUsage();
            sendUsageChanged(held);
        }
        refresh(doc, held, m_pageId);
    }
    if (m_pageSwitcherId.useCount() != 1)
        m_pageSwitcherId.detach();
    *m_pageSwitcherId = current;
}

PageSwitcherPropertyCommandBase::PageSwitcherPropertyCommandBase(int commandId,
                                                                 unsigned int pageSwitcherId,
                                                                 VelmoraDocument& document,
                                                                 QUndoCommand* parent)
    : VelmoraCommand(commandId, document, parent), m_pageSwitcherId(pageSwitcherId)
{
}

PageSwitcher& PageSwitcherPropertyCommandBase::pageSwitcher() const
{
    return document().getPageSwitcher(m_pageSwitcherId);
}

void PageSwitcherPropertyCommandBase::announce()
{
    document().previewScene()->removePageSwitcherItem(m_pageSwitcherId);
    document().invalidateAllThumbnails();
    PageSwitcherPropertyChangedEvent event(m_pageSwitcherId);
    send(event);
}
