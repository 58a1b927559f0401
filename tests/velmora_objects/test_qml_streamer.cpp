#include "velmora_objects/qml_streamer.h"

#include "qml_golden.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

using VelmoraQML::QMLStreamer;

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

// A skin image id becomes an address of the configuration's theme: see the renderer's
// expected documents.

TEST(QMLStreamerDeathTest, UnsupportedDefinitionTypeIsFatal)
{
    EXPECT_DEATH(
        {
            QMLStreamer s(nullptr);
            s.writePropertyDefinition("size", QMetaType::QSize, QSize(1, 2), true);
        },
        "Trap: '\"Unrecognised property type passed to "
        "QMLStreamer::writePropertyDefinition\"' is TRUE");
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
