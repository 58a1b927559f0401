#include "widgets/main_window.h"
#include "core/stored_settings.h"

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "appengine/wysiwyg_layout.h"
#include "gui/url_opener.h"
#include "gui/window_utilities.h"
#include "main/action_manager.h"
#include "main/velmora_document.h"
#include "main/vendor_variants.h"
#include "widgets/configuration_properties_dialog.h"
#include "widgets/page_list.h"
#include "widgets/page_preview.h"
#include "widgets/preferences_dialog.h"
#include "widgets/property_editor.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

MainWindow* MainWindow::s_instance = nullptr;

namespace {

const char* const positionKey = "Geometry/Position";
const char* const sizeKey = "Geometry/Size";
const char* const maximisedKey = "Geometry/Maximised";
const char* const docksKey = "Geometry/Docks";

} // namespace

MainWindow::MainWindow(VelmoraDocument& document, ActionManager& actions, Preferences& preferences,
                       QAction* undoAction, QAction* redoAction, QWidget* parent)
    : QMainWindow(parent), document(document), actions(actions), preferences(preferences)
{
    Q_ASSERT(!s_instance);
    s_instance = this;
    setObjectName(QStringLiteral("MainWindow"));

    buildMainToolBar(undoAction, redoAction);
    buildMenuBar();
    buildControlsToolBar();
    buildLayoutToolBar();
    buildShortcuts();
    buildCentralWidget();
    buildDocks();
    connectActions();
    loadWindowGeometry();

    resetDocks();
    setAttribute(Qt::WA_AlwaysShowToolTips);
    pageList->setEnabled(false);
    pagePreview->setEnabled(false);
    propertyEditor->setEnabled(false);
    refreshWindowTitle();
}

MainWindow::~MainWindow()
{
    storeWindowGeometry();
    if (s_instance == this)
        s_instance = nullptr;
}

MainWindow* MainWindow::instance()
{
    return s_instance;
}

void MainWindow::destroyInstance()
{
    delete s_instance;
}

QUrl MainWindow::helpUrl()
{
    // A local file URL from the path, so that an absolute folder does not add a fourth slash.
    return QUrl::fromLocalFile(resourcesPath() + QStringLiteral("/help/Default.htm"));
}

QAction* MainWindow::action(ActionManager::ActionId id) const
{
    return actions.action(id);
}

void MainWindow::appendActions(QWidget* bar,
                               std::initializer_list<ActionManager::ActionId> ids) const
{
    for (ActionManager::ActionId id : ids)
        bar->addAction(action(id));
}

void MainWindow::addDropDown(QToolBar* bar, ActionManager::ActionId id,
                             ActionManager::ActionId menuId)
{
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action(id)));
    if (!button)
        return;
    auto* menu = new QMenu(this);
    menu->addAction(action(menuId));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
}

