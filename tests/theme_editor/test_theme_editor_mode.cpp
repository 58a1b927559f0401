#include "widgets/theme_editor/theme_editor_mode.h"

#include <QCommandLinkButton>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

TEST(ThemeEditorMode, ButtonsHaveTheirNamesAndTexts)
{
    ThemeEditorMode page;
    EXPECT_EQ(page.windowTitle(), "Theme Editor Mode");
    EXPECT_EQ(page.findChild<QLabel*>("captionLabel")->text(), "Theme Editor");

    const struct
    {
        const char* name;
        const char* text;
        const char* description;
    } choices[] = {
        {"editProjectThemeButton", "Edit Project Theme", "Edit the theme in the current project"},
        {"saveProjectThemeButton", "Export Project Theme",
         "Save the current project theme to a file"},
        {"themeLibraryButton", "Browse Theme Library", "Edit or create new themes for future use"},
    };
    for (const auto& choice : choices) {
        auto* button = page.findChild<QCommandLinkButton*>(choice.name);
        ASSERT_TRUE(button) << choice.name;
        EXPECT_EQ(button->parentWidget(), &page);
        EXPECT_EQ(button->text(), choice.text);
        EXPECT_EQ(button->description(), choice.description);
    }
    auto* close = page.findChild<QPushButton*>("closeButton");
    ASSERT_TRUE(close && !qobject_cast<QCommandLinkButton*>(close));
    EXPECT_EQ(close->text(), "Close");
}

TEST(ThemeEditorMode, EachButtonEmitsOnlyItsOwnSignal)
{
    ThemeEditorMode page;
    const struct
    {
        const char* button;
        void (ThemeEditorMode::*signal)();
    } rows[] = {
        {"editProjectThemeButton", &ThemeEditorMode::editProjectThemeClicked},
        {"saveProjectThemeButton", &ThemeEditorMode::exportProjectThemeClicked},
        {"themeLibraryButton", &ThemeEditorMode::browseThemeLibraryClicked},
        {"closeButton", &ThemeEditorMode::closeClicked},
    };
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const auto& row : rows)
        spies.push_back(std::make_unique<QSignalSpy>(&page, row.signal));
    for (size_t clicked = 0; clicked < std::size(rows); ++clicked) {
        SCOPED_TRACE(rows[clicked].button);
        auto* button = page.findChild<QAbstractButton*>(rows[clicked].button);
        ASSERT_TRUE(button);
        button->click();
        for (size_t i = 0; i < spies.size(); ++i) {
            EXPECT_EQ(spies[i]->count(), i == clicked ? 1 : 0) << rows[i].button;
            if (i == clicked && spies[i]->count() == 1) {
                EXPECT_TRUE(spies[i]->takeFirst().isEmpty());
            }
        }
    }
}

TEST(ThemeEditorMode, ChoicesTakeTwoThirdsOfAWideRow)
{
    ThemeEditorMode page;
    page.resize(1210, 329);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto* button = page.findChild<QCommandLinkButton*>("editProjectThemeButton");
    ASSERT_TRUE(button);
    // Spacers take no layout spacing beside them, so the whole row is shared 1 : 4 : 1.
    const auto* row = page.findChild<QHBoxLayout*>("horizontalLayout");
    ASSERT_TRUE(row);
    const int shares = row->geometry().width();
    ASSERT_EQ(shares, 1210);
    EXPECT_NEAR(row->itemAt(1)->geometry().width(), shares * 4 / 6, 2);
    EXPECT_NEAR(row->itemAt(0)->geometry().width(), shares / 6, 2);
    EXPECT_NEAR(button->width(), shares * 4 / 6, 2);
}

} // namespace
