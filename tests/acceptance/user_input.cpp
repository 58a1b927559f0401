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

void moveTo(QWidget* widget, QPoint position)
{
    if (usable(widget))
        hover(widget, position);
}

void drag(QWidget* widget, QPoint from, QPoint to, int steps)
{
    if (!usable(widget))
        return;
    // The hand comes to rest before it drags: what the last input set off (a property's live
    // write, the frame that shows it) is done, as a person sees it done before going on. A drag
    // that starts while the editor is still busy with the last input can miss a live slider
    // on a loaded machine.
    QTest::qWait(100);
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

} // namespace UserInput
