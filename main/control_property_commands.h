#pragma once

#include "main/velmora_command.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/velmora_types.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <climits>
#include <map>
#include <set>
#include <vector>

template <class T> struct ControlProperty;

// Sets one property of one or more controls to one value. The command holds, per control, the
// value its next run writes; a run writes those values, in the order of the ids given (the
// selection order), and keeps the ones they replace, so undo and redo are the same exchange.
// Every run ends with one ControlPropertyChangedEvent naming all the command's controls.
//
// A property of one control type leaves controls of other types alone (a mixed selection
// changes only the controls of that type). A write goes to the model, then to the control's
// live item by QML property name (when its page has been built), then marks the thumbnail of
// the control's page stale, where the property shows there.
//
// Newer edits of the same property on the same controls in the same order merge into the
// command on top of the undo stack (never for captions and keys).
//
// How each property is written is a row of the control-property table for the command id,
// unless a subclass overrides setProperty(). Control ids must exist.
template <class T> class SetControlPropertyCommand : public VelmoraCommand
{
public:
    using Value = T;

    SetControlPropertyCommand(const std::vector<unsigned int>& controlIds, const T& value,
                              int commandId, VelmoraDocument& document,
                              QUndoCommand* parent = nullptr);
    ~SetControlPropertyCommand() override;

    void undo() override { execute(); }
    void redo() override { execute(); }

    const std::vector<unsigned int>& controlIds() const { return m_controlIds; }

protected:
    bool hasSameTargets(const VelmoraCommand& other) const override;
    virtual void execute();
    // Writes the value into the control and returns the control's previous value; a control
    // the property does not apply to is left alone and the value comes back.
    virtual T setProperty(unsigned int controlId, const T& value);

    // The value the next run writes, per control.
    std::map<unsigned int, T>& values() { return m_values; }
    void sendChangeEvent();

private:
    std::vector<unsigned int> m_controlIds;
    std::map<unsigned int, T> m_values;
    const ControlProperty<T>* m_property;
};

// A control-property command that its table row describes entirely.
template <class T, int Id> class ControlPropertyCommand : public SetControlPropertyCommand<T>
{
public:
    ControlPropertyCommand(const std::vector<unsigned int>& controlIds, const T& value,
                           VelmoraDocument& document, QUndoCommand* parent = nullptr)
        : SetControlPropertyCommand<T>(controlIds, value, Id, document, parent)
    {
    }
};

// Every control type.
using SetControlCaptionCommand =
    ControlPropertyCommand<QString, VelmoraCommand::CommandId_SET_CONTROL_CAPTION>;
// Shows the skin at once, without its transition.
using SetControlStartupSkinCommand =
    ControlPropertyCommand<QString, VelmoraCommand::CommandId_SET_CONTROL_STARTUP_SKIN>;
// Position and size keep the other edges' extent: X and Y move the control, width and height
// move its right and bottom edges.
using SetControlXCommand = ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_CONTROL_X>;
using SetControlYCommand = ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_CONTROL_Y>;
using SetControlWidthCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_CONTROL_WIDTH>;
using SetControlHeightCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_CONTROL_HEIGHT>;

// Buttons. The image id UINT_MAX is none. The four function arguments apply only while the
// button's function has them; otherwise the button is left as it is.
using SetButtonImageCommand =
    ControlPropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_BUTTON_IMAGE>;
using SetButtonFontSizeCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_BUTTON_FONT_SIZE>;
using SetButtonWordWrapCommand =
    ControlPropertyCommand<bool, VelmoraCommand::CommandId_SET_BUTTON_WORD_WRAP>;
using SetButtonActuationCommand =
    ControlPropertyCommand<Velmora::Button::Actuation,
                           VelmoraCommand::CommandId_SET_BUTTON_ACTUATION>;
using SetButtonHeldTimeoutCommand =
    ControlPropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_BUTTON_HELD_TIMEOUT>;
using SetButtonRepeatIntervalCommand =
    ControlPropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_BUTTON_REPEAT_INTERVAL>;
using SetButtonFunctionPageIdArgCommand =
    ControlPropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_BUTTON_FUNCTION_PAGE_ID_ARG>;
using SetButtonFunctionPageTransitionArgCommand =
    ControlPropertyCommand<Velmora::PageTransition,
                           VelmoraCommand::CommandId_SET_BUTTON_FUNCTION_PAGE_TRANSITION_ARG>;
using SetButtonFunctionPageTransitionDurationArgCommand = ControlPropertyCommand<
    unsigned int, VelmoraCommand::CommandId_SET_BUTTON_FUNCTION_PAGE_TRANSITION_DURATION_ARG>;
using SetButtonFunctionLevelArgCommand =
    ControlPropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_BUTTON_FUNCTION_LEVEL_ARG>;

// Sliders. A unit brings its range and value suffix with it.
using SetSliderShowValueCommand =
    ControlPropertyCommand<bool, VelmoraCommand::CommandId_SET_SLIDER_SHOW_VALUE>;
using SetSliderCaptionFontSizeCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_SLIDER_CAPTION_FONT_SIZE>;
using SetSliderValueFontSizeCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_SLIDER_VALUE_FONT_SIZE>;
using SetSliderSpacingCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_SLIDER_SPACING>;
using SetSliderHandleSizeCommand =
    ControlPropertyCommand<double, VelmoraCommand::CommandId_SET_SLIDER_HANDLE_SIZE>;

