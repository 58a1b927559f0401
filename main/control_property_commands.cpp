#include "main/control_property_commands.h"

#include "appengine/page_preview_scene.h"
#include "core/assertion.h"
#include "main/velmora_document.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"

#include <QRegularExpression>
#include <QVariant>
#include <algorithm>
#include <type_traits>

using namespace Velmora;

// How one control property is read and written, and where it shows.
template <class T> struct ControlProperty
{
    using LiveWriter = void (*)(VelmoraDocument& document, const Control& control);

    int commandId;
    ControlType type; // 0: controls of every type
    T (*get)(const Control& control);
    void (*set)(Control& control, const T& value);
    const char* liveName; // the live item's property that takes the new value; null: none
    LiveWriter liveExtra; // further writes into the live item after that one; null: none
    bool thumbnail;       // whether the thumbnail of the control's page becomes stale
};

namespace {

using Command = VelmoraCommand;
constexpr bool Thumbnail = true;
constexpr bool NoThumbnail = false;

template <class C> constexpr ControlType typeOf()
{
    if constexpr (std::is_same_v<C, Button>)
        return ControlType_BUTTON;
    else if constexpr (std::is_same_v<C, Slider>)
        return ControlType_SLIDER;
    else if constexpr (std::is_same_v<C, ColourPicker>)
        return ControlType_COLOUR_PICKER;
    else if constexpr (std::is_same_v<C, Keypad>)
        return ControlType_KEYPAD;
    else if constexpr (std::is_same_v<C, Label>)
        return ControlType_LABEL;
    else if constexpr (std::is_same_v<C, Clock>)
        return ControlType_CLOCK;
    else
        return ControlType(0);
}

// A property held by a field of control class C, read and written as T through the class's
// own getter and setter.
template <class C, class T, auto Get, auto Set>
ControlProperty<T> field(int commandId, const char* liveName, bool thumbnail,
                         typename ControlProperty<T>::LiveWriter liveExtra = nullptr)
{
    return {commandId,
            typeOf<C>(),
            [](const Control& control) { return T((static_cast<const C&>(control).*Get)()); },
            [](Control& control, const T& value) { (static_cast<C&>(control).*Set)(value); },
            liveName,
            liveExtra,
            thumbnail};
}

// Enumerations reach the QML items as plain numbers.
template <class T> QVariant liveValue(const T& value)
{
    if constexpr (std::is_enum_v<T>)
        return int(value);
    else
        return QVariant::fromValue(value);
}

int leftOf(const Control& control)
{
    return control.getGeometry().left();
}

int topOf(const Control& control)
{
    return control.getGeometry().top();
}

int widthOf(const Control& control)
{
    return control.getGeometry().width();
}

int heightOf(const Control& control)
{
    return control.getGeometry().height();
}

// A typed position moves the control, a typed size moves its right or bottom edge, each as far
// as the range of control geometry lets it.
void setLeft(Control& control, const int& value)
{
    const QRect& geometry = control.getGeometry();
    control.setGeometry(geometry.translated(
        ControlGeometry::limitedOffset(geometry, qint64(value) - geometry.left(), 0)));
}

void setTop(Control& control, const int& value)
{
    const QRect& geometry = control.getGeometry();
    control.setGeometry(geometry.translated(
        ControlGeometry::limitedOffset(geometry, 0, qint64(value) - geometry.top())));
}

void setWidth(Control& control, const int& value)
{
    control.setGeometry(
        ControlGeometry::resized(control.getGeometry(), value, control.getGeometry().height()));
}

void setHeight(Control& control, const int& value)
{
    control.setGeometry(
        ControlGeometry::resized(control.getGeometry(), control.getGeometry().width(), value));
}

void writeShowCaption(VelmoraDocument& document, const Control& control)
{
    if (control.getType() == ControlType_SLIDER)
        document.previewScene()->setControlProperty(control.getId(), QStringLiteral("showCaption"),
                                                    !control.getCaption().isEmpty());
}

void showStartupSkin(VelmoraDocument& document, const Control& control)
{
    document.previewScene()->setControlSkin(control.getId(), control.getStartupSkin(), true);
}

void writeFixedImage(VelmoraDocument& document, const Control& control)
{
    const unsigned int imageId = static_cast<const Button&>(control).getImageId();
    const QString source = imageId == UINT_MAX ? QString()
                                               : QStringLiteral("image://theme%1/controlImage%2")
                                                     .arg(document.getSerial())
                                                     .arg(imageId);
    document.previewScene()->setControlProperty(control.getId(), QStringLiteral("fixedImageSource"),
                                                source);
}

void writeSliderRange(VelmoraDocument& document, const Control& control)
{
    const auto& slider = static_cast<const Slider&>(control);
    PagePreviewScene* scene = document.previewScene();
    scene->setControlProperty(slider.getId(), QStringLiteral("valueSuffix"),
                              slider.getValueSuffix());
    scene->setControlProperty(slider.getId(), QStringLiteral("minimum"), slider.getMinimum());
    scene->setControlProperty(slider.getId(), QStringLiteral("maximum"), slider.getMaximum());
}

void rebuildPreview(VelmoraDocument& document, const Control&)
{
    document.previewScene()->rebuildItems();
}

// The tables, one per value type. Commands whose writes are their own (IR slot, button
// function) have no row.

template <class T> const std::vector<ControlProperty<T>>& controlProperties()
{
    static const std::vector<ControlProperty<T>> none;
    return none;
}

template <> const std::vector<ControlProperty<QString>>& controlProperties<QString>()
{
    static const std::vector<ControlProperty<QString>> rows = {
        field<Control, QString, &Control::getCaption, &Control::setCaption>(
            Command::CommandId_SET_CONTROL_CAPTION, "caption", Thumbnail, &writeShowCaption),
        field<Control, QString, &Control::getName, &Control::setName>(
            Command::CommandId_SET_CONTROL_KEY, nullptr, NoThumbnail),
        field<Control, QString, &Control::getStartupSkin, &Control::setStartupSkin>(
            Command::CommandId_SET_CONTROL_STARTUP_SKIN, "startupSkin", Thumbnail,
            &showStartupSkin),
    };
    return rows;
}

template <> const std::vector<ControlProperty<int>>& controlProperties<int>()
{
    static const std::vector<ControlProperty<int>> rows = {
        {Command::CommandId_SET_CONTROL_X, ControlType(0), &leftOf, &setLeft, "x", nullptr,
         Thumbnail},
        {Command::CommandId_SET_CONTROL_Y, ControlType(0), &topOf, &setTop, "y", nullptr,
         Thumbnail},
        {Command::CommandId_SET_CONTROL_WIDTH, ControlType(0), &widthOf, &setWidth, "width",
         nullptr, Thumbnail},
        {Command::CommandId_SET_CONTROL_HEIGHT, ControlType(0), &heightOf, &setHeight, "height",
         nullptr, Thumbnail},
        field<Button, int, &Button::getFontSize, &Button::setFontSize>(
            Command::CommandId_SET_BUTTON_FONT_SIZE, "fontSize", Thumbnail),
        field<Slider, int, &Slider::getCaptionFontSize, &Slider::setCaptionFontSize>(
            Command::CommandId_SET_SLIDER_CAPTION_FONT_SIZE, "captionFontSize", Thumbnail),
        field<Slider, int, &Slider::getValueFontSize, &Slider::setValueFontSize>(
            Command::CommandId_SET_SLIDER_VALUE_FONT_SIZE, "valueFontSize", Thumbnail),
        field<Slider, int, &Slider::getSpacing, &Slider::setSpacing>(
            Command::CommandId_SET_SLIDER_SPACING, "spacing", Thumbnail),
        field<ColourPicker, int, &ColourPicker::getCaptionFontSize,
              &ColourPicker::setCaptionFontSize>(Command::CommandId_SET_COLOUR_PICKER_FONT_SIZE,
                                                 "captionFontSize", Thumbnail),
        field<ColourPicker, int, &ColourPicker::getSpacing, &ColourPicker::setSpacing>(
            Command::CommandId_SET_COLOUR_PICKER_SPACING, "spacing", Thumbnail),
        field<Keypad, int, &Keypad::getMaxDigits, &Keypad::setMaxDigits>(
            Command::CommandId_SET_KEYPAD_MAX_DIGITS, "maxWidth", NoThumbnail),
        field<Label, int, &Label::getFontSize, &Label::setFontSize>(
            Command::CommandId_SET_LABEL_FONT_SIZE, "fontSize", Thumbnail),
        field<Clock, int, &Clock::getCaptionFontSize, &Clock::setCaptionFontSize>(
            Command::CommandId_SET_CLOCK_FONT_SIZE, "captionFontSize", Thumbnail),
        field<Clock, int, &Clock::getSpacing, &Clock::setSpacing>(
            Command::CommandId_SET_CLOCK_SPACING, "spacing", Thumbnail),
    };
    return rows;
}

template <> const std::vector<ControlProperty<unsigned int>>& controlProperties<unsigned int>()
{
    static const std::vector<ControlProperty<unsigned int>> rows = {
        field<Button, unsigned int, &Button::getImageId, &Button::setImageId>(
            Command::CommandId_SET_BUTTON_IMAGE, nullptr, Thumbnail, &writeFixedImage),
        field<Button, unsigned int, &Button::getHeldTimeout, &Button::setHeldTimeout>(
            Command::CommandId_SET_BUTTON_HELD_TIMEOUT, "heldTimeout", NoThumbnail),
        field<Button, unsigned int, &Button::getRepeatInterval, &Button::setRepeatInterval>(
            Command::CommandId_SET_BUTTON_REPEAT_INTERVAL, "repeatInterval", NoThumbnail),
        field<Button, unsigned int, &Button::getFunctionPage, &Button::setFunctionPage>(
            Command::CommandId_SET_BUTTON_FUNCTION_PAGE_ID_ARG, nullptr, NoThumbnail),
        field<Button, unsigned int, &Button::getFunctionTransitionDuration,
              &Button::setFunctionTransitionDuration>(
            Command::CommandId_SET_BUTTON_FUNCTION_PAGE_TRANSITION_DURATION_ARG, nullptr,
            NoThumbnail),
        field<Button, unsigned int, &Button::getFunctionLevel, &Button::setFunctionLevel>(
            Command::CommandId_SET_BUTTON_FUNCTION_LEVEL_ARG, nullptr, NoThumbnail),
    };
    return rows;
}

template <> const std::vector<ControlProperty<bool>>& controlProperties<bool>()
{
    static const std::vector<ControlProperty<bool>> rows = {
        field<Button, bool, &Button::getWordWrap, &Button::setWordWrap>(
            Command::CommandId_SET_BUTTON_WORD_WRAP, "wordWrap", Thumbnail),
        field<Slider, bool, &Slider::getShowValue, &Slider::setShowValue>(
            Command::CommandId_SET_SLIDER_SHOW_VALUE, "showValue", Thumbnail),
        field<Keypad, bool, &Keypad::getHideCharacters, &Keypad::setHideCharacters>(
            Command::CommandId_SET_KEYPAD_HIDE_CHARACTERS, "hideCharacters", NoThumbnail),
        field<Label, bool, &Label::getWordWrap, &Label::setWordWrap>(
            Command::CommandId_SET_LABEL_WORD_WRAP, "wordWrap", Thumbnail),
    };
    return rows;
}

template <> const std::vector<ControlProperty<double>>& controlProperties<double>()
{
    static const std::vector<ControlProperty<double>> rows = {
        field<Slider, double, &Slider::getHandleSize, &Slider::setHandleSize>(
            Command::CommandId_SET_SLIDER_HANDLE_SIZE, "handleSize", Thumbnail),
    };
    return rows;
}

template <>
const std::vector<ControlProperty<Button::Actuation>>& controlProperties<Button::Actuation>()
{
    static const std::vector<ControlProperty<Button::Actuation>> rows = {
        field<Button, Button::Actuation, &Button::getActuation, &Button::setActuation>(
            Command::CommandId_SET_BUTTON_ACTUATION, "actuation", NoThumbnail),
    };
    return rows;
}

template <> const std::vector<ControlProperty<PageTransition>>& controlProperties<PageTransition>()
{
    static const std::vector<ControlProperty<PageTransition>> rows = {
        field<Button, PageTransition, &Button::getFunctionTransition,
              &Button::setFunctionTransition>(
            Command::CommandId_SET_BUTTON_FUNCTION_PAGE_TRANSITION_ARG, nullptr, NoThumbnail),
    };
    return rows;
}

template <> const std::vector<ControlProperty<Slider::Unit>>& controlProperties<Slider::Unit>()
{
    static const std::vector<ControlProperty<Slider::Unit>> rows = {
        field<Slider, Slider::Unit, &Slider::getUnit, &Slider::setUnit>(
            Command::CommandId_SET_SLIDER_UNIT, nullptr, Thumbnail, &writeSliderRange),
    };
    return rows;
}

template <>
const std::vector<ControlProperty<Clock::ClockType>>& controlProperties<Clock::ClockType>()
{
    static const std::vector<ControlProperty<Clock::ClockType>> rows = {
        field<Clock, Clock::ClockType, &Clock::getClockType, &Clock::setClockType>(
            Command::CommandId_SET_CLOCK_TYPE, nullptr, Thumbnail, &rebuildPreview),
    };
    return rows;
}

template <class T> const ControlProperty<T>* controlPropertyOf(int commandId)
{
    for (const ControlProperty<T>& row : controlProperties<T>())
        if (row.commandId == commandId)
            return &row;
    return nullptr;
}

} // namespace

