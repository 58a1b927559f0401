#include "common/command_fixture.h"
#include "common/helpers.h"
#include "velmora_objects/page_switcher.h"
#include "widgets/page_navigation_page.h"
#include "widgets/page_switcher_editor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QWizard>
#include <gtest/gtest.h>

using namespace Velmora;

// Readable failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// A wizard page that registers fields of the pages before ours.
class FieldPage : public QWizardPage
{
public:
    using QWizardPage::registerField;
};

using TestUtil::choose;

QStringList texts(const QComboBox* combo)
{
    return TestUtil::rowTexts(combo->model());
}

class PageNavigationPageTest : public TestUtil::CommandFixture
{
protected:
    // A landscape project of three pages and a switcher at the left, centred, listing them.
    void SetUp() override
    {
        CommandFixture::SetUp();
        pages = {create(), addPage(), addPage()};
        left = document->addPageSwitcher(NavigationPosition_LEFT, Alignment_CENTER, pages);
        document->getPage(pages[0]).setPageSwitcherId(left);
        document->getPageSwitcher(left).incrementUsage();
    }

    // The page in page mode, shown, with the record taken.
    void open(const NewPageData& data = NewPageData())
    {
        page.setDocument(document.get());
        page.setNewPageData(data);
        page.resize(700, 500);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    bool edgeChoiceEnabled() const
    {
        return page.positionBox()->isEnabled() && page.alignmentBox()->isEnabled();
    }

    std::vector<unsigned int> pages;
    unsigned int left = UINT_MAX;
    PageNavigationPage page;
};

} // namespace

TEST_F(PageNavigationPageTest, TypesOfferTheirEdgesAndKeepWhatStillFits)
{
    open();
    EXPECT_EQ(page.type(), PageNavigationPage::NoNavigation);
    EXPECT_FALSE(edgeChoiceEnabled());
    EXPECT_TRUE(page.isComplete());

    // A fresh page switcher sits at the bottom; vertical edges are offered too.
    choose(page.typeBox(), "Page Switcher");
    EXPECT_EQ(texts(page.positionBox()), (QStringList{"Top", "Bottom", "Left", "Right"}));
    EXPECT_EQ(page.positionBox()->currentText(), "Bottom");
    EXPECT_EQ(page.position(), NavigationPosition_BOTTOM);
    EXPECT_EQ(page.alignment(), Alignment_START);
    EXPECT_TRUE(edgeChoiceEnabled());
    EXPECT_EQ(page.typeStack()->currentIndex(), 1);
    EXPECT_TRUE(page.pageSwitcherEditor()->isVisible());
    EXPECT_EQ(page.pageSwitcherEditor()->pageLimit(), 10);
    EXPECT_EQ(page.pageIds(), std::vector<unsigned int>{UINT_MAX}); // the new page joined
    choose(page.alignmentBox(), "Spread");
    EXPECT_EQ(page.alignment(), Alignment_SPREAD);

    // Edges that buttons cannot take become Top; Top and Bottom survive.
    const struct
    {
        const char* edge;
        int kept;
    } cases[] = {{"Left", NavigationPosition_TOP},
                 {"Right", NavigationPosition_TOP},
                 {"Bottom", NavigationPosition_BOTTOM},
                 {"Top", NavigationPosition_TOP}};
    for (const auto& c : cases) {
        choose(page.typeBox(), "Page Switcher");
        choose(page.positionBox(), c.edge);
        choose(page.typeBox(), "Buttons");
        EXPECT_EQ(page.position(), c.kept) << c.edge;
        EXPECT_EQ(texts(page.positionBox()), (QStringList{"Top", "Bottom"}));
    }
    EXPECT_EQ(page.alignment(), Alignment_SPREAD);
    EXPECT_TRUE(page.pageIds().empty());
    EXPECT_EQ(page.pageSwitcherId(), UINT_MAX);

    // Buttons need at least one button.
    QSignalSpy complete(&page, &QWizardPage::completeChanged);
    EXPECT_FALSE(page.isComplete());
    QTest::mouseClick(page.navButtonsEditor()->addButtonWidget(), Qt::LeftButton);
    EXPECT_EQ(complete.count(), 1);
    EXPECT_TRUE(page.isComplete());
    EXPECT_EQ(page.navButtons().size(), 1u);

    choose(page.typeBox(), "None");
    EXPECT_EQ(page.position(), 0);
    EXPECT_EQ(page.alignment(), 0);
    EXPECT_FALSE(edgeChoiceEnabled());
    EXPECT_TRUE(page.navButtons().empty());
    EXPECT_TRUE(page.isComplete());
}

TEST_F(PageNavigationPageTest, AnExistingSwitcherBringsItsEdgeAndAlignment)
{
    NewPageData data;
    data.navigationPosition = NavigationPosition_BOTTOM;
    open(data);
    PageSwitcherEditor* editor = page.pageSwitcherEditor();
    EXPECT_EQ(page.type(), PageNavigationPage::PageSwitcherNavigation);
    EXPECT_TRUE(edgeChoiceEnabled());

    QTest::mouseClick(editor->existingButton(), Qt::LeftButton);
    EXPECT_EQ(page.pageSwitcherId(), left);
    EXPECT_FALSE(edgeChoiceEnabled());
    EXPECT_EQ(page.positionBox()->currentText(), "Left");
    EXPECT_EQ(page.alignmentBox()->currentText(), "Center");
    EXPECT_EQ(page.position(), NavigationPosition_LEFT);
    EXPECT_EQ(editor->pageLimit(), 6);

    // A detour through Buttons moves the edge to Top; coming back restores the switcher's.
    choose(page.typeBox(), "Buttons");
    EXPECT_EQ(page.position(), NavigationPosition_TOP);
    EXPECT_TRUE(edgeChoiceEnabled());
    choose(page.typeBox(), "Page Switcher");
    EXPECT_EQ(page.position(), NavigationPosition_LEFT);
    EXPECT_EQ(page.positionBox()->currentText(), "Left");
    EXPECT_FALSE(edgeChoiceEnabled());

    // A new switcher again: the edge shown is the one it is made with.
    QTest::mouseClick(editor->newButton(), Qt::LeftButton);
    EXPECT_EQ(page.pageSwitcherId(), UINT_MAX);
    EXPECT_TRUE(edgeChoiceEnabled());
    choose(page.positionBox(), "Top");
    EXPECT_EQ(page.position(), NavigationPosition_TOP);
    EXPECT_EQ(page.alignment(), Alignment_CENTER);
    EXPECT_EQ(editor->pageLimit(), 10);
}