// Colour pickers, keypads, labels and clocks. A clock of another type is another QML type, so
// its change rebuilds every preview item.
using SetColourPickerFontSizeCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_COLOUR_PICKER_FONT_SIZE>;
using SetColourPickerSpacingCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_COLOUR_PICKER_SPACING>;
using SetKeypadMaxDigitsCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_KEYPAD_MAX_DIGITS>;
using SetLabelFontSizeCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_LABEL_FONT_SIZE>;
using SetLabelWordWrapCommand =
    ControlPropertyCommand<bool, VelmoraCommand::CommandId_SET_LABEL_WORD_WRAP>;
using SetClockTypeCommand =
    ControlPropertyCommand<Velmora::Clock::ClockType, VelmoraCommand::CommandId_SET_CLOCK_TYPE>;
using SetClockFontSizeCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_CLOCK_FONT_SIZE>;
using SetClockSpacingCommand =
    ControlPropertyCommand<int, VelmoraCommand::CommandId_SET_CLOCK_SPACING>;

// Its text says whether the characters are hidden or shown.
class SetKeypadHideCharactersCommand
    : public ControlPropertyCommand<bool, VelmoraCommand::CommandId_SET_KEYPAD_HIDE_CHARACTERS>
{
public:
    SetKeypadHideCharactersCommand(const std::vector<unsigned int>& controlIds, bool hide,
                                   VelmoraDocument& document, QUndoCommand* parent = nullptr);
};

// Gives every control the key, or numbers the keys when the text ends in "{first,last}" or
// "{first,}": prefix, then the number right-aligned in at least three digits (as many as the
// last number has) padded with zeros, counting from first in the order of the ids and starting
// again at first after last. "pump{1,2}" over four controls gives pump001, pump002, pump001,
// pump002. The numbers are given out on the first run; later runs exchange keys.
class SetControlKeyCommand : public SetControlPropertyCommand<QString>
{
public:
    SetControlKeyCommand(const std::vector<unsigned int>& controlIds, const QString& key,
                         VelmoraDocument& document, QUndoCommand* parent = nullptr);

protected:
    void execute() override;

private:
    bool m_numbered = true;
    QString m_prefix;
    unsigned int m_firstNumber = 1;
    unsigned int m_lastNumber = UINT_MAX;
};

// Gives sliders a unit, which brings its range and value suffix with it. Each run gives every
// slider back the range it had before the run it undoes, so an undo restores a range that
// differs from its unit's defaults too.
class SetSliderUnitCommand : public SetControlPropertyCommand<Velmora::Slider::Unit>
{
public:
    SetSliderUnitCommand(const std::vector<unsigned int>& controlIds, Velmora::Slider::Unit unit,
                         VelmoraDocument& document, QUndoCommand* parent = nullptr);

protected:
    Velmora::Slider::Unit setProperty(unsigned int controlId,
                                      const Velmora::Slider::Unit& unit) override;

private:
    struct Range
    {
        int minimum;
        int maximum;
        QString valueSuffix;
    };
    // The range the next run gives each slider; none before the first run, which takes the
    // unit's own.
    std::map<unsigned int, Range> m_ranges;
};

// Gives the controls an IR slot for one action (Velmora::NoIRSlot takes it away) and keeps the
// project's IR-slot table in step: the slot a control gives up is freed, the one it takes is
// entered. A real slot goes to one control only, and must be free. A control without the
// action is left alone. Merges only with a command for the same action.
class AssignControlIRSlotCommand : public SetControlPropertyCommand<unsigned char>
{
public:
    AssignControlIRSlotCommand(const std::vector<unsigned int>& controlIds, Velmora::Action action,
                               unsigned char slotId, VelmoraDocument& document,
                               QUndoCommand* parent = nullptr);

    Velmora::Action action() const { return m_action; }

protected:
    bool hasSameTargets(const VelmoraCommand& other) const override;
    unsigned char setProperty(unsigned int controlId, const unsigned char& slotId) override;

private:
    const Velmora::Action m_action;
};

// The arguments of a button's function; each field means something only for the functions
// that have that argument.
struct ButtonFunctionArguments
{
    quint32 pageOrLevel = UINT_MAX; // Go To Page's page id, or Set Brightness's level
    Velmora::PageTransition transition = Velmora::PageTransition_NONE;
    quint32 duration = UINT_MAX;
};

// Sets the buttons' function. A new function starts with its default arguments; the arguments
// of the function a run replaces are kept, so that the run that brings that function back
// gives it its arguments again.
class SetButtonFunctionCommand : public SetControlPropertyCommand<Velmora::ButtonFunction>
{
public:
    SetButtonFunctionCommand(const std::vector<unsigned int>& controlIds,
                             Velmora::ButtonFunction function, VelmoraDocument& document,
                             QUndoCommand* parent = nullptr);

protected:
    Velmora::ButtonFunction setProperty(unsigned int controlId,
                                        const Velmora::ButtonFunction& function) override;

private:
    std::map<unsigned int, ButtonFunctionArguments> m_savedArguments;
};

// Moves the controls by the offset; the next run moves them back. Never merges.
class MoveControlsCommand : public VelmoraCommand
{
public:
    MoveControlsCommand(const std::set<unsigned int>& controlIds, const QPoint& offset,
                        VelmoraDocument& document, QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override { redo(); }

private:
    std::set<unsigned int> m_controlIds;
    QPoint m_offset;
};

// Gives each control its rectangle (inclusive edges); the next run gives the old ones back.
// Never merges.
class SetControlGeometryCommand : public VelmoraCommand
{
public:
    SetControlGeometryCommand(const std::map<unsigned int, QRect>& geometries,
                              VelmoraDocument& document, QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override { redo(); }

private:
    std::map<unsigned int, QRect> m_geometries;
};
