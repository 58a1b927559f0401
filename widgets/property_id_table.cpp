#include "widgets/property_id_table.h"

#include "gui/basic_properties.h"
#include "gui/colour_property.h"
#include "gui/enum_property.h"
#include "gui/gradient_property.h"
#include "main/image_slot_page_properties.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/slider.h"

#include <QCoreApplication>
#include <initializer_list>

using namespace Velmora;

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("PropertyEditor", text);
}

// Loaders -----------------------------------------------------------------------------------

using Doc = const VelmoraDocument&;
using Id = unsigned int;

// The editor loads a type's rows only for controls of that type.
template <class T> const T& control(Doc d, Id id)
{
    return static_cast<const T&>(d.getControl(id));
}
template <class E> QVariant enumValue(E value)
{
    return QVariant::fromValue(value);
}
QVariant irSlot(Doc d, Id id, Action action)
{
    return int(d.getControl(id).getIRSlotId(action));
}

// Table builders ----------------------------------------------------------------------------

PropertyRow group(int id, const char* name)
{
    return PropertyRow{id, id,    -1,   name,   PropertyClass::Group, 0, 0, 1.0, false,
                       "", false, true, nullptr};
}

PropertyRow row(int id, int groupId, const char* name, PropertyClass type, PropertyRow::Loader load)
{
    const double maximum = 2147483647.0;
    return PropertyRow{id, groupId, -1, name, type, 0, maximum, 1.0, false, "", false, true, load};
}

PropertyRow ranged(PropertyRow r, double minimum, double maximum, const char* suffix = "",
                   double singleStep = 1.0)
{
    r.minimum = minimum;
    r.maximum = maximum;
    r.suffix = suffix;
    r.singleStep = singleStep;
    return r;
}

PropertyRow wrapping(PropertyRow r)
{
    r.wraps = true;
    return r;
}

PropertyRow under(PropertyRow r, int parent)
{
    r.parent = parent;
    return r;
}

const char* px = "px";
const char* ms = "ms";

