#pragma once

#include "main/action_manager.h"

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <initializer_list>

class PageList;
class PagePreview;
class Preferences;
class PropertyEditor;
class QAction;
class QDockWidget;
class QSpinBox;
class QToolBar;
class VelmoraDocument;
class WysiwygLayout;
class WysiwygLayoutCreator;
struct ConfigurationEditRecord;

// The project editing window: the live page view in the middle, the page list in a fixed left
// dock, the property editor in a fixed right dock, three tool bars and the menu bar made of the
// action set's numbered actions, and the window-wide shortcuts (Escape disarms every drawing
// tool, Select All selects the current page's controls, Ctrl+D empties the selection).
//
// The window changes nothing in the project itself. Edits it starts leave it as signals (or,
// for closing, the close hook) for the application to turn into undoable commands. The
// application tells it when a project opens, is about to close and has closed, when the path
// or the clean state changed; the title follows ("name[*] - full name", the name as the
// document gives it, which the save question uses too). Tool bars and docks always start in
// the arrangement of resetDocks(); position, size and maximised state come from the settings
// store and go back there when the window is destroyed.
//
// One window exists at a time (instance()). Everything runs on the GUI thread.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The document, the action set and the preferences must outlive the window. The undo and
    // redo actions are the application's (of its undo group); null makes them from the
    // document's undo stack.
    MainWindow(VelmoraDocument& document, ActionManager& actions, Preferences& preferences,
               QAction* undoAction = nullptr, QAction* redoAction = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window alive, null when there is none.
    static MainWindow* instance();
    // Deletes the window, which saves its geometry.
    static void destroyInstance();

    // Asked when the window is to close: (shuttingDown) true when no project is open any more
    // or it was closed after the save question. Without a hook the window always closes.
    using CloseDocumentHook = std::function<bool(bool)>;
    void setCloseDocumentHook(const CloseDocumentHook& hook) { closeDocument = hook; }

    // The page shown by the Help action; a page that is missing, or that no program is there
    // to show, is reported naming its file.
    static QUrl helpUrl();

    PageList* pageListWidget() const { return pageList; }
    PagePreview* pagePreviewWidget() const { return pagePreview; }
    PropertyEditor* propertyEditorWidget() const { return propertyEditor; }
    QDockWidget* pageListDockWidget() const { return pageListDock; }
    QDockWidget* propertyEditorDockWidget() const { return propertyEditorDock; }
    QToolBar* mainToolBarWidget() const { return mainToolBar; }
    QToolBar* controlsToolBarWidget() const { return controlsToolBar; }
    QToolBar* layoutToolBarWidget() const { return layoutToolBar; }
    QSpinBox* spacingSpinBoxWidget() const { return spacingSpinBox; }

signals:
    // An accepted edit in the property editor, for the current selection.
    void propertyValueChanged(int id, const QVariant& value);
    // The scene position of the page view's right click, (0,0) once its menu has closed.
    void pasteControlOffsetChanged(const QPoint& position);
    void selectAllControlsRequested();
    void copyControlsRequested();
    void pasteControlsRequested();
    // The layout (spacing set) to apply to the selected controls as one step; the window
    // deletes it when the signal returns, so receivers must be direct.
    void layoutSelectedControlsRequested(WysiwygLayout* layout);
    // The accepted record of the project-properties dialog, to push as one undo step.
    void projectPropertiesAccepted(const ConfigurationEditRecord& record);
    // The user asked for the theme editor on the open project.
    void themeEditorRequested();

public slots:
    void onDocumentOpened();
    void onDocumentClosing();
    void onDocumentClosed();
    // The modified mark is the opposite of the clean state.
    void onUndoStateChanged(bool clean);
    void showThemeEditorDialog();
    void showConfigPropertiesDialog();
    void showPreferencesDialog();
    void showHelp();
    void refreshWindowTitle();
    void onSelectionChanged();
    void resetDocks();
    void onLayoutActionTriggered(WysiwygLayoutCreator* creator);

protected:
    // A key the window leaves unaccepted goes to the page view, so that the arrow keys move
    // the selected controls wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // No menu: tool bars and docks cannot be hidden by the user.
    QMenu* createPopupMenu() override;

private:
    QAction* action(ActionManager::ActionId id) const;
    // Appends the actions to the tool bar or menu, in the order given.
    void appendActions(QWidget* bar, std::initializer_list<ActionManager::ActionId> ids) const;
    void buildMainToolBar(QAction* undoAction, QAction* redoAction);
    void buildMenuBar();
    void buildControlsToolBar();
    void buildLayoutToolBar();
    void buildShortcuts();
    void buildCentralWidget();
    void buildDocks();
    void connectActions();
    // Gives the tool button of `id` in the bar a drop-down menu holding `menuId`.
    void addDropDown(QToolBar* bar, ActionManager::ActionId id, ActionManager::ActionId menuId);
    void loadWindowGeometry();
    void storeWindowGeometry() const;

    static MainWindow* s_instance;

    VelmoraDocument& document;
    ActionManager& actions;
    Preferences& preferences;
    CloseDocumentHook closeDocument;
    bool documentOpen = false;

    PageList* pageList = nullptr;
    PagePreview* pagePreview = nullptr;
    PropertyEditor* propertyEditor = nullptr;
    QDockWidget* pageListDock = nullptr;
    QDockWidget* propertyEditorDock = nullptr;
    QToolBar* mainToolBar = nullptr;
    QToolBar* controlsToolBar = nullptr;
    QToolBar* layoutToolBar = nullptr;
    QSpinBox* spacingSpinBox = nullptr;
};