template <class T>
SetControlPropertyCommand<T>::SetControlPropertyCommand(const std::vector<unsigned int>& controlIds,
                                                        const T& value, int commandId,
                                                        VelmoraDocument& document,
                                                        QUndoCommand* parent)
    : VelmoraCommand(commandId, document, parent), m_controlIds(controlIds),
      m_property(controlPropertyOf<T>(commandId))
{
    for (unsigned int controlId : m_controlIds)
        m_values.emplace(controlId, value);
}

template <class T> SetControlPropertyCommand<T>::~SetControlPropertyCommand() = default;

template <class T>
bool SetControlPropertyCommand<T>::hasSameTargets(const VelmoraCommand& other) const
{
    const auto* command = dynamic_cast<const SetControlPropertyCommand<T>*>(&other);
    return command && command->m_controlIds == m_controlIds;
}

template <class T> void SetControlPropertyCommand<T>::execute()
{
    for (unsigned int controlId : m_controlIds) {
        T& value = m_values.at(controlId);
        value = setProperty(controlId, value);
    }
    sendChangeEvent();
}

template <class T>
T SetControlPropertyCommand<T>::setProperty(unsigned int controlId, const T& value)
{
    VELMORA_ASSERT(m_property);
    Control& control = document().getControl(controlId);
    if (m_property->type != ControlType(0) && control.getType() != m_property->type)
        return value;
    const T previous = m_property->get(control);
    m_property->set(control, value);
    if (m_property->liveName)
        document().previewScene()->setControlProperty(controlId,
                                                      QString::fromLatin1(m_property->liveName),
                                                      liveValue(m_property->get(control)));
    if (m_property->liveExtra)
        m_property->liveExtra(document(), control);
    if (m_property->thumbnail)
        document().invalidatePageThumbnail(control.getPageId());
    return previous;
}

