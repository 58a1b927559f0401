#include "core/gradient_library.h"
#include "core/xml_shape.h"

#include <QByteArray>
#include <gtest/gtest.h>

using namespace XmlShape;

namespace {

// The attributes a0 to a<count - 1>, each with an empty value.
QByteArray attributes(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += " a" + QByteArray::number(i) + "=\"\"";
    return text;
}

} // namespace

TEST(XmlShape, DocumentsBeyondTheBoundsAreRefusedWithTheBoundNamed)
{
    // Depth, elements and a document that is not well-formed: the layout template's tests.
    const Limits limits = {4, 10, 3, 8, 5, 32};
    const QByteArray many = "<b" + attributes(4) + "/>";
    // Far beyond the limits as written, then not well-formed: refused before any parser reads.
    const QByteArray farBeyond = "<a x='" + QByteArray(41, 'v') + "'/><<";
    const QByteArray textFarBeyond = "<a>" + QByteArray(257, 't') + "</b>";
    QByteArray utf16Entity = "\xff\xfe";
    for (const char c : QByteArray("<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>"))
        utf16Entity += QByteArray(1, c) + '\0';
    const struct
    {
        const char* name;
        QByteArray document;
        Result result;
        const char* message;
        int line;
    } cases[] = {
        // Signs and brackets in values, comments, character data and instructions count nothing.
        {"fine",
         "<a x='=' y=\"a=>b\" z=''><!--" + many + "--><![CDATA[" + many + "]]><?p " + many +
             "?><b/></a>",
         Result_FINE, "", 0},
        {"element", "<a>\n" + many + "</a>", Result_TOO_MANY_ATTRIBUTES_IN_ELEMENT,
         "An element has more than 3 attributes", 2},
        {"document", "<a>" + QByteArray("<b x='' y=''/>\n").repeated(5) + "</a>",
         Result_TOO_MANY_ATTRIBUTES, "The document has more than 8 attributes", 5},
        {"entity", "<!DOCTYPE a [\n<!ENTITY e '" + many + "'>]><a/>", Result_ENTITY_DECLARED,
         "The document declares entities, which are not accepted", 2},
        {"entity in UTF-16", utf16Entity, Result_ENTITY_DECLARED,
         "The document declares entities, which are not accepted", 1},
        {"value and text at the limit", "<a x='12345'>" + QByteArray(32, 't') + "</a>", Result_FINE,
         "", 0},
        {"value", "<a>\n<b x='&amp;23456'/></a>", Result_VALUE_TOO_LONG,
         "An attribute value is longer than 5 characters", 2},
        {"text", "<a>\n<b/><![CDATA[" + QByteArray(33, 't') + "]]></a>", Result_TEXT_TOO_LONG,
         "A text is longer than 32 characters", 2},
        {"value far beyond", farBeyond, Result_VALUE_TOO_LONG,
         "An attribute value is longer than 5 characters", 1},
        {"text far beyond", textFarBeyond, Result_TEXT_TOO_LONG,
         "A text is longer than 32 characters", 1},
        {"declared defaults",
         "<!DOCTYPE a [<!ATTLIST a p CDATA 'x' q CDATA 'y'>\n<!ATTLIST a r CDATA 'z' s CDATA "
         "'w'>]><a/>",
         Result_TOO_MANY_ATTRIBUTES_IN_ELEMENT, "An element has more than 3 attributes", 2},
    };
    for (const auto& c : cases) {
        const Check check(c.document, limits);
        EXPECT_EQ(check.result(), c.result) << c.name;
        EXPECT_EQ(check.message(), c.message) << c.name;
        EXPECT_EQ(check.line(), c.line) << c.name;
    }
}

// A gradient pack with 150,000 attributes on one element took four minutes and 1.5 GB.
TEST(XmlShape, AnElementWithVeryManyAttributesIsRefusedBeforeAnyParserReadsIt)
{
    const QByteArray pack = "<GradientPack name=\"p\"" + attributes(150000) + "/>";
    const Check check(pack,
                      {GradientLibrary::MaxPackDepth, GradientLibrary::MaxPackElements,
                       GradientLibrary::MaxElementAttributes, GradientLibrary::MaxPackAttributes});
    EXPECT_EQ(check.message(), "An element has more than 64 attributes");
    EXPECT_EQ(check.column(), 1);
}
