#include "core/gradient.h"
#include "velmora_objects/theme_xml_values.h"

#include <QXmlStreamWriter>
#include <gtest/gtest.h>

using namespace Velmora;

TEST(ThemeNames, ItemTypeNamesBothWays)
{
    const QStringList names = {"Button",        "Slider", "Colour Picker", "Keypad",
                               "Page Switcher", "Label",  "Clock"};
    for (int type = 1; type <= 7; ++type) {
        EXPECT_EQ(themedItemTypeName(type), names[type - 1]);
        EXPECT_EQ(themedItemTypeFromName(names[type - 1]), type);
    }
    EXPECT_EQ(themedItemTypeFromName("Page Switcher"), ThemedItemType_PAGE_SWITCHER);
    for (const char* text : {"page switcher", "PageSwitcher", "", " Button", "Colour picker"})
        EXPECT_EQ(int(themedItemTypeFromName(text)), 0) << text;
    for (int type : {0, 8, -1})
        EXPECT_TRUE(themedItemTypeName(type).isEmpty()) << type;
}

TEST(ThemeNames, TextStyleNamesBothWays)
{
    const QStringList names = {"Normal", "Outline", "Raised", "Sunken"};
    for (int style = 0; style < 4; ++style) {
        EXPECT_EQ(textStyleName(style), names[style]);
        EXPECT_EQ(textStyleFromName(names[style]), style);
    }
    for (const char* text : {"normal", "Bold", ""})
        EXPECT_EQ(textStyleFromName(text), 4) << text;
    EXPECT_TRUE(textStyleName(4).isEmpty());
    EXPECT_TRUE(textStyleName(-1).isEmpty());
}

TEST(ThemeXmlValues, TextStyleAndGradientElements)
{
    Gradient gradient;
    gradient.setName("Not written");
    gradient.setStops({{0.5, QColor(0x12, 0xAB, 0xEF, 128)}, {0.0, Qt::red}, {1.0 / 3, Qt::white}});

    QString text;
    QXmlStreamWriter writer(&text);
    writer.writeStartElement("Root");
    writeTextStyleElement(writer, TextStyle_SUNKEN);
    writeGradientElement(writer, gradient);
    writeGradientElement(writer, Gradient());
    writer.writeEndElement();

    EXPECT_EQ(text, "<Root><TextStyle>Sunken</TextStyle><Gradient>"
                    "<GradientStop Position=\"0\" Colour=\"#ff0000\"/>"
                    "<GradientStop Position=\"0.333333\" Colour=\"#ffffff\"/>"
                    "<GradientStop Position=\"0.5\" Colour=\"#12abef\"/>"
                    "</Gradient><Gradient/></Root>");
}
