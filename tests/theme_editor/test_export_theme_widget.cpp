#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "common/theme_bundles.h"
#include "core/progress_handler.h"
#include "core/stored_settings.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/export_theme_widget.h"
#include "widgets/theme_editor/theme_file_name_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page over the sample theme "Blue" (with both splash images, as the library lists only
// such themes), settings of its own with a temporary folder as the remembered theme folder.
// Library rows of that folder are removed again afterwards.
class ExportThemeWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        QSettings().setValue("File/LastTheme", folder.filePath("last.qvt"));
        QImage portrait(27, 48, QImage::Format_RGB32);
        portrait.fill(Qt::blue);
        theme->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        page.setThemeRegistrar([this](const QString& path) { registered << path; });
    }

    void TearDown() override
    {
        QStandardItemModel* model = ThemeLibrary::instance()->model();
        for (int row = model->rowCount() - 1; row >= 0; --row) {
            if (ThemeLibrary::instance()->themePathAt(row).startsWith(folder.path()))
                model->removeRow(row);
        }
    }

    QLineEdit* edit(const char* name) { return page.findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return page.findChild<QPushButton*>(name); }

    static int libraryRows(const QString& path)
    {
        int rows = 0;
        for (int row = 0; row < ThemeLibrary::instance()->model()->rowCount(); ++row)
            rows += ThemeLibrary::instance()->themePathAt(row) == path;
        return rows;
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    std::unique_ptr<Velmora::Theme> theme = TestUtil::sampleTheme();
    ExportThemeWidget page;
    QSignalSpy done{&page, &ExportThemeWidget::done};
    QSignalSpy cancelled{&page, &ExportThemeWidget::cancel};
    QSignalSpy errors{&page, &ExportThemeWidget::themeFileWriterError};
    QStringList registered;
};

TEST_F(ExportThemeWidgetTest, FormHasCaptionEntryAndButtons)
{
    EXPECT_EQ(page.windowTitle(), "Export Theme");
    EXPECT_EQ(page.findChild<QLabel*>("captionLabel")->text(), "Export Project Theme");
    EXPECT_EQ(button("cancelButton")->text(), "Cancel");
    EXPECT_EQ(button("saveButton")->text(), "Save");
    EXPECT_TRUE(button("saveButton")->isDefault());
    EXPECT_FALSE(button("saveButton")->isEnabled());
}

TEST_F(ExportThemeWidgetTest, PreparingStartsFromTheThemesName)
{
    auto unnamed = TestUtil::emptyTheme(QString());
    const struct
    {
        const char* label;
        const Velmora::Theme* theme;
        QString name, path;
    } cases[] = {
        {"named", theme.get(), "Blue", folder.filePath("Blue.qvt")},
        {"unnamed", unnamed.get(), "", ""},
        {"none", nullptr, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        // Whatever an earlier visit left typed is forgotten: the path follows the name again.
        edit("fileNameEdit")->setText("/somewhere/else.qvt");
        page.setTheme(c.theme);
        EXPECT_EQ(edit("nameEdit")->text(), c.name);
        EXPECT_EQ(edit("fileNameEdit")->text(), c.path);
        EXPECT_EQ(button("saveButton")->isEnabled(), !c.path.isEmpty());
        // The name is selected, so typing replaces it, and the path follows.
        QTest::keyClicks(edit("nameEdit"), "X");
        EXPECT_EQ(edit("fileNameEdit")->text(), folder.filePath("X.qvt"));
    }

    // Save needs both texts: emptying the typed path disables it again.
    edit("fileNameEdit")->clear();
    EXPECT_FALSE(button("saveButton")->isEnabled());
}

TEST_F(ExportThemeWidgetTest, SaveWritesTheThemeUnderTheNameTypedAndRecordsTheFile)
{
    int progressReports = 0;
    ProgressHandler progress;
    progress.user = &progressReports;
    progress.progressCallback = [](unsigned, unsigned, void* user) { ++*static_cast<int*>(user); };
    page.setProgressHandler(&progress);
    page.setTheme(theme.get());
    // The theme is written as the project holds it but under the name typed, and the project's
    // theme keeps its own. A path without the extension gets it.
    QTest::keyClicks(edit("nameEdit"), "Copy");
    edit("fileNameEdit")->setText(folder.filePath("out"));
    const QString path = folder.filePath("out.qvt");
    button("saveButton")->click();

    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(errors.count(), 0);
    EXPECT_GT(progressReports, 0);
    const Velmora::Theme written(path);
    EXPECT_EQ(written.getName(), "Copy");
    EXPECT_EQ(theme->getName(), "Blue");
    EXPECT_EQ(written.getLandscapeSplash().size(), QSize(48, 27)); // no splash is generated
    EXPECT_EQ(StoredSettings().value("File/LastTheme").toString(), path);
    const QModelIndex row = ThemeLibrary::instance()->findTheme(path);
    ASSERT_TRUE(row.isValid());
    EXPECT_EQ(row.data(Qt::DisplayRole).toString(), "Copy");
    EXPECT_FALSE(row.data(ThemeLibrary::BuiltInRole).toBool());
    EXPECT_EQ(registered, QStringList{path});
}

// A bare file name lands in the folder the page proposes, not in the folder the program runs
// in, and the library and the user's list name the file by its whole path.
TEST_F(ExportThemeWidgetTest, BareFileNameIsWrittenInTheProposedFolder)
{
    QTemporaryDir workingFolder;
    const QString startedIn = QDir::currentPath();
    ASSERT_TRUE(workingFolder.isValid() && QDir::setCurrent(workingFolder.path()));
    const auto back = qScopeGuard([&] { QDir::setCurrent(startedIn); });
    page.setTheme(theme.get());
    edit("fileNameEdit")->setText("Bare");
    button("saveButton")->click();

    const QString path = folder.filePath("Bare.qvt");
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(QDir(workingFolder.path()).isEmpty());
    EXPECT_EQ(libraryRows(path), 1);
    EXPECT_EQ(registered, QStringList{path});
}

// Whatever the theme's name holds, it proposes one visible file in the theme folder.
TEST_F(ExportThemeWidgetTest, EveryNameProposesOneVisibleFileInTheThemeFolder)
{
    const QDir themes(folder.filePath("themes"));
    ASSERT_TRUE(themes.mkpath("."));
    QSettings().setValue("File/LastTheme", themes.filePath("last.qvt"));
    const std::pair<QString, QString> cases[] = {{"Day/Night", "Day_Night.qvt"},
                                                 {"../x", "_.._x.qvt"},
                                                 {".", "_..qvt"},
                                                 {"..", "_...qvt"},
                                                 {"._X", "_._X.qvt"},
                                                 {"a\nb\rc", "a_b_c.qvt"},
                                                 {"CON", "CON_.qvt"},
                                                 {"Plain.qvt", "Plain.qvt"}};
    QStringList files;
    for (const auto& [name, file] : cases) {
        theme->setName(name);
        page.setTheme(theme.get());
        EXPECT_EQ(edit("fileNameEdit")->text(), themes.filePath(file));
        button("saveButton")->click();
        files << file;
    }
    files.sort();
    EXPECT_EQ(
        themes.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDir::Name),
        files);
}

