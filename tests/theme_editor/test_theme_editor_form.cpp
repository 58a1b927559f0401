#include "widgets/theme_editor/theme_editor_form.h"

#include "gui/centered_icon_grid_view.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// The widget's owner as the form sees it: a tab's owner is the tab widget, not its stack.
QString ownerName(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (qobject_cast<const QStackedWidget*>(parent) &&
        qobject_cast<const QTabWidget*>(parent->parentWidget()))
        parent = parent->parentWidget();
    return parent ? parent->objectName() : "none";
}

// Where an item sits: "verticalLayout item 2", "gridLayout (2, 0) 1x1", "splitter pane 3",
// "tabWidget tab 0", or "layout of X" for a layout set on a widget.
QString placeOf(QWidget* page, QObject* object)
{
    if (auto* layout = qobject_cast<QLayout*>(object);
        layout && layout->parentWidget() && layout->parentWidget()->layout() == layout)
        return "layout of " + layout->parentWidget()->objectName();
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (auto* splitter = qobject_cast<QSplitter*>(widget->parentWidget()))
            return QString("%1 pane %2")
                .arg(splitter->objectName())
                .arg(splitter->indexOf(widget) + 1);
        if (auto* tabs = page->findChild<QTabWidget*>(); tabs && tabs->indexOf(widget) >= 0)
            return QString("%1 tab %2").arg(tabs->objectName()).arg(tabs->indexOf(widget));
    }
    for (QLayout* layout : page->findChildren<QLayout*>()) {
        for (int i = 0; i < layout->count(); ++i) {
            QLayoutItem* item = layout->itemAt(i);
            if (item->widget() != object && item->layout() != object)
                continue;
            if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
                int row, column, rows, columns;
                grid->getItemPosition(i, &row, &column, &rows, &columns);
                return QString("%1 (%2, %3) %4x%5")
                    .arg(grid->objectName())
                    .arg(row)
                    .arg(column)
                    .arg(rows)
                    .arg(columns);
            }
            return QString("%1 item %2").arg(layout->objectName()).arg(i + 1);
        }
    }
    return "nowhere";
}

class ThemeEditorFormTest : public ::testing::Test
{
protected:
    void SetUp() override { form.setupUi(&page); }

    QWidget page;
    Ui::ThemeEditor form;
};

