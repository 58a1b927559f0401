#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "core/stored_settings.h"
#include "gui/centered_icon_grid_view.h"
#include "velmora_objects/theme_library.h"
#include "widgets/new_project_pages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWizard>
#include <gtest/gtest.h>

namespace {

// The two pages in a wizard, as the new-project wizard opens with them.
class NewProjectPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        wizard.addPage(projectPage);
        wizard.addPage(themePage);
        wizard.show();
        QList<QLineEdit*> edits = projectPage->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        nameEdit = edits[0];
        fileEdit = edits[1];
    }

    void TearDown() override { ThemeLibrary::instance()->reset(); }

    bool nextEnabled() const { return wizard.button(QWizard::NextButton)->isEnabled(); }
    void clickNext() { QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton); }
    void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    QString file(const QString& name) const { return folder.filePath(name); }

    // A library row: a red landscape splash (Normal) and a blue portrait one (Disabled).
    void addTheme(const QString& name, const QString& path)
    {
        QPixmap landscape(240, 136);
        landscape.fill(Qt::red);
        QPixmap portrait(136, 240);
        portrait.fill(Qt::blue);
        QIcon icon;
        icon.addPixmap(landscape, QIcon::Normal);
        icon.addPixmap(portrait, QIcon::Disabled);
        auto* item = new QStandardItem(icon, name);
        item->setData(path, ThemeLibrary::PathRole);
        ThemeLibrary::instance()->model()->appendRow(item);
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    QWizard wizard;
    NewProjectPage* projectPage = new NewProjectPage;
    ProjectThemePage* themePage = new ProjectThemePage;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* fileEdit = nullptr;
};

} // namespace

TEST_F(NewProjectPagesTest, FileNameFollowsTheNameUntilEditedByHand)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const struct
    {
        QString lastFile;
        QString name;
        QString path;
    } cases[] = {
        {"/x/y.qvp", "Demo", "/x/Demo.qvp"},
        {"/x/y.qvp", "Demo.qvp", "/x/Demo.qvp"},
        {"/x/y.qvp", "Demo.QVP", "/x/Demo.QVP.qvp"},
        // One visible file in that folder, whatever the name holds.
        {"/x/y.qvp", "Day/Night", "/x/Day_Night.qvp"},
        {"/x/y.qvp", "../CON", "/x/_.._CON.qvp"},
        {"", "Demo", documents + "/Demo.qvp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QSettings().setValue("File/LastFile", c.lastFile);
        typeInto(nameEdit, c.name);
        EXPECT_EQ(fileEdit->text(), c.path);
        EXPECT_TRUE(nextEnabled());
    }

    // An empty name disables Next, and the file name still follows it: the extension alone.
    typeInto(nameEdit, "");
    EXPECT_EQ(fileEdit->text(), documents + "/.qvp");
    EXPECT_FALSE(nextEnabled());
    EXPECT_EQ(wizard.field("path").toString(), documents + "/.qvp");

    // The first hand edit ends the following for good.
    typeInto(fileEdit, "/elsewhere/mine.qvp");
    typeInto(nameEdit, "Other");
    EXPECT_EQ(fileEdit->text(), "/elsewhere/mine.qvp");
    EXPECT_EQ(wizard.field("project_name").toString(), "Other");
    typeInto(fileEdit, "");
    EXPECT_FALSE(nextEnabled());
}

