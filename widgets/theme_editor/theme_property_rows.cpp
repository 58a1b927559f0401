#include "widgets/theme_editor/theme_property_rows.h"

#include "gui/basic_properties.h"
#include "gui/colour_property.h"
#include "gui/enum_property.h"
#include "gui/gradient_property.h"
#include "main/image_slot_page_properties.h"
#include "velmora_objects/skin_properties.h"

#include <QCoreApplication>

namespace {

using Velmora::ThemedItemType;

const char* itemTypeCaption(ThemedItemType type)
{
    switch (type) {
    case Velmora::ThemedItemType_BUTTON:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Button");
    case Velmora::ThemedItemType_SLIDER:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Slider");
    case Velmora::ThemedItemType_COLOUR_PICKER:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Colour Picker");
    case Velmora::ThemedItemType_KEYPAD:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Keypad");
    case Velmora::ThemedItemType_PAGE_SWITCHER:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Page Switcher");
    case Velmora::ThemedItemType_LABEL:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Label");
    case Velmora::ThemedItemType_CLOCK:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Clock");
    }
    return "";
}

QString translated(const char* text)
{
    return QCoreApplication::translate("ThemeEditor", text);
}

enum class RowKind
{
    Int,
    Bool,
    Double,
    Gradient,
    Colour,
    TextStyle
};

// One row of the default-item-property sheet. Int rows use minimum, maximum and the "px"
// suffix; Double rows minimum, maximum and step.
struct DefaultRow
{
    ThemedItemType type;
    const char* key;
    const char* caption;
    RowKind kind;
    double minimum;
    double maximum;
    double step;
};

const DefaultRow DefaultRows[] = {
    {Velmora::ThemedItemType_BUTTON, "fontSize", QT_TRANSLATE_NOOP("ThemeEditor", "Font Size"),
     RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_BUTTON, "wordWrap", QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"),
     RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_SLIDER, "captionFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Caption Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_SLIDER, "valueFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Value Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_SLIDER, "wordWrap", QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"),
     RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_SLIDER, "handleSize", QT_TRANSLATE_NOOP("ThemeEditor", "Handle Size"),
     RowKind::Double, 0.01, 1.0, 0.1},
    {Velmora::ThemedItemType_SLIDER, "spacing", QT_TRANSLATE_NOOP("ThemeEditor", "Spacing"),
     RowKind::Int, 0, 255, 0},
    {Velmora::ThemedItemType_COLOUR_PICKER, "captionFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Caption Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_COLOUR_PICKER, "wordWrap",
     QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"), RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_COLOUR_PICKER, "spacing", QT_TRANSLATE_NOOP("ThemeEditor", "Spacing"),
     RowKind::Int, 0, 255, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "backgroundGradient",
     QT_TRANSLATE_NOOP("ThemeEditor", "Background gradient"), RowKind::Gradient, 0, 0, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "backgroundOpacity",
     QT_TRANSLATE_NOOP("ThemeEditor", "Background opacity"), RowKind::Double, 0.0, 1.0, 0.1},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Font size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonTextColour",
     QT_TRANSLATE_NOOP("ThemeEditor", "Text colour"), RowKind::Colour, 0, 0, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonHighlight",
     QT_TRANSLATE_NOOP("ThemeEditor", "Highlight colour"), RowKind::Colour, 0, 0, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonHighlightOpacity",
     QT_TRANSLATE_NOOP("ThemeEditor", "Highlight opacity"), RowKind::Double, 0.0, 1.0, 0.1},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "showPageNames",
     QT_TRANSLATE_NOOP("ThemeEditor", "Show Page Names"), RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_KEYPAD, "displayTextStyle",
     QT_TRANSLATE_NOOP("ThemeEditor", "Display text style"), RowKind::TextStyle, 0, 0, 0},
    {Velmora::ThemedItemType_KEYPAD, "buttonTextStyle",
     QT_TRANSLATE_NOOP("ThemeEditor", "Button text style"), RowKind::TextStyle, 0, 0, 0},
    {Velmora::ThemedItemType_LABEL, "fontSize", QT_TRANSLATE_NOOP("ThemeEditor", "Font Size"),
     RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_LABEL, "wordWrap", QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"),
     RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_CLOCK, "captionFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Caption Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_CLOCK, "spacing", QT_TRANSLATE_NOOP("ThemeEditor", "Spacing"),
     RowKind::Int, 0, 255, 0},
};

