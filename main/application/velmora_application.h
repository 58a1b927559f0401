#pragma once

#include "gui/colour_swatch.h"
#include "gui/launch_dialog_handler.h"
#include "main/new_project_data.h"
#include "main/velmora_document.h"
#include "velmora_objects/velmora_types.h"

#include <QApplication>
#include <QFuture>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUndoGroup>
#include <QVariant>
#include <map>
#include <memory>
#include <set>

class ActionManager;
class ApplicationProjectAccess;
class EditingOperations;
class MainWindow;
class PagePreviewScene;
class PreviewNavigation;
class PropertyDispatch;
class QAction;
class QSplashScreen;
class RecentFiles;
class SelectionManager;
class VelmoraLaunchDialog;
class VelmoraPreferences;
class VersionChecker;
class WysiwygLayout;
struct ConfigurationEditRecord;

namespace Velmora {
class Theme;
}

// The program's one application object. It owns the open project (one document for the whole
// run, emptied and refilled by new, open and close), the undo group, the action set, the
// preferences, the recent-file list, the selection and the shared colour swatch; it shows the
// splash screen and the launch dialog; it answers the program's own events (1000 launched,
// 1001 launch dialog wanted, 1002 splash hidden, 1003 to 1012 the document's change events)
// and the platform's file-open event; and it carries the project's lifecycle: new, open,
// save, save as, save as minimal, close, and the question whether to save a modified project.
// The editing slots forward to one EditingOperations and one PropertyDispatch.
//
// States: 0 no project (main window hidden, the launch dialog offered), 1 loading (inside a
// load only), 2 a project is open (main window shown). Everything runs on the GUI thread.
class VelmoraApplication : public QApplication, public LaunchDialogHandler
{
    Q_OBJECT

public:
    using millisecs = int;

    enum State
    {
        NoProject = 0,
        Loading = 1,
        ProjectOpen = 2
    };

    // The program's own event types besides the launched event (1000) and the document's
    // change events (1003 to 1012).
    static constexpr QEvent::Type LaunchRequestEvent = QEvent::Type(1001);
    static constexpr QEvent::Type SplashHiddenEvent = QEvent::Type(1002);

    // Builds the one application object; a second one is a fatal assertion.
    static VelmoraApplication* create(int& argc, char** argv);
    static VelmoraApplication* instance() { return s_instance; }
    static void destroy();

    // The main window over this application's document, action set and undo actions, with
    // every signal of the window and of the application connected. main makes it hidden.
    MainWindow* createMainWindow();

    VelmoraDocument& document() { return m_document; }
    int state() const { return m_state; }
    NewProjectData& newProjectData() { return m_newProjectData; }
    ColourSwatch& colourSwatch() { return m_colourSwatch; }
    ActionManager* actions() const { return m_actions; }
    VelmoraPreferences* preferences() const { return m_preferences; }
    RecentFiles* recentFiles() const { return m_recentFiles; }
    SelectionManager* selection() const { return m_selection; }
    QUndoGroup& undoGroup() { return m_undoGroup; }
    QAction* undoAction() const { return m_undoAction; }
    QAction* redoAction() const { return m_redoAction; }
    QSplashScreen* splashScreen() const { return m_splash; }
    VelmoraLaunchDialog* launchDialog() const { return m_launchDialog; }
    VersionChecker* versionChecker() const { return m_versionChecker; }
    QPoint pasteOffset() const;
    QString documentPath() const { return m_document.path(); }
    PagePreviewScene* previewScene() const { return m_document.previewScene(); }
    // The undo group is not clean, or the project was never saved.
    bool isModified() const;

    // The user's list of theme files: the settings group "Themes", keys "Theme0", "Theme1" …
    static void registerTheme(const QString& path);
    static void unregisterTheme(const QString& path);
    // Adds every registered theme file to the theme library; files it refuses are forgotten.
    static void loadRegisteredThemes();

    // File dialogs (the program's own, not the platform's, so that they behave alike
    // everywhere) and the folder they start in.
    static QString lastDirectory(const QString& key, bool toFolder);
    static QStringList getThemeFiles(QWidget* parent);
    static QStringList getImageFiles(const QString& caption, bool single, QWidget* parent);
    static QString helpUrl();

