// The editor's entry point: brings the editor up (EditorProgram), posts the launched event with
// the project named on the command line, runs the event loop and takes everything down again.

#include "appengine/page_preview_scene.h"
#include "core/command_line_arguments.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "widgets/main_window.h"

#include <QElapsedTimer>
#include <QQuickWidget>
#include <QQuickWindow>
#include <climits>
#include <cstdio>
#include <memory>

namespace {

// Test and benchmark aid: with VELMORA_QUIT_WHEN_SHOWN set, the program prints how long it took
// from its start until the main window showed the first page of a project, and quits: once the
// live surface has drawn a frame with the page built whole and the window has been painted and
// flushed to the screen after it.
class ShownReporter : public QObject
{
public:
    ShownReporter(const QElapsedTimer& clock, MainWindow* window) : clock(clock)
    {
        window->installEventFilter(this);
        PagePreviewScene* scene = VelmoraApplication::instance()->previewScene();
        connect(scene->surface()->quickWindow(), &QQuickWindow::afterRendering, this,
                [this, scene] {
                    const unsigned int pageId = scene->currentPageId();
                    if (pageId != UINT_MAX && scene->isPageBuilt(pageId))
                        pageDrawn = true;
                });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest || !pageDrawn || reported)
            return QObject::eventFilter(watched, event);
        // The window paints itself now, and the time is taken when it is done.
        reported = true;
        watched->event(event);
        std::printf("shown %lld\n", static_cast<long long>(clock.nsecsElapsed() / 1000));
        std::fflush(stdout);
        QCoreApplication::quit();
        return true;
    }

private:
    const QElapsedTimer& clock;
    bool pageDrawn = false;
    bool reported = false;
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    EditorProgram program(argc, argv);
    std::unique_ptr<ShownReporter> reporter;
    if (qEnvironmentVariableIsSet("VELMORA_QUIT_WHEN_SHOWN"))
        reporter = std::make_unique<ShownReporter>(clock, program.mainWindow());

    const CommandLineArguments arguments(argc, argv);
    program.launch(arguments.count() == 0 ? QString() : arguments.argument(0));
    const int code = QApplication::exec();
    reporter.reset();
    return code;
}
