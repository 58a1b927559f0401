#include "common/modal_answerer.h"

#include <QMenu>
#include <QPushButton>
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
    // The first answer opens the box from inside the dialog's loop, the second answers it, the
    // third ends the dialog; a box without the button asked for is rejected.
    answers.then([&](QWidget*) { button.click(); }).messageBox(QMessageBox::No).dialog(7);
    answers.messageBox(QMessageBox::Yes);
    EXPECT_EQ(dialog.exec(), 7);
    QMessageBox::warning(nullptr, "Error", "Bad", QMessageBox::Ok);
    EXPECT_EQ(boxResult, QMessageBox::No);
    ASSERT_EQ(answers.answered().size(), 4);
    EXPECT_EQ(answers.answered()[1].text, "Really?");
    EXPECT_EQ(answers.answered()[2].title, "Outer");
    EXPECT_TRUE(answers.answered()[3].className.isEmpty());
}

TEST(ModalAnswerer, PicksOrDismissesMenuEntries)
{
    QMenu menu;
    menu.addAction("&Copy");
    menu.addSeparator();
    menu.addAction("Hidden")->setVisible(false);
    menu.addAction("Fish && Chips")->setEnabled(false);
    EXPECT_EQ(TestUtil::menuTexts(&menu), QStringList({"Copy", "-", "Fish & Chips"}));
    EXPECT_FALSE(TestUtil::menuEntries(&menu)[2].enabled);
    for (const auto& [entry, picked] :
         {std::pair<QString, QString>{"Copy", "&Copy"}, {"", ""}, {"Fish & Chips", ""}}) {
        ModalAnswerer answers;
        answers.menu(entry);
        QAction* action = menu.exec(QPoint(10, 10));
        EXPECT_EQ(action ? action->text() : QString(), picked) << entry.toStdString();
    }
}
