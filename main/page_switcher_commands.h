#pragma once

#include "containers/shared_data.h"
#include "containers/smart_ptr.h"
#include "core/gradient.h"
#include "main/velmora_command.h"
#include "velmora_objects/page_switcher.h"

#include <QColor>
#include <QString>
#include <type_traits>
#include <vector>

// A page switcher lives while at least one page shows it: every page names at most one
// switcher, and every switcher counts the pages that show it. A command that takes a switcher
// off its last page also takes it out of the project and keeps it, so that undo puts the same
// switcher back under the same id.
//
// The commands of one "Edit Page Switcher" group share one SharedData<unsigned int>: the id of
// the switcher to show, which a CreatePageSwitcherCommand fills in on its first run.

// Makes a new switcher (usage count 0: the on-page command of the group raises it) and writes
// its id into the shared value. Undo takes it out of the project again.
class CreatePageSwitcherCommand : public VelmoraCommand
{
public:
    CreatePageSwitcherCommand(SharedData<unsigned int> pageSwitcherId, unsigned int position,
                              unsigned int alignment, const std::vector<unsigned int>& pages,
                              VelmoraDocument& document, QUndoCommand* parent = nullptr);
    ~CreatePageSwitcherCommand() override;

    void redo() override;
    void undo() override;

private:
    SharedData<unsigned int> m_pageSwitcherId;
    const unsigned int m_position;
    const unsigned int m_alignment;
    const std::vector<unsigned int> m_pages;
    smart_ptr<Velmora::PageSwitcher> m_saved;
};

// Takes the page's switcher off the page; the page must show one.
class RemovePageSwitcherCommand : public VelmoraCommand
{
public:
    RemovePageSwitcherCommand(unsigned int pageId, VelmoraDocument& document,
                              QUndoCommand* parent = nullptr);
    ~RemovePageSwitcherCommand() override;

    void redo() override;
    void undo() override;

private:
    const unsigned int m_pageId;
    const unsigned int m_pageSwitcherId;
    smart_ptr<Velmora::PageSwitcher> m_saved;
};

// Shows the switcher of the shared value on the page (UINT_MAX: none); the switcher the page
// showed before loses a user and leaves the project when that was its last. After each run the
// command holds, in a value of its own, the switcher the page showed before.
class SetPageSwitcherOnPageCommand : public VelmoraCommand
{
public:
    SetPageSwitcherOnPageCommand(unsigned int pageId, SharedData<unsigned int> pageSwitcherId,
                                 VelmoraDocument& document, QUndoCommand* parent = nullptr);
    ~SetPageSwitcherOnPageCommand() override;

    void redo() override;
    void undo() override;

private:
    const unsigned int m_pageId;
    SharedData<unsigned int> m_pageSwitcherId;
    smart_ptr<Velmora::PageSwitcher> m_saved;
};

// What every switcher property command does after the exchange: the switcher's preview item
// is built again, every thumbnail is marked and PageSwitcherPropertyChangedEvent is sent.
class PageSwitcherPropertyCommandBase : public VelmoraCommand
{
protected:
    PageSwitcherPropertyCommandBase(int commandId, unsigned int pageSwitcherId,
                                    VelmoraDocument& document, QUndoCommand* parent);

    Velmora::PageSwitcher& pageSwitcher() const;
    void announce();

    const unsigned int m_pageSwitcherId;
};

// One display property of a switcher, exchanged with the held value on every run, so undo and
// redo are the same operation. T is the value the caller gives; the switcher may keep it as
// another type (the alignment as Velmora::Alignment). None merges.
template <int Id, class T, auto Get, auto Set>
class SetPageSwitcherPropertyCommand : public PageSwitcherPropertyCommandBase
{
public:
    using Value = T;

    SetPageSwitcherPropertyCommand(unsigned int pageSwitcherId, const T& value,
                                   VelmoraDocument& document, QUndoCommand* parent = nullptr)
        : PageSwitcherPropertyCommandBase(Id, pageSwitcherId, document, parent), m_value(value)
    {
    }

    void redo() override
    {
        using Stored =
            std::decay_t<std::invoke_result_t<decltype(Get), const Velmora::PageSwitcher&>>;
        Velmora::PageSwitcher& target = pageSwitcher();
        const T previous = static_cast<T>((target.*Get)());
        (target.*Set)(static_cast<Stored>(m_value));
        m_value = previous;
        announce();
    }
    void undo() override { redo(); }

private:
    T m_value;
};

using SetPageSwitcherAlignmentCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_ALIGNMENT,
                                   unsigned int, &Velmora::PageSwitcher::getAlignment,
                                   &Velmora::PageSwitcher::setAlignment>;
using SetPageSwitcherGradientCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_GRADIENT, Gradient,
                                   &Velmora::PageSwitcher::getBackgroundGradient,
                                   &Velmora::PageSwitcher::setBackgroundGradient>;
using SetPageSwitcherOpacityCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_OPACITY, double,
                                   &Velmora::PageSwitcher::getBackgroundOpacity,
                                   &Velmora::PageSwitcher::setBackgroundOpacity>;
using SetPageSwitcherFontSizeCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_FONT_SIZE, int,
                                   &Velmora::PageSwitcher::getButtonFontSize,
                                   &Velmora::PageSwitcher::setButtonFontSize>;
using SetPageSwitcherTextColourCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_TEXT_COLOUR, QColor,
                                   &Velmora::PageSwitcher::getButtonTextColour,
                                   &Velmora::PageSwitcher::setButtonTextColour>;
using SetPageSwitcherShowPageNamesCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_SHOW_PAGE_NAMES,
                                   bool, &Velmora::PageSwitcher::getShowPageNames,
                                   &Velmora::PageSwitcher::setShowPageNames>;
using SetPageSwitcherHighlightColourCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_HIGHLIGHT_COLOUR,
                                   QColor, &Velmora::PageSwitcher::getButtonHighlight,
                                   &Velmora::PageSwitcher::setButtonHighlight>;
using SetPageSwitcherHighlightOpacityCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_HIGHLIGHT_OPACITY,
                                   double, &Velmora::PageSwitcher::getButtonHighlightOpacity,
                                   &Velmora::PageSwitcher::setButtonHighlightOpacity>;
using SetPageSwitcherShowTimeCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_SHOW_TIME, bool,
                                   &Velmora::PageSwitcher::getShowTime,
                                   &Velmora::PageSwitcher::setShowTime>;
using SetPageSwitcherShowDateCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_SHOW_DATE, bool,
                                   &Velmora::PageSwitcher::getShowDate,
                                   &Velmora::PageSwitcher::setShowDate>;
using SetPageSwitcherTimeFormatCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_TIME_FORMAT, QString,
                                   &Velmora::PageSwitcher::getTimeFormat,
                                   &Velmora::PageSwitcher::setTimeFormat>;
using SetPageSwitcherDateFormatCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_DATE_FORMAT, QString,
                                   &Velmora::PageSwitcher::getDateFormat,
                                   &Velmora::PageSwitcher::setDateFormat>;
using SetPageSwitcherDateTimeFontSizeCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_DATE_TIME_FONT_SIZE,
                                   int, &Velmora::PageSwitcher::getDateTimeFontSize,
                                   &Velmora::PageSwitcher::setDateTimeFontSize>;
using SetPageSwitcherDateTimeAtEndCommand =
    SetPageSwitcherPropertyCommand<VelmoraCommand::CommandId_SET_PAGE_SWITCHER_DATE_TIME_AT_END,
                                   bool, &Velmora::PageSwitcher::getDateTimeAtEnd,
                                   &Velmora::PageSwitcher::setDateTimeAtEnd>;
