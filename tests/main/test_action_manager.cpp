#include "appengine/wysiwyg_layout.h"
#include "common/command_fixture.h"
#include "main/action_manager.h"

#include <QAction>
#include <QSet>
#include <QSignalSpy>
#include <QStringList>
#include <memory>

using namespace Velmora;

namespace {

using Id = ActionManager::ActionId;

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
                         [this](ControlType type, bool on) {
                             tools << QString("%1 %2").arg(int(type)).arg(on ? "on" : "off");
                         });
    }

    QAction* at(int id) const { return actions.action(Id(id)); }
    bool enabled(int id) const { return at(id)->isEnabled(); }
    QStringList takeTools() { return std::exchange(tools, QStringList()); }

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
    QStringList tools; // addControlActionToggled, in order
};

} // namespace

// Every action has a text of its own and a tip; the standard keys sit on the file, help and
// delete actions; the drawing tools and edit mode are checkable; the drawing and align actions
// carry their control type and mode.
TEST_F(Actions, EveryActionHasItsTextToolTipShortcutAndData)
{
    const std::map<int, QKeySequence::StandardKey> keys = {
        {0, QKeySequence::New},    {1, QKeySequence::Open},          {3, QKeySequence::Save},
        {4, QKeySequence::SaveAs}, {17, QKeySequence::HelpContents}, {38, QKeySequence::Delete}};
    const int types[] = {1, 2, 3, 5, 4, 6}; // of the Add actions, 20 to 25
    QSet<QString> texts;
    for (int id = 0; id < ActionManager::ActionCount; ++id) {
        SCOPED_TRACE(id);
        ASSERT_NE(at(id), nullptr);
        texts << at(id)->text();
        EXPECT_FALSE(at(id)->toolTip().isEmpty());
        EXPECT_EQ(at(id)->statusTip(), "");
        EXPECT_EQ(at(id)->shortcut(),
                  QKeySequence(keys.count(id) ? keys.at(id) : QKeySequence::UnknownKey));
        EXPECT_EQ(at(id)->isCheckable(), (id >= 20 && id <= 25) || id == 35);
        if (id >= 20 && id <= 31) {
            EXPECT_EQ(at(id)->data(), QVariant(id <= 25 ? types[id - 20] : id - 26));
        }
    }
    EXPECT_EQ(texts.size(), ActionManager::ActionCount);
    EXPECT_EQ(at(2)->toolTip(), "Open...");
    EXPECT_EQ(at(19)->toolTip(), "A newer version of Orvane Dravelin is available");
    EXPECT_EQ(at(20)->toolTip(), "Draw a new button on the current page");
    EXPECT_EQ(actions.action(Id(39)), nullptr);
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
    for (int id = 26; id <= 34; ++id)
        at(id)->setEnabled(true);
    for (int id = 26; id <= 31; ++id)
        at(id)->trigger();
    ASSERT_EQ(aligned.count(), 6);
    for (int mode = 0; mode < 6; ++mode)
        EXPECT_EQ(aligned.at(mode).at(0).toInt(), mode);

    for (int id = 32; id <= 34; ++id)
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

// Which actions are enabled, as a string of flags in id order ('x' enabled, '.' disabled).
std::string enabledFlags(const ActionManager& actions)
{
    std::string text;
    for (int id = 0; id < ActionManager::ActionCount; ++id)
        text += actions.action(Id(id))->isEnabled() ? 'x' : '.';
    return text;
}

} // namespace

