#include "appengine/layout_library.h"
#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "common/fill_layout.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/isolated_settings.h"
#include "common/memory_growth_limit.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "core/gradient_library.h"
#include "core/recent_files.h"
#include "core/stored_settings.h"
#include "main/action_manager.h"
#include "main/application/velmora_application.h"
#include "main/control_clipboard.h"
#include "main/image_slot_page_properties.h"
#include "main/project_access.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"
#include "widgets/theme_editor/theme_editor.h"
#include "widgets/theme_editor/theme_editor_dialog.h"
#include "widgets/theme_editor/theme_library_browser.h"

#include <QAction>
#include <QClipboard>
#include <QDataStream>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QSplashScreen>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

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
        ASSERT_TRUE(writeTheme(themeFile));
    }

    // The sample theme with both splash pictures (so that the theme library takes it) and the
    // picture as a page background when one is given.
    static bool writeTheme(const QString& path, const QByteArray& picture = QByteArray())
    {
        const auto theme = TestUtil::sampleTheme();
        QImage portrait(27, 48, QImage::Format_RGB32);
        portrait.fill(Qt::blue);
        theme->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        if (!picture.isEmpty())
            theme->addPageBackgroundImageData(picture, 0);
        ThemeFileWriter writer(theme.get(), nullptr);
        return writer.write(path);
    }

    void TearDown() override
    {
        if (app()->isModified())
            answers.messageBox(QMessageBox::Discard);
        EXPECT_TRUE(app()->closeDocument(true));
        EXPECT_EQ(answers.pending(), 0);
    }

    QString file(const QString& name) const { return folder.filePath(name); }

    // A saved project in the folder, with the picture in its theme when one is given.
    QString makeProject(const QString& name, const QByteArray& picture = QByteArray())
    {
        SelectionManager selection;
        VelmoraDocument document(selection);
        NewProjectData data;
        data.name = name;
        data.path = file(name + ".qvp");
        data.themeFile = themeFile;
        document.createProject(data);
        if (!picture.isEmpty())
            document.getTheme()->addPageBackgroundImageData(picture, 0);
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

// The file question of the image properties and the theme editor, answered with one file.
struct ChosenFile : ProjectAccess
{
    explicit ChosenFile(QString path) : path(std::move(path)) {}
    VelmoraDocument* document() const override { return &app()->document(); }
    QStringList getImageFiles(const QString&, bool, QWidget*) override { return {path}; }
    QString path;
};

// Gives the memory back as soon as a message box shows: the route has met the shortage and is
// telling the user. (Painting starts threads, whose stacks a limit this tight would refuse.)
struct MemoryBackAtMessage : QObject
{
    explicit MemoryBackAtMessage(std::optional<TestUtil::DataGrowthLimit>& limit) : limit(limit)
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched))
            limit.reset();
        return false;
    }
    std::optional<TestUtil::DataGrowthLimit>& limit;
};