void MainWindow::buildMainToolBar(QAction* undoAction, QAction* redoAction)
{
    if (!undoAction)
        undoAction = document.undoStack().createUndoAction(this, tr("Undo"));
    if (!redoAction)
        redoAction = document.undoStack().createRedoAction(this, tr("Redo"));

    mainToolBar = new QToolBar(this);
    mainToolBar->setObjectName(QStringLiteral("Main Tool Bar"));
    mainToolBar->setFocusPolicy(Qt::ClickFocus);
    mainToolBar->setFloatable(false);
    appendActions(mainToolBar, {ActionManager::ActionId_NEW, ActionManager::ActionId_OPEN_RECENT,
                                ActionManager::ActionId_SAVE, ActionManager::ActionId_SAVE_AS});
    addDropDown(mainToolBar, ActionManager::ActionId_SAVE_AS,
                ActionManager::ActionId_SAVE_AS_MINIMAL);
    mainToolBar->addSeparator();
    mainToolBar->addAction(undoAction);
    mainToolBar->addAction(redoAction);
    mainToolBar->addSeparator();
    appendActions(mainToolBar,
                  {ActionManager::ActionId_CREATE_PAGE, ActionManager::ActionId_DUPLICATE_PAGE});
    addDropDown(mainToolBar, ActionManager::ActionId_DUPLICATE_PAGE,
                ActionManager::ActionId_DUPLICATE_PAGE_ADVANCED);
    appendActions(mainToolBar,
                  {ActionManager::ActionId_RAISE_PAGE, ActionManager::ActionId_LOWER_PAGE});
    mainToolBar->addSeparator();
    mainToolBar->addAction(action(ActionManager::ActionId_DELETE));
    mainToolBar->addSeparator();
    appendActions(mainToolBar, {ActionManager::ActionId_ZOOM_IN, ActionManager::ActionId_ZOOM_OUT});
    mainToolBar->addSeparator();
    appendActions(mainToolBar,
                  {ActionManager::ActionId_THEME_EDITOR, ActionManager::ActionId_PROJECT_PROPERTIES,
                   ActionManager::ActionId_PREFERENCES, ActionManager::ActionId_HELP,
                   ActionManager::ActionId_ABOUT});
    // Pushes the software update to the far end of the bar.
    auto* spacer = new QWidget(mainToolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mainToolBar->addWidget(spacer);
    mainToolBar->addAction(action(ActionManager::ActionId_SOFTWARE_UPDATE));
}

void MainWindow::buildMenuBar()
{
    auto* bar = new QMenuBar;
    QMenu* file = bar->addMenu(tr("File"));
    appendActions(file, {ActionManager::ActionId_NEW, ActionManager::ActionId_OPEN,
                         ActionManager::ActionId_OPEN_RECENT});
    file->addSeparator();
    appendActions(file, {ActionManager::ActionId_SAVE, ActionManager::ActionId_SAVE_AS,
                         ActionManager::ActionId_PREFERENCES, ActionManager::ActionId_ABOUT});
    bar->addMenu(tr("Help"))->addAction(action(ActionManager::ActionId_HELP));
    setMenuBar(bar);
}

void MainWindow::buildControlsToolBar()
{
    controlsToolBar = new QToolBar(this);
    controlsToolBar->setObjectName(QStringLiteral("Controls Tool Bar"));
    controlsToolBar->setFocusPolicy(Qt::ClickFocus);
    controlsToolBar->setFloatable(false);
    appendActions(controlsToolBar,
                  {ActionManager::ActionId_ADD_BUTTON, ActionManager::ActionId_ADD_SLIDER,
                   ActionManager::ActionId_ADD_COLOUR_PICKER, ActionManager::ActionId_ADD_LABEL,
                   ActionManager::ActionId_ADD_KEYPAD, ActionManager::ActionId_ADD_CLOCK});
    controlsToolBar->addSeparator();
    appendActions(controlsToolBar,
                  {ActionManager::ActionId_COPY_CONTROLS, ActionManager::ActionId_PASTE_CONTROLS,
                   ActionManager::ActionId_EDIT_CONTROLS});
    if (auto* button = qobject_cast<QToolButton*>(
            controlsToolBar->widgetForAction(action(ActionManager::ActionId_EDIT_CONTROLS))))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    controlsToolBar->addSeparator();
    controlsToolBar->addAction(action(ActionManager::ActionId_PAGE_SWITCHER));
}

void MainWindow::buildLayoutToolBar()
{
    layoutToolBar = new QToolBar(this);
    layoutToolBar->setObjectName(QStringLiteral("Layout Tool Bar"));
    layoutToolBar->setFocusPolicy(Qt::ClickFocus);
    layoutToolBar->setFloatable(false);
    layoutToolBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    appendActions(layoutToolBar,
                  {ActionManager::ActionId_LAYOUT_HORIZONTAL,
                   ActionManager::ActionId_LAYOUT_VERTICAL, ActionManager::ActionId_LAYOUT_GRID});
    connect(&actions, &ActionManager::layoutActionTriggered, this,
            &MainWindow::onLayoutActionTriggered);
    layoutToolBar->addWidget(new QLabel(tr("Spacing"), layoutToolBar));
    spacingSpinBox = new QSpinBox(layoutToolBar);
    spacingSpinBox->setRange(0, 500);
    spacingSpinBox->setValue(10);
    layoutToolBar->addWidget(spacingSpinBox);
    layoutToolBar->addSeparator();
    appendActions(layoutToolBar,
                  {ActionManager::ActionId_ALIGN_LEFT, ActionManager::ActionId_ALIGN_RIGHT,
                   ActionManager::ActionId_ALIGN_TOP, ActionManager::ActionId_ALIGN_BOTTOM,
                   ActionManager::ActionId_ALIGN_V_MIDDLE, ActionManager::ActionId_ALIGN_H_MIDDLE});
}

void MainWindow::buildShortcuts()
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, &actions, &ActionManager::uncheckAllControlEditActions);

    auto* selectAll = new QShortcut(QKeySequence::SelectAll, this);
    selectAll->setContext(Qt::WindowShortcut);
    connect(selectAll, &QShortcut::activated, this, &MainWindow::selectAllControlsRequested);

    auto* deselect = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    deselect->setContext(Qt::WindowShortcut);
    SelectionManager* selection = &document.selection();
    connect(deselect, &QShortcut::activated, selection, [selection] { selection->clear(); });
}