template <class T> void SetControlPropertyCommand<T>::sendChangeEvent()
{
    ControlPropertyChangedEvent event(m_controlIds);
    send(event);
}

template class SetControlPropertyCommand<int>;
template class SetControlPropertyCommand<unsigned char>;
template class SetControlPropertyCommand<unsigned int>;
template class SetControlPropertyCommand<bool>;
template class SetControlPropertyCommand<double>;
template class SetControlPropertyCommand<QString>;
template class SetControlPropertyCommand<Button::Actuation>;
template class SetControlPropertyCommand<ButtonFunction>;
template class SetControlPropertyCommand<PageTransition>;
template class SetControlPropertyCommand<Slider::Unit>;
template class SetControlPropertyCommand<Clock::ClockType>;

SetKeypadHideCharactersCommand::SetKeypadHideCharactersCommand(
    const std::vector<unsigned int>& controlIds, bool hide, VelmoraDocument& document,
    QUndoCommand* parent)
    : ControlPropertyCommand(controlIds, hide, document, parent)
{
    setText(commandText(CommandId_SET_KEYPAD_HIDE_CHARACTERS, !hide));
}

SetControlKeyCommand::SetControlKeyCommand(const std::vector<unsigned int>& controlIds,
                                           const QString& key, VelmoraDocument& document,
                                           QUndoCommand* parent)
    : SetControlPropertyCommand<QString>(controlIds, key, CommandId_SET_CONTROL_KEY, document,
                                         parent)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("(.*)\\{([0-9]+),([0-9]+)?\\}")));
    const QRegularExpressionMatch match = pattern.match(key);
    if (!match.hasMatch())
        return;
    m_numbered = false;
    m_prefix = match.captured(1);
    m_firstNumber = match.captured(2).toUInt();
    bool converts = false;
    const unsigned int last = match.captured(3).toUInt(&converts);
    if (converts)
        m_lastNumber = last;
    if (m_lastNumber < m_firstNumber)
        m_lastNumber = m_firstNumber;
}

