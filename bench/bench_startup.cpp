// Start-up of the editor: from starting the process until its main window is first painted
// with a 50-page project open, against a bare Qt program that starts, shows one QQuickWidget
// holding one Rectangle and quits. Both run headless (offscreen) as separate processes and
// report the moment they are shown on their standard output.

#include "appengine/selection_manager.h"
#include "main/velmora_document.h"
#include "ratio_reporter.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/qml/qml_engine.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QQuickWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>

namespace {

QTemporaryDir* folder = nullptr;
QString projectPath;

// Says "shown" at the window's first paint, as the editor does, and quits.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !reported) {
            reported = true;
            std::printf("shown\n");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
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
    FirstPaint reporter(&view);
    view.setSource(QUrl("data:text/plain,import QtQuick 2.0%0ARectangle { color: \"green\" }"));
    view.show();
    return app.exec();
}

void writeProject(const QString& path, int pages)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    NewProjectData data;
    data.name = "Fifty";
    data.path = path;
    unsigned int page = document.createProject(data);
    for (int i = 0; i < pages; ++i) {
        if (i > 0) {
            NewPageData next;
            page = document.addPage(next);
        }
        smart_ptr<Velmora::Control> button(
            ControlFactory::get(Velmora::ControlType_BUTTON)->create({}));
        button->setPageId(page);
        button->setGeometry(QRect(20, 20, 120, 60));
        document.getPage(page).getControlIds().insert(document.insertControl(button, UINT_MAX));
    }
    document.save(false);
}

// Starts the program and waits for its "shown" line; the time until then is the iteration's.
void timeUntilShown(benchmark::State& state, const QString& program, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("VELMORA_QUIT_WHEN_SHOWN", "1");
    environment.insert("HOME", folder->path());
    environment.insert("XDG_CONFIG_HOME", folder->filePath("config"));
    environment.insert("XDG_DATA_HOME", folder->filePath("data"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        bool shown = false;
        while (!shown && process.waitForReadyRead(60000))
            shown = process.readAll().contains("shown");
        state.PauseTiming();
        if (!shown)
            state.SkipWithError("the program never showed its window");
        process.waitForFinished(60000);
        state.ResumeTiming();
    }
}

void bareQuickWidget(benchmark::State& state)
{
    timeUntilShown(state, QCoreApplication::applicationFilePath(), {"--bare"});
}

void editorWithFiftyPages(benchmark::State& state)
{
    timeUntilShown(state, QCoreApplication::applicationDirPath() + "/../bin/velmora",
                   {projectPath});
}

// Each repetition is one start of the program.
void sevenStarts(benchmark::internal::Benchmark* benchmark)
{
    BenchRatio::repeated(benchmark, 7)->Iterations(1);
}

BENCHMARK(bareQuickWidget)->Apply(sevenStarts);
BENCHMARK(editorWithFiftyPages)->Apply(sevenStarts);

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return runBareProgram(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    folder = &temporary;
    projectPath = temporary.filePath("fifty.qvp");
    // "--write-project=<path>" only writes the project, for profiling the editor by hand.
    const QString writeOnly = QStringLiteral("--write-project=");
    if (argc > 1 && QString(argv[1]).startsWith(writeOnly)) {
        writeProject(QString(argv[1]).mid(writeOnly.size()), 50);
        return 0;
    }
    writeProject(projectPath, 50);

    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    reporter.printRatio("editor shown with 50 pages / bare QQuickWidget shown",
                        "editorWithFiftyPages", "bareQuickWidget", 3.0);
    benchmark::Shutdown();
    return 0;
}
