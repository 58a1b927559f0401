#include "widgets/theme_editor/theme_editor_form.h"

#include "gui/centered_icon_grid_view.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class ThemeEditorFormTest : public ::testing::Test
{
protected:
    void SetUp() override { form.setupUi(&page); }

    QWidget page;
    Ui::ThemeEditor form;
};

TEST_F(ThemeEditorFormTest, FreshFormShowsTheItemsTabWithEmptyFields)
{
    EXPECT_EQ(page.objectName(), "ThemeEditor");
    EXPECT_EQ(form.tabWidget->currentIndex(), 0);
    for (QComboBox* combo :
         {form.itemTypeEdit, form.skinTransitionEasingEdit, form.backgroundImageFilterEdit})
        EXPECT_EQ(combo->count(), 0) << combo->objectName().toStdString();
    for (QRadioButton* radio : {form.backgroundPortraitRadioButton,
                                form.backgroundLandscapeRadioButton, form.backgroundAnyRadioButton})
        EXPECT_FALSE(radio->isChecked() || radio->autoExclusive())
            << radio->objectName().toStdString();
    EXPECT_TRUE(form.nameEdit->text().isEmpty());
    EXPECT_FALSE(form.imageList->gridSize().isValid());

    // Seconds with two decimals, up to 2100000.
    QDoubleSpinBox* duration = form.skinTransitionDurationEdit;
    EXPECT_EQ(duration->text(), "0.00secs");
    duration->setValue(1e9);
    EXPECT_EQ(duration->text(), "2100000.00secs");
}

TEST_F(ThemeEditorFormTest, AddRemoveAndCopyButtonsShareTheirIcons)
{
    const QList<QToolButton*> add = {form.addSkinButton, form.addBackgroundImageButton,
                                     form.addIconButton};
    const QList<QToolButton*> remove = {form.removeSkinButton, form.removeBackgroundImageButton,
                                        form.removeIconButton};
    // The middle of the plus and of the minus, and the back sheet's border of the copy icon.
    const auto pixelOf = [](const QToolButton* button, QPoint point) {
        return button->icon().pixmap(16, 16).toImage().pixelColor(point);
    };
    for (QToolButton* button : add + remove + QList<QToolButton*>{form.duplicateSkinButton}) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_TRUE(button->autoRaise());
        EXPECT_EQ(button->icon().cacheKey(), (add.contains(button)      ? add[0]
                                              : remove.contains(button) ? remove[0]
                                                                        : button)
                                                 ->icon()
                                                 .cacheKey());
    }
    const QColor plus = pixelOf(add[0], QPoint(8, 3));
    const QColor minus = pixelOf(remove[0], QPoint(8, 8));
    EXPECT_TRUE(plus.green() > 120 && plus.red() < 80) << plus.name().toStdString();
    EXPECT_TRUE(minus.red() > 150 && minus.green() < 80) << minus.name().toStdString();
    EXPECT_EQ(pixelOf(remove[0], QPoint(8, 3)).alpha(), 0);
    EXPECT_EQ(pixelOf(form.duplicateSkinButton, QPoint(1, 1)).alpha(), 255);
    EXPECT_TRUE(form.undoButton->icon().isNull() && form.redoButton->icon().isNull());
}

// Retranslation gives every text of the form back, tab titles after their tabs moved too.
TEST_F(ThemeEditorFormTest, TextsAreSetAndRetranslationRestoresThem)
{
    EXPECT_EQ(page.windowTitle(), "Theme Editor");
    EXPECT_EQ(form.skinTransitionGroupBox->title(), "Transition");
    EXPECT_EQ(form.addIconButton->toolTip(), "Add");
    EXPECT_EQ(form.backgroundImageSettingsLabel->text(), "Image orientation:");
    EXPECT_EQ(form.skinTransitionDurationEdit->suffix(), "secs");

    std::vector<std::tuple<QObject*, const char*, QString>> texts{
        {&page, "windowTitle", page.windowTitle()}};
    for (QWidget* widget : page.findChildren<QWidget*>())
        for (const char* property : {"text", "title", "toolTip", "suffix"}) {
            const QVariant value = widget->property(property);
            if (!qobject_cast<QLineEdit*>(widget) && !value.toString().isEmpty())
                texts.emplace_back(widget, property, value.toString());
        }
    const std::pair<QWidget*, const char*> tabs[] = {{form.itemTab, "Items"},
                                                     {form.backgroundImageTab, "Background Images"},
                                                     {form.iconTab, "Icons"}};
    ASSERT_GT(texts.size(), 25u);
    for (const auto& [object, property, text] : texts)
        object->setProperty(property, "changed");
    form.tabWidget->tabBar()->moveTab(0, 2);
    for (int i = 0; i < form.tabWidget->count(); ++i)
        form.tabWidget->setTabText(i, "changed");
    ASSERT_EQ(form.tabWidget->indexOf(form.itemTab), 2);
    form.retranslateUi(&page);
    for (const auto& [object, property, text] : texts)
        EXPECT_EQ(object->property(property).toString(), text)
            << object->objectName().toStdString() << " " << property;
    for (const auto& [tab, text] : tabs)
        EXPECT_EQ(form.tabWidget->tabText(form.tabWidget->indexOf(tab)), text);
}

TEST_F(ThemeEditorFormTest, FocusFollowsTheFourLinks)
{
    EXPECT_EQ(form.nameEdit->nextInFocusChain(), form.addBackgroundImageButton);
    EXPECT_EQ(form.addBackgroundImageButton->nextInFocusChain(), form.removeBackgroundImageButton);
    EXPECT_EQ(form.removeBackgroundImageButton->nextInFocusChain(), form.cancelButton);
    EXPECT_EQ(form.cancelButton->nextInFocusChain(), form.doneButton);
}

TEST(ThemeEditorFormNaming, ANamedPageKeepsItsName)
{
    QWidget page;
    page.setObjectName("editorPage");
    Ui::ThemeEditor form;
    form.setupUi(&page);
    EXPECT_EQ(page.objectName(), "editorPage");
}

} // namespace
