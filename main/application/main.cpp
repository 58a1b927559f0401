// The editor's entry point: brings the application object and the libraries up in a fixed
// order, posts the launched event with the project named on the command line, runs the event
// loop and takes everything down again in the reverse of what depends on what.

#include "appengine/layout_library.h"
#include "core/command_line_arguments.h"
#include "core/gradient_library.h"
#include "gui/checkered_brush.h"
#include "main/application/velmora_application.h"
#include "main/application_launched_event.h"
#include "main/vendor_variants.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

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

void useBundledFont()
{
    const int font =
        QFontDatabase::addApplicationFont(resourcesPath() + QStringLiteral("/font/DejaVuSans.ttf"));
    if (font == -1)
        return;
    // The QML preview inherits the application font; the widgets keep the platform's.
    const QFont platform = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    QApplication::setFont(platform, "QWidget");
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    VelmoraQML::useSoftwareSceneGraph();

    VelmoraApplication* app = VelmoraApplication::create(argc, argv);
    app->showSplashScreen(2000, nullptr);
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath() + QDir::separator() +
                                     QStringLiteral("plugins"));
    useBundledFont();

    const VendorVariants& vendor = VendorVariants::instance();
    const QString userFolder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
        QStringLiteral("/%1/%2").arg(vendor.organisationName, vendor.applicationName);
    LayoutLibrary::init(resourcesPath() + QStringLiteral("/layout"),
                        userFolder + QStringLiteral("/Layouts"));
    // Gradient icons show transparency over the widget kit's checkerboard.
    setSwatchBackgroundPainter(&CheckeredBrush::fillSwatch);
    GradientLibrary::initialise(resourcesPath() + QStringLiteral("/gradient"),
                                userFolder + QStringLiteral("/Gradients"));

    ThemeLibrary* themes = ThemeLibrary::instance();
    themes->setFileExtension(vendor.themeExtension);
    themes->scanFolder(
        QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources/theme"), true, true);
    VelmoraApplication::loadRegisteredThemes();

    MainWindow* window = app->createMainWindow();
    std::unique_ptr<ShownReporter> reporter;
    if (qEnvironmentVariableIsSet("VELMORA_QUIT_WHEN_SHOWN"))
        reporter = std::make_unique<ShownReporter>(clock, window);

    const CommandLineArguments arguments(argc, argv);
    QCoreApplication::postEvent(
        app,
        new ApplicationLaunchedEvent(arguments.count() == 0 ? QString() : arguments.argument(0)));
    const int code = QApplication::exec();

    reporter.reset();
    MainWindow::destroyInstance();
    LayoutLibrary::destroyInstance();
    VelmoraApplication::destroy();
    return code;
}