// Every read of a file or a payload that the user starts, made when this process has not the
// memory for it (in a child process whose data may grow by less than the read takes): it fails
// with its reason, told as that route tells any failure, and leaves the editor as that failure
// does; once memory is back, the editor opens a project as ever.
TEST_F(ApplicationTest, AReadThereIsNotTheMemoryForFailsWithItsReason)
{
    // A picture of one pixel in many bytes, within a theme image's bounds.
    const auto picture = [](int bytes) {
        return TestUtil::pngBytes(1, 1, Qt::red) + QByteArray(bytes, '\0');
    };
    const auto told = [this] {
        const auto box = answers.answered().value(answers.answered().size() - 1);
        return box.title + ": " + box.text;
    };
    const auto lastRow = [](const QStandardItemModel* rows) {
        return rows->index(rows->rowCount() - 1, 0).data().toString();
    };
    std::unique_ptr<ThemeEditorDialog> dialog;
    // The theme editor on its library page, the theme file selected.
    const auto library = [&](const QString& path) {
        dialog = std::make_unique<ThemeEditorDialog>(MainWindow::instance());
        dialog->findChild<QAbstractButton*>("themeLibraryButton")->click();
        ThemeLibrary::instance()->addTheme(path, false);
        dialog->findChild<ThemeLibraryBrowser*>()->listView->selectionModel()->select(
            ThemeLibrary::instance()->findTheme(path), QItemSelectionModel::ClearAndSelect);
    };
    const auto button = [&](const char* name) {
        dialog->findChild<QAbstractButton*>(name)->click();
    };
    const QString big = file("big.qvt");
    const QString bigBundle = "Load Theme: Failed to load theme file big.qvt.\nThere is not enough "
                              "memory to read the theme.";
    const struct
    {
        const char* route;
        rlim_t growth;
        std::function<void()> prepare;
        std::function<QString()> read; // what the user is told
        std::function<bool()> asBefore;
        QString told;
    } routes[] = {
        {"open", 12 << 20, [&] { makeProject("Large", picture(8 << 20)); },
         [&] {
             app()->openDocument(file("Large.qvp"));
             return told();
         },
         [&] {
             const std::list<QString> recent = app()->recentFiles()->files();
             return app()->state() == VelmoraApplication::NoProject &&
                    app()->document().getPages().empty() &&
                    app()->selection()->kind() == SelectionManager::SelectionKind_NONE &&
                    app()->selection()->currentPage() == UINT_MAX &&
                    std::count(recent.begin(), recent.end(), file("Large.qvp")) == 0;
         },
         "Load failed: Orvane Dravelin encountered an error while loading\n<folder>/Large.qvp\n"
         "'There is not enough memory to open the project'"},
        {"paste", 8 << 20,
         [&] {
             QByteArray payload;
             QDataStream(&payload, QIODevice::WriteOnly)
                 << qint32(1) << qint32(1) << QByteArray(16 << 20, 'c') << QRect(0, 0, 9, 9);
             auto* data = new QMimeData;
             data->setData(ControlClipboard::MimeType, payload);
             QGuiApplication::clipboard()->setMimeData(data);
         },
         [&] {
             app()->pasteControls();
             return told();
         },
         [&] { return app()->document().getControls().empty(); },
         "Paste Controls: There is not enough memory to paste the controls on the clipboard."},
        {"background image", 8 << 20,
         [&] {
             TestUtil::writeFile(file("big.png"), picture(16 << 20));
             ProjectAccess::setInstance(new ChosenFile(file("big.png")));
         },
         [&] {
             BackgroundImageProperty(nullptr).showMoreEditor(MainWindow::instance());
             return told();
         },
         [&] {
             return app()->document().getTheme()->getPageBackgroundImages().size() ==
                    TestUtil::sampleTheme()->getPageBackgroundImages().size();
         },
         "Background Image: There is not enough memory to read <folder>/big.png."},
        {"theme icon", 8 << 20,
         [&] {
             TestUtil::writeFile(file("big.png"), picture(16 << 20));
             ProjectAccess::setInstance(new ChosenFile(file("big.png")));
             library(themeFile);
             button("editThemeButton");
         },
         [&] {
             button("addIconButton");
             return told();
         },
         [&] { return !dialog->findChild<ThemeEditor*>()->findChild<QUndoStack*>()->canUndo(); },
         "Add Icon: There is not enough memory to read the chosen images, so none was added."},
        {"browse", 8 << 20,
         [&] {
             writeTheme(big, picture(16 << 20));
             library(themeFile);
             dialog->setThemeFilesChooser([&](QWidget*) { return QStringList{big}; });
         },
         [&] {
             button("browseThemesButton");
             return told();
         },
         [&] { return !ThemeLibrary::instance()->findTheme(big).isValid(); }, bigBundle},
        {"edit theme", 8 << 20,
         [&] {
             writeTheme(big, picture(16 << 20));
             library(big);
         },
         [&] {
             button("editThemeButton");
             return told();
         },
         [&] { return !dialog->findChild<ThemeEditor*>()->editedTheme(); }, bigBundle},
        {"gradient pack", 1 << 20,
         [&] {
             TestUtil::writeFile(file("big.xml"), "<GradientPack><Gradient name=\"Big\"/>" +
                                                      QByteArray(3 << 19, ' ') + "</GradientPack>");
         },
         [&] {
             GradientLibrary::instance()->loadFile(file("big.xml"), GradientLibrary::UserGradient);
             return lastRow(GradientLibrary::instance()->errorModel());
         },
         [&] { return GradientLibrary::instance()->findItems("Big").isEmpty(); },
         "There is not enough memory to read the file"},
        {"layout template", 900 << 10,
         [&] {
             LayoutLibrary::destroyInstance();
             TestUtil::startLayoutLibrary(
                 folder.path(),
                 {{"big", "<!--" + QByteArray(1000 << 10, ' ') +
                              "--><layout name=\"Big\"><vbox><button/></vbox></layout>"}});
         },
         [&] {
             QSignalSpy finished(LayoutLibrary::instance(), &LayoutLibrary::refreshFinished);
             LayoutLibrary::instance()->refresh();
             finished.wait(10000);
             return lastRow(LayoutLibrary::instance()->errorModel());
         },
         [&] { return !LayoutLibrary::instance()->indexOf("Big").isValid(); },
         "There is not enough memory to read the layout"},
    };
    // The sanitizers' allocator, too, gives a failure back rather than ending the process, and
    // freed memory at once, the child starting the program anew to read the options. The
    // child's temporary files go into a folder of this process, as it ends without removing them.
    const QByteArray options = qgetenv("ASAN_OPTIONS");
    const QByteArray temporary = qgetenv("TMPDIR");
    const QTemporaryDir children;
    qputenv("ASAN_OPTIONS", options + ":allocator_may_return_null=1:quarantine_size_mb=0");
    qputenv("TMPDIR", QFile::encodeName(children.path()));
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& r : routes) {
        SCOPED_TRACE(r.route);
        const auto run = [&] {
            TestUtil::giveLargeBlocksBack();
            const QString after = makeProject("After");
            const bool opened = app()->openDocument(makeProject("Small"));
            r.prepare();
            answers.messageBox(QMessageBox::Ok);
            std::optional<TestUtil::DataGrowthLimit> limit;
            const bool limited = limit.emplace(r.growth).isSet();
            const QString told = [&] {
                const MemoryBackAtMessage lift(limit);
                return r.read();
            }();
            limit.reset();
            const bool asBefore = r.asBefore();
            dialog.reset();
            const bool usable = app()->openDocument(after);
            std::fprintf(stderr, "told: %s\nlimited %d, as before %d, usable %d\n",
                         QString(told).replace(folder.path(), "<folder>").toUtf8().constData(),
                         limited, asBefore, usable);
            ::_exit(opened && limited && asBefore && usable ? 0 : 1);
        };
        EXPECT_EXIT(run(), ::testing::ExitedWithCode(0),
                    "told: " + TestUtil::regexEscaped(r.told.toStdString()) + "\n");
    }
    GTEST_FLAG_SET(death_test_style, style);
    options.isNull() ? qunsetenv("ASAN_OPTIONS") : qputenv("ASAN_OPTIONS", options);
    temporary.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temporary);
}

