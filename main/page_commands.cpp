#include "main/page_commands.h"

#include "appengine/layout_library.h"
#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"

#include <algorithm>
#include <climits>

using namespace Velmora;

PageCommand::PageCommand(int commandId, VelmoraDocument& document, QUndoCommand* parent)
    : VelmoraCommand(commandId, document, parent)
{
}

PageCommand::~PageCommand() = default;

void PageCommand::removePage(unsigned int pageId)
{
    VelmoraDocument& doc = document();
    SelectionManager& selection = doc.selection();
    const std::set<unsigned int> controlIds = doc.getPage(pageId).getControlIds();

    // Buttons elsewhere lose their target. Those on the page itself leave with it untouched,
    // so that they come back exactly as they were.
    resetButtons.clear();
    for (Control& control : doc.getControls()) {
        if (control.getType() != ControlType_BUTTON || controlIds.count(control.getId()) > 0)
            continue;
        auto& button = static_cast<Button&>(control);
        if (button.getFunction() == ButtonFunction_GO_TO_PAGE &&
            button.getFunctionPage() == pageId) {
            button.setFunctionPage(UINT_MAX);
            resetButtons.insert(control.getId());
        }
    }

    // The page keeps its set of control ids while it is out.
    for (unsigned int controlId : controlIds) {
        selection.selectControl(controlId, false, false);
        savedControls[controlId] = doc.removeControl(controlId);
    }

    switcherPositions.clear();
    for (PageSwitcher& pageSwitcher : doc.getPageSwitchers()) {
        const int index = doc.removePageFromPageSwitcher(pageSwitcher.getId(), pageId);
        if (index >= 0)
            switcherPositions[pageSwitcher.getId()] = index;
    }

    selection.selectPage(pageId, false, false);
    savedPage = doc.removePage(pageId);

    const unsigned int pageSwitcherId = savedPage->getPageSwitcherId();
    if (pageSwitcherId != UINT_MAX && doc.getPageSwitcher(pageSwitcherId).decrementUsage() == 0) {
        selection.selectPageSwitcher(pageSwitcherId, false);
        savedPageSwitcher = doc.removePageSwitcher(pageSwitcherId);
        PageSwitcherRemovedEvent event(pageSwitcherId);
        send(event);
    }
}

void PageCommand::restorePage(unsigned int pageId)
{
    VelmoraDocument& doc = document();
    const unsigned int pageSwitcherId = savedPage->getPageSwitcherId();
    if (savedPageSwitcher)
        doc.restorePageSwitcher(savedPageSwitcher, pageSwitcherId);
    if (pageSwitcherId != UINT_MAX)
        doc.getPageSwitcher(pageSwitcherId).incrementUsage();

    for (const auto& [id, index] : switcherPositions)
        doc.getPageSwitcher(id).insertPage(pageId, index);
    for (unsigned int buttonId : resetButtons)
        doc.modControl<Button>(buttonId)->setFunctionPage(pageId);
    for (auto& [controlId, control] : savedControls)
        doc.registerControlIRSlots(control, controlId);
    savedControls.clear();

    doc.restorePage(savedPage, pageId);
    // Switcher bars elsewhere list the page again, and other pages may show it through them
    // and their buttons.
    if (!switcherPositions.empty())
        doc.previewScene()->clearPageSwitcherItems();
    doc.invalidateAllThumbnails();
}

void PageCommand::sendResetButtons()
{
    if (resetButtons.empty())
        return;
    ControlPropertyChangedEvent event(resetButtons);
    send(event);
}

AddPageCommand::AddPageCommand(const NewPageData& data, VelmoraDocument& document,
                               QUndoCommand* parent)
    : PageCommand(CommandId_ADD_PAGE, document, parent), m_sourcePageId(UINT_MAX),
      m_duplicationMode(0), m_newPageData(data), m_newPageId(new unsigned int(UINT_MAX))
{
}

AddPageCommand::AddPageCommand(unsigned int sourcePageId, int mode, VelmoraDocument& document,
                               QUndoCommand* parent)
    : PageCommand(CommandId_DUPLICATE_PAGE, document, parent), m_sourcePageId(sourcePageId),
      m_duplicationMode(mode), m_newPageId(new unsigned int(UINT_MAX))
{
}

bool AddPageCommand::layoutAvailable(const NewPageData& data)
{
    return data.layoutName.isEmpty() ||
           LayoutLibrary::instance()->indexOf(data.layoutName).isValid();
}

