#include "common/modal_answerer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace TestUtil {

namespace {

const int pollInterval = 10;

} // namespace

QString plainText(QString text)
{
    // "&&" stands for a literal ampersand; a single "&" marks the mnemonic.
    text.replace("&&", QString(QChar(0xE000)));
    text.remove('&');
    text.replace(QChar(0xE000), '&');
    return text;
}

ModalAnswerer::ModalAnswerer(QObject* parent) : QObject(parent)
{
    schedulePoll();
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::failAfter(int timeoutMs)
{
    if (!guard) {
        guard = new QTimer(this);
        guard->setSingleShot(true);
        guard->callOnTimeout([] {
            ADD_FAILURE() << "a window was left waiting for an answer";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
    }
    guard->start(timeoutMs);
}

ModalAnswerer& ModalAnswerer::then(const Answer& answer)
{
    answers.append(answer);
    return *this;
}

ModalAnswerer& ModalAnswerer::dialog(int result)
{
    return then([result](QWidget* window) {
        if (auto* d = qobject_cast<QDialog*>(window))
            d->done(result);
        else
            window->close();
    });
}

ModalAnswerer& ModalAnswerer::messageBox(QMessageBox::StandardButton button)
{
    return then([this, button](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        QAbstractButton* b = box ? box->button(button) : nullptr;
        if (b) {
            b->click();
            return;
        }
        windows.last().className.clear();
        if (auto* d = qobject_cast<QDialog*>(window))
            d->reject();
        else
            window->close();
    });
}

ModalAnswerer& ModalAnswerer::menu(const QString& entry)
{
    return then([entry](QWidget* window) {
        auto* m = qobject_cast<QMenu*>(window);
        QAction* action = m && !entry.isEmpty() ? menuAction(m, entry) : nullptr;
        if (!action || !action->isEnabled()) {
            window->close();
            return;
        }
        // Return on the active entry triggers it and ends exec() with that action.
        m->setActiveAction(action);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(m, &press);
    });
}

bool ModalAnswerer::waitUntilAnswered(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!answers.isEmpty() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, pollInterval);
    return answers.isEmpty();
}

void ModalAnswerer::schedulePoll()
{
    QTimer::singleShot(pollInterval, this, [this] { poll(); });
}

void ModalAnswerer::poll()
{
    // The next poll is armed before any answer runs: a single-shot timer of its own can fire
    // inside the event loop of a window that the answer opens.
    schedulePoll();
    if (lastAnswered && !lastAnswered->isVisible())
        forgetAnswered();
    if (answers.isEmpty())
        return;
    QWidget* window = answerPopups ? QApplication::activePopupWidget() : nullptr;
    if (!window)
        window = QApplication::activeModalWidget();
    // A window that was answered and is still open (it opened the window now answered, or the
    // answer left it open) waits for a window that is new.
    if (!window || !window->isVisible() || window == lastAnswered)
        return;
    // A progress window asks nothing; the answer is for the question that follows it.
    if (qobject_cast<QProgressDialog*>(window))
        return;
    forgetAnswered();
    lastAnswered = window;
    // Hidden, even between two polls, it counts as a new window when it shows again.
    window->installEventFilter(this);
    const Answer answer = answers.takeFirst();
    Window seen{window->metaObject()->className(), window->windowTitle(), QString()};
    if (auto* box = qobject_cast<QMessageBox*>(window))
        seen.text = box->text();
    windows.append(seen);
    answer(window);
}

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == lastAnswered)
        forgetAnswered();
    return false;
}

void ModalAnswerer::forgetAnswered()
{
    if (lastAnswered)
        lastAnswered->removeEventFilter(this);
    lastAnswered = nullptr;
}

QList<MenuEntry> menuEntries(QMenu* menu)
{
    emit menu->aboutToShow();
    QList<MenuEntry> entries;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible())
            continue;
        MenuEntry entry;
        entry.text = action->isSeparator() ? QStringLiteral("-") : plainText(action->text());
        entry.enabled = action->isEnabled();
        entry.checkable = action->isCheckable();
        entry.checked = action->isChecked();
        entry.subMenu = action->menu();
        entry.action = action;
        entries.append(entry);
    }
    return entries;
}

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    for (const MenuEntry& entry : menuEntries(menu))
        texts.append(entry.text);
    return texts;
}

QAction* menuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->isVisible() && !action->isSeparator() && plainText(action->text()) == text)
            return action;
    return nullptr;
}

} // namespace TestUtil
