#include "acceptance/user_input.h"

#include "common/helpers.h"
#include "common/modal_answerer.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDrag>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace UserInput {

namespace {

// A widget to act on; a missing one fails the test.
bool usable(QWidget* widget)
{
    if (!widget)
        ADD_FAILURE() << "no widget there to use";
    return widget;
}

QAction* actionByText(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions)
        if (action->isVisible() && !action->isSeparator() &&
            TestUtil::plainText(action->text()) == text)
            return action;
    return nullptr;
}

// The pointer passes over the place with no button held. The move goes straight to the
// widget: moving the X server's pointer instead would reach the program later, from the
// server, and under load could land in the middle of the next gesture.
void hover(QWidget* widget, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Where the widget last saw the pointer move, in global coordinates.
class MoveWatcher : public QObject
{
public:
    QPoint last;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove)
            last = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        return false;
    }
};

void chooseFromMenu(QMenu* menu, const QString& entry)
{
    if (QAction* action = actionByText(menu->actions(), entry))
        click(menu, menu->actionGeometry(action).center());
}

} // namespace

bool waitForWindow(QWidget* window)
{
    return window && waitFor([window] { return window->isVisible(); }) &&
           QTest::qWaitForWindowExposed(window);
}

void click(QWidget* widget, QPoint position)
{
    if (!usable(widget))
        return;
    if (position == QPoint(-1, -1))
        position = widget->rect().center();
    // A mouse always passes over the place it presses at.
    hover(widget, position);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, position);
}

void doubleClick(QWidget* widget, QPoint position)
{
    if (!usable(widget))
        return;
    hover(widget, position);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, position);
}

void moveTo(QWidget* widget, QPoint position)
{
    if (usable(widget))
        hover(widget, position);
}

void settle()
{
    // A menu or list that the input opened closes at a click, but a press that comes before
    // it is gone goes to it instead.
    waitFor([] { return !QApplication::activePopupWidget(); });
    // Every event waiting and every timer due is handled, and then what they set off in turn
    // (a changed scene renders from a timer, its picture is painted from a posted event).
    for (int round = 0; round < 100; ++round) {
        QCoreApplication::sendPostedEvents();
        if (!QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents))
            break;
    }
}

void drag(QWidget* widget, QPoint from, QPoint to, int steps)
{
    if (!usable(widget))
        return;
    // The hand comes to rest before it drags: what the last input set off is done, as a
    // person sees it done before going on.
    settle();
    hover(widget, from);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(widget, from + (to - from) * i / steps);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
}

bool dragWithPointer(QWidget* fromWidget, QPoint from, QWidget* toWidget, QPoint to)
{
    const QPoint start = fromWidget->mapToGlobal(from);
    const QPoint end = toWidget->mapToGlobal(to);
    const QPoint away = QGuiApplication::primaryScreen()->geometry().bottomRight();
    QWidget* const window = fromWidget->window();
    const auto moveTo = [](QPoint point) {
        return QStringList{"mousemove", QString::number(point.x()), QString::number(point.y())};
    };
    const auto pointerAt = [](QPoint point) { return [point] { return QCursor::pos() == point; }; };
    const auto buttonDown = [](bool down) {
        return [down] { return bool(QGuiApplication::mouseButtons() & Qt::LeftButton) == down; };
    };
    const auto drag = [window] { return window->findChild<QDrag*>(); };
    // An item view begins a drag at the second move with the button held.
    MoveWatcher moves;
    fromWidget->installEventFilter(&moves);
    const QPoint first = start + (end - start) / 8;
    // Each step waits until the program has taken the one before: the pointer is there, the
    // button is down, the view saw the first move, the drag has begun, it is over the target,
    // the button is up.
    const std::vector<std::pair<QStringList, std::function<bool()>>> steps = {
        {moveTo(start), pointerAt(start)},
        {{"mousedown", "1"}, buttonDown(true)},
        {moveTo(first), [&moves, first] { return moves.last == first; }},
        {moveTo(start + (end - start) / 4), [drag] { return drag() != nullptr; }},
        {moveTo(end), [drag, toWidget] { return drag() && drag()->target() == toWidget; }},
        {{"mouseup", "1"}, buttonDown(false)},
        {moveTo(away), pointerAt(away)},
    };
    // A drag runs an event loop of its own until the drop: the steps are taken from a timer,
    // which that loop runs as well.
    std::size_t next = 0;
    bool failed = false;
    QProcess tool;
    QTimer timer;
    const QDeadlineTimer deadline(20000);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (tool.state() != QProcess::NotRunning)
            return;
        failed = deadline.hasExpired() ||
                 (next > 0 && (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0));
        if (failed) {
            // A drag left hanging would hold the program: the button goes up.
            QProcess::execute("xdotool", {"mouseup", "1"});
            timer.stop();
        } else if (next == 0 || steps[next - 1].second()) {
            if (next == steps.size())
                timer.stop();
            else
                tool.start("xdotool", steps[next++].first);
        }
    });
    timer.start(10);
    waitFor([&timer] { return !timer.isActive(); }, 30000);
    return !failed && next == steps.size();
}

