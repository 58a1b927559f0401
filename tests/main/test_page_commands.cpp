#include "appengine/layout_library.h"
#include "common/command_fixture.h"
#include "common/fill_layout.h"
#include "common/helpers.h"
#include "main/control_commands.h"
#include "main/page_commands.h"
#include "main/page_switcher_commands.h"
#include "velmora_objects/hex_fixture.h"

#include <random>

using namespace Velmora;

namespace {

using PageCommands = TestUtil::CommandFixture;

} // namespace

// The removed page takes its controls (with their IR slots), its places in switcher lists, its
// last switcher and the targets of Go To Page buttons elsewhere; undo puts all of it back.
TEST_F(PageCommands, RemovingAPageAndUndoingItRestoresEverythingItTook)
{
    const unsigned int home = create();
    const unsigned int page = addSwitcherPage();
    const unsigned int own = document->pageSwitcherOfPage(page);
    const unsigned int other = document->pageSwitcherOfPage(addSwitcherPage());
    document->getPageSwitcher(other).insertPage(home, 1);
    document->getPageSwitcher(other).insertPage(page, 2);
    const unsigned int goTo = addGoToButton(home, page);
    const unsigned int slider = addControl(page, ControlType_SLIDER);
    giveIRSlot(slider, Action_INCREMENT, 3);
    giveIRSlot(slider, Action_DECREMENT, 4);
    // A button on the page that leads to the page leaves and comes back with it, untouched.
    addGoToButton(page, page);
    selection.selectControl(slider, true, true);
    const QByteArray before = bytes();
    log.take();

    push(new RemovePageCommand(page, *document));
    EXPECT_EQ(log.take(), QStringList({QString("SwitcherRemoved %1").arg(own),
                                       QString("PageRemoved %1").arg(page),
                                       QString("ControlsChanged %1").arg(goTo)}));
    EXPECT_FALSE(document->pageExists(page));
    EXPECT_FALSE(document->getPageSwitchers().exists(own));
    EXPECT_EQ(document->getPageSwitcher(other).getPageIds().size(), 2u);
    EXPECT_EQ(document->modControl<Button>(goTo)->getFunctionPage(), UINT_MAX);
    EXPECT_TRUE(document->getIRSlots().empty());
    EXPECT_TRUE(selection.isEmpty());
    EXPECT_EQ(fault(), "");

    document->undoStack().undo();
    EXPECT_EQ(log.take(), QStringList({QString("PageAdded %1 x1").arg(page),
                                       QString("ControlsChanged %1").arg(goTo)}));
    EXPECT_EQ(document->getPageSwitcher(own).usageCount(), 1);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(fault(), "");
}

// A file whose switcher lists a page twice loads with the page listed once; removing the page
// takes it out of the list, and undo puts the list back as it was loaded.
TEST_F(PageCommands, APageListedTwiceInAFileLeavesItsSwitcherWhenRemoved)
{
    const QString path = folder.filePath("twice.qvp");
    ASSERT_TRUE(
        TestUtil::writeFile(path, HexFixture::load("bad/project/switcher_lists_page_twice")));
    document->load(path);
    EXPECT_EQ(document->getPageSwitcher(0).getPageIds(), std::vector<unsigned int>({0, 1}));
    const QByteArray loaded = bytes();

    push(new RemovePageCommand(0, *document));
    EXPECT_EQ(document->getPageSwitcher(0).getPageIds(), std::vector<unsigned int>({1}));
    EXPECT_EQ(fault(), "");
    document->undoStack().undo();
    EXPECT_EQ(bytes(), loaded);
    EXPECT_EQ(fault(), "");
}

// An added page keeps its id: Execution 0 on the first run, 2 on a redo. The switcher order
// of the "Add Page" group takes the new page where it holds UINT_MAX, and goes back first.
TEST_F(PageCommands, AddedPageComesBackUnderItsId)
{
    create();
    const unsigned int source = addSwitcherPage();
    const unsigned int bar = document->pageSwitcherOfPage(source);
    const QByteArray before = bytes();
    CommandGroup group(CommandGroup::Action_ADD_PAGE);
    NewPageData data;
    data.navigationPosition = NavigationPosition_BOTTOM;
    data.pageSwitcherId = bar;
    auto* add = new AddPageCommand(data, *document, group.parent());
    (new SetPageSwitcherPagesCommand(bar, {UINT_MAX, source}, *document, group.parent()))
        ->setNewPageId(add->newPageId());
    log.take();

    group.push(document->undoStack());
    const unsigned int page = *add->newPageId();
    const QString barEvent = QString("SwitcherChanged %1").arg(bar);
    EXPECT_EQ(log.take(), QStringList({QString("PageAdded %1 x0").arg(page), barEvent}));
    EXPECT_EQ(document->getPageSwitcher(bar).getPageIds(),
              std::vector<unsigned int>({page, source}));
    const QByteArray after = bytes();
    document->undoStack().undo();
    EXPECT_EQ(log.take(), QStringList({barEvent, QString("PageRemoved %1").arg(page)}));
    EXPECT_EQ(bytes(), before);
    document->undoStack().redo();
    EXPECT_EQ(log.take(), QStringList({QString("PageAdded %1 x2").arg(page), barEvent}));
    EXPECT_EQ(bytes(), after);
}

