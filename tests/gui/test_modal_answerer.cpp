#include "common/modal_answerer.h"

#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using TestUtil::ModalAnswerer;

TEST(ModalAnswerer, AnswersNestedDialogAndMessageBoxInTurn)
{
    QDialog dialog;
    dialog.setWindowTitle("Outer");
    QPushButton button(&dialog);
    int boxResult = -1;
    QObject::connect(&button, &QPushButton::clicked,
                     [&] { boxResult = QMessageBox::question(&dialog, "Sure?", "Really?"); });
    ModalAnswerer answers;
    // The first answer opens the message box from inside the dialog's loop; the second answers
    // that box; the third ends the dialog, which is open again.
    answers.then([&](QWidget*) { button.click(); }).messageBox(QMessageBox::No).dialog(7);
    EXPECT_EQ(dialog.exec(), 7);
    EXPECT_EQ(boxResult, QMessageBox::No);
    EXPECT_EQ(answers.pending(), 0);
    ASSERT_EQ(answers.answered().size(), 3);
    EXPECT_EQ(answers.answered()[1].className, "QMessageBox");
    EXPECT_EQ(answers.answered()[1].text, "Really?");
    EXPECT_EQ(answers.answered()[2].title, "Outer");
}

TEST(ModalAnswerer, MessageBoxWithoutTheButtonIsRejectedAndRecorded)
{
    ModalAnswerer answers;
    answers.messageBox(QMessageBox::Yes);
    // The box is rejected: exec() returns instead of waiting for a click that never comes.
    QMessageBox::warning(nullptr, "Error", "Bad", QMessageBox::Ok);
    ASSERT_EQ(answers.answered().size(), 1);
    EXPECT_TRUE(answers.answered()[0].className.isEmpty());
}

TEST(ModalAnswerer, PicksOrDismissesMenuEntries)
{
    QMenu menu;
    menu.addAction("&Copy");
    menu.addSeparator();
    QAction* hidden = menu.addAction("Hidden");
    hidden->setVisible(false);
    QAction* off = menu.addAction("Fish && Chips");
    off->setEnabled(false);
    QObject::connect(&menu, &QMenu::aboutToShow, [&] { menu.addAction("Late"); });

    EXPECT_EQ(TestUtil::menuTexts(&menu), QStringList({"Copy", "-", "Fish & Chips", "Late"}));
    EXPECT_FALSE(TestUtil::menuEntries(&menu)[2].enabled);
    EXPECT_FALSE(menu.isVisible());

    const struct
    {
        QString entry;
        QString picked;
    } cases[] = {{"Copy", "&Copy"}, {"", ""}, {"Fish & Chips", ""}, {"Missing", ""}};
    for (const auto& c : cases) {
        ModalAnswerer answers;
        answers.menu(c.entry);
        QAction* picked = menu.exec(QPoint(10, 10));
        EXPECT_EQ(picked ? picked->text() : QString(), c.picked) << c.entry.toStdString();
        EXPECT_EQ(answers.pending(), 0);
    }
}

TEST(ModalAnswerer, WaitsForWindowsOpenedLater)
{
    ModalAnswerer answers;
    answers.dialog(QDialog::Accepted);
    int result = -1;
    QTimer::singleShot(30, [&] {
        QDialog dialog;
        result = dialog.exec();
    });
    EXPECT_TRUE(answers.waitUntilAnswered());
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(ModalAnswerer().then([](QWidget*) {}).waitUntilAnswered(50));
}
