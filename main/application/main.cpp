// The editor's entry point: brings the editor up (EditorProgram), posts the launched event with
// the project named on the command line, runs the event loop and takes everything down again.

#include "core/command_line_arguments.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "widgets/main_window.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// Test and benchmark aid: with VELMORA_QUIT_WHEN_SHOWN set, the program prints how long it took
// from its start until the main window was first painted with a project, and quits.
class ShownReporter : public QObject
{
public:
    ShownReporter(const QElapsedTimer& clock, QWidget* window) : clock(clock)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !reported &&
            VelmoraApplication::instance()->state() == VelmoraApplication::ProjectOpen) {
            reported = true;
            std::printf("shown %lld\n", static_cast<long long>(clock.nsecsElapsed() / 1000));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock;
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
