#pragma once

#include "widgets/nav_buttons_editor.h"

#include <QWizardPage>
#include <climits>
#include <vector>

class PageSwitcherEditor;
class QComboBox;
class QStackedWidget;
class VelmoraDocument;
struct NewPageData;

// The "Navigation" page of the new-page wizard, its last: how the panel's user leaves the new
// page — no navigation, a page switcher (an existing one or a new one composed of pages) at
// one edge, or up to three navigation buttons. Vertical edges are offered only to page
// switchers. An existing switcher brings its own edge and alignment, so both choices are
// disabled while one is chosen. The page is complete, and the wizard can finish, when the
// chosen navigation is usable: always for none, a switcher within its page limit, at least one
// button.
class PageNavigationPage : public QWizardPage
{
    Q_OBJECT

public:
    // The index and data of the Type entries.
    enum NavigationType
    {
        NoNavigation = 0,
        PageSwitcherNavigation = 1,
        ButtonNavigation = 2
    };

    explicit PageNavigationPage(QWidget* parent = nullptr);

    // The open project (page mode): its pages and switchers are offered, and its orientation
    // gives the switcher's page limit. Not owned; may stay null (a new project).
    void setDocument(const VelmoraDocument* document);
    // Takes the record's navigation, the new page joining the offered pages. A new switcher's
    // page list is not taken: it is composed afresh in each run.
    void setNewPageData(const NewPageData& data);

    int type() const { return navigationType; }
    // 1 Top, 2 Right, 3 Bottom, 4 Left; 0 for no navigation.
    int position() const { return navigationPosition; }
    // 0 Start, 1 End, 2 Center, 3 Spread; 0 for no navigation.
    int alignment() const { return navigationAlignment; }
    // The chosen switcher (UINT_MAX: a new one) for a page switcher, else UINT_MAX.
    unsigned int pageSwitcherId() const;
    // The pages of a page switcher in bar order (UINT_MAX: the new page), else none.
    std::vector<unsigned int> pageIds() const;
    // The buttons, else none.
    std::vector<NavButtonData> navButtons() const;

    void initializePage() override;
    bool isComplete() const override;

    // For tests.
    QComboBox* typeBox() const { return typeCombo; }
    QComboBox* positionBox() const { return positionCombo; }
    QComboBox* alignmentBox() const { return alignmentCombo; }
    QStackedWidget* typeStack() const { return stack; }
    PageSwitcherEditor* pageSwitcherEditor() const { return switcherEditor; }
    NavButtonsEditor* navButtonsEditor() const { return buttonsEditor; }

public slots:
    void onTypeChange(int type);
    void onPositionChange(int index);
    void onAlignmentChange(int index);
    void onPageSwitcherChanged(unsigned int id);
    void onPageCountChange();

private:
    // Refills the Position entries for the type, keeping the edge where it still fits.
    void updatePositions();
    void showTypePage(int type);
    void selectEntry(QComboBox* combo, int value);
    void enableEdgeChoice(bool enabled);

    const VelmoraDocument* pDocument = nullptr;
    int navigationType = NoNavigation;
    int navigationPosition = 0;
    int navigationAlignment = 0;
    int orientation = 0;
    QComboBox* typeCombo;
    QComboBox* positionCombo;
    QComboBox* alignmentCombo;
    QStackedWidget* stack;
    QWidget* nonePage;
    QWidget* switcherPage;
    QWidget* buttonsPage;
    PageSwitcherEditor* switcherEditor;
    NavButtonsEditor* buttonsEditor;
};
