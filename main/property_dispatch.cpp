#include "main/property_dispatch.h"

#include "appengine/selection_manager.h"
#include "core/gradient.h"
#include "main/control_property_commands.h"
#include "main/page_commands.h"
#include "main/page_property_commands.h"
#include "main/page_switcher_commands.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/page.h"
#include "velmora_objects/slider.h"

#include <QColor>
#include <QUndoStack>
#include <climits>
#include <initializer_list>
#include <optional>

using namespace Velmora;

namespace {

// Value conversions. Each takes only the value types listed and refuses every other one:
// Qt converts freely between types (a colour to a string, an int to an enumeration), which
// would turn a value meant for another row into a plausible but wrong edit.

bool holds(const QVariant& value, std::initializer_list<QMetaType> types)
{
    for (const QMetaType& type : types)
        if (value.metaType() == type)
            return true;
    return false;
}

bool holdsWholeNumber(const QVariant& value)
{
    return holds(value, {QMetaType::fromType<int>(), QMetaType::fromType<uint>(),
                         QMetaType::fromType<qlonglong>(), QMetaType::fromType<qulonglong>()});
}

std::optional<QString> asString(const QVariant& value)
{
    if (!holds(value, {QMetaType::fromType<QString>()}))
        return std::nullopt;
    return value.toString();
}

std::optional<int> asInt(const QVariant& value)
{
    if (!holdsWholeNumber(value))
        return std::nullopt;
    return value.toInt();
}

std::optional<unsigned int> asUInt(const QVariant& value)
{
    if (!holdsWholeNumber(value))
        return std::nullopt;
    return value.toUInt();
}

// An invalid value stands for none.
std::optional<unsigned int> asUIntOrNone(const QVariant& value)
{
    if (!value.isValid())
        return UINT_MAX;
    return asUInt(value);
}

std::optional<bool> asBool(const QVariant& value)
{
    if (!holds(value, {QMetaType::fromType<bool>()}))
        return std::nullopt;
    return value.toBool();
}

std::optional<double> asDouble(const QVariant& value)
{
    if (!holds(value, {QMetaType::fromType<double>(), QMetaType::fromType<float>()}) &&
        !holdsWholeNumber(value))
        return std::nullopt;
    return value.toDouble();
}

std::optional<QColor> asColour(const QVariant& value)
{
    if (!holds(value, {QMetaType::fromType<QColor>()}))
        return std::nullopt;
    return qvariant_cast<QColor>(value);
}

std::optional<Gradient> asGradient(const QVariant& value)
{
    if (!holds(value, {QMetaType::fromType<Gradient>()}))
        return std::nullopt;
    return qvariant_cast<Gradient>(value);
}

// Only a value of that very enumeration, and one it names: an int or a string of the same
// number is refused, and so is a number the enumeration does not name (as a file's is).
template <class E> std::optional<E> asEnum(const QVariant& value)
{
    if (!holds(value, {QMetaType::fromType<E>()}))
        return std::nullopt;
    const E named = qvariant_cast<E>(value);
    if (!isKnown(named))
        return std::nullopt;
    return named;
}

// What an edit works on: the document, its selection and the stack the command goes to.
struct Target
{
    VelmoraDocument& document;
    const SelectionManager& selection;
    QUndoStack& stack;

