#include "common/command_fixture.h"
#include "widgets/nav_buttons_editor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

void send(QWidget* widget, QEvent::Type type, const QPoint& pos)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void press(QWidget* w, const QPoint& p)
{
    send(w, QEvent::MouseButtonPress, p);
}
void moveTo(QWidget* w, const QPoint& p)
{
    send(w, QEvent::MouseMove, p);
}
void release(QWidget* w, const QPoint& p)
{
    send(w, QEvent::MouseButtonRelease, p);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Picks a function in the item's combo box as the user does.
void pick(NavButtonItem* item, ButtonFunction function)
{
    const int index = item->functionBox()->findData(int(function));
    item->functionBox()->setCurrentIndex(index);
    emit item->functionBox()->activated(index);
}

class NavButtonsEditorTest : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        pages = {create(), addPage(), addPage()};
        editor.setDocument(document.get());
        editor.resize(700, 200);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    NavButtonItem* item(int index) const
    {
        return qobject_cast<NavButtonItem*>(editor.strip()->widgetAt(index));
    }
    // Three buttons 150 × 40: Next Page, Back, Go To Page "Page 3".
    void addThree()
    {
        editor.setButtons({{ButtonFunction_NEXT_PAGE, UINT_MAX},
                           {ButtonFunction_BACK, UINT_MAX},
                           {ButtonFunction_GO_TO_PAGE, pages[2]}});
        for (int i = 0; i < 3; ++i)
            item(i)->setFixedSize(150, 40);
        QApplication::processEvents();
    }
    std::vector<NavButtonData> entries() const
    {
        std::vector<NavButtonData> out;
        editor.buttons(out);
        return out;
    }

    std::vector<unsigned int> pages;
    NavButtonsEditor editor;
};

} // namespace

TEST_F(NavButtonsEditorTest, AtMostThreeButtonsAndClosingOneAllowsAnother)
{
    QSignalSpy counts(&editor, &NavButtonsEditor::buttonCountChanged);
    for (int i = 0; i < 3; ++i)
        editor.addButtonWidget()->click();
    EXPECT_FALSE(editor.addButtonWidget()->isEnabled());
    ASSERT_EQ(counts.count(), 3);
    EXPECT_EQ(counts.last().at(0).toInt(), 3);
    EXPECT_EQ(editor.currentButton(), item(2));
    EXPECT_EQ(item(0)->functionBox()->currentText(), "No Function");

    // The current button closes itself: none is current and no page can be chosen.
    NavButtonItem* last = item(2);
    last->setFixedSize(150, 40);
    const QPoint icon = last->closeArea().center();
    press(last, icon);
    release(last, icon);
    EXPECT_EQ(editor.buttonCount(), 2);
    EXPECT_EQ(editor.strip()->count(), 2);
    EXPECT_TRUE(editor.addButtonWidget()->isEnabled());
    EXPECT_EQ(counts.last().at(0).toInt(), 2);
    EXPECT_EQ(editor.currentButton(), nullptr);
    EXPECT_FALSE(editor.pageBox()->isEnabled());
}

TEST_F(NavButtonsEditorTest, OnlyAGoToPageButtonTakesATargetPage)
{
    editor.addButtonWidget()->click();
    NavButtonItem* button = item(0);
    QComboBox* pageBox = editor.pageBox();
    EXPECT_FALSE(pageBox->isEnabled());
    EXPECT_EQ(pageBox->count(), 4); // "None" and three pages

    pick(button, ButtonFunction_GO_TO_PAGE);
    EXPECT_TRUE(pageBox->isEnabled());
    EXPECT_EQ(pageBox->currentText(), "None");
    EXPECT_EQ(entries()[0], (NavButtonData{ButtonFunction_GO_TO_PAGE, UINT_MAX}));

    pageBox->setCurrentIndex(2);
    emit pageBox->activated(2);
    EXPECT_EQ(entries()[0], (NavButtonData{ButtonFunction_GO_TO_PAGE, pages[1]}));

    pick(button, ButtonFunction_BACK);
    EXPECT_EQ(entries()[0], (NavButtonData{ButtonFunction_BACK, UINT_MAX}));
    EXPECT_FALSE(pageBox->isEnabled());
    EXPECT_EQ(pageBox->currentIndex(), -1);
}

TEST_F(NavButtonsEditorTest, DraggingAButtonReordersTheList)
{
    addThree();
    EXPECT_EQ(editor.currentButton(), item(0)); // the first preset
    const std::vector<NavButtonData> before = entries();
    NavButtonItem* third = item(2);
    press(third, QPoint(10, 20));
    moveTo(third, QPoint(-400, 20));
    release(third, QPoint(-400, 20));
    EXPECT_EQ(editor.strip()->widgetAt(0), third);
    EXPECT_EQ(entries(), (std::vector<NavButtonData>{before[2], before[0], before[1]}));
    // The press made it current; as a Go To Page button it shows its target.
    EXPECT_EQ(editor.currentButton(), third);
    EXPECT_TRUE(third->isSelected());
    EXPECT_FALSE(item(1)->isSelected());
    EXPECT_EQ(editor.pageBox()->currentText(), "Page 3");
}

TEST_F(NavButtonsEditorTest, TheCloseIconDeletesOnlyOnAReleaseOverIt)
{
    addThree();
    NavButtonItem* first = item(0);
    const QPoint icon = first->closeArea().center();

    // A press on the icon starts no drag, and moving off before the release keeps the button.
    press(first, icon);
    moveTo(first, icon + QPoint(400, 0));
    release(first, icon + QPoint(400, 0));
    EXPECT_EQ(editor.strip()->widgetAt(0), first);
    EXPECT_EQ(editor.buttonCount(), 3);

    press(first, icon);
    EXPECT_EQ(editor.buttonCount(), 3);
    release(first, icon + QPoint(1, 1));
    EXPECT_EQ(editor.buttonCount(), 2);
    EXPECT_EQ(entries()[0].function, ButtonFunction_BACK);
}

TEST_F(NavButtonsEditorTest, TheCloseIconShowsOnlyUnderTheMouse)
{
    addThree();
    NavButtonItem* button = item(1);
    // A point on the icon's red disc, clear of its white cross.
    const QPoint disc = button->closeArea().topLeft() + QPoint(8, 3);
    for (bool under : {false, true}) {
        button->setAttribute(Qt::WA_UnderMouse, under);
        const QColor c = button->grab().toImage().pixelColor(disc);
        EXPECT_EQ(c.red() > 140 && c.green() < 80 && c.blue() < 80, under)
            << c.name().toStdString();
    }
}