    // LaunchDialogHandler: each answers true when a project is open afterwards.
    bool newDocument() override;
    bool openDocument() override;
    bool openDocument(const QString& path) override;
    bool tryExit() override { return true; }

    void setProjectProperties(const ConfigurationEditRecord& record);

signals:
    void documentOpened();
    void documentClosing();
    void documentClosed();
    void documentPathChanged();
    void undoStateChanged(bool clean);
    void propertyValuesChanged();
    void themeChanged();

public slots:
    // Closes the project after the save question; unless shutting down, the main window is
    // hidden and the launch dialog comes back. False when the user cancelled.
    bool closeDocument(bool shuttingDown);
    void closeDocument() { closeDocument(false); }
    void showSplashScreen(millisecs timeout, QWidget* parent);
    void showSplashScreen(millisecs timeout) { showSplashScreen(timeout, nullptr); }
    void showSplashScreen() { showSplashScreen(0, nullptr); }
    void hideSplashScreen();
    void updateSoftware();
    void setPropertyValue(int id, const QVariant& value);
    void createControl(Velmora::ControlType type, QRect geometry, uint pageId);
    void moveControls(std::set<uint> controlIds, QPoint deltaPos);
    void setControlGeometry(std::map<uint, QRect> geometries);
    void alignSelectedControls(int alignment);
    void layoutSelectedControls(WysiwygLayout* layout);
    bool saveDocument();
    bool saveDocumentAs(bool minimal);
    bool saveDocumentAs() { return saveDocumentAs(false); }
    bool saveDocumentAsMinimal() { return saveDocumentAs(true); }
    void onUndoStateChanged();
    void onSelectionChanged();
    void onCurrentPageChanged(uint pageId);
    void createPage();
    void deletePage();
    void duplicatePage();
    void duplicatePageSpecial();
    void raisePage();
    void lowerPage();
    void editPageSwitcher();
    void removePageSwitcher();
    void copySelectedControls();
    void setPasteControlOffset(QPoint position);
    void pasteControls();
    void onClipboardChanged();
    void deleteSelectedControls();
    void selectAllControls();
    void deleteSelection();
    void applyThemeEdits(const Velmora::Theme* theme);
    void onReleaseDataAvailable();
    // The theme editor on the open project; Done on the project theme is one undo step.
    void showThemeEditor();
    // The Quit key: closes the project through the save question, then quits.
    void quitFromMainWindow();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    VelmoraApplication(int& argc, char** argv);
    ~VelmoraApplication() override;

    bool handleProgramEvent(QEvent* e);
    void handleFileOpen(const QString& path);
    void onPageAdded(unsigned int pageId, int execution);
    void onPageRemoved(unsigned int pageId);
    void selectPageAlone(unsigned int pageId);
    void connectActions();
    void connectMainWindow(MainWindow* window);

    // The project lifecycle.
    bool maybeSave();
    void closeProject();
    bool loadProject(const QString& path);
    void finishOpen();
    void showLaunchDialog();
    void reportUndoState();
    // Empties the document after a failed open or new, so that the next one starts clean.
    void abandonProject();
    void showFailure(const QString& title, const QString& text, const QString& path,
                     const QString& message);

    static VelmoraApplication* s_instance;

    // The splash picture of the first showing, being decoded while the members below are made.
    QFuture<QImage> m_splashPicture;
    // The selection comes first: the document keeps a reference to it.
    SelectionManager* m_selection;
    VelmoraDocument m_document;
    int m_state = NoProject;
    NewProjectData m_newProjectData;
    ColourSwatch m_colourSwatch;
    ActionManager* m_actions = nullptr;
    VelmoraPreferences* m_preferences = nullptr;
    RecentFiles* m_recentFiles = nullptr;
    QUndoGroup m_undoGroup;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QSplashScreen* m_splash = nullptr;
    VelmoraLaunchDialog* m_launchDialog = nullptr;
    VersionChecker* m_versionChecker = nullptr;
    std::unique_ptr<EditingOperations> m_editing;
    std::unique_ptr<PropertyDispatch> m_dispatch;
    std::unique_ptr<ApplicationProjectAccess> m_projectAccess;
    // The preview's own page functions move the editor's current page too.
    std::unique_ptr<PreviewNavigation> m_navigation;
    // True while the page list is brought in step with the selection, so that its echo does
    // not come back as a page selection.
    bool m_syncingPageList = false;
};
