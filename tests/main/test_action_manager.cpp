#include "appengine/wysiwyg_layout.h"
#include "common/command_fixture.h"
#include "common/drawing_tools.h"
#include "main/action_manager.h"

#include <QAction>
#include <QMetaEnum>
#include <QSet>
#include <QSignalSpy>
#include <QStringList>
#include <memory>
#include <set>
#include <utility>
#include <vector>

using namespace Velmora;

namespace {

using Id = ActionManager::ActionId;
using Tools = std::vector<std::pair<ControlType, bool>>; // the tool's type, armed

// The action set over an open project; `open()` and `close()` report the project's state the
// way the application does.
class Actions : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        actions.setDocument(document.get());
        actions.setModifiedQuery([this] { return modified; });
        actions.onDocumentClosed();
        QObject::connect(&actions, &ActionManager::addControlActionToggled,
                         [this](ControlType type, bool on) { tools.emplace_back(type, on); });
    }

    QAction* at(int id) const { return actions.action(Id(id)); }
    bool enabled(int id) const { return at(id)->isEnabled(); }
    Tools takeTools() { return std::exchange(tools, Tools()); }

    void open()
    {
        create();
        actions.onDocumentOpened();
    }
    void close()
    {
        selection.clear(false);
        selection.setCurrentPage(UINT_MAX);
        actions.onDocumentClosed();
        document->clear();
    }

    ActionManager actions;
    bool modified = false;
    Tools tools; // addControlActionToggled, in order
};

} // namespace

// Every action has a text of its own and a tip; the standard keys sit on the file, help and
// delete actions; the drawing tools and edit mode are checkable.
TEST_F(Actions, EveryActionHasItsTextToolTipAndShortcut)
{
    const std::map<int, QKeySequence::StandardKey> keys = {
        {ActionManager::ActionId_NEW, QKeySequence::New},
        {ActionManager::ActionId_OPEN, QKeySequence::Open},
        {ActionManager::ActionId_SAVE, QKeySequence::Save},
        {ActionManager::ActionId_SAVE_AS, QKeySequence::SaveAs},
        {ActionManager::ActionId_HELP, QKeySequence::HelpContents},
        {ActionManager::ActionId_DELETE, QKeySequence::Delete}};
    std::set<int> checkable = {ActionManager::ActionId_EDIT_CONTROLS};
    for (const auto& tool : TestUtil::DrawingTools)
        checkable.insert(tool.first);
    QSet<QString> texts;
    for (int id = 0; id < ActionManager::ActionCount; ++id) {
        SCOPED_TRACE(id);
        ASSERT_NE(at(id), nullptr);
        texts << at(id)->text();
        EXPECT_FALSE(at(id)->toolTip().isEmpty());
        EXPECT_EQ(at(id)->statusTip(), "");
        EXPECT_EQ(at(id)->shortcut(),
                  QKeySequence(keys.count(id) ? keys.at(id) : QKeySequence::UnknownKey));
        EXPECT_EQ(at(id)->isCheckable(), checkable.count(id) == 1);
    }
    EXPECT_EQ(texts.size(), ActionManager::ActionCount);
    EXPECT_EQ(at(ActionManager::ActionId_OPEN_RECENT)->toolTip(), "Open...");
    EXPECT_EQ(at(ActionManager::ActionId_SOFTWARE_UPDATE)->toolTip(),
              "A newer version of Orvane Dravelin is available");
    EXPECT_EQ(at(ActionManager::ActionId_ADD_BUTTON)->toolTip(),
              "Draw a new button on the current page");
    EXPECT_EQ(actions.action(Id(ActionManager::ActionCount)), nullptr);
    EXPECT_EQ(actions.action(Id(-1)), nullptr);
}

