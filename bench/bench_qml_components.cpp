#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/qml/qml_component_cache.h"
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
#include <vector>

// Compiling and creating one page of 64 controls of every kind from its QML text, beside
// compiling and creating 64 plain QtQuick rectangles from text: the cost of the embedded
// components over the engine's own items. Then what the preview does: the 64 controls created
// one by one from components compiled before (the text each control shares with its kind, and
// its own values), beside 64 rectangles created from one compiled component.

using namespace Velmora;

namespace {

constexpr int ControlCount = 64;

QRect cell(int index)
{
    return QRect((index % 8) * 60, (index / 8) * 34, 58, 32);
}

// The project of the benchmark: one page of the controls.
std::unique_ptr<Configuration> makeProject()
{
    auto project = std::make_unique<Configuration>();
    project->clear();
    project->setTheme(new Theme(QString()));
    const unsigned int pageId = project->addPage();
    Page& page = project->getPage(pageId);
    page.setName("Bench");
    for (int i = 0; i < ControlCount; ++i) {
        Control* control = newMixedControl(i);
        control->setPageId(pageId);
        control->setGeometry(cell(i));
        control->setCaption(QString("Control %1").arg(i));
        smart_ptr<Control> owned(control);
        page.getControlIds().insert(project->insertControl(owned, UINT_MAX));
    }
    return project;
}

// The page's text with its controls, every control with its skin of the defaults. The theme
// object that the controls name goes at the top of the page.
QString pageText()
{
    const auto project = makeProject();
    VelmoraQML::QMLStreamer streamer(project.get());
    VelmoraQML::QMLRenderer renderer(&streamer);
    project->getPage(0).render(&renderer);
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

// As the preview makes a page's controls: each written as the text of its kind and its own
// values, and created from the component compiled for that text.
void controlsFromCompiledComponents(benchmark::State& state)
{
    const auto project = makeProject();
    const auto& ids = project->getPage(0).getControlIds();
    for (auto _ : state) {
        std::vector<std::unique_ptr<QObject>> objects;
        for (unsigned int id : ids) {
            VelmoraQML::QMLStreamer streamer(project.get());
            streamer.editable = true;
            VelmoraQML::QMLRenderer renderer(&streamer);
            renderer.standalone = true;
            VelmoraQML::QMLPropertyValues values;
            renderer.ownValues = &values;
            project->getControl(id).render(&renderer);
            objects.emplace_back(VelmoraQML::createCachedObject(*engine, streamer.text(), values));
        }
        benchmark::DoNotOptimize(objects.data());
        state.PauseTiming();
        objects.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ControlCount);
}
BENCHMARK(controlsFromCompiledComponents)->Unit(benchmark::kMillisecond);

// The baseline: 64 rectangles created from one compiled component, each with its geometry.
void rectanglesFromCompiledComponent(benchmark::State& state)
{
    const QString text = "import QtQuick 2.0\nRectangle {\ncolor:\"#4682b4\";\n}\n";
    for (auto _ : state) {
        std::vector<std::unique_ptr<QObject>> objects;
        for (int i = 0; i < ControlCount; ++i) {
            const QRect r = cell(i);
            objects.emplace_back(VelmoraQML::createCachedObject(
                *engine, text,
                {{"x", r.x()}, {"y", r.y()}, {"width", r.width()}, {"height", r.height()}}));
        }
        benchmark::DoNotOptimize(objects.data());
        state.PauseTiming();
        objects.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ControlCount);
}
BENCHMARK(rectanglesFromCompiledComponent)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    OffscreenApplication app(argc, argv);
    PreviewEngine preview;
    engine = &preview.engine;
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter, {"--benchmark_repetitions=5"});
    const std::string count = std::to_string(ControlCount);
    reporter.printRatio("page of " + count + " controls / " + count + " plain rectangles",
                        "pageOfControls", "plainRectangles");
    reporter.printRatio(count + " controls / " + count + " rectangles, compiled before",
                        "controlsFromCompiledComponents", "rectanglesFromCompiledComponent");
    benchmark::Shutdown();
    return 0;
}
