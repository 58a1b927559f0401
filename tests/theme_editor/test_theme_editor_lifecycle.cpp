#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/qml_fixture.h"
#include "common/sample_themes.h"
#include "core/stored_settings.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_editor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A QML engine for the previews, settings of their own, and a library theme "Blue" written
// to a temporary folder; the library rows added here are removed again afterwards.
class ThemeEditorLifecycle : public TestUtil::QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        bluePath = folder.filePath("blue.qvt");
        // The library lists only themes with both splash images.
        const auto blue = TestUtil::sampleTheme();
        QImage portrait(27, 48, QImage::Format_RGB32);
        portrait.fill(Qt::blue);
        blue->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        ASSERT_TRUE(ThemeFileWriter(blue.get(), nullptr).write(bluePath));
        ASSERT_TRUE(library()->addTheme(bluePath, false));
    }

    void TearDown() override
    {
        TestUtil::forgetThemes({bluePath, folder.filePath("new.qvt")});
        // The editor hands its preview scene over for deferred deletion; it goes before the
        // engine it draws with.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QmlFixture::TearDown();
    }

    static ThemeLibrary* library() { return ThemeLibrary::instance(); }
    QModelIndex blueRow() const { return library()->findTheme(bluePath); }

    static void click(ThemeEditor& page, const char* button)
    {
        page.findChild<QPushButton*>(button)->click();
    }

    // Makes the theme differ from the file (one command on the editor's stack).
    static void rename(ThemeEditor& page, const QString& name)
    {
        page.findChild<QLineEdit*>("nameEdit")->setText(name);
    }

    bool hasProvider(const ThemeEditor& page) const
    {
        const QString id = QStringLiteral("theme%1").arg(page.previewProject().getSerial());
        return engine->imageProvider(id) != nullptr;
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    QString bluePath;
};

TEST_F(ThemeEditorLifecycle, DoneOnProjectThemeHandsBackACopyWithFreshSplashes)
{
    Velmora::Configuration project;
    project.setTheme(TestUtil::sampleTheme().release());
    ThemeEditor page;
    QSignalSpy done(&page, &ThemeEditor::done);
    QSize landscape, portrait;
    QString name;
    int saves = 0;
    QObject::connect(&page, &ThemeEditor::saveThemeExternally, [&](const Velmora::Theme* theme) {
        ++saves;
        EXPECT_NE(theme, project.getTheme());
        name = theme->getName();
        landscape = theme->getLandscapeSplash().size();
        portrait = theme->getPortraitSplash().size();
    });

    page.editProjectTheme(project);
    EXPECT_EQ(page.editMode(), 1);
    EXPECT_TRUE(page.findChild<QWidget*>("themeNameContainer")->isHidden());
    EXPECT_FALSE(page.findChild<QWidget*>("backgroundImageTab")->isEnabled());
    EXPECT_FALSE(page.findChild<QWidget*>("iconTab")->isEnabled());
    EXPECT_TRUE(hasProvider(page));

    // Unchanged, it is still handed back, so that the project gets its "Edit Theme" step.
    click(page, "doneButton");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(name, "Blue");
    EXPECT_EQ(landscape, QSize(480, 272));
    EXPECT_EQ(portrait, QSize(272, 480));
    EXPECT_EQ(done.count(), 1);
    EXPECT_FALSE(page.editedTheme());
    EXPECT_FALSE(hasProvider(page));
    // The project's own theme is left as it was.
    EXPECT_EQ(project.getTheme()->getLandscapeSplash().size(), QSize(48, 27));
    EXPECT_FALSE(StoredSettings().contains("File/LastTheme"));
}

