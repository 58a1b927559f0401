#pragma once

class CenteredIconGridView;
class QComboBox;
class QDoubleSpinBox;
class QGraphicsView;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QSpacerItem;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeView;
class QVBoxLayout;
class QWidget;

// The layout of the theme editor page: the theme name above three tabs (the items: the preview
// above the default properties, beside the states, their property sheet and transition; the
// page-background images; the icons)
// and a bottom row of undo, redo, Cancel and Done. It only builds and labels the widgets; the
// page fills the combo boxes, sets the models and makes the connections. Every pointer is owned
// by Qt's parent ownership, through the page.
class Ui_ThemeEditor
{
public:
    // The page.
    QVBoxLayout* verticalLayout = nullptr;
    QLabel* captionLabel = nullptr;
    QWidget* themeNameContainer = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QLabel* themeNameLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QSpacerItem* verticalSpacer = nullptr;
    QTabWidget* tabWidget = nullptr;

    // The Items tab.
    QWidget* itemTab = nullptr;
    QVBoxLayout* verticalLayout_5 = nullptr;
    QHBoxLayout* horizontalLayout_6 = nullptr;
    QLabel* itemTypeLabel = nullptr;
    QComboBox* itemTypeEdit = nullptr;
    QSpacerItem* horizontalSpacer_2 = nullptr;
    QSplitter* splitter = nullptr;
    QSplitter* previewSplitter = nullptr;
    QGroupBox* defaultPropertiesGroupBox = nullptr;
    QGridLayout* gridLayout_2 = nullptr;
    QTreeView* defaultPropertyEditor = nullptr;
    QGraphicsView* previewWidget = nullptr;
    QWidget* layoutWidget = nullptr;
    QVBoxLayout* verticalLayout_4 = nullptr;
    QSplitter* skinSplitter = nullptr;
    QWidget* layoutWidget1 = nullptr;
    QGridLayout* gridLayout = nullptr;
    QListView* skinList = nullptr;
    QToolButton* addSkinButton = nullptr;
    QToolButton* removeSkinButton = nullptr;
    QToolButton* duplicateSkinButton = nullptr;
    QSpacerItem* horizontalSpacer_3 = nullptr;
    QPushButton* setDefaultSkinButton = nullptr;
    QLabel* statesTitleLabel = nullptr;
    QTreeView* skinPropertyEditor = nullptr;
    QGroupBox* skinTransitionGroupBox = nullptr;
    QGridLayout* gridLayout_3 = nullptr;
    QLabel* skinTransitionDurationLabel = nullptr;
    QSpacerItem* horizontalSpacer_4 = nullptr;
    QLabel* skinTransitionEasingLabel = nullptr;
    QComboBox* skinTransitionEasingEdit = nullptr;
    QSpacerItem* verticalSpacer_2 = nullptr;
    QDoubleSpinBox* skinTransitionDurationEdit = nullptr;

    // The Background Images tab.
    QWidget* backgroundImageTab = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QHBoxLayout* horizontalLayout_3 = nullptr;
    QLabel* backgroundImageFilterLabel = nullptr;
    QComboBox* backgroundImageFilterEdit = nullptr;
    QPushButton* applyBackgroundImageFilterButton = nullptr;
    QSpacerItem* horizontalSpacer_5 = nullptr;
    CenteredIconGridView* imageList = nullptr;
    QHBoxLayout* horizontalLayout_9 = nullptr;
    QToolButton* addBackgroundImageButton = nullptr;
    QToolButton* removeBackgroundImageButton = nullptr;
    QSpacerItem* horizontalSpacer_6 = nullptr;
    QWidget* backgroundImageOrientations = nullptr;
    QHBoxLayout* horizontalLayout_8 = nullptr;
    QLabel* backgroundImageSettingsLabel = nullptr;
    QRadioButton* backgroundPortraitRadioButton = nullptr;
    QRadioButton* backgroundLandscapeRadioButton = nullptr;
    QRadioButton* backgroundAnyRadioButton = nullptr;

    // The Icons tab.
    QWidget* iconTab = nullptr;
    QVBoxLayout* verticalLayout_3 = nullptr;
    QListView* iconList = nullptr;
    QHBoxLayout* horizontalLayout_4 = nullptr;
    QToolButton* addIconButton = nullptr;
    QToolButton* removeIconButton = nullptr;
    QSpacerItem* horizontalSpacer_7 = nullptr;

    // The bottom row.
    QHBoxLayout* horizontalLayout = nullptr;
    QToolButton* undoButton = nullptr;
    QToolButton* redoButton = nullptr;
    QSpacerItem* horizontalSpacer_8 = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* doneButton = nullptr;

    // Builds the whole form on the page, names the page "ThemeEditor" when it has no name yet,
    // labels it and shows the Items tab.
    void setupUi(QWidget* page);
    // Sets every text of the form again, in the context "ThemeEditor"; the add and remove
    // buttons get empty texts (they show their icons), the undo and redo buttons "...".
    void retranslateUi(QWidget* page);

private:
    void setupItemTab(const QIcon& addIcon, const QIcon& removeIcon, const QIcon& copyIcon);
    void setupBackgroundImageTab(const QIcon& addIcon, const QIcon& removeIcon);
    void setupIconTab(const QIcon& addIcon, const QIcon& removeIcon);
};

namespace Ui {
class ThemeEditor : public Ui_ThemeEditor
{
};
} // namespace Ui