void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (!usable(widget))
        return;
    // Keys go to the active window, as a person's keys do: the window is brought to the front
    // first, as a click on its title would.
    QWidget* top = widget->window();
    if (!top->isActiveWindow()) {
        top->activateWindow();
        if (!QTest::qWaitForWindowActive(top))
            ADD_FAILURE() << "the window " << top->windowTitle().toStdString()
                          << " did not come to the front";
    }
    QTest::keyClick(widget, key, modifiers);
}

void retype(QWidget* widget, const QString& text)
{
    key(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(widget, text);
}

void chooseFromMenuBar(QMainWindow* window, const QString& menu, const QString& entry)
{
    QMenuBar* bar = window->menuBar();
    QAction* title = actionByText(bar->actions(), menu);
    if (!title || !title->menu())
        return;
    click(bar, bar->actionGeometry(title).center());
    // The menu shows at the press. The entry is clicked at once, with no events handled in
    // between, so that an answer waiting for a dialog the entry opens cannot go to the menu.
    QMenu* popup = title->menu();
    if (popup->isVisible())
        chooseFromMenu(popup, entry);
    else
        ADD_FAILURE() << "the menu " << menu.toStdString() << " did not open";
}

QAbstractButton* button(QWidget* root, const QString& text)
{
    for (QAbstractButton* candidate : root->findChildren<QAbstractButton*>())
        if (candidate->isVisible() && TestUtil::plainText(candidate->text()) == text)
            return candidate;
    ADD_FAILURE() << "no button reads " << text.toStdString();
    return nullptr;
}

QModelIndex rowByText(QAbstractItemView* view, const QStringList& path)
{
    const QAbstractItemModel* model = view->model();
    QModelIndex parent;
    for (const QString& text : path) {
        QModelIndex found;
        for (int row = 0; row < model->rowCount(parent) && !found.isValid(); ++row) {
            const QModelIndex index = model->index(row, 0, parent);
            if (index.data().toString() == text)
                found = index;
        }
        if (!found.isValid())
            return QModelIndex();
        parent = found;
    }
    return parent;
}

void clickCell(QAbstractItemView* view, const QModelIndex& index, int xOffset)
{
    view->scrollTo(index);
    const QRect cell = view->visualRect(index);
    const int x = xOffset >= 0 ? cell.left() + xOffset : cell.right() + xOffset;
    click(view->viewport(), QPoint(x, cell.center().y()));
}

QImage screenImage(QWidget* widget, QRect rect)
{
    if (rect.isNull())
        rect = widget->rect();
    const QPoint corner = widget->mapToGlobal(rect.topLeft());
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, corner.x(), corner.y(), rect.width(), rect.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage settledScreenImage(QWidget* widget, QRect rect)
{
    if (rect.isNull())
        rect = widget->rect();
    QImage image;
    waitFor(
        [&] {
            settle();
            image = screenImage(widget, rect);
            return image == widget->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
        },
        5000);
    return image;
}

} // namespace UserInput
