#include "appengine/selection_manager.h"
#include "common/isolated_app_data.h"
#include "common/modal_answerer.h"
#include "main/velmora_document.h"
#include "widgets/page_list.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {

class PageListTest : public ::testing::Test
{
protected:
    // A project of three pages "A", "B", "C" shown in the list, in that order.
    void open(int orientation = 1)
    {
        NewProjectData data;
        data.name = "Hall";
        data.path = folder.filePath("hall.qvp");
        data.orientation = orientation;
        pages.push_back(document.createProject(data));
        document.setPageName(pages[0], "A");
        for (const char* name : {"B", "C"}) {
            NewPageData page;
            page.name = name;
            pages.push_back(document.addPage(page));
        }
        list.setDocumentModels(document);
        list.resize(200, 400);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    QModelIndex row(int r) const { return document.pageModel()->index(r, 0); }

    void click(int r, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                          list.visualRect(row(r)).center());
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir folder;
    SelectionManager selection;
    VelmoraDocument document{selection};
    std::vector<unsigned int> pages;
    PageList list;
};

} // namespace

TEST_F(PageListTest, SelectedRowsBecomeTheEditorsPageSelection)
{
    open();
    EXPECT_EQ(list.selectionModel(), document.pageSelectionModel());
    QSignalSpy current(&selection, &SelectionManager::currentPageChanged);
    struct Step
    {
        int row;
        Qt::KeyboardModifiers modifiers;
        std::set<int> selectedRows;
        int currentRow; // -1: no current page
    };
    const Step steps[] = {
        {1, Qt::NoModifier, {1}, 1},           {0, Qt::NoModifier, {0}, 0},
        {2, Qt::ShiftModifier, {0, 1, 2}, -1}, {1, Qt::ControlModifier, {0, 2}, -1},
        {2, Qt::ControlModifier, {0}, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.row);
        click(step.row, step.modifiers);
        std::set<unsigned int> expected;
        for (int r : step.selectedRows)
            expected.insert(pages[r]);
        EXPECT_EQ(selection.kind(), SelectionManager::SelectionKind_PAGES);
        EXPECT_EQ(selection.selectedIds(), expected);
        EXPECT_EQ(selection.currentPage(), step.currentRow < 0 ? UINT_MAX : pages[step.currentRow]);
    }
    EXPECT_EQ(current.count(), 4); // B, A, none, A

    // With no row selected the editor selects nothing, and the current page stays.
    list.clearSelection();
    EXPECT_TRUE(selection.isEmpty());
    EXPECT_EQ(selection.kind(), SelectionManager::SelectionKind_NONE);
    EXPECT_EQ(selection.currentPage(), pages[0]);
}

TEST_F(PageListTest, ContextMenuOffersPageActionsOnlyWhilePagesAreSelected)
{
    open();
    QAction create("Create Page"), duplicate("Duplicate Page"), raise("Raise Page"),
        lower("Lower Page"), remove("Delete");
    list.setActions({&create, &duplicate, &raise, &lower, &remove});
    const QStringList all = {"Duplicate Page", "Raise Page", "Lower Page",
                             "Delete",         "-",          "Create Page"};
    struct Case
    {
        const char* name;
        std::function<void()> select;
        QStringList texts;
    };
    const Case cases[] = {
        {"nothing", [&] { selection.clear(); }, {"Create Page"}},
        {"a control", [&] { selection.selectControl(7, true, true); }, {"Create Page"}},
        {"a page", [&] { click(1); }, all},
        {"two pages", [&] { click(2, Qt::ShiftModifier); }, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.select();
        QStringList texts;
        QObject* parent = nullptr;
        TestUtil::ModalAnswerer answers;
        answers.then([&](QWidget* window) {
            texts = TestUtil::menuTexts(qobject_cast<QMenu*>(window));
            parent = window->parent();
            window->close();
        });
        const QPoint at(10, 10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &event);
        EXPECT_EQ(answers.pending(), 0);
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(parent, &list);
    }

    // The entries are the editor's own actions.
    QSignalSpy deleted(&remove, &QAction::triggered);
    TestUtil::ModalAnswerer answers;
    answers.menu("Delete");
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            list.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list.viewport(), &event);
    EXPECT_EQ(deleted.count(), 1);
}

TEST_F(PageListTest, IconsAreShapedForTheProjectOrientation)
{
    const struct
    {
        int orientation;
        QSize screen;
        QSize icon;
    } cases[] = {{2, {272, 480}, {68, 120}}, {1, {480, 272}, {120, 68}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        document.clear();
        pages.clear();
        open(c.orientation);
        EXPECT_EQ(list.iconSize(), c.icon);
        // A thumbnail of the screen's shape is drawn at the full icon size.
        QPixmap thumbnail(c.screen);
        thumbnail.fill(Qt::red);
        document.pageModel()->setData(row(0), QIcon(thumbnail), Qt::DecorationRole);
        // The rows of the new project are laid out on the next turn of the event loop.
        QCoreApplication::processEvents();
        const QImage shot = list.viewport()->grab().toImage();
        QRect drawn;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == qRgb(255, 0, 0))
                    drawn |= QRect(x, y, 1, 1);
        EXPECT_EQ(drawn.size(), c.icon);
    }
}