void SetControlKeyCommand::execute()
{
    if (m_numbered) {
        SetControlPropertyCommand<QString>::execute();
        return;
    }
    // The last number read as a signed 32-bit number gives the width: no upper end (UINT_MAX)
    // counts as one digit.
    const int last = int(m_lastNumber);
    const int width = std::max(3, last > 9 ? int(QString::number(last).size()) : 1);
    // Counted in 64 bits, so that a count up to UINT_MAX starts again rather than wrapping.
    quint64 number = m_firstNumber;
    for (unsigned int controlId : controlIds()) {
        const QString key =
            m_prefix + QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
        values()[controlId] = setProperty(controlId, key);
        if (++number > m_lastNumber)
            number = m_firstNumber;
    }
    m_numbered = true;
    sendChangeEvent();
}

SetSliderUnitCommand::SetSliderUnitCommand(const std::vector<unsigned int>& controlIds,
                                           Slider::Unit unit, VelmoraDocument& document,
                                           QUndoCommand* parent)
    : SetControlPropertyCommand<Slider::Unit>(controlIds, unit, CommandId_SET_SLIDER_UNIT, document,
                                              parent)
{
}

Slider::Unit SetSliderUnitCommand::setProperty(unsigned int controlId, const Slider::Unit& unit)
{
    Control& control = document().getControl(controlId);
    if (control.getType() != ControlType_SLIDER)
        return SetControlPropertyCommand<Slider::Unit>::setProperty(controlId, unit);
    auto& slider = static_cast<Slider&>(control);
    const Range before{slider.getMinimum(), slider.getMaximum(), slider.getValueSuffix()};
    const Slider::Unit previous =
        SetControlPropertyCommand<Slider::Unit>::setProperty(controlId, unit);
    const auto kept = m_ranges.find(controlId);
    if (kept != m_ranges.end()) {
        slider.setMinimum(kept->second.minimum);
        slider.setMaximum(kept->second.maximum);
        slider.setValueSuffix(kept->second.valueSuffix);
        writeSliderRange(document(), slider);
    }
    m_ranges[controlId] = before;
    return previous;
}