TEST_F(ThemeEditorLifecycle, DoneOnLibraryTheme)
{
    const QByteArray before = fileBytes(bluePath);
    ThemeEditor page;
    QSignalSpy done(&page, &ThemeEditor::done);

    // Unchanged: nothing is written, the folder is still remembered.
    page.editTheme(blueRow());
    EXPECT_EQ(page.editMode(), 0);
    EXPECT_FALSE(page.findChild<QWidget*>("themeNameContainer")->isHidden());
    EXPECT_TRUE(page.findChild<QWidget*>("iconTab")->isEnabled());
    EXPECT_EQ(page.findChild<QLineEdit*>("nameEdit")->text(), "Blue");
    EXPECT_EQ(page.findChild<QUndoStack*>()->count(), 0);
    click(page, "doneButton");
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(fileBytes(bluePath), before);
    EXPECT_EQ(StoredSettings().value("File/LastTheme").toString(), bluePath);

    // Edited: the file is rewritten and the row follows without the file being read again.
    page.editTheme(blueRow());
    rename(page, "Navy");
    click(page, "doneButton");
    EXPECT_EQ(done.count(), 2);
    EXPECT_EQ(Velmora::Theme(bluePath).getName(), "Navy");
    EXPECT_EQ(blueRow().data(Qt::DisplayRole).toString(), "Navy");
    const QIcon icon = blueRow().data(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(icon.pixmap(QSize(480, 272), QIcon::Normal).size(), QSize(480, 272));
    EXPECT_EQ(icon.pixmap(QSize(272, 480), QIcon::Disabled).size(), QSize(272, 480));
}

TEST_F(ThemeEditorLifecycle, DoneOnNewThemeWritesAddsAndRegistersIt)
{
    const QString path = folder.filePath("new.qvt");
    ThemeEditor page;
    QStringList registered;
    page.setThemeRegistrar([&](const QString& added) { registered << added; });
    QSignalSpy done(&page, &ThemeEditor::done);

    page.createNewTheme("Green", path, blueRow());
    EXPECT_EQ(page.findChild<QLineEdit*>("nameEdit")->text(), "Green");
    EXPECT_FALSE(QFileInfo::exists(path));
    click(page, "doneButton");

    EXPECT_EQ(done.count(), 1);
    const Velmora::Theme written(path);
    EXPECT_EQ(written.getName(), "Green");
    EXPECT_EQ(written.getPortraitSplash().size(), QSize(272, 480));
    const QModelIndex row = library()->findTheme(path);
    ASSERT_TRUE(row.isValid());
    EXPECT_EQ(row.data(Qt::DisplayRole).toString(), "Green");
    EXPECT_FALSE(row.data(ThemeLibrary::BuiltInRole).toBool());
    EXPECT_EQ(registered, QStringList{path});
    EXPECT_EQ(StoredSettings().value("File/LastTheme").toString(), path);

    // Another new theme written over that listed file: its row follows, and the path is
    // neither listed nor registered twice.
    page.createNewTheme("Teal", path, blueRow());
    click(page, "doneButton");
    const QStandardItemModel* rows = library()->model();
    EXPECT_EQ(rows->match(rows->index(0, 0), ThemeLibrary::PathRole, path, -1).size(), 1);
    EXPECT_EQ(library()->findTheme(path).data(Qt::DisplayRole).toString(), "Teal");
    EXPECT_EQ(registered, QStringList{path});
}

TEST_F(ThemeEditorLifecycle, EditingAndLettingGoOfAThemePrintsNothing)
{
    // A skin is selected in the list when the theme goes; no image fails to decode.
    auto plain = std::make_unique<EditTheme>(QString());
    ASSERT_TRUE(plain->createSkin(Velmora::ThemedItemType_BUTTON, "Normal"));
    Velmora::Configuration project;
    project.setTheme(plain.release());
    ThemeEditor page;
    EXPECT_EQ(TestUtil::consoleDuring([&] {
                  page.editProjectTheme(project);
                  click(page, "cancelButton");
                  // The views clean up after a model that went from the event loop.
                  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                  QCoreApplication::processEvents();
              }),
              "");
}

TEST_F(ThemeEditorLifecycle, CancelWithChangesAsksFirst)
{
    const QByteArray before = fileBytes(bluePath);
    const struct
    {
        QMessageBox::StandardButton answer;
        bool newTheme; // a new theme file in a folder that does not exist: writing fails
        bool released;
        const char* name; // the theme's name in the library file afterwards
    } cases[] = {
        {QMessageBox::Cancel, false, false, "Blue"},
        {QMessageBox::Discard, false, true, "Blue"},
        {QMessageBox::Save, false, true, "Teal"},
        {QMessageBox::Save, true, false, "Blue"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.answer)) + (c.newTheme ? " new" : ""));
        ThemeEditor page;
        QSignalSpy done(&page, &ThemeEditor::done);
        QSignalSpy errors(&page, &ThemeEditor::themeFileWriterError);
        if (c.newTheme)
            page.createNewTheme("Green", folder.filePath("missing/new.qvt"), blueRow());
        else
            page.editTheme(blueRow());
        rename(page, "Teal");

        TestUtil::ModalAnswerer answers;
        answers.messageBox(c.answer);
        click(page, "cancelButton");
        ASSERT_EQ(answers.pending(), 0);
        EXPECT_EQ(answers.answered().value(0).text,
                  "You have made changes to this theme.  Do you want to save the changes?");
        EXPECT_EQ(done.count(), c.released ? 1 : 0);
        EXPECT_EQ(page.editedTheme() == nullptr, c.released);
        if (!c.released) {
            EXPECT_EQ(page.findChild<QUndoStack*>()->count(), 1);
        }
        EXPECT_EQ(errors.count(), c.newTheme ? 1 : 0);
        EXPECT_EQ(Velmora::Theme(bluePath).getName(), c.name);

        QFile file(bluePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    }
}

TEST_F(ThemeEditorLifecycle, EachBoundThemeHasTheOneImageProvider)
{
    Velmora::Configuration project;
    project.setTheme(TestUtil::emptyTheme("Plain").release());
    ThemeEditor page;
    EXPECT_FALSE(hasProvider(page));
    page.editTheme(blueRow());
    EXPECT_TRUE(hasProvider(page));
    // Binding another theme lets go of the first, changes and all, without a question.
    rename(page, "Navy");
    page.editProjectTheme(project);
    EXPECT_TRUE(hasProvider(page));
    EXPECT_EQ(page.editedTheme()->getName(), "Plain");
    EXPECT_EQ(page.findChild<QUndoStack*>()->count(), 0);
    click(page, "cancelButton");
    EXPECT_FALSE(hasProvider(page));

    // The provider of a theme still bound goes with the page.
    auto other = std::make_unique<ThemeEditor>();
    other->editTheme(blueRow());
    const QString id = QStringLiteral("theme%1").arg(other->previewProject().getSerial());
    EXPECT_TRUE(engine->imageProvider(id));
    other.reset();
    EXPECT_FALSE(engine->imageProvider(id));
}

} // namespace
