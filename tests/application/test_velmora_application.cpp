#include "appengine/layout_library.h"
#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "common/fill_layout.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "core/gradient_library.h"
#include "core/stored_settings.h"
#include "main/action_manager.h"
#include "main/application/velmora_application.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"

#include <QAction>
#include <QFileOpenEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QUndoCommand>
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

    // The launch dialog, run as the launch request event does; each queued answer plays one
    // round of it.
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

// Whatever a file says of its pages, opening it never stops the editor: one page and no default
// page (-1) opens with that page as the default, selected and shown; a project without a page
// is refused with "Load failed" and leaves no project open.
TEST_F(ApplicationTest, AProjectWithoutADefaultPageOpensOnItsFirstAndOneWithoutPagesIsRefused)
{
    const struct
    {
        const char* file;
        const char* refusal;
    } cases[] = {{"ir_slot_mismatch.qvp", nullptr}, {"no_pages.qvp", "The project has no page"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = TestUtil::dataPath(QString("bad/project/") + c.file);
        if (c.refusal)
            answers.messageBox(QMessageBox::Ok);
        EXPECT_EQ(app()->openDocument(path), !c.refusal);
        ASSERT_EQ(answers.pending(), 0);
        if (c.refusal) {
            EXPECT_EQ(app()->state(), VelmoraApplication::NoProject);
            EXPECT_EQ(answers.answered().last().text,
                      "Orvane Dravelin encountered an error while loading\n" + path + "\n'" +
                          c.refusal + "'");
            continue;
        }
        const unsigned int first = app()->document().getPages().begin()->getId();
        EXPECT_EQ(app()->document().getDefaultPageId(), first);
        EXPECT_EQ(app()->selection()->selectedIdVector(), std::vector<unsigned int>{first});
        EXPECT_EQ(app()->selection()->currentPage(), first);
        EXPECT_EQ(app()->previewScene()->currentPageId(), first);
    }
}

// The title and the save question name the project alike.
TEST_F(ApplicationTest, TheTitleAndTheSaveQuestionNameTheProjectAlike)
{
    ASSERT_TRUE(app()->openDocument(makeProject("Hall")));
    app()->document().undoStack().push(new QUndoCommand("Edit"));
    EXPECT_EQ(MainWindow::instance()->windowTitle(), "Hall.qvp[*] - Orvane Dravelin");
    answers.messageBox(QMessageBox::Cancel);
    EXPECT_FALSE(app()->closeDocument(false));
    EXPECT_EQ(answers.answered().value(0).text,
              "Hall.qvp has been modified. Do you want to save the changes?");
}

TEST_F(ApplicationTest, RegisteredThemesTakeTheFirstFreeKeyAndMissingFilesAreDropped)
{
    {
        StoredSettings settings;
        settings.remove("Themes");
        settings.setValue("Themes/Theme0", themeFile);
        settings.setValue("Themes/Theme2", file("gone.qvt"));
    }
    VelmoraApplication::registerTheme(themeFile);
    EXPECT_EQ(StoredSettings().value("Themes/Theme1").toString(), themeFile);

    VelmoraApplication::loadRegisteredThemes();
    {
        StoredSettings settings;
        settings.beginGroup("Themes");
        EXPECT_EQ(settings.childKeys(), QStringList({"Theme0", "Theme1"}));
    }
    ASSERT_TRUE(ThemeLibrary::instance()->findTheme(themeFile).isValid());
    TestUtil::forgetThemes({themeFile});

    VelmoraApplication::unregisterTheme(themeFile);
    EXPECT_FALSE(StoredSettings().contains("Themes/Theme0"));
    EXPECT_TRUE(StoredSettings().contains("Themes/Theme1"));
}

// Holds back the paint of splash screens, as a window manager that maps them early does.
struct HeldSplashPaint : QObject
{
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        return e->type() == QEvent::Paint && qobject_cast<QSplashScreen*>(watched);
    }
};

// Unpainted on an X server without a compositor, the splash and the About box are no black
// box: the screen shows in their cut corners, and nothing black within.
TEST_F(ApplicationTest, TheSplashAndTheAboutBoxAreNeverBlackX11)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server";
    QScreen* screen = QGuiApplication::primaryScreen();
    QWidget backdrop(nullptr, Qt::FramelessWindowHint);
    backdrop.setStyleSheet("background: #00c800");
    backdrop.setGeometry(screen->geometry());
    backdrop.show();
    const QRgb green = qRgb(0, 200, 0);
    ASSERT_TRUE(
        TestUtil::waitFor([&] { return screen->grabWindow(0).toImage().pixel(0, 0) == green; }));
    HeldSplashPaint holder;
    app()->installEventFilter(&holder);
    for (QAction* about : {static_cast<QAction*>(nullptr),
                           app()->actions()->action(ActionManager::ActionId_ABOUT)}) {
        about ? about->trigger() : app()->showSplashScreen(2000, nullptr);
        ASSERT_TRUE(app()->splashScreen());
        const QImage shown =
            screen->grabWindow(0).toImage().copy(app()->splashScreen()->geometry());
        const QRegion outline = app()->splashScreen()->mask();
        int wrong = outline.contains(QPoint(0, 0));
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                wrong += outline.contains(QPoint(x, y)) ? qGray(shown.pixel(x, y)) == 0
                                                        : shown.pixel(x, y) != green;
        EXPECT_EQ(wrong, 0) << about;
        app()->hideSplashScreen();
        ASSERT_TRUE(TestUtil::waitFor([] { return !app()->splashScreen(); }));
    }
    app()->removeEventFilter(&holder);
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
