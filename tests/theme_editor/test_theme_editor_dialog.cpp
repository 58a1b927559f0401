#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/qml_fixture.h"
#include "common/sample_themes.h"
#include "gui/centered_icon_grid_view.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/export_theme_widget.h"
#include "widgets/theme_editor/new_theme_settings.h"
#include "widgets/theme_editor/theme_editor.h"
#include "widgets/theme_editor/theme_editor_dialog.h"
#include "widgets/theme_editor/theme_editor_mode.h"

#include <QComboBox>
#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsView>
#include <QImage>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <string>

namespace {

// A dialog on a project with the sample theme, a library theme "Blue" the user added, settings
// of their own and a QML engine for the editor's previews.
class ThemeEditorDialogTest : public TestUtil::QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        QSettings().setValue("File/LastTheme", folder.path());
        // The library lists only themes with both splash images.
        QImage portrait(27, 48, QImage::Format_RGB32);
        portrait.fill(Qt::blue);
        project.setTheme(TestUtil::sampleTheme().release());
        project.getTheme()->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        bluePath = folder.filePath("blue.qvt");
        const auto blue = TestUtil::sampleTheme();
        blue->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        ASSERT_TRUE(ThemeFileWriter(blue.get(), nullptr).write(bluePath));
        ASSERT_TRUE(library()->addTheme(bluePath, false));

        dialog = std::make_unique<ThemeEditorDialog>();
        dialog->setThemeRegistrar([this](const QString& path) { registered << path; });
        QObject::connect(dialog.get(), &ThemeEditorDialog::saveThemeExternally,
                         [this](const Velmora::Theme* theme) { savedNames << theme->getName(); });
        accepted = std::make_unique<QSignalSpy>(dialog.get(), &QDialog::accepted);
    }

    void TearDown() override
    {
        dialog.reset();
        TestUtil::forgetThemes({bluePath, folder.filePath("Blue.qvt")});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QmlFixture::TearDown();
    }

    static ThemeLibrary* library() { return ThemeLibrary::instance(); }

    QWidget* current() const { return dialog->findChild<QStackedWidget*>()->currentWidget(); }
    template <typename Page> Page* page() const { return dialog->findChild<Page*>(); }
    template <typename Page> void click(const char* button) const
    {
        QAbstractButton* b = page<Page>()->template findChild<QAbstractButton*>(button);
        ASSERT_TRUE(b) << button;
        ASSERT_TRUE(b->isEnabled()) << button;
        b->click();
    }

    void selectBlue() const
    {
        auto* browser = page<ThemeLibraryBrowser>();
        browser->listView->selectionModel()->select(library()->findTheme(bluePath),
                                                    QItemSelectionModel::ClearAndSelect);
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    QString bluePath;
    Velmora::Configuration project;
    std::unique_ptr<ThemeEditorDialog> dialog;
    std::unique_ptr<QSignalSpy> accepted;
    QStringList registered;
    QStringList savedNames;
};

} // namespace

TEST_F(ThemeEditorDialogTest, ModeAndLibraryPagesLeadOnOrClose)
{
    EXPECT_EQ(dialog->windowTitle(), "Theme Editor");
    EXPECT_EQ(current(), page<ThemeEditorMode>());
    // Without a project the project choices lead nowhere.
    click<ThemeEditorMode>("editProjectThemeButton");
    click<ThemeEditorMode>("saveProjectThemeButton");
    EXPECT_EQ(current(), page<ThemeEditorMode>());

    dialog->setConfiguration(&project);
    const struct
    {
        const char* step;
        std::function<void()> act;
        QWidget* shown; // null: the dialog was accepted
    } steps[] = {
        {"export", [&] { click<ThemeEditorMode>("saveProjectThemeButton"); },
         page<ExportThemeWidget>()},
        {"export cancel", [&] { click<ExportThemeWidget>("cancelButton"); },
         page<ThemeEditorMode>()},
        {"library", [&] { click<ThemeEditorMode>("themeLibraryButton"); },
         page<ThemeLibraryBrowser>()},
        {"new theme", [&] { click<ThemeLibraryBrowser>("addNewThemeButton"); },
         page<NewThemeSettings>()},
        {"new theme cancel", [&] { click<NewThemeSettings>("cancelButton"); },
         page<ThemeLibraryBrowser>()},
        {"back", [&] { click<ThemeLibraryBrowser>("backButton"); }, page<ThemeEditorMode>()},
        {"library again", [&] { click<ThemeEditorMode>("themeLibraryButton"); },
         page<ThemeLibraryBrowser>()},
        {"library close", [&] { click<ThemeLibraryBrowser>("closeButton"); }, nullptr},
        {"mode close", [&] { click<ThemeEditorMode>("closeButton"); }, nullptr},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        accepted->clear();
        s.act();
        EXPECT_EQ(accepted->count(), s.shown ? 0 : 1);
        if (s.shown) {
            EXPECT_EQ(current(), s.shown);
        }
    }
    // The export page was prepared with the project's theme.
    EXPECT_EQ(page<ExportThemeWidget>()->findChild<QLineEdit*>("nameEdit")->text(), "Blue");
}

