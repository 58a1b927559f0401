#include "widgets/page_navigation_page.h"

#include "core/assertion.h"
#include "main/new_page_data.h"
#include "main/velmora_document.h"
#include "velmora_objects/page_switcher.h"
#include "widgets/page_switcher_editor.h"
#include "widgets/project_orientation_field.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// A page of the stack holding one editor, edge to edge.
QWidget* editorPage(QWidget* editor)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor);
    return page;
}

} // namespace

PageNavigationPage::PageNavigationPage(QWidget* parent)
    : QWizardPage(parent), typeCombo(new QComboBox), positionCombo(new QComboBox),
      alignmentCombo(new QComboBox), stack(new QStackedWidget), nonePage(new QWidget),
      switcherEditor(new PageSwitcherEditor), buttonsEditor(new NavButtonsEditor)
{
    setTitle(tr("Navigation"));

    typeCombo->addItem(tr("None"), NoNavigation);
    typeCombo->addItem(tr("Page Switcher"), PageSwitcherNavigation);
    typeCombo->addItem(tr("Buttons"), ButtonNavigation);
    positionCombo->setIconSize(QSize(60, 40));
    alignmentCombo->addItem(tr("Start"), Velmora::Alignment_START);
    alignmentCombo->addItem(tr("End"), Velmora::Alignment_END);
    alignmentCombo->addItem(tr("Center"), Velmora::Alignment_CENTER);
    alignmentCombo->addItem(tr("Spread"), Velmora::Alignment_SPREAD);

    switcherPage = editorPage(switcherEditor);
    buttonsPage = editorPage(buttonsEditor);
    stack->addWidget(nonePage);
    stack->addWidget(switcherPage);
    stack->addWidget(buttonsPage);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Type")));
    row->addWidget(typeCombo);
    row->addWidget(new QLabel(tr("Position")));
    row->addWidget(positionCombo);
    row->addWidget(new QLabel(tr("Alignment")));
    row->addWidget(alignmentCombo);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addWidget(stack, 1);

    connect(typeCombo, &QComboBox::activated, this, &PageNavigationPage::onTypeChange);
    connect(positionCombo, &QComboBox::activated, this, &PageNavigationPage::onPositionChange);
    connect(alignmentCombo, &QComboBox::activated, this, &PageNavigationPage::onAlignmentChange);
    connect(switcherEditor, &PageSwitcherEditor::pageSwitcherIdChanged, this,
            &PageNavigationPage::onPageSwitcherChanged);
    connect(switcherEditor, &PageSwitcherEditor::validStateChanged, this,
            &PageNavigationPage::completeChanged);
    connect(buttonsEditor, &NavButtonsEditor::buttonCountChanged, this,
            &PageNavigationPage::completeChanged);

    enableEdgeChoice(false);
}

void PageNavigationPage::setDocument(const VelmoraDocument* document)
{
    pDocument = document;
    switcherEditor->setDocument(document);
    buttonsEditor->setDocument(document);
    orientation = document ? document->getOrientation() : 0;
}

unsigned int PageNavigationPage::pageSwitcherId() const
{
    return navigationType == PageSwitcherNavigation ? switcherEditor->pageSwitcherId() : UINT_MAX;
}

std::vector<unsigned int> PageNavigationPage::pageIds() const
{
    std::vector<unsigned int> ids;
    if (navigationType == PageSwitcherNavigation)
        switcherEditor->pageIds(ids);
    return ids;
}

std::vector<NavButtonData> PageNavigationPage::navButtons() const
{
    std::vector<NavButtonData> buttons;
    if (navigationType == ButtonNavigation)
        buttonsEditor->buttons(buttons);
    return buttons;
}

void PageNavigationPage::selectEntry(QComboBox* combo, int value)
{
    combo->setCurrentIndex(combo->findData(value));
}

void PageNavigationPage::enableEdgeChoice(bool enabled)
{
    positionCombo->setEnabled(enabled);
    alignmentCombo->setEnabled(enabled);
}

void PageNavigationPage::showTypePage(int type)
{
    stack->setCurrentIndex(type);
}

void PageNavigationPage::updatePositions()
{
    const int previous =
        positionCombo->currentIndex() < 0 ? 0 : positionCombo->currentData().toInt();
    positionCombo->clear();
    positionCombo->addItem(tr("Top"), Velmora::NavigationPosition_TOP);
    positionCombo->addItem(tr("Bottom"), Velmora::NavigationPosition_BOTTOM);
    const bool vertical = navigationType == PageSwitcherNavigation;
    if (vertical) {
        positionCombo->addItem(tr("Left"), Velmora::NavigationPosition_LEFT);
        positionCombo->addItem(tr("Right"), Velmora::NavigationPosition_RIGHT);
    }
    if (previous == Velmora::NavigationPosition_TOP ||
        previous == Velmora::NavigationPosition_BOTTOM)
        navigationPosition = previous;
    else if (previous == Velmora::NavigationPosition_RIGHT ||
             previous == Velmora::NavigationPosition_LEFT)
        navigationPosition = vertical ? previous : int(Velmora::NavigationPosition_TOP);
    selectEntry(positionCombo, navigationPosition);
}

