#include "velmora_objects/skin_property_tables.h"

#include <QColor>
#include <QCoreApplication>
#include <array>
#include <climits>

namespace Velmora {

namespace {

// One row of a definition table. Texts are translated (context "QObject") when the row is
// added; colours are colour names, images resource URLs (null for no image).
struct Row
{
    const char* key;
    SkinPropertyType type;
    const char* caption;
    const char* text;
    double number;
    int maximum;
    const char* unit;
};

constexpr const char* px = QT_TRANSLATE_NOOP("QObject", "px");

constexpr Row colour(const char* key, const char* caption, const char* name)
{
    return {key, SkinPropertyType_COLOUR, caption, name, 0, 0, nullptr};
}

// Double rows range over 0..1 by steps of 0.1 and have no unit.
constexpr Row real(const char* key, const char* caption, double value)
{
    return {key, SkinPropertyType_DOUBLE, caption, nullptr, value, 0, nullptr};
}

// Int rows range from 0.
constexpr Row integer(const char* key, const char* caption, int value, int maximum = 99,
                      const char* unit = px)
{
    return {key, SkinPropertyType_INT, caption, nullptr, double(value), maximum, unit};
}

// Bool rows default to false.
constexpr Row flag(const char* key, const char* caption)
{
    return {key, SkinPropertyType_BOOL, caption, nullptr, 0, 0, nullptr};
}

constexpr Row image(const char* key, const char* caption, const char* url = nullptr)
{
    return {key, SkinPropertyType_IMAGE, caption, url, 0, 0, nullptr};
}

QString translated(const char* text)
{
    return QCoreApplication::translate("QObject", text);
}

SkinProperty* makeProperty(const Row& row)
{
    const QString key = QString::fromLatin1(row.key);
    const QString caption = translated(row.caption);
    switch (row.type) {
    case SkinPropertyType_INT:
        return new IntSkinProperty(key, caption, int(row.number), translated(row.unit), 0,
                                   row.maximum, QString());
    case SkinPropertyType_DOUBLE:
        return new DoubleSkinProperty(key, caption, row.number, QString(), 0.0, 1.0, 0.1);
    case SkinPropertyType_BOOL:
        return new BoolSkinProperty(key, caption, false);
    case SkinPropertyType_COLOUR:
        return new ColourSkinProperty(key, caption, QColor(QString::fromLatin1(row.text)));
    case SkinPropertyType_IMAGE:
        return new ImageSkinProperty(
            key, caption, row.text ? QVariant(QString::fromLatin1(row.text)) : QVariant());
    case SkinPropertyType_STRING:
        break;
    }
    return nullptr;
}

template <class Rows> void addRows(SkinProperties& table, const Rows& rows)
{
    for (const Row& row : rows)
        table.add(smart_ptr<SkinProperty>(makeProperty(row)));
}

// Row groups that several item types share.

// A box filled with a gradient from its top to its bottom colour, and its border.
constexpr std::array<Row, 6> boxRows(const char* top, const char* bottom, const char* border,
                                     int borderWidth)
{
    return {
        colour("gradientTopColour", QT_TRANSLATE_NOOP("QObject", "Gradient top colour"), top),
        real("gradientTopPosition", QT_TRANSLATE_NOOP("QObject", "Gradient top position"), 0.0),
        colour("gradientBottomColour", QT_TRANSLATE_NOOP("QObject", "Gradient bottom colour"),
               bottom),
        real("gradientBottomPosition", QT_TRANSLATE_NOOP("QObject", "Gradient bottom position"),
             1.0),
        colour("borderColour", QT_TRANSLATE_NOOP("QObject", "Border colour"), border),
        integer("borderWidth", QT_TRANSLATE_NOOP("QObject", "Border width"), borderWidth),
    };
}

// The rounded corners and the text of a button or a label.
const Row cornerAndTextRows[] = {
    integer("radius", QT_TRANSLATE_NOOP("QObject", "Corner radius"), 5),
    flag("fontBold", QT_TRANSLATE_NOOP("QObject", "Bold text")),
    flag("fontItalic", QT_TRANSLATE_NOOP("QObject", "Italic text")),
    colour("textColour", QT_TRANSLATE_NOOP("QObject", "Text colour"), "white"),
};

const Row captionRows[] = {
    flag("captionFontBold", QT_TRANSLATE_NOOP("QObject", "Caption bold text")),
    flag("captionFontItalic", QT_TRANSLATE_NOOP("QObject", "Caption italic text")),
    colour("captionTextColour", QT_TRANSLATE_NOOP("QObject", "Caption text colour"), "white"),
};

const Row shadowRows[] = {
    flag("textShadow", QT_TRANSLATE_NOOP("QObject", "Text shadow")),
    colour("textShadowColour", QT_TRANSLATE_NOOP("QObject", "Text shadow colour"), "black"),
};

// The rows of each item type that no other shares.

const Row buttonRows[] = {
    image("backgroundImage", QT_TRANSLATE_NOOP("QObject", "Background image")),
    real("opacity", QT_TRANSLATE_NOOP("QObject", "Opacity"), 1.0),
    real("opacityStart", QT_TRANSLATE_NOOP("QObject", "Opacity start value"), 1.0),
    real("opacityStop", QT_TRANSLATE_NOOP("QObject", "Opacity stop value"), 0.5),
    flag("opacityAnimated", QT_TRANSLATE_NOOP("QObject", "Opacity animated")),
    integer("opacityAnimationPeriod", QT_TRANSLATE_NOOP("QObject", "Opacity animation period"),
            1000, INT_MAX, QT_TRANSLATE_NOOP("QObject", "msecs")),
    colour("gradientTopColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Gradient top colour (pressed)"), "steelblue"),
    colour("gradientBottomColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Gradient bottom colour (pressed)"), "lightsteelblue"),
    colour("borderColour_pressed", QT_TRANSLATE_NOOP("QObject", "Border colour (pressed)"),
           "white"),
    colour("textColour_pressed", QT_TRANSLATE_NOOP("QObject", "Text colour (pressed)"), "black"),
    image("backgroundImage_pressed", QT_TRANSLATE_NOOP("QObject", "Background image (pressed)")),
};

