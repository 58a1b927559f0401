#pragma once

#include <QEvent>
#include <set>
#include <vector>

// The events by which an undo command tells the application what it changed in the project.
// A command builds one on its own stack after changing the model and hands it to
// sendDocumentEvent, which delivers it at once; the receiver reads the payload and keeps no
// reference to the event.

// Which run of a command sent an event.
enum Execution : int
{
    Execution_FIRST_RUN = 0,
    Execution_UNDO = 1,
    Execution_REDO = 2
};

// Delivers the event synchronously to the application object (not spontaneous); nothing
// happens when there is no application object.
void sendDocumentEvent(QEvent& event);

class PageAddedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1003);

    PageAddedEvent(unsigned int pageId, Execution execution);
    ~PageAddedEvent() override;

    unsigned int pageId() const { return m_pageId; }
    Execution execution() const { return m_execution; }

private:
    const unsigned int m_pageId;
    const Execution m_execution;
};

class PageRemovedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1004);

    explicit PageRemovedEvent(unsigned int pageId);
    ~PageRemovedEvent() override;

    unsigned int pageId() const { return m_pageId; }

private:
    const unsigned int m_pageId;
};

class PagePropertyChangedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1005);

    explicit PagePropertyChangedEvent(const std::set<unsigned int>& pageIds);
    ~PagePropertyChangedEvent() override;

    const std::set<unsigned int>& pageIds() const { return m_pageIds; }

private:
    const std::set<unsigned int> m_pageIds;
};

class ControlsAddedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1006);

    ControlsAddedEvent(const std::set<unsigned int>& controlIds, Execution execution);
    ~ControlsAddedEvent() override;

    const std::set<unsigned int>& controlIds() const { return m_controlIds; }
    Execution execution() const { return m_execution; }

private:
    const std::set<unsigned int> m_controlIds;
    const Execution m_execution;
};

class ControlsRemovedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1007);

    // The page is the one the controls were on.
    ControlsRemovedEvent(const std::set<unsigned int>& controlIds, unsigned int pageId);
    ~ControlsRemovedEvent() override;

    const std::set<unsigned int>& controlIds() const { return m_controlIds; }
    unsigned int pageId() const { return m_pageId; }

private:
    const std::set<unsigned int> m_controlIds;
    const unsigned int m_pageId;
};

class ControlPropertyChangedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1008);

    explicit ControlPropertyChangedEvent(const std::set<unsigned int>& controlIds);
    // Duplicates collapse and the ids become ascending.
    explicit ControlPropertyChangedEvent(const std::vector<unsigned int>& controlIds);
    ~ControlPropertyChangedEvent() override;

    const std::set<unsigned int>& controlIds() const { return m_controlIds; }

private:
    const std::set<unsigned int> m_controlIds;
};

// The events of one page switcher differ only in their type.
template <int TypeNumber> class PageSwitcherEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(TypeNumber);

    explicit PageSwitcherEvent(unsigned int pageSwitcherId)
        : QEvent(EventType), m_pageSwitcherId(pageSwitcherId)
    {
    }

    unsigned int pageSwitcherId() const { return m_pageSwitcherId; }

private:
    const unsigned int m_pageSwitcherId;
};

// Shown on or taken off a page, created or removed.
using PageSwitcherUsageChangedEvent = PageSwitcherEvent<1009>;
using PageSwitcherRemovedEvent = PageSwitcherEvent<1010>;
using PageSwitcherPropertyChangedEvent = PageSwitcherEvent<1011>;

// The receiver reads the new theme from the document.
class ThemeChangedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1012);

    ThemeChangedEvent();
    ~ThemeChangedEvent() override;
};