// Undoing moves puts every sort value back, so a page restored later finds its old place
// free: A B C, remove B, raise C, undo both gives A B C again.
TEST_F(PageCommands, PageOrderComesBackExactly)
{
    const unsigned int a = create();
    const unsigned int b = addPage();
    const unsigned int c = addPage();
    const QByteArray before = bytes();
    push(new RaisePageCommand(a, *document));
    push(new LowerPageCommand(c, *document));
    EXPECT_EQ(bytes(), before) << "the first page cannot rise nor the last one fall";

    push(new RemovePageCommand(b, *document));
    push(new RaisePageCommand(c, *document));
    EXPECT_EQ(document->getPages().begin()->getId(), c);
    document->undoStack().undo();
    document->undoStack().undo();
    std::vector<unsigned int> order;
    for (const Page& page : document->getPages())
        order.push_back(page.getId());
    EXPECT_EQ(order, std::vector<unsigned int>({a, b, c}));
    EXPECT_EQ(bytes(), before);
}

TEST_F(PageCommands, DefaultPageChangesMergeIntoOneStep)
{
    const unsigned int a = create();
    const unsigned int b = addPage();
    const unsigned int c = addPage();
    log.take();
    push(new SetDefaultPageCommand(b, *document));
    push(new SetDefaultPageCommand(c, *document));
    const QString pair("PageChanged %1,%2");
    EXPECT_EQ(log.take(), QStringList({pair.arg(a).arg(b), pair.arg(b).arg(c)}));
    EXPECT_EQ(document->undoStack().count(), 1);
    document->undoStack().undo();
    EXPECT_EQ(document->getDefaultPageId(), a);
    EXPECT_EQ(log.take(), QStringList({pair.arg(a).arg(c)}));
    push(new SetDefaultPageCommand(a, *document));
    EXPECT_EQ(log.take(), QStringList({QString("PageChanged %1").arg(a)}));
}

// A template the library does not list is refused before the command is built; one that goes
// away afterwards is left out of the page instead of throwing out of the undo stack.
TEST_F(PageCommands, AnUnlistedLayoutIsCaughtBeforeTheUndoStack)
{
    ASSERT_TRUE(TestUtil::startFillLayoutLibrary(folder.path()));
    create();

    NewPageData data;
    data.layoutName = "Fill";
    EXPECT_TRUE(AddPageCommand::layoutAvailable(data));
    data.layoutName = "Gone";
    EXPECT_FALSE(AddPageCommand::layoutAvailable(data));
    auto* add = new AddPageCommand(data, *document);
    push(add);
    EXPECT_TRUE(document->getPage(*add->newPageId()).getControlIds().empty());
    LayoutLibrary::destroyInstance();
}

