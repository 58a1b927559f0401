#include "qml_fixtures.h"
#include "qml_golden.h"

#include <gtest/gtest.h>

using namespace QmlFixtures;
using Velmora::Configuration;
using VelmoraQML::QMLRenderer;
using VelmoraQML::QMLStreamer;

namespace {

QString renderProject(const Configuration& configuration)
{
    return render(configuration, configuration, false, true, false);
}

// The lines of the document from the first line equal to first up to the next line equal to
// last, both included.
QStringList section(const QString& text, const QString& first, const QString& last)
{
    const QStringList lines = text.split('\n');
    const qsizetype begin = lines.indexOf(first);
    if (begin < 0)
        return {};
    const qsizetype end = lines.indexOf(last, begin + 1);
    return lines.mid(begin, end < 0 ? -1 : end - begin + 1);
}

} // namespace

TEST(QMLRenderer, ButtonExampleWithoutTheme)
{
    Configuration configuration;
    configuration.clear();
    configuration.addPage();
    Velmora::Button* button =
        addControl<Velmora::Button>(configuration, 5, 0, "button1", "OK", QRect(10, 20, 100, 40));
    ASSERT_NE(button, nullptr);
    const QString text = render(configuration, *button, false, true, false);
    QmlGolden::expectDocument("button_example.qml", text);
}

TEST(QMLRenderer, WholeProject)
{
    const auto project = makeProject();
    QmlGolden::expectDocument("project_landscape.qml", renderProject(*project));
}

TEST(QMLRenderer, PageSwitcherLayouts)
{
    for (const auto& [orientation, name] :
         {std::pair{1, "switchers_landscape.qml"}, std::pair{2, "switchers_portrait.qml"}}) {
        const auto project = makeSwitcherProject(orientation);
        QmlGolden::expectDocument(name, renderProject(*project));
    }
}

