#include "common/command_fixture.h"
#include "main/page_commands.h"
#include "main/page_switcher_commands.h"

#include <functional>

using namespace Velmora;

namespace {

using SwitcherCommands = TestUtil::CommandFixture;

QStringList events(const char* type, std::initializer_list<unsigned int> ids)
{
    QStringList lines;
    for (unsigned int id : ids)
        lines << QString("%1 %2").arg(type).arg(id);
    return lines;
}

} // namespace

// "Edit Page Switcher" creating a switcher and showing it on the page: the page's previous
// switcher loses its last user and goes; undo brings it back and takes the new one out; redo
// makes the new one again under the same id.
TEST_F(SwitcherCommands, EditPageSwitcherGroupCountsUsers)
{
    create();
    const unsigned int page = addSwitcherPage();
    const unsigned int old = document->pageSwitcherOfPage(page);
    const QByteArray before = bytes();
    log.take();

    SharedData<unsigned int> shown(UINT_MAX);
    CommandGroup group(CommandGroup::Action_EDIT_PAGE_SWITCHER);
    new CreatePageSwitcherCommand(shown, NavigationPosition_TOP, Alignment_CENTER, {page},
                                  *document, group.parent());
    new SetPageSwitcherOnPageCommand(page, shown, *document, group.parent());
    group.push(document->undoStack());
    EXPECT_EQ(document->undoStack().text(0), "Edit Page Switcher");
    const unsigned int made = *shown;
    ASSERT_NE(made, UINT_MAX);
    EXPECT_EQ(document->pageSwitcherOfPage(page), made);
    EXPECT_EQ(document->getPageSwitcher(made).usageCount(), 1);
    EXPECT_FALSE(document->getPageSwitchers().exists(old));
    EXPECT_EQ(log.take(), events("SwitcherUsage", {made, old}) + events("SwitcherRemoved", {old}) +
                              events("SwitcherUsage", {made}));
    const QByteArray after = bytes();

    document->undoStack().undo();
    EXPECT_EQ(log.take(), events("SwitcherUsage", {made, old}) + events("SwitcherRemoved", {made}));
    EXPECT_EQ(document->getPageSwitcher(old).usageCount(), 1);
    EXPECT_EQ(bytes(), before);
    document->undoStack().redo();
    EXPECT_EQ(document->pageSwitcherOfPage(page), made);
    EXPECT_EQ(bytes(), after);
    EXPECT_EQ(fault(), "");
}

// Taken off its last page a switcher leaves the project; off one of two pages it stays.
TEST_F(SwitcherCommands, RemovingASwitcherFromItsPages)
{
    create();
    const unsigned int first = addSwitcherPage();
    const unsigned int bar = document->pageSwitcherOfPage(first);
    const unsigned int second = addSwitcherPage(bar);
    selection.selectPageSwitcher(bar, true);
    log.take();

    push(new RemovePageSwitcherCommand(second, *document));
    EXPECT_EQ(log.take(), events("SwitcherUsage", {bar}));
    EXPECT_EQ(document->getPageSwitcher(bar).usageCount(), 1);
    EXPECT_TRUE(selection.isEmpty());

    const QByteArray shownOnce = bytes();
    push(new RemovePageSwitcherCommand(first, *document));
    EXPECT_EQ(log.take(), events("SwitcherUsage", {bar}) + events("SwitcherRemoved", {bar}));
    EXPECT_FALSE(document->getPageSwitchers().exists(bar));
    document->undoStack().undo();
    EXPECT_EQ(log.take(), events("SwitcherUsage", {bar}));
    EXPECT_EQ(document->getPageSwitcher(bar).usageCount(), 1);
    EXPECT_EQ(bytes(), shownOnce);
}

// Each property command exchanges its value with the switcher's: the project changes, undo
// restores it byte for byte, and each run announces the switcher.
TEST_F(SwitcherCommands, PropertyCommandsExchangeTheirValue)
{
    create();
    const unsigned int bar = document->pageSwitcherOfPage(addSwitcherPage());
    Gradient gradient;
    gradient.setStops({{0.0, Qt::red}, {1.0, Qt::blue}});
    VelmoraDocument& d = *document;
    const std::vector<std::function<VelmoraCommand*()>> makers = {
        [&] { return new SetPageSwitcherAlignmentCommand(bar, Alignment_END, d); },
        [&] { return new SetPageSwitcherGradientCommand(bar, gradient, d); },
        [&] { return new SetPageSwitcherOpacityCommand(bar, 0.25, d); },
        [&] { return new SetPageSwitcherFontSizeCommand(bar, 30, d); },
        [&] { return new SetPageSwitcherTextColourCommand(bar, Qt::green, d); },
        [&] { return new SetPageSwitcherShowPageNamesCommand(bar, false, d); },
        [&] { return new SetPageSwitcherHighlightColourCommand(bar, Qt::cyan, d); },
        [&] { return new SetPageSwitcherHighlightOpacityCommand(bar, 0.75, d); },
        [&] { return new SetPageSwitcherShowTimeCommand(bar, true, d); },
        [&] { return new SetPageSwitcherShowDateCommand(bar, true, d); },
        [&] { return new SetPageSwitcherTimeFormatCommand(bar, "h:mm ap", d); },
        [&] { return new SetPageSwitcherDateFormatCommand(bar, "yyyy-MM-dd", d); },
        [&] { return new SetPageSwitcherDateTimeFontSizeCommand(bar, 20, d); },
        [&] { return new SetPageSwitcherDateTimeAtEndCommand(bar, false, d); },
    };
    const QByteArray before = bytes();
    int id = VelmoraCommand::CommandId_SET_PAGE_SWITCHER_ALIGNMENT;
    for (const auto& make : makers) {
        SCOPED_TRACE(id);
        log.take();
        VelmoraCommand* command = make();
        EXPECT_EQ(command->id(), id);
        EXPECT_EQ(command->text(), VelmoraCommand::commandText(id++));
        push(command);
        EXPECT_NE(bytes(), before);
        document->undoStack().undo();
        EXPECT_EQ(bytes(), before);
        EXPECT_EQ(log.take(), events("SwitcherChanged", {bar, bar}));
    }
}