const Row sliderRows[] = {
    colour("trackGradientTopColour", QT_TRANSLATE_NOOP("QObject", "Track gradient top colour"),
           "#343434"),
    colour("trackGradientBottomColour",
           QT_TRANSLATE_NOOP("QObject", "Track gradient bottom colour"), "black"),
    real("trackOpacity", QT_TRANSLATE_NOOP("QObject", "Track opacity"), 0.5),
    colour("trackBorderColour", QT_TRANSLATE_NOOP("QObject", "Track border colour"), "transparent"),
    integer("trackBorderWidth", QT_TRANSLATE_NOOP("QObject", "Track border width"), 2),
    colour("handleGradientTopColour", QT_TRANSLATE_NOOP("QObject", "Handle gradient top colour"),
           "lightgray"),
    real("handleGradientTopPosition", QT_TRANSLATE_NOOP("QObject", "Handle gradient top position"),
         0.0),
    colour("handleGradientBottomColour",
           QT_TRANSLATE_NOOP("QObject", "Handle gradient bottom colour"), "gray"),
    real("handleGradientBottomPosition",
         QT_TRANSLATE_NOOP("QObject", "Handle gradient bottom position"), 1.0),
    real("handleOpacity", QT_TRANSLATE_NOOP("QObject", "Handle opacity"), 0.75),
    colour("handleBorderColour", QT_TRANSLATE_NOOP("QObject", "Handle border colour"), "black"),
    integer("handleBorderWidth", QT_TRANSLATE_NOOP("QObject", "Handle border width"), 0),
    integer("radius", QT_TRANSLATE_NOOP("QObject", "Track radius"), 12),
    integer("handleRadius", QT_TRANSLATE_NOOP("QObject", "Handle radius"), 12),
    flag("valueFontBold", QT_TRANSLATE_NOOP("QObject", "Value bold text")),
    flag("valueFontItalic", QT_TRANSLATE_NOOP("QObject", "Value italic text")),
    colour("valueTextColour", QT_TRANSLATE_NOOP("QObject", "Value text colour"), "white"),
    colour("textBackgroundColour", QT_TRANSLATE_NOOP("QObject", "Text background colour"), "black"),
    real("textBackgroundOpacity", QT_TRANSLATE_NOOP("QObject", "Text background opacity"), 0.0),
    integer("textBackgroundRadius", QT_TRANSLATE_NOOP("QObject", "Text background radius"), 3),
    colour("handleGradientTopColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Handle gradient top colour (pressed)"), "gray"),
    colour("handleGradientBottomColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Handle gradient bottom colour (pressed)"), "lightgray"),
    colour("handleBorderColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Handle border colour (pressed)"), "white"),
};

