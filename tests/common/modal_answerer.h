#pragma once

#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QTimer;

namespace TestUtil {

// A menu or button text as a person reads it: without its mnemonic marks ("&").
QString plainText(QString text);

// Answers modal dialogs, message boxes and popup menus while the code under test waits in their
// event loops. Answers are queued; each one is given to the next modal or popup window that
// shows, the popup taking precedence (a combo box list inside a dialog, say). A timer polls for
// that window every few milliseconds and is rescheduled before an answer runs, so an answer that
// itself opens a nested modal window (a button that brings up a message box) is answered by the
// next queued answer from inside that window's own loop. Progress windows are passed over: they
// ask nothing and close themselves.
//
//     TestUtil::ModalAnswerer answers;
//     answers.messageBox(QMessageBox::Ok);
//     editor.commitBadValue();             // shows a warning; returns once it was answered
//     EXPECT_EQ(answers.pending(), 0);
//     EXPECT_EQ(answers.answered().value(0).text, "Invalid value");
class ModalAnswerer : public QObject
{
public:
    using Answer = std::function<void(QWidget*)>;

    // What an answer was given to: the window's class, title and, for a message box, its text.
    struct Window
    {
        QString className;
        QString title;
        QString text;
    };

    explicit ModalAnswerer(QObject* parent = nullptr);
    ~ModalAnswerer() override;

    // Queues a custom answer, called with the window; it closes the window itself (or leaves
    // it open for a later answer).
    ModalAnswerer& then(const Answer& answer);
    // Ends the next dialog with QDialog::done(result).
    ModalAnswerer& dialog(int result);
    // Clicks the given button of the next message box; a box without it is rejected and the
    // miss is recorded as a message box answered with an empty class name.
    ModalAnswerer& messageBox(QMessageBox::StandardButton button);
    // Picks the entry of the next popup menu whose text (without '&' marks) is `entry`, so that
    // QMenu::exec returns its action; an empty text, or no such entry, closes the menu.
    ModalAnswerer& menu(const QString& entry);

    // Off: popups are left alone and only modal windows are answered, for tests that open
    // menus and lists themselves, with real input, while answers wait for the dialogs to come.
    void setAnswersPopups(bool answer) { answerPopups = answer; }

    // A modal window still waiting `timeoutMs` from now fails the test and is closed, so that
    // a window no answer came for fails the test instead of hanging it.
    void failAfter(int timeoutMs);

    // Answers still queued; 0 once every expected window showed up.
    int pending() const { return int(answers.size()); }
    const QList<Window>& answered() const { return windows; }

    // Spins the event loop until every answer was used or `timeoutMs` passed; true when none
    // is left. For windows that open from a queued call or a timer.
    bool waitUntilAnswered(int timeoutMs = 5000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void schedulePoll();
    void poll();
    void forgetAnswered();

    QList<Answer> answers;
    QList<Window> windows;
    QPointer<QWidget> lastAnswered;
    bool answerPopups = true;
    QTimer* guard = nullptr;
};

// One entry of a menu as inspected by menuEntries: "-" stands for a separator.
struct MenuEntry
{
    QString text;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    QMenu* subMenu = nullptr;
    QAction* action = nullptr;
};

// The visible entries of a menu, in order, without showing it. aboutToShow() is emitted first,
// as when the menu opens, so that menus that fill themselves on opening are inspected filled.
QList<MenuEntry> menuEntries(QMenu* menu);
// The texts of those entries (without '&' marks), separators as "-".
QStringList menuTexts(QMenu* menu);
// The visible action of a menu whose text (without '&' marks) is `text`; null when none.
QAction* menuAction(QMenu* menu, const QString& text);

} // namespace TestUtil
