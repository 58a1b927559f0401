#include "appengine/selection_manager.h"
#include "common/document_event_log.h"
#include "main/velmora_command.h"
#include "main/velmora_document.h"

#include <QSet>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>

// Readable failures.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A command of any id that notes its runs and whether it edits "the same objects" as another.
class Probe : public VelmoraCommand
{
public:
    Probe(int commandId, int targets, VelmoraDocument& document, QStringList* runs = nullptr,
          QUndoCommand* parent = nullptr)
        : VelmoraCommand(commandId, document, parent), targets(targets), runs(runs)
    {
    }

    void redo() override
    {
        if (runs)
            *runs << QStringLiteral("redo %1").arg(targets);
        ControlPropertyChangedEvent event(std::set<unsigned int>{unsigned(targets)});
        send(event);
    }
    void undo() override
    {
        if (runs)
            *runs << QStringLiteral("undo %1").arg(targets);
    }

protected:
    bool hasSameTargets(const VelmoraCommand& other) const override
    {
        return static_cast<const Probe&>(other).targets == targets;
    }

private:
    const int targets;
    QStringList* runs;
};

class CommandBase : public ::testing::Test
{
protected:
    SelectionManager selection;
    VelmoraDocument document{selection};
    QUndoStack stack;
};

} // namespace

// Every id has a text, which its command takes; a few have another form (many controls, the
// other state, a theme edited rather than set).
TEST_F(CommandBase, EveryIdHasItsUndoTextAndItsOtherForm)
{
    const std::map<int, std::pair<const char*, const char*>> others = {
        {13, {"Add Control", "Add Controls"}},
        {14, {"Paste Control", "Paste Controls"}},
        {15, {"Delete Control", "Delete Controls"}},
        {46, {"Set Keypad Hide Characters", "Set Keypad Show Characters"}},
        {70, {"Set Theme", "Edit Theme"}},
    };
    QSet<QString> texts;
    for (int id = 0; id < VelmoraCommand::CommandIdCount; ++id) {
        SCOPED_TRACE(id);
        const QString text = VelmoraCommand::commandText(id);
        EXPECT_EQ(text.isEmpty(), id == 71);
        texts << text;
        const auto other = others.find(id);
        if (other != others.end()) {
            EXPECT_EQ(text, other->second.first);
            EXPECT_EQ(VelmoraCommand::commandText(id, true), other->second.second);
        } else {
            EXPECT_EQ(VelmoraCommand::commandText(id, true), text);
        }
        const Probe command(id, 0, document);
        EXPECT_EQ(command.id(), id);
        EXPECT_EQ(command.text(), text);
    }
    EXPECT_EQ(texts.size(), VelmoraCommand::CommandIdCount) << "each text is its id's own";
    EXPECT_EQ(VelmoraCommand::commandText(6), "Set Page Name");
    EXPECT_EQ(VelmoraCommand::commandText(74), "Set Lock Timeout");
    EXPECT_EQ(VelmoraCommand::commandText(-1), "");
    EXPECT_EQ(VelmoraCommand::commandText(VelmoraCommand::CommandIdCount), "");

    struct CountRow
    {
        int id;
        std::size_t count;
        const char* text;
    };
    const CountRow counts[] = {
        {13, 0, "Add Controls"},   {13, 1, "Add Control"},    {13, 2, "Add Controls"},
        {14, 0, "Paste Controls"}, {14, 1, "Paste Control"},  {14, 5, "Paste Controls"},
        {15, 0, "Delete Control"}, {15, 1, "Delete Control"}, {15, 2, "Delete Controls"},
    };
    for (const CountRow& row : counts)
        EXPECT_EQ(VelmoraCommand::controlCountText(row.id, row.count), row.text)
            << row.id << " " << row.count;
}

// Pushed twice in a row, a command absorbs the second edit when its id's rule says so: every
// newer one for the default page, one on the same objects for the property commands (the
// caption and key excepted), never for the others; never across a save, nor between ids.
TEST_F(CommandBase, MergesFollowTheRuleOfTheIdAndStopAtTheCleanIndex)
{
    const auto rule = [](int id) {
        if (id == 5)
            return VelmoraCommand::Merge_ALWAYS;
        if ((id >= 6 && id <= 12) || id == 18 || (id >= 21 && id <= 51))
            return VelmoraCommand::Merge_SAME_TARGETS;
        return VelmoraCommand::Merge_NEVER;
    };
    for (int id = 0; id < VelmoraCommand::CommandIdCount; ++id) {
        EXPECT_EQ(VelmoraCommand::mergeRule(id), rule(id)) << id;
        for (const bool sameTargets : {true, false}) {
            for (const bool savedBetween : {false, true}) {
                stack.clear();
                stack.push(new Probe(id, 1, document));
                if (savedBetween)
                    stack.setClean();
                stack.push(new Probe(id, sameTargets ? 1 : 2, document));
                const bool merged =
                    !savedBetween &&
                    (rule(id) == VelmoraCommand::Merge_ALWAYS ||
                     (rule(id) == VelmoraCommand::Merge_SAME_TARGETS && sameTargets));
                EXPECT_EQ(stack.count(), merged ? 1 : 2)
                    << id << " same " << sameTargets << " saved " << savedBetween;
            }
        }
    }
    stack.clear();
    stack.push(new Probe(27, 1, document));
    stack.push(new Probe(39, 1, document));
    EXPECT_EQ(stack.count(), 2);
}

// The events of a run reach the application before the run returns.
TEST_F(CommandBase, RunsSendTheirEventsAtOnce)
{
    TestUtil::DocumentEventLog log;
    auto* command = new Probe(27, 4, document);
    stack.push(command);
    EXPECT_EQ(log.take(), QStringList{"ControlsChanged 4"});
    EXPECT_EQ(&command->document(), &document);
}

TEST_F(CommandBase, GroupIsOneStepRunForwardsThenBackwardsAndDroppedWhenEmpty)
{
    QStringList runs;
    {
        CommandGroup group(CommandGroup::Action_REMOVE_PAGE);
        for (int targets = 1; targets <= 3; ++targets)
            new Probe(2, targets, document, &runs, group.parent());
        EXPECT_EQ(group.childCount(), 3);
        EXPECT_TRUE(group.push(stack));
        EXPECT_EQ(group.parent(), nullptr);
    }
    ASSERT_EQ(stack.count(), 1);
    EXPECT_EQ(stack.command(0)->id(), -1);
    EXPECT_EQ(stack.undoText(), "Remove Page");
    stack.undo();
    EXPECT_EQ(runs, QStringList({"redo 1", "redo 2", "redo 3", "undo 3", "undo 2", "undo 1"}));

    CommandGroup empty(CommandGroup::Action_EDIT_PAGE_SWITCHER);
    EXPECT_FALSE(empty.push(stack));
    EXPECT_EQ(stack.count(), 1);

    const std::pair<CommandGroup::Action, const char*> texts[] = {
        {CommandGroup::Action_ADD_PAGE, "Add Page"},
        {CommandGroup::Action_DUPLICATE_PAGE, "Duplicate Page"},
        {CommandGroup::Action_REMOVE_PAGE, "Remove Page"},
        {CommandGroup::Action_EDIT_PAGE_SWITCHER, "Edit Page Switcher"},
        {CommandGroup::Action_SET_PROJECT_PROPERTIES, "Set Project Properties"},
    };
    for (const auto& [action, text] : texts)
        EXPECT_EQ(CommandGroup::actionText(action), text);
}
