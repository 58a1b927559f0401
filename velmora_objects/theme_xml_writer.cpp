#include "velmora_objects/theme_xml_writer.h"

#include "core/gradient.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_xml_values.h"

#include <QIODevice>
#include <optional>
#include <utility>

namespace Velmora {

namespace ThemeWriter {

namespace {

QString memberName(const char* kind, const ImageData& image)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(kind)).arg(image.getId());
}

} // namespace

QString imageFileName(const ImageData& image)
{
    return memberName("image", image);
}

QString iconFileName(const ImageData& image)
{
    return memberName("icon", image);
}

QString controlImageFileName(const ImageData& image)
{
    return memberName("control_image", image);
}

QString skinImageFileName(const ImageData& image)
{
    return memberName("skin_image", image);
}

} // namespace ThemeWriter

} // namespace Velmora

using namespace Velmora;

namespace {

// The text of an Image skin property's "Value": empty for no image, the member name of the
// skin image it names, or nothing when the value names no image of the store.
std::optional<QString> imageValueText(const QVariant& value, const Theme::ImageStore& skinImages)
{
    const QString text = value.toString();
    if (text.isEmpty())
        return QString();
    bool isNumber = false;
    const unsigned int id = text.toUInt(&isNumber, 10);
    if (!isNumber || !skinImages.exists(id))
        return std::nullopt;
    return ThemeWriter::skinImageFileName(skinImages[id]);
}

// A list element holding one text element per image, the image's member name.
void writeImageList(QXmlStreamWriter& xml, const char* list, const char* element,
                    const Theme::ImageStore& store, QString (*memberName)(const ImageData&))
{
    xml.writeStartElement(QLatin1String(list));
    for (const ImageData& image : store)
        xml.writeTextElement(QLatin1String(element), memberName(image));
    xml.writeEndElement();
}

} // namespace

ThemeXmlWriter::ThemeXmlWriter()
{
    setAutoFormatting(true);
    setAutoFormattingIndent(4);
}

void ThemeXmlWriter::write(QIODevice* device, const Theme& theme)
{
    setDevice(device);
    writeStartDocument();
    writeStartElement(VELMORA_THEME_NAMESPACE, VELMORA_THEME_TAG);
    writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    writeTheme(theme);
    writeEndElement();
    writeEndDocument();
}

void ThemeXmlWriter::writeTheme(const Theme& theme)
{
    // A reader turns a carriage return written as such into a line feed; written as a
    // character reference it reads back as typed.
    const QStringList lines = theme.getName().split(u'\r');
    writeStartElement(QStringLiteral("Name"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            writeEntityReference(QStringLiteral("#13"));
        writeCharacters(lines.at(i));
    }
    writeEndElement();

    const std::pair<const char*, const char*> splashImages[] = {
        {"Landscape", "landscape_splash_image"}, {"Portrait", "portrait_splash_image"}};
    for (const auto& [orientation, member] : splashImages) {
        writeStartElement(QStringLiteral("SplashImage"));
        writeAttribute(QStringLiteral("Orientation"), QLatin1String(orientation));
        writeCharacters(QLatin1String(member));
        writeEndElement();
    }

    writeImages(theme);
    writeDefaultItemProperties(theme);
    writeSkinSets(theme);
}

void ThemeXmlWriter::writeImages(const Theme& theme)
{
    writeStartElement(QStringLiteral("PageBackgroundImages"));
    for (const ImageData& image : theme.getPageBackgroundImages()) {
        writeStartElement(QStringLiteral("PageBackgroundImage"));
        if (image.getOrientation() == Orientation_PORTRAIT)
            writeAttribute(QStringLiteral("Orientation"), QStringLiteral("Portrait"));
        else if (image.getOrientation() == Orientation_LANDSCAPE)
            writeAttribute(QStringLiteral("Orientation"), QStringLiteral("Landscape"));
        writeCharacters(ThemeWriter::imageFileName(image));
        writeEndElement();
    }
    writeEndElement();

    writeImageList(*this, "Icons", "Icon", theme.getIcons(), ThemeWriter::iconFileName);
    writeImageList(*this, "ControlImages", "ControlImage", theme.getControlImages(),
                   ThemeWriter::controlImageFileName);
}

void ThemeXmlWriter::writeDefaultItemProperties(const Theme& theme)
{
    for (const auto& [itemType, properties] : theme.getDefaultItemProperties()) {
        const QString typeName = themedItemTypeName(itemType);
        if (typeName.isEmpty())
            continue;
        writeStartElement(QStringLiteral("DefaultItemProperties"));
        writeAttribute(QStringLiteral("ItemType"), typeName);
        for (const auto& [name, value] : properties) {
            writeStartElement(QStringLiteral("DefaultItemProperty"));
            writeAttribute(QStringLiteral("Name"), name);
            if (value.metaType() == QMetaType::fromType<Gradient>())
                writeGradientElement(*this, value.value<Gradient>());
            else if (value.metaType() == QMetaType::fromType<TextStyle>())
                writeTextStyleElement(*this, value.value<TextStyle>());
            else
                writeAttribute(QStringLiteral("Value"), value.toString());
            writeEndElement();
        }
        writeEndElement();
    }
}

void ThemeXmlWriter::writeSkinSets(const Theme& theme)
{
    for (const auto& [itemType, skinSet] : theme.getSkinSets()) {
        const QString typeName = themedItemTypeName(itemType);
        if (!skinSet || typeName.isEmpty())
            continue;
        const auto defaultSkin = theme.getDefaultSkins().find(itemType);
        writeStartElement(QStringLiteral("SkinSet"));
        writeAttribute(QStringLiteral("ItemType"), typeName);
        for (const auto& [name, skin] : *skinSet) {
            if (!skin)
                continue;
            const bool isDefault =
                defaultSkin != theme.getDefaultSkins().end() && defaultSkin->second == name;
            writeSkin(*skin, isDefault, theme);
        }
        writeEndElement();
    }
}

void ThemeXmlWriter::writeSkin(const Skin& skin, bool isDefault, const Theme& theme)
{
    writeStartElement(QStringLiteral("Skin"));
    writeAttribute(QStringLiteral("Name"), skin.getName());
    writeAttribute(QStringLiteral("Default"),
                   isDefault ? QStringLiteral("true") : QStringLiteral("false"));

    writeStartElement(QStringLiteral("Transition"));
    writeTextElement(QStringLiteral("Duration"), QString::number(skin.getTransition().duration));
    if (const std::optional<QString> easing = EasingCurveNames::name(skin.getTransition().easing))
        writeTextElement(QStringLiteral("Easing"), *easing);
    writeEndElement();

    for (const auto& [key, property] : skin) {
        if (property)
            writeSkinProperty(*property, theme);
    }
    writeEndElement();
}

void ThemeXmlWriter::writeSkinProperty(const SkinProperty& property, const Theme& theme)
{
    QString text;
    if (property.getType() == SkinPropertyType_IMAGE) {
        const std::optional<QString> member =
            imageValueText(property.getValue(), theme.getSkinImages());
        if (!member)
            return;
        text = *member;
    } else {
        text = property.getValue().toString();
    }
    writeStartElement(QStringLiteral("SkinProperty"));
    writeAttribute(QStringLiteral("Name"), property.getKey());
    writeAttribute(QStringLiteral("Value"), text);
    writeEndElement();
}
