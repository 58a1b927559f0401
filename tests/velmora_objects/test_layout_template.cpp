#include "velmora_objects/layout_template.h"

#include "common/helpers.h"
#include "core/xml_schema_validator.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/slider.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace Velmora;
using TestUtil::dataPath;
using TestUtil::readFile;

namespace {

int typeOf(QLayoutItem* item)
{
    auto* control = dynamic_cast<ControlLayoutItem*>(item);
    return control ? int(control->getFactory()->controlType()) : 0;
}

ControlLayoutItem* controlAt(QLayout* layout, int index)
{
    return dynamic_cast<ControlLayoutItem*>(layout->itemAt(index));
}

std::unique_ptr<LayoutTemplate> loaded(const QByteArray& document)
{
    auto layoutTemplate = std::make_unique<LayoutTemplate>();
    EXPECT_TRUE(layoutTemplate->load(document)) << document.constData();
    return layoutTemplate;
}

// The items of a grid in order, each as its kind (B button, S slider, P colour picker, K keypad,
// L label, C clock, - a layout), row and column, then "x" with the row and column span when
// they are not 1: "B00x13 L10".
std::string cellsOf(QLayout* layout)
{
    auto* grid = qobject_cast<QGridLayout*>(layout);
    std::string cells;
    for (int i = 0; grid && i < grid->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        cells += std::string(cells.empty() ? "" : " ") + "-BSPKLC"[typeOf(grid->itemAt(i))] +
                 std::to_string(row) + std::to_string(column);
        if (rowSpan != 1 || columnSpan != 1)
            cells += "x" + std::to_string(rowSpan) + std::to_string(columnSpan);
    }
    return cells;
}

void deleteAll(std::list<Control*>& controls)
{
    for (Control* control : controls)
        delete control;
    controls.clear();
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Grey = QColor(Qt::darkGray).rgb();

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

// A 50 × 30 item placed by each alignment in a cell of 200 × 100 at (10, 20).
TEST(ControlLayoutItem, AlignmentPlacesTheItemInItsCell)
{
    const QRect cell(10, 20, 200, 100);
    const struct
    {
        Qt::Alignment alignment;
        QRect cell, expected;
    } cases[] = {
        {{}, cell, QRect(10, 20, 50, 30)},
        {Qt::AlignRight, cell, QRect(160, 20, 50, 30)},
        {Qt::AlignHCenter, cell, QRect(85, 20, 50, 30)},
        {Qt::AlignBottom, cell, QRect(10, 90, 50, 30)},
        {Qt::AlignVCenter, cell, QRect(10, 55, 50, 30)},
        {Qt::AlignHCenter | Qt::AlignVCenter, QRect(10, 20, 201, 101), QRect(85, 55, 50, 30)},
        // Both horizontal flags at once are no horizontal alignment the item knows.
        {Qt::AlignRight | Qt::AlignHCenter, cell, QRect(10, 20, 50, 30)},
        // A smaller cell gives a smaller item; one of negative extent gives an item of none.
        {Qt::AlignRight, QRect(10, 20, 40, 20), QRect(10, 20, 40, 20)},
        {Qt::AlignHCenter | Qt::AlignBottom, QRect(300, 300, -120, -82), QRect(300, 300, 0, 0)},
    };
    for (const auto& c : cases) {
        ControlLayoutItem item(50, 30, ControlFactory::get(ControlType_LABEL));
        item.setAlignment(c.alignment);
        item.setGeometry(c.cell);
        EXPECT_EQ(item.geometry(), c.expected) << int(c.alignment);
    }
}

TEST(ControlLayoutItemDeathTest, NeedsAFactory)
{
    EXPECT_DEATH(ControlLayoutItem(1, 1, nullptr), "Assert: 'factory' is FALSE");
}

TEST(LayoutTemplate, SizeText)
{
    const struct
    {
        const char* text;
        int size;
        bool inRange;
    } cases[] = {{"120px", 120, true},
                 {"120PX", 120, true},
                 {"120", -120, true},
                 {"", 0, true},
                 {"120 px", 0, true},
                 {"-5px", 0, true},
                 {"120px\n", 0, true},
                 {"\u0661\u0662px", 0, true},
                 {"9999px", 9999, true},
                 {"10000px", 0, false},
                 {"99999999999999999999", 0, false}};
    for (const auto& c : cases) {
        bool inRange = !c.inRange;
        EXPECT_EQ(LayoutTemplate::sizeFromString(QString::fromUtf8(c.text), &inRange), c.size)
            << c.text;
        EXPECT_EQ(inRange, c.inRange) << c.text;
    }
}

TEST(LayoutTemplate, LoadsTheTree)
{
    auto layoutTemplate = loaded(R"(<?xml version="1.0"?>
<Layout name="Mixed" orientation="Portrait">
    <!-- what other tools write before the root layout --><?editor keep?>
    <VBox margin="4" spacing="6">
        <button width="120PX" height="40px" align="Right">
            <property name="caption" value="Go"/>
            <property name="caption" value="Stop"/>
            <property name="unit"/>
            <Property name="Note" value="kept"/>
        </button>
        <spacer size="3"/>
        <spacer size="10px"/>
        <hbox><slider/><colourpicker/><spacer/></hbox>
        <grid rows="1" columns="2" spacing="3"><keypad/><label/></grid>
        <unknown><button/></unknown>
        <grid rows="0" columns="2"><keypad/></grid>
        <clock width="120" align="middle"/>
    </VBox>
    <hbox><button/></hbox>
</Layout>)");
    EXPECT_EQ(layoutTemplate->getName(), "Mixed");
    EXPECT_EQ(layoutTemplate->getOrientation(), 2);
    EXPECT_TRUE(layoutTemplate->getErrors().empty());

    auto* root = qobject_cast<QVBoxLayout*>(layoutTemplate->getLayout());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->contentsMargins(), QMargins(4, 4, 4, 4));
    EXPECT_EQ(root->spacing(), 6);
    ASSERT_EQ(root->count(), 6);

    ControlLayoutItem* button = controlAt(root, 0);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(typeOf(button), ControlType_BUTTON);
    EXPECT_EQ(button->maximumSize(), QSize(120, 40));
    EXPECT_EQ(button->alignment(), Qt::AlignRight);
    const std::map<QString, QString> properties{{"Note", "kept"}, {"caption", "Stop"}};
    EXPECT_EQ(button->getProperties(), properties);

    // A stretch of 3, then a fixed space of 10.
    EXPECT_EQ(root->stretch(1), 3);
    EXPECT_EQ(root->stretch(2), 0);
    EXPECT_EQ(root->itemAt(2)->sizeHint().height(), 10);

    auto* row = qobject_cast<QHBoxLayout*>(root->itemAt(3)->layout());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->parent(), root);
    EXPECT_EQ(typeOf(row->itemAt(0)), ControlType_SLIDER);
    EXPECT_EQ(typeOf(row->itemAt(1)), ControlType_COLOUR_PICKER);
    EXPECT_EQ(row->stretch(2), 1);