std::vector<PropertyRow> buildRows()
{
    using C = PropertyClass;
    const int page = PropertyId_PAGE;
    const int ctl = PropertyId_CONTROL;
    const int btn = PropertyId_BUTTON;
    const int sld = PropertyId_SLIDER;
    const int cp = PropertyId_COLOUR_PICKER;
    const int kp = PropertyId_KEYPAD;
    const int lbl = PropertyId_LABEL;
    const int clk = PropertyId_CLOCK;
    const int sw = PropertyId_PAGE_SWITCHER;

    std::vector<PropertyRow> rows = {
        group(page, QT_TRANSLATE_NOOP("PropertyEditor", "Page")),
        row(PropertyId_PAGE_NAME, page, QT_TRANSLATE_NOOP("PropertyEditor", "Name"), C::String,
            [](Doc d, Id id) { return QVariant(d.getPage(id).getName()); }),
        row(PropertyId_PAGE_DEFAULT, page, QT_TRANSLATE_NOOP("PropertyEditor", "Default"), C::Bool,
            [](Doc d, Id id) { return QVariant(id == d.getDefaultPageId()); }),
        row(PropertyId_PAGE_ICON, page, QT_TRANSLATE_NOOP("PropertyEditor", "Icon"), C::Icon,
            [](Doc d, Id id) { return QVariant(d.getPage(id).getIconId()); }),
        row(PropertyId_PAGE_BACKGROUND_COLOUR, page,
            QT_TRANSLATE_NOOP("PropertyEditor", "Background Colour"), C::Colour,
            [](Doc d, Id id) { return QVariant(d.getPage(id).getBackgroundColour()); }),
        row(PropertyId_PAGE_BACKGROUND_GRADIENT, page,
            QT_TRANSLATE_NOOP("PropertyEditor", "Background Gradient"), C::Gradient,
            [](Doc d, Id id) {
                return QVariant::fromValue(d.getPage(id).getBackgroundGradient());
            }),
        under(wrapping(ranged(row(PropertyId_PAGE_GRADIENT_ROTATION, page,
                                  QT_TRANSLATE_NOOP("PropertyEditor", "Rotation"), C::Int,
                                  [](Doc d, Id id) {
                                      return QVariant(
                                          d.getPage(id).getBackgroundGradientRotation());
                                  }),
                              0, 359, "\u00B0")),
              PropertyId_PAGE_BACKGROUND_GRADIENT),
        row(PropertyId_PAGE_BACKGROUND_IMAGE, page,
            QT_TRANSLATE_NOOP("PropertyEditor", "Background Image"), C::BackgroundImage,
            [](Doc d, Id id) { return QVariant(d.getPage(id).getBackgroundImageId()); }),
        under(
            row(PropertyId_PAGE_IMAGE_SCALING, page, QT_TRANSLATE_NOOP("PropertyEditor", "Scaling"),
                C::Scaling,
                [](Doc d, Id id) { return enumValue(d.getPage(id).getBackgroundImageScaling()); }),
            PropertyId_PAGE_BACKGROUND_IMAGE),

        group(ctl, QT_TRANSLATE_NOOP("PropertyEditor", "Control")),
        row(PropertyId_CONTROL_CAPTION, ctl, QT_TRANSLATE_NOOP("PropertyEditor", "Caption"),
            C::String, [](Doc d, Id id) { return QVariant(d.getControl(id).getCaption()); }),
        row(PropertyId_CONTROL_KEY, ctl, QT_TRANSLATE_NOOP("PropertyEditor", "Key"), C::String,
            [](Doc d, Id id) { return QVariant(d.getControl(id).getName()); }),
        row(PropertyId_CONTROL_STARTUP_STATE, ctl,
            QT_TRANSLATE_NOOP("PropertyEditor", "Startup State"), C::StartupState,
            [](Doc d, Id id) { return QVariant(d.getControl(id).getStartupSkin()); }),
        // Within the range of control geometry, which the edits keep to.
        ranged(row(PropertyId_CONTROL_X, ctl, QT_TRANSLATE_NOOP("PropertyEditor", "X"), C::Int,
                   [](Doc d, Id id) { return QVariant(d.getControl(id).getGeometry().left()); }),
               -ControlGeometry::Limit, ControlGeometry::Limit),
        ranged(row(PropertyId_CONTROL_Y, ctl, QT_TRANSLATE_NOOP("PropertyEditor", "Y"), C::Int,
                   [](Doc d, Id id) { return QVariant(d.getControl(id).getGeometry().top()); }),
               -ControlGeometry::Limit, ControlGeometry::Limit),
        ranged(row(PropertyId_CONTROL_WIDTH, ctl, QT_TRANSLATE_NOOP("PropertyEditor", "Width"),
                   C::Int,
                   [](Doc d, Id id) { return QVariant(d.getControl(id).getGeometry().width()); }),
               0, 2 * ControlGeometry::Limit + 1),
        ranged(row(PropertyId_CONTROL_HEIGHT, ctl, QT_TRANSLATE_NOOP("PropertyEditor", "Height"),
                   C::Int,
                   [](Doc d, Id id) { return QVariant(d.getControl(id).getGeometry().height()); }),
               0, 2 * ControlGeometry::Limit + 1),

        group(btn, QT_TRANSLATE_NOOP("PropertyEditor", "Button")),
        row(PropertyId_BUTTON_IMAGE, btn, QT_TRANSLATE_NOOP("PropertyEditor", "Image"),
            C::ControlImage,
            [](Doc d, Id id) { return QVariant(control<Button>(d, id).getImageId()); }),
        ranged(row(PropertyId_BUTTON_FONT_SIZE, btn,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Font Size"), C::Int,
                   [](Doc d, Id id) { return QVariant(control<Button>(d, id).getFontSize()); }),
               1, 500, px),
        row(PropertyId_BUTTON_WORD_WRAP, btn, QT_TRANSLATE_NOOP("PropertyEditor", "Word Wrap"),
            C::Bool,
            [](Doc d, Id id) { return QVariant(bool(control<Button>(d, id).getWordWrap())); }),
        row(PropertyId_BUTTON_ACTUATION, btn, QT_TRANSLATE_NOOP("PropertyEditor", "Actuation"),
            C::Actuation,
            [](Doc d, Id id) { return enumValue(control<Button>(d, id).getActuation()); }),
        under(ranged(row(PropertyId_BUTTON_HELD_TIMEOUT, btn,
                         QT_TRANSLATE_NOOP("PropertyEditor", "Held Timeout"), C::Int,
                         [](Doc d, Id id) {
                             return QVariant(control<Button>(d, id).getHeldTimeout());
                         }),
                     0, 60000, ms),
              PropertyId_BUTTON_ACTUATION),
        under(ranged(row(PropertyId_BUTTON_REPEAT_INTERVAL, btn,
                         QT_TRANSLATE_NOOP("PropertyEditor", "Repeat Interval"), C::Int,
                         [](Doc d, Id id) {
                             return QVariant(control<Button>(d, id).getRepeatInterval());
                         }),
                     0, 60000, ms),
              PropertyId_BUTTON_ACTUATION),
        row(PropertyId_BUTTON_FUNCTION, btn, QT_TRANSLATE_NOOP("PropertyEditor", "Local Function"),
            C::ButtonFunction,
            [](Doc d, Id id) { return enumValue(control<Button>(d, id).getFunction()); }),
        under(row(PropertyId_BUTTON_FUNCTION_PAGE, btn, QT_TRANSLATE_NOOP("PropertyEditor", "Page"),
                  C::Page,
                  [](Doc d, Id id) { return QVariant(control<Button>(d, id).getFunctionPage()); }),
              PropertyId_BUTTON_FUNCTION),
        under(row(PropertyId_BUTTON_FUNCTION_TRANSITION, btn,
                  QT_TRANSLATE_NOOP("PropertyEditor", "Transition"), C::PageTransition,
                  [](Doc d, Id id) {
                      return enumValue(control<Button>(d, id).getFunctionTransition());
                  }),
              PropertyId_BUTTON_FUNCTION),
        under(ranged(row(PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION, btn,
                         QT_TRANSLATE_NOOP("PropertyEditor", "Transition Duration"), C::Int,
                         [](Doc d, Id id) {
                             return QVariant(
                                 control<Button>(d, id).getFunctionTransitionDuration());
                         }),
                     0, 5000),
              PropertyId_BUTTON_FUNCTION),
        under(ranged(row(PropertyId_BUTTON_FUNCTION_LEVEL, btn,
                         QT_TRANSLATE_NOOP("PropertyEditor", "Level"), C::Int,
                         [](Doc d,
                            Id id) { return QVariant(control<Button>(d, id).getFunctionLevel()); }),
                     0, 255),
              PropertyId_BUTTON_FUNCTION),
        row(PropertyId_BUTTON_CLICK_IR_SLOT, btn,
            QT_TRANSLATE_NOOP("PropertyEditor", "Click IR Slot"), C::IRSlot,
            [](Doc d, Id id) { return irSlot(d, id, Action_CLICK); }),

        group(sld, QT_TRANSLATE_NOOP("PropertyEditor", "Slider")),
        row(PropertyId_SLIDER_SHOW_VALUE, sld, QT_TRANSLATE_NOOP("PropertyEditor", "Show Value"),
            C::Bool, [](Doc d, Id id) { return QVariant(control<Slider>(d, id).getShowValue()); }),
        row(PropertyId_SLIDER_UNIT, sld, QT_TRANSLATE_NOOP("PropertyEditor", "Unit"), C::SliderUnit,
            [](Doc d, Id id) { return enumValue(control<Slider>(d, id).getUnit()); }),
        ranged(
            row(PropertyId_SLIDER_CAPTION_FONT_SIZE, sld,
                QT_TRANSLATE_NOOP("PropertyEditor", "Caption Font Size"), C::Int,
                [](Doc d, Id id) { return QVariant(control<Slider>(d, id).getCaptionFontSize()); }),
            1, 500, px),
        ranged(
            row(PropertyId_SLIDER_VALUE_FONT_SIZE, sld,
                QT_TRANSLATE_NOOP("PropertyEditor", "Value Font Size"), C::Int,
                [](Doc d, Id id) { return QVariant(control<Slider>(d, id).getValueFontSize()); }),
            1, 500, px),
        ranged(row(PropertyId_SLIDER_TEXT_SPACING, sld,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Text Spacing"), C::Int,
                   [](Doc d, Id id) { return QVariant(control<Slider>(d, id).getSpacing()); }),
               0, 100, px),
        ranged(row(PropertyId_SLIDER_HANDLE_SIZE, sld,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Handle Size"), C::Double,
                   [](Doc d, Id id) { return QVariant(control<Slider>(d, id).getHandleSize()); }),
               0.05, 0.95, "", 0.05),
        row(PropertyId_SLIDER_INCREMENT_IR_SLOT, sld,
            QT_TRANSLATE_NOOP("PropertyEditor", "Increment IR Slot"), C::IRSlot,
            [](Doc d, Id id) { return irSlot(d, id, Action_INCREMENT); }),
        row(PropertyId_SLIDER_DECREMENT_IR_SLOT, sld,
            QT_TRANSLATE_NOOP("PropertyEditor", "Decrement IR Slot"), C::IRSlot,
            [](Doc d, Id id) { return irSlot(d, id, Action_DECREMENT); }),

        group(cp, QT_TRANSLATE_NOOP("PropertyEditor", "Colour Picker")),
        ranged(
            row(PropertyId_COLOUR_PICKER_FONT_SIZE, cp,
                QT_TRANSLATE_NOOP("PropertyEditor", "Font Size"), C::Int,
                [](Doc d,
                   Id id) { return QVariant(control<ColourPicker>(d, id).getCaptionFontSize()); }),
            1, 500, px),
        ranged(
            row(PropertyId_COLOUR_PICKER_TEXT_SPACING, cp,
                QT_TRANSLATE_NOOP("PropertyEditor", "Text Spacing"), C::Int,
                [](Doc d, Id id) { return QVariant(control<ColourPicker>(d, id).getSpacing()); }),
            0, 100, px),

        group(kp, QT_TRANSLATE_NOOP("PropertyEditor", "Keypad")),
        ranged(row(PropertyId_KEYPAD_MAX_DIGITS, kp,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Max Digits"), C::Int,
                   [](Doc d, Id id) { return QVariant(control<Keypad>(d, id).getMaxDigits()); }),
               1, 6),
        row(PropertyId_KEYPAD_HIDE_CHARACTERS, kp,
            QT_TRANSLATE_NOOP("PropertyEditor", "Hide Characters"), C::Bool,
            [](Doc d, Id id) { return QVariant(control<Keypad>(d, id).getHideCharacters()); }),

        group(lbl, QT_TRANSLATE_NOOP("PropertyEditor", "Label")),
        ranged(row(PropertyId_LABEL_FONT_SIZE, lbl,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Font Size"), C::Int,
                   [](Doc d, Id id) { return QVariant(control<Label>(d, id).getFontSize()); }),
               1, 500, px),
        row(PropertyId_LABEL_WORD_WRAP, lbl, QT_TRANSLATE_NOOP("PropertyEditor", "Word Wrap"),
            C::Bool, [](Doc d, Id id) { return QVariant(control<Label>(d, id).getWordWrap()); }),

        group(clk, QT_TRANSLATE_NOOP("PropertyEditor", "Clock")),
        ranged(
            row(PropertyId_CLOCK_FONT_SIZE, clk, QT_TRANSLATE_NOOP("PropertyEditor", "Font Size"),
                C::Int,
                [](Doc d, Id id) { return QVariant(control<Clock>(d, id).getCaptionFontSize()); }),
            1, 500, px),
        ranged(row(PropertyId_CLOCK_TEXT_SPACING, clk,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Text Spacing"), C::Int,
                   [](Doc d, Id id) { return QVariant(control<Clock>(d, id).getSpacing()); }),
               0, 100, px),

        group(sw, QT_TRANSLATE_NOOP("PropertyEditor", "Page Switcher")),
        row(PropertyId_PAGE_SWITCHER_ALIGNMENT, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Alignment"), C::Alignment,
            [](Doc d, Id id) { return enumValue(d.getPageSwitcher(id).getAlignment()); }),
        row(PropertyId_PAGE_SWITCHER_BACKGROUND_GRADIENT, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Background Gradient"), C::Gradient,
            [](Doc d, Id id) {
                return QVariant::fromValue(d.getPageSwitcher(id).getBackgroundGradient());
            }),
        ranged(row(PropertyId_PAGE_SWITCHER_BACKGROUND_OPACITY, sw,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Background Opacity"), C::Double,
                   [](Doc d, Id id) {
                       return QVariant(d.getPageSwitcher(id).getBackgroundOpacity());
                   }),
               0, 1.0),
        ranged(
            row(PropertyId_PAGE_SWITCHER_FONT_SIZE, sw,
                QT_TRANSLATE_NOOP("PropertyEditor", "Font Size"), C::Int,
                [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getButtonFontSize()); }),
            1, 255, px),
        row(PropertyId_PAGE_SWITCHER_TEXT_COLOUR, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Text Colour"), C::Colour,
            [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getButtonTextColour()); }),
        row(PropertyId_PAGE_SWITCHER_SHOW_PAGE_NAMES, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Show Page Names"), C::Bool,
            [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getShowPageNames()); }),
        row(PropertyId_PAGE_SWITCHER_HIGHLIGHT_COLOUR, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Highlight Colour"), C::Colour,
            [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getButtonHighlight()); }),
        ranged(row(PropertyId_PAGE_SWITCHER_HIGHLIGHT_OPACITY, sw,
                   QT_TRANSLATE_NOOP("PropertyEditor", "Highlight Opacity"), C::Double,
                   [](Doc d, Id id) {
                       return QVariant(d.getPageSwitcher(id).getButtonHighlightOpacity());
                   }),
               0, 1.0),
        row(PropertyId_PAGE_SWITCHER_SHOW_TIME, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Show Time"), C::Bool,
            [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getShowTime()); }),
        row(PropertyId_PAGE_SWITCHER_SHOW_DATE, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Show Date"), C::Bool,
            [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getShowDate()); }),
        under(row(PropertyId_PAGE_SWITCHER_TIME_FORMAT, sw,
                  QT_TRANSLATE_NOOP("PropertyEditor", "Time Format"), C::String,
                  [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getTimeFormat()); }),
              PropertyId_PAGE_SWITCHER_SHOW_TIME),
        under(row(PropertyId_PAGE_SWITCHER_DATE_FORMAT, sw,
                  QT_TRANSLATE_NOOP("PropertyEditor", "Date Format"), C::String,
                  [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getDateFormat()); }),
              PropertyId_PAGE_SWITCHER_SHOW_DATE),
        ranged(
            row(PropertyId_PAGE_SWITCHER_DATE_TIME_FONT_SIZE, sw,
                QT_TRANSLATE_NOOP("PropertyEditor", "Date/Time Font Size"), C::Int,
                [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getDateTimeFontSize()); }),
            1, 255, px),
        row(PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END, sw,
            QT_TRANSLATE_NOOP("PropertyEditor", "Date/Time Position"), C::DateTimePosition,
            [](Doc d, Id id) { return QVariant(d.getPageSwitcher(id).getDateTimeAtEnd()); }),
    };
    for (PropertyRow& r : rows) {
        if (r.id == PropertyId_PAGE_BACKGROUND_COLOUR)
            r.resetsToWhite = true;
        if (r.id == PropertyId_PAGE_BACKGROUND_GRADIENT)
            r.editsAlpha = false;
    }
    return rows;
}

