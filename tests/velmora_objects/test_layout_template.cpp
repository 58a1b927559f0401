#include "velmora_objects/layout_template.h"

#include "velmora_objects/button.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/slider.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QSpacerItem>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Velmora;

namespace {

// The factory type of a control item.
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

// Row, column, row span and column span of every item of a grid, in order.
struct Cell
{
    int row, column, rowSpan, columnSpan, type;
    bool operator==(const Cell& o) const
    {
        return row == o.row && column == o.column && rowSpan == o.rowSpan &&
               columnSpan == o.columnSpan && type == o.type;
    }
};

std::ostream& operator<<(std::ostream& out, const Cell& c)
{
    return out << "(" << c.row << "," << c.column << " span " << c.rowSpan << "x" << c.columnSpan
               << " type " << c.type << ")";
}

std::vector<Cell> cellsOf(QLayout* layout)
{
    auto* grid = qobject_cast<QGridLayout*>(layout);
    EXPECT_NE(grid, nullptr);
    std::vector<Cell> cells;
    for (int i = 0; grid && i < grid->count(); ++i) {
        Cell cell{};
        grid->getItemPosition(i, &cell.row, &cell.column, &cell.rowSpan, &cell.columnSpan);
        cell.type = typeOf(grid->itemAt(i));
        cells.push_back(cell);
    }
    return cells;
}

std::vector<Cell> placeInGrid(const char* grid)
{
    const QByteArray document = QByteArray("<layout name=\"g\">") + grid + "</layout>";
    LayoutTemplate layoutTemplate;
    EXPECT_TRUE(layoutTemplate.load(document)) << grid;
    EXPECT_TRUE(layoutTemplate.getErrors().empty()) << grid;
    if (!layoutTemplate.getLayout())
        return {};
    return cellsOf(layoutTemplate.getLayout());
}

void deleteAll(std::list<Control*>& controls)
{
    for (Control* control : controls)
        delete control;
    controls.clear();
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Grey = QColor(Qt::darkGray).rgb();

} // namespace

// The control item

TEST(ControlLayoutItem, FixedAndFreeDimensions)
{
    ControlLayoutItem fixed(120, 0, ControlFactory::get(ControlType_BUTTON));
    EXPECT_EQ(fixed.minimumSize(), QSize(120, 0));
    EXPECT_EQ(fixed.maximumSize(), QSize(120, 0));
    EXPECT_EQ(fixed.sizeHint(), QSize(120, 0));
    EXPECT_EQ(fixed.expandingDirections(), Qt::Orientations());

    ControlLayoutItem free(-1, 40, ControlFactory::get(ControlType_BUTTON));
    EXPECT_EQ(free.minimumSize(), QSize(0, 40));
    EXPECT_EQ(free.maximumSize(), QSize(65535, 40));
    EXPECT_EQ(free.sizeHint(), QSize(65535, 40));
    EXPECT_EQ(free.expandingDirections(), Qt::Horizontal);

    ControlLayoutItem both(-5, -1, ControlFactory::get(ControlType_BUTTON));
    EXPECT_EQ(both.expandingDirections(), Qt::Horizontal | Qt::Vertical);
    EXPECT_EQ(both.geometry(), QRect());
    EXPECT_FALSE(both.isEmpty());
    EXPECT_EQ(both.layout(), nullptr);
}

struct AlignmentCase
{
    const char* name;
    Qt::Alignment alignment;
    QRect cell;
    QRect expected;
};

class ControlItemAlignment : public ::testing::TestWithParam<AlignmentCase>
{
};

TEST_P(ControlItemAlignment, PlacesTheItemInItsCell)
{
    const AlignmentCase& c = GetParam();
    ControlLayoutItem item(50, 30, ControlFactory::get(ControlType_LABEL));
    item.setAlignment(c.alignment);
    item.setGeometry(c.cell);
    EXPECT_EQ(item.geometry(), c.expected);
}

// A 50 × 30 item in a 200 × 100 cell at (10, 20), and in a cell one pixel wider and taller.
INSTANTIATE_TEST_SUITE_P(
    Alignments, ControlItemAlignment,
    ::testing::Values(
        AlignmentCase{"none", {}, QRect(10, 20, 200, 100), QRect(10, 20, 50, 30)},
        AlignmentCase{"left", Qt::AlignLeft, QRect(10, 20, 200, 100), QRect(10, 20, 50, 30)},
        AlignmentCase{"right", Qt::AlignRight, QRect(10, 20, 200, 100), QRect(160, 20, 50, 30)},
        AlignmentCase{"center", Qt::AlignHCenter, QRect(10, 20, 200, 100), QRect(85, 20, 50, 30)},
        AlignmentCase{"top", Qt::AlignTop, QRect(10, 20, 200, 100), QRect(10, 20, 50, 30)},
        AlignmentCase{"bottom", Qt::AlignBottom, QRect(10, 20, 200, 100), QRect(10, 90, 50, 30)},
        AlignmentCase{"vcenter", Qt::AlignVCenter, QRect(10, 20, 200, 100), QRect(10, 55, 50, 30)},
        AlignmentCase{"right bottom", Qt::AlignRight | Qt::AlignBottom, QRect(10, 20, 200, 100),
                      QRect(160, 90, 50, 30)},
        AlignmentCase{"odd center", Qt::AlignHCenter | Qt::AlignVCenter, QRect(10, 20, 201, 101),
                      QRect(85, 55, 50, 30)},
        // Both horizontal flags at once are no horizontal alignment the item knows.
        AlignmentCase{"two flags", Qt::AlignRight | Qt::AlignHCenter, QRect(10, 20, 200, 100),
                      QRect(10, 20, 50, 30)},
        // A cell smaller than the item's size gives a smaller item; the minimum plays no part.
        AlignmentCase{"small cell", Qt::AlignRight, QRect(10, 20, 40, 20), QRect(10, 20, 40, 20)},
        // A cell of negative extent gives an item of none.
        AlignmentCase{"negative cell", Qt::AlignHCenter | Qt::AlignBottom,
                      QRect(300, 300, -120, -82), QRect(300, 300, 0, 0)}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(ControlLayoutItemDeathTest, NeedsAFactory)
{
    EXPECT_DEATH(ControlLayoutItem(1, 1, nullptr), "Assert: 'factory' is FALSE");
}

TEST(ControlLayoutItem, RightAndCentreInALayoutCell)
{
    auto layoutTemplate = loaded("<layout name=\"a\"><vbox margin=\"0\" spacing=\"0\">"
                                 "<button width=\"120px\" height=\"40px\" align=\"RIGHT\"/>"
                                 "<button width=\"121px\" height=\"40px\" align=\"center\"/>"
                                 "</vbox></layout>");
    auto controls = layoutTemplate->createControls(QRect(0, 0, 480, 272));
    ASSERT_EQ(controls.size(), 2u);
    const QRect right = controls.front()->getGeometry();
    EXPECT_EQ(right.right(), 479);
    EXPECT_EQ(right.width(), 120);
    const QRect centre = controls.back()->getGeometry();
    const int leftGap = centre.left();
    const int rightGap = 479 - centre.right();
    EXPECT_LE(std::abs(leftGap - rightGap), 1);
    EXPECT_EQ(centre.width(), 121);
    deleteAll(controls);
}

TEST(ControlLayoutItem, CreatesItsControlFromItsProperties)
{
    ControlLayoutItem item(-1, -1, ControlFactory::get(ControlType_SLIDER));
    item.setProperty("Caption", "Volume");
    item.setProperty("unit", "first");
    item.setProperty("unit", "8bit");
    item.setGeometry(QRect(5, 6, 70, 80));
    std::unique_ptr<Control> control(item.createControl());
    auto* slider = dynamic_cast<Slider*>(control.get());
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->getCaption(), "Volume");
    EXPECT_EQ(slider->getMaximum(), 255);
    EXPECT_EQ(slider->getGeometry(), QRect(5, 6, 70, 80));
    EXPECT_EQ(slider->getName(), QString());
    EXPECT_EQ(slider->getPageId(), UINT_MAX);
}

// Size text

TEST(LayoutTemplate, SizeText)
{
    const struct
    {
        const char* text;
        int size;
        bool inRange;
    } cases[] = {
        {"120px", 120, true},
        {"120PX", 120, true},
        {"120", -120, true},
        {"0", 0, true},
        {"0px", 0, true},
        {"", 0, true},
        {"120 px", 0, true},
        {" 120px", 0, true},
        {"px", 0, true},
        {"-5px", 0, true},
        {"12.5px", 0, true},
        // The whole text must match: a line break after px is no exception.
        {"120px\n", 0, true},
        // Digits are ASCII digits only.
        {"\u0661\u0662px", 0, true},
        {"9999px", 9999, true},
        {"10000px", 0, false},
        {"99999999999999999999", 0, false},
    };
    for (const auto& c : cases) {
        bool inRange = !c.inRange;
        EXPECT_EQ(LayoutTemplate::sizeFromString(QString::fromUtf8(c.text), &inRange), c.size)
            << c.text;
        EXPECT_EQ(inRange, c.inRange) << c.text;
        EXPECT_EQ(LayoutTemplate::sizeFromString(QString::fromUtf8(c.text)), c.size) << c.text;
    }
}

TEST(LayoutTemplate, SizeFormsOfAControl)
{
    const struct
    {
        const char* width;
        QSize minimum, maximum;
        Qt::Orientations expanding;
    } cases[] = {
        {"width=\"120px\"", QSize(120, 0), QSize(120, 65535), Qt::Vertical},
        {"width=\"120Px\"", QSize(120, 0), QSize(120, 65535), Qt::Vertical},
        {"width=\"120\"", QSize(0, 0), QSize(65535, 65535), Qt::Horizontal | Qt::Vertical},
        {"", QSize(0, 0), QSize(65535, 65535), Qt::Horizontal | Qt::Vertical},
        {"width=\"\"", QSize(0, 0), QSize(0, 65535), Qt::Vertical},
        {"width=\"120 px\"", QSize(0, 0), QSize(0, 65535), Qt::Vertical},
        {"width=\"0\"", QSize(0, 0), QSize(0, 65535), Qt::Vertical},
        {"width=\"8px\" height=\"16PX\"", QSize(8, 16), QSize(8, 16), Qt::Orientations()},
    };
    for (const auto& c : cases) {
        auto layoutTemplate =
            loaded(QByteArray("<layout name=\"s\"><hbox><label ") + c.width + "/></hbox></layout>");
        ASSERT_NE(layoutTemplate->getLayout(), nullptr);
        ControlLayoutItem* item = controlAt(layoutTemplate->getLayout(), 0);
        ASSERT_NE(item, nullptr) << c.width;
        EXPECT_EQ(item->minimumSize(), c.minimum) << c.width;
        EXPECT_EQ(item->maximumSize(), c.maximum) << c.width;
        EXPECT_EQ(item->expandingDirections(), c.expanding) << c.width;
    }
}

// Reading documents

TEST(LayoutTemplate, StartsEmpty)
{
    LayoutTemplate layoutTemplate;
    EXPECT_EQ(layoutTemplate.getName(), QString());
    EXPECT_EQ(layoutTemplate.getOrientation(), 0);
    EXPECT_EQ(layoutTemplate.getLayout(), nullptr);
    EXPECT_TRUE(layoutTemplate.getErrors().empty());
    EXPECT_TRUE(layoutTemplate.createControls(QRect(0, 0, 480, 272)).empty());
    const QImage blank = layoutTemplate.renderThumbnail(1, QSize(480, 272));
    EXPECT_EQ(blank.size(), QSize(480, 272));
    EXPECT_EQ(blank.pixel(240, 136), White);
}

TEST(LayoutTemplate, LoadsTheTree)
{
    auto layoutTemplate = loaded(R"(<?xml version="1.0"?>
<Layout name="Mixed" orientation="Portrait">
    <VBox margin="4" spacing="6" width="10px" align="right">
        <button width="120PX" height="40px" align="Right">
            <property name="caption" value="Go"/>
            <property name="caption" value="Stop"/>
            <property name="unit"/>
            <Property name="Note" value="kept"/>
            <other name="x" value="y"/>
            text
        </button>
        <spacer size="0"/>
        <spacer size="3"/>
        <Spacer/>
        <spacer size="10px"/>
        <hbox><slider/><colourpicker width="60px" height="40px"/><spacer/></hbox>
        <grid rows="1" columns="2" spacing="3"><keypad/><label/></grid>
        <unknown><button/></unknown>
        <!-- a comment among the items -->
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
    EXPECT_EQ(root->alignment(), Qt::Alignment());
    ASSERT_EQ(root->count(), 8);

    ControlLayoutItem* button = controlAt(root, 0);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(typeOf(button), ControlType_BUTTON);
    EXPECT_EQ(button->minimumSize(), QSize(120, 40));
    EXPECT_EQ(button->maximumSize(), QSize(120, 40));
    EXPECT_EQ(button->alignment(), Qt::AlignRight);
    const std::map<QString, QString> properties{{"Note", "kept"}, {"caption", "Stop"}};
    EXPECT_EQ(button->getProperties(), properties);

    // Fixed space of 0, stretches of 3 and 1, fixed space of 10.
    for (int i : {1, 2, 3, 4})
        ASSERT_NE(root->itemAt(i)->spacerItem(), nullptr) << i;
    EXPECT_EQ(root->stretch(1), 0);
    EXPECT_EQ(root->itemAt(1)->sizeHint().height(), 0);
    EXPECT_EQ(root->itemAt(1)->expandingDirections() & Qt::Vertical, Qt::Orientations());
    EXPECT_EQ(root->stretch(2), 3);
    EXPECT_EQ(root->stretch(3), 1);
    EXPECT_EQ(root->stretch(4), 0);
    EXPECT_EQ(root->itemAt(4)->sizeHint().height(), 10);

    auto* row = qobject_cast<QHBoxLayout*>(root->itemAt(5)->layout());
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(row->count(), 3);
    EXPECT_EQ(typeOf(row->itemAt(0)), ControlType_SLIDER);
    EXPECT_EQ(typeOf(row->itemAt(1)), ControlType_COLOUR_PICKER);
    EXPECT_EQ(row->stretch(2), 1);
    EXPECT_EQ(row->parent(), root);

    auto* grid = qobject_cast<QGridLayout*>(root->itemAt(6)->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->horizontalSpacing(), 3);
    EXPECT_EQ(grid->verticalSpacing(), 3);
    EXPECT_EQ(cellsOf(grid), (std::vector<Cell>{{0, 0, 1, 1, ControlType_KEYPAD},
                                                {0, 1, 1, 1, ControlType_LABEL}}));

    ControlLayoutItem* clock = controlAt(root, 7);
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(typeOf(clock), ControlType_CLOCK);
    EXPECT_EQ(clock->expandingDirections(), Qt::Horizontal | Qt::Vertical);
    EXPECT_EQ(clock->alignment(), Qt::Alignment());
}

TEST(LayoutTemplate, Orientation)
{
    const struct
    {
        const char* attribute;
        int orientation;
    } cases[] = {
        {"orientation=\"Portrait\"", 2}, {"orientation=\"LANDSCAPE\"", 1},
        {"orientation=\"any\"", 0},      {"orientation=\"sideways\"", 0},
        {"orientation=\"\"", 0},         {"", 0},
    };
    for (const auto& c : cases) {
        auto layoutTemplate =
            loaded(QByteArray("<layout name=\"o\" ") + c.attribute + "><vbox/></layout>");
        EXPECT_EQ(layoutTemplate->getOrientation(), c.orientation) << c.attribute;
    }

    // Without the attribute a second load keeps the orientation of the first.
    LayoutTemplate layoutTemplate;
    ASSERT_TRUE(
        layoutTemplate.load("<layout name=\"a\" orientation=\"landscape\"><hbox/></layout>"));
    ASSERT_TRUE(
        layoutTemplate.load("<layout name=\"b\"><grid rows=\"1\" columns=\"1\"/></layout>"));
    EXPECT_EQ(layoutTemplate.getOrientation(), 1);
    EXPECT_EQ(layoutTemplate.getName(), "b");
    EXPECT_NE(qobject_cast<QGridLayout*>(layoutTemplate.getLayout()), nullptr);
}

TEST(LayoutTemplate, RefusesWithoutAMessage)
{
    const char* documents[] = {
        // The first child must be a layout.
        "<layout name=\"c\"><!-- first --><vbox/></layout>",
        "<layout name=\"c\"><?target data?><vbox/></layout>",
        "<layout name=\"c\">text<vbox/></layout>",
        "<layout name=\"c\"><button/><vbox/></layout>",
        "<layout name=\"c\"><spacer/></layout>",
        "<layout name=\"c\"><table/></layout>",
        "<layout name=\"c\"><grid columns=\"2\"/></layout>",
        "<layout name=\"c\"><grid rows=\"2\" columns=\"zero\"/></layout>",
        "<layout name=\"c\"><grid rows=\"-1\" columns=\"2\"/></layout>",
        "<layout name=\"c\"/>",
    };
    for (const char* document : documents) {
        LayoutTemplate layoutTemplate;
        EXPECT_FALSE(layoutTemplate.load(document)) << document;
        EXPECT_EQ(layoutTemplate.getLayout(), nullptr) << document;
        EXPECT_TRUE(layoutTemplate.getErrors().empty()) << document;
        EXPECT_EQ(layoutTemplate.getName(), "c") << document;
    }
}

TEST(LayoutTemplate, FailedLoadsAndTheEarlierTree)
{
    LayoutTemplate layoutTemplate;
    ASSERT_TRUE(layoutTemplate.load("<layout name=\"first\"><vbox><button/></vbox></layout>"));
    QLayout* first = layoutTemplate.getLayout();

    // Without a name nothing changes.
    EXPECT_FALSE(layoutTemplate.load("<layout orientation=\"portrait\"><hbox/></layout>"));
    EXPECT_EQ(layoutTemplate.getName(), "first");
    EXPECT_EQ(layoutTemplate.getOrientation(), 0);
    EXPECT_EQ(layoutTemplate.getLayout(), first);
    // Nor when the document is not well-formed.
    EXPECT_FALSE(layoutTemplate.load("<layout name=\"second\"><hbox></layout>"));
    EXPECT_EQ(layoutTemplate.getLayout(), first);
    EXPECT_EQ(layoutTemplate.getErrors().size(), 1u);

    // A first child that is no layout leaves no tree.
    EXPECT_FALSE(layoutTemplate.load("<layout name=\"third\"><button/></layout>"));
    EXPECT_EQ(layoutTemplate.getName(), "third");
    EXPECT_EQ(layoutTemplate.getLayout(), nullptr);
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
    ASSERT_EQ(layoutTemplate.getErrors().size(), 2u);
    EXPECT_FALSE(layoutTemplate.getErrors().back().message.isEmpty());
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
        {"entities", laughs, "expansion limit", 29},
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

// Grid placement

TEST(LayoutTemplate, GridStopsWhenItIsFull)
{
    // The fifth child would be refused if it were read.
    EXPECT_EQ(placeInGrid("<grid rows=\"2\" columns=\"2\"><button/><slider/><label/><clock/>"
                          "<vbox margin=\"100000\"/></grid>"),
              (std::vector<Cell>{{0, 0, 1, 1, ControlType_BUTTON},
                                 {0, 1, 1, 1, ControlType_SLIDER},
                                 {1, 0, 1, 1, ControlType_LABEL},
                                 {1, 1, 1, 1, ControlType_CLOCK}}));
}

TEST(LayoutTemplate, GridColumnSpanIsCutToTheColumns)
{
    EXPECT_EQ(
        placeInGrid("<grid rows=\"2\" columns=\"3\"><button colspan=\"5\"/><label/></grid>"),
        (std::vector<Cell>{{0, 0, 1, 3, ControlType_BUTTON}, {1, 0, 1, 1, ControlType_LABEL}}));
}

TEST(LayoutTemplate, GridRowSpanBelowTheLastRowIsDropped)
{
    EXPECT_EQ(placeInGrid("<grid rows=\"2\" columns=\"2\"><button/><button/>"
                          "<label rowspan=\"2\"/><keypad/></grid>"),
              (std::vector<Cell>{{0, 0, 1, 1, ControlType_BUTTON},
                                 {0, 1, 1, 1, ControlType_BUTTON},
                                 {1, 0, 1, 1, ControlType_KEYPAD}}));
    // A row span larger than the rows from the first row is cut to the rows.
    EXPECT_EQ(
        placeInGrid("<grid rows=\"2\" columns=\"2\"><label rowspan=\"9\"/><keypad/></grid>"),
        (std::vector<Cell>{{0, 0, 2, 1, ControlType_LABEL}, {0, 1, 1, 1, ControlType_KEYPAD}}));
}

TEST(LayoutTemplate, GridColumnSpanAtTheEdgeMovesOn)
{
    EXPECT_EQ(placeInGrid("<grid rows=\"2\" columns=\"3\"><button/><button/>"
                          "<label colspan=\"2\"/><clock/><slider/></grid>"),
              (std::vector<Cell>{{0, 0, 1, 1, ControlType_BUTTON},
                                 {0, 1, 1, 1, ControlType_BUTTON},
                                 {1, 0, 1, 2, ControlType_LABEL},
                                 {1, 2, 1, 1, ControlType_CLOCK}}));
}

TEST(LayoutTemplate, GridSkipsCellsTakenByRowSpans)
{
    EXPECT_EQ(placeInGrid("<grid rows=\"2\" columns=\"2\"><button rowspan=\"2\"/><label/>"
                          "<clock/><slider/></grid>"),
              (std::vector<Cell>{{0, 0, 2, 1, ControlType_BUTTON},
                                 {0, 1, 1, 1, ControlType_LABEL},
                                 {1, 1, 1, 1, ControlType_CLOCK}}));
}

TEST(LayoutTemplate, GridSpanPastTheRowEndMarksTheNextRow)
{
    // The label cannot fit its three columns from column 1 or 2; it is placed at column 2 and
    // covers the cells of its running index: (0, 2), (1, 0) and (1, 1).
    EXPECT_EQ(placeInGrid("<grid rows=\"2\" columns=\"3\"><button/><label colspan=\"3\"/>"
                          "<clock/></grid>"),
              (std::vector<Cell>{{0, 0, 1, 1, ControlType_BUTTON},
                                 {0, 2, 1, 3, ControlType_LABEL},
                                 {1, 2, 1, 1, ControlType_CLOCK}}));
}

TEST(LayoutTemplate, GridRowSpanIsKeptAfterAMove)
{
    // The span of two rows was fine at row 0; after the move to row 1 the grid grows a row.
    LayoutTemplate layoutTemplate;
    ASSERT_TRUE(
        layoutTemplate.load("<layout name=\"g\"><grid rows=\"2\" columns=\"2\"><button/>"
                            "<label rowspan=\"2\" colspan=\"2\"/><clock/></grid></layout>"));
    EXPECT_EQ(
        cellsOf(layoutTemplate.getLayout()),
        (std::vector<Cell>{{0, 0, 1, 1, ControlType_BUTTON}, {1, 0, 2, 2, ControlType_LABEL}}));
    auto controls = layoutTemplate.createControls(QRect(0, 0, 480, 272));
    EXPECT_EQ(controls.size(), 2u);
    deleteAll(controls);
}

TEST(LayoutTemplate, GridSkipsWhatYieldsNothing)
{
    EXPECT_EQ(placeInGrid("<grid rows=\"1\" columns=\"3\">text<unknown/><!-- c -->"
                          "<grid rows=\"0\" columns=\"1\"/><spacer/><button/>"
                          "<hbox colspan=\"2\"><label/></hbox></grid>"),
              (std::vector<Cell>{{0, 0, 1, 1, ControlType_BUTTON}, {0, 1, 1, 2, 0}}));
}

// Controls

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

    // The items keep the geometry of the last call.
    auto again = layoutTemplate->createControls(QRect(0, 0, 480, 272));
    EXPECT_EQ(again.front()->getGeometry(), QRect(0, 0, 100, 272));
    EXPECT_EQ(controlAt(layoutTemplate->getLayout(), 0)->geometry(), QRect(0, 0, 100, 272));
    deleteAll(controls);
    deleteAll(again);
}

TEST(LayoutTemplate, AreaSmallerThanTheMarginsGivesEmptyControls)
{
    auto layoutTemplate =
        loaded("<layout name=\"m\"><vbox margin=\"300\"><button/><label/></vbox></layout>");
    auto controls = layoutTemplate->createControls(QRect(0, 0, 480, 272));
    ASSERT_EQ(controls.size(), 2u);
    for (Control* control : controls) {
        EXPECT_GE(control->getGeometry().width(), 0);
        EXPECT_GE(control->getGeometry().height(), 0);
    }
    deleteAll(controls);
}

// Thumbnails

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

    const QRect picker = controlAt(layoutTemplate->getLayout(), 0)->geometry();
    ASSERT_EQ(picker.size(), QSize(60, 40));
    const int left = picker.left();
    const int top = picker.top();
    // A circle of diameter 40, 10 pixels in from the left edge.
    EXPECT_EQ(image.pixel(left + 30, top + 20), Grey);
    EXPECT_EQ(image.pixel(left + 11, top + 20), Grey);
    EXPECT_EQ(image.pixel(left + 48, top + 20), Grey);
    EXPECT_EQ(image.pixel(left + 30, top + 1), Grey);
    EXPECT_EQ(image.pixel(left + 30, top + 38), Grey);
    EXPECT_EQ(image.pixel(left + 8, top + 20), White);
    EXPECT_EQ(image.pixel(left + 51, top + 20), White);
    EXPECT_EQ(image.pixel(left + 10, top), White);
    EXPECT_EQ(image.pixel(left + 49, top + 39), White);

    // The button fills its whole rectangle and nothing beyond.
    const QRect button = controlAt(layoutTemplate->getLayout(), 1)->geometry();
    ASSERT_EQ(button.size(), QSize(100, 50));
    for (const QPoint& corner :
         {button.topLeft(), button.topRight(), button.bottomLeft(), button.bottomRight()})
        EXPECT_EQ(image.pixel(corner), Grey) << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixel(button.right() + 1, button.top()), White);
    ASSERT_LT(button.bottom() + 1, image.height());
    EXPECT_EQ(image.pixel(button.left(), button.bottom() + 1), White);
    EXPECT_EQ(image.pixel(470, 260), White);
}

TEST(LayoutTemplate, ThumbnailPageAndScale)
{
    auto layoutTemplate =
        loaded("<layout name=\"t\"><hbox margin=\"0\"><spacer/>"
               "<button width=\"20px\" height=\"20px\" align=\"vcenter\"/></hbox></layout>");
    const struct
    {
        int orientation;
        QSize requested, expected;
    } cases[] = {
        {1, QSize(480, 272), QSize(480, 272)}, {0, QSize(480, 272), QSize(480, 272)},
        {2, QSize(272, 480), QSize(272, 480)}, {1, QSize(120, 68), QSize(120, 68)},
        {2, QSize(68, 120), QSize(68, 120)},   {2, QSize(120, 68), QSize(38, 68)},
    };
    for (const auto& c : cases) {
        const QImage image = layoutTemplate->renderThumbnail(c.orientation, c.requested);
        EXPECT_EQ(image.size(), c.expected) << c.orientation;
        // The button stands at the right edge of the page, halfway down.
        if (c.requested == c.expected && c.expected.width() >= 272) {
            EXPECT_EQ(image.pixel(image.width() - 5, image.height() / 2), Grey);
            EXPECT_EQ(image.pixel(image.width() - 25, image.height() / 2), White);
        }
    }
}

// Ownership and threads

TEST(LayoutTemplate, CopyingMovesTheTree)
{
    LayoutTemplate source;
    ASSERT_TRUE(source.load("<layout name=\"n\" orientation=\"portrait\"><vbox/></layout>"));
    EXPECT_FALSE(source.load("<broken"));
    QLayout* tree = source.getLayout();

    LayoutTemplate copy(source);
    EXPECT_EQ(source.getLayout(), nullptr);
    EXPECT_EQ(copy.getLayout(), tree);
    EXPECT_EQ(copy.getName(), "n");
    EXPECT_EQ(copy.getOrientation(), 2);
    EXPECT_EQ(copy.getErrors().size(), 1u);
    EXPECT_EQ(source.getName(), "n");
    EXPECT_EQ(source.getErrors().size(), 1u);

    LayoutTemplate assigned;
    ASSERT_TRUE(assigned.load("<layout name=\"other\"><hbox/></layout>"));
    assigned = copy;
    EXPECT_EQ(assigned.getLayout(), tree);
    EXPECT_EQ(copy.getLayout(), nullptr);
    EXPECT_EQ(assigned.getName(), "n");
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

TEST(LayoutTemplate, ReadsOnTwoThreadsAtOnce)
{
    const QByteArray document = R"(<layout name="busy"><vbox>
        <button width="10px" height="20"/><spacer size="4px"/><spacer size="2"/>
        <hbox><slider height="30px"/><label width="15"/></hbox></vbox></layout>)";
    std::atomic<int> failures{0};
    const auto readMany = [&] {
        for (int i = 0; i < 200; ++i) {
            LayoutTemplate layoutTemplate;
            if (!layoutTemplate.load(document) || layoutTemplate.getLayout()->count() != 4)
                ++failures;
        }
    };
    std::unique_ptr<QThread> first(QThread::create(readMany));
    std::unique_ptr<QThread> second(QThread::create(readMany));
    first->start();
    second->start();
    readMany();
    ASSERT_TRUE(first->wait(60000));
    ASSERT_TRUE(second->wait(60000));
    EXPECT_EQ(failures.load(), 0);
}