    auto* grid = qobject_cast<QGridLayout*>(root->itemAt(4)->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->horizontalSpacing(), 3);
    EXPECT_EQ(cellsOf(grid), "K00 L01");

    // Size forms: digits with px fix a dimension, digits alone or nothing leave it free.
    EXPECT_EQ(typeOf(root->itemAt(5)), ControlType_CLOCK);
    EXPECT_EQ(root->itemAt(5)->expandingDirections(), Qt::Horizontal | Qt::Vertical);
    EXPECT_EQ(root->itemAt(5)->alignment(), Qt::Alignment());
}

TEST(LayoutTemplate, RefusedLoads)
{
    LayoutTemplate layoutTemplate;
    ASSERT_TRUE(layoutTemplate.load("<layout name=\"first\"><vbox><button/></vbox></layout>"));
    QLayout* first = layoutTemplate.getLayout();

    // Without a name, or not well-formed (which adds a message), nothing changes.
    EXPECT_FALSE(layoutTemplate.load("<layout orientation=\"portrait\"><hbox/></layout>"));
    EXPECT_FALSE(layoutTemplate.load("<layout name=\"second\"><hbox></layout>"));
    EXPECT_EQ(layoutTemplate.getName(), "first");
    EXPECT_EQ(layoutTemplate.getLayout(), first);

    // A first child that is no layout, or a grid without rows and columns, leaves no tree.
    for (const char* document : {"<layout name=\"c\"><button/><vbox/></layout>",
                                 "<layout name=\"c\"><grid rows=\"2\" columns=\"zero\"/></layout>",
                                 "<layout name=\"c\"/>"}) {
        EXPECT_FALSE(layoutTemplate.load(document)) << document;
        EXPECT_EQ(layoutTemplate.getLayout(), nullptr) << document;
    }
    EXPECT_EQ(layoutTemplate.getErrors().size(), 1u);
    EXPECT_TRUE(layoutTemplate.createControls(QRect(0, 0, 480, 272)).empty());
}

