#include "common/command_fixture.h"
#include "common/property_values.h"
#include "main/property_dispatch.h"
#include "main/velmora_command.h"
#include "velmora_objects/clock.h"

using namespace Velmora;

namespace {

// The control type whose rows each control group holds.
const std::map<int, ControlType> groupTypes = {
    {PropertyId_CONTROL, ControlType_BUTTON}, {PropertyId_BUTTON, ControlType_BUTTON},
    {PropertyId_SLIDER, ControlType_SLIDER},  {PropertyId_COLOUR_PICKER, ControlType_COLOUR_PICKER},
    {PropertyId_KEYPAD, ControlType_KEYPAD},  {PropertyId_LABEL, ControlType_LABEL},
    {PropertyId_CLOCK, ControlType_CLOCK}};

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
        // The clock type has no row of its own.
        const int group = id == PropertyId_CLOCK_TYPE ? PropertyId_CLOCK : propertyRow(id)->group;
        if (group == PropertyId_PAGE_SWITCHER)
            return selection.selectPageSwitcher(switcher, true), std::vector{switcher};
        if (group == PropertyId_PAGE)
            return selection.selectPages({pages[0], pages[1]}, true), pages;
        std::vector<unsigned int> ids = controls[groupTypes.at(group)];
        if (id == PropertyId_BUTTON_CLICK_IR_SLOT || id == PropertyId_SLIDER_INCREMENT_IR_SLOT ||
            id == PropertyId_SLIDER_DECREMENT_IR_SLOT)
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
// type (an enumeration's number, a number as text, text or a colour for the rest) or for a
// number of the enumeration that it does not name (as a damaged file holds); else one
// project command with its own text, whose value every selected item then holds, as the editor
// loads it. Ids without a command do nothing.
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
        EXPECT_FALSE(row.id != PropertyId_PAGE_DEFAULT && dispatch(row.id, wrong));
        const int unnamed = 200;
        EXPECT_FALSE(enumeration && dispatch(row.id, QVariant(value.metaType(), &unnamed)));
        ASSERT_EQ(stack.index(), index);
        for (unsigned int id : targets) // the function arguments apply to Go To Page's, Level
            if (auto* button = document->modControl<Button>(id))
                button->setFunction(row.id == PropertyId_BUTTON_FUNCTION_LEVEL
                                        ? ButtonFunction_SET_BRIGHTNESS
                                        : ButtonFunction_GO_TO_PAGE);
        EXPECT_TRUE(dispatch(row.id, value));
        ASSERT_EQ(stack.index(), index + 1);
        const int commandId = stack.command(index)->id();
        EXPECT_GE(commandId, 0);
        EXPECT_EQ(stack.text(index), VelmoraCommand::commandText(commandId));
        for (unsigned int id : targets)
            EXPECT_EQ(row.load(*document, id),
                      row.id == PropertyId_PAGE_DEFAULT ? QVariant(id == pages[0]) : value);
    }
    // Group rows and numbers outside the table, on every kind of selection.
    for (int id : {-1, int(PropertyId_PAGE), int(PropertyId_CONTROL), int(PropertyId_BUTTON),
                   int(PropertyId_SLIDER), int(PropertyId_COLOUR_PICKER), int(PropertyId_KEYPAD),
                   int(PropertyId_LABEL), int(PropertyId_CLOCK), int(PropertyId_PAGE_SWITCHER),
                   PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END + 1})
        for (int kindRow :
             {PropertyId_PAGE_NAME, PropertyId_CONTROL_CAPTION, PropertyId_PAGE_SWITCHER_ALIGNMENT})
            EXPECT_FALSE((selectFor(kindRow), dispatch(id, 4))) << id;
    EXPECT_EQ(fault(), "");
}

// The clock type, which has no row; an invalid image is none. An IR slot is refused where the
// command would break the slot table; "unassigned" may go to many controls at once.
TEST_F(PropertyDispatchTest, ClockTypeNoneValuesAndIRSlotGuards)
{
    const unsigned int clock = selectFor(PropertyId_CLOCK_TYPE).front();
    EXPECT_FALSE(dispatch(PropertyId_CLOCK_TYPE, 1) ||
                 dispatch(PropertyId_CLOCK_TYPE, QVariant::fromValue(Clock::ClockType(200))));
    EXPECT_TRUE(dispatch(PropertyId_CLOCK_TYPE, QVariant::fromValue(Clock::ClockType_DIGITAL)));
    EXPECT_EQ(document->modControl<Clock>(clock)->getClockType(), Clock::ClockType_DIGITAL);
    const std::vector<unsigned int> buttons = selectFor(PropertyId_BUTTON_IMAGE);
    EXPECT_TRUE(dispatch(PropertyId_BUTTON_IMAGE, QVariant()));
    EXPECT_EQ(document->modControl<Button>(buttons[0])->getImageId(), UINT_MAX);

    const unsigned int slider = controls[ControlType_SLIDER][1];
    giveIRSlot(slider, Action_INCREMENT, 6);
    auto assign = [&](std::vector<unsigned int> ids, int id, const QVariant& slot) {
        selection.selectControls({ids.begin(), ids.end()}, true);
        return dispatch(id, slot);
    };
    const unsigned int one = buttons[0];
    const int click = PropertyId_BUTTON_CLICK_IR_SLOT;
    EXPECT_FALSE(assign(buttons, click, 2) || assign({one}, click, 16) ||
                 assign({one}, click, -1) || assign({one}, click, 6) ||
                 assign(controls[ControlType_LABEL], click, 2) ||
                 assign({slider}, PropertyId_SLIDER_DECREMENT_IR_SLOT, 6));
    EXPECT_TRUE(assign(buttons, click, QVariant()) && assign({one}, click, 255) &&
                assign({slider}, PropertyId_SLIDER_INCREMENT_IR_SLOT, 6) &&
                assign({one}, click, 2));
    EXPECT_EQ(document->getControl(buttons[0]).getIRSlotId(Action_CLICK), 2);
    EXPECT_EQ(fault(), "");
}

} // namespace
