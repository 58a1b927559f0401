#include "gui/reorderable_widget_container.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Accepts plain text dropped from outside and makes a label of it.
class TextContainer : public ReorderableWidgetContainer
{
protected:
    bool isMimeFormatAccepted(const QString& format) const override
    {
        return format == "text/plain";
    }
    QWidget* createWidget(const QMimeData* data) override { return new QLabel(data->text()); }
};

void send(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class ReorderableWidgetContainerTest : public ::testing::Test
{
protected:
    void SetUp() override { build(container); }

    void build(ReorderableWidgetContainer& list)
    {
        list.resize(200, 300);
        for (ReorderableWidget*& item : items) {
            item = new ReorderableWidget(&list);
            item->setFixedSize(100, 30);
        }
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        QApplication::processEvents();
    }

    // Presses the item 5 px into it, moves by dy in one step and releases.
    void drag(QWidget* item, int dy)
    {
        send(item, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        send(item, QEvent::MouseMove, QPoint(5, 5 + dy), Qt::LeftButton);
        send(item, QEvent::MouseButtonRelease, QPoint(5, 5 + dy), Qt::LeftButton);
        QApplication::processEvents();
    }

    QList<QWidget*> order() const
    {
        QList<QWidget*> widgets;
        for (int i = 0; i < container.count(); ++i)
            widgets.append(container.widgetAt(i));
        return widgets;
    }

    ReorderableWidgetContainer container;
    ReorderableWidget* items[3] = {};
};

} // namespace

TEST_F(ReorderableWidgetContainerTest, DraggingReordersTheItems)
{
    QWidget *a = items[0], *b = items[1], *c = items[2];
    const struct
    {
        QWidget* item;
        int dy;
        QList<QVariant> reordered; // empty: no signal
        QList<QWidget*> order;
    } drags[] = {
        {a, 3, {}, {a, b, c}},       // below the start distance
        {a, 12, {}, {a, b, c}},      // dropped over its own place
        {a, 80, {0, 2}, {b, c, a}},  // past the centre of the third, in one move
        {a, -70, {2, 0}, {a, b, c}}, // and back to the top
        {b, 500, {1, 2}, {a, c, b}}, // flung past the end: lands last
    };
    QSignalSpy reordered(&container, &ReorderableWidgetContainer::widgetReordered);
    for (const auto& d : drags) {
        reordered.clear();
        drag(d.item, d.dy);
        if (d.reordered.isEmpty())
            EXPECT_EQ(reordered.count(), 0) << "by " << d.dy;
        else
            EXPECT_EQ(reordered.value(0), d.reordered) << "by " << d.dy;
        EXPECT_EQ(order(), d.order) << "by " << d.dy;
        EXPECT_EQ(container.count(), 3);
    }
}

TEST_F(ReorderableWidgetContainerTest, TheDraggedItemStaysOnTheList)
{
    QWidget* item = items[0];
    const int innerHeight = container.widget()->height();
    send(item, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(item, QEvent::MouseMove, QPoint(40, 5000), Qt::LeftButton);
    EXPECT_EQ(item->pos(), QPoint(0, innerHeight - 30));
    send(item, QEvent::MouseMove, QPoint(40, -5000), Qt::LeftButton);
    EXPECT_EQ(item->pos(), QPoint(0, 0));
    send(item, QEvent::MouseButtonRelease, QPoint(40, -5000), Qt::LeftButton);

    // After a plain click, a move with another button held drags nothing.
    QSignalSpy reordered(&container, &ReorderableWidgetContainer::widgetReordered);
    send(item, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(item, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton);
    send(item, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton);
    send(item, QEvent::MouseMove, QPoint(5, 90), Qt::RightButton);
    send(item, QEvent::MouseButtonRelease, QPoint(5, 90), Qt::RightButton);
    EXPECT_EQ(reordered.count(), 0);
    EXPECT_EQ(container.indexOf(item), 0);
}

TEST_F(ReorderableWidgetContainerTest, ItemsAnnounceTheirRemovalOnce)
{
    auto* list = new ReorderableWidgetContainer;
    build(*list);
    QSignalSpy removed(list, &ReorderableWidgetContainer::widgetRemoved);
    ReorderableWidget* middle = items[1];
    delete middle;
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][0].toInt(), 1);
    EXPECT_EQ(removed[0][1].value<const ReorderableWidget*>(), middle);
    EXPECT_EQ(list->count(), 2);
    delete list; // its items go silently
    EXPECT_EQ(removed.count(), 1);
}

TEST_F(ReorderableWidgetContainerTest, InsertingBeyondTheEndAppends)
{
    auto* label = new QLabel("x");
    container.insertWidget(label, 99);
    EXPECT_EQ(container.indexOf(label), 3);
    EXPECT_EQ(container.count(), 4);
    EXPECT_EQ(container.widgetAt(4), nullptr); // the drop indicator
    EXPECT_EQ(container.widgetAt(-1), nullptr);
}

TEST_F(ReorderableWidgetContainerTest, OutsideDropsNeedASubclassThatTakesThem)
{
    TextContainer texts;
    build(texts);
    QSignalSpy dropped(&texts, &ReorderableWidgetContainer::widgetDropped);
    QMimeData data;
    data.setText("new");
    // Entering events start accepted, so that only an explicit refusal reads as one.
    const auto enter = [&](ReorderableWidgetContainer& list) {
        QDragEnterEvent event(QPoint(20, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
        event.accept();
        QApplication::sendEvent(list.viewport(), &event);
        return event.isAccepted();
    };
    container.setAcceptDrops(true);
    EXPECT_FALSE(enter(container));
    texts.setAcceptDrops(true);
    EXPECT_TRUE(enter(texts));
    QDropEvent drop(QPointF(20, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(texts.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped[0][0].toInt(), 1);
    EXPECT_EQ(qobject_cast<QLabel*>(texts.widgetAt(1))->text(), "new");
    EXPECT_EQ(texts.count(), 4);
    // The drop indicator is parked again, just before the stretch.
    EXPECT_EQ(texts.widgetAt(4), nullptr);
    EXPECT_EQ(texts.dropIndexAt(QPoint(0, 1000)), 4);

    // Switched off, the subclass refuses too.
    texts.setAcceptDrops(false);
    EXPECT_FALSE(texts.hasAcceptedFormat({"text/plain"}));
}