void MainWindow::buildCentralWidget()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    pagePreview = new PagePreview(document, central);
    layout->addWidget(pagePreview, 1);
    pagePreview->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pagePreview->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(central);

    PagePreview::Actions viewActions;
    viewActions.createPage = action(ActionManager::ActionId_CREATE_PAGE);
    viewActions.duplicatePage = action(ActionManager::ActionId_DUPLICATE_PAGE);
    viewActions.editPageSwitcher = action(ActionManager::ActionId_PAGE_SWITCHER);
    viewActions.zoomIn = action(ActionManager::ActionId_ZOOM_IN);
    viewActions.zoomOut = action(ActionManager::ActionId_ZOOM_OUT);
    viewActions.copyControls = action(ActionManager::ActionId_COPY_CONTROLS);
    viewActions.pasteControls = action(ActionManager::ActionId_PASTE_CONTROLS);
    viewActions.deleteSelection = action(ActionManager::ActionId_DELETE);
    pagePreview->setActions(viewActions);
    pagePreview->setPreferences(&preferences);
    ActionManager* actionSet = &actions;
    pagePreview->setAddControlToolSetter([actionSet](Velmora::ControlType type, bool checked) {
        actionSet->setAddControlActionChecked(type, checked);
    });
    connect(&actions, &ActionManager::zoomLevelChanged, pagePreview,
            &PagePreview::onZoomLevelChanged);
    connect(&actions, &ActionManager::addControlActionToggled, pagePreview,
            &PagePreview::onAddControlActionToggled);
    connect(action(ActionManager::ActionId_EDIT_CONTROLS), &QAction::toggled, pagePreview,
            &PagePreview::enableEditControlMode);
    connect(pagePreview, &PagePreview::rightClickPosition, this,
            &MainWindow::pasteControlOffsetChanged);
    connect(pagePreview, &PagePreview::copyRequested, this, &MainWindow::copyControlsRequested);
    connect(pagePreview, &PagePreview::pasteRequested, this, &MainWindow::pasteControlsRequested);
}

void MainWindow::buildDocks()
{
    pageList = new PageList;
    PageList::Actions listActions;
    listActions.createPage = action(ActionManager::ActionId_CREATE_PAGE);
    listActions.duplicatePage = action(ActionManager::ActionId_DUPLICATE_PAGE);
    listActions.raisePage = action(ActionManager::ActionId_RAISE_PAGE);
    listActions.lowerPage = action(ActionManager::ActionId_LOWER_PAGE);
    listActions.deletePages = action(ActionManager::ActionId_DELETE);
    pageList->setActions(listActions);

    pageListDock = new QDockWidget(tr("Pages"), this);
    pageListDock->setObjectName(QStringLiteral("Page List"));
    pageListDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    pageListDock->setAllowedAreas(Qt::LeftDockWidgetArea);
    pageListDock->setWidget(pageList);

    propertyEditor = new PropertyEditor;
    propertyEditorDock = new QDockWidget(tr("Property Editor"), this);
    propertyEditorDock->setObjectName(QStringLiteral("Property Editor"));
    propertyEditorDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    propertyEditorDock->setAllowedAreas(Qt::RightDockWidgetArea);
    propertyEditorDock->setWidget(propertyEditor);

    connect(propertyEditor, &PropertyEditor::propertyValueChanged, this,
            &MainWindow::propertyValueChanged);
}

void MainWindow::connectActions()
{
    connect(action(ActionManager::ActionId_THEME_EDITOR), &QAction::triggered, this,
            &MainWindow::showThemeEditorDialog);
    connect(action(ActionManager::ActionId_PROJECT_PROPERTIES), &QAction::triggered, this,
            &MainWindow::showConfigPropertiesDialog);
    connect(action(ActionManager::ActionId_PREFERENCES), &QAction::triggered, this,
            &MainWindow::showPreferencesDialog);
    connect(action(ActionManager::ActionId_HELP), &QAction::triggered, this, &MainWindow::showHelp);
    connect(&document.selection(), &SelectionManager::selectionChanged, this,
            &MainWindow::onSelectionChanged);
}

