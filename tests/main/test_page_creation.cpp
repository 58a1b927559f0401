#include "appengine/layout_library.h"
#include "appengine/selection_manager.h"
#include "appengine/theme_image_model.h"
#include "common/fill_layout.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"

#include <QStandardItemModel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

// The layout library lists one template, "Fill": a button taking the whole free area.
class PageCreationTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(TestUtil::startFillLayoutLibrary(folder.path())); }
    void TearDown() override { LayoutLibrary::destroyInstance(); }

    unsigned int create(int orientation = Orientation_LANDSCAPE)
    {
        document->clear();
        NewProjectData data;
        data.path = folder.filePath("hall.qvp");
        data.orientation = orientation;
        return document->createProject(data);
    }

    // A page with a switcher at the bottom: a new one listing the page, or an existing one.
    unsigned int addPage(const QString& name, unsigned int pageSwitcherId = UINT_MAX)
    {
        NewPageData data;
        data.name = name;
        data.navigationPosition = NavigationPosition_BOTTOM;
        data.pageSwitcherId = pageSwitcherId;
        data.pageSwitcherPages = {UINT_MAX};
        return document->addPage(data);
    }

    // In id order.
    std::vector<const Control*> controlsOf(unsigned int pageId) const
    {
        std::vector<const Control*> controls;
        for (unsigned int id : document->getPage(pageId).getControlIds())
            controls.push_back(&document->getControl(id));
        return controls;
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir folder;
    SelectionManager selection;
    std::unique_ptr<VelmoraDocument> document = std::make_unique<VelmoraDocument>(selection);
};

} // namespace

// A switcher bar takes 42 pixels at the top or bottom and 48 at a side; a row of navigation
// buttons only at the top or bottom.
TEST_F(PageCreationTest, TemplateFillsTheAreaTheNavigationLeavesFree)
{
    create();
    const struct
    {
        int position;
        bool buttons;
        QRect area;
    } cases[] = {
        {0, false, QRect(0, 0, 480, 272)},
        {NavigationPosition_TOP, false, QRect(QPoint(0, 42), QPoint(479, 271))},
        {NavigationPosition_RIGHT, false, QRect(QPoint(0, 0), QPoint(432, 271))},
        {NavigationPosition_BOTTOM, false, QRect(QPoint(0, 0), QPoint(479, 230))},
        {NavigationPosition_LEFT, false, QRect(QPoint(48, 0), QPoint(479, 271))},
        {NavigationPosition_TOP, true, QRect(QPoint(0, 42), QPoint(479, 271))},
        {NavigationPosition_RIGHT, true, QRect(0, 0, 480, 272)},
        {NavigationPosition_BOTTOM, true, QRect(QPoint(0, 0), QPoint(479, 230))},
    };
    int number = 0;
    for (const auto& c : cases) {
        NewPageData data;
        data.layoutName = "Fill";
        data.navigationPosition = c.position;
        if (c.buttons)
            data.navigationButtons = {{ButtonFunction_NEXT_PAGE, UINT_MAX}};
        const unsigned int pageId = document->addPage(data);
        EXPECT_EQ(document->getPage(pageId).getLayoutName(), "Fill");
        // The template's control comes first and has a default key; navigation buttons none.
        const Control* made = controlsOf(pageId).front();
        EXPECT_EQ(made->getGeometry(), c.area) << c.position << c.buttons;
        EXPECT_EQ(made->getName(), QString("button%1").arg(++number, 3, 10, QChar('0')));
    }
}

TEST_F(PageCreationTest, NavigationButtonsAreLaidOutInARow)
{
    const struct
    {
        int orientation, count, position, alignment;
        std::vector<int> lefts;
        QSize size;
        int top;
    } cases[] = {
        {1, 2, NavigationPosition_BOTTOM, Alignment_START, {4, 128}, {120, 42}, 226},
        {2, 6, NavigationPosition_TOP, Alignment_START, {4, 48, 93, 138, 182, 227}, {40, 42}, 4},
        {1, 1, NavigationPosition_RIGHT, Alignment_SPREAD, {4}, {120, 42}, 0},
        {1, 2, NavigationPosition_BOTTOM, Alignment_SPREAD, {4, 356}, {120, 42}, 226},
        {1, 2, NavigationPosition_TOP, Alignment_END, {232, 356}, {120, 42}, 4},
        {1, 2, NavigationPosition_LEFT, Alignment_CENTER, {118, 242}, {120, 42}, 0},
    };
    for (const auto& c : cases) {
        create(c.orientation);
        NewPageData data;
        data.navigationPosition = c.position;
        data.navigationAlignment = c.alignment;
        data.navigationButtons.assign(c.count, {ButtonFunction_NEXT_PAGE, UINT_MAX});
        std::vector<int> lefts;
        for (const Control* control : controlsOf(document->addPage(data))) {
            lefts.push_back(control->getGeometry().left());
            EXPECT_EQ(control->getGeometry().size(), c.size);
            EXPECT_EQ(control->getGeometry().top(), c.top);
        }
        EXPECT_EQ(lefts, c.lefts) << c.count << " " << c.alignment;
        EXPECT_EQ(data.pageSwitcherId, UINT_MAX);
    }

    // Captions and targets by function; a target the project does not hold is none.
    const unsigned int first = create();
    NewPageData data;
    data.navigationPosition = NavigationPosition_BOTTOM;
    data.navigationButtons = {{ButtonFunction_NEXT_PAGE, UINT_MAX},
                              {ButtonFunction_BACK, UINT_MAX},
                              {ButtonFunction_GO_TO_PAGE, first},
                              {ButtonFunction_GO_TO_PAGE, 77}};
    QStringList captions;
    std::vector<unsigned int> targets;
    for (const Control* control : controlsOf(document->addPage(data))) {
        captions << control->getCaption();
        targets.push_back(static_cast<const Button*>(control)->getFunctionPage());
    }
    EXPECT_EQ(captions, QStringList({"Next", "Back", "Page 1", ""}));
    EXPECT_EQ(targets, (std::vector<unsigned int>{UINT_MAX, UINT_MAX, first, UINT_MAX}));
}