AssignControlIRSlotCommand::AssignControlIRSlotCommand(const std::vector<unsigned int>& controlIds,
                                                       Action action, unsigned char slotId,
                                                       VelmoraDocument& document,
                                                       QUndoCommand* parent)
    : SetControlPropertyCommand<unsigned char>(controlIds, slotId, CommandId_ASSIGN_CONTROL_IR_SLOT,
                                               document, parent),
      m_action(action)
{
    VELMORA_ASSERT((slotId == UCHAR_MAX) || (controlIds.size() == 1));
}

bool AssignControlIRSlotCommand::hasSameTargets(const VelmoraCommand& other) const
{
    const auto* command = dynamic_cast<const AssignControlIRSlotCommand*>(&other);
    return command && command->m_action == m_action &&
           SetControlPropertyCommand<unsigned char>::hasSameTargets(other);
}

unsigned char AssignControlIRSlotCommand::setProperty(unsigned int controlId,
                                                      const unsigned char& slotId)
{
    Control& control = document().getControl(controlId);
    const unsigned char previous = control.getIRSlotId(m_action);
    control.setIRSlotId(m_action, slotId);
    if (previous != NoIRSlot)
        document().clearIRSlot(previous);
    // A control without the action took no slot: the table must not name it, or the slot
    // would stay taken after an undo.
    if (slotId != NoIRSlot && control.getIRSlotId(m_action) == slotId)
        document().assignIRSlot(slotId, controlId, m_action);
    return previous;
}

