#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/theme.h"

#include "mixed_controls.h"
#include "offscreen_preview.h"
#include "ratio_reporter.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

// Compiling and creating the preview of one page of 64 controls of every kind from its QML
// text, beside compiling and creating 64 plain QtQuick rectangles from text: the cost of the
// embedded components over the engine's own items.

using namespace Velmora;

namespace {

constexpr int ControlCount = 64;

QRect cell(int index)
{
    return QRect((index % 8) * 60, (index / 8) * 34, 58, 32);
}

// The page's text as the preview writes it: every control with its skin of the defaults. The
// theme object that the controls name goes at the top of the page.
QString pageText()
{
    Configuration project;
    project.clear();
    project.setTheme(new Theme(QString()));
    const unsigned int pageId = project.addPage();
    Page& page = project.getPage(pageId);
    page.setName("Bench");
    for (int i = 0; i < ControlCount; ++i) {
        Control* control = newMixedControl(i);
        control->setPageId(pageId);
        control->setGeometry(cell(i));
        control->setCaption(QString("Control %1").arg(i));
        smart_ptr<Control> owned(control);
        page.getControlIds().insert(project.insertControl(owned, UINT_MAX));
    }
    VelmoraQML::QMLStreamer streamer(&project);
    VelmoraQML::QMLRenderer renderer(&streamer);
    page.render(&renderer);
    QString text = streamer.text();
    text.replace(QRegularExpression("^Page \\{\n", QRegularExpression::MultilineOption),
                 "Page {\nTheme {\nid:" + VelmoraQML::QMLTheme::themeId(streamer) +
                     ";\nskinSets: [\n]\n}\n");
    return text;
}

QString rectanglesText()
{
    QString text = "import QtQuick 2.0\nItem {\n";
    for (int i = 0; i < ControlCount; ++i) {
        const QRect r = cell(i);
        text += QString("Rectangle {\nx:%1;\ny:%2;\nwidth:%3;\nheight:%4;\ncolor:\"#4682b4\";\n}\n")
                    .arg(r.x())
                    .arg(r.y())
                    .arg(r.width())
                    .arg(r.height());
    }
    return text + "}\n";
}

// The engine of the preview, with the module set up on it (made by main).
QQmlEngine* engine = nullptr;

void compileAndCreate(benchmark::State& state, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    for (auto _ : state) {
        QQmlComponent component(engine);
        component.setData(bytes, QUrl());
        std::unique_ptr<QObject> object(component.create());
        if (!object) {
            state.SkipWithError(component.errorString().toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(object.get());
    }
    state.SetItemsProcessed(state.iterations() * ControlCount);
}

void pageOfControls(benchmark::State& state)
{
    static const QString text = pageText();
    compileAndCreate(state, text);
}
BENCHMARK(pageOfControls)->Unit(benchmark::kMillisecond);

// The baseline.
void plainRectangles(benchmark::State& state)
{
    static const QString text = rectanglesText();
    compileAndCreate(state, text);
}
BENCHMARK(plainRectangles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    OffscreenApplication app(argc, argv);
    PreviewEngine preview;
    engine = &preview.engine;
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    const std::string count = std::to_string(ControlCount);
    reporter.printRatio("page of " + count + " controls / " + count + " plain rectangles",
                        "pageOfControls", "plainRectangles");
    benchmark::Shutdown();
    return 0;
}
