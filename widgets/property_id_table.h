#pragma once

#include <QVariant>
#include <vector>

class Property;
class VelmoraDocument;

// The fixed number of every row of the project window's property editor. The number is the
// whole contract between the editor and the application: the editor loads each row from the
// project by it, and an edit leaves the editor with it, for the application to turn into one
// undoable command for the current selection. Group rows only title their rows and are never
// edited. 49 has no row (the clock type is not edited in the editor) but stays reserved for
// it.
enum PropertyId : int
{
    PropertyId_PAGE = 0,
    PropertyId_PAGE_NAME = 1,
    PropertyId_PAGE_ICON = 2,
    PropertyId_PAGE_DEFAULT = 3,
    PropertyId_PAGE_BACKGROUND_COLOUR = 4,
    PropertyId_PAGE_BACKGROUND_GRADIENT = 5,
    PropertyId_PAGE_GRADIENT_ROTATION = 6,
    PropertyId_PAGE_BACKGROUND_IMAGE = 7,
    PropertyId_PAGE_IMAGE_SCALING = 8,

    PropertyId_CONTROL = 9,
    PropertyId_CONTROL_CAPTION = 10,
    PropertyId_CONTROL_KEY = 11,
    PropertyId_CONTROL_STARTUP_STATE = 12,
    PropertyId_CONTROL_X = 13,
    PropertyId_CONTROL_Y = 14,
    PropertyId_CONTROL_WIDTH = 15,
    PropertyId_CONTROL_HEIGHT = 16,

    PropertyId_BUTTON = 17,
    PropertyId_BUTTON_IMAGE = 18,
    PropertyId_BUTTON_FONT_SIZE = 19,
    PropertyId_BUTTON_WORD_WRAP = 20,
    PropertyId_BUTTON_ACTUATION = 21,
    PropertyId_BUTTON_HELD_TIMEOUT = 22,
    PropertyId_BUTTON_REPEAT_INTERVAL = 23,
    PropertyId_BUTTON_FUNCTION = 24,
    PropertyId_BUTTON_FUNCTION_PAGE = 25,
    PropertyId_BUTTON_FUNCTION_TRANSITION = 26,
    PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION = 27,
    PropertyId_BUTTON_FUNCTION_LEVEL = 28,
    PropertyId_BUTTON_CLICK_IR_SLOT = 29,

    PropertyId_SLIDER = 30,
    PropertyId_SLIDER_SHOW_VALUE = 31,
    PropertyId_SLIDER_UNIT = 32,
    PropertyId_SLIDER_CAPTION_FONT_SIZE = 33,
    PropertyId_SLIDER_VALUE_FONT_SIZE = 34,
    PropertyId_SLIDER_TEXT_SPACING = 35,
    PropertyId_SLIDER_HANDLE_SIZE = 36,
    PropertyId_SLIDER_INCREMENT_IR_SLOT = 37,
    PropertyId_SLIDER_DECREMENT_IR_SLOT = 38,

    PropertyId_COLOUR_PICKER = 39,
    PropertyId_COLOUR_PICKER_FONT_SIZE = 40,
    PropertyId_COLOUR_PICKER_TEXT_SPACING = 41,

    PropertyId_KEYPAD = 42,
    PropertyId_KEYPAD_MAX_DIGITS = 43,
    PropertyId_KEYPAD_HIDE_CHARACTERS = 44,

    PropertyId_LABEL = 45,
    PropertyId_LABEL_FONT_SIZE = 46,
    PropertyId_LABEL_WORD_WRAP = 47,

    PropertyId_CLOCK = 48,
    PropertyId_CLOCK_TYPE = 49,
    PropertyId_CLOCK_FONT_SIZE = 50,
    PropertyId_CLOCK_TEXT_SPACING = 51,

    PropertyId_PAGE_SWITCHER = 52,
    PropertyId_PAGE_SWITCHER_ALIGNMENT = 53,
    PropertyId_PAGE_SWITCHER_BACKGROUND_GRADIENT = 54,
    PropertyId_PAGE_SWITCHER_BACKGROUND_OPACITY = 55,
    PropertyId_PAGE_SWITCHER_FONT_SIZE = 56,
    PropertyId_PAGE_SWITCHER_TEXT_COLOUR = 57,
    PropertyId_PAGE_SWITCHER_SHOW_PAGE_NAMES = 58,
    PropertyId_PAGE_SWITCHER_HIGHLIGHT_COLOUR = 59,
    PropertyId_PAGE_SWITCHER_HIGHLIGHT_OPACITY = 60,
    PropertyId_PAGE_SWITCHER_SHOW_TIME = 61,
    PropertyId_PAGE_SWITCHER_SHOW_DATE = 62,
    PropertyId_PAGE_SWITCHER_TIME_FORMAT = 63,
    PropertyId_PAGE_SWITCHER_DATE_FORMAT = 64,
    PropertyId_PAGE_SWITCHER_DATE_TIME_FONT_SIZE = 65,
    PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END = 66
};

// The property class of a row, with its settings in PropertyRow.
enum class PropertyClass
{
    Group,
    String,
    Int,
    Double,
    Bool,
    Colour,
    Gradient,
    Icon,
    BackgroundImage,
    ControlImage,
    IRSlot,
    Page,
    // Enumerated choices; the choices of each are fixed by the class.
    Scaling,
    Actuation,
    ButtonFunction,
    PageTransition,
    SliderUnit,
    Alignment,
    DateTimePosition,
    // Choices rebuilt from the project theme by the editor.
    StartupState
};

// One row of the editor: where it sits, what it is called, how it is edited and what it is
// loaded from.
struct PropertyRow
{
    // The value the row shows for one selected item: a page, a control (taken as the type of
    // the row's group) or a page switcher of the document, by id.
    using Loader = QVariant (*)(const VelmoraDocument& document, unsigned int itemId);

    int id;
    // The group the row belongs to (a group row's own id).
    int group;
    // For a row shown only under another row while a condition holds: that row's id. -1 for a
    // group row and for a row directly in its group.
    int parent;
    // Untranslated; translated in the context "PropertyEditor".
    const char* name;
    PropertyClass type;
    // Int and Double settings; ignored by the other classes.
    double minimum;
    double maximum;
    double singleStep;
    bool wraps;
    const char* suffix;
    // Colour: a reset restores white (else an invalid colour).
    bool resetsToWhite;
    // Gradient: the gradient dialog edits alpha.
    bool editsAlpha;
    // Null for a group row.
    Loader load;
};

// Every row, group rows included, in the order of creation: each group is followed by its
// rows, a sub-row where it is listed under its group. Ids 0 to 66 without 49.
const std::vector<PropertyRow>& propertyRows();
// The row of an id; null for a number without a row.
const PropertyRow* propertyRow(int id);

// A new property of the row's class with the row's translated name and settings, appended to
// `parent` (none when null). The StartupState row starts with no choices.
Property* createPropertyRow(const PropertyRow& row, Property* parent);