TEST_F(ExportThemeWidgetTest, ExistingFileIsReplacedOnlyWhenTheUserAgrees)
{
    const QString path = folder.filePath("Blue.qvt");
    auto old = TestUtil::emptyTheme("Old");
    old->setSplashImage(Velmora::Orientation_LANDSCAPE, theme->getLandscapeSplash());
    old->setSplashImage(Velmora::Orientation_PORTRAIT, theme->getPortraitSplash());
    ASSERT_TRUE(ThemeFileWriter(old.get(), nullptr).write(path));
    ASSERT_TRUE(ThemeLibrary::instance()->addTheme(path, false));
    const QByteArray before = fileBytes(path);

    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::No).messageBox(QMessageBox::Yes);
    page.setTheme(theme.get());
    button("saveButton")->click();
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(done.count(), 0);
    EXPECT_EQ(StoredSettings().value("File/LastTheme").toString(), folder.filePath("last.qvt"));

    button("saveButton")->click();
    EXPECT_EQ(answers.pending(), 0);
    ASSERT_EQ(answers.answered().size(), 2);
    EXPECT_EQ(answers.answered().value(1).title, "Overwrite Theme");
    EXPECT_TRUE(answers.answered().value(1).text.contains("\"Blue.qvt\""));
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(Velmora::Theme(path).getName(), "Blue");
    // The listed file keeps its one row, now showing the written theme, and is not recorded
    // a second time.
    EXPECT_EQ(libraryRows(path), 1);
    EXPECT_EQ(ThemeLibrary::instance()->findTheme(path).data(Qt::DisplayRole).toString(), "Blue");
    EXPECT_TRUE(registered.isEmpty());
}

TEST_F(ExportThemeWidgetTest, FailedWriteOrCancelStoresNothing)
{
    page.setTheme(theme.get());
    const QString path = folder.filePath("missing/out");
    edit("fileNameEdit")->setText(path);
    button("saveButton")->click();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.first().value(0).toInt(), int(ThemeFileWriter::ArchiveError));
    EXPECT_EQ(done.count(), 0);
    // The page keeps the completed path for another try.
    EXPECT_EQ(edit("fileNameEdit")->text(), path + ".qvt");
    // A theme beyond what a bundle may hold: the writer's reason goes with its code.
    {
        ThemeReader::Limits fewSkins;
        fewSkins.skinCount = 3;
        const TestUtil::ReaderLimits limits(fewSkins);
        edit("fileNameEdit")->setText(folder.filePath("Blue.qvt"));
        button("saveButton")->click();
    }
    ASSERT_EQ(errors.count(), 2);
    EXPECT_EQ(errors.last(), (QList<QVariant>{int(ThemeFileWriter::LimitError),
                                              "The theme holds 4 skins; a bundle may hold 3."}));

    page.setTheme(theme.get());
    button("cancelButton")->click();
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(done.count(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("Blue.qvt")));
    EXPECT_EQ(StoredSettings().value("File/LastTheme").toString(), folder.filePath("last.qvt"));
    EXPECT_EQ(libraryRows(path + ".qvt"), 0);
    EXPECT_TRUE(registered.isEmpty());
}

} // namespace