TEST_F(ThemeEditorDialogTest, EditorOnProjectThemeEndsTheDialog)
{
    dialog->setConfiguration(&project);
    const struct
    {
        const char* button;
        int saves;
    } cases[] = {{"doneButton", 1}, {"cancelButton", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        savedNames.clear();
        accepted->clear();
        click<ThemeEditorMode>("editProjectThemeButton");
        ASSERT_EQ(current(), page<ThemeEditor>());
        EXPECT_EQ(page<ThemeEditor>()->editMode(), 1);
        click<ThemeEditor>(c.button);
        EXPECT_EQ(savedNames.size(), c.saves);
        EXPECT_EQ(accepted->count(), 1);
    }
}

TEST_F(ThemeEditorDialogTest, EditorOnLibraryThemeReturnsToTheLibrary)
{
    click<ThemeEditorMode>("themeLibraryButton");
    selectBlue();
    click<ThemeLibraryBrowser>("editThemeButton");
    ASSERT_EQ(current(), page<ThemeEditor>());
    EXPECT_EQ(page<ThemeEditor>()->editMode(), 0);
    EXPECT_EQ(page<ThemeEditor>()->findChild<QLineEdit*>("nameEdit")->text(), "Blue");
    click<ThemeEditor>("cancelButton");
    EXPECT_EQ(current(), page<ThemeLibraryBrowser>());
    EXPECT_EQ(accepted->count(), 0);

    // A new theme from the selected template opens in the editor and, done, joins the
    // library and the user's list.
    click<ThemeLibraryBrowser>("addNewThemeButton");
    EXPECT_EQ(page<NewThemeSettings>()->templateTheme(), library()->findTheme(bluePath));
    click<NewThemeSettings>("nextButton");
    ASSERT_EQ(current(), page<ThemeEditor>());
    click<ThemeEditor>("doneButton");
    EXPECT_EQ(current(), page<ThemeLibraryBrowser>());
    const QString created = folder.filePath("Blue.qvt");
    EXPECT_EQ(registered, QStringList{created});
    EXPECT_TRUE(library()->findTheme(created).isValid());
    EXPECT_EQ(accepted->count(), 0);
}

// A line break pasted into the theme editor's name field becomes the space the field shows, in
// the name of the theme edited. (The export and new-theme pages take their names through the
// file name entry, whose own tests paste into it.)
TEST_F(ThemeEditorDialogTest, PastedLineBreakInAThemeNameBecomesASpace)
{
    dialog->setConfiguration(&project);
    click<ThemeEditorMode>("themeLibraryButton");
    selectBlue();
    click<ThemeLibraryBrowser>("editThemeButton");
    auto* name = current()->findChild<QLineEdit*>("nameEdit");
    name->selectAll();
    TestUtil::paste(name, "Night\r\nShift");
    EXPECT_EQ(name->text(), "Night Shift");
    EXPECT_EQ(page<ThemeEditor>()->editedTheme()->getName(), "Night Shift");
}

TEST_F(ThemeEditorDialogTest, ClosingWithChangesAsksFirst)
{
    dialog->setConfiguration(&project);
    const struct
    {
        bool changed;
        QMessageBox::StandardButton answer;
        bool closes;
        int saves;
    } cases[] = {
        {false, QMessageBox::NoButton, true, 0},
        {true, QMessageBox::Cancel, false, 0},
        {true, QMessageBox::Save, true, 1},
    };
    // The window's close button and Escape ask alike.
    for (const bool escape : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(int(c.answer)) + (escape ? " escape" : " close"));
            savedNames.clear();
            dialog->show();
            click<ThemeEditorMode>("editProjectThemeButton");
            // Any step on the editor's stack counts as a change.
            if (c.changed)
                page<ThemeEditor>()->findChild<QUndoStack*>()->push(new QUndoCommand("Edit"));
            TestUtil::ModalAnswerer answers;
            if (c.changed)
                answers.messageBox(c.answer);
            if (escape)
                QTest::keyClick(dialog.get(), Qt::Key_Escape);
            else
                EXPECT_EQ(dialog->close(), c.closes);
            EXPECT_EQ(answers.pending(), 0);
            EXPECT_EQ(answers.answered().size(), c.changed ? 1 : 0);
            EXPECT_EQ(dialog->isVisible(), !c.closes);
            EXPECT_EQ(savedNames.size(), c.saves);
            if (!c.closes) {
                EXPECT_TRUE(page<ThemeEditor>()->editedTheme());
            }
            dialog->findChild<QStackedWidget*>()->setCurrentWidget(page<ThemeEditorMode>());
            dialog->hide();
        }
}

