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

} // namespace

// The whole document of a theme that uses every element: order, indentation and value forms.
TEST(ThemeXmlWriter, WritesTheExpectedDocument)
{
    const QByteArray expected = TestUtil::readFile(TestUtil::dataPath("theme_xml/blue.xml"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(QString(documentOf(*TestUtil::sampleTheme())).toStdString(),
              QString(expected).toStdString());
}

// The checks of the expected document that matter to readers, spelled out.
TEST(ThemeXmlWriter, DocumentStructure)
{
    const QByteArray document = documentOf(*TestUtil::sampleTheme());
    QDomDocument dom;
    ASSERT_TRUE(dom.setContent(document, true));
    const QDomElement root = dom.documentElement();
    EXPECT_EQ(root.localName(), VELMORA_THEME_TAG);
    EXPECT_EQ(root.namespaceURI(), VELMORA_THEME_NAMESPACE);
    EXPECT_EQ(root.attribute("version"), "1");
    EXPECT_TRUE(root.firstChildElement().namespaceURI().isEmpty());

    // Orientation 0 has no attribute; stop colours are lower-case "#rrggbb", so the alpha of
    // the first stop is dropped; item type 9 has no name and is left out.
    for (const char* text :
         {"<SplashImage Orientation=\"Portrait\">portrait_splash_image</SplashImage>",
          "<PageBackgroundImage>image_0</PageBackgroundImage>",
          "<PageBackgroundImage Orientation=\"Portrait\">image_2</PageBackgroundImage>",
          "<GradientStop Position=\"0\" Colour=\"#ff0000\"/>",
          "<GradientStop Position=\"0.5\" Colour=\"#00ff00\"/>"})
        EXPECT_TRUE(document.contains(text)) << text;
    EXPECT_FALSE(document.contains("hidden"));
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