void MainWindow::loadWindowGeometry()
{
    const StoredSettings settings;
    const QPoint position = settings.value(positionKey, QPoint(0, 0)).toPoint();
    const QSize size = settings.value(sizeKey, QSize(1024, 768)).toSize();
    const bool maximised = settings.value(maximisedKey, false).toBool();
    QRect rect(position, size);
    ensureOnScreen(rect);
    move(rect.topLeft());
    resize(rect.size());
    if (maximised)
        setWindowState(Qt::WindowMaximized);
}

void MainWindow::storeWindowGeometry() const
{
    StoredSettings settings;
    settings.setValue(positionKey, pos());
    settings.setValue(sizeKey, size());
    settings.setValue(maximisedKey, isMaximized());
    settings.setValue(docksKey, saveState(0));
}

void MainWindow::resetDocks()
{
    addToolBar(Qt::TopToolBarArea, mainToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, controlsToolBar);
    addToolBar(Qt::TopToolBarArea, layoutToolBar);
    pageListDock->setFloating(false);
    addDockWidget(Qt::LeftDockWidgetArea, pageListDock);
    propertyEditorDock->setFloating(false);
    addDockWidget(Qt::RightDockWidgetArea, propertyEditorDock);
}

void MainWindow::onDocumentOpened()
{
    documentOpen = true;
    pageList->setDocumentModels(document);
    pagePreview->setScene(document.previewScene());
    if (pagePreview->scene())
        pagePreview->centerOn(pagePreview->scene()->sceneRect().center());
    pageList->setEnabled(true);
    pagePreview->setEnabled(true);
    propertyEditor->setEnabled(true);
    refreshWindowTitle();
}

void MainWindow::onDocumentClosing()
{
    if (QGraphicsScene* scene = pagePreview->scene())
        QObject::disconnect(pagePreview, nullptr, scene, nullptr);
    pagePreview->setScene(nullptr);
}

void MainWindow::onDocumentClosed()
{
    documentOpen = false;
    pageList->setEnabled(false);
    pagePreview->setEnabled(false);
    propertyEditor->setEnabled(false);
    refreshWindowTitle();
}

void MainWindow::onUndoStateChanged(bool clean)
{
    setWindowModified(!clean);
}

void MainWindow::showThemeEditorDialog()
{
    emit themeEditorRequested();
}

void MainWindow::showConfigPropertiesDialog()
{
    if (!documentOpen)
        return;
    ConfigurationPropertiesDialog dialog(document, this);
    if (dialog.exec() == QDialog::Accepted)
        emit projectPropertiesAccepted(dialog.editRecord());
}

void MainWindow::showPreferencesDialog()
{
    PreferencesDialog dialog(preferences, this);
    dialog.exec();
}

void MainWindow::showHelp()
{
    const QUrl url = helpUrl();
    const QString file = QDir::toNativeSeparators(QDir::cleanPath(url.toLocalFile()));
    QString problem;
    if (!QFileInfo(file).isFile())
        problem = tr("The help page %1 cannot be found.").arg(file);
    else if (!UrlOpener::open(url))
        problem = tr("No program is registered to open the help page %1.").arg(file);
    if (!problem.isEmpty())
        QMessageBox::warning(this, tr("Help"), problem, QMessageBox::Ok);
}

void MainWindow::refreshWindowTitle()
{
    const QString fullName = VendorVariants::instance().fullName;
    if (!documentOpen) {
        setWindowTitle(fullName);
        return;
    }
    setWindowTitle(QStringLiteral("%1[*] - ").arg(document.displayName()) + fullName);
}

void MainWindow::onSelectionChanged()
{
    actions.onSelectionChanged();
    propertyEditor->refresh();
    pagePreview->onSelectionChanged();
}

void MainWindow::onLayoutActionTriggered(WysiwygLayoutCreator* creator)
{
    if (!creator)
        return;
    std::unique_ptr<WysiwygLayout> layout(creator->make());
    layout->spacing = spacingSpinBox->value();
    emit layoutSelectedControlsRequested(layout.get());
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
    if (!event->isAccepted())
        pagePreview->handleKeyEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closeDocument || closeDocument(true))
        event->accept();
    else
        event->ignore();
}

QMenu* MainWindow::createPopupMenu()
{
    return nullptr;
}