TEST(QMLRenderer, StandaloneControlsCarryTheThemeOfTheirType)
{
    const auto project = makeProject();
    const struct
    {
        unsigned int controlId;
        const char* document;
    } cases[] = {
        {0, "control_button_plain_standalone.qml"},  {2, "control_button_standalone.qml"},
        {1, "control_slider_standalone.qml"},        {3, "control_slider_flat_standalone.qml"},
        {4, "control_colourpicker_standalone.qml"},  {5, "control_keypad_standalone.qml"},
        {6, "control_label_standalone.qml"},         {7, "control_clock_analogue_standalone.qml"},
        {8, "control_clock_digital_standalone.qml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        const QString text = render(*project, project->getControl(c.controlId), true, false, true);
        QmlGolden::expectDocument(c.document, text);
    }
    const QString switcher = render(*project, project->getPageSwitcher(1), true, false, true);
    QmlGolden::expectDocument("pageswitcher_standalone.qml", switcher);
}

TEST(QMLRenderer, PagesInEditableAndPlainForms)
{
    const auto project = makeProject();
    const struct
    {
        unsigned int pageId;
        bool editable;
        bool renderChildren;
        const char* document;
    } cases[] = {
        {1, true, false, "page_editable_empty.qml"},
        {2, true, false, "page_editable_plain_background.qml"},
        {0, true, false, "page_editable_gradient_image.qml"},
        {0, false, false, "page_gradient_image.qml"},
        {1, false, true, "page_with_controls.qml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        const QString text =
            render(*project, project->getPage(c.pageId), c.editable, c.renderChildren, false);
        QmlGolden::expectDocument(c.document, text);
    }
}

// The expected documents show no scaling, stretching and tiling; these are the other modes. The
// line after the image's source gives the fill mode, or for an unknown scaling the centring of
// an image of natural size.
TEST(QMLRenderer, ImageScalingGivesTheFillMode)
{
    const auto project = makeProject();
    Velmora::Page& page = project->getPage(3);
    for (auto [scaling, line] : {std::pair{2, "fillMode:Image.PreserveAspectFit;"},
                                 {3, "fillMode:Image.PreserveAspectCrop;"},
                                 {5, "fillMode:Image.TileVertically;"},
                                 {6, "fillMode:Image.TileHorizontally;"},
                                 {9, "anchors.horizontalCenter:parent.horizontalCenter;"}}) {
        page.setBackgroundImageScaling(Velmora::Scaling(scaling));
        const QString text = render(*project, page, false, false, false);
        EXPECT_EQ(section(text, "Image{", "}").value(2), line) << scaling;
    }
}

TEST(QMLRenderer, ProjectAlwaysWritesPagesWithTheirControls)
{
    // The project writes every page with its controls whatever the flag says, and leaves the
    // flag as it found it.
    const auto project = makeProject();
    QMLStreamer streamer(project.get());
    QMLRenderer renderer(&streamer);
    renderer.renderChildren = false;
    project->render(&renderer);
    EXPECT_FALSE(renderer.renderChildren);
    EXPECT_EQ(withSerialOne(streamer.text(), *project), renderProject(*project));
}

TEST(QMLRenderer, SliderValueIsItsShareOfTheRange)
{
    Configuration configuration;
    configuration.clear();
    configuration.addPage();
    auto* slider = addControl<Velmora::Slider>(configuration, 0, 0, "s", "", QRect(0, 0, 90, 20));
    ASSERT_NE(slider, nullptr);
    // A range that is empty or inverted has no share: the handle sits at the start.
    for (const auto& [minimum, maximum, value, line] : {std::tuple{0, 255, 51, "value:0.2;"},
                                                        {10, 10, 10, "value:0;"},
                                                        {100, 0, 40, "value:0;"},
                                                        {-5, -10, -8, "value:0;"}}) {
        slider->setMinimum(minimum);
        slider->setMaximum(maximum);
        slider->setValue(value);
        const QString text = render(configuration, *slider, false, false, false);
        EXPECT_TRUE(text.contains(QString("\n%1\n").arg(line))) << minimum << " " << maximum;
    }
}

TEST(QMLRenderer, DamagedDateTimeFontSizeKeepsTheLayoutArithmeticSound)
{
    const auto project = makeSwitcherProject(1);
    Velmora::PageSwitcher& bar = project->getPageSwitcher(2); // top, time and date at the end
    bar.setDateTimeFontSize(INT_MAX);
    const QString text = render(*project, bar, false, false, false);
    EXPECT_TRUE(text.contains("dateTimeX:-1048096;\ndateTimeY:0;\ndateTimeWidth:1048576;\n"));
    EXPECT_FALSE(text.contains("PageSwitcherButton"));
}

TEST(QMLRendererDeathTest, UnknownSkinPropertyTypeIsFatal)
{
    class OddProperty : public Velmora::SkinProperty
    {
    public:
        OddProperty() : SkinProperty("odd", "Odd", 1) {}
        Velmora::SkinPropertyType getType() const override { return Velmora::SkinPropertyType(9); }
    };
    EXPECT_DEATH(
        {
            const auto project = makeProject();
            addProperty(*project->getTheme()->findSkin(Velmora::ThemedItemType_LABEL, "Caption"),
                        new OddProperty);
            renderProject(*project);
        },
        "Unrecognised property type passed to QMLStreamer::writePropertyDefinition");
}

TEST(QMLRendererDeathTest, MissingControlIsFatal)
{
    EXPECT_DEATH(
        {
            const auto project = makeProject();
            project->getPage(1).getControlIds().insert(77);
            renderProject(*project);
        },
        "Assert: 'controls.exists\\(controlId\\)' is FALSE");
}

TEST(QMLStreamer, NewStreamerHoldsTheImportHeaderOnly)
{
    QmlGolden::expectDocument("streamer_header.qml", QMLStreamer(nullptr).text());
}

TEST(QMLStreamer, ValueStatements)
{
    QMLStreamer s(nullptr);
    s.writeId("control5");
    s.writeProperty("configId", -1);
    s.writeProperty("width", 100);
    s.writeProperty("visible", true);
    s.writeProperty("clip", false);
    s.writeProperty("opacity", 0.5);
    s.writeProperty("scale", 2.0);
    s.writeProperty("ratio", 1.0 / 3.0);
    s.writeProperty("big", 1234567.0);
    s.writeProperty("color", QStringLiteral("black"), true);
    s.writeProperty("width", QStringLiteral("screen.size.width"), false);
    // One backslash and one double quote: the backslash is doubled first, so the backslash
    // that escapes the quote is not doubled again.
    s.writeProperty("text", QStringLiteral("\\\""), true);
    s.writeProperty("caption", QString(), true);
    // Only backslash and double quote are escaped; tabs, newlines and non-ASCII pass.
    const QString raw = QString::fromUtf8("C:\\dir\\ \"quoted\"\ttab\nnext line \xc3\xa9");
    s.writeProperty("caption", raw, true);
    s.writeProperty("fillMode", "Image.Stretch", false);
    s.writeProperty("name", "a\"b", true);
    QmlGolden::expectDocument("streamer_values.qml", s.text());
}

TEST(QMLStreamer, Gradients)
{
    QMLStreamer s(nullptr);
    s.writeGradient({});
    s.writeGradient({{0.5, QColor(255, 0, 0)}});
    // Stored order, no sorting and no de-duplication; alpha is dropped.
    s.writeGradient({{0.0, QColor("#000000")},
                     {0.25, QColor("#3f3f3f")},
                     {1.0, QColor(0, 255, 0, 100)},
                     {0.3, QColor(0, 0, 255)},
                     {0.3, QColor(0, 0, 255)}});
    s.writeProperty("gradient", QGradientStops{{0.1234567, Qt::white}});
    s.writeProperty("backgroundGradient", QGradientStops{});
    QmlGolden::expectDocument("streamer_gradients.qml", s.text());
}

TEST(QMLStreamer, PropertyDefinitions)
{
    QMLStreamer s(nullptr);
    s.writePropertyDefinition("fill", QMetaType::QColor, QVariant(), true);
    s.writePropertyDefinition("fontBold", QMetaType::Bool, true, true);
    s.writePropertyDefinition("fontItalic", QMetaType::Bool, false, false);
    s.writePropertyDefinition("radius", QMetaType::Int, 5, true);
    s.writePropertyDefinition("borderWidth", QMetaType::Int, -3, false);
    s.writePropertyDefinition("opacity", QMetaType::Double, 0.75, true);
    s.writePropertyDefinition("gradientBottomPosition", QMetaType::Double, 1.0, true);
    s.writePropertyDefinition("caption", QMetaType::QString, QStringLiteral("say \"hi\" \\ bye"),
                              true);
    s.writePropertyDefinition("expression", QMetaType::QString, QStringLiteral("parent.width"),
                              false);
    s.writePropertyDefinition("textColour", QMetaType::QColor, QColor("#4682B4"), false);
    s.writePropertyDefinition("trackBorderColour", QMetaType::QColor, QColor(Qt::transparent),
                              true);
    // Only string values honour the quoting flag.
    s.writePropertyDefinition("count", QMetaType::Int, 12, true);
    // An image that is not an id (a resource address from a table default) is written as is.
    s.writePropertyDefinition("faceImage", QMetaType::QImage,
                              QStringLiteral("qrc:/default_clock_face.svg"), true);
    s.writePropertyDefinition("backgroundImage", QMetaType::QImage, QVariant(), true);
    QmlGolden::expectDocument("streamer_definitions.qml", s.text());
}

TEST(QMLStreamer, StatesTransitionsAndAliases)
{
    QMLStreamer s(nullptr);
    s.beginStates();
    s.writeState("pressed", {{"label", {{"text", "\"Down\""}}},
                             {"background", {{"color", "\"red\""}, {"opacity", "0.5"}}}});
    s.writeState("empty", {});
    s.endList();
    // A new list starts without a separator.
    s.beginStates();
    s.writeState("again", {});
    s.endList();
    s.beginTransitions();
    s.writeTransition("*", "pressed", {{"label", {"text"}}, {"background", {"color", "opacity"}}},
                      200, "InOutQuad");
    s.writeTransition("pressed", "", {{"background", {"color"}}}, 0, QString());
    s.endList();
    s.writePropertyAlias("label.text", "caption");
    QmlGolden::expectDocument("streamer_states.qml", s.text());
}

TEST(QMLStreamerDeathTest, SkinImageIdNeedsAConfiguration)
{
    EXPECT_DEATH(
        {
            QMLStreamer s(nullptr);
            s.writePropertyDefinition("fill", QMetaType::QImage, 7u, true);
        },
        "Assert: 'configuration' is FALSE");
}