const Row keypadRows[] = {
    integer("backgroundRadius", QT_TRANSLATE_NOOP("QObject", "Background radius"), 12),
    colour("backgroundColour", QT_TRANSLATE_NOOP("QObject", "Background colour"), "#000000"),
    real("backgroundOpacity", QT_TRANSLATE_NOOP("QObject", "Background opacity"), 0.0),
    integer("displayRadius", QT_TRANSLATE_NOOP("QObject", "Display radius"), 8),
    integer("displayBorderWidth", QT_TRANSLATE_NOOP("QObject", "Display border width"), 1),
    colour("displayBorderColour", QT_TRANSLATE_NOOP("QObject", "Display border colour"), "#000000"),
    colour("displayGradientTopColour", QT_TRANSLATE_NOOP("QObject", "Display gradient top colour"),
           "#808080"),
    real("displayGradientTopPosition",
         QT_TRANSLATE_NOOP("QObject", "Display gradient top position"), 0.0),
    colour("displayGradientBottomColour",
           QT_TRANSLATE_NOOP("QObject", "Display gradient bottom colour"), "#FFFFFF"),
    real("displayGradientBottomPosition",
         QT_TRANSLATE_NOOP("QObject", "Display gradient bottom position"), 1.0),
    real("displayOpacity", QT_TRANSLATE_NOOP("QObject", "Display opacity"), 0.75),
    colour("displayTextColour", QT_TRANSLATE_NOOP("QObject", "Display text colour"), "#000000"),
    colour("displayTextStyleColour", QT_TRANSLATE_NOOP("QObject", "Display text style colour"),
           "#404040"),
    flag("displayFontBold", QT_TRANSLATE_NOOP("QObject", "Display bold text")),
    flag("displayFontItalic", QT_TRANSLATE_NOOP("QObject", "Display italic text")),
    integer("buttonRadius", QT_TRANSLATE_NOOP("QObject", "Button radius"), 8),
    integer("buttonBorderWidth", QT_TRANSLATE_NOOP("QObject", "Button border width"), 1),
    colour("buttonBorderColour", QT_TRANSLATE_NOOP("QObject", "Button border colour"), "#000000"),
    colour("buttonGradientTopColour", QT_TRANSLATE_NOOP("QObject", "Button gradient top colour"),
           "#FFFFFF"),
    real("buttonGradientTopPosition", QT_TRANSLATE_NOOP("QObject", "Button gradient top position"),
         0.0),
    colour("buttonGradientBottomColour",
           QT_TRANSLATE_NOOP("QObject", "Button gradient bottom colour"), "#808080"),
    real("buttonGradientBottomPosition",
         QT_TRANSLATE_NOOP("QObject", "Button gradient bottom position"), 1.0),
    real("buttonOpacity", QT_TRANSLATE_NOOP("QObject", "Button opacity"), 0.75),
    colour("buttonTextColour", QT_TRANSLATE_NOOP("QObject", "Button text colour"), "#000000"),
    colour("buttonTextStyleColour", QT_TRANSLATE_NOOP("QObject", "Button text style colour"),
           "#404040"),
    flag("buttonFontBold", QT_TRANSLATE_NOOP("QObject", "Button bold text")),
    flag("buttonFontItalic", QT_TRANSLATE_NOOP("QObject", "Button italic text")),
    colour("buttonGradientTopColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Button gradient top colour (pressed)"), "#808080"),
    colour("buttonGradientBottomColour_pressed",
           QT_TRANSLATE_NOOP("QObject", "Button gradient bottom colour (pressed)"), "#FFFFFF"),
};

const Row labelRows[] = {
    real("backgroundOpacity", QT_TRANSLATE_NOOP("QObject", "Background Opacity"), 0.0),
};

const Row clockRows[] = {
    image("faceImage", QT_TRANSLATE_NOOP("QObject", "Face image"), "qrc:/default_clock_face.svg"),
    image("hourHandImage", QT_TRANSLATE_NOOP("QObject", "Hour hand image"),
          "qrc:/default_clock_hour_hand.svg"),
    image("minuteHandImage", QT_TRANSLATE_NOOP("QObject", "Minute hand image"),
          "qrc:/default_clock_minute_hand.svg"),
};

} // namespace

ButtonSkinProperties::ButtonSkinProperties() : SkinProperties(ThemedItemType_BUTTON)
{
    addRows(*this, boxRows("lightsteelblue", "steelblue", "steelblue", 1));
    addRows(*this, cornerAndTextRows);
    addRows(*this, buttonRows);
}

SliderSkinProperties::SliderSkinProperties() : SkinProperties(ThemedItemType_SLIDER)
{
    addRows(*this, sliderRows);
    addRows(*this, captionRows);
    addRows(*this, shadowRows);
}

ColourPickerSkinProperties::ColourPickerSkinProperties()
    : SkinProperties(ThemedItemType_COLOUR_PICKER)
{
    addRows(*this, captionRows);
    addRows(*this, shadowRows);
}

KeypadSkinProperties::KeypadSkinProperties() : SkinProperties(ThemedItemType_KEYPAD)
{
    addRows(*this, keypadRows);
}

LabelSkinProperties::LabelSkinProperties() : SkinProperties(ThemedItemType_LABEL)
{
    addRows(*this, boxRows("#000000", "#000000", "#000000", 0));
    addRows(*this, cornerAndTextRows);
    addRows(*this, shadowRows);
    addRows(*this, labelRows);
}

ClockSkinProperties::ClockSkinProperties() : SkinProperties(ThemedItemType_CLOCK)
{
    addRows(*this, boxRows("white", "white", "black", 1));
    addRows(*this, captionRows);
    addRows(*this, shadowRows);
    addRows(*this, clockRows);
}

void ensureSkinPropertyTables()
{
    // Built once, in this order, and kept until the process ends.
    static const struct Tables
    {
        ButtonSkinProperties button;
        SliderSkinProperties slider;
        ColourPickerSkinProperties colourPicker;
        KeypadSkinProperties keypad;
        LabelSkinProperties label;
        ClockSkinProperties clock;
    } tables;
    (void)tables;
}

namespace {
// The tables are registered during static initialisation, before anything reads them.
const bool tablesRegistered = (ensureSkinPropertyTables(), true);
} // namespace

} // namespace Velmora
