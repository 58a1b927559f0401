#include "appengine/layout_library.h"
#include "appengine/selection_manager.h"
#include "common/fill_layout.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "core/gradient_library.h"
#include "main/action_manager.h"
#include "main/application/velmora_application.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFileOpenEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QWizard>
#include <gtest/gtest.h>

namespace {

VelmoraApplication* app()
{
    return VelmoraApplication::instance();
}

class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        const auto theme = TestUtil::sampleTheme();
        // With both splash pictures the theme library takes it.
        QImage portrait(27, 48, QImage::Format_RGB32);
        portrait.fill(Qt::blue);
        theme->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        ThemeFileWriter writer(theme.get(), nullptr);
        ASSERT_TRUE(writer.write(themeFile));
    }

    void TearDown() override
    {
        if (app()->isModified())
            answers.messageBox(QMessageBox::Discard);
        EXPECT_TRUE(app()->closeDocument(true));
        EXPECT_EQ(answers.pending(), 0);
    }

    QString file(const QString& name) const { return folder.filePath(name); }

    // A saved project in the folder.
    QString makeProject(const QString& name)
    {
        SelectionManager selection;
        VelmoraDocument document(selection);
        NewProjectData data;
        data.name = name;
        data.path = file(name + ".qvp");
        data.themeFile = themeFile;
        document.createProject(data);
        document.save(false);
        return data.path;
    }

    // The launch dialog, run as event 1001 does; each queued answer plays one round of it.
    void runLaunchDialog()
    {
        answers.failAfter(20000);
        QEvent request(VelmoraApplication::LaunchRequestEvent);
        QCoreApplication::sendEvent(app(), &request);
    }

    QTemporaryDir folder;
    QString themeFile = folder.filePath("blue.qvt");
    TestUtil::ModalAnswerer answers;
};

// The platform asks to open a file while the launch dialog is up. (Its Exit, Ctrl+Q, ends the
// program: the program under X proves it.)
TEST_F(ApplicationTest, AFileOpenRequestDismissesTheLaunchDialog)
{
    const QString path = makeProject("Requested");
    answers.then(
        [path](QWidget*) { QCoreApplication::postEvent(app(), new QFileOpenEvent(path)); });
    runLaunchDialog();
    EXPECT_EQ(app()->documentPath(), path);
    EXPECT_EQ(app()->launchDialog(), nullptr);
}

// A property the dispatch does not take sends the editor back to the project's values.
TEST_F(ApplicationTest, APropertyNotTakenRereadsTheValues)
{
    ASSERT_TRUE(app()->openDocument(makeProject("Hall")));
    QSignalSpy reread(app(), &VelmoraApplication::propertyValuesChanged);
    app()->setPropertyValue(9, 1);
    EXPECT_EQ(reread.size(), 1);
}

// A new project has its file before its first save: the title and the save question name it
// alike.
TEST_F(ApplicationTest, TheTitleAndTheSaveQuestionNameANewProjectAlike)
{
    ASSERT_TRUE(ThemeLibrary::instance()->addTheme(themeFile, false));
    answers.then([this](QWidget* window) {
        auto* wizard = qobject_cast<QWizard*>(window);
        ASSERT_TRUE(wizard);
        const QList<QLineEdit*> edits = wizard->currentPage()->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        edits[0]->setText("Portrait Test");
        edits[1]->setText(file("Portrait Test.qvp"));
        // Every page as it comes, the first entry of a list where one must be picked.
        do {
            for (auto* view : wizard->currentPage()->findChildren<QAbstractItemView*>()) {
                if (!view->selectionModel()->hasSelection() && view->model()->rowCount() > 0)
                    view->selectionModel()->select(view->model()->index(0, 0),
                                                   QItemSelectionModel::ClearAndSelect);
            }
        } while (wizard->currentPage()->isComplete() && !wizard->currentPage()->isFinalPage() &&
                 (wizard->next(), true));
        wizard->accept();
    });
    ASSERT_TRUE(app()->newDocument());
    EXPECT_EQ(MainWindow::instance()->windowTitle(), "Portrait Test.qvp[*] - Orvane Dravelin");
    answers.messageBox(QMessageBox::Cancel);
    EXPECT_FALSE(app()->closeDocument(false));
    EXPECT_EQ(answers.answered().value(1).text,
              "Portrait Test.qvp has been modified. Do you want to save the changes?");
    TestUtil::forgetThemes({themeFile});
}

