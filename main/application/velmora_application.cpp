#include "main/application/velmora_application.h"

#include "appengine/document_events.h"
#include "appengine/selection_manager.h"
#include "core/assertion.h"
#include "core/recent_files.h"
#include "gui/colour_picker.h"
#include "main/action_manager.h"
#include "main/application/application_files.h"
#include "main/application/application_project_access.h"
#include "main/application/editing_operations.h"
#include "main/application_launched_event.h"
#include "main/last_directory.h"
#include "main/orvane_style.h"
#include "main/preview_navigation.h"
#include "main/property_dispatch.h"
#include "main/software_update_dialog.h"
#include "main/velmora_launch_dialog.h"
#include "main/velmora_preferences.h"
#include "main/vendor_variants.h"
#include "main/version_checker.h"
#include "velmora_objects/meta_types.h"
#include "widgets/main_window.h"
#include "widgets/page_list.h"

#include <QAction>
#include <QBitmap>
#include <QClipboard>
#include <QEventLoop>
#include <QFileOpenEvent>
#include <QFontDatabase>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSplashScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QtConcurrent>
#include <algorithm>

VelmoraApplication* VelmoraApplication::s_instance = nullptr;

namespace {

// How long after the launch the update check starts, in ms.
const int updateCheckDelay = 1000;
// How long a window being shown may take to appear before it is painted anyway, in ms.
const int exposeTimeout = 1000;
// The splash picture, compiled into the program.
const QString splashPicturePath = QStringLiteral(":/splash.png");

// The splash picture decoded, and the font database filled (the platform's font configuration is
// read, which takes some milliseconds), on a pool thread while the application's objects are
// made: the splash needs both as soon as they are.
QFuture<QImage> prepareSplash()
{
    return QtConcurrent::run([] {
        QImage picture(splashPicturePath);
        QFontDatabase::families();
        return picture;
    });
}

// The picture with every pixel made opaque in its own colour.
QImage opaque(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xff000000u;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// Ends the loop when the window it watches is exposed.
class ExposeWatch : public QObject
{
public:
    explicit ExposeWatch(QEventLoop& loop) : loop(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Expose)
            loop.quit();
        return QObject::eventFilter(watched, e);
    }

private:
    QEventLoop& loop;
};

// Puts the shown window on the screen painted now, not when the event loop next turns: waits
// (user input held back) until the window system exposes it, paints it and hands the picture
// over.
void paintNow(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (!handle)
        return;
    if (!handle->isExposed()) {
        QEventLoop loop;
        ExposeWatch watch(loop);
        handle->installEventFilter(&watch);
        QTimer::singleShot(exposeTimeout, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        handle->removeEventFilter(&watch);
    }
    window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

VelmoraApplication* VelmoraApplication::create(int& argc, char** argv)
{
    const VelmoraApplication* const instance = s_instance;
    VELMORA_ASSERT(instance == NULL);
    s_instance = new VelmoraApplication(argc, argv);
    return s_instance;
}

void VelmoraApplication::destroy()
{
    delete s_instance;
    s_instance = nullptr;
}

VelmoraApplication::VelmoraApplication(int& argc, char** argv)
    : QApplication(argc, argv), m_splashPicture(prepareSplash()),
      m_selection(new SelectionManager(this)), m_document(*m_selection)
{
    s_instance = this;
    Velmora::registerMetaTypes();

    m_actions = new ActionManager(this);
    m_preferences = new VelmoraPreferences(this);
    m_recentFiles = new RecentFiles(QStringLiteral("File/RecentFile"), 5, this);

    const VendorVariants& vendor = VendorVariants::instance();
    setOrganizationName(vendor.settingsOrganisation);
    setApplicationName(vendor.settingsApplication);

    setStyle(new OrvaneStyle);
    ColourPicker::setDefaultView(0);

    for (const QColor colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
        m_colourSwatch.addColour(colour);
    m_colourSwatch.setActive();

    m_undoGroup.addStack(&m_document.undoStack());
    m_undoGroup.setActiveStack(&m_document.undoStack());
    connect(&m_undoGroup, &QUndoGroup::cleanChanged, this, &VelmoraApplication::onUndoStateChanged);

    m_undoAction = m_undoGroup.createUndoAction(this, QString());
    m_undoAction->setIcon(QIcon(QStringLiteral(":/icons/22x22/undo.png")));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = m_undoGroup.createRedoAction(this, QString());
    m_redoAction->setIcon(QIcon(QStringLiteral(":/icons/22x22/redo.png")));
    // Where the platform's Redo keys hold Ctrl+Shift+Z already (X11), a second binding of the
    // same key would make both ambiguous, and neither would work.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence shiftZ(QStringLiteral("Ctrl+Shift+Z"));
    if (!redoKeys.contains(shiftZ))
        redoKeys << shiftZ;
    m_redoAction->setShortcuts(redoKeys);

    m_recentFiles->load();
    m_actions->action(ActionManager::ActionId_OPEN_RECENT)->setMenu(m_recentFiles->menu());
    connect(m_recentFiles, &RecentFiles::recentFileTriggered, this,
            [this](const QString& path) { openDocument(path); });

    m_actions->setDocument(&m_document);
    m_actions->setModifiedQuery([this] { return isModified(); });
    m_actions->onDocumentClosed();

    m_editing = std::make_unique<EditingOperations>(m_document, *m_actions, m_newProjectData.page);
    m_dispatch = std::make_unique<PropertyDispatch>(m_document);
    m_projectAccess = std::make_unique<ApplicationProjectAccess>(m_document);
    ProjectAccess::setInstance(m_projectAccess.get());

    connectActions();
    connect(m_selection, &SelectionManager::selectionChanged, this,
            &VelmoraApplication::onSelectionChanged);
    connect(m_selection, &SelectionManager::currentPageChanged, this,
            &VelmoraApplication::onCurrentPageChanged);
    // A page shown by a button of the live preview becomes the current page, as one chosen in
    // the page list does: the page list, the property editor and the selection follow.
    m_navigation = std::make_unique<PreviewNavigation>(m_document);
    connect(m_navigation.get(), &PreviewNavigation::pageChosen, this, [this](unsigned int pageId) {
        if (m_state == ProjectOpen && m_document.pageExists(pageId))
            selectPageAlone(pageId);
    });
    connect(&m_undoGroup, &QUndoGroup::indexChanged, m_navigation.get(),
            &PreviewNavigation::refresh);
    connect(clipboard(), &QClipboard::dataChanged, this, &VelmoraApplication::onClipboardChanged);
}

VelmoraApplication::~VelmoraApplication()
{
    ProjectAccess::setInstance(nullptr);
    // The font database the pool thread fills goes with the application.
    m_splashPicture.waitForFinished();
    if (m_splash)
        m_splash->removeEventFilter(this);
    delete m_splash;
    m_colourSwatch.deactivate();
    m_undoGroup.removeStack(&m_document.undoStack());
    if (s_instance == this)
        s_instance = nullptr;
}

void VelmoraApplication::connectActions()
{
    using Id = ActionManager::ActionId;
    const std::pair<Id, void (VelmoraApplication::*)()> plain[] = {
        {ActionManager::ActionId_CREATE_PAGE, &VelmoraApplication::createPage},
        {ActionManager::ActionId_DUPLICATE_PAGE, &VelmoraApplication::duplicatePage},
        {ActionManager::ActionId_DUPLICATE_PAGE_ADVANCED,
         &VelmoraApplication::duplicatePageSpecial},
        {ActionManager::ActionId_RAISE_PAGE, &VelmoraApplication::raisePage},
        {ActionManager::ActionId_LOWER_PAGE, &VelmoraApplication::lowerPage},
        {ActionManager::ActionId_PAGE_SWITCHER, &VelmoraApplication::editPageSwitcher},
        {ActionManager::ActionId_COPY_CONTROLS, &VelmoraApplication::copySelectedControls},
        {ActionManager::ActionId_PASTE_CONTROLS, &VelmoraApplication::pasteControls},
        {ActionManager::ActionId_DELETE, &VelmoraApplication::deleteSelection},
    };
    for (const auto& [id, slot] : plain)
        connect(m_actions->action(id), &QAction::triggered, this, slot);
    // The file actions answer whether they completed; the menus do not ask.
    const std::pair<Id, bool (VelmoraApplication::*)()> file[] = {
        {ActionManager::ActionId_NEW, &VelmoraApplication::newDocument},
        {ActionManager::ActionId_OPEN, &VelmoraApplication::openDocument},
        {ActionManager::ActionId_OPEN_RECENT, &VelmoraApplication::openDocument},
        {ActionManager::ActionId_SAVE, &VelmoraApplication::saveDocument},
        {ActionManager::ActionId_SAVE_AS, &VelmoraApplication::saveDocumentAs},
        {ActionManager::ActionId_SAVE_AS_MINIMAL, &VelmoraApplication::saveDocumentAsMinimal},
    };
    for (const auto& [id, slot] : file)
        connect(m_actions->action(id), &QAction::triggered, this,
                [this, slot = slot] { (this->*slot)(); });
    connect(m_actions, &ActionManager::alignActionTriggered, this,
            &VelmoraApplication::alignSelectedControls);
    connect(m_actions->action(ActionManager::ActionId_ABOUT), &QAction::triggered, this,
            qOverload<>(&VelmoraApplication::showSplashScreen));
    connect(m_actions->action(ActionManager::ActionId_SOFTWARE_UPDATE), &QAction::triggered, this,
            &VelmoraApplication::updateSoftware);
}

QPoint VelmoraApplication::pasteOffset() const
{
    return m_editing->pasteOffset();
}

bool VelmoraApplication::isModified() const
{
    return !m_undoGroup.isClean() || m_document.neverSaved();
}

// Events.

bool VelmoraApplication::event(QEvent* e)
{
    if (e->type() == QEvent::FileOpen) {
        handleFileOpen(static_cast<QFileOpenEvent*>(e)->file());
        return true;
    }
    if (e->type() >= QEvent::Type(1000) && e->type() <= QEvent::Type(1012))
        handleProgramEvent(e);
    return QApplication::event(e);
}

bool VelmoraApplication::handleProgramEvent(QEvent* e)
{
    switch (int(e->type())) {
    case 1000: {
        // The check runs in the background and shows nothing until a newer release is found;
        // it starts a moment after the launch, so that the first window does not wait for the
        // network stack to come up.
        QTimer::singleShot(updateCheckDelay, this, [this] {
            if (m_versionChecker)
                return;
            m_versionChecker = new VersionChecker(VendorVariants::instance().updateUrl, this);
            connect(m_versionChecker, &VersionChecker::releaseDataAvailable, this,
                    &VelmoraApplication::onReleaseDataAvailable);
        });
        const QString path = static_cast<ApplicationLaunchedEvent*>(e)->path;
        if (!path.isEmpty() && (m_state == NoProject || maybeSave()) && loadProject(path)) {
            hideSplashScreen();
            return true;
        }
        postEvent(this, new QEvent(LaunchRequestEvent));
        return true;
    }
    case 1001:
        if (m_state == NoProject)
            showLaunchDialog();
        return true;
    case 1002:
        if (m_splash) {
            m_splash->deleteLater();
            m_splash = nullptr;
        }
        return true;
    case PageAddedEvent::EventType: {
        const auto* added = static_cast<PageAddedEvent*>(e);
        onPageAdded(added->pageId(), added->execution());
        return true;
    }
    case PageRemovedEvent::EventType:
        onPageRemoved(static_cast<PageRemovedEvent*>(e)->pageId());
        return true;
    case PagePropertyChangedEvent::EventType:
        emit propertyValuesChanged();
        m_actions->updateDeleteAction();
        return true;
    case ControlsAddedEvent::EventType: {
        const auto* added = static_cast<ControlsAddedEvent*>(e);
        if (added->execution() == Execution_FIRST_RUN)
            m_selection->selectControls(added->controlIds(), true);
        return true;
    }
    case ControlsRemovedEvent::EventType: {
        const auto* removed = static_cast<ControlsRemovedEvent*>(e);
        const auto& ids = removed->controlIds();
        if (std::any_of(ids.begin(), ids.end(),
                        [this](unsigned int id) { return m_selection->isControlSelected(id); }))
            selectPageAlone(removed->pageId());
        return true;
    }
    case ControlPropertyChangedEvent::EventType:
    case PageSwitcherPropertyChangedEvent::EventType:
        emit propertyValuesChanged();
        return true;
    case PageSwitcherUsageChangedEvent::EventType:
        m_actions->updatePageSwitcherAction();
        return true;
    case PageSwitcherRemovedEvent::EventType:
        if (m_newProjectData.page.pageSwitcherId ==
            static_cast<PageSwitcherRemovedEvent*>(e)->pageSwitcherId())
            m_newProjectData.page.pageSwitcherId = UINT_MAX;
        return true;
    case ThemeChangedEvent::EventType:
        emit themeChanged();
        return true;
    default:
        return false;
    }
}

void VelmoraApplication::onPageAdded(unsigned int pageId, int execution)
{
    if (execution != Execution_FIRST_RUN)
        return;
    NewPageData& remembered = m_newProjectData.page;
    remembered.assignNewPageId(pageId);
    if (m_document.pageExists(pageId)) {
        const unsigned int switcher = m_document.getPage(pageId).getPageSwitcherId();
        if (switcher != UINT_MAX)
            remembered.pageSwitcherId = switcher;
    }
    selectPageAlone(pageId);
}

void VelmoraApplication::onPageRemoved(unsigned int pageId)
{
    if (m_selection->currentPage() == pageId)
        selectPageAlone(m_document.getDefaultPageId());
    m_actions->updateDeleteAction();
    NewPageData& remembered = m_newProjectData.page;
    for (auto& [function, target] : remembered.navigationButtons)
        if (function == Velmora::ButtonFunction_GO_TO_PAGE && target == pageId)
            target = UINT_MAX;
    auto& pages = remembered.pageSwitcherPages;
    pages.erase(std::remove(pages.begin(), pages.end(), pageId), pages.end());
}

void VelmoraApplication::selectPageAlone(unsigned int pageId)
{
    m_selection->selectPage(pageId, true, true);
}

void VelmoraApplication::handleFileOpen(const QString& path)
{
    if (m_state != NoProject && !maybeSave())
        return;
    if (!loadProject(path))
        return;
    hideSplashScreen();
    if (m_launchDialog)
        m_launchDialog->dismiss();
}

bool VelmoraApplication::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_splash && e->type() == QEvent::Hide)
        postEvent(this, new QEvent(SplashHiddenEvent));
    return QApplication::eventFilter(watched, e);
}

// Splash screen, launch dialog and the update check.

void VelmoraApplication::showSplashScreen(millisecs timeout, QWidget* parent)
{
    if (m_splash)
        return;
    // Decoded at start-up for the first showing; decoded now for a later one (About).
    m_splashPicture.waitForFinished();
    QImage picture =
        m_splashPicture.resultCount() > 0 ? m_splashPicture.result() : QImage(splashPicturePath);
    m_splashPicture = QFuture<QImage>();
    if (picture.isNull()) {
        // A program built without its splash picture still shows who it is.
        picture = QImage(480, 272, QImage::Format_RGB32);
        picture.fill(QColor(40, 48, 64));
    }
    // An opaque window cut to the picture's outline: a see-through one shows black until it
    // is painted, and for good where no compositor runs.
    const QBitmap outline = QBitmap::fromImage(picture.createAlphaMask(Qt::ThresholdAlphaDither));
    m_splash = new QSplashScreen(QPixmap::fromImage(opaque(picture)), Qt::WindowStaysOnTopHint);
    if (parent)
        m_splash->setParent(parent, m_splash->windowFlags());
    m_splash->setMask(outline);
    QFont font = m_splash->font();
    font.setPixelSize(12);
    m_splash->setFont(font);
    const VendorVariants& vendor = VendorVariants::instance();
    const QString message =
        vendor.splashText + tr("Version %1\n").arg(currentSoftwareVersion().toString()) +
        tr("Designed and built by Orvane\n") + tr("Copyright Orvane. All rights reserved.");
    m_splash->showMessage(message, vendor.splashAlignment, vendor.splashColour);
    m_splash->installEventFilter(this);
    m_splash->show();
    // At start-up the event loop runs only once the libraries have loaded.
    paintNow(m_splash);
    if (timeout != 0)
        QTimer::singleShot(timeout, this, &VelmoraApplication::hideSplashScreen);
}

void VelmoraApplication::hideSplashScreen()
{
    if (m_splash)
        m_splash->setVisible(false);
}

void VelmoraApplication::showLaunchDialog()
{
    // Between two runs of the dialog no window may be visible; the program must not end then.
    const bool quitOnLastWindow = quitOnLastWindowClosed();
    setQuitOnLastWindowClosed(false);
    m_launchDialog = new VelmoraLaunchDialog(m_recentFiles, MainWindow::instance());
    m_launchDialog->run(this);
    m_launchDialog->deleteLater();
    m_launchDialog = nullptr;
    setQuitOnLastWindowClosed(quitOnLastWindow);
}

void VelmoraApplication::onReleaseDataAvailable()
{
    if (!m_versionChecker)
        return;
    const bool notify = m_preferences->value(VelmoraPreferences::NotifyAboutBetaReleases).toBool();
    if (m_versionChecker->isUpToDate(currentSoftwareVersion(), !notify)) {
        m_versionChecker->deleteLater();
        m_versionChecker = nullptr;
        return;
    }
    m_actions->action(ActionManager::ActionId_SOFTWARE_UPDATE)->setVisible(true);
}

void VelmoraApplication::updateSoftware()
{
    if (!m_versionChecker)
        return;
    const bool notify = m_preferences->value(VelmoraPreferences::NotifyAboutBetaReleases).toBool();
    SoftwareUpdateDialog dialog(*m_versionChecker, !notify, MainWindow::instance());
    dialog.exec();
}

// Undo state and selection.

void VelmoraApplication::reportUndoState()
{
    const bool clean = !isModified();
    m_actions->onUndoStateChanged(clean);
    emit undoStateChanged(clean);
}

void VelmoraApplication::onUndoStateChanged()
{
    reportUndoState();
}

void VelmoraApplication::onSelectionChanged()
{
    if (m_state != ProjectOpen || !m_document.pageSelectionModel())
        return;
    // The page list shares the document's page selection model and turns every change of it
    // into a page selection: its echo of this sync would replace a control or switcher
    // selection by the current page. The list is repainted by hand instead.
    const bool wasSyncing = m_syncingPageList;
    m_syncingPageList = true;
    {
        const QSignalBlocker blocker(m_document.pageSelectionModel());
        m_document.syncPageSelection();
    }
    m_syncingPageList = wasSyncing;
    if (MainWindow* window = MainWindow::instance())
        window->pageListWidget()->viewport()->update();
}

void VelmoraApplication::onCurrentPageChanged(uint pageId)
{
    if (m_state == ProjectOpen && m_document.previewScene())
        m_document.showPage(pageId);
}

// Editing: the operations do the work.

void VelmoraApplication::setPropertyValue(int id, const QVariant& value)
{
    QUndoStack* stack = m_undoGroup.activeStack();
    // Nothing pushed: the editor's row goes back to the project's value.
    if (!stack || !m_dispatch->setPropertyValue(id, value, *stack))
        emit propertyValuesChanged();
}

void VelmoraApplication::createControl(Velmora::ControlType type, QRect geometry, uint pageId)
{
    m_editing->createControl(type, geometry, pageId);
}

void VelmoraApplication::moveControls(std::set<uint> controlIds, QPoint deltaPos)
{
    m_editing->moveControls(std::move(controlIds), deltaPos);
}

void VelmoraApplication::setControlGeometry(std::map<uint, QRect> geometries)
{
    m_editing->setControlGeometry(std::move(geometries));
}

void VelmoraApplication::alignSelectedControls(int alignment)
{
    m_editing->alignSelectedControls(alignment);
}

void VelmoraApplication::layoutSelectedControls(WysiwygLayout* layout)
{
    m_editing->layoutSelectedControls(layout);
}

void VelmoraApplication::createPage()
{
    m_editing->createPage();
}

void VelmoraApplication::deletePage()
{
    m_editing->deletePage();
}

void VelmoraApplication::duplicatePage()
{
    m_editing->duplicatePage();
}

void VelmoraApplication::duplicatePageSpecial()
{
    m_editing->duplicatePageSpecial();
}

void VelmoraApplication::raisePage()
{
    m_editing->raisePage();
}

void VelmoraApplication::lowerPage()
{
    m_editing->lowerPage();
}

void VelmoraApplication::editPageSwitcher()
{
    m_editing->editPageSwitcher();
}

void VelmoraApplication::removePageSwitcher()
{
    m_editing->removePageSwitcher();
}

void VelmoraApplication::copySelectedControls()
{
    m_editing->copySelectedControls();
}

void VelmoraApplication::setPasteControlOffset(QPoint position)
{
    m_editing->setPasteControlOffset(position);
}

void VelmoraApplication::pasteControls()
{
    m_editing->pasteControls();
}

void VelmoraApplication::onClipboardChanged()
{
    m_editing->onClipboardChanged();
}

void VelmoraApplication::deleteSelectedControls()
{
    m_editing->deleteSelectedControls();
}

void VelmoraApplication::selectAllControls()
{
    m_editing->selectAllControls();
}

void VelmoraApplication::deleteSelection()
{
    m_editing->deleteSelection();
}

void VelmoraApplication::applyThemeEdits(const Velmora::Theme* theme)
{
    m_editing->applyThemeEdits(theme);
}

void VelmoraApplication::setProjectProperties(const ConfigurationEditRecord& record)
{
    m_editing->setProjectProperties(record);
}

// The files outside the project.

void VelmoraApplication::registerTheme(const QString& path)
{
    ApplicationFiles::registerTheme(path);
}

void VelmoraApplication::unregisterTheme(const QString& path)
{
    ApplicationFiles::unregisterTheme(path);
}

void VelmoraApplication::loadRegisteredThemes()
{
    ApplicationFiles::loadRegisteredThemes();
}

QString VelmoraApplication::lastDirectory(const QString& key, bool toFolder)
{
    return Velmora::lastDirectory(key, toFolder);
}

QStringList VelmoraApplication::getThemeFiles(QWidget* parent)
{
    return ApplicationFiles::getThemeFiles(parent);
}

QStringList VelmoraApplication::getImageFiles(const QString& caption, bool single, QWidget* parent)
{
    return ApplicationFiles::getImageFiles(caption, single, parent);
}

QString VelmoraApplication::helpUrl()
{
    // A local-file address made from the path, so that the absolute folder's own leading
    // slash does not make a fourth one after "file://".
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() +
                               QStringLiteral("/../Resources/help/Default.htm"))
        .toString();
}