// The title and the save question name the project alike: after a Save As that failed too,
// which leaves the project on the file chosen, not saved there, and the next Save writes it.
TEST_F(ApplicationTest, TheTitleAndTheSaveQuestionNameTheProjectAlike)
{
    ASSERT_TRUE(app()->openDocument(makeProject("Hall")));
    const QString copy = file("Copy.qvp");
    answers
        .then([copy](QWidget* dialog) {
            qobject_cast<QFileDialog*>(dialog)->selectFile(copy);
            static_cast<QDialog*>(dialog)->accept();
        })
        .messageBox(QMessageBox::Ok)
        .messageBox(QMessageBox::Cancel);
    // Any project is past a bound of its header alone.
    const qint64 bound = Velmora::Streamer::maximumFileSize();
    Velmora::Streamer::setMaximumFileSize(Velmora::Streamer::HeaderBytes);
    EXPECT_FALSE(app()->saveDocumentAs());
    Velmora::Streamer::setMaximumFileSize(bound);
    EXPECT_EQ(MainWindow::instance()->windowTitle(), "Copy.qvp[*] - Orvane Dravelin");
    ASSERT_FALSE(app()->closeDocument(false));
    EXPECT_EQ(answers.answered().value(2).text,
              "Copy.qvp has been modified. Do you want to save the changes?");
    EXPECT_TRUE(app()->saveDocument());
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_FALSE(app()->isModified());
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