    bool selects(SelectionManager::SelectionKind kind) const { return selection.kind() == kind; }
};

using Dispatch = bool (*)(const Target&, const QVariant&);

// The three families: a command for the selected pages (ascending ids), the selected controls
// (in selection order) or the first selected page switcher, with the converted value.
template <class Command, auto Convert> bool forPages(const Target& t, const QVariant& value)
{
    const auto converted = Convert(value);
    if (!t.selects(SelectionManager::SelectionKind_PAGES) || !converted)
        return false;
    t.stack.push(
        new Command(t.selection.selectedIds(), typename Command::Value(*converted), t.document));
    return true;
}

template <class Command, auto Convert> bool forControls(const Target& t, const QVariant& value)
{
    const auto converted = Convert(value);
    if (!t.selects(SelectionManager::SelectionKind_CONTROLS) || !converted)
        return false;
    t.stack.push(new Command(t.selection.selectedIdVector(), typename Command::Value(*converted),
                             t.document));
    return true;
}

template <class Command, auto Convert> bool forSwitcher(const Target& t, const QVariant& value)
{
    if (!t.selects(SelectionManager::SelectionKind_PAGE_SWITCHERS))
        return false;
    const auto converted = Convert(value);
    if (!converted)
        return false;
    t.stack.push(
        new Command(*t.selection.begin(), typename Command::Value(*converted), t.document));
    return true;
}

// The value plays no part: the first selected page becomes the default page.
bool setDefaultPage(const Target& t, const QVariant&)
{
    if (!t.selects(SelectionManager::SelectionKind_PAGES))
        return false;
    t.stack.push(new SetDefaultPageCommand(*t.selection.begin(), t.document));
    return true;
}

bool hasAction(const Control& control, Action action)
{
    switch (control.getType()) {
    case ControlType_BUTTON:
        return action == Action_CLICK;
    case ControlType_SLIDER:
        return action == Action_INCREMENT || action == Action_DECREMENT;
    default:
        return false;
    }
}

// An IR slot of the action. "Unassigned" (an invalid value or 255) may go to any number of
// controls. A real slot (0 to 15) goes to one control that has the action, and only when no
// other control holds it: the command would otherwise stop the program, or enter the slot in
// the project's table for a control that cannot use it.
template <Action A> bool assignIRSlot(const Target& t, const QVariant& value)
{
    if (!t.selects(SelectionManager::SelectionKind_CONTROLS))
        return false;
    unsigned int slot = NoIRSlot;
    if (value.isValid()) {
        const std::optional<int> number = asInt(value);
        if (!number || *number < 0)
            return false;
        slot = unsigned(*number);
    }
    const std::vector<unsigned int>& ids = t.selection.selectedIdVector();
    if (slot != NoIRSlot) {
        if (slot > 15 || ids.size() != 1)
            return false;
        const Control& control = t.document.getControl(ids.front());
        if (!hasAction(control, A))
            return false;
        if (control.getIRSlotId(A) != slot && !t.document.freeIRSlots().count(slot))
            return false;
    }
    t.stack.push(new AssignControlIRSlotCommand(ids, A, (unsigned char)slot, t.document));
    return true;
}

// Edits of the page switcher's alignment arrive as Velmora::Alignment; the command keeps a
// number.
std::optional<unsigned int> asAlignment(const QVariant& value)
{
    const std::optional<Alignment> alignment = asEnum<Alignment>(value);
    return alignment ? std::optional<unsigned int>(unsigned(*alignment)) : std::nullopt;
}

struct Row
{
    int id;
    Dispatch dispatch;
};

// Every property id of the property editor that changes the project, with the command it
// makes. The group ids (9, 17, 30, 39, 42, 45, 48, 52) are not edited and are not listed.
const Row rows[] = {
    {1, forPages<SetPageNameCommand, asString>},
    {2, forPages<SetPageIconCommand, asUInt>},
    {3, setDefaultPage},
    {4, forPages<SetPageBackgroundColourCommand, asColour>},
    {5, forPages<SetPageBackgroundGradientCommand, asGradient>},
    {6, forPages<SetPageBackgroundGradientRotationCommand, asUInt>},
    {7, forPages<SetPageBackgroundImageCommand, asUInt>},
    {8, forPages<SetPageBackgroundImageScalingCommand, asEnum<Scaling>>},

    {10, forControls<SetControlCaptionCommand, asString>},
    {11, forControls<SetControlKeyCommand, asString>},
    {12, forControls<SetControlStartupSkinCommand, asString>},
    {13, forControls<SetControlXCommand, asInt>},
    {14, forControls<SetControlYCommand, asInt>},
    {15, forControls<SetControlWidthCommand, asInt>},
    {16, forControls<SetControlHeightCommand, asInt>},

    {18, forControls<SetButtonImageCommand, asUIntOrNone>},
    {19, forControls<SetButtonFontSizeCommand, asInt>},
    {20, forControls<SetButtonWordWrapCommand, asBool>},
    {21, forControls<SetButtonActuationCommand, asEnum<Button::Actuation>>},
    {22, forControls<SetButtonHeldTimeoutCommand, asUInt>},
    {23, forControls<SetButtonRepeatIntervalCommand, asUInt>},
    {24, forControls<SetButtonFunctionCommand, asEnum<ButtonFunction>>},
    {25, forControls<SetButtonFunctionPageIdArgCommand, asUIntOrNone>},
    {26, forControls<SetButtonFunctionPageTransitionArgCommand, asEnum<PageTransition>>},
    {27, forControls<SetButtonFunctionPageTransitionDurationArgCommand, asUInt>},
    {28, forControls<SetButtonFunctionLevelArgCommand, asUInt>},
    {29, assignIRSlot<Action_CLICK>},

    {31, forControls<SetSliderShowValueCommand, asBool>},
    {32, forControls<SetSliderUnitCommand, asEnum<Slider::Unit>>},
    {33, forControls<SetSliderCaptionFontSizeCommand, asInt>},
    {34, forControls<SetSliderValueFontSizeCommand, asInt>},
    {35, forControls<SetSliderSpacingCommand, asInt>},
    {36, forControls<SetSliderHandleSizeCommand, asDouble>},
    {37, assignIRSlot<Action_INCREMENT>},
    {38, assignIRSlot<Action_DECREMENT>},

    {40, forControls<SetColourPickerFontSizeCommand, asInt>},
    {41, forControls<SetColourPickerSpacingCommand, asInt>},
    {43, forControls<SetKeypadMaxDigitsCommand, asInt>},
    {44, forControls<SetKeypadHideCharactersCommand, asBool>},
    {46, forControls<SetLabelFontSizeCommand, asInt>},
    {47, forControls<SetLabelWordWrapCommand, asBool>},
    {49, forControls<SetClockTypeCommand, asEnum<Clock::ClockType>>},
    {50, forControls<SetClockFontSizeCommand, asInt>},
    {51, forControls<SetClockSpacingCommand, asInt>},

    {53, forSwitcher<SetPageSwitcherAlignmentCommand, asAlignment>},
    {54, forSwitcher<SetPageSwitcherGradientCommand, asGradient>},
    {55, forSwitcher<SetPageSwitcherOpacityCommand, asDouble>},
    {56, forSwitcher<SetPageSwitcherFontSizeCommand, asInt>},
    {57, forSwitcher<SetPageSwitcherTextColourCommand, asColour>},
    {58, forSwitcher<SetPageSwitcherShowPageNamesCommand, asBool>},
    {59, forSwitcher<SetPageSwitcherHighlightColourCommand, asColour>},
    {60, forSwitcher<SetPageSwitcherHighlightOpacityCommand, asDouble>},
    {61, forSwitcher<SetPageSwitcherShowTimeCommand, asBool>},
    {62, forSwitcher<SetPageSwitcherShowDateCommand, asBool>},
    {63, forSwitcher<SetPageSwitcherTimeFormatCommand, asString>},
    {64, forSwitcher<SetPageSwitcherDateFormatCommand, asString>},
    {65, forSwitcher<SetPageSwitcherDateTimeFontSizeCommand, asInt>},
    {66, forSwitcher<SetPageSwitcherDateTimeAtEndCommand, asBool>},
};

} // namespace

PropertyDispatch::PropertyDispatch(VelmoraDocument& document) : document(document) {}

bool PropertyDispatch::setPropertyValue(int id, const QVariant& value, QUndoStack& stack)
{
    for (const Row& row : rows)
        if (row.id == id)
            return row.dispatch(Target{document, document.selection(), stack}, value);
    return false;
}