TEST(LayoutTemplate, ParseErrorCarriesThePosition)
{
    LayoutTemplate layoutTemplate;
    EXPECT_FALSE(layoutTemplate.load("<layout name=\"x\">\n  <vbox>\n <button></vbox></layout>"));
    ASSERT_EQ(layoutTemplate.getErrors().size(), 1u);
    const LayoutTemplate::ParseError& error = layoutTemplate.getErrors().front();
    EXPECT_EQ(error.message, "Opening and ending tag mismatch.");
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.column, 16);

    // Errors of every load accumulate.
    EXPECT_FALSE(layoutTemplate.load(""));
    EXPECT_EQ(layoutTemplate.getErrors().size(), 2u);
}

TEST(LayoutTemplate, RefusesDocumentsBeyondTheLimits)
{
    QByteArray deep = "<layout name=\"deep\">\n";
    for (int i = 0; i < 100000; ++i)
        deep += "<vbox>";
    QByteArray wide = "<layout name=\"wide\"><vbox>\n";
    for (int i = 0; i < LayoutTemplate::MaxElements; ++i)
        wide += "<button/>";
    wide += "</vbox></layout>";
    // Entities that expand to a billion buttons.
    QByteArray laughs = "<!DOCTYPE layout [\n<!ENTITY a \"<button/><button/>\">\n";
    for (char entity = 'b', previous = 'a'; entity <= 'z'; previous = entity++)
        laughs += QByteArray("<!ENTITY ") + entity + " \"&" + previous + ";&" + previous + ";\">\n";
    laughs += "]>\n<layout name=\"laughs\"><vbox>&z;</vbox></layout>";
    QByteArray attributes;
    for (int i = 0; i < 100000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    QByteArray large = "<layout name=\"large\"><vbox/></layout><!--";
    large += QByteArray(LayoutTemplate::MaxDocumentBytes, '-') + "-->";

    const struct
    {
        const char* name;
        QByteArray document;
        const char* messagePart;
        int line;
    } cases[] = {
        {"deep", deep, "nested deeper than 32", 2},
        {"wide", wide, "more than 4096 elements", 2},
        {"large", large, "larger than 1048576 bytes", 0},
        {"attributes", "<layout name=\"a\">\n<vbox" + attributes + "/></layout>",
         "An element has more than 64 attributes", 2},
        {"all attributes",
         "<layout name=\"a\">\n<vbox>" +
             QByteArray("<button a=\"\" b=\"\" c=\"\" d=\"\"/>").repeated(4096) +
             "</vbox></layout>",
         "The document has more than 16384 attributes", 2},
        {"entities", laughs, "declares entities", 2},
        {"grid rows",
         "<layout name=\"g\">\n<grid rows=\"65\" columns=\"1\"><button/></grid></layout>",
         "more than 64 rows or columns", 2},
        {"grid columns",
         "<layout name=\"g\"><vbox>\n<button/>\n<grid rows=\"1\" "
         "columns=\"100000\"/></vbox></layout>",
         "more than 64 rows or columns", 3},
        {"width",
         "<layout name=\"w\"><hbox><button/>\n<button width=\"99999999999px\"/></hbox></layout>",
         "width \"99999999999px\" is larger than 9999", 2},
        {"height", "<layout name=\"h\"><hbox>\n<label height=\"10000\"/></hbox></layout>",
         "height \"10000\" is larger", 2},
        {"spacer",
         "<layout name=\"s\"><vbox><button/>\n<spacer size=\"2147483647\"/></vbox></layout>",
         "size \"2147483647\" is larger", 2},
        {"margin", "<layout name=\"m\">\n<vbox margin=\"2147483647\"><button/></vbox></layout>",
         "margin \"2147483647\" is larger", 2},
        {"spacing",
         "<layout name=\"m\"><vbox><hbox>\n<grid rows=\"1\" columns=\"1\" "
         "spacing=\"+99999999999999999999999\"/></hbox></vbox></layout>",
         "spacing", 2},
    };
    for (const auto& c : cases) {
        LayoutTemplate layoutTemplate;
        EXPECT_FALSE(layoutTemplate.load(c.document)) << c.name;
        EXPECT_EQ(layoutTemplate.getLayout(), nullptr) << c.name;
        ASSERT_EQ(layoutTemplate.getErrors().size(), 1u) << c.name;
        const LayoutTemplate::ParseError& error = layoutTemplate.getErrors().front();
        EXPECT_TRUE(error.message.contains(c.messagePart))
            << c.name << ": " << error.message.toStdString();
        EXPECT_EQ(error.line, c.line) << c.name;
        EXPECT_EQ(error.column > 0, c.line > 0) << c.name;
    }

    // Just inside the limits.
    auto within = loaded("<layout name=\"max\"><vbox margin=\"9999\" spacing=\"-3\">"
                         "<grid rows=\"64\" columns=\"64\"><button width=\"9999px\"/></grid>"
                         "<spacer size=\"9999\"/></vbox></layout>");
    EXPECT_TRUE(within->getErrors().empty());
}

TEST(LayoutTemplate, GridPlacement)
{
    const struct
    {
        const char* grid;
        const char* cells;
    } cases[] = {
        // Placement stops when the grid is full: the fifth child would be refused if read.
        {"<grid rows=\"2\" columns=\"2\"><button/><slider/><label/><clock/>"
         "<vbox margin=\"100000\"/></grid>",
         "B00 S01 L10 C11"},
        // A column span is cut to the columns.
        {"<grid rows=\"2\" columns=\"3\"><button colspan=\"5\"/><label/></grid>", "B00x13 L10"},
        // A row span below the last row drops the child; one from the first row is cut.
        {"<grid rows=\"2\" columns=\"2\"><button/><button/><label rowspan=\"2\"/><keypad/></grid>",
         "B00 B01 K10"},
        {"<grid rows=\"2\" columns=\"2\"><label rowspan=\"9\"/><keypad/><clock/></grid>",
         "L00x21 K01 C11"},
        // A column span that does not fit at the cursor moves on to the next free cell.
        {"<grid rows=\"2\" columns=\"3\"><button/><button/><label colspan=\"2\"/><clock/>"
         "<slider/></grid>",
         "B00 B01 L10x12 C12"},
        // Placed at column 2, the label covers the cells of its running index: (0, 2), (1, 0)
        // and (1, 1).
        {"<grid rows=\"2\" columns=\"3\"><button/><label colspan=\"3\"/><clock/></grid>",
         "B00 L02x13 C12"},
        // The span of two rows was fine at row 0; after the move to row 1 the grid grows a row.
        {"<grid rows=\"2\" columns=\"2\"><button/><label rowspan=\"2\" colspan=\"2\"/><clock/>"
         "</grid>",
         "B00 L10x22"},
        // What yields nothing takes no cell.
        {"<grid rows=\"1\" columns=\"3\">text<unknown/><!-- c --><grid rows=\"0\" columns=\"1\"/>"
         "<spacer/><button/><hbox colspan=\"2\"><label/></hbox></grid>",
         "B00 -01x12"},
    };
    for (const auto& c : cases) {
        LayoutTemplate layoutTemplate;
        ASSERT_TRUE(layoutTemplate.load(QByteArray("<layout name=\"g\">") + c.grid + "</layout>"))
            << c.grid;
        EXPECT_TRUE(layoutTemplate.getErrors().empty()) << c.grid;
        EXPECT_EQ(cellsOf(layoutTemplate.getLayout()), c.cells) << c.grid;
    }
}

TEST(LayoutTemplate, CreatesControlsInTemplateOrder)
{
    auto layoutTemplate = loaded(R"(<layout name="c">
        <hbox margin="0" spacing="0">
            <button width="100px"><property name="caption" value="One"/></button>
            <vbox spacing="0">
                <label height="30px"/>
                <slider><property name="unit" value="8bit"/></slider>
            </vbox>
            <spacer size="20px"/>
            <clock width="60px" height="60px" align="vcenter"/>
        </hbox>
    </layout>)");
    auto controls = layoutTemplate->createControls(QRect(0, 42, 480, 230));
    ASSERT_EQ(controls.size(), 4u);
    std::vector<Control*> list(controls.begin(), controls.end());
    EXPECT_EQ(list[0]->getType(), ControlType_BUTTON);
    EXPECT_EQ(list[0]->getCaption(), "One");
    EXPECT_EQ(list[0]->getGeometry(), QRect(0, 42, 100, 230));
    EXPECT_EQ(list[1]->getType(), ControlType_LABEL);
    EXPECT_EQ(list[1]->getGeometry(), QRect(100, 42, 300, 30));
    EXPECT_EQ(list[2]->getType(), ControlType_SLIDER);
    EXPECT_EQ(list[2]->getGeometry(), QRect(100, 72, 300, 200));
    EXPECT_EQ(dynamic_cast<Slider*>(list[2])->getMaximum(), 255);
    EXPECT_EQ(list[3]->getType(), ControlType_CLOCK);
    EXPECT_EQ(list[3]->getGeometry(), QRect(420, 127, 60, 60));
    deleteAll(controls);
}

TEST(LayoutTemplate, ThumbnailDrawsRectanglesAndCircles)
{
    auto layoutTemplate = loaded(R"(<layout name="t">
        <hbox margin="0" spacing="0">
            <colourpicker width="60px" height="40px"/>
            <button width="100px" height="50px"/>
            <spacer/>
        </hbox>
    </layout>)");
    const QImage image = layoutTemplate->renderThumbnail(1, QSize(480, 272));
    ASSERT_EQ(image.size(), QSize(480, 272));

    // The colour picker: a circle of diameter 40, 10 pixels in from the left of its 60 × 40.
    const QPoint picker = controlAt(layoutTemplate->getLayout(), 0)->geometry().topLeft();
    for (const QPoint& inside : {QPoint(30, 20), QPoint(11, 20), QPoint(48, 20), QPoint(30, 1)})
        EXPECT_EQ(image.pixel(picker + inside), Grey) << inside.x() << "," << inside.y();
    for (const QPoint& outside : {QPoint(8, 20), QPoint(51, 20), QPoint(10, 0), QPoint(49, 39)})
        EXPECT_EQ(image.pixel(picker + outside), White) << outside.x() << "," << outside.y();

    // The button fills its whole rectangle and nothing beyond.
    const QRect button = controlAt(layoutTemplate->getLayout(), 1)->geometry();
    for (const QPoint& corner : {button.topLeft(), button.bottomRight()})
        EXPECT_EQ(image.pixel(corner), Grey);
    EXPECT_EQ(image.pixel(button.right() + 1, button.top()), White);
    EXPECT_EQ(image.pixel(button.left(), button.bottom() + 1), White);
}

TEST(LayoutTemplate, ThumbnailPageAndScale)
{
    auto layoutTemplate =
        loaded("<layout name=\"t\"><hbox margin=\"0\"><spacer/>"
               "<button width=\"20px\" height=\"20px\" align=\"vcenter\"/></hbox></layout>");
    // A portrait page; the button stands at its right edge, halfway down.
    const QImage image = layoutTemplate->renderThumbnail(2, QSize(272, 480));
    ASSERT_EQ(image.size(), QSize(272, 480));
    EXPECT_EQ(image.pixel(267, 240), Grey);
    EXPECT_EQ(image.pixel(247, 240), White);
    // Scaled to fit with its aspect ratio kept.
    EXPECT_EQ(layoutTemplate->renderThumbnail(2, QSize(120, 68)).size(), QSize(38, 68));
    EXPECT_EQ(layoutTemplate->renderThumbnail(0, QSize(120, 68)).size(), QSize(120, 68));
}

TEST(LayoutTemplate, CopyingMovesTheTree)
{
    LayoutTemplate source;
    ASSERT_TRUE(source.load("<layout name=\"n\" orientation=\"portrait\"><vbox/></layout>"));
    EXPECT_FALSE(source.load("<broken"));
    QLayout* tree = source.getLayout();

    LayoutTemplate copy(source);
    EXPECT_EQ(source.getLayout(), nullptr);
    EXPECT_EQ(copy.getLayout(), tree);
    EXPECT_EQ(copy.getErrors().size(), 1u);

    LayoutTemplate assigned;
    ASSERT_TRUE(assigned.load("<layout name=\"other\"><hbox/></layout>"));
    assigned = copy;
    EXPECT_EQ(assigned.getLayout(), tree);
    EXPECT_EQ(copy.getLayout(), nullptr);
}

TEST(LayoutTemplate, ReadOnAWorkerThreadAndUsedHere)
{
    const QByteArray document = R"(<layout name="worker">
        <vbox><hbox><button/><grid rows="1" columns="2"><colourpicker/><vbox><label/></vbox>
        </grid></hbox></vbox></layout>)";
    LayoutTemplate result;
    QImage thumbnail;
    QThread* gui = QThread::currentThread();
    std::unique_ptr<QThread> worker(QThread::create([&] {
        LayoutTemplate layoutTemplate;
        if (!layoutTemplate.load(document))
            return;
        thumbnail = layoutTemplate.renderThumbnail(1, QSize(120, 68));
        layoutTemplate.moveToThread(gui);
        result = layoutTemplate;
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(60000));

    QLayout* root = result.getLayout();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(thumbnail.size(), QSize(120, 68));
    EXPECT_EQ(root->thread(), gui);
    const QList<QLayout*> nested = root->findChildren<QLayout*>();
    EXPECT_EQ(nested.size(), 3);
    for (QLayout* layout : nested)
        EXPECT_EQ(layout->thread(), gui);
    auto controls = result.createControls(QRect(0, 0, 480, 230));
    EXPECT_EQ(controls.size(), 3u);
    deleteAll(controls);
}

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
        {"bad_align.xml", 3, true, 0},     {"control_root.xml", 2, false, 0},
        {"deep_nesting.xml", 0, false, 1}, {"empty.xml", 1, false, 1},
        {"foreign_root.xml", 1, false, 0}, {"grid_without_rows.xml", 2, false, 0},
        {"huge_grid.xml", 2, false, 1},    {"huge_margin.xml", 2, false, 1},
        {"huge_spacer.xml", 4, false, 1},  {"huge_spans.xml", 3, true, 0},
        {"huge_width.xml", 3, false, 1},   {"malformed.xml", 3, false, 1},
        {"no_name.xml", 1, false, 0},      {"unknown_element.xml", 2, false, 0},
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
