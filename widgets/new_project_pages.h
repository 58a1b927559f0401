#pragma once

#include <QString>
#include <QWizardPage>

class CenteredIconGridView;
class QLineEdit;
class ThemeSplashDelegate;

// The first page of the new-project wizard: the project's name, its file and the screen
// orientation. It registers the wizard fields "project_name" and "path" (both mandatory, so
// Next stays disabled while either is empty) and "orientation" (the combo's index: 0
// landscape, 1 portrait).
//
// Until the user edits the file name by hand or picks one with "Browse...", the file name
// follows the name: the name with the project extension, in the folder of the last project
// file. On Next, an existing file is only replaced after the user agreed to overwrite it,
// unless the save dialog of "Browse..." already asked.
class NewProjectPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit NewProjectPage(QWidget* parent = nullptr);

    bool validatePage() override;

private slots:
    void onNameChange(const QString& name);
    void onFileNameChange();
    void onBrowseClicked();

private:
    void setFileNameQuietly(const QString& path);

    QLineEdit* nameEdit;
    QLineEdit* fileNameEdit;
    // While true, every change of the name rewrites the file name.
    bool followName = true;
    // While true, validatePage asks before an existing file is replaced.
    bool confirmOverwrite = true;
};

// The page of the new-project wizard that picks the project's theme from the theme library,
// one cell per theme drawn as its splash image for the project's orientation. Complete while
// a theme is chosen.
class ProjectThemePage : public QWizardPage
{
    Q_OBJECT

public:
    explicit ProjectThemePage(QWidget* parent = nullptr);

    // Selects the library's row of the theme file, as the theme of the last new project. A
    // path the library no longer lists leaves nothing chosen.
    void setThemePath(const QString& path);
    // 1 landscape, 2 portrait: which splash image the cells show.
    void setOrientation(int orientation);
    // The chosen theme file; empty when none is chosen.
    const QString& themePath() const { return m_themePath; }

    void initializePage() override;
    bool isComplete() const override;

private slots:
    void onThemeSelected();

private:
    CenteredIconGridView* view;
    ThemeSplashDelegate* delegate;
    QString m_themePath;
};
