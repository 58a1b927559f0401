#include "main/application/editor_program.h"

#include "appengine/layout_library.h"
#include "core/gradient_library.h"
#include "core/settings_store_guard.h"
#include "gui/checkered_brush.h"
#include "main/application/velmora_application.h"
#include "main/application_launched_event.h"
#include "main/vendor_variants.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"

#include <QDir>
#include <QFontDatabase>

namespace {

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

EditorProgram::EditorProgram(int& argc, char** argv)
{
    // Before any settings object: a store that is not used is said at once, in the words of a
    // start.
    SettingsStoreGuard::look(VendorVariants::instance().settingsOrganisation,
                             VendorVariants::instance().settingsApplication, true);
    VelmoraQML::useSoftwareSceneGraph();

    app = VelmoraApplication::create(argc, argv);
    app->showSplashScreen(2000, nullptr);
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath() + QDir::separator() +
                                     QStringLiteral("plugins"));
    useBundledFont();

    LayoutLibrary::init(resourcesPath() + QStringLiteral("/layout"),
                        LayoutLibrary::defaultUserDirectory());
    // Gradient icons show transparency over the widget kit's checkerboard.
    setSwatchBackgroundPainter(&CheckeredBrush::fillSwatch);
    GradientLibrary::initialise(resourcesPath() + QStringLiteral("/gradient"),
                                GradientLibrary::defaultUserDirectory());

    ThemeLibrary* themes = ThemeLibrary::instance();
    themes->setFileExtension(VendorVariants::instance().themeExtension);
    // The built-in themes are read when the library is first asked for them.
    themes->scanFolderLater(resourcesPath() + QStringLiteral("/theme"), true, true);
    VelmoraApplication::loadRegisteredThemes();

    window = app->createMainWindow();
}

EditorProgram::~EditorProgram()
{
    MainWindow::destroyInstance();
    LayoutLibrary::destroyInstance();
    VelmoraApplication::destroy();
}

void EditorProgram::launch(const QString& path)
{
    QCoreApplication::postEvent(app, new ApplicationLaunchedEvent(path));
}
