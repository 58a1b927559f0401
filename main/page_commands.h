#pragma once

#include "containers/smart_ptr.h"
#include "main/new_page_data.h"
#include "main/velmora_command.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <set>
#include <vector>

namespace Velmora {
class Control;
class Page;
class PageSwitcher;
} // namespace Velmora

// Takes a whole page out of the project and puts it back exactly: its controls, its places in
// the page lists of the switchers, the Go To Page buttons that name it and the switcher that
// only it showed. Adding (undo removes) and removing (undo restores) share the two operations.
//
// What was taken out belongs to the command while the page is out, and goes back to the
// project with the page; the destructor deletes what is still held.
class PageCommand : public VelmoraCommand
{
public:
    ~PageCommand() override;

protected:
    PageCommand(int commandId, VelmoraDocument& document, QUndoCommand* parent);

    // Takes the page out with everything that depends on it and records how to put it back.
    // Sends PageSwitcherRemovedEvent when the page was the last to show its switcher.
    void removePage(unsigned int pageId);
    // Puts back what the last removePage took out, under the same ids.
    void restorePage(unsigned int pageId);
    // ControlPropertyChangedEvent for the buttons whose target the last removal reset.
    void sendResetButtons();

private:
    smart_ptr<Velmora::Page> savedPage;
    smart_ptr<Velmora::PageSwitcher> savedPageSwitcher;
    std::map<unsigned int, smart_ptr<Velmora::Control>> savedControls;
    // Switcher id to the index the page had in that switcher's page list.
    std::map<unsigned int, int> switcherPositions;
    // Go To Page buttons (on any page) whose target was the page.
    std::set<unsigned int> resetButtons;
};

// Adds a page made from a NewPageData ("Add Page") or a copy of a page ("Duplicate Page").
// The first run makes the page and keeps its id in a cell that a SetPageSwitcherPagesCommand
// of the same group may share; every later redo puts the same page back under that id.
class AddPageCommand : public PageCommand
{
public:
    AddPageCommand(const NewPageData& data, VelmoraDocument& document,
                   QUndoCommand* parent = nullptr);
    // mode: a VelmoraDocument::DuplicationMode.
    AddPageCommand(unsigned int sourcePageId, int mode, VelmoraDocument& document,
                   QUndoCommand* parent = nullptr);

    // False when the data names a layout template that the layout library does not list:
    // the caller refuses the page before it builds the command. (A template that goes away
    // after that is left out of the page rather than failing inside the undo stack.)
    static bool layoutAvailable(const NewPageData& data);

    // UINT_MAX until the first run has made the page (and when the project was full).
    const boost::shared_ptr<unsigned int>& newPageId() const { return m_newPageId; }

    void redo() override;
    void undo() override;

private:
    const unsigned int m_sourcePageId;
    const int m_duplicationMode;
    NewPageData m_newPageData;
    boost::shared_ptr<unsigned int> m_newPageId;
};

class RemovePageCommand : public PageCommand
{
public:
    RemovePageCommand(unsigned int pageId, VelmoraDocument& document,
                      QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override;

private:
    const unsigned int m_pageId;
};

// Moves a page one place earlier (raise) or later (lower) in page order; nothing at the end
// it moves towards. Undo puts back the sort value of every page as it was, so that the order
// is exact even where the move had to renumber the pages or neighbours have changed since
// their values were given. No event: the page list follows the order itself.
class MovePageCommand : public VelmoraCommand
{
public:
    void redo() override;
    void undo() override;

protected:
    MovePageCommand(int commandId, unsigned int pageId, VelmoraDocument& document,
                    QUndoCommand* parent);

private:
    const unsigned int m_pageId;
    std::map<unsigned int, int> m_sortValues;
};

class RaisePageCommand : public MovePageCommand
{
public:
    RaisePageCommand(unsigned int pageId, VelmoraDocument& document,
                     QUndoCommand* parent = nullptr);
};

class LowerPageCommand : public MovePageCommand
{
public:
    LowerPageCommand(unsigned int pageId, VelmoraDocument& document,
                     QUndoCommand* parent = nullptr);
};

// Exchanges the project's default page with the held one; absorbs every newer command of its
// kind. Sends PagePropertyChangedEvent with both pages.
class SetDefaultPageCommand : public VelmoraCommand
{
public:
    SetDefaultPageCommand(unsigned int pageId, VelmoraDocument& document,
                          QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override { redo(); }

private:
    unsigned int m_pageId;
};

// Exchanges a switcher's page list with the held one. In a group with an AddPageCommand the
// two share the new page's cell (setNewPageId), and every UINT_MAX of the list becomes the new
// page's id once it is known.
class SetPageSwitcherPagesCommand : public VelmoraCommand
{
public:
    SetPageSwitcherPagesCommand(unsigned int pageSwitcherId, const std::vector<unsigned int>& pages,
                                VelmoraDocument& document, QUndoCommand* parent = nullptr);

    void setNewPageId(const boost::shared_ptr<unsigned int>& cell) { m_newPageId = cell; }

    void redo() override;
    void undo() override { redo(); }

private:
    const unsigned int m_pageSwitcherId;
    std::vector<unsigned int> m_pages;
    boost::shared_ptr<unsigned int> m_newPageId;
};
