#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/new_theme_settings.h"

#include <QAbstractItemView>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class NewThemeSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        QSettings().setValue("File/LastTheme", folder.path());
        const auto theme = TestUtil::emptyTheme("Ocean");
        QImage splash(480, 272, QImage::Format_RGB32);
        splash.fill(Qt::blue);
        theme->setSplashImage(Velmora::Orientation_LANDSCAPE, splash);
        theme->setSplashImage(Velmora::Orientation_PORTRAIT, splash.scaled(272, 480));
        // Kept outside the remembered folder, so that the proposed path is free.
        ASSERT_TRUE(ThemeFileWriter(theme.get(), nullptr).write(templateFolder.filePath("o.qvt")));
        ASSERT_TRUE(library()->addTheme(templateFolder.filePath("o.qvt"), true));
    }

    void TearDown() override { library()->removeTheme(oceanRow()); }

    static ThemeLibrary* library() { return ThemeLibrary::instance(); }
    QModelIndex oceanRow() const { return library()->findTheme(templateFolder.filePath("o.qvt")); }
    QLineEdit* edit(const char* name) { return page.findChild<QLineEdit*>(name); }
    QPushButton* next() { return page.findChild<QPushButton*>("nextButton"); }
    QItemSelectionModel* selection()
    {
        return page.findChild<QAbstractItemView*>("themeListView")->selectionModel();
    }

    static void retype(QLineEdit* line, const QString& text)
    {
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, text);
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder, templateFolder;
    NewThemeSettings page;
    QSignalSpy ready{&page, &NewThemeSettings::ready};
};

} // namespace

TEST_F(NewThemeSettingsTest, PreparingProposesTheTemplatesName)
{
    EXPECT_EQ(page.windowTitle(), "New Theme Settings");
    EXPECT_FALSE(next()->isEnabled());
    EXPECT_TRUE(next()->isDefault());

    page.setTemplateTheme(oceanRow());
    EXPECT_EQ(page.name(), "Ocean");
    EXPECT_EQ(page.filePath(), folder.filePath("Ocean.qvt"));
    EXPECT_EQ(page.templateTheme(), oceanRow());
    EXPECT_TRUE(next()->isEnabled());

    // Without a template everything starts empty, even after an earlier visit.
    page.setTemplateTheme(QModelIndex());
    EXPECT_EQ(page.name(), "");
    EXPECT_EQ(page.filePath(), "");
    EXPECT_FALSE(page.templateTheme().isValid());
    EXPECT_FALSE(next()->isEnabled());
    QTest::keyClicks(edit("nameEdit"), "Sea");
    EXPECT_FALSE(next()->isEnabled());
    selection()->select(oceanRow(), QItemSelectionModel::ClearAndSelect);
    EXPECT_TRUE(next()->isEnabled());
    EXPECT_EQ(page.name(), "Sea"); // choosing a template later keeps the typed name
}

TEST_F(NewThemeSettingsTest, CreateThemeNeedsNamePathAndTemplate)
{
    const struct
    {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"deselected", [&] { selection()->clearSelection(); }},
        {"name emptied", [&] { retype(edit("nameEdit"), ""); }},
        {"path emptied", [&] { retype(edit("fileNameEdit"), ""); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        page.setTemplateTheme(oceanRow());
        ASSERT_TRUE(next()->isEnabled());
        c.change();
        EXPECT_FALSE(next()->isEnabled());
    }
}

TEST_F(NewThemeSettingsTest, ConfirmingCompletesThePathAndAsksBeforeReplacing)
{
    page.setTemplateTheme(oceanRow());
    retype(edit("fileNameEdit"), folder.filePath("taken"));
    QFile taken(folder.filePath("taken.qvt"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();

    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::No).messageBox(QMessageBox::Yes);
    next()->click();
    EXPECT_EQ(page.filePath(), folder.filePath("taken.qvt"));
    EXPECT_EQ(ready.count(), 0);
    EXPECT_TRUE(next()->isEnabled());
    next()->click();
    EXPECT_EQ(ready.count(), 1);
    EXPECT_EQ(answers.answered().size(), 2);
    EXPECT_EQ(answers.answered()[0].title, "Overwrite Theme");

    // A free path goes on without a question.
    page.setTemplateTheme(oceanRow());
    next()->click();
    EXPECT_EQ(ready.count(), 2);
    EXPECT_EQ(answers.answered().size(), 2);

    QSignalSpy cancelled(&page, &NewThemeSettings::cancel);
    page.findChild<QPushButton*>("cancelButton")->click();
    EXPECT_EQ(cancelled.count(), 1);
}