TEST_F(PageCreationTest, PageSwitchersCountTheirPagesAndNameThem)
{
    const unsigned int first = create();
    NewPageData data;
    data.name = "A";
    data.navigationPosition = NavigationPosition_BOTTOM;
    data.pageSwitcherPages = {first, UINT_MAX};
    const unsigned int a = document->addPage(data);
    const unsigned int switcherId = data.pageSwitcherId;
    ASSERT_EQ(document->pageSwitcherOfPage(a), switcherId);
    const PageSwitcher& switcher = document->getPageSwitcher(switcherId);
    EXPECT_EQ(switcher.usageCount(), 1);
    EXPECT_EQ(switcher.getPageIds(), (std::vector<unsigned int>{first, a}));

    addPage("B", switcherId);
    EXPECT_EQ(switcher.usageCount(), 2);
    EXPECT_EQ(document->pageNamesUsingPageSwitcher(switcherId), "A, B");
    addPage("C", switcherId);
    // A switcher id the project no longer holds gives the page a switcher of its own.
    const unsigned int d = addPage("D", 77);
    EXPECT_EQ(document->pageNamesUsingPageSwitcher(switcherId), "A, B, C, ...");
    EXPECT_EQ(document->getPageSwitcher(document->pageSwitcherOfPage(d)).usageCount(), 1);
}

// Mode 1 gives copied controls that had a key new default keys, mode 3 keeps the keys, any
// other mode copies no controls; every copy shows the source's switcher.
TEST_F(PageCreationTest, DuplicateCopiesThePageWithItsControls)
{
    create();
    const unsigned int source = addPage("Lights");
    Page& page = document->getPage(source);
    page.setBackgroundColour(Qt::darkCyan);
    for (ControlType type :
         {ControlType_BUTTON, ControlType_BUTTON, ControlType_BUTTON, ControlType_LABEL}) {
        const unsigned int id = document->addControl(type);
        document->getControl(id).setPageId(source);
        document->getControl(id).setGeometry(QRect(10, 10 + 40 * int(id), 100, 30));
        page.getControlIds().insert(id);
    }
    document->getControl(*page.getControlIds().begin()).setName(QString());
    EXPECT_EQ(document->addControl(ControlType(9)), UINT_MAX);

    const struct
    {
        int mode;
        QStringList keys;
    } cases[] = {
        {VelmoraDocument::DuplicateRenamingControls, {"", "button004", "button005", "label002"}},
        {VelmoraDocument::DuplicateKeepingKeys, {"", "button002", "button003", "label001"}},
        {2, {}},
    };
    int usage = 1;
    for (const auto& c : cases) {
        const unsigned int copy = document->duplicatePage(source, c.mode);
        const Page& duplicate = document->getPage(copy);
        EXPECT_EQ(duplicate.getName(), "Copy of Lights");
        EXPECT_EQ(duplicate.getBackgroundColour(), QColor(Qt::darkCyan));
        EXPECT_EQ(duplicate.getPageSwitcherId(), page.getPageSwitcherId());
        EXPECT_EQ(document->getPageSwitcher(page.getPageSwitcherId()).usageCount(), ++usage);
        QStringList keys;
        auto original = page.getControlIds().begin();
        for (const Control* control : controlsOf(copy)) {
            keys << control->getName();
            EXPECT_EQ(control->getGeometry(), document->getControl(*original++).getGeometry());
        }
        EXPECT_EQ(keys, c.keys) << c.mode;
    }
    EXPECT_FALSE(document->isPageNameFree("Copy of Lights"));
    EXPECT_TRUE(document->isPageNameFree("lights"));
}

// A layout the library does not list is refused before the page or its images are made; a
// page whose template went after that check is built without it.
TEST_F(PageCreationTest, MissingLayoutCreatesNothing)
{
    create();
    ASSERT_TRUE(
        TestUtil::writeFile(folder.filePath("sky.png"), TestUtil::pngBytes(8, 8, Qt::blue)));
    NewPageData data;
    data.layoutName = "Gone";
    data.backgroundColour = QColor();
    data.backgroundImageFile = folder.filePath("sky.png");
    data.navigationPosition = NavigationPosition_LEFT;
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] { document->addPage(data); }), "Layout not found");
    EXPECT_EQ(document->getPages().size(), 1u);
    EXPECT_EQ(document->pageModel()->rowCount(), 1);
    EXPECT_EQ(document->backgroundImageModel()->rowCount(), 0);
    EXPECT_TRUE(document->getPageSwitchers().empty());
    EXPECT_EQ(document->defaultPageName(), "Page 2");

    NewPageData blank;
    const unsigned int pageId = document->addPage(blank);
    document->buildPageContents(pageId, data);
    const Page& page = document->getPage(pageId);
    EXPECT_TRUE(page.getControlIds().empty());
    EXPECT_TRUE(page.getLayoutName().isEmpty());
    EXPECT_NE(page.getPageSwitcherId(), UINT_MAX);
}
