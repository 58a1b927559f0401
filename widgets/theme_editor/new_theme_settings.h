#pragma once

#include "widgets/theme_editor/new_theme_settings_form.h"

#include <QModelIndex>
#include <QString>
#include <QWidget>

// The page on which the user starts a new theme file: its name, its path and the library theme
// it starts as a copy of. The page writes nothing; once the user confirms it emits ready() and
// the dialog reads name(), filePath() and templateTheme().
class NewThemeSettings : public QWidget, private Ui::NewThemeSettings
{
    Q_OBJECT

public:
    explicit NewThemeSettings(QWidget* parent = nullptr);
    ~NewThemeSettings() override;

    QString name() const;
    QString filePath() const;
    // The library row chosen as the template; invalid when none is selected.
    QModelIndex templateTheme() const;

    // Prepares the page for one new theme: with a valid library row, the row is selected and
    // its theme's name proposed, the path following it; otherwise both are empty and nothing
    // is selected. The name gets the focus.
    void setTemplateTheme(const QModelIndex& index);

signals:
    // The user confirmed; the path has its extension and replacing a file there was agreed to.
    void ready();
    void cancel();

public slots:
    // Create Theme is enabled while a name, a path and exactly one template are given.
    void checkReady();
    void onNextClicked();
};