TEST_F(ThemeEditorDialogTest, EditorPageShowsWholeSamplesAndGivesBackItsRoom)
{
    dialog->show();
    click<ThemeEditorMode>("themeLibraryButton");
    QCoreApplication::processEvents();
    const QSize librarySize = dialog->size();
    selectBlue();
    click<ThemeLibraryBrowser>("editThemeButton");
    QCoreApplication::processEvents();

    // The widest sample, the colour picker (272 × 272), shows whole.
    auto* preview = page<ThemeEditor>()->findChild<QGraphicsView*>("previewWidget");
    auto* types = page<ThemeEditor>()->findChild<QComboBox*>("itemTypeEdit");
    types->setCurrentIndex(types->findData(Velmora::ThemedItemType_COLOUR_PICKER));
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->sceneRect().size(), QSizeF(272, 272));
    EXPECT_GE(preview->viewport()->width(), 272);
    EXPECT_GE(preview->viewport()->height(), 272);

    // Back on the library page the dialog has the size that page had.
    click<ThemeEditor>("cancelButton");
    QCoreApplication::processEvents();
    EXPECT_EQ(current(), page<ThemeLibraryBrowser>());
    EXPECT_EQ(dialog->size(), librarySize);
}

TEST_F(ThemeEditorDialogTest, ExportShowsProgressWhileWritingAndReportsFailures)
{
    dialog->setConfiguration(&project);
    dialog->show();
    // The progress window, as seen from inside the write (the writer lets events through).
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* progress = dialog->findChild<QProgressDialog*>()) {
            seen << progress->windowTitle() + "|" + progress->labelText() + "|" +
                        QString::number(progress->windowModality());
        }
    });
    watch.start(0);

    click<ThemeEditorMode>("saveProjectThemeButton");
    click<ExportThemeWidget>("saveButton");
    watch.stop();
    EXPECT_EQ(accepted->count(), 1);
    const QString written = folder.filePath("Blue.qvt");
    EXPECT_EQ(registered, QStringList{written});
    EXPECT_TRUE(seen.contains("Theme Editor|Packaging theme...|1"))
        << seen.join("; ").toStdString();
    EXPECT_FALSE(dialog->findChild<QProgressDialog*>());

    // A path that cannot be written: the message, the page stays, no progress window is left.
    const struct
    {
        int code;
        const char* text;
    } errors[] = {
        {ThemeFileWriter::XmlFileError,
         "Failed to save the theme.  Couldn't open a temporary file to write the theme data."},
        {ThemeFileWriter::ImageFileError,
         "Failed to save the theme.  Couldn't open a temporary file to write an image."},
        {ThemeFileWriter::SplashFileError,
         "Failed to save the theme.  Couldn't open a temporary files to write the splash images."},
        {ThemeFileWriter::ArchiveError, "Failed to save the theme.  The reason."},
        {ThemeFileWriter::LimitError, "Failed to save the theme.  The reason."},
        {ThemeFileWriter::NameError, "Failed to save the theme.  The reason."},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(e.code);
        TestUtil::ModalAnswerer answers;
        answers.messageBox(QMessageBox::Ok);
        dialog->onThemeFileWriterError(e.code, "The reason.");
        EXPECT_EQ(answers.answered().value(0).text, e.text);
        EXPECT_EQ(answers.answered().value(0).title, "Theme Editor");
    }
    accepted->clear();
    click<ThemeEditorMode>("saveProjectThemeButton");
    page<ExportThemeWidget>()
        ->findChild<QLineEdit*>("fileNameEdit")
        ->setText(folder.filePath("missing/x.qvt"));
    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::Ok);
    click<ExportThemeWidget>("saveButton");
    EXPECT_EQ(answers.answered().value(0).text,
              "Failed to save the theme.  The folder does not exist");
    EXPECT_EQ(current(), page<ExportThemeWidget>());
    EXPECT_EQ(accepted->count(), 0);
    EXPECT_FALSE(dialog->findChild<QProgressDialog*>());
}

