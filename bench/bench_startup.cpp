// Start-up of the editor, measured from outside as whole processes: from starting the editor on
// the realistic project (realistic_project.h) until its main window shows the first page drawn
// (the live surface has drawn a frame of the page with all its controls and the page view has
// painted it), against a bare Qt program that starts, shows one QQuickWidget holding one
// Rectangle until that is drawn, and quits. Both say when on their standard output; the two
// are started in turn, seven times each, so that the load of the machine falls on both alike.
// They run on the platform the environment names (xcb under xvfb-run), offscreen without one.

#include "ratio_reporter.h"
#include "realistic_project.h"
#include "velmora_objects/qml/qml_engine.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Starts = 7;

// Says "shown" once the widget has been painted and flushed to the screen after a frame its
// scene drew, as the editor does, and quits.
class FirstFrame : public QObject
{
public:
    explicit FirstFrame(QQuickWidget* view)
    {
        view->installEventFilter(this);
        connect(view->quickWindow(), &QQuickWindow::afterRendering, this, [this] { drawn = true; });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest || !drawn || reported)
            return QObject::eventFilter(watched, event);
        // The window paints itself now, and the time is taken when it is done.
        reported = true;
        watched->event(event);
        std::printf("shown\n");
        std::fflush(stdout);
        QCoreApplication::quit();
        return true;
    }

private:
    bool drawn = false;
    bool reported = false;
};

// The bare program: the least a QtQuick window costs to show.
int runBareProgram(int argc, char** argv)
{
    VelmoraQML::useSoftwareSceneGraph();
    QApplication app(argc, argv);
    QQuickWidget view;
    view.setResizeMode(QQuickWidget::SizeRootObjectToView);
    view.resize(480, 272);
    FirstFrame reporter(&view);
    view.setSource(QUrl("data:text/plain,import QtQuick 2.0%0ARectangle { color: \"green\" }"));
    view.show();
    return app.exec();
}

// Starts the program and waits for its "shown" line; the time until then in ms, or a negative
// value when it never showed.
double timeUntilShown(const QProcessEnvironment& environment, const QString& program,
                      const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    bool shown = false;
    while (!shown && process.waitForReadyRead(60000))
        shown = process.readAll().contains("shown");
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    process.waitForFinished(60000);
    return shown ? ms : -1;
}

// The times of each side, in the order they were taken.
std::map<std::string, std::vector<double>> starts;

// Each repetition reports one start taken before.
void reportStart(benchmark::State& state, const std::string& side)
{
    static std::map<std::string, std::size_t> next;
    for (auto _ : state) {
        const std::vector<double>& times = starts[side];
        std::size_t& i = next[side];
        if (i >= times.size() || times[i] < 0) {
            state.SkipWithError("the program never showed its window");
            break;
        }
        state.SetIterationTime(times[i++] / 1000);
    }
}
void bareQuickWidget(benchmark::State& state)
{
    reportStart(state, "bare");
}
void editorOnRealisticProject(benchmark::State& state)
{
    reportStart(state, "editor");
}

void sevenStarts(benchmark::internal::Benchmark* benchmark)
{
    BenchRatio::perEvent(benchmark, 1, Starts);
}

BENCHMARK(bareQuickWidget)->Apply(sevenStarts);
BENCHMARK(editorOnRealisticProject)->Apply(sevenStarts);

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return runBareProgram(argc, argv);
    const bool display = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!display)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VELMORA_QUIT_WHEN_SHOWN", "1");
    environment.insert("HOME", temporary.path());
    environment.insert("XDG_CONFIG_HOME", temporary.filePath("config"));
    environment.insert("XDG_DATA_HOME", temporary.filePath("data"));
    environment.insert("XDG_CACHE_HOME", temporary.filePath("cache"));
    const QString projectPath = temporary.filePath("realistic.qvp");
    // "--write-project=<path>" only writes the project, for profiling the editor by hand.
    const QString writeOnly = QStringLiteral("--write-project=");
    if (argc > 1 && QString(argv[1]).startsWith(writeOnly)) {
        RealisticProject::write(QString(argv[1]).mid(writeOnly.size()));
        return 0;
    }
    RealisticProject::write(projectPath);

    const QString editor = QCoreApplication::applicationDirPath() + "/../bin/velmora";
    for (int i = 0; i < Starts; ++i) {
        starts["bare"].push_back(
            timeUntilShown(environment, QCoreApplication::applicationFilePath(), {"--bare"}));
        starts["editor"].push_back(timeUntilShown(environment, editor, {projectPath}));
    }

    std::printf("Project: %s; platform %s\n", RealisticProject::description().c_str(),
                qgetenv("QT_QPA_PLATFORM").constData());
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    // The target is set on the medians of the starts.
    const std::string editorRuns = "editorOnRealisticProject";
    const std::string bareRuns = "bareQuickWidget";
    if (reporter.has(editorRuns) && reporter.has(bareRuns)) {
        BenchRatio::RatioReporter::printRatios(
            "editor, first page drawn / bare QQuickWidget drawn",
            reporter.minimum(editorRuns) / reporter.minimum(bareRuns),
            reporter.median(editorRuns) / reporter.median(bareRuns));
        const double medians = reporter.median(editorRuns) / reporter.median(bareRuns);
        std::printf("medians of %d starts: %.2f, target <= 3.0: %s\n", Starts, medians,
                    medians <= 3.0 ? "met" : "NOT MET");
    }
    benchmark::Shutdown();
    return 0;
}
