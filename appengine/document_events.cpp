#include "appengine/document_events.h"

#include <QCoreApplication>

void sendDocumentEvent(QEvent& event)
{
    if (QCoreApplication* application = QCoreApplication::instance())
        QCoreApplication::sendEvent(application, &event);
}

PageAddedEvent::PageAddedEvent(unsigned int pageId, Execution execution)
    : QEvent(EventType), m_pageId(pageId), m_execution(execution)
{
}

PageAddedEvent::~PageAddedEvent() = default;

PageRemovedEvent::PageRemovedEvent(unsigned int pageId) : QEvent(EventType), m_pageId(pageId) {}

PageRemovedEvent::~PageRemovedEvent() = default;

PagePropertyChangedEvent::PagePropertyChangedEvent(const std::set<unsigned int>& pageIds)
    : QEvent(EventType), m_pageIds(pageIds)
{
}

PagePropertyChangedEvent::~PagePropertyChangedEvent() = default;

ControlsAddedEvent::ControlsAddedEvent(const std::set<unsigned int>& controlIds,
                                       Execution execution)
    : QEvent(EventType), m_controlIds(controlIds), m_execution(execution)
{
}

ControlsAddedEvent::~ControlsAddedEvent() = default;

ControlsRemovedEvent::ControlsRemovedEvent(const std::set<unsigned int>& controlIds,
                                           unsigned int pageId)
    : QEvent(EventType), m_controlIds(controlIds), m_pageId(pageId)
{
}

ControlsRemovedEvent::~ControlsRemovedEvent() = default;

ControlPropertyChangedEvent::ControlPropertyChangedEvent(const std::set<unsigned int>& controlIds)
    : QEvent(EventType), m_controlIds(controlIds)
{
}

ControlPropertyChangedEvent::ControlPropertyChangedEvent(
    const std::vector<unsigned int>& controlIds)
    : QEvent(EventType), m_controlIds(controlIds.begin(), controlIds.end())
{
}

ControlPropertyChangedEvent::~ControlPropertyChangedEvent() = default;

ThemeChangedEvent::ThemeChangedEvent() : QEvent(EventType) {}

ThemeChangedEvent::~ThemeChangedEvent() = default;
