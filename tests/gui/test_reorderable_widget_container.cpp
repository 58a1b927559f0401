#include "gui/reorderable_widget_container.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Takes plain text dropped from outside as a label.
class TextContainer : public ReorderableWidgetContainer
{
protected:
    bool isMimeFormatAccepted(const QString& format) const override
    {
        return format == "text/plain";
    }
    QWidget* createWidget(const QMimeData* data) override { return new QLabel(data->text()); }
};

void send(QWidget* widget, QEvent::Type type, int y, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    const QPoint pos(5, y);
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Three items 30 px high, each centred 14 px below its top.
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
        send(d.item, QEvent::MouseButtonPress, 5);
        send(d.item, QEvent::MouseMove, 5 + d.dy);
        send(d.item, QEvent::MouseButtonRelease, 5 + d.dy);
        QApplication::processEvents();
        EXPECT_EQ(reordered.count(), d.reordered.isEmpty() ? 0 : 1) << d.dy;
        EXPECT_EQ(reordered.value(0), d.reordered) << d.dy;
        EXPECT_EQ(order(), d.order) << d.dy;
    }
}

TEST_F(ReorderableWidgetContainerTest, OnlyAHeldLeftPressDrags)
{
    // The dragged item keeps to the list, however far the pointer goes.
    QWidget* item = items[0];
    send(item, QEvent::MouseButtonPress, 5);
    send(item, QEvent::MouseMove, 5000);
    EXPECT_EQ(item->pos(), QPoint(0, container.widget()->height() - 30));
    send(item, QEvent::MouseButtonRelease, 5000);
    // After a plain click, a move with another button held drags nothing.
    send(item, QEvent::MouseButtonPress, 5);
    send(item, QEvent::MouseButtonRelease, 5);
    send(item, QEvent::MouseButtonPress, 5, Qt::RightButton);
    send(item, QEvent::MouseMove, -90, Qt::RightButton);
    send(item, QEvent::MouseButtonRelease, -90, Qt::RightButton);
    EXPECT_EQ(container.indexOf(item), 2);
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
    delete list; // its items go silently
    EXPECT_EQ(removed.count(), 1);

    auto* label = new QLabel("x");
    container.insertWidget(label, 99);
    EXPECT_EQ(container.indexOf(label), 3);
    EXPECT_EQ(container.widgetAt(4), nullptr); // the drop indicator
}

TEST_F(ReorderableWidgetContainerTest, OutsideDropsNeedASubclassThatTakesThem)
{
    TextContainer texts;
    build(texts);
    QSignalSpy dropped(&texts, &ReorderableWidgetContainer::widgetDropped);
    QMimeData data;
    data.setText("new");
    // The event starts accepted, so that only an explicit refusal reads as one.
    const auto enter = [&](ReorderableWidgetContainer& list) {
        list.setAcceptDrops(true);
        QDragEnterEvent event(QPoint(20, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
        event.accept();
        QApplication::sendEvent(list.viewport(), &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(enter(container));
    EXPECT_TRUE(enter(texts));
    QDropEvent drop(QPointF(20, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(texts.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped[0][0].toInt(), 1);
    EXPECT_EQ(qobject_cast<QLabel*>(texts.widgetAt(1))->text(), "new");
    // The drop indicator is parked again, just before the stretch.
    EXPECT_EQ(texts.dropIndexAt(QPoint(0, 1000)), 4);
    texts.setAcceptDrops(false);
    EXPECT_FALSE(texts.hasAcceptedFormat({"text/plain"}));
}
