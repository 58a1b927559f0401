#pragma once

#include "appengine/document_events.h"

#include <QCoreApplication>
#include <QStringList>
#include <map>

namespace TestUtil {

// While it lives, records every document-change event that reaches the application, one line
// per event: a name for its type, then its payload, for example "ControlsChanged 3,5",
// "PageAdded 4 x2" (page 4, Execution 2), "ControlsRemoved 1,9 on 3", "SwitcherChanged 2",
// "ThemeChanged".
class DocumentEventLog : public QObject
{
public:
    DocumentEventLog() { qApp->installEventFilter(this); }

    // The lines recorded since the last call.
    QStringList take()
    {
        QStringList taken;
        taken.swap(lines);
        return taken;
    }

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (receiver == qApp && event->type() >= PageAddedEvent::EventType &&
            event->type() <= ThemeChangedEvent::EventType)
            lines << describe(event);
        return false;
    }

private:
    static QString ids(const std::set<unsigned int>& set)
    {
        QStringList numbers;
        for (unsigned int id : set)
            numbers << QString::number(id);
        return numbers.join(',');
    }

    static QString describe(QEvent* event)
    {
        static const std::map<int, const char*> names = {
            {PageAddedEvent::EventType, "PageAdded"},
            {PageRemovedEvent::EventType, "PageRemoved"},
            {PagePropertyChangedEvent::EventType, "PageChanged"},
            {ControlsAddedEvent::EventType, "ControlsAdded"},
            {ControlsRemovedEvent::EventType, "ControlsRemoved"},
            {ControlPropertyChangedEvent::EventType, "ControlsChanged"},
            {PageSwitcherUsageChangedEvent::EventType, "SwitcherUsage"},
            {PageSwitcherRemovedEvent::EventType, "SwitcherRemoved"},
            {PageSwitcherPropertyChangedEvent::EventType, "SwitcherChanged"},
            {ThemeChangedEvent::EventType, "ThemeChanged"}};
        QString payload;
        if (auto* e = dynamic_cast<PageAddedEvent*>(event))
            payload = QStringLiteral("%1 x%2").arg(e->pageId()).arg(int(e->execution()));
        else if (auto* e = dynamic_cast<PageRemovedEvent*>(event))
            payload = QString::number(e->pageId());
        else if (auto* e = dynamic_cast<PagePropertyChangedEvent*>(event))
            payload = ids(e->pageIds());
        else if (auto* e = dynamic_cast<ControlsAddedEvent*>(event))
            payload = QStringLiteral("%1 x%2").arg(ids(e->controlIds())).arg(int(e->execution()));
        else if (auto* e = dynamic_cast<ControlsRemovedEvent*>(event))
            payload = QStringLiteral("%1 on %2").arg(ids(e->controlIds())).arg(e->pageId());
        else if (auto* e = dynamic_cast<ControlPropertyChangedEvent*>(event))
            payload = ids(e->controlIds());
        else if (auto* e = dynamic_cast<PageSwitcherUsageChangedEvent*>(event))
            payload = QString::number(e->pageSwitcherId());
        else if (auto* e = dynamic_cast<PageSwitcherRemovedEvent*>(event))
            payload = QString::number(e->pageSwitcherId());
        else if (auto* e = dynamic_cast<PageSwitcherPropertyChangedEvent*>(event))
            payload = QString::number(e->pageSwitcherId());
        const QString type = QString::fromLatin1(names.at(event->type()));
        return payload.isEmpty() ? type : type + ' ' + payload;
    }

    QStringList lines;
};

} // namespace TestUtil
