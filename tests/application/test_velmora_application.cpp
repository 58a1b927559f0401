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
#include "gui/launch_dialog.h"
#include "main/application/velmora_application.h"
#include "main/velmora_launch_dialog.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"
#include "widgets/new_page_wizard.h"
#include "widgets/page_list.h"

#include <QFileOpenEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
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

    // A saved project in the folder, two buttons on its page.
    QString makeProject(const QString& name)
    {
        SelectionManager selection;
        VelmoraDocument document(selection);
        NewProjectData data;
        data.name = name;
        data.path = file(name + ".qvp");
        data.themeFile = themeFile;
        const unsigned int first = document.createProject(data);
        for (int i = 0; i < 2; ++i) {
            smart_ptr<Velmora::Control> button(
                ControlFactory::get(Velmora::ControlType_BUTTON)->create({}));
            button->setPageId(first);
            button->setGeometry(QRect(20 + 120 * i, 20, 100, 60));
            document.getPage(first).getControlIds().insert(
                document.insertControl(button, UINT_MAX));
        }
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
    void chooseInLaunchDialog(int result)
    {
        answers.then([result](QWidget* window) {
            auto* dialog = qobject_cast<LaunchDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->done(result);
        });
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

TEST_F(ApplicationTest, NewProjectThroughTheWizardAndFromAnUnreadableTheme)
{
    auto* library = ThemeLibrary::instance()->model();
    ASSERT_TRUE(TestUtil::writeFile(file("broken.qvt"), "not a theme"));
    // The library lists one theme at a time: first the broken one, then a good one.
    const int base = library->rowCount();
    const auto listOnly = [library, base](const QString& theme) {
        library->removeRows(base, library->rowCount() - base);
        auto* row = new QStandardItem(QFileInfo(theme).baseName());
        row->setData(theme, ThemeLibrary::PathRole);
        library->appendRow(row);
    };
    listOnly(file("broken.qvt"));
    const auto finishWizard = [this](const QString& name) {
        answers.then([this, name](QWidget* window) {
            auto* wizard = qobject_cast<NewPageWizard*>(window);
            ASSERT_NE(wizard, nullptr);
            const QList<QLineEdit*> edits = wizard->currentPage()->findChildren<QLineEdit*>();
            ASSERT_EQ(edits.size(), 2);
            edits[0]->setText(name);
            edits[1]->setText(file(name + ".qvp"));
            while (wizard->nextId() != -1)
                wizard->next();
            wizard->button(QWizard::FinishButton)->click();
        });
    };

    app()->newProjectData().themeFile = file("broken.qvt");
    chooseInLaunchDialog(LaunchDialog::New);
    finishWizard("Broken");
    answers.then([&](QWidget* box) {
        listOnly(themeFile);
        app()->newProjectData().themeFile = themeFile;
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    chooseInLaunchDialog(LaunchDialog::New);
    finishWizard("Fresh");
    runLaunchDialog();
    library->removeRows(base, library->rowCount() - base);

    ASSERT_EQ(answers.pending(), 0);
    EXPECT_EQ(answers.answered().value(2).title, "Load failed");
    EXPECT_EQ(app()->documentPath(), file("Fresh.qvp"));
    // Never saved: modified, although nothing was done yet.
    EXPECT_TRUE(app()->isModified());
    EXPECT_EQ(QSettings().value("File/LastFile").toString(), file("Fresh.qvp"));
}

TEST_F(ApplicationTest, PageListFollowsTheSelectionWithoutTakingItOver)
{
    const QString path = makeProject("Hall");
    ASSERT_TRUE(app()->openDocument(path));
    VelmoraDocument& document = app()->document();
    SelectionManager* selection = app()->selection();
    PageList* list = MainWindow::instance()->pageListWidget();
    const unsigned int first = selection->currentPage();

    // Controls selected on the current page: the page list marks the page, the controls stay.
    const std::set<unsigned int> buttons = document.getPage(first).getControlIds();
    ASSERT_EQ(buttons.size(), 2u);
    selection->selectControls(buttons, true);
    EXPECT_EQ(selection->kind(), SelectionManager::SelectionKind_CONTROLS);
    EXPECT_EQ(selection->size(), 2u);
    EXPECT_TRUE(list->selectionModel()->isSelected(document.proxyIndexOfPage(first)));

    // A property the dispatch does not take sends the editor back to the project's values.
    QSignalSpy reread(app(), &VelmoraApplication::propertyValuesChanged);
    app()->setPropertyValue(9, 1);
    EXPECT_EQ(reread.size(), 1);
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
    ThemeLibrary* library = ThemeLibrary::instance();
    ASSERT_TRUE(library->findTheme(themeFile).isValid());
    while (library->findTheme(themeFile).isValid())
        library->removeTheme(library->findTheme(themeFile));

    VelmoraApplication::unregisterTheme(themeFile);
    EXPECT_FALSE(settings.contains("Themes/Theme0"));
    EXPECT_TRUE(settings.contains("Themes/Theme1"));
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