TEST_F(Actions, DocumentAndUndoStateEnableTheProjectActions)
{
    // A hidden action counts as disabled: "Software Update" (19) stays so until it is shown.
    //                                    0         1         2         3
    //                                    012345678901234567890123456789012345678
    EXPECT_EQ(enabledFlags(ActionManager()), "xxxxxxxxxxxxxxxxxxx.xxxxxx.........xxxx");
    EXPECT_EQ(enabledFlags(actions), /*  */ "xxx.....x.......xxx....................");
    EXPECT_FALSE(at(19)->isVisible());

    // Opened unmodified: Save waits for a change; nothing is selected and the one page is the
    // default page, so nothing can be copied or deleted; paste is the application's to set.
    open();
    EXPECT_EQ(enabledFlags(actions), /*  */ "xxx.xxx.x..xx.xxxxx.xxxxxx.........x...");
    actions.onUndoStateChanged(false);
    EXPECT_TRUE(enabled(3));
    actions.onUndoStateChanged(true);
    EXPECT_FALSE(enabled(3));

    close();
    EXPECT_EQ(enabledFlags(actions), /*  */ "xxx.....x.......xxx....................");

    // A new project that was never saved can be saved at once.
    modified = true;
    open();
    EXPECT_TRUE(enabled(3));

    // Shown once a newer release is known, it is available in any state.
    at(19)->setVisible(true);
    close();
    EXPECT_TRUE(enabled(19));
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
        at(12)->isEnabled() ? at(12)->trigger() : actions.zoomIn();
    EXPECT_EQ(factors(), QList<qreal>({1.5, 2.0, 2.5, 3.0, 3.5, 4.0}));
    EXPECT_EQ(actions.zoomLevel(), 400u);
    EXPECT_FALSE(enabled(12));
    EXPECT_TRUE(enabled(13));

    for (int step = 0; step < 7; ++step)
        actions.zoomOut();
    EXPECT_EQ(factors(), QList<qreal>({3.5, 3.0, 2.5, 2.0, 1.5, 1.0}));
    EXPECT_TRUE(enabled(12));
    EXPECT_FALSE(enabled(13));

    actions.zoomIn();
    actions.zoomIn();
    actions.zoomIn();
    close();
    EXPECT_FALSE(enabled(12) || enabled(13));
    open();
    EXPECT_EQ(actions.zoomLevel(), 250u);
    EXPECT_TRUE(enabled(12) && enabled(13));
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
        // Flags of 7 duplicate, 9 raise, 10 lower, 26 to 34 align and layout, 36 copy, 38 delete.
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
        const std::string all = enabledFlags(actions);
        EXPECT_EQ(all.substr(26, 9), std::string(9, all[26]));
        EXPECT_EQ(std::string({all[7], all[9], all[10], all[26], all[36], all[38]}), row.flags);
        EXPECT_EQ(at(36)->text(), row.copyText);
        EXPECT_EQ(at(36)->toolTip(), "Copy the selected controls");
        EXPECT_EQ(at(11)->text(), row.switcherText);
        EXPECT_EQ(at(11)->toolTip(), row.switcherText);
    }
}

// At most one drawing tool or "Edit Controls" is checked; the page view sees the old tool
// disarmed before the new one is armed.
TEST_F(Actions, DrawingToolsAndEditModeExcludeEachOther)
{
    open();
    at(20)->trigger();
    at(21)->trigger();
    EXPECT_EQ(takeTools(), QStringList({"1 on", "1 off", "2 on"}));
    EXPECT_FALSE(at(20)->isChecked());

    at(35)->trigger();
    EXPECT_EQ(takeTools(), QStringList({"2 off"}));
    EXPECT_TRUE(at(35)->isChecked());

    // Label (id 23) draws type 5; arming it leaves edit mode.
    at(23)->trigger();
    EXPECT_EQ(takeTools(), QStringList({"5 on"}));
    EXPECT_FALSE(at(35)->isChecked());

    actions.uncheckAllControlEditActions();
    EXPECT_EQ(takeTools(), QStringList({"5 off"}));
    at(35)->trigger();
    actions.uncheckAllControlEditActions();
    EXPECT_FALSE(at(35)->isChecked());

    // The page view's own arm and disarm after a control has been drawn.
    actions.setAddControlActionChecked(ControlType_KEYPAD, true);
    EXPECT_TRUE(at(24)->isChecked());
    actions.setAddControlActionChecked(ControlType_KEYPAD, false);
    EXPECT_EQ(takeTools(), QStringList({"4 on", "4 off"}));

    // Closing the project keeps the armed tool.
    at(25)->trigger();
    close();
    EXPECT_TRUE(at(25)->isChecked());
    EXPECT_EQ(takeTools(), QStringList({"6 on"}));
}
