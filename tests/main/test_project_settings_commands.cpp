#include "common/command_fixture.h"
#include "common/sample_themes.h"
#include "main/project_settings_commands.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"

#include <functional>

using namespace Velmora;

namespace {

class ProjectSettingsCommands : public TestUtil::CommandFixture
{
protected:
    QString bundleOf(const Theme& theme, const QString& name)
    {
        ThemeFileWriter writer(&theme, nullptr);
        EXPECT_TRUE(writer.write(folder.filePath(name)));
        return folder.filePath(name);
    }

    // A project on the sample theme whose page, switcher and controls use its images and
    // skins, some of which another theme lacks.
    void createThemedProject()
    {
        const unsigned int home = create(bundleOf(*TestUtil::sampleTheme(), "blue.qvt"));
        const Theme& theme = *document->getTheme();
        document->getPage(home).setBackgroundImageId(
            theme.getPageBackgroundImages().begin()->getId());
        document->getPage(home).setIconId(theme.getIcons().begin()->getId());
        const unsigned int page = addSwitcherPage();
        const unsigned int normal = addControl(page, ControlType_BUTTON);
        document->getControl(normal).setStartupSkin("Normal");
        document->modControl<Button>(normal)->setImageId(theme.getControlImages().begin()->getId());
        document->getControl(addControl(page, ControlType_BUTTON)).setStartupSkin("Pressed");
        addControl(page, ControlType_CLOCK);
    }
};

} // namespace

// The theme is read before the command exists; undo gives back the very theme object that was
// replaced, and redo the one read at first, without reading the file again.
TEST_F(ProjectSettingsCommands, SetThemeExchangesThemesExactly)
{
    createThemedProject();
    EXPECT_EQ(SetThemeCommand::readTheme(folder.filePath("missing.qvt")), nullptr);
    const QString plainFile = bundleOf(*TestUtil::emptyTheme("Plain"), "plain.qvt");
    std::unique_ptr<Theme> plain = SetThemeCommand::readTheme(plainFile);
    ASSERT_NE(plain, nullptr);
    const Theme* original = document->getTheme();
    const QByteArray before = bytes();
    log.take();

    push(new SetThemeCommand(std::move(plain), *document));
    EXPECT_EQ(document->undoStack().text(0), "Set Theme");
    EXPECT_EQ(document->getTheme()->getName(), "Plain");
    EXPECT_EQ(log.take(), QStringList({"ThemeChanged"}));
    const QByteArray after = bytes();
    QFile::remove(plainFile);

    document->undoStack().undo();
    EXPECT_EQ(document->getTheme(), original);
    EXPECT_EQ(bytes(), before);
    document->undoStack().redo();
    EXPECT_EQ(bytes(), after);
}

// The theme editor's result is copied when the command is made, so later edits of the editor's
// theme do not reach the project.
TEST_F(ProjectSettingsCommands, EditThemeTakesACopy)
{
    createThemedProject();
    const QByteArray before = bytes();
    EditTheme edited(*document->getTheme());
    edited.setName("Edited");
    edited.removeIcon(edited.getIcons().begin()->getId());

    auto* command = new SetThemeCommand(&edited, *document);
    EXPECT_EQ(command->text(), "Edit Theme");
    edited.setName("Later");
    push(command);
    EXPECT_EQ(document->getTheme()->getName(), "Edited");
    const QByteArray after = bytes();
    document->undoStack().undo();
    EXPECT_EQ(bytes(), before);
    document->undoStack().redo();
    EXPECT_EQ(bytes(), after);
}

TEST_F(ProjectSettingsCommands, LockSettingsChangeWithoutEvents)
{
    create();
    const struct
    {
        std::function<QUndoCommand*()> make;
        std::function<bool()> changed;
    } cases[] = {
        {[&] { return new SetUnlockCodeCommand("4321", *document); },
         [&] { return document->getUnlockCode() == "4321"; }},
        {[&] { return new SetUnlockFunctionCommand(ButtonFunction_BACK, *document); },
         [&] { return document->getUnlockFunction() == ButtonFunction_BACK; }},
        {[&] { return new SetLockTimeoutCommand(120000, *document); },
         [&] { return document->getLockTimeout() == 120000; }},
    };
    const QByteArray before = bytes();
    log.take();
    for (const auto& c : cases) {
        push(c.make());
        EXPECT_TRUE(c.changed());
        document->undoStack().undo();
        EXPECT_FALSE(c.changed());
        EXPECT_EQ(bytes(), before);
    }
    EXPECT_EQ(log.take(), QStringList());
}
