#include "common/helpers.h"
#include "common/sample_themes.h"
#include "core/gradient.h"
#include "velmora_objects/image_data.h"
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

TEST(ThemeXmlWriter, RootIsVersionOneThemeInTheThemeNamespace)
{
    const QDomElement root = domOf(*TestUtil::emptyTheme("Empty")).documentElement();
    EXPECT_EQ(root.localName(), VELMORA_THEME_TAG);
    EXPECT_EQ(root.namespaceURI(), VELMORA_THEME_NAMESPACE);
    EXPECT_EQ(root.attribute("version"), "1");
    EXPECT_EQ(root.attributes().count(), 1); // the namespace declaration is not an attribute
    // Everything below the root is unqualified.
    for (QDomElement child = root.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement())
        EXPECT_TRUE(child.namespaceURI().isEmpty()) << child.tagName().toStdString();
}

TEST(ThemeXmlWriter, ThemeWithoutImagesStillWritesTheThreeEmptyLists)
{
    const QDomElement root = domOf(*TestUtil::emptyTheme("Empty")).documentElement();
    QStringList names;
    for (QDomElement child = root.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement())
        names << child.tagName();
    EXPECT_EQ(names, QStringList({"Name", "SplashImage", "SplashImage", "PageBackgroundImages",
                                  "Icons", "ControlImages"}));
    for (const char* list : {"PageBackgroundImages", "Icons", "ControlImages"})
        EXPECT_FALSE(root.firstChildElement(list).hasChildNodes()) << list;
    EXPECT_EQ(attributeValues(root, "SplashImage", "Orientation"),
              QStringList({"Landscape", "Portrait"}));
    EXPECT_EQ(root.firstChildElement("SplashImage").text(), "landscape_splash_image");
}

TEST(ThemeXmlWriter, PageBackgroundOrientationIsWrittenOnlyForLandscapeAndPortrait)
{
    const QDomElement list =
        domOf(*TestUtil::sampleTheme()).documentElement().firstChildElement("PageBackgroundImages");
    EXPECT_EQ(attributeValues(list, "PageBackgroundImage", "Orientation"),
              QStringList({"<none>", "Landscape", "Portrait"}));
    QStringList texts;
    for (const QDomElement& image : children(list, "PageBackgroundImage"))
        texts << image.text();
    EXPECT_EQ(texts, QStringList({"image_0", "image_1", "image_2"}));
}

TEST(ThemeXmlWriter, GradientStopsAndTextStylesAreChildElements)
{
    const QDomElement button = childWith(domOf(*TestUtil::sampleTheme()).documentElement(),
                                         "DefaultItemProperties", "ItemType", "Button");
    ASSERT_FALSE(button.isNull());
    const QDomElement gradient =
        childWith(button, "DefaultItemProperty", "Name", "gradient").firstChildElement("Gradient");
    EXPECT_EQ(attributeValues(gradient, "GradientStop", "Position"),
              QStringList({"0", "0.5", "1"}));
    // Lower-case hexadecimal red, green and blue; the alpha of the first stop is dropped.
    EXPECT_EQ(attributeValues(gradient, "GradientStop", "Colour"),
              QStringList({"#ff0000", "#00ff00", "#0000ff"}));
    const QDomElement style = childWith(button, "DefaultItemProperty", "Name", "textStyle");
    EXPECT_FALSE(style.hasAttribute("Value"));
    EXPECT_EQ(style.firstChildElement("TextStyle").text(), "Raised");
    EXPECT_EQ(childWith(button, "DefaultItemProperty", "Name", "fontSize").attribute("Value"),
              "12");
}

// A plain int that happens to hold a text style's number is an int, not a text style.
TEST(ThemeXmlWriter, OnlyValuesOfTheExactTypeBecomeChildElements)
{
    auto theme = TestUtil::emptyTheme("T");
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "style", int(TextStyle_RAISED));
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "none", QVariant());
    const QDomElement label =
        domOf(*theme).documentElement().firstChildElement("DefaultItemProperties");
    const QDomElement style = childWith(label, "DefaultItemProperty", "Name", "style");
    EXPECT_EQ(style.attribute("Value"), "2");
    EXPECT_FALSE(style.hasChildNodes());
    const QDomElement none = childWith(label, "DefaultItemProperty", "Name", "none");
    EXPECT_TRUE(none.hasAttribute("Value"));
    EXPECT_EQ(none.attribute("Value"), "");
}