TEST_F(ApplicationTest, RegisteredThemesTakeTheFirstFreeKeyAndMissingFilesAreDropped)
{
    QSettings settings;
    settings.remove("Themes");
    settings.setValue("Themes/Theme0", themeFile);
    settings.setValue("Themes/Theme2", file("gone.qvt"));
    VelmoraApplication::registerTheme(themeFile);
    EXPECT_EQ(settings.value("Themes/Theme1").toString(), themeFile);

    VelmoraApplication::loadRegisteredThemes();
    settings.sync();
    settings.beginGroup("Themes");
    EXPECT_EQ(settings.childKeys(), QStringList({"Theme0", "Theme1"}));
    settings.endGroup();
    ASSERT_TRUE(ThemeLibrary::instance()->findTheme(themeFile).isValid());
    TestUtil::forgetThemes({themeFile});

    VelmoraApplication::unregisterTheme(themeFile);
    EXPECT_FALSE(settings.contains("Themes/Theme0"));
    EXPECT_TRUE(settings.contains("Themes/Theme1"));
}

// Holds back the paint of every splash screen, as a window manager that shows the window
// before the program gets to paint it does.
class HeldSplashPaint : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        return e->type() == QEvent::Paint && qobject_cast<QSplashScreen*>(watched);
    }
};

// On an X server without a compositor the splash, at start-up and as the About box, never
// shows as a black box, even before it is painted; and it shows painted from the moment it is
// asked for, its picture inside its outline and the screen beneath in the cut corners. The
// start-up one shows while the program is still busy: nothing may wait for the event loop.
TEST_F(ApplicationTest, TheSplashAndTheAboutBoxShowPaintedX11)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server";
    QScreen* screen = QGuiApplication::primaryScreen();
    const QColor green(0, 200, 0);
    QWidget backdrop(nullptr, Qt::FramelessWindowHint);
    backdrop.setPalette(green);
    backdrop.setAutoFillBackground(true);
    backdrop.setGeometry(screen->geometry());
    backdrop.show();
    ASSERT_TRUE(TestUtil::waitFor(
        [&] { return screen->grabWindow(0, 0, 0, 1, 1).toImage().pixel(0, 0) == green.rgb(); }));

    const std::pair<const char*, std::function<void()>> shows[] = {
        {"start-up", [] { app()->showSplashScreen(2000, nullptr); }},
        {"About", [] { app()->actions()->action(ActionManager::ActionId_ABOUT)->trigger(); }},
    };
    for (const bool held : {true, false}) {
        HeldSplashPaint holder;
        if (held)
            app()->installEventFilter(&holder);
        for (const auto& [name, show] : shows) {
            const std::string what = std::string(name) + (held ? ", paint held back" : "");
            show();
            QSplashScreen* splash = app()->splashScreen();
            ASSERT_TRUE(splash) << what;
            const QRect area = splash->geometry();
            const QImage shown = screen->grabWindow(0).toImage().copy(area);
            const QImage whole = splash->grab().toImage();
            const QRegion outline = splash->mask();
            EXPECT_FALSE(outline.contains(QPoint(0, 0))) << what;
            int black = 0, wrong = 0;
            for (int y = 0; y < area.height(); ++y) {
                for (int x = 0; x < area.width(); ++x) {
                    const QRgb pixel = shown.pixel(x, y);
                    const bool inside = outline.contains(QPoint(x, y));
                    black += inside && qGray(pixel) == 0;
                    const QRgb expected = inside ? whole.pixel(x, y) : green.rgb();
                    wrong += (!held || !inside) && TestUtil::channelDistance(pixel, expected) > 2;
                }
            }
            EXPECT_EQ(black, 0) << what;
            EXPECT_EQ(wrong, 0) << what << ": neither the picture nor the screen beneath";
            app()->hideSplashScreen();
            ASSERT_TRUE(TestUtil::waitFor([] { return !app()->splashScreen(); })) << what;
        }
        app()->removeEventFilter(&holder);
    }
}

} // namespace

// The program's own application object, not the plain one of the shared test main.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    const TestUtil::IsolatedSettings settings;
    const TestUtil::IsolatedAppData appData;
    const QTemporaryDir libraries;
    VelmoraQML::useSoftwareSceneGraph();
    VelmoraApplication::create(argc, argv);
    if (!TestUtil::startFillLayoutLibrary(libraries.filePath("layout")))
        return 1;
    GradientLibrary::initialise(libraries.filePath("gradient"), libraries.filePath("gradients"));
    ThemeLibrary::instance()->setFileExtension("qvt");
    app()->createMainWindow();
    const int result = RUN_ALL_TESTS();
    MainWindow::destroyInstance();
    LayoutLibrary::destroyInstance();
    VelmoraApplication::destroy();
    return result;
}