TEST(ThemeEditorDialogGeometry, EditorPageGrowsTheDialogOnScreen)
{
    const QRect screen(0, 0, 1024, 768);
    const QMargins none;
    const QMargins frame(4, 27, 4, 4);
    const struct
    {
        QRect dialog;
        QMargins frame;
        QRect expected;
    } cases[] = {
        // Grown to 800, cut to the screen's height, moved up onto it; 725 wide.
        {QRect(100, 300, 600, 500), none, QRect(100, 0, 725, 768)},
        // As large as the screen allows, and on it, already.
        {QRect(10, 0, 725, 768), none, QRect(10, 0, 725, 768)},
        // Grown around its middle past the screen's top: moved down onto the screen.
        {QRect(0, 100, 800, 400), none, QRect(0, 0, 800, 768)},
        // Too far right and too high: moved left to end at the screen's right edge, cut.
        {QRect(900, 0, 300, 900), none, QRect(299, 0, 725, 768)},
        // The frame stays on the screen too: its title bar above, its borders around.
        {QRect(100, 300, 600, 500), frame, QRect(100, 27, 725, 737)},
        {QRect(900, 40, 725, 800), frame, QRect(295, 27, 725, 737)},
        // On a second screen to the right, below a panel.
        {QRect(1100, 100, 600, 500), frame, QRect(1100, 57, 725, 707)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog.x() * 10000 + c.dialog.y());
        const QRect on = c.dialog.x() > 1024 ? QRect(1024, 30, 1280, 738) : screen;
        const QRect placed = ThemeEditorDialog::editorGeometry(c.dialog, on, c.frame);
        EXPECT_EQ(placed, c.expected);
        EXPECT_TRUE(on.contains(placed.marginsAdded(c.frame)));
    }
}

// At the default size the states' sheet shows many rows, every name whole beside its value,
// nothing scrolling sideways; the library shows rows of themes.
TEST_F(ThemeEditorDialogTest, TheSheetsAndTheLibraryHaveRoomAtTheDefaultSize)
{
    dialog->setConfiguration(&project);
    dialog->show();
    click<ThemeEditorMode>("themeLibraryButton");
    const CenteredIconGridView* themes = page<ThemeLibraryBrowser>()->listView;
    const QSize rows = 2 * themes->gridSize();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return themes->viewport()->size().expandedTo(rows) == themes->viewport()->size(); }));
    click<ThemeLibraryBrowser>("backButton");
    click<ThemeEditorMode>("editProjectThemeButton");
    auto* types = page<ThemeEditor>()->findChild<QComboBox*>("itemTypeEdit");
    auto* sheet = page<ThemeEditor>()->findChild<QTreeView*>("skinPropertyEditor");
    for (int type = 0; type < types->count(); ++type) {
        types->setCurrentIndex(type);
        const QModelIndex group = sheet->model()->index(0, 0); // none for the page switcher
        EXPECT_TRUE(QTest::qWaitFor([&] { return sheet->horizontalScrollBar()->maximum() == 0; }));
        EXPECT_GE(sheet->viewport()->height(), 15 * sheet->visualRect(group).height());
        for (int row = 0; row < sheet->model()->rowCount(group); ++row) {
            const QModelIndex name = sheet->model()->index(row, 0, group);
            EXPECT_GE(sheet->visualRect(name).width(), sheet->sizeHintForIndex(name).width())
                << row;
        }
    }
}

// However many theme files the library's scans left out, the library page fits the screen: the
// list of them scrolls, and Back and Close stay on the screen.
TEST_F(ThemeEditorDialogTest, ManyFilesLeftOutOfTheLibraryScrollInAWindowOnTheScreen)
{
    for (int i = 0; i < 50; ++i)
        TestUtil::writeFile(folder.filePath(QString("refused %1 ").arg(i).repeated(5) + ".qvt"),
                            "");
    library()->setFileExtension("qvt");
    const auto forget = qScopeGuard([] { library()->reset(); });
    ASSERT_TRUE(library()->scanFolder(folder.path(), false, true));
    auto* browser = page<ThemeLibraryBrowser>();
    browser->showRefusedThemes();
    dialog->show();
    click<ThemeEditorMode>("themeLibraryButton");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    const QRect screen = dialog->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(dialog->frameGeometry()));
    for (const QWidget* button : {browser->backButton, browser->closeButton})
        EXPECT_TRUE(screen.contains(QRect(button->mapToGlobal(QPoint()), button->size())));
    EXPECT_GT(browser->refusedArea->verticalScrollBar()->maximum(), 0);
}