namespace {

bool hasPage(ButtonFunction function)
{
    return function == ButtonFunction_GO_TO_PAGE;
}

bool hasLevel(ButtonFunction function)
{
    return function == ButtonFunction_SET_BRIGHTNESS;
}

bool hasArguments(ButtonFunction function)
{
    return hasPage(function) || hasLevel(function) || Button::hasTransition(function);
}

ButtonFunctionArguments argumentsOf(const Button& button)
{
    ButtonFunctionArguments arguments;
    const ButtonFunction function = button.getFunction();
    if (hasPage(function))
        arguments.pageOrLevel = button.getFunctionPage();
    else if (hasLevel(function))
        arguments.pageOrLevel = quint32(button.getFunctionLevel());
    if (Button::hasTransition(function)) {
        arguments.transition = button.getFunctionTransition();
        arguments.duration = quint32(button.getFunctionTransitionDuration());
    }
    return arguments;
}

void giveArguments(Button& button, const ButtonFunctionArguments& arguments)
{
    const ButtonFunction function = button.getFunction();
    if (hasPage(function))
        button.setFunctionPage(arguments.pageOrLevel);
    else if (hasLevel(function))
        button.setFunctionLevel(int(arguments.pageOrLevel));
    if (Button::hasTransition(function)) {
        button.setFunctionTransition(arguments.transition);
        button.setFunctionTransitionDuration(int(arguments.duration));
    }
}

} // namespace

SetButtonFunctionCommand::SetButtonFunctionCommand(const std::vector<unsigned int>& controlIds,
                                                   ButtonFunction function,
                                                   VelmoraDocument& document, QUndoCommand* parent)
    : SetControlPropertyCommand<ButtonFunction>(controlIds, function, CommandId_SET_BUTTON_FUNCTION,
                                                document, parent)
{
}

ButtonFunction SetButtonFunctionCommand::setProperty(unsigned int controlId,
                                                     const ButtonFunction& function)
{
    Button* button = document().modControl<Button>(controlId);
    if (!button)
        return function;
    const ButtonFunction previous = button->getFunction();
    const ButtonFunctionArguments replaced = argumentsOf(*button);
    button->setFunction(function);
    const auto saved = m_savedArguments.find(controlId);
    if (saved != m_savedArguments.end())
        giveArguments(*button, saved->second);
    if (hasArguments(previous))
        m_savedArguments[controlId] = replaced;
    return previous;
}

MoveControlsCommand::MoveControlsCommand(const std::set<unsigned int>& controlIds,
                                         const QPoint& offset, VelmoraDocument& document,
                                         QUndoCommand* parent)
    : VelmoraCommand(CommandId_MOVE_CONTROLS, document, parent), m_controlIds(controlIds),
      m_offset(offset)
{
    // The group moves together, as far as the range of control geometry lets every one of
    // them: each control can only shorten the offset, towards none.
    for (unsigned int controlId : m_controlIds)
        m_offset =
            ControlGeometry::limitedOffset(document.getControl(controlId).getGeometry(), m_offset);
}

void MoveControlsCommand::redo()
{
    for (unsigned int controlId : m_controlIds) {
        Control& control = document().getControl(controlId);
        control.setGeometry(control.getGeometry().translated(m_offset));
        document().invalidatePageThumbnail(control.getPageId());
    }
    document().previewScene()->setControlGeometry(m_controlIds);
    ControlPropertyChangedEvent event(m_controlIds);
    send(event);
    m_offset = -m_offset;
}

SetControlGeometryCommand::SetControlGeometryCommand(
    const std::map<unsigned int, QRect>& geometries, VelmoraDocument& document,
    QUndoCommand* parent)
    : VelmoraCommand(CommandId_SET_CONTROL_GEOMETRY, document, parent), m_geometries(geometries)
{
    for (auto& entry : m_geometries)
        entry.second = ControlGeometry::limited(entry.second);
}

void SetControlGeometryCommand::redo()
{
    std::set<unsigned int> controlIds;
    for (auto& [controlId, geometry] : m_geometries) {
        Control& control = document().getControl(controlId);
        const QRect previous = control.getGeometry();
        control.setGeometry(geometry);
        geometry = previous;
        document().invalidatePageThumbnail(control.getPageId());
        controlIds.insert(controlId);
    }
    document().previewScene()->setControlGeometry(controlIds);
    ControlPropertyChangedEvent event(controlIds);
    send(event);
}