// Choices -----------------------------------------------------------------------------------

struct Choice
{
    int value;
    const char* text;
};

template <class T> Property* enumRow(Property* parent, std::initializer_list<Choice> choices)
{
    auto* p = new EnumProperty<T>(parent);
    for (const Choice& c : choices)
        p->setString(T(c.value), translated(c.text));
    return p;
}

// The enumerated classes' choices, in the order they are listed.
Property* createEnumRow(PropertyClass type, Property* parent)
{
    switch (type) {
    case PropertyClass::Scaling:
        return enumRow<Scaling>(parent,
                                {{0, QT_TRANSLATE_NOOP("PropertyEditor", "None")},
                                 {1, QT_TRANSLATE_NOOP("PropertyEditor", "Stretch")},
                                 {2, QT_TRANSLATE_NOOP("PropertyEditor", "Zoom To Fit")},
                                 {3, QT_TRANSLATE_NOOP("PropertyEditor", "Zoom (Cropped)")},
                                 {4, QT_TRANSLATE_NOOP("PropertyEditor", "Tiled")},
                                 {5, QT_TRANSLATE_NOOP("PropertyEditor", "Tiled Vertically")},
                                 {6, QT_TRANSLATE_NOOP("PropertyEditor", "Tiled Horizontally")}});
    case PropertyClass::Actuation:
        return enumRow<Button::Actuation>(parent,
                                          {{0, QT_TRANSLATE_NOOP("PropertyEditor", "Momentary")},
                                           {1, QT_TRANSLATE_NOOP("PropertyEditor", "Maintained")}});
    case PropertyClass::ButtonFunction:
        // Back stands with the other page changes.
        return enumRow<ButtonFunction>(
            parent, {{0, QT_TRANSLATE_NOOP("PropertyEditor", "None")},
                     {1, QT_TRANSLATE_NOOP("PropertyEditor", "Next Page")},
                     {2, QT_TRANSLATE_NOOP("PropertyEditor", "Previous Page")},
                     {7, QT_TRANSLATE_NOOP("PropertyEditor", "Back")},
                     {3, QT_TRANSLATE_NOOP("PropertyEditor", "Go To Page")},
                     {4, QT_TRANSLATE_NOOP("PropertyEditor", "Increase Brightness")},
                     {5, QT_TRANSLATE_NOOP("PropertyEditor", "Decrease Brightness")},
                     {6, QT_TRANSLATE_NOOP("PropertyEditor", "Set Brightness")},
                     {8, QT_TRANSLATE_NOOP("PropertyEditor", "Lock")}});
    case PropertyClass::PageTransition:
        return enumRow<PageTransition>(parent,
                                       {{0, QT_TRANSLATE_NOOP("PropertyEditor", "None")},
                                        {1, QT_TRANSLATE_NOOP("PropertyEditor", "Pan Left")},
                                        {2, QT_TRANSLATE_NOOP("PropertyEditor", "Pan Right")}});
    case PropertyClass::SliderUnit:
        return enumRow<Slider::Unit>(parent, {{1, QT_TRANSLATE_NOOP("PropertyEditor", "8 bit")},
                                              {2, QT_TRANSLATE_NOOP("PropertyEditor", "Percent")}});
    case PropertyClass::Alignment:
        return enumRow<Alignment>(parent, {{0, QT_TRANSLATE_NOOP("PropertyEditor", "Start")},
                                           {1, QT_TRANSLATE_NOOP("PropertyEditor", "End")},
                                           {2, QT_TRANSLATE_NOOP("PropertyEditor", "Center")},
                                           {3, QT_TRANSLATE_NOOP("PropertyEditor", "Spread")}});
    case PropertyClass::DateTimePosition:
        return enumRow<bool>(parent, {{0, QT_TRANSLATE_NOOP("PropertyEditor", "Start")},
                                      {1, QT_TRANSLATE_NOOP("PropertyEditor", "End")}});
    case PropertyClass::StartupState:
        return new EnumProperty<QString>(parent);
    default:
        return nullptr;
    }
}

} // namespace