void PageNavigationPage::onTypeChange(int type)
{
    navigationType = type;
    if (type != NoNavigation && navigationPosition == 0)
        navigationPosition = Velmora::NavigationPosition_BOTTOM;
    updatePositions();
    showTypePage(type);
    const bool existingSwitcher =
        type == PageSwitcherNavigation && switcherEditor->pageSwitcherId() != UINT_MAX;
    enableEdgeChoice(type == ButtonNavigation ||
                     (type == PageSwitcherNavigation && !existingSwitcher));
    if (existingSwitcher) {
        // An existing switcher keeps its own edge, also after a detour through Buttons moved
        // the choice to Top.
        onPageSwitcherChanged(switcherEditor->pageSwitcherId());
    } else if (type != NoNavigation) {
        navigationPosition = positionCombo->currentData().toInt();
        navigationAlignment = alignmentCombo->currentData().toInt();
    } else {
        navigationPosition = 0;
        navigationAlignment = 0;
    }
    if (type == PageSwitcherNavigation)
        switcherEditor->setPosition(navigationPosition);
    emit completeChanged();
}

void PageNavigationPage::onPositionChange(int index)
{
    navigationPosition = positionCombo->itemData(index).toInt();
    switcherEditor->setPosition(navigationPosition);
}

void PageNavigationPage::onAlignmentChange(int index)
{
    navigationAlignment = alignmentCombo->itemData(index).toInt();
}

void PageNavigationPage::onPageSwitcherChanged(unsigned int id)
{
    enableEdgeChoice(id == UINT_MAX);
    if (id == UINT_MAX)
        return;
    VELMORA_ASSERT(pDocument);
    const Velmora::PageSwitcher& pageSwitcher = pDocument->getPageSwitcher(id);
    navigationPosition = pageSwitcher.getPosition();
    navigationAlignment = pageSwitcher.getAlignment();
    selectEntry(positionCombo, navigationPosition);
    selectEntry(alignmentCombo, navigationAlignment);
    switcherEditor->setPosition(navigationPosition);
}

void PageNavigationPage::onPageCountChange()
{
    emit completeChanged();
}

void PageNavigationPage::initializePage()
{
    switcherEditor->setNewPageName(field(QStringLiteral("page_name")).toString());
    const QVariant orientationField = projectOrientationField(wizard());
    if (orientationField.isNull())
        return;
    const int fieldOrientation = orientationField.toInt() + 1;
    if (fieldOrientation == orientation)
        return;
    orientation = fieldOrientation;
    switcherEditor->setOrientation(orientation);
    emit completeChanged();
}

bool PageNavigationPage::isComplete() const
{
    switch (navigationType) {
    case PageSwitcherNavigation:
        return switcherEditor->isValid();
    case ButtonNavigation:
        return buttonsEditor->buttonCount() > 0;
    default:
        return true;
    }
}

void PageNavigationPage::setNewPageData(const NewPageData& data)
{
    navigationPosition = data.navigationPosition;
    navigationAlignment = data.navigationAlignment;
    switcherEditor->addNewPage();
    if (navigationPosition != 0) {
        navigationType = data.navigationButtons.empty() ? PageSwitcherNavigation : ButtonNavigation;
        updatePositions();
        selectEntry(alignmentCombo, navigationAlignment);
        if (navigationType == ButtonNavigation) {
            enableEdgeChoice(true);
            std::vector<NavButtonData> buttons;
            for (const auto& [function, pageId] : data.navigationButtons)
                buttons.push_back(NavButtonData{function, pageId});
            buttonsEditor->setButtons(buttons);
        } else {
            // A switcher removed since the record was made (its page was undone, say) is
            // composed anew.
            unsigned int id = data.pageSwitcherId;
            if (id != UINT_MAX && !(pDocument && pDocument->getPageSwitchers().exists(id)))
                id = UINT_MAX;
            enableEdgeChoice(id == UINT_MAX);
            switcherEditor->setPosition(navigationPosition);
            const QSignalBlocker blocker(switcherEditor);
            switcherEditor->setPageSwitcherId(id);
        }
    } else {
        navigationType = NoNavigation;
        updatePositions();
        enableEdgeChoice(false);
    }
    typeCombo->setCurrentIndex(navigationType);
    showTypePage(navigationType);
    emit completeChanged();
}