void AddPageCommand::redo()
{
    VelmoraDocument& doc = document();
    Execution execution = Execution_REDO;
    if (*m_newPageId == UINT_MAX) {
        unsigned int pageId;
        if (m_sourcePageId == UINT_MAX) {
            // The document refuses a template the library does not list by throwing, which
            // the undo stack cannot survive.
            NewPageData data = m_newPageData;
            if (!layoutAvailable(data))
                data.layoutName.clear();
            pageId = doc.addPage(data);
        } else {
            pageId = doc.duplicatePage(m_sourcePageId, m_duplicationMode);
            const unsigned int pageSwitcherId = doc.pageSwitcherOfPage(pageId);
            if (pageSwitcherId != UINT_MAX)
                doc.previewScene()->removePageSwitcherItem(pageSwitcherId);
        }
        // A full project takes no page; the command then stands for nothing.
        if (pageId == UINT_MAX)
            return;
        *m_newPageId = pageId;
        execution = Execution_FIRST_RUN;
    } else {
        restorePage(*m_newPageId);
    }
    PageAddedEvent event(*m_newPageId, execution);
    send(event);
    sendResetButtons();
}

void AddPageCommand::undo()
{
    if (*m_newPageId == UINT_MAX)
        return;
    removePage(*m_newPageId);
    PageRemovedEvent event(*m_newPageId);
    send(event);
    sendResetButtons();
}

RemovePageCommand::RemovePageCommand(unsigned int pageId, VelmoraDocument& document,
                                     QUndoCommand* parent)
    : PageCommand(CommandId_REMOVE_PAGE, document, parent), m_pageId(pageId)
{
}

void RemovePageCommand::redo()
{
    removePage(m_pageId);
    PageRemovedEvent event(m_pageId);
    send(event);
    sendResetButtons();
}

void RemovePageCommand::undo()
{
    restorePage(m_pageId);
    PageAddedEvent event(m_pageId, Execution_UNDO);
    send(event);
    sendResetButtons();
}

MovePageCommand::MovePageCommand(int commandId, unsigned int pageId, VelmoraDocument& document,
                                 QUndoCommand* parent)
    : VelmoraCommand(commandId, document, parent), m_pageId(pageId)
{
}

void MovePageCommand::redo()
{
    VelmoraDocument& doc = document();
    m_sortValues.clear();
    for (const Page& page : doc.getPages())
        m_sortValues[page.getId()] = page.getSortValue();
    if (id() == CommandId_RAISE_PAGE)
        doc.raisePage(m_pageId);
    else
        doc.lowerPage(m_pageId);
}

void MovePageCommand::undo()
{
    document().setPageSortValues(m_sortValues);
}

RaisePageCommand::RaisePageCommand(unsigned int pageId, VelmoraDocument& document,
                                   QUndoCommand* parent)
    : MovePageCommand(CommandId_RAISE_PAGE, pageId, document, parent)
{
}

LowerPageCommand::LowerPageCommand(unsigned int pageId, VelmoraDocument& document,
                                   QUndoCommand* parent)
    : MovePageCommand(CommandId_LOWER_PAGE, pageId, document, parent)
{
}

SetDefaultPageCommand::SetDefaultPageCommand(unsigned int pageId, VelmoraDocument& document,
                                             QUndoCommand* parent)
    : VelmoraCommand(CommandId_SET_DEFAULT_PAGE, document, parent), m_pageId(pageId)
{
}

void SetDefaultPageCommand::redo()
{
    VelmoraDocument& doc = document();
    const unsigned int previous = doc.getDefaultPageId();
    doc.setDefaultPageId(m_pageId);
    // "No default page" is no page to report.
    std::set<unsigned int> pageIds{previous, m_pageId};
    pageIds.erase(UINT_MAX);
    m_pageId = previous;
    PagePropertyChangedEvent event(pageIds);
    send(event);
}

SetPageSwitcherPagesCommand::SetPageSwitcherPagesCommand(unsigned int pageSwitcherId,
                                                         const std::vector<unsigned int>& pages,
                                                         VelmoraDocument& document,
                                                         QUndoCommand* parent)
    : VelmoraCommand(CommandId_SET_PAGE_SWITCHER_PAGES, document, parent),
      m_pageSwitcherId(pageSwitcherId), m_pages(pages), m_newPageId(new unsigned int(UINT_MAX))
{
}

void SetPageSwitcherPagesCommand::redo()
{
    VelmoraDocument& doc = document();
    // A place kept for a new page that was never made (the project was full) is dropped.
    if (*m_newPageId != UINT_MAX)
        std::replace(m_pages.begin(), m_pages.end(), UINT_MAX, *m_newPageId);
    else
        m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), UINT_MAX), m_pages.end());

    PageSwitcher& pageSwitcher = doc.getPageSwitcher(m_pageSwitcherId);
    std::vector<unsigned int> previous = pageSwitcher.getPageIds();
    pageSwitcher.setPageIds(m_pages);
    m_pages.swap(previous);

    doc.previewScene()->removePageSwitcherItem(m_pageSwitcherId);
    PageSwitcherPropertyChangedEvent event(m_pageSwitcherId);
    send(event);
    doc.invalidateAllThumbnails();
}