// The layout actions carry the creator of their arrangement, and triggering one hands it on;
// the align actions hand on their mode.
TEST_F(Actions, AlignAndLayoutActionsSendWhatTheyCarry)
{
    QSignalSpy aligned(&actions, &ActionManager::alignActionTriggered);
    std::vector<WysiwygLayoutCreator*> laid;
    QObject::connect(&actions, &ActionManager::layoutActionTriggered,
                     [&laid](WysiwygLayoutCreator* creator) { laid.push_back(creator); });
    // The align actions and the modes they send: left, right, top, bottom, vertical and
    // horizontal middle.
    const Id align[] = {
        ActionManager::ActionId_ALIGN_LEFT,     ActionManager::ActionId_ALIGN_RIGHT,
        ActionManager::ActionId_ALIGN_TOP,      ActionManager::ActionId_ALIGN_BOTTOM,
        ActionManager::ActionId_ALIGN_V_MIDDLE, ActionManager::ActionId_ALIGN_H_MIDDLE};
    const Id layouts[] = {ActionManager::ActionId_LAYOUT_HORIZONTAL,
                          ActionManager::ActionId_LAYOUT_VERTICAL,
                          ActionManager::ActionId_LAYOUT_GRID};
    for (Id id : align)
        at(id)->setEnabled(true);
    for (Id id : layouts)
        at(id)->setEnabled(true);
    for (Id id : align)
        at(id)->trigger();
    ASSERT_EQ(aligned.count(), 6);
    for (int mode = 0; mode < 6; ++mode)
        EXPECT_EQ(aligned.at(mode).at(0).toInt(), mode);

    for (Id id : layouts)
        at(id)->trigger();
    ASSERT_EQ(laid.size(), 3u);
    std::vector<std::unique_ptr<WysiwygLayout>> made;
    for (WysiwygLayoutCreator* creator : laid)
        made.emplace_back(creator->make());
    EXPECT_NE(dynamic_cast<HorizontalWysiwygLayout*>(made[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<VerticalWysiwygLayout*>(made[1].get()), nullptr);
    EXPECT_NE(dynamic_cast<GridWysiwygLayout*>(made[2].get()), nullptr);

    // Called directly, without an action behind them, they send nothing.
    actions.onAlignActionTriggered();
    actions.onLayoutActionTriggered();
    EXPECT_EQ(aligned.count() + laid.size(), 9u);
}

namespace {

// The actions enabled (or disabled) by the names of their ids without "ActionId_", in id order.
std::string actionsWhere(const ActionManager& actions, bool enabled)
{
    const QMetaEnum ids = QMetaEnum::fromType<Id>();
    QStringList names;
    for (int i = 0; i < ids.keyCount(); ++i)
        if (actions.action(Id(ids.value(i)))->isEnabled() == enabled)
            names << QString(ids.key(i)).remove("ActionId_");
    return names.join(' ').toStdString();
}

} // namespace

TEST_F(Actions, DocumentAndUndoStateEnableTheProjectActions)
{
    // A hidden action counts as disabled: "Software Update" stays so until it is shown.
    const std::string closed =
        "NEW OPEN OPEN_RECENT DUPLICATE_PAGE_ADVANCED PREFERENCES HELP ABOUT";
    const std::string alignAndLayout =
        "ALIGN_LEFT ALIGN_RIGHT ALIGN_TOP ALIGN_BOTTOM ALIGN_V_MIDDLE "
        "ALIGN_H_MIDDLE LAYOUT_HORIZONTAL LAYOUT_VERTICAL LAYOUT_GRID";
    EXPECT_EQ(actionsWhere(ActionManager(), false), "SOFTWARE_UPDATE " + alignAndLayout);
    EXPECT_EQ(actionsWhere(actions, true), closed);
    EXPECT_FALSE(at(ActionManager::ActionId_SOFTWARE_UPDATE)->isVisible());

    // Opened unmodified: Save waits for a change; nothing is selected and the one page is the
    // default page, so nothing can be copied or deleted; paste is the application's to set.
    open();
    EXPECT_EQ(actionsWhere(actions, false),
              "SAVE DUPLICATE_PAGE RAISE_PAGE LOWER_PAGE ZOOM_OUT SOFTWARE_UPDATE " +
                  alignAndLayout + " COPY_CONTROLS PASTE_CONTROLS DELETE");
    actions.onUndoStateChanged(false);
    EXPECT_TRUE(enabled(ActionManager::ActionId_SAVE));
    actions.onUndoStateChanged(true);
    EXPECT_FALSE(enabled(ActionManager::ActionId_SAVE));

    close();
    EXPECT_EQ(actionsWhere(actions, true), closed);

    // A new project that was never saved can be saved at once.
    modified = true;
    open();
    EXPECT_TRUE(enabled(ActionManager::ActionId_SAVE));

    // Shown once a newer release is known, it is available in any state.
    at(ActionManager::ActionId_SOFTWARE_UPDATE)->setVisible(true);
    close();
    EXPECT_TRUE(enabled(ActionManager::ActionId_SOFTWARE_UPDATE));
}

// Fifty percent a step between 100 and 400; the level outlives the project.
TEST_F(Actions, ZoomStepsBetweenItsLimitsAndKeepsItsLevelAcrossProjects)
{
    QSignalSpy zoomed(&actions, &ActionManager::zoomLevelChanged);
    open();
    const auto factors = [&zoomed] {
        QList<qreal> values;
        for (const QList<QVariant>& arguments : zoomed)
            values << arguments.at(0).toReal();
        zoomed.clear();
        return values;
    };
    for (int step = 0; step < 7; ++step)
        at(ActionManager::ActionId_ZOOM_IN)->isEnabled()
            ? at(ActionManager::ActionId_ZOOM_IN)->trigger()
            : actions.zoomIn();
    EXPECT_EQ(factors(), QList<qreal>({1.5, 2.0, 2.5, 3.0, 3.5, 4.0}));
    EXPECT_EQ(actions.zoomLevel(), 400u);
    EXPECT_FALSE(enabled(ActionManager::ActionId_ZOOM_IN));
    EXPECT_TRUE(enabled(ActionManager::ActionId_ZOOM_OUT));

    for (int step = 0; step < 7; ++step)
        actions.zoomOut();
    EXPECT_EQ(factors(), QList<qreal>({3.5, 3.0, 2.5, 2.0, 1.5, 1.0}));
    EXPECT_TRUE(enabled(ActionManager::ActionId_ZOOM_IN));
    EXPECT_FALSE(enabled(ActionManager::ActionId_ZOOM_OUT));

    actions.zoomIn();
    actions.zoomIn();
    actions.zoomIn();
    close();
    EXPECT_FALSE(enabled(ActionManager::ActionId_ZOOM_IN) ||
                 enabled(ActionManager::ActionId_ZOOM_OUT));
    open();
    EXPECT_EQ(actions.zoomLevel(), 250u);
    EXPECT_TRUE(enabled(ActionManager::ActionId_ZOOM_IN) &&
                enabled(ActionManager::ActionId_ZOOM_OUT));
}

// The selection rules over a project of a default page, a second page with a page switcher
// and a control on each page.
TEST_F(Actions, SelectionEnablesPageControlAndDeleteActions)
{
    open();
    const unsigned int home = document->getDefaultPageId();
    const unsigned int second = addSwitcherPage();
    const unsigned int switcher = document->pageSwitcherOfPage(second);
    const unsigned int button = addControl(home, ControlType_BUTTON);
    const unsigned int slider = addControl(second, ControlType_SLIDER);

    struct Row
    {
        const char* what;
        std::function<void()> select;
        // Flags of duplicate, raise, lower, align and layout, copy and delete.
        const char* flags;
        const char* copyText;
        const char* switcherText;
    };
    const Row rows[] = {
        {"second page", [&] { selection.selectPage(second, true, true); }, "xxx..x",
         "Copy Controls", "Edit Page Switcher"},
        {"both pages", [&] { selection.selectPage(home, true, false); }, "......", "Copy Controls",
         "Add Page Switcher"},
        // Controls leave the page actions as the pages left them.
        {"one control", [&] { selection.selectControl(slider, true, true); }, "...xxx",
         "Copy Control", "Add Page Switcher"},
        {"home page", [&] { selection.selectPage(home, true, true); }, "xxx...", "Copy Controls",
         "Add Page Switcher"},
        {"two controls",
         [&] {
             selection.selectControls({button, slider}, true);
         },
         "xxxxxx", "Copy Controls", "Add Page Switcher"},
        {"switcher", [&] { selection.selectPageSwitcher(switcher, true); }, "xxx..x",
         "Copy Controls", "Add Page Switcher"},
        // Nothing selected: delete follows the current page.
        {"none, second current",
         [&] {
             selection.clear(true);
             selection.setCurrentPage(second);
         },
         "xxx..x", "Copy Controls", "Edit Page Switcher"},
        {"none, home current", [&] { selection.setCurrentPage(home); }, "xxx...", "Copy Controls",
         "Add Page Switcher"},
        // A current page that has left the project shows no switcher.
        {"none, missing current", [&] { selection.setCurrentPage(77); }, "xxx..x", "Copy Controls",
         "Add Page Switcher"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.select();
        actions.onSelectionChanged();
        // The nine align and layout actions go together.
        for (Id id :
             {ActionManager::ActionId_ALIGN_RIGHT, ActionManager::ActionId_ALIGN_TOP,
              ActionManager::ActionId_ALIGN_BOTTOM, ActionManager::ActionId_ALIGN_V_MIDDLE,
              ActionManager::ActionId_ALIGN_H_MIDDLE, ActionManager::ActionId_LAYOUT_HORIZONTAL,
              ActionManager::ActionId_LAYOUT_VERTICAL, ActionManager::ActionId_LAYOUT_GRID})
            EXPECT_EQ(enabled(id), enabled(ActionManager::ActionId_ALIGN_LEFT)) << id;
        std::string flags;
        for (Id id : {ActionManager::ActionId_DUPLICATE_PAGE, ActionManager::ActionId_RAISE_PAGE,
                      ActionManager::ActionId_LOWER_PAGE, ActionManager::ActionId_ALIGN_LEFT,
                      ActionManager::ActionId_COPY_CONTROLS, ActionManager::ActionId_DELETE})
            flags += enabled(id) ? 'x' : '.';
        EXPECT_EQ(flags, row.flags);
        EXPECT_EQ(at(ActionManager::ActionId_COPY_CONTROLS)->text(), row.copyText);
        EXPECT_EQ(at(ActionManager::ActionId_COPY_CONTROLS)->toolTip(),
                  "Copy the selected controls");
        EXPECT_EQ(at(ActionManager::ActionId_PAGE_SWITCHER)->text(), row.switcherText);
        EXPECT_EQ(at(ActionManager::ActionId_PAGE_SWITCHER)->toolTip(), row.switcherText);
    }
}

// At most one drawing tool or "Edit Controls" is checked; the page view sees the old tool
// disarmed before the new one is armed.
TEST_F(Actions, DrawingToolsAndEditModeExcludeEachOther)
{
    open();
    at(ActionManager::ActionId_ADD_BUTTON)->trigger();
    at(ActionManager::ActionId_ADD_SLIDER)->trigger();
    EXPECT_EQ(takeTools(), (Tools{{ControlType_BUTTON, true},
                                  {ControlType_BUTTON, false},
                                  {ControlType_SLIDER, true}}));
    EXPECT_FALSE(at(ActionManager::ActionId_ADD_BUTTON)->isChecked());

    at(ActionManager::ActionId_EDIT_CONTROLS)->trigger();
    EXPECT_EQ(takeTools(), (Tools{{ControlType_SLIDER, false}}));
    EXPECT_TRUE(at(ActionManager::ActionId_EDIT_CONTROLS)->isChecked());

    // Arming Add Label leaves edit mode.
    at(ActionManager::ActionId_ADD_LABEL)->trigger();
    EXPECT_EQ(takeTools(), (Tools{{ControlType_LABEL, true}}));
    EXPECT_FALSE(at(ActionManager::ActionId_EDIT_CONTROLS)->isChecked());

    actions.uncheckAllControlEditActions();
    EXPECT_EQ(takeTools(), (Tools{{ControlType_LABEL, false}}));
    at(ActionManager::ActionId_EDIT_CONTROLS)->trigger();
    actions.uncheckAllControlEditActions();
    EXPECT_FALSE(at(ActionManager::ActionId_EDIT_CONTROLS)->isChecked());

    // The page view's own arm and disarm after a control has been drawn.
    actions.setAddControlActionChecked(ControlType_KEYPAD, true);
    EXPECT_TRUE(at(ActionManager::ActionId_ADD_KEYPAD)->isChecked());
    actions.setAddControlActionChecked(ControlType_KEYPAD, false);
    EXPECT_EQ(takeTools(), (Tools{{ControlType_KEYPAD, true}, {ControlType_KEYPAD, false}}));

    // Closing the project keeps the armed tool.
    at(ActionManager::ActionId_ADD_CLOCK)->trigger();
    close();
    EXPECT_TRUE(at(ActionManager::ActionId_ADD_CLOCK)->isChecked());
    EXPECT_EQ(takeTools(), (Tools{{ControlType_CLOCK, true}}));
}