const std::vector<PropertyRow>& propertyRows()
{
    static const std::vector<PropertyRow> rows = buildRows();
    return rows;
}

const PropertyRow* propertyRow(int id)
{
    for (const PropertyRow& r : propertyRows())
        if (r.id == id)
            return &r;
    return nullptr;
}

Property* createPropertyRow(const PropertyRow& row, Property* parent)
{
    Property* p = nullptr;
    switch (row.type) {
    case PropertyClass::Group:
        p = new PropertyGroup(parent);
        break;
    case PropertyClass::String:
        p = new StringProperty(parent);
        break;
    case PropertyClass::Int: {
        auto* number = new IntProperty(parent);
        number->minimum = int(row.minimum);
        number->maximum = int(row.maximum);
        number->wrapping = row.wraps;
        number->suffix = translated(row.suffix);
        p = number;
        break;
    }
    case PropertyClass::Double: {
        auto* number = new DoubleProperty(parent);
        number->minimum = row.minimum;
        number->maximum = row.maximum;
        number->singleStep = row.singleStep;
        number->suffix = translated(row.suffix);
        p = number;
        break;
    }
    case PropertyClass::Bool:
        p = new BoolProperty(parent);
        break;
    case PropertyClass::Colour: {
        auto* colour = new ColourProperty(parent);
        if (row.resetsToWhite)
            colour->defaultColour = Qt::white;
        p = colour;
        break;
    }
    case PropertyClass::Gradient: {
        auto* gradient = new GradientProperty(parent);
        gradient->alphaEnabled = row.editsAlpha;
        p = gradient;
        break;
    }
    case PropertyClass::Icon:
        p = new IconProperty(parent);
        break;
    case PropertyClass::BackgroundImage:
        p = new BackgroundImageProperty(parent);
        break;
    case PropertyClass::ControlImage:
        p = new ControlImageProperty(parent);
        break;
    case PropertyClass::IRSlot:
        p = new IRSlotProperty(parent);
        break;
    case PropertyClass::Page:
        p = new PageProperty(parent);
        break;
    default:
        p = createEnumRow(row.type, parent);
        break;
    }
    p->name = translated(row.name);
    return p;
}
