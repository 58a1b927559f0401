#include "velmora_objects/layout_template.h"

#include "common/helpers.h"
#include "core/xml_schema_validator.h"
#include "velmora_objects/control.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

using TestUtil::dataPath;
using TestUtil::readFile;

namespace {

// The layout folder the build ships beside bin/.
QString layoutFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../Resources/layout");
}

const XmlSchemaValidator& layoutSchema()
{
    static const XmlSchemaValidator schema(layoutFolder() + "/layout.xsd");
    return schema;
}

int greyPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 200;
    return count;
}

} // namespace

TEST(LayoutTemplateFiles, ShippedTemplatesValidateAndLoad)
{
    ASSERT_TRUE(layoutSchema().isValid()) << layoutSchema().schemaError().toString().toStdString();
    const QStringList files = QDir(layoutFolder()).entryList({"*.xml"}, QDir::Files, QDir::Name);
    EXPECT_GE(files.size(), 4);
    EXPECT_LE(files.size(), 6);
    QSet<QString> names;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray bytes = readFile(layoutFolder() + "/" + file);
        XmlSchemaValidator::Error error;
        EXPECT_TRUE(layoutSchema().validate(bytes, &error)) << error.toString().toStdString();

        LayoutTemplate layoutTemplate;
        ASSERT_TRUE(layoutTemplate.load(bytes));
        EXPECT_TRUE(layoutTemplate.getErrors().empty());
        EXPECT_FALSE(layoutTemplate.getName().isEmpty());
        EXPECT_FALSE(names.contains(layoutTemplate.getName()));
        names.insert(layoutTemplate.getName());

        // Every control gets a place inside the free area of a page with a bottom page switcher.
        const QRect area(0, 0, 480, 230);
        auto controls = layoutTemplate.createControls(area);
        EXPECT_GE(controls.size(), 3u);
        for (Velmora::Control* control : controls) {
            EXPECT_TRUE(area.contains(control->getGeometry())) << control->getType();
            EXPECT_GE(control->getGeometry().width(), 20) << control->getType();
            EXPECT_GE(control->getGeometry().height(), 20) << control->getType();
            delete control;
        }

        EXPECT_GT(greyPixels(layoutTemplate.renderThumbnail(1, QSize(120, 68))), 120 * 68 / 4);
        EXPECT_GT(greyPixels(layoutTemplate.renderThumbnail(2, QSize(68, 120))), 120 * 68 / 4);
    }
}

// Every malformed sample is refused by the schema at a place in the document (line 0: the
// schema cannot see the fault), by the reader, or by both; where only the schema is stricter
// the reader reads what it can.
TEST(LayoutTemplateFiles, MalformedSamples)
{
    const struct
    {
        const char* file;
        int schemaLine;
        bool loads;
        size_t loadErrors;
    } cases[] = {
        {"bad_align.xml", 3, true, 0},
        {"comment_first.xml", 0, false, 0},
        {"control_root.xml", 2, false, 0},
        {"deep_nesting.xml", 0, false, 1},
        {"empty.xml", 1, false, 1},
        {"foreign_root.xml", 1, false, 0},
        {"grid_without_rows.xml", 2, false, 0},
        {"huge_grid.xml", 2, false, 1},
        {"huge_margin.xml", 2, false, 1},
        {"huge_spacer.xml", 4, false, 1},
        {"huge_spans.xml", 3, true, 0},
        {"huge_width.xml", 3, false, 1},
        {"malformed.xml", 3, false, 1},
        {"no_name.xml", 1, false, 0},
        {"unknown_element.xml", 2, false, 0},
    };
    const QStringList files =
        QDir(dataPath("bad/layout")).entryList({"*.xml"}, QDir::Files, QDir::Name);
    EXPECT_EQ(size_t(files.size()), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = readFile(dataPath(QString("bad/layout/") + c.file));
        XmlSchemaValidator::Error error;
        EXPECT_EQ(layoutSchema().validate(bytes, &error), c.schemaLine == 0);
        EXPECT_EQ(error.message.isEmpty(), c.schemaLine == 0);
        EXPECT_EQ(error.line, c.schemaLine) << error.toString().toStdString();
        EXPECT_TRUE(c.schemaLine == 0 || error.column > 0);
        EXPECT_TRUE(c.schemaLine > 0 || !c.loads);

        LayoutTemplate layoutTemplate;
        EXPECT_EQ(layoutTemplate.load(bytes), c.loads);
        EXPECT_EQ(layoutTemplate.getLayout() != nullptr, c.loads);
        ASSERT_EQ(layoutTemplate.getErrors().size(), c.loadErrors);
        for (const LayoutTemplate::ParseError& parseError : layoutTemplate.getErrors()) {
            EXPECT_FALSE(parseError.message.isEmpty());
            EXPECT_GT(parseError.line, 0);
            // An empty document ends before its first column.
            EXPECT_GE(parseError.column, bytes.isEmpty() ? 0 : 1);
        }
        auto controls = layoutTemplate.createControls(QRect(0, 0, 480, 272));
        for (Velmora::Control* control : controls)
            delete control;
    }
}

// The schema accepts attribute texts only in the forms the reader gives a meaning to.
TEST(LayoutTemplateFiles, SchemaAgreesWithTheReader)
{
    const std::pair<const char*, bool> cases[] = {
        {"<vbox margin=\"0\" spacing=\"9999\"><button width=\"120px\" height=\"120PX\"/>"
         "<spacer size=\"3\"/></vbox>",
         true},
        {"<vbox><button width=\"120\" height=\"0\" align=\"VCENTER\"/></vbox>", true},
        {"<vbox><button width=\"10000px\"/></vbox>", false},
        {"<vbox><button width=\"120 px\"/></vbox>", false},
        {"<vbox><button align=\"middle\"/></vbox>", false},
        {"<vbox><button rowspan=\"2\"/></vbox>", false}, // only children of a grid span cells
        {"<grid rows=\"64\" columns=\"1\"><button rowspan=\"64\" colspan=\"1\"/>"
         "<vbox colspan=\"1\"/><grid rows=\"1\" columns=\"1\" rowspan=\"1\"/></grid>",
         true},
        {"<grid rows=\"65\" columns=\"1\"/>", false},
        {"<grid rows=\"1\" columns=\"1\"><spacer/></grid>", false},
        {"<grid rows=\"1\" columns=\"1\"><button colspan=\"65\"/></grid>", false},
        {"<vbox/><hbox/>", false},
    };
    for (const auto& [body, valid] : cases) {
        const QByteArray document = QByteArray("<layout name=\"s\">") + body + "</layout>";
        EXPECT_EQ(layoutSchema().validate(document), valid) << body;
        EXPECT_TRUE(!valid || LayoutTemplate().load(document)) << body;
    }
    EXPECT_FALSE(layoutSchema().validate("<layout name=\"\"><vbox/></layout>"));
    EXPECT_FALSE(layoutSchema().validate("<layout name=\"o\" orientation=\"up\"><vbox/></layout>"));
}
