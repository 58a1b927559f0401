#include "widgets/theme_editor/theme_editor_form.h"

#include "gui/centered_icon_grid_view.h"
#include "widgets/theme_editor/theme_editor_resources.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFont>
#include <QGraphicsView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpacerItem>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

template <typename T> T* named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// Gives the widget the policy and stretch factors while keeping its height-for-width flag.
void setPolicy(QWidget* widget, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical,
               int horizontalStretch = 0, int verticalStretch = 0)
{
    QSizePolicy policy(horizontal, vertical);
    policy.setHorizontalStretch(horizontalStretch);
    policy.setVerticalStretch(verticalStretch);
    policy.setHeightForWidth(widget->sizePolicy().hasHeightForWidth());
    widget->setSizePolicy(policy);
}

QLabel* rightAlignedLabel(QWidget* parent, const char* name)
{
    auto* label = named(new QLabel(parent), name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// An add, remove or copy button that shows only its icon.
QToolButton* iconButton(QWidget* parent, const char* name, const QIcon& icon)
{
    auto* button = named(new QToolButton(parent), name);
    button->setIcon(icon);
    button->setAutoRaise(true);
    return button;
}

QIcon resourceIcon(const char* path)
{
    QIcon icon;
    icon.addFile(QString::fromLatin1(path), QSize(), QIcon::Normal, QIcon::Off);
    return icon;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("ThemeEditor", text);
}

} // namespace

void Ui_ThemeEditor::setupUi(QWidget* page)
{
    if (page->objectName().isEmpty())
        page->setObjectName(QStringLiteral("ThemeEditor"));
    page->resize(743, 481);

    loadThemeEditorResources();
    const QIcon addIcon = resourceIcon(":/icons/16x16/list_add.png");
    const QIcon removeIcon = resourceIcon(":/icons/16x16/list_remove.png");
    const QIcon copyIcon = resourceIcon(":/icons/16x16/copy.png");

    verticalLayout = named(new QVBoxLayout(page), "verticalLayout");
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    captionLabel = named(new QLabel(page), "captionLabel");
    QFont captionFont;
    captionFont.setPointSize(12);
    captionLabel->setFont(captionFont);
    verticalLayout->addWidget(captionLabel);

    themeNameContainer = named(new QWidget(page), "themeNameContainer");
    horizontalLayout_2 = named(new QHBoxLayout(themeNameContainer), "horizontalLayout_2");
    horizontalLayout_2->setContentsMargins(0, 0, 0, 0);
    themeNameLabel = rightAlignedLabel(themeNameContainer, "themeNameLabel");
    horizontalLayout_2->addWidget(themeNameLabel);
    nameEdit = named(new QLineEdit(themeNameContainer), "nameEdit");
    setPolicy(nameEdit, QSizePolicy::Expanding, QSizePolicy::Fixed);
    nameEdit->setMinimumSize(QSize(200, 0));
    horizontalLayout_2->addWidget(nameEdit);
    horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_2->addItem(horizontalSpacer);
    verticalLayout->addWidget(themeNameContainer);
    verticalSpacer = new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout->addItem(verticalSpacer);

    tabWidget = named(new QTabWidget(page), "tabWidget");
    setPolicy(tabWidget, QSizePolicy::Expanding, QSizePolicy::Expanding, 0, 1);
    setupItemTab(addIcon, removeIcon, copyIcon);
    setupBackgroundImageTab(addIcon, removeIcon);
    setupIconTab(addIcon, removeIcon);
    verticalLayout->addWidget(tabWidget);

    horizontalLayout = named(new QHBoxLayout(), "horizontalLayout");
    undoButton = named(new QToolButton(page), "undoButton");
    horizontalLayout->addWidget(undoButton);
    redoButton = named(new QToolButton(page), "redoButton");
    horizontalLayout->addWidget(redoButton);
    horizontalSpacer_8 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout->addItem(horizontalSpacer_8);
    cancelButton = named(new QPushButton(page), "cancelButton");
    horizontalLayout->addWidget(cancelButton);
    doneButton = named(new QPushButton(page), "doneButton");
    horizontalLayout->addWidget(doneButton);
    verticalLayout->addLayout(horizontalLayout);

    QWidget::setTabOrder(nameEdit, addBackgroundImageButton);
    QWidget::setTabOrder(addBackgroundImageButton, removeBackgroundImageButton);
    QWidget::setTabOrder(removeBackgroundImageButton, cancelButton);
    QWidget::setTabOrder(cancelButton, doneButton);

    retranslateUi(page);
    tabWidget->setCurrentIndex(0);
}

void Ui_ThemeEditor::setupItemTab(const QIcon& addIcon, const QIcon& removeIcon,
                                  const QIcon& copyIcon)
{
    itemTab = named(new QWidget(), "itemTab");
    verticalLayout_5 = named(new QVBoxLayout(itemTab), "verticalLayout_5");
    horizontalLayout_6 = named(new QHBoxLayout(), "horizontalLayout_6");
    itemTypeLabel = rightAlignedLabel(itemTab, "itemTypeLabel");
    horizontalLayout_6->addWidget(itemTypeLabel);
    itemTypeEdit = named(new QComboBox(itemTab), "itemTypeEdit");
    horizontalLayout_6->addWidget(itemTypeEdit);
    horizontalSpacer_2 = new QSpacerItem(0, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_6->addItem(horizontalSpacer_2);
    verticalLayout_5->addLayout(horizontalLayout_6);

    splitter = named(new QSplitter(itemTab), "splitter");
    setPolicy(splitter, QSizePolicy::Expanding, QSizePolicy::Expanding);
    splitter->setOrientation(Qt::Horizontal);

    // The preview over the default properties, which are few: the states' property sheet
    // beside them gets the width.
    previewSplitter = named(new QSplitter(splitter), "previewSplitter");
    previewSplitter->setOrientation(Qt::Vertical);
    previewSplitter->setChildrenCollapsible(false);
    previewWidget = named(new QGraphicsView(previewSplitter), "previewWidget");
    setPolicy(previewWidget, QSizePolicy::Expanding, QSizePolicy::Expanding, 1, 1);
    previewSplitter->addWidget(previewWidget);

    defaultPropertiesGroupBox = named(new QGroupBox(previewSplitter), "defaultPropertiesGroupBox");
    setPolicy(defaultPropertiesGroupBox, QSizePolicy::Preferred, QSizePolicy::Expanding, 0, 1);
    gridLayout_2 = named(new QGridLayout(defaultPropertiesGroupBox), "gridLayout_2");
    defaultPropertyEditor =
        named(new QTreeView(defaultPropertiesGroupBox), "defaultPropertyEditor");
    setPolicy(defaultPropertyEditor, QSizePolicy::Expanding, QSizePolicy::Expanding, 0, 1);
    gridLayout_2->addWidget(defaultPropertyEditor, 0, 0, 1, 1);
    previewSplitter->addWidget(defaultPropertiesGroupBox);
    previewSplitter->setStretchFactor(0, 1);
    previewSplitter->setStretchFactor(1, 0);
    splitter->addWidget(previewSplitter);

    layoutWidget = named(new QWidget(splitter), "layoutWidget");
    verticalLayout_4 = named(new QVBoxLayout(layoutWidget), "verticalLayout_4");
    verticalLayout_4->setContentsMargins(0, 0, 0, 0);
    skinSplitter = named(new QSplitter(layoutWidget), "skinSplitter");
    skinSplitter->setOrientation(Qt::Vertical);
    skinSplitter->setChildrenCollapsible(false);

    // The states list with its buttons, above the state's property sheet.
    layoutWidget1 = named(new QWidget(skinSplitter), "layoutWidget1");
    gridLayout = named(new QGridLayout(layoutWidget1), "gridLayout");
    gridLayout->setContentsMargins(0, 0, 0, 0);
    skinList = named(new QListView(layoutWidget1), "skinList");
    setPolicy(skinList, QSizePolicy::Preferred, QSizePolicy::Expanding, 0, 1);
    gridLayout->addWidget(skinList, 1, 0, 1, 5);
    addSkinButton = iconButton(layoutWidget1, "addSkinButton", addIcon);
    gridLayout->addWidget(addSkinButton, 2, 0, 1, 1);
    removeSkinButton = iconButton(layoutWidget1, "removeSkinButton", removeIcon);
    gridLayout->addWidget(removeSkinButton, 2, 1, 1, 1);
    duplicateSkinButton = iconButton(layoutWidget1, "duplicateSkinButton", copyIcon);
    gridLayout->addWidget(duplicateSkinButton, 2, 2, 1, 1);
    horizontalSpacer_3 =
        new QSpacerItem(0, 20, QSizePolicy::MinimumExpanding, QSizePolicy::Minimum);
    gridLayout->addItem(horizontalSpacer_3, 2, 4, 1, 1);
    setDefaultSkinButton = named(new QPushButton(layoutWidget1), "setDefaultSkinButton");
    gridLayout->addWidget(setDefaultSkinButton, 2, 3, 1, 1);
    statesTitleLabel = named(new QLabel(layoutWidget1), "statesTitleLabel");
    gridLayout->addWidget(statesTitleLabel, 0, 0, 1, 5);
    skinSplitter->addWidget(layoutWidget1);

    skinPropertyEditor = named(new QTreeView(skinSplitter), "skinPropertyEditor");
    setPolicy(skinPropertyEditor, QSizePolicy::Expanding, QSizePolicy::Expanding, 1, 1);
    skinSplitter->addWidget(skinPropertyEditor);
    // The sheet takes the height; the states are few.
    skinSplitter->setStretchFactor(0, 0);
    skinSplitter->setStretchFactor(1, 1);
    skinSplitter->setSizes({1, 3});
    verticalLayout_4->addWidget(skinSplitter);

    // Two rows of settings, no taller than they need.
    skinTransitionGroupBox = named(new QGroupBox(layoutWidget), "skinTransitionGroupBox");
    setPolicy(skinTransitionGroupBox, QSizePolicy::Preferred, QSizePolicy::Maximum);
    gridLayout_3 = named(new QGridLayout(skinTransitionGroupBox), "gridLayout_3");
    skinTransitionDurationLabel =
        rightAlignedLabel(skinTransitionGroupBox, "skinTransitionDurationLabel");
    gridLayout_3->addWidget(skinTransitionDurationLabel, 0, 0, 1, 1);
    horizontalSpacer_4 = new QSpacerItem(82, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    gridLayout_3->addItem(horizontalSpacer_4, 0, 2, 1, 1);
    skinTransitionEasingLabel =
        rightAlignedLabel(skinTransitionGroupBox, "skinTransitionEasingLabel");
    gridLayout_3->addWidget(skinTransitionEasingLabel, 1, 0, 1, 1);
    skinTransitionEasingEdit =
        named(new QComboBox(skinTransitionGroupBox), "skinTransitionEasingEdit");
    gridLayout_3->addWidget(skinTransitionEasingEdit, 1, 1, 1, 1);
    verticalSpacer_2 = new QSpacerItem(20, 5, QSizePolicy::Minimum, QSizePolicy::Expanding);
    gridLayout_3->addItem(verticalSpacer_2, 2, 1, 1, 1);
    skinTransitionDurationEdit =
        named(new QDoubleSpinBox(skinTransitionGroupBox), "skinTransitionDurationEdit");
    // Two million one hundred thousand seconds; the minimum, decimals and step stay 0, 2, 1.
    skinTransitionDurationEdit->setMaximum(2100000.0);
    gridLayout_3->addWidget(skinTransitionDurationEdit, 0, 1, 1, 1);
    verticalLayout_4->addWidget(skinTransitionGroupBox);
    splitter->addWidget(layoutWidget);
    // The preview column keeps the width its samples need; the states' column takes the rest.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    verticalLayout_5->addWidget(splitter);

    tabWidget->addTab(itemTab, QString());
}

void Ui_ThemeEditor::setupBackgroundImageTab(const QIcon& addIcon, const QIcon& removeIcon)
{
    backgroundImageTab = named(new QWidget(), "backgroundImageTab");
    verticalLayout_2 = named(new QVBoxLayout(backgroundImageTab), "verticalLayout_2");
    horizontalLayout_3 = named(new QHBoxLayout(), "horizontalLayout_3");
    backgroundImageFilterLabel =
        rightAlignedLabel(backgroundImageTab, "backgroundImageFilterLabel");
    horizontalLayout_3->addWidget(backgroundImageFilterLabel);
    backgroundImageFilterEdit =
        named(new QComboBox(backgroundImageTab), "backgroundImageFilterEdit");
    horizontalLayout_3->addWidget(backgroundImageFilterEdit);
    applyBackgroundImageFilterButton =
        named(new QPushButton(backgroundImageTab), "applyBackgroundImageFilterButton");
    horizontalLayout_3->addWidget(applyBackgroundImageFilterButton);
    horizontalSpacer_5 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_3->addItem(horizontalSpacer_5);
    verticalLayout_2->addLayout(horizontalLayout_3);

    imageList = named(new CenteredIconGridView(backgroundImageTab), "imageList");
    setPolicy(imageList, QSizePolicy::Preferred, QSizePolicy::Expanding);
    verticalLayout_2->addWidget(imageList);

    horizontalLayout_9 = named(new QHBoxLayout(), "horizontalLayout_9");
    addBackgroundImageButton = iconButton(backgroundImageTab, "addBackgroundImageButton", addIcon);
    horizontalLayout_9->addWidget(addBackgroundImageButton);
    removeBackgroundImageButton =
        iconButton(backgroundImageTab, "removeBackgroundImageButton", removeIcon);
    horizontalLayout_9->addWidget(removeBackgroundImageButton);
    horizontalSpacer_6 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_9->addItem(horizontalSpacer_6);

    // The orientation of the selected images; the page sets the three states itself, so they are
    // not exclusive and none is checked here.
    backgroundImageOrientations =
        named(new QWidget(backgroundImageTab), "backgroundImageOrientations");
    horizontalLayout_8 = named(new QHBoxLayout(backgroundImageOrientations), "horizontalLayout_8");
    horizontalLayout_8->setContentsMargins(0, 0, 0, 0);
    backgroundImageSettingsLabel =
        rightAlignedLabel(backgroundImageOrientations, "backgroundImageSettingsLabel");
    horizontalLayout_8->addWidget(backgroundImageSettingsLabel);
    for (auto [button, name] :
         {std::pair{&backgroundPortraitRadioButton, "backgroundPortraitRadioButton"},
          std::pair{&backgroundLandscapeRadioButton, "backgroundLandscapeRadioButton"},
          std::pair{&backgroundAnyRadioButton, "backgroundAnyRadioButton"}}) {
        *button = named(new QRadioButton(backgroundImageOrientations), name);
        (*button)->setAutoExclusive(false);
        horizontalLayout_8->addWidget(*button);
    }
    horizontalLayout_9->addWidget(backgroundImageOrientations);
    verticalLayout_2->addLayout(horizontalLayout_9);

    tabWidget->addTab(backgroundImageTab, QString());
}

void Ui_ThemeEditor::setupIconTab(const QIcon& addIcon, const QIcon& removeIcon)
{
    iconTab = named(new QWidget(), "iconTab");
    verticalLayout_3 = named(new QVBoxLayout(iconTab), "verticalLayout_3");
    iconList = named(new QListView(iconTab), "iconList");
    iconList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The icon mode would make the items movable; the static movement set after it holds.
    iconList->setViewMode(QListView::IconMode);
    iconList->setMovement(QListView::Static);
    verticalLayout_3->addWidget(iconList);

    horizontalLayout_4 = named(new QHBoxLayout(), "horizontalLayout_4");
    addIconButton = iconButton(iconTab, "addIconButton", addIcon);
    horizontalLayout_4->addWidget(addIconButton);
    removeIconButton = iconButton(iconTab, "removeIconButton", removeIcon);
    horizontalLayout_4->addWidget(removeIconButton);
    horizontalSpacer_7 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_4->addItem(horizontalSpacer_7);
    verticalLayout_3->addLayout(horizontalLayout_4);

    tabWidget->addTab(iconTab, QString());
}

void Ui_ThemeEditor::retranslateUi(QWidget* page)
{
    page->setWindowTitle(tr("Theme Editor"));
    captionLabel->setText(tr("Edit Theme"));
    themeNameLabel->setText(tr("Theme name"));
    itemTypeLabel->setText(tr("Item type"));
    defaultPropertiesGroupBox->setTitle(tr("Default Properties"));
    for (QToolButton* add : {addSkinButton, addBackgroundImageButton, addIconButton}) {
        add->setToolTip(tr("Add"));
        add->setText(QString());
    }
    for (QToolButton* remove : {removeSkinButton, removeBackgroundImageButton, removeIconButton}) {
        remove->setToolTip(tr("Remove"));
        remove->setText(QString());
    }
    duplicateSkinButton->setToolTip(tr("Duplicate"));
    duplicateSkinButton->setText(tr("Duplicate State"));
    setDefaultSkinButton->setText(tr("Set Default"));
    statesTitleLabel->setText(tr("Item states"));
    skinTransitionGroupBox->setTitle(tr("Transition"));
    skinTransitionDurationLabel->setText(tr("Duration"));
    skinTransitionEasingLabel->setText(tr("Easing"));
    skinTransitionDurationEdit->setSuffix(tr("secs"));
    backgroundImageFilterLabel->setText(tr("Filter"));
    applyBackgroundImageFilterButton->setText(tr("Apply"));
    backgroundImageSettingsLabel->setText(tr("Image orientation:"));
    backgroundPortraitRadioButton->setText(tr("Portrait"));
    backgroundLandscapeRadioButton->setText(tr("Landscape"));
    backgroundAnyRadioButton->setText(tr("Any"));
    undoButton->setText(tr("..."));
    redoButton->setText(tr("..."));
    cancelButton->setText(tr("Cancel"));
    doneButton->setText(tr("Done"));
    // Through the tabs' current places, so that moved tabs keep their own titles.
    tabWidget->setTabText(tabWidget->indexOf(itemTab), tr("Items"));
    tabWidget->setTabText(tabWidget->indexOf(backgroundImageTab), tr("Background Images"));
    tabWidget->setTabText(tabWidget->indexOf(iconTab), tr("Icons"));
}
