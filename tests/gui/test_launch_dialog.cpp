#include "gui/launch_dialog.h"

#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "core/recent_files.h"
#include "gui/launch_dialog_handler.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using TestUtil::ModalAnswerer;

namespace {

// Records what the launch loop asks; answers false for the first `refusals` calls.
class ScriptedHandler : public LaunchDialogHandler
{
public:
    QStringList calls;
    int refusals = 0;

    bool newDocument() override { return answer("new"); }
    bool openDocument() override { return answer("open"); }
    bool openDocument(const QString& path) override { return answer(QFileInfo(path).fileName()); }
    bool tryExit() override { return answer("exit"); }

private:
    bool answer(const QString& call)
    {
        calls << call;
        return refusals-- <= 0;
    }
};

// Notes the application's quit request.
class QuitWatcher : public QObject
{
public:
    bool quit = false;
    QuitWatcher() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        quit |= watched == qApp && event->type() == QEvent::Quit;
        return false;
    }
};

enum Ending
{
    Quit,
    Returned,
    Hung
};

class LaunchDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        for (const char* name : {"a.qvp", "b.qvp", "c.qvp"}) // listed c, b, a
            addRecentFile(name);
        dialog = std::make_unique<LaunchDialog>(&recent);
    }

    void addRecentFile(const QString& name)
    {
        ASSERT_TRUE(TestUtil::writeFile(folder.filePath(name), "x"));
        recent.addFile(folder.filePath(name));
    }

    QListView* list() const { return dialog->findChild<QListView*>("recentFileList"); }
    QStringList rows() const { return TestUtil::rowTexts(list()->model()); }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), button, {}, rect.center());
    }

    // Runs the launch loop inside the application's event loop, from a posted event as the
    // application does, so that the quit request is seen as in the editor. (Run from a timer,
    // it would hold back every other timer.)
    Ending runLoop(ModalAnswerer& answers)
    {
        QuitWatcher watcher;
        bool returned = false;
        // Between two showings no window is visible; only run() may end the program then.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        QMetaObject::invokeMethod(
            dialog.get(),
            [&] {
                dialog->run(&handler);
                returned = true;
                if (!watcher.quit)
                    QCoreApplication::exit(1);
            },
            Qt::QueuedConnection);
        QTimer::singleShot(10000, dialog.get(), [] { QCoreApplication::exit(2); });
        const int code = QCoreApplication::exec();
        QGuiApplication::setQuitOnLastWindowClosed(true);
        EXPECT_TRUE(returned);
        EXPECT_EQ(answers.pending(), 0);
        return code == 0 && watcher.quit ? Quit : code == 1 ? Returned : Hung;
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    RecentFiles recent{"File/RecentFile", 5};
    std::unique_ptr<LaunchDialog> dialog;
    ScriptedHandler handler;
};

void press(QWidget* window, QKeySequence::StandardKey key)
{
    const QKeyCombination keys = QKeySequence(key)[0];
    QTest::keyClick(window->focusWidget(), keys.key(), keys.keyboardModifiers());
}

} // namespace

TEST_F(LaunchDialogTest, EscapeCloseExitAndTheQuitKeyQuitWithoutAskingTheHandler)
{
    const std::function<void(QDialog*)> ways[] = {
        [](QDialog* d) { d->findChild<QAbstractButton*>("exitButton")->click(); },
        [](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); },
        [](QDialog* d) { d->close(); },
        [](QDialog* d) { press(d, QKeySequence::Quit); },
    };
    // The headless platform's keyboard scheme has no Quit key; desktop ones have it.
    const size_t count = QKeySequence::keyBindings(QKeySequence::Quit).isEmpty() ? 3 : 4;
    for (size_t i = 0; i < count; ++i) {
        ModalAnswerer answers;
        answers.then([&](QWidget* w) { ways[i](static_cast<QDialog*>(w)); });
        EXPECT_EQ(runLoop(answers), Quit) << i;
        EXPECT_EQ(dialog->result(), LaunchDialog::Exit);
    }
    EXPECT_TRUE(handler.calls.isEmpty()); // not even tryExit()
}

TEST_F(LaunchDialogTest, EachChoiceGoesToTheHandlerAndARefusalShowsTheDialogAgain)
{
    handler.refusals = 3;
    ModalAnswerer answers;
    answers.then([](QWidget* w) { w->findChild<QAbstractButton*>("newButton")->click(); })
        .then([](QWidget* w) { press(w, QKeySequence::Open); })
        .then([this](QWidget*) { clickRow(1); })
        .then([this](QWidget*) {
            list()->setCurrentIndex(list()->model()->index(2, 0));
            QTest::keyClick(list(), Qt::Key_Return);
        });
    EXPECT_EQ(runLoop(answers), Returned);
    EXPECT_EQ(handler.calls, (QStringList{"new", "open", "b.qvp", "a.qvp"}));
    EXPECT_EQ(dialog->result(), LaunchDialog::OpenRecent);

    // 4 ends the loop without the handler; an unknown result shows the dialog again.
    bool shownAgain = false;
    answers.then([&](QWidget*) { dialog->done(9); }).then([&](QWidget*) {
        shownAgain = true;
        dialog->dismiss();
    });
    handler.calls.clear();
    EXPECT_EQ(runLoop(answers), Returned);
    EXPECT_TRUE(shownAgain);
    EXPECT_TRUE(handler.calls.isEmpty());
}

TEST_F(LaunchDialogTest, RightClicksOfferRemovalAndTheEmptyListABrowseRow)
{
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    const auto contextMenu = [this](int row) {
        const QPoint at = row < 0 ? QPoint(5, list()->viewport()->height() - 5)
                                  : list()->visualRect(list()->model()->index(row, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list()->mapToGlobal(at));
        QApplication::sendEvent(list()->viewport(), &event);
    };
    clickRow(1, Qt::RightButton);
    clickRow(1, Qt::MiddleButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(list()->currentIndex().row(), 1); // neither selected nor opened

    auto answers = std::make_unique<ModalAnswerer>();
    answers->menu("Remove from list").menu(QString());
    contextMenu(1);
    contextMenu(0); // closed without a choice
    EXPECT_EQ(rows(), (QStringList{"c.qvp", "a.qvp"}));
    answers->menu("Remove from list");
    contextMenu(-1); // below the rows: no menu
    EXPECT_EQ(answers->pending(), 1);

    recent.removeFile(folder.filePath("a.qvp"));
    recent.removeFile(folder.filePath("c.qvp"));
    ASSERT_EQ(rows(), QStringList{"Browse for an existing file..."});
    contextMenu(0); // nothing to remove: no menu
    EXPECT_EQ(answers->pending(), 1);
    dialog->hide();
    answers = std::make_unique<ModalAnswerer>();
    answers->then([this](QWidget*) { clickRow(0); });
    EXPECT_EQ(runLoop(*answers), Returned);
    EXPECT_EQ(handler.calls, QStringList{"open"});
}