TEST_F(ThemeEditorFormTest, WidgetsHaveTheirNamesClassesOwnersAndPlaces)
{
    const auto& f = form;
    struct Row
    {
        QWidget* widget;
        const char* name;
        const char* className;
        const char* owner;
        const char* place;
    };
    const Row rows[] = {
        {f.captionLabel, "captionLabel", "QLabel", "ThemeEditor", "verticalLayout item 1"},
        {f.themeNameContainer, "themeNameContainer", "QWidget", "ThemeEditor",
         "verticalLayout item 2"},
        {f.themeNameLabel, "themeNameLabel", "QLabel", "themeNameContainer",
         "horizontalLayout_2 item 1"},
        {f.nameEdit, "nameEdit", "QLineEdit", "themeNameContainer", "horizontalLayout_2 item 2"},
        {f.tabWidget, "tabWidget", "QTabWidget", "ThemeEditor", "verticalLayout item 4"},
        {f.undoButton, "undoButton", "QToolButton", "ThemeEditor", "horizontalLayout item 1"},
        {f.redoButton, "redoButton", "QToolButton", "ThemeEditor", "horizontalLayout item 2"},
        {f.cancelButton, "cancelButton", "QPushButton", "ThemeEditor", "horizontalLayout item 4"},
        {f.doneButton, "doneButton", "QPushButton", "ThemeEditor", "horizontalLayout item 5"},
        // Items tab.
        {f.itemTab, "itemTab", "QWidget", "tabWidget", "tabWidget tab 0"},
        {f.itemTypeLabel, "itemTypeLabel", "QLabel", "itemTab", "horizontalLayout_6 item 1"},
        {f.itemTypeEdit, "itemTypeEdit", "QComboBox", "itemTab", "horizontalLayout_6 item 2"},
        {f.splitter, "splitter", "QSplitter", "itemTab", "verticalLayout_5 item 2"},
        {f.defaultPropertiesGroupBox, "defaultPropertiesGroupBox", "QGroupBox", "splitter",
         "splitter pane 1"},
        {f.defaultPropertyEditor, "defaultPropertyEditor", "QTreeView", "defaultPropertiesGroupBox",
         "gridLayout_2 (0, 0) 1x1"},
        {f.previewWidget, "previewWidget", "QGraphicsView", "splitter", "splitter pane 2"},
        {f.layoutWidget, "layoutWidget", "QWidget", "splitter", "splitter pane 3"},
        {f.skinSplitter, "skinSplitter", "QSplitter", "layoutWidget", "verticalLayout_4 item 1"},
        {f.layoutWidget1, "layoutWidget1", "QWidget", "skinSplitter", "skinSplitter pane 1"},
        {f.statesTitleLabel, "statesTitleLabel", "QLabel", "layoutWidget1",
         "gridLayout (0, 0) 1x5"},
        {f.skinList, "skinList", "QListView", "layoutWidget1", "gridLayout (1, 0) 1x5"},
        {f.addSkinButton, "addSkinButton", "QToolButton", "layoutWidget1", "gridLayout (2, 0) 1x1"},
        {f.removeSkinButton, "removeSkinButton", "QToolButton", "layoutWidget1",
         "gridLayout (2, 1) 1x1"},
        {f.duplicateSkinButton, "duplicateSkinButton", "QToolButton", "layoutWidget1",
         "gridLayout (2, 2) 1x1"},
        {f.setDefaultSkinButton, "setDefaultSkinButton", "QPushButton", "layoutWidget1",
         "gridLayout (2, 3) 1x1"},
        {f.skinPropertyEditor, "skinPropertyEditor", "QTreeView", "skinSplitter",
         "skinSplitter pane 2"},
        {f.skinTransitionGroupBox, "skinTransitionGroupBox", "QGroupBox", "layoutWidget",
         "verticalLayout_4 item 2"},
        {f.skinTransitionDurationLabel, "skinTransitionDurationLabel", "QLabel",
         "skinTransitionGroupBox", "gridLayout_3 (0, 0) 1x1"},
        {f.skinTransitionDurationEdit, "skinTransitionDurationEdit", "QDoubleSpinBox",
         "skinTransitionGroupBox", "gridLayout_3 (0, 1) 1x1"},
        {f.skinTransitionEasingLabel, "skinTransitionEasingLabel", "QLabel",
         "skinTransitionGroupBox", "gridLayout_3 (1, 0) 1x1"},
        {f.skinTransitionEasingEdit, "skinTransitionEasingEdit", "QComboBox",
         "skinTransitionGroupBox", "gridLayout_3 (1, 1) 1x1"},
        // Background Images tab.
        {f.backgroundImageTab, "backgroundImageTab", "QWidget", "tabWidget", "tabWidget tab 1"},
        {f.backgroundImageFilterLabel, "backgroundImageFilterLabel", "QLabel", "backgroundImageTab",
         "horizontalLayout_3 item 1"},
        {f.backgroundImageFilterEdit, "backgroundImageFilterEdit", "QComboBox",
         "backgroundImageTab", "horizontalLayout_3 item 2"},
        {f.applyBackgroundImageFilterButton, "applyBackgroundImageFilterButton", "QPushButton",
         "backgroundImageTab", "horizontalLayout_3 item 3"},
        {f.imageList, "imageList", "CenteredIconGridView", "backgroundImageTab",
         "verticalLayout_2 item 2"},
        {f.addBackgroundImageButton, "addBackgroundImageButton", "QToolButton",
         "backgroundImageTab", "horizontalLayout_9 item 1"},
        {f.removeBackgroundImageButton, "removeBackgroundImageButton", "QToolButton",
         "backgroundImageTab", "horizontalLayout_9 item 2"},
        {f.backgroundImageOrientations, "backgroundImageOrientations", "QWidget",
         "backgroundImageTab", "horizontalLayout_9 item 4"},
        {f.backgroundImageSettingsLabel, "backgroundImageSettingsLabel", "QLabel",
         "backgroundImageOrientations", "horizontalLayout_8 item 1"},
        {f.backgroundPortraitRadioButton, "backgroundPortraitRadioButton", "QRadioButton",
         "backgroundImageOrientations", "horizontalLayout_8 item 2"},
        {f.backgroundLandscapeRadioButton, "backgroundLandscapeRadioButton", "QRadioButton",
         "backgroundImageOrientations", "horizontalLayout_8 item 3"},
        {f.backgroundAnyRadioButton, "backgroundAnyRadioButton", "QRadioButton",
         "backgroundImageOrientations", "horizontalLayout_8 item 4"},
        // Icons tab.
        {f.iconTab, "iconTab", "QWidget", "tabWidget", "tabWidget tab 2"},
        {f.iconList, "iconList", "QListView", "iconTab", "verticalLayout_3 item 1"},
        {f.addIconButton, "addIconButton", "QToolButton", "iconTab", "horizontalLayout_4 item 1"},
        {f.removeIconButton, "removeIconButton", "QToolButton", "iconTab",
         "horizontalLayout_4 item 2"},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(row.widget) << row.name;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.widget->objectName(), row.name);
        // The grid view declares no meta-object of its own.
        const QString className = dynamic_cast<CenteredIconGridView*>(row.widget)
                                      ? "CenteredIconGridView"
                                      : row.widget->metaObject()->className();
        EXPECT_EQ(className, row.className);
        EXPECT_EQ(ownerName(row.widget), row.owner);
        EXPECT_EQ(placeOf(&page, row.widget), row.place);
    }
    EXPECT_EQ(page.objectName(), "ThemeEditor");
    EXPECT_EQ(page.size(), QSize(743, 481));
}

