#include "appengine/document_events.h"

#include <QCoreApplication>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Records, while it is installed on the application, what each document event carried.
class EventRecorder : public QObject
{
public:
    EventRecorder() { qApp->installEventFilter(this); }

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (receiver != qApp || event->type() < 1003 || event->type() > 1012)
            return false;
        seen.push_back(event->type());
        spontaneous = event->spontaneous();
        payload = describe(event);
        return false;
    }

    static std::string ids(const std::set<unsigned int>& set)
    {
        std::string text;
        for (unsigned int id : set)
            text += std::to_string(id) + " ";
        return text;
    }

    static std::string describe(QEvent* event)
    {
        if (auto* e = dynamic_cast<PageAddedEvent*>(event))
            return std::to_string(e->pageId()) + " x" + std::to_string(e->execution());
        if (auto* e = dynamic_cast<PageRemovedEvent*>(event))
            return std::to_string(e->pageId());
        if (auto* e = dynamic_cast<PagePropertyChangedEvent*>(event))
            return ids(e->pageIds());
        if (auto* e = dynamic_cast<ControlsAddedEvent*>(event))
            return ids(e->controlIds()) + "x" + std::to_string(e->execution());
        if (auto* e = dynamic_cast<ControlsRemovedEvent*>(event))
            return ids(e->controlIds()) + "on " + std::to_string(e->pageId());
        if (auto* e = dynamic_cast<ControlPropertyChangedEvent*>(event))
            return ids(e->controlIds());
        if (auto* e = dynamic_cast<PageSwitcherUsageChangedEvent*>(event))
            return "usage " + std::to_string(e->pageSwitcherId());
        if (auto* e = dynamic_cast<PageSwitcherRemovedEvent*>(event))
            return "removed " + std::to_string(e->pageSwitcherId());
        if (auto* e = dynamic_cast<PageSwitcherPropertyChangedEvent*>(event))
            return "property " + std::to_string(e->pageSwitcherId());
        if (dynamic_cast<ThemeChangedEvent*>(event))
            return "theme";
        return "?";
    }

    std::vector<int> seen;
    bool spontaneous = true;
    std::string payload;
};

template <typename E, typename... Args> std::function<void()> sending(Args... args)
{
    return [=] {
        E event(args...);
        sendDocumentEvent(event);
    };
}

} // namespace

// Each event reaches the application at once, with its type number and its payload.
TEST(DocumentEvents, DeliveredSynchronouslyWithTypeAndPayload)
{
    using Ids = std::set<unsigned int>;
    struct Row
    {
        std::function<void()> send;
        int type;
        std::string payload;
    };
    const Row rows[] = {
        {sending<PageAddedEvent>(4u, Execution_UNDO), 1003, "4 x1"},
        {sending<PageRemovedEvent>(4u), 1004, "4"},
        {sending<PagePropertyChangedEvent>(Ids{7, 2}), 1005, "2 7 "},
        {sending<ControlsAddedEvent>(Ids{9, 1}, Execution_REDO), 1006, "1 9 x2"},
        {sending<ControlsRemovedEvent>(Ids{9, 1}, 3u), 1007, "1 9 on 3"},
        {sending<ControlPropertyChangedEvent>(std::vector<unsigned int>{5, 3, 5}), 1008, "3 5 "},
        {sending<ControlPropertyChangedEvent>(Ids{8}), 1008, "8 "},
        {sending<PageSwitcherUsageChangedEvent>(6u), 1009, "usage 6"},
        {sending<PageSwitcherRemovedEvent>(6u), 1010, "removed 6"},
        {sending<PageSwitcherPropertyChangedEvent>(6u), 1011, "property 6"},
        {sending<ThemeChangedEvent>(), 1012, "theme"},
    };
    for (const Row& row : rows) {
        EventRecorder recorder;
        row.send();
        EXPECT_EQ(recorder.seen, std::vector<int>{row.type});
        EXPECT_EQ(recorder.payload, row.payload) << row.type;
        EXPECT_FALSE(recorder.spontaneous);
    }
}
