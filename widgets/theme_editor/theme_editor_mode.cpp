#include "widgets/theme_editor/theme_editor_mode.h"

ThemeEditorMode::ThemeEditorMode(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    connect(editProjectThemeButton, &QAbstractButton::clicked, this,
            &ThemeEditorMode::editProjectThemeClicked);
    connect(saveProjectThemeButton, &QAbstractButton::clicked, this,
            &ThemeEditorMode::exportProjectThemeClicked);
    connect(themeLibraryButton, &QAbstractButton::clicked, this,
            &ThemeEditorMode::browseThemeLibraryClicked);
    connect(closeButton, &QAbstractButton::clicked, this, &ThemeEditorMode::closeClicked);
}

ThemeEditorMode::~ThemeEditorMode() = default;