TEST(ThemeXmlWriter, ItemTypesWithoutANameAreLeftOut)
{
    const QDomElement root = domOf(*TestUtil::sampleTheme()).documentElement();
    EXPECT_EQ(attributeValues(root, "DefaultItemProperties", "ItemType"),
              QStringList({"Button", "Label"}));
    EXPECT_EQ(attributeValues(root, "SkinSet", "ItemType"),
              QStringList({"Button", "Slider", "Clock"}));
}

TEST(ThemeXmlWriter, TransitionWithoutEasingNameHasOnlyItsDuration)
{
    const QDomElement buttons = childWith(domOf(*TestUtil::sampleTheme()).documentElement(),
                                          "SkinSet", "ItemType", "Button");
    const QDomElement normal = childWith(buttons, "Skin", "Name", "Normal");
    const QDomElement pressed = childWith(buttons, "Skin", "Name", "Pressed");
    EXPECT_EQ(normal.attribute("Default"), "true");
    EXPECT_EQ(pressed.attribute("Default"), "false");
    EXPECT_EQ(normal.firstChildElement().tagName(), "Transition");
    EXPECT_EQ(normal.firstChildElement("Transition").firstChildElement("Duration").text(), "250");
    EXPECT_EQ(normal.firstChildElement("Transition").firstChildElement("Easing").text(),
              "OutBounce");
    const QDomElement transition = pressed.firstChildElement("Transition");
    EXPECT_EQ(transition.firstChildElement("Duration").text(), "300");
    EXPECT_TRUE(transition.firstChildElement("Easing").isNull());
}

TEST(ThemeXmlWriter, ImageSkinPropertiesNameSkinImageMembers)
{
    const QDomElement root = domOf(*TestUtil::sampleTheme()).documentElement();
    const QDomElement buttons = childWith(root, "SkinSet", "ItemType", "Button");
    const QDomElement normal = childWith(buttons, "Skin", "Name", "Normal");
    const QDomElement pressed = childWith(buttons, "Skin", "Name", "Pressed");
    EXPECT_EQ(childWith(normal, "SkinProperty", "Name", "backgroundImage").attribute("Value"),
              "skin_image_0");
    const QDomElement noImage =
        childWith(pressed, "SkinProperty", "Name", "backgroundImage_pressed");
    ASSERT_FALSE(noImage.isNull());
    EXPECT_EQ(noImage.attribute("Value"), "");
}

// A resource address (the built-in clock faces) or an id of no stored skin image would name a
// member that the bundle lacks; such properties are left out, to be filled in on reading.
TEST(ThemeXmlWriter, ImageSkinPropertiesNamingNoStoredImageAreLeftOut)
{
    const QDomElement clocks = childWith(domOf(*TestUtil::sampleTheme()).documentElement(),
                                         "SkinSet", "ItemType", "Clock");
    const QDomElement face = childWith(clocks, "Skin", "Name", "Face");
    EXPECT_EQ(attributeValues(face, "SkinProperty", "Name"), QStringList({"minuteHandImage"}));
    EXPECT_EQ(face.firstChildElement("SkinProperty").attribute("Value"), "skin_image_2");
    EXPECT_FALSE(documentOf(*TestUtil::sampleTheme()).contains("qrc:"));
}

TEST(ThemeXmlWriter, MemberNamesCarryKindAndId)
{
    ImageData image;
    auto theme = TestUtil::emptyTheme("T");
    for (int i = 0; i < 13; ++i)
        theme->addIconData("x");
    const ImageData& twelve = theme->getIcons()[12];
    EXPECT_EQ(ThemeWriter::imageFileName(twelve), "image_12");
    EXPECT_EQ(ThemeWriter::iconFileName(twelve), "icon_12");
    EXPECT_EQ(ThemeWriter::controlImageFileName(twelve), "control_image_12");
    EXPECT_EQ(ThemeWriter::skinImageFileName(twelve), "skin_image_12");
    EXPECT_EQ(ThemeWriter::iconFileName(image), "icon_0");
}