// Random structure edits, all undone and all redone: the project comes back byte for byte
// both ways, and its structure holds after every step.
TEST_F(PageCommands, UndoingAndRedoingRandomEditsRestoresTheBytes)
{
    const TestUtil::UndoFuzzRun run(2000, 20240611);
    SCOPED_TRACE(run.describe());
    const unsigned int home = create();
    std::mt19937 random(run.seed);
    auto pick = [&random](auto& container) {
        auto it = container.begin();
        std::advance(it, std::uniform_int_distribution<int>(0, int(container.size()) - 1)(random));
        return it;
    };
    auto chance = [&random](int percent) {
        return std::uniform_int_distribution<int>(0, 99)(random) < percent;
    };
    auto randomPage = [&] { return pick(document->getPages())->getId(); };

    // Controls with IR slots and Go To Page buttons, which pastes copy and removals reset.
    const unsigned int second = addSwitcherPage();
    // This one stays to the end, so that every paste of it meets a slot in use.
    const unsigned int kept = addControl(home, ControlType_BUTTON);
    giveIRSlot(kept, Action_CLICK, 1);
    const unsigned int slider = addControl(second, ControlType_SLIDER);
    giveIRSlot(slider, Action_INCREMENT, 2);
    giveIRSlot(slider, Action_DECREMENT, 3);
    addGoToButton(home, second);
    addGoToButton(second, home);
    const QByteArray original = bytes();

    QUndoStack& stack = document->undoStack();
    int pushed = 0;
    while (pushed < run.edits) {
        const int pages = int(document->getPages().size());
        const int controls = int(document->getControls().size());
        const int before = stack.count();
        switch (std::uniform_int_distribution<int>(0, 9)(random)) {
        case 0: {
            if (controls > 60)
                break;
            ControlGeometryRequest request;
            for (int n = std::uniform_int_distribution<int>(1, 3)(random); n > 0; --n)
                request[ControlType(std::uniform_int_distribution<int>(1, 6)(random))].push_back(
                    QRect(n * 20, n * 10, 60, 40));
            push(new AddControlsCommand(request, randomPage(), *document));
            break;
        }
        case 1: {
            if (controls == 0 || controls > 60)
                break;
            ControlStreamRequest request;
            for (int n = std::uniform_int_distribution<int>(1, 3)(random); n > 0; --n) {
                const Control& source = *pick(document->getControls());
                request[source.getType()].push_back(controlStream(source.getId()));
            }
            push(new PasteControlsCommand(request, QPoint(5, 7), randomPage(), *document));
            break;
        }
        case 2: {
            const Page& page = *pick(document->getPages());
            std::set<unsigned int> chosen;
            for (unsigned int controlId : page.getControlIds())
                if (controlId != kept && chance(50))
                    chosen.insert(controlId);
            if (!chosen.empty())
                push(new DeleteControlsCommand(chosen, *document));
            break;
        }
        case 3: {
            if (pages >= 12)
                break;
            CommandGroup group(CommandGroup::Action_ADD_PAGE);
            NewPageData data;
            if (chance(60)) {
                data.navigationPosition = NavigationPosition_TOP;
                data.pageSwitcherPages = {UINT_MAX};
                if (!document->getPageSwitchers().empty() && chance(50))
                    data.pageSwitcherId = pick(document->getPageSwitchers())->getId();
            }
            auto* add = new AddPageCommand(data, *document, group.parent());
            if (data.pageSwitcherId != UINT_MAX) {
                std::vector<unsigned int> order =
                    document->getPageSwitcher(data.pageSwitcherId).getPageIds();
                order.insert(order.begin(), UINT_MAX);
                (new SetPageSwitcherPagesCommand(data.pageSwitcherId, order, *document,
                                                 group.parent()))
                    ->setNewPageId(add->newPageId());
            }
            group.push(stack);
            break;
        }
        case 4:
            if (pages < 12)
                push(new AddPageCommand(randomPage(), VelmoraDocument::DuplicateRenamingControls,
                                        *document));
            break;
        case 5: {
            const unsigned int pageId = randomPage();
            if (pageId != home)
                push(new RemovePageCommand(pageId, *document));
            break;
        }
        case 6:
            if (chance(50))
                push(new RaisePageCommand(randomPage(), *document));
            else
                push(new LowerPageCommand(randomPage(), *document));
            break;
        case 7: {
            SharedData<unsigned int> shown(UINT_MAX);
            CommandGroup group(CommandGroup::Action_EDIT_PAGE_SWITCHER);
            std::vector<unsigned int> order;
            for (const Page& page : document->getPages())
                if (chance(40))
                    order.push_back(page.getId());
            new CreatePageSwitcherCommand(shown, NavigationPosition_BOTTOM, Alignment_START, order,
                                          *document, group.parent());
            new SetPageSwitcherOnPageCommand(randomPage(), shown, *document, group.parent());
            group.push(stack);
            break;
        }
        case 8: {
            const unsigned int pageId = randomPage();
            SharedData<unsigned int> shown(UINT_MAX);
            if (!document->getPageSwitchers().empty() && chance(70))
                *shown = pick(document->getPageSwitchers())->getId();
            if (*shown != document->pageSwitcherOfPage(pageId))
                push(new SetPageSwitcherOnPageCommand(pageId, shown, *document));
            break;
        }
        case 9: {
            const unsigned int pageId = randomPage();
            if (document->pageSwitcherOfPage(pageId) != UINT_MAX)
                push(new RemovePageSwitcherCommand(pageId, *document));
            break;
        }
        }
        if (stack.count() == before)
            continue;
        ++pushed;
        ASSERT_EQ(fault(), "") << "after edit " << pushed;
        log.take();
    }

    const QByteArray final = bytes();
    while (stack.canUndo()) {
        stack.undo();
        ASSERT_EQ(fault(), "") << "undo to " << stack.index();
    }
    EXPECT_EQ(bytes(), original);
    while (stack.canRedo()) {
        stack.redo();
        ASSERT_EQ(fault(), "") << "redo to " << stack.index();
    }
    EXPECT_EQ(bytes(), final);
}