TEST_F(PageNavigationPageTest, TheRecordPreselectsTheNavigation)
{
    const struct
    {
        int position, alignment;
        unsigned int switcherId;
        std::vector<std::pair<ButtonFunction, unsigned int>> buttons;
        int type;
        unsigned int shownSwitcherId;
        bool edgeChoice;
    } cases[] = {
        {0, 0, UINT_MAX, {}, PageNavigationPage::NoNavigation, UINT_MAX, false},
        {NavigationPosition_TOP,
         Alignment_END,
         UINT_MAX,
         {{ButtonFunction_BACK, UINT_MAX}, {ButtonFunction_GO_TO_PAGE, 1}},
         PageNavigationPage::ButtonNavigation,
         UINT_MAX,
         true},
        {NavigationPosition_LEFT,
         Alignment_CENTER,
         0,
         {},
         PageNavigationPage::PageSwitcherNavigation,
         0,
         false},
        // A switcher that no longer exists is composed anew.
        {NavigationPosition_RIGHT,
         Alignment_END,
         7,
         {},
         PageNavigationPage::PageSwitcherNavigation,
         UINT_MAX,
         true},
    };
    for (const auto& c : cases) {
        PageNavigationPage fresh;
        fresh.setDocument(document.get());
        NewPageData data;
        data.navigationPosition = c.position;
        data.navigationAlignment = c.alignment;
        data.pageSwitcherId = c.switcherId == 0 ? left : c.switcherId;
        data.navigationButtons = c.buttons;
        fresh.setNewPageData(data);
        const unsigned int shown = c.shownSwitcherId == 0 ? left : c.shownSwitcherId;
        EXPECT_EQ(fresh.type(), c.type) << c.position;
        EXPECT_EQ(fresh.typeBox()->currentIndex(), c.type);
        EXPECT_EQ(fresh.typeStack()->currentIndex(), c.type);
        EXPECT_EQ(fresh.position(), c.position);
        EXPECT_EQ(fresh.alignment(), c.alignment);
        EXPECT_EQ(fresh.positionBox()->currentIndex() < 0, c.position == 0);
        EXPECT_EQ(fresh.alignmentBox()->currentData().toInt(), c.alignment);
        EXPECT_EQ(fresh.positionBox()->isEnabled(), c.edgeChoice) << c.position;
        EXPECT_EQ(fresh.pageSwitcherEditor()->pageSwitcherId(), shown) << c.position;
        EXPECT_EQ(int(fresh.navButtons().size()), int(c.buttons.size()));
        EXPECT_TRUE(fresh.isComplete()) << c.position;
    }
    PageNavigationPage withButtons;
    withButtons.setDocument(document.get());
    NewPageData data;
    data.navigationPosition = NavigationPosition_BOTTOM;
    data.navigationButtons = {{ButtonFunction_GO_TO_PAGE, pages[2]},
                              {ButtonFunction_BACK, UINT_MAX}};
    withButtons.setNewPageData(data);
    EXPECT_EQ(withButtons.navButtons(),
              (std::vector<NavButtonData>{{ButtonFunction_GO_TO_PAGE, pages[2]},
                                          {ButtonFunction_BACK, UINT_MAX}}));
}

TEST_F(PageNavigationPageTest, EnteringThePageTakesTheNameAndOrientationOfTheWizard)
{
    QWizard wizard;
    auto* first = new FieldPage;
    auto* name = new QLineEdit(first);
    auto* orientation = new QComboBox(first);
    orientation->addItems({"Landscape", "Portrait"});
    first->registerField("page_name", name);
    first->registerField("orientation", orientation, "currentIndex");
    wizard.addPage(first);
    auto* navigation = new PageNavigationPage;
    wizard.addPage(navigation);
    NewPageData data;
    data.navigationPosition = NavigationPosition_BOTTOM;
    navigation->setNewPageData(data);
    PageSwitcherEditor* editor = navigation->pageSwitcherEditor();
    EXPECT_EQ(editor->pageLimit(), 0); // no orientation yet: no room for the new page
    EXPECT_FALSE(navigation->isComplete());

    name->setText("Lobby");
    orientation->setCurrentIndex(1);
    QSignalSpy complete(navigation, &QWizardPage::completeChanged);
    navigation->initializePage();
    EXPECT_EQ(editor->pageLimit(), 6); // the bottom of a portrait screen
    EXPECT_EQ(editor->switcherView()->model()->index(0, 0).data().toString(), "Lobby");
    EXPECT_GE(complete.count(), 1);
    EXPECT_TRUE(navigation->isComplete());
    const int reported = complete.count();
    navigation->initializePage(); // the same orientation again changes nothing
    EXPECT_EQ(complete.count(), reported);
}
