#include "common/helpers.h"
#include "common/qml_fixture.h"
#include "velmora_objects/qml_fixtures.h"

#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_theme.h"

#include <QDir>
#include <QQmlContext>
#include <QRegularExpression>

using namespace VelmoraQML;
using TestUtil::QmlFixture;

namespace {

// The blocks of a document that begin with a line matching the pattern, each from that line to
// the line that closes its brace. (No quoted text of the expected documents holds a brace.)
QStringList blocks(const QString& text, const QRegularExpression& opening)
{
    QStringList result;
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!opening.match(lines[i]).hasMatch())
            continue;
        qsizetype depth = 0;
        qsizetype j = i;
        do
            depth += lines[j].count('{') - lines[j].count('}');
        while (depth > 0 && ++j < lines.size());
        result << lines.mid(i, j - i + 1).join('\n');
    }
    return result;
}

int countLines(const QString& text, const QString& line)
{
    return int(text.split('\n').count(line));
}

} // namespace

class RenderedDocuments : public QmlFixture
{
};

// The renderer's documents refer to components that are not part of this module; their theme
// and skin objects use the module's own types and compile on their own.
TEST_F(RenderedDocuments, ThemesAndSkinsOfEveryExpectedDocumentCompile)
{
    const QDir folder(TestUtil::dataPath("qml"));
    int themes = 0;
    int skins = 0;
    for (const QString& name : folder.entryList({"*.qml"}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        const QString text = QString::fromUtf8(TestUtil::readFile(folder.filePath(name)));

        for (const QString& block : blocks(text, QRegularExpression("^Theme \\{$"))) {
            auto object = create(block);
            auto* theme = qobject_cast<QMLTheme*>(object.get());
            ASSERT_TRUE(theme) << block.toStdString();
            EXPECT_EQ(theme->skinSets().size(), countLines(block, "SkinSet {"));
            int skinCount = 0;
            for (const QMLSkinSet* set : theme->skinSets())
                skinCount += int(set->skins().size());
            EXPECT_EQ(skinCount, countLines(block, "Skin {"));
            ++themes;
        }

        const QRegularExpression currentSkin("^currentSkin: Skin ?\\{$");
        for (QString block : blocks(text, currentSkin)) {
            block.remove(0, int(QString("currentSkin: ").size()));
            auto object = create(block);
            EXPECT_TRUE(qobject_cast<QMLSkin*>(object.get())) << block.toStdString();
            ++skins;
        }
    }
    // The expected documents hold standalone controls, pages and whole projects.
    EXPECT_GE(themes, 10);
    EXPECT_GE(skins, 10);
}

// A standalone control document compiled on the component's native base: every property the
// renderer writes is either one of the native type's or one that its component declares.
TEST_F(RenderedDocuments, ControlDocumentsSetNativePropertiesByName)
{
    const struct
    {
        const char* document;
        const char* component;
        QStringList componentProperties;
    } cases[] = {
        {"control_button_standalone.qml",
         "Button",
         {"fontSize", "wordWrap", "heldTimeout", "repeatInterval", "actuation",
          "fixedImageSource"}},
        {"control_button_plain_standalone.qml",
         "Button",
         {"fontSize", "wordWrap", "heldTimeout", "repeatInterval", "actuation"}},
        {"control_slider_standalone.qml",
         "Slider",
         {"minimum", "maximum", "showCaption", "showValue", "captionFontSize", "valueFontSize",
          "wordWrap", "handleSize", "spacing"}},
        {"control_colourpicker_standalone.qml",
         "ColourPicker",
         {"captionFontSize", "wordWrap", "spacing"}},
        {"control_keypad_standalone.qml",
         "Keypad",
         {"maxWidth", "hideCharacters", "displayTextStyle", "buttonTextStyle"}},
        {"control_label_standalone.qml", "Label", {"fontSize", "wordWrap"}},
        {"control_clock_analogue_standalone.qml", "AnalogueClock", {"captionFontSize", "spacing"}},
    };
    const QRegularExpression missing(
        ":(\\d+):\\d+: Cannot assign to non-existent property \"(\\w+)\"");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        QStringList lines =
            QString::fromUtf8(TestUtil::readFile(TestUtil::dataPath("qml/") + c.document))
                .split('\n');
        // The fixture writes its own import header.
        lines = lines.mid(lines.indexOf("import \"qrc:/qml\"") + 1);
        const qsizetype opening = lines.indexOf(QString(c.component) + " {");
        ASSERT_GE(opening, 0);
        lines[opening] = QString(c.component) + "Private {";

        QStringList dropped;
        std::unique_ptr<QObject> object;
        for (int attempt = 0; attempt < 20 && !object; ++attempt) {
            const QString errors = errorsOf(lines.join('\n'));
            const QRegularExpressionMatch match = missing.match(errors);
            if (!match.hasMatch()) {
                object = create(lines.join('\n'));
                break;
            }
            const qsizetype line = match.captured(1).toInt() - 3; // after the two imports
            ASSERT_TRUE(line >= 0 && line < lines.size()) << errors.toStdString();
            dropped << match.captured(2);
            lines.removeAt(line);
        }
        ASSERT_TRUE(object);
        dropped.sort();
        QStringList expected = c.componentProperties;
        expected.sort();
        EXPECT_EQ(dropped, expected);

        auto* control = qobject_cast<QMLControl*>(object.get());
        ASSERT_TRUE(control);
        EXPECT_TRUE(control->theme() && control->currentSkin());
        EXPECT_EQ(controller()->controlsWithKey(control->controlKey()),
                  std::vector<QMLControl*>{control});
    }
}

TEST_F(RenderedDocuments, ThemeIdNamesTheRenderedThemeObject)
{
    const auto project = QmlFixtures::makeProject();
    QMLStreamer streamer(project.get());
    QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    project->getControl(2).render(&renderer);

    const QString id = QMLTheme::themeId(streamer);
    EXPECT_EQ(id, QString("theTheme%1").arg(project->getSerial()));
    EXPECT_TRUE(streamer.text().contains("\ntheme:" + id + ";\n"));
    const QStringList themeBlocks = blocks(streamer.text(), QRegularExpression("^Theme \\{$"));
    ASSERT_EQ(themeBlocks.size(), 1);
    auto object = create(themeBlocks[0]);
    ASSERT_TRUE(object);
    EXPECT_EQ(qmlContext(object.get())->nameForObject(object.get()), id);
}

TEST(RenderedDocumentsDeathTest, ThemeIdNeedsAConfiguration)
{
    QMLStreamer streamer(nullptr);
    EXPECT_DEATH(QMLTheme::themeId(streamer), "Assert: 'configuration' is FALSE");
}
