#include "velmora_objects/theme_xml_values.h"

#include "core/gradient.h"

#include <QXmlStreamWriter>
#include <array>

const QString VELMORA_THEME_NAMESPACE = QStringLiteral("www.kelbrand.com/velmora/theme");
const QString VELMORA_THEME_TAG = QStringLiteral("Theme");

namespace Velmora {

namespace {

// Indexed by item-type number; 0 is no type.
const std::array<const char*, 8> itemTypeNames = {
    nullptr, "Button", "Slider", "Colour Picker", "Keypad", "Page Switcher", "Label", "Clock"};

const std::array<const char*, TextStyleCount> textStyleNames = {"Normal", "Outline", "Raised",
                                                                "Sunken"};

} // namespace

QString themedItemTypeName(int itemType)
{
    if (itemType <= 0 || itemType >= int(itemTypeNames.size()))
        return QString();
    return QString::fromLatin1(itemTypeNames[size_t(itemType)]);
}

ThemedItemType themedItemTypeFromName(const QString& name)
{
    for (size_t i = 1; i < itemTypeNames.size(); ++i) {
        if (name == QLatin1String(itemTypeNames[i]))
            return ThemedItemType(i);
    }
    return ThemedItemType(0);
}

QString textStyleName(int textStyle)
{
    if (textStyle < 0 || textStyle >= TextStyleCount)
        return QString();
    return QString::fromLatin1(textStyleNames[size_t(textStyle)]);
}

TextStyle textStyleFromName(const QString& name)
{
    for (size_t i = 0; i < textStyleNames.size(); ++i) {
        if (name == QLatin1String(textStyleNames[i]))
            return TextStyle(i);
    }
    return TextStyle(TextStyleCount);
}

void writeTextStyleElement(QXmlStreamWriter& writer, TextStyle textStyle)
{
    // The document names four styles, and a reader refuses any other text: a style that has no
    // name (one a project file may hold) is written as the style it is drawn in, Normal.
    writer.writeTextElement(QStringLiteral("TextStyle"),
                            textStyleName(knownOr(textStyle, TextStyle_NORMAL)));
}

void writeGradientElement(QXmlStreamWriter& writer, const Gradient& gradient)
{
    writer.writeStartElement(QStringLiteral("Gradient"));
    for (const auto& stop : gradient.stops()) {
        writer.writeStartElement(QStringLiteral("GradientStop"));
        writer.writeAttribute(QStringLiteral("Position"), QString::number(stop.first, 'g', 6));
        writer.writeAttribute(QStringLiteral("Colour"), stop.second.name(QColor::HexRgb));
        writer.writeEndElement();
    }
    writer.writeEndElement();
}

} // namespace Velmora
