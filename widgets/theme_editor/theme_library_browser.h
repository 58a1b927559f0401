#pragma once

#include "widgets/theme_editor/theme_library_browser_form.h"

#include <QList>
#include <QModelIndex>
#include <QModelIndexList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <utility>

class ThemeSplashDelegate;

// The theme library page of the theme editor dialog: every theme file of the application-wide
// library as a grid of landscape splash pictures with the theme names. Several themes can be
// selected at once.
//
// The page keeps its own buttons in step with the selection and does what touches only the
// library and the user's list of theme files: removing the selected themes and adding theme
// files picked by the user. Starting a new theme, editing one, Back and Close are the dialog's
// to connect; it reaches the widgets directly through the public form.
class ThemeLibraryBrowser : public QWidget, public Ui::ThemeLibraryBrowser
{
    Q_OBJECT

public:
    // Asks the user for theme files to add (parent); the chosen paths, empty when cancelled.
    // The platform's open-files dialog unless replaced.
    using ThemeFilesChooser = std::function<QStringList(QWidget* parent)>;
    // Adds a path to, or removes it from, the user's list of theme files that start-up loads.
    using ThemeRegistrar = std::function<void(const QString& path)>;

    explicit ThemeLibraryBrowser(QWidget* parent = nullptr);
    ~ThemeLibraryBrowser() override;

    // Room for two rows of two themes; a larger page shows as many as fit.
    QSize sizeHint() const override;

    void setThemeFilesChooser(ThemeFilesChooser chooser) { filesChooser = std::move(chooser); }
    void setThemeRegistrar(ThemeRegistrar registrar) { registerTheme = std::move(registrar); }
    void setThemeUnregistrar(ThemeRegistrar unregistrar)
    {
        unregisterTheme = std::move(unregistrar);
    }

    // The selected library rows, in the order of the library.
    QModelIndexList selectedThemes() const;
    // The template for a new theme: the selected row when exactly one is, else invalid.
    QModelIndex templateTheme() const;

    // Enables Remove while themes are selected and none of them came with the application, and
    // Edit when moreover exactly one is.
    void updateButtons();
    // Takes every selected theme out of the library and out of the user's list, without asking;
    // the files stay on disk.
    void removeSelectedThemes();
    // Lets the user pick theme files and adds those the library does not list yet; then shows
    // the first picked file that is listed, leaving the selection alone, and tells in one
    // message each file that it cannot add, with the reader's reason.
    void browseForThemes();
    // Lists below the grid the theme files that the library's folder scans left out, with
    // why; hidden when there are none.
    void showRefusedThemes();

private:
    // The message of the files picked that could not be added: (path, reason) each.
    void tellRefusedThemes(const QList<std::pair<QString, QString>>& refused);

    ThemeSplashDelegate* delegate = nullptr;
    ThemeFilesChooser filesChooser;
    ThemeRegistrar registerTheme;
    ThemeRegistrar unregisterTheme;
};
