#include "acceptance/user_input.h"

#include "common/helpers.h"
#include "common/modal_answerer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>

namespace UserInput {

namespace {

QPoint middleUnlessGiven(QWidget* widget, QPoint position)
{
    if (!widget)
        return position;
    return position == QPoint(-1, -1) ? widget->rect().center() : position;
}

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

// The button the helpers hold down between a press and its release.
Qt::MouseButtons held = Qt::NoButton;

// The pointer passes over the place with no button held. The move goes straight to the
// widget: moving the X server's pointer instead would reach the program later, from the
// server, and under load could land in the middle of the next gesture.
void hover(QWidget* widget, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

bool waitForWindow(QWidget* window)
{
    return window && waitFor([window] { return window->isVisible(); }) &&
           QTest::qWaitForWindowExposed(window);
}

void click(QWidget* widget, QPoint position, Qt::KeyboardModifiers modifiers,
           Qt::MouseButton button)
{
    if (!usable(widget))
        return;
    position = middleUnlessGiven(widget, position);
    // A mouse always passes over the place it presses at.
    hover(widget, position);
    QTest::mouseClick(widget, button, modifiers, position);
}

void press(QWidget* widget, QPoint position, Qt::KeyboardModifiers modifiers)
{
    if (!usable(widget))
        return;
    hover(widget, position);
    QTest::mousePress(widget, Qt::LeftButton, modifiers, position);
    held = Qt::LeftButton;
}

void moveTo(QWidget* widget, QPoint position)
{
    if (held == Qt::NoButton)
        hover(widget, position);
    else
        QTest::mouseMove(widget, position);
}

void release(QWidget* widget, QPoint position, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseRelease(widget, Qt::LeftButton, modifiers, position);
    held = Qt::NoButton;
}

void drag(QWidget* widget, QPoint from, QPoint to, int steps, Qt::KeyboardModifiers modifiers)
{
    // The hand comes to rest before it drags: what the last input set off (a property's live
    // write, the frame that shows it) is done, as a person sees it done before going on. A drag
    // that starts while the editor is still busy with the last input can miss a live slider
    // on a loaded machine.
    QTest::qWait(100);
    press(widget, from, modifiers);
    for (int i = 1; i <= steps; ++i)
        moveTo(widget, from + (to - from) * i / steps);
    release(widget, to, modifiers);
}

bool dragWithPointer(QWidget* fromWidget, QPoint from, QWidget* toWidget, QPoint to)
{
    const QPoint start = fromWidget->mapToGlobal(from);
    const QPoint end = toWidget->mapToGlobal(to);
    const auto at = [](QPoint point) {
        return QStringList{"mousemove", QString::number(point.x()), QString::number(point.y()),
                           "sleep", "0.1"};
    };
    QStringList script = at(start) + QStringList{"mousedown", "1", "sleep", "0.1"};
    for (int i = 1; i <= 5; ++i)
        script += at(start + (end - start) * i / 5);
    script += at(end) + QStringList{"mouseup", "1", "sleep", "0.1"};
    QScreen* screen = QGuiApplication::primaryScreen();
    script += at(screen->geometry().bottomRight());
    return TestUtil::runTool("xdotool", script);
}

void type(QWidget* widget, const QString& text)
{
    if (usable(widget))
        QTest::keyClicks(widget, text);
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
        QTest::qWaitForWindowActive(top);
    }
    QTest::keyClick(widget, key, modifiers);
}

void retype(QWidget* widget, const QString& text)
{
    key(widget, Qt::Key_A, Qt::ControlModifier);
    type(widget, text);
}

void clickTool(QToolBar* bar, QAction* action)
{
    QWidget* tool = bar->widgetForAction(action);
    if (tool)
        click(tool);
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

void chooseFromMenu(QMenu* menu, const QString& entry)
{
    if (QAction* action = actionByText(menu->actions(), entry))
        click(menu, menu->actionGeometry(action).center());
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

QImage screenImage(const QRect& globalRect)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen
        ->grabWindow(0, globalRect.x(), globalRect.y(), globalRect.width(), globalRect.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage screenImage(QWidget* widget, QRect rect)
{
    if (rect.isNull())
        rect = widget->rect();
    return screenImage(QRect(widget->mapToGlobal(rect.topLeft()), rect.size()));
}

} // namespace UserInput
