#include "common/helpers.h"
#include "common/sample_themes.h"
#include "core/gradient.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_xml_values.h"
#include "velmora_objects/theme_xml_writer.h"

#include <QBuffer>
#include <QDomDocument>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

QByteArray documentOf(const Theme& theme)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ThemeXmlWriter writer;
    writer.write(&buffer, theme);
    EXPECT_FALSE(writer.hasError());
    return bytes;
}

QDomDocument domOf(const Theme& theme)
{
    QDomDocument document;
    EXPECT_TRUE(document.setContent(documentOf(theme), true));
    return document;
}

// The named children of the element, in order.
QList<QDomElement> children(const QDomElement& parent, const QString& name)
{
    QList<QDomElement> result;
    for (QDomElement child = parent.firstChildElement(name); !child.isNull();
         child = child.nextSiblingElement(name))
        result.append(child);
    return result;
}

// The child of the parent whose attribute has the value.
QDomElement childWith(const QDomElement& parent, const QString& name, const QString& attribute,
                      const QString& value)
{
    for (const QDomElement& child : children(parent, name)) {
        if (child.attribute(attribute) == value)
            return child;
    }
    return QDomElement();
}

QStringList attributeValues(const QDomElement& parent, const QString& name,
                            const QString& attribute)
{
    QStringList result;
    for (const QDomElement& child : children(parent, name))
        result << (child.hasAttribute(attribute) ? child.attribute(attribute) : "<none>");
    return result;
}

} // namespace

// The whole document of a theme that uses every element: order, indentation and value forms.
TEST(ThemeXmlWriter, WritesTheExpectedDocument)
{
    const QByteArray expected = TestUtil::readFile(TestUtil::dataPath("theme_xml/blue.xml"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(QString(documentOf(*TestUtil::sampleTheme())).toStdString(),
              QString(expected).toStdString());
}

// The checks of the golden document that matter to readers, spelled out.
TEST(ThemeXmlWriter, DocumentStructure)
{
    const QDomElement root = domOf(*TestUtil::sampleTheme()).documentElement();
    EXPECT_EQ(root.localName(), VELMORA_THEME_TAG);
    EXPECT_EQ(root.namespaceURI(), VELMORA_THEME_NAMESPACE);
    EXPECT_EQ(root.attribute("version"), "1");
    EXPECT_TRUE(root.firstChildElement().namespaceURI().isEmpty());

    EXPECT_EQ(attributeValues(root, "SplashImage", "Orientation"),
              QStringList({"Landscape", "Portrait"}));
    // Orientation 0 has no attribute.
    EXPECT_EQ(attributeValues(root.firstChildElement("PageBackgroundImages"), "PageBackgroundImage",
                              "Orientation"),
              QStringList({"<none>", "Landscape", "Portrait"}));

    const QDomElement gradient =
        childWith(childWith(root, "DefaultItemProperties", "ItemType", "Button"),
                  "DefaultItemProperty", "Name", "gradient")
            .firstChildElement("Gradient");
    EXPECT_EQ(attributeValues(gradient, "GradientStop", "Position"),
              QStringList({"0", "0.5", "1"}));
    // Lower-case hexadecimal red, green and blue; the alpha of the first stop is dropped.
    EXPECT_EQ(attributeValues(gradient, "GradientStop", "Colour"),
              QStringList({"#ff0000", "#00ff00", "#0000ff"}));

    // Item type 9 has no name and is left out.
    EXPECT_EQ(attributeValues(root, "DefaultItemProperties", "ItemType"),
              QStringList({"Button", "Label"}));
    EXPECT_EQ(attributeValues(root, "SkinSet", "ItemType"),
              QStringList({"Button", "Slider", "Clock"}));
}

// A plain int that happens to hold a text style's number is an int, not a text style.
TEST(ThemeXmlWriter, OnlyValuesOfTheExactTypeBecomeChildElements)
{
    auto theme = TestUtil::emptyTheme("T");
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "style", int(TextStyle_RAISED));
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "none", QVariant());
    const QByteArray document = documentOf(*theme);
    EXPECT_TRUE(document.contains("<DefaultItemProperty Name=\"style\" Value=\"2\"/>"));
    EXPECT_TRUE(document.contains("<DefaultItemProperty Name=\"none\" Value=\"\"/>"));
}

// A resource address (the built-in clock faces) or an id of no stored skin image would name a
// member that the bundle lacks; such properties are left out, to be filled in on reading. No
// image at all is an empty value.
TEST(ThemeXmlWriter, ImageSkinPropertiesNameOnlyStoredSkinImages)
{
    const QByteArray document = documentOf(*TestUtil::sampleTheme());
    EXPECT_FALSE(document.contains("qrc:"));
    EXPECT_FALSE(document.contains("faceImage"));
    EXPECT_FALSE(document.contains("hourHandImage"));
    EXPECT_TRUE(
        document.contains("<SkinProperty Name=\"minuteHandImage\" Value=\"skin_image_2\"/>"));
    EXPECT_TRUE(document.contains("<SkinProperty Name=\"backgroundImage_pressed\" Value=\"\"/>"));
}