TEST_F(NewProjectPagesTest, ReplacingAnExistingFileIsAskedUntilAgreed)
{
    QFile existing(file("Demo.qvp"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QSettings().setValue("File/LastFile", file("last.qvp"));
    typeInto(nameEdit, "Demo");
    ASSERT_EQ(fileEdit->text(), file("Demo.qvp"));

    const auto clickButton = [](const QString& text) {
        return [text](QWidget* window) {
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
                if (button->text() == text)
                    return button->click();
        };
    };
    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::Cancel);
    clickNext();
    EXPECT_EQ(wizard.currentId(), 0);
    answers.then(clickButton("Overwrite"));
    clickNext();
    EXPECT_EQ(wizard.currentId(), 1);
    ASSERT_EQ(answers.pending(), 0);
    ASSERT_EQ(answers.answered().size(), 2);
    EXPECT_EQ(answers.answered()[1].title, "New Project");
    EXPECT_EQ(answers.answered()[1].text, file("Demo.qvp") + " already exists.");

    // Agreed once: not asked again until the file name changes.
    wizard.back();
    clickNext();
    EXPECT_EQ(wizard.currentId(), 1);
    wizard.back();
    typeInto(nameEdit, "Demo");
    answers.messageBox(QMessageBox::Cancel);
    clickNext();
    EXPECT_EQ(wizard.currentId(), 0);
    EXPECT_EQ(answers.answered().size(), 3);
}

// The save dialog asks about replacing the file it was given; when the page adds the extension
// to that name, the file it then names is another, and the page asks about it. Either way the
// user is asked once.
TEST_F(NewProjectPagesTest, BrowsedFileGetsTheExtensionAndIsAskedAboutOnce)
{
    QFile existing(file("b.qvp"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    typeInto(nameEdit, "Demo");

    const struct
    {
        const char* picked;
        bool dialogAsks;
    } cases[] = {{"b.qvp", true}, {"b", false}};
    for (const auto& c : cases) {
        TestUtil::ModalAnswerer answers;
        answers.then([this, &c](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->nameFilters(), QStringList("Orvane Dravelin files (*.qvp)"));
            // Typed, as a user does: selecting an existing file waits for the dialog's listing.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(file(c.picked));
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
        });
        answers.messageBox(QMessageBox::Yes);
        QTest::mouseClick(projectPage->findChild<QPushButton*>(), Qt::LeftButton);
        EXPECT_EQ(answers.pending(), c.dialogAsks ? 0 : 1) << c.picked;
        EXPECT_EQ(answers.answered().value(0).title, "New File");
        EXPECT_EQ(fileEdit->text(), file("b.qvp"));
        EXPECT_EQ(StoredSettings().value("File/LastFile").toString(), file("b.qvp"));

        // The name no longer leads the file name.
        typeInto(nameEdit, "Later");
        EXPECT_EQ(fileEdit->text(), file("b.qvp"));
        clickNext();
        EXPECT_EQ(answers.answered().size(), 2) << c.picked;
        EXPECT_TRUE(answers.answered().value(1).text.contains("already exists")) << c.picked;
        // The page's own question has no Yes: refused, it keeps the page.
        EXPECT_EQ(wizard.currentId(), c.dialogAsks ? 1 : 0) << c.picked;
        if (wizard.currentId() == 1)
            wizard.back();
    }

    // A hand edit brings the question back.
    typeInto(fileEdit, file("b.qvp"));
    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::Cancel);
    clickNext();
    EXPECT_EQ(wizard.currentId(), 0);
    EXPECT_EQ(answers.pending(), 0);
}

TEST_F(NewProjectPagesTest, ThemeIsChosenInTheGridWithTheOrientationsSplash)
{
    addTheme("Red", "/themes/red.qvt");
    addTheme("Green", "/themes/green.qvt");
    auto* view = themePage->findChild<CenteredIconGridView*>();
    auto* orientation = projectPage->findChild<QComboBox*>();
    ASSERT_TRUE(view && orientation);
    const QModelIndex second = view->model()->index(1, 0);
    const struct
    {
        int index;
        QColor splash;
        bool tall;
    } cases[] = {{1, Qt::blue, true}, {0, Qt::red, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        orientation->setCurrentIndex(c.index);
        typeInto(nameEdit, "Demo");
        clickNext();
        ASSERT_EQ(wizard.currentId(), 1);
        const QSize cell = view->gridSize();
        EXPECT_EQ(cell.height() > cell.width(), c.tall);
        const QImage shot = view->viewport()->grab().toImage();
        EXPECT_EQ(shot.pixelColor(view->visualRect(second).center()), c.splash);
        wizard.back();
    }

    clickNext();
    EXPECT_FALSE(nextEnabled() || wizard.button(QWizard::FinishButton)->isEnabled());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(second).center());
    EXPECT_EQ(themePage->themePath(), "/themes/green.qvt");
    EXPECT_TRUE(themePage->isComplete());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      view->visualRect(second).center());
    EXPECT_EQ(themePage->themePath(), "");
    EXPECT_FALSE(themePage->isComplete());

    // The last run's theme is chosen again while the library lists it.
    themePage->setThemePath("/themes/red.qvt");
    EXPECT_EQ(view->selectionModel()->selectedIndexes(),
              QModelIndexList{view->model()->index(0, 0)});
    EXPECT_TRUE(themePage->isComplete());
    themePage->setThemePath("/themes/gone.qvt");
    EXPECT_TRUE(view->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_EQ(themePage->themePath(), "");
    EXPECT_FALSE(themePage->isComplete());
}
