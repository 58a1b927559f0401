#include "common/command_fixture.h"
#include "common/property_values.h"
#include "main/property_dispatch.h"
#include "main/velmora_command.h"
#include "velmora_objects/clock.h"

using namespace Velmora;

namespace {

// The command id each property id makes (-1: none), by property id 0 to 66.
const int commandIds[] = {-1, 6,  7,  5,  8,  9,  10, 11, 12, -1, 16, 17, 18, 21, 22, 23, 24,
                          -1, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 25, -1, 37, 38, 39,
                          40, 41, 42, 25, 25, -1, 43, 44, -1, 45, 46, -1, 47, 48, -1, 49, 50,
                          51, -1, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69};

class PropertyDispatchTest : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        pages = {create(), addSwitcherPage()};
        for (int type = ControlType_BUTTON; type <= ControlType_CLOCK; ++type)
            for (int i = 0; i < 2; ++i)
                controls[type].push_back(addControl(pages[0], ControlType(type)));
    }

    // Selects what the id acts on: both pages, the switcher, or two controls of the row's
    // group in reverse order (one for the IR slots). Returns the ids the edit must reach.
    std::vector<unsigned int> selectFor(int id)
    {
        const unsigned int switcher = document->pageSwitcherOfPage(pages[1]);
        if (propertySelectionKind(id) != 2) {
            if (propertySelectionKind(id) == 3)
                return selection.selectPageSwitcher(switcher, true), std::vector{switcher};
            return selection.selectPages({pages[0], pages[1]}, true), pages;
        }
        const int groups[] = {17, 30, 39, 42, 45, 48, 67};
        std::vector<unsigned int> ids =
            controls[std::max<int>(1, std::upper_bound(groups, groups + 7, id) - groups)];
        if (id == 29 || id == 37 || id == 38)
            ids.pop_back();
        selection.selectControl(ids.back(), true, true);
        selection.selectControl(ids.front(), true, false);
        return ids;
    }

    bool dispatch(int id, const QVariant& value)
    {
        return PropertyDispatch(*document).setPropertyValue(id, value, document->undoStack());
    }

    std::vector<unsigned int> pages;
    std::map<int, std::vector<unsigned int>> controls;
};

// Every row of the editor: nothing for a selection of another kind, or for a value of another
// type (an enumeration's number, a number as text, text or a colour for the rest); else one
// command of the row's own, whose value every selected item then holds, as the editor loads
// it. Ids without a command do nothing.
TEST_F(PropertyDispatchTest, EveryIdPushesItsCommandOnItsSelection)
{
    QUndoStack& stack = document->undoStack();
    for (const PropertyRow& row : propertyRows()) {
        if (!row.load)
            continue;
        SCOPED_TRACE("property id " + std::to_string(row.id));
        const QVariant value = TestUtil::propertyValue(row, 5, pages[1]);
        const bool enumeration = value.metaType().flags() & QMetaType::IsEnumeration;
        const QVariant wrong = enumeration ? QVariant(value.toInt())
                               : value.canConvert<int>() && value.typeId() != QMetaType::QString
                                   ? QVariant(value.toString())
                               : value.typeId() == QMetaType::QColor ? QVariant("#000000")
                                                                     : QVariant(QColor(Qt::red));
        const int index = stack.index();
        selection.clear(false);
        EXPECT_FALSE(dispatch(row.id, value));
        const std::vector<unsigned int> targets = selectFor(row.id);
        EXPECT_FALSE(row.id != 3 && dispatch(row.id, wrong));
        ASSERT_EQ(stack.index(), index);
        for (unsigned int id : targets) // the function arguments apply to Go To Page's, Level
            if (auto* button = document->modControl<Button>(id))
                button->setFunction(row.id == 28 ? ButtonFunction_SET_BRIGHTNESS
                                                 : ButtonFunction_GO_TO_PAGE);
        EXPECT_TRUE(dispatch(row.id, value));
        ASSERT_EQ(stack.index(), index + 1);
        EXPECT_EQ(stack.command(index)->id(), commandIds[row.id]);
        EXPECT_EQ(stack.text(index), VelmoraCommand::commandText(commandIds[row.id]));
        for (unsigned int id : targets)
            EXPECT_EQ(row.load(*document, id), row.id == 3 ? QVariant(id == pages[0]) : value);
    }
    for (int id : {-1, 0, 9, 17, 30, 39, 42, 45, 48, 52, 67})
        for (int kindRow : {1, 10, 53})
            EXPECT_FALSE((selectFor(kindRow), dispatch(id, 4))) << id;
    EXPECT_EQ(fault(), "");
}

// The clock type, which has no row; an invalid image is none. An IR slot is refused where the
// command would break the slot table; "unassigned" may go to many controls at once.
TEST_F(PropertyDispatchTest, ClockTypeNoneValuesAndIRSlotGuards)
{
    const unsigned int clock = selectFor(50).front();
    EXPECT_FALSE(dispatch(49, 1));
    EXPECT_TRUE(dispatch(49, QVariant::fromValue(Clock::ClockType_DIGITAL)));
    EXPECT_EQ(document->modControl<Clock>(clock)->getClockType(), Clock::ClockType_DIGITAL);
    const std::vector<unsigned int> buttons = selectFor(18);
    EXPECT_TRUE(dispatch(18, QVariant()));
    EXPECT_EQ(document->modControl<Button>(buttons[0])->getImageId(), UINT_MAX);

    const unsigned int slider = controls[ControlType_SLIDER][1];
    giveIRSlot(slider, Action_INCREMENT, 6);
    auto assign = [&](std::vector<unsigned int> ids, int id, const QVariant& slot) {
        selection.selectControls({ids.begin(), ids.end()}, true);
        return dispatch(id, slot);
    };
    const unsigned int one = buttons[0];
    EXPECT_FALSE(assign(buttons, 29, 2) || assign({one}, 29, 16) || assign({one}, 29, -1) ||
                 assign({one}, 29, 6) || assign(controls[5], 29, 2) || assign({slider}, 38, 6));
    EXPECT_TRUE(assign(buttons, 29, QVariant()) && assign({one}, 29, 255) &&
                assign({slider}, 37, 6) && assign({one}, 29, 2));
    EXPECT_EQ(document->getControl(buttons[0]).getIRSlotId(Action_CLICK), 2);
    EXPECT_EQ(fault(), "");
}

} // namespace
