#include "appengine/selection_manager.h"
#include "common/document_event_log.h"
#include "main/velmora_command.h"
#include "main/velmora_document.h"

#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>

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
        executions.push_back(redoExecution());
    }
    void undo() override
    {
        if (runs)
            *runs << QStringLiteral("undo %1").arg(targets);
    }

    std::vector<Execution> executions;

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

TEST_F(CommandBase, EveryIdHasItsUndoTextAndItsOtherForm)
{
    struct Row
    {
        int id;
        const char* text;
        const char* other; // null: the same text
    };
    const Row rows[] = {
        {0, "Add Page", nullptr},
        {1, "Duplicate Page", nullptr},
        {2, "Remove Page", nullptr},
        {3, "Raise Page", nullptr},
        {4, "Lower Page", nullptr},
        {5, "Set Default Page", nullptr},
        {6, "Set Page Name", nullptr},
        {7, "Set Page Icon", nullptr},
        {8, "Set Page Background Colour", nullptr},
        {9, "Set Page Background Gradient", nullptr},
        {10, "Set Page Background Gradient Rotation", nullptr},
        {11, "Set Page Background Image", nullptr},
        {12, "Set Page Background Image Scaling", nullptr},
        {13, "Add Control", "Add Controls"},
        {14, "Paste Control", "Paste Controls"},
        {15, "Delete Control", "Delete Controls"},
        {16, "Set Control Caption", nullptr},
        {17, "Set Control Key", nullptr},
        {18, "Set Control Startup State", nullptr},
        {19, "Move Controls", nullptr},
        {20, "Set Control Geometry", nullptr},
        {21, "Set Control X Position", nullptr},
        {22, "Set Control Y Position", nullptr},
        {23, "Set Control Width", nullptr},
        {24, "Set Control Height", nullptr},
        {25, "Assign IR Slot", nullptr},
        {26, "Set Button Image", nullptr},
        {27, "Set Button Font Size", nullptr},
        {28, "Set Button Word Wrap", nullptr},
        {29, "Set Button Actuation", nullptr},
        {30, "Set Button Held Timeout", nullptr},
        {31, "Set Button Repeat Interval", nullptr},
        {32, "Set Button Function", nullptr},
        {33, "Set Button Function Page Id", nullptr},
        {34, "Set Button Function Page Transition", nullptr},
        {35, "Set Button Function Page Transition Duration", nullptr},
        {36, "Set Button Function Level", nullptr},
        {37, "Set Slider Show Value", nullptr},
        {38, "Set Slider Unit", nullptr},
        {39, "Set Slider Caption Font Size", nullptr},
        {40, "Set Slider Value Font Size", nullptr},
        {41, "Set Slider Text Spacing", nullptr},
        {42, "Set Slider Handle Size", nullptr},
        {43, "Set Colour Picker Font Size", nullptr},
        {44, "Set Colour Picker Text Spacing", nullptr},
        {45, "Set Keypad Maximum Digits", nullptr},
        {46, "Set Keypad Hide Characters", "Set Keypad Show Characters"},
        {47, "Set Label Font Size", nullptr},
        {48, "Set Label Word Wrap", nullptr},
        {49, "Set Clock Type", nullptr},
        {50, "Set Clock Font Size", nullptr},
        {51, "Set Clock Text Spacing", nullptr},
        {52, "Create Page Switcher", nullptr},
        {53, "Remove Page Switcher", nullptr},
        {54, "Set Page Switcher Pages", nullptr},
        {55, "Set Page Switcher On Page", nullptr},
        {56, "Set Page Switcher Alignment", nullptr},
        {57, "Set Page Switcher Gradient", nullptr},
        {58, "Set Page Switcher Opacity", nullptr},
        {59, "Set Page Switcher Font Size", nullptr},
        {60, "Set Page Switcher Text Colour", nullptr},
        {61, "Set Page Switcher Show Page Names", nullptr},
        {62, "Set Page Switcher Highlight Colour", nullptr},
        {63, "Set Page Switcher Highlight Opacity", nullptr},
        {64, "Set Page Switcher Show Time", nullptr},
        {65, "Set Page Switcher Show Date", nullptr},
        {66, "Set Page Switcher Time Format", nullptr},
        {67, "Set Page Switcher Date Format", nullptr},
        {68, "Set Page Switcher Date/Time Font Size", nullptr},
        {69, "Set Page Switcher Date/Time Position", nullptr},
        {70, "Set Theme", "Edit Theme"},
        {71, "", nullptr},
        {72, "Set Unlock Code", nullptr},
        {73, "Set Unlock Function", nullptr},
        {74, "Set Lock Timeout", nullptr},
    };
    ASSERT_EQ(std::size(rows), size_t(VelmoraCommand::CommandIdCount));
    for (int i = 0; i < VelmoraCommand::CommandIdCount; ++i) {
        const Row& row = rows[i];
        ASSERT_EQ(row.id, i);
        EXPECT_EQ(VelmoraCommand::commandText(row.id), row.text) << row.id;
        EXPECT_EQ(VelmoraCommand::commandText(row.id, true), row.other ? row.other : row.text)
            << row.id;
        const Probe command(row.id, 0, document);
        EXPECT_EQ(command.id(), row.id);
        EXPECT_EQ(command.text(), row.text) << row.id;
    }
    EXPECT_EQ(VelmoraCommand::commandText(-1), "");
    EXPECT_EQ(VelmoraCommand::commandText(75), "");

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

// The events of a run reach the application before the run returns; a redo knows whether it
// is the first run.
TEST_F(CommandBase, RunsSendTheirEventsAtOnceAndTellTheFirstRunFromARedo)
{
    TestUtil::DocumentEventLog log;
    auto* command = new Probe(27, 4, document);
    stack.push(command);
    EXPECT_EQ(log.take(), QStringList{"1008 4"});
    stack.undo();
    stack.redo();
    stack.undo();
    stack.redo();
    EXPECT_EQ(command->executions,
              std::vector<Execution>({Execution_FIRST_RUN, Execution_REDO, Execution_REDO}));
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
