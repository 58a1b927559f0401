#pragma once

#include "core/progress_handler.h"
#include "widgets/theme_editor/theme_library_browser.h"

#include <QDialog>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class ExportThemeWidget;
class NewThemeSettings;
class QProgressDialog;
class QStackedWidget;
class ThemeEditor;
class ThemeEditorMode;

namespace Velmora {
class Configuration;
class Theme;
} // namespace Velmora

// The modal dialog from which every theme job starts: editing the open project's theme,
// exporting it to a theme file, browsing the theme library, creating a theme file from a
// template and editing a library theme. Its five pages share one stack; the dialog only moves
// between them as the pages announce their outcomes. While splash images are generated and
// theme files written it shows a progress window fed by its own progress handler.
//
// The application's services reach the dialog as callbacks: recording and forgetting theme
// files in the user's list and asking for theme files to add. They are passed on to the pages
// that use them.
class ThemeEditorDialog : public QDialog
{
    Q_OBJECT

public:
    using ThemeRegistrar = std::function<void(const QString& path)>;
    using ThemeFilesChooser = ThemeLibraryBrowser::ThemeFilesChooser;

    explicit ThemeEditorDialog(QWidget* parent = nullptr);
    ~ThemeEditorDialog() override;

    // The project whose theme the project choices work on; not owned.
    void setConfiguration(Velmora::Configuration* project) { configuration = project; }

    // Records a theme file that was created, exported or added to the library.
    void setThemeRegistrar(const ThemeRegistrar& registrar);
    // Forgets a theme file taken out of the library.
    void setThemeUnregistrar(const ThemeRegistrar& unregistrar);
    void setThemeFilesChooser(const ThemeFilesChooser& chooser);

    QSize sizeHint() const override;

    // The geometry the dialog takes when the editor page opens: grown to at least 800 high
    // (around its middle) and 725 wide (to the right), then cut to the screen's size and moved
    // onto it, so that the whole window, its frame included, lies on the screen. The rectangles
    // are the dialog's inside (without the frame) and the screen's available geometry; the
    // margins are those of the window frame.
    static QRect editorGeometry(const QRect& dialog, const QRect& screen,
                                const QMargins& frame = QMargins());

signals:
    // The edited project theme, owned by the editor; receivers copy what they keep.
    void saveThemeExternally(const Velmora::Theme* theme);

public slots:
    // Escape and the window's close button come here: while a theme is open in the editor, the
    // dialog asks whether to save it first, and Cancel keeps the dialog open.
    void reject() override;

    void editProjectTheme();
    void exportProjectTheme();
    void browseThemeLibrary();
    void addNewThemeClicked();
    void createNewTheme();
    void cancelNewTheme();
    void editThemeClicked();
    void doneEditing();
    void onThemeFileWriterError(int code, const QString& reason = QString());
    void backToHome();

private:
    // The dialog's rectangle (without the frame) cut to the screen's size and moved onto it, so
    // that the whole window, its frame included, lies on the screen.
    static QRect onScreen(const QRect& dialog, const QRect& screen, const QMargins& frame);
    // The margins of the window frame around the dialog, and the available geometry of its
    // screen.
    QMargins frameMargins() const;
    QRect screenGeometry() const;
    void showThemeEditor();
    // Every page change goes through here. The editor page counts towards the dialog's least
    // size only while it is shown, and leaving it gives the dialog back the geometry it had
    // before the editor page grew it.
    void showPage(QWidget* page);
    // Says that the theme file could not be loaded for want of memory.
    void refuseThemeFile(const QString& path);
    static void onProgress(unsigned done, unsigned total, void* user);
    static void onProgressText(const QString* title, const QString* message, void* user);

    ThemeEditor* themeEditor = nullptr;
    ThemeEditorMode* modePage = nullptr;
    ThemeLibraryBrowser* libraryPage = nullptr;
    NewThemeSettings* newThemePage = nullptr;
    ExportThemeWidget* exportPage = nullptr;
    QStackedWidget* stack = nullptr;
    ProgressHandler progressHandler;
    // Exists while a reported operation runs.
    QProgressDialog* progressDialog = nullptr;
    Velmora::Configuration* configuration = nullptr;
    // The geometry before the editor page opened; invalid while the editor page is not shown.
    QRect geometryBeforeEditor;
};
