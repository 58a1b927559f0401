#pragma once

#include "common/helpers.h"

#include <QImage>
#include <QModelIndex>
#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>

class QAbstractButton;
class QAbstractItemView;
class QMainWindow;
class QWidget;

// What a person does at the keyboard and the mouse, as real input events on real widgets of a
// real X server: presses, moves and releases at positions, typed text and keys. Nothing here
// calls into the editor; the helpers only find where to press, as a person looks for it.
namespace UserInput {

using TestUtil::waitFor;
// Spins the event loop until the window is shown and exposed, so that input reaches it.
bool waitForWindow(QWidget* window);

// Waits until what the last input set off is done: no menu or list it opened is still
// open, and the events it posted are handled.
void settle();
// A left click at the position, by default the middle.
void click(QWidget* widget, QPoint position = QPoint(-1, -1));
// Two left clicks at the position in quick succession.
void doubleClick(QWidget* widget, QPoint position);
// Press at `from`, moves in steps to `to` with the button held, release there.
void drag(QWidget* widget, QPoint from, QPoint to, int steps = 6);
// The pointer passes over the position with no button held.
void moveTo(QWidget* widget, QPoint position);

// A drag and drop made with the X server's own pointer (xdotool), for the drags that the
// window system carries (item views): the pointer presses at `from`, moves and releases at
// `to`, each step once the program has taken the one before; the event loop runs meanwhile.
// The pointer then leaves the windows. False when a step failed or did not take.
bool dragWithPointer(QWidget* fromWidget, QPoint from, QWidget* toWidget, QPoint to);

// Keys pressed in the widget's window, brought to the front first.
void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Ctrl+A then the text: replaces what a line edit holds.
void retype(QWidget* widget, const QString& text);

// The menu bar's menu of that title opened with a click, then its entry clicked (with no events
// handled in between).
void chooseFromMenuBar(QMainWindow* window, const QString& menu, const QString& entry);

// The first visible button below the widget whose text (without '&') is `text`.
QAbstractButton* button(QWidget* root, const QString& text);
// A row of a tree or list found by the texts a person reads: the path from the top, by
// the text of column 0.
QModelIndex rowByText(QAbstractItemView* view, const QStringList& path);
// Clicks the row's cell in the column (scrolled into view first), at `xOffset` from its left
// or, for negative offsets, from its right.
void clickCell(QAbstractItemView* view, const QModelIndex& index, int xOffset = 10);

// The widget's area of the screen as the X server shows it.
QImage screenImage(QWidget* widget, QRect rect = QRect());
// The same once the screen shows what the widget paints now, with nothing left to handle
// (or after a few seconds, as it is then).
QImage settledScreenImage(QWidget* widget, QRect rect = QRect());

} // namespace UserInput