Property* createDefaultRow(const DefaultRow& row, Property* group)
{
    switch (row.kind) {
    case RowKind::Int: {
        auto* editor = new IntProperty(group);
        editor->minimum = int(row.minimum);
        editor->maximum = int(row.maximum);
        editor->suffix = QStringLiteral("px");
        return editor;
    }
    case RowKind::Bool:
        return new BoolProperty(group);
    case RowKind::Double: {
        auto* editor = new DoubleProperty(group);
        editor->minimum = row.minimum;
        editor->maximum = row.maximum;
        editor->singleStep = row.step;
        editor->decimals = 2;
        return editor;
    }
    case RowKind::Gradient:
        return new GradientProperty(group);
    case RowKind::Colour:
        return new ColourProperty(group);
    case RowKind::TextStyle: {
        auto* editor = new EnumProperty<Velmora::TextStyle>(group);
        editor->setString(Velmora::TextStyle_NORMAL, QStringLiteral("Normal"));
        editor->setString(Velmora::TextStyle_OUTLINE, QStringLiteral("Outline"));
        editor->setString(Velmora::TextStyle_RAISED, QStringLiteral("Raised"));
        editor->setString(Velmora::TextStyle_SUNKEN, QStringLiteral("Sunken"));
        return editor;
    }
    }
    return nullptr;
}

} // namespace

QString themeItemTypeName(ThemedItemType type)
{
    return translated(itemTypeCaption(type));
}

void createDefaultPropertyRows(ThemedItemType type, PropertyGroup& group, ThemePropertyMap& map)
{
    for (const DefaultRow& row : DefaultRows) {
        if (row.type != type)
            continue;
        Property* editor = createDefaultRow(row, &group);
        editor->name = translated(row.caption);
        map.insert(ThemePropertyMap::value_type(
            Velmora::SkinPropertyKey(type, QString::fromLatin1(row.key)), editor));
    }
}

Property* createSkinPropertyRow(const Velmora::SkinProperty& definition, ThemedItemType type,
                                PropertyGroup* group, ThemeSkinImageModel* skinImages)
{
    switch (definition.getType()) {
    case Velmora::SkinPropertyType_INT: {
        auto* editor = new IntProperty(group);
        if (const auto* limits = dynamic_cast<const Velmora::IntSkinProperty*>(&definition)) {
            editor->minimum = limits->getMinimum();
            editor->maximum = limits->getMaximum();
            editor->suffix = limits->getUnit();
            editor->specialValueText = limits->getSpecialValueText();
        }
        return editor;
    }
    case Velmora::SkinPropertyType_DOUBLE: {
        auto* editor = new DoubleProperty(group);
        if (const auto* limits = dynamic_cast<const Velmora::DoubleSkinProperty*>(&definition)) {
            editor->minimum = limits->getMinimum();
            editor->maximum = limits->getMaximum();
            editor->singleStep = limits->getStep();
            editor->suffix = limits->getUnit();
        }
        editor->decimals = 2;
        return editor;
    }
    case Velmora::SkinPropertyType_BOOL:
        return new BoolProperty(group);
    case Velmora::SkinPropertyType_STRING:
        return new StringProperty(group);
    case Velmora::SkinPropertyType_COLOUR:
        return new ColourProperty(group);
    case Velmora::SkinPropertyType_IMAGE: {
        auto* editor = new SkinImageProperty(skinImages, group);
        editor->key = Velmora::SkinPropertyKey(type, definition.getKey());
        return editor;
    }
    }
    return nullptr;
}

Property* findPropertyRow(const ThemePropertyMap& map, const Velmora::SkinPropertyKey& key)
{
    const auto found = map.left.find(key);
    return found == map.left.end() ? nullptr : found->second;
}

bool findPropertyKey(const ThemePropertyMap& map, const Property* row,
                     Velmora::SkinPropertyKey* key)
{
    const auto found = map.right.find(const_cast<Property*>(row));
    if (found == map.right.end())
        return false;
    if (key)
        *key = found->second;
    return true;
}
