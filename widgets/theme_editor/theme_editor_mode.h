#pragma once

#include "widgets/theme_editor/theme_editor_mode_form.h"

#include <QWidget>

// The home page of the theme editor dialog: edit the project theme, export it, browse the theme
// library, or close. It holds no state and decides nothing; each button's click is passed on
// as one of its signals, and the dialog chooses what follows.
class ThemeEditorMode : public QWidget, private Ui::ThemeEditorMode
{
    Q_OBJECT

public:
    explicit ThemeEditorMode(QWidget* parent = nullptr);
    ~ThemeEditorMode() override;

signals:
    void editProjectThemeClicked();
    void exportProjectThemeClicked();
    void browseThemeLibraryClicked();
    void closeClicked();
};