TEST_F(ThemeEditorFormTest, FreshFormShowsTheItemsTabWithEmptyFields)
{
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

    QDoubleSpinBox* duration = form.skinTransitionDurationEdit;
    EXPECT_EQ(duration->text(), "0.00secs");
    EXPECT_EQ(duration->minimum(), 0.0);
    EXPECT_EQ(duration->maximum(), 2100000.0);
    EXPECT_EQ(duration->decimals(), 2);
    EXPECT_EQ(duration->singleStep(), 1.0);
    duration->setValue(1e9);
    EXPECT_EQ(duration->text(), "2100000.00secs");

    EXPECT_EQ(form.iconList->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(form.iconList->viewMode(), QListView::IconMode);
    EXPECT_EQ(form.iconList->movement(), QListView::Static);
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

TEST_F(ThemeEditorFormTest, TextsAreSetAndRetranslationRestoresThem)
{
    const struct
    {
        QObject* object;
        const char* property;
        const char* text;
    } rows[] = {
        {&page, "windowTitle", "Theme Editor"},
        {form.captionLabel, "text", "Edit Theme"},
        {form.themeNameLabel, "text", "Theme name"},
        {form.itemTypeLabel, "text", "Item type"},
        {form.defaultPropertiesGroupBox, "title", "Default Properties"},
        {form.addSkinButton, "toolTip", "Add"},
        {form.addSkinButton, "text", ""},
        {form.removeSkinButton, "toolTip", "Remove"},
        {form.removeSkinButton, "text", ""},
        {form.duplicateSkinButton, "toolTip", "Duplicate"},
        {form.duplicateSkinButton, "text", "Duplicate State"},
        {form.setDefaultSkinButton, "text", "Set Default"},
        {form.statesTitleLabel, "text", "Item states"},
        {form.skinTransitionGroupBox, "title", "Transition"},
        {form.skinTransitionDurationLabel, "text", "Duration"},
        {form.skinTransitionEasingLabel, "text", "Easing"},
        {form.skinTransitionDurationEdit, "suffix", "secs"},
        {form.backgroundImageFilterLabel, "text", "Filter"},
        {form.applyBackgroundImageFilterButton, "text", "Apply"},
        {form.addBackgroundImageButton, "toolTip", "Add"},
        {form.addBackgroundImageButton, "text", ""},
        {form.removeBackgroundImageButton, "toolTip", "Remove"},
        {form.removeBackgroundImageButton, "text", ""},
        {form.backgroundImageSettingsLabel, "text", "Image orientation:"},
        {form.backgroundPortraitRadioButton, "text", "Portrait"},
        {form.backgroundLandscapeRadioButton, "text", "Landscape"},
        {form.backgroundAnyRadioButton, "text", "Any"},
        {form.addIconButton, "toolTip", "Add"},
        {form.addIconButton, "text", ""},
        {form.removeIconButton, "toolTip", "Remove"},
        {form.removeIconButton, "text", ""},
        {form.undoButton, "text", "..."},
        {form.redoButton, "text", "..."},
        {form.cancelButton, "text", "Cancel"},
        {form.doneButton, "text", "Done"},
    };
    const std::pair<QWidget*, const char*> tabs[] = {{form.itemTab, "Items"},
                                                     {form.backgroundImageTab, "Background Images"},
                                                     {form.iconTab, "Icons"}};
    const auto expectTexts = [&](const char* when) {
        SCOPED_TRACE(when);
        for (const auto& row : rows)
            EXPECT_EQ(row.object->property(row.property).toString().toStdString(), row.text)
                << row.object->objectName().toStdString() << " " << row.property;
        for (const auto& [tab, text] : tabs)
            EXPECT_EQ(form.tabWidget->tabText(form.tabWidget->indexOf(tab)).toStdString(), text);
    };
    expectTexts("built");

    for (const auto& row : rows)
        row.object->setProperty(row.property, "changed");
    // Moved tabs keep their own titles.
    form.tabWidget->tabBar()->moveTab(0, 2);
    for (int i = 0; i < form.tabWidget->count(); ++i)
        form.tabWidget->setTabText(i, "changed");
    ASSERT_EQ(form.tabWidget->indexOf(form.itemTab), 2);
    form.retranslateUi(&page);
    expectTexts("retranslated");
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
