// The project lifecycle of the application object: new, open, save, save as, close, the
// question whether to save a modified project, and the main window's ties to all of it.

#include "core/stored_settings.h"
#include "main/application/velmora_application.h"

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "appengine/wysiwyg_layout.h"
#include "core/recent_files.h"
#include "main/action_manager.h"
#include "main/application/application_files.h"
#include "main/application/editing_operations.h"
#include "main/preview_navigation.h"
#include "main/velmora_launch_dialog.h"
#include "main/velmora_preferences.h"
#include "main/vendor_variants.h"
#include "velmora_objects/theme.h"
#include "widgets/configuration_edit_record.h"
#include "widgets/main_window.h"
#include "widgets/new_page_wizard.h"
#include "widgets/property_editor.h"
#include "widgets/theme_editor/theme_editor_dialog.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QShortcut>
#include <memory>
#include <new>
#include <stdexcept>

namespace {

const QString lastFileKey = QStringLiteral("File/LastFile");

// The reason of an open (or a new project) that this process had not the memory for: the
// document's own, when the reading ran short, or the preparation of the workspace's.
QString notEnoughMemoryToOpen()
{
    return QStringLiteral("There is not enough memory to open the project");
}

} // namespace

bool VelmoraApplication::maybeSave()
{
    if (m_state != ProjectOpen || !isModified())
        return true;
    const auto answer = QMessageBox::question(
        MainWindow::instance(), tr("Save"),
        tr("%1 has been modified. Do you want to save the changes?").arg(m_document.displayName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::NoButton);
    if (answer == QMessageBox::Save)
        return saveDocument();
    return answer == QMessageBox::Discard;
}

void VelmoraApplication::closeProject()
{
    if (m_state != ProjectOpen)
        return;
    disconnect(&m_document, nullptr, nullptr, nullptr);
    m_selection->clear(false);
    m_selection->setCurrentPage(UINT_MAX);
    m_actions->onDocumentClosed();
    emit documentClosing();
    m_document.clear();
    m_state = NoProject;
    reportUndoState();
    emit documentClosed();
}

void VelmoraApplication::abandonProject()
{
    if (m_state == ProjectOpen) {
        closeProject();
        return;
    }
    m_document.clear();
    m_state = NoProject;
}

void VelmoraApplication::showFailure(const QString& title, const QString& text, const QString& path,
                                     const QString& message)
{
    hideSplashScreen();
    QMessageBox::warning(MainWindow::instance(), title,
                         text.arg(VendorVariants::instance().fullName, path, message),
                         QMessageBox::Ok);
}

bool VelmoraApplication::loadProject(const QString& path)
{
    if (m_state == ProjectOpen && path == m_document.path() && !isModified())
        return false;
    closeProject();
    m_newProjectData.page.clearReferences();
    StoredSettings().setValue(lastFileKey, path);
    m_state = Loading;

    QString failure;
    {
        QProgressDialog progress(MainWindow::instance(),
                                 Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        progress.setWindowTitle(VendorVariants::instance().fullName);
        progress.setLabelText(tr("Loading project..."));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setCancelButton(nullptr);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        connect(&m_document, &VelmoraDocument::loadProgressSteps, &progress,
                &QProgressDialog::setMaximum);
        // The bar moves at most thirty times a second (and at the start and end): each move
        // draws the dialog at once, which for each of the thousands of objects a project holds
        // would take longer than reading them.
        QElapsedTimer sinceMove;
        connect(&m_document, &VelmoraDocument::loadProgressChanged, &progress,
                [&progress, &sinceMove](int step) {
                    if (step <= progress.minimum() || step >= progress.maximum() ||
                        !sinceMove.isValid() || sinceMove.elapsed() >= 33) {
                        progress.setValue(step);
                        sinceMove.start();
                    }
                });
        try {
            m_document.load(path);
            m_state = ProjectOpen;
            m_recentFiles->addFile(path);
            // The thumbnails are made in the background once the project is open; the dialog
            // does not follow them.
            disconnect(&m_document, nullptr, &progress, nullptr);
            progress.setLabelText(tr("Preparing workspace..."));
            finishOpen();
            return true;
        } catch (const std::runtime_error& error) {
            failure = QString::fromUtf8(error.what());
        } catch (const std::bad_alloc&) {
            failure = notEnoughMemoryToOpen();
        }
    }
    // Whatever the failed read left behind goes, so that the next open or new starts from
    // an empty document.
    abandonProject();
    showFailure(tr("Load failed"), tr("%1 encountered an error while loading\n%2\n'%3'"), path,
                failure);
    m_recentFiles->removeFile(path);
    return false;
}

void VelmoraApplication::finishOpen()
{
    m_document.preparePreview();
    m_navigation->attach();
    m_actions->onDocumentOpened();
    m_selection->selectPage(m_document.getDefaultPageId(), true, true);
    onClipboardChanged();
    emit documentOpened();
    reportUndoState();
    // The first page is drawn before the window appears, so that its first painting shows it.
    m_document.previewScene()->drawPendingFrame();
    if (MainWindow* window = MainWindow::instance())
        window->setVisible(true);
}

bool VelmoraApplication::newDocument()
{
    if (m_state != NoProject && !maybeSave())
        return false;
    m_newProjectData.page.clearReferences();
    NewPageWizard wizard(true, MainWindow::instance());
    wizard.setNewProjectData(m_newProjectData);
    if (wizard.exec() != QDialog::Accepted)
        return false;
    closeProject();
    wizard.newProjectData(m_newProjectData);
    try {
        m_document.createProject(m_newProjectData);
        StoredSettings().setValue(lastFileKey, m_newProjectData.path);
        m_state = ProjectOpen;
        finishOpen();
        return true;
    } catch (const std::runtime_error& error) {
        abandonProject();
        showFailure(tr("Load failed"), tr("%1 encountered an error while loading\n%2\n'%3'"),
                    m_newProjectData.themeFile, QString::fromUtf8(error.what()));
        return false;
    } catch (const std::bad_alloc&) {
        abandonProject();
        showFailure(tr("Load failed"), tr("%1 encountered an error while loading\n%2\n'%3'"),
                    m_newProjectData.themeFile, notEnoughMemoryToOpen());
        return false;
    }
}

bool VelmoraApplication::openDocument()
{
    if (m_state != NoProject && !maybeSave())
        return false;
    const QString file = ApplicationFiles::getProjectToOpen(MainWindow::instance());
    if (file.isEmpty())
        return false;
    return loadProject(file);
}

bool VelmoraApplication::openDocument(const QString& path)
{
    if (m_state != NoProject && !maybeSave())
        return false;
    return loadProject(path);
}

bool VelmoraApplication::closeDocument(bool shuttingDown)
{
    if (m_state != NoProject && !maybeSave())
        return false;
    closeProject();
    if (shuttingDown)
        return true;
    if (MainWindow* window = MainWindow::instance())
        window->setVisible(false);
    postEvent(this, new QEvent(LaunchRequestEvent));
    return true;
}

bool VelmoraApplication::saveDocument()
{
    if (m_document.path().isNull())
        return saveDocumentAs(false);
    try {
        m_document.save(false);
    } catch (const std::runtime_error& error) {
        showFailure(tr("Save failed"), tr("%1 encountered an error while saving\n%2\n'%3'"),
                    m_document.path(), QString::fromUtf8(error.what()));
        return false;
    }
    m_recentFiles->addFile(m_document.path());
    reportUndoState();
    return true;
}

bool VelmoraApplication::saveDocumentAs(bool minimal)
{
    const QString file = ApplicationFiles::getProjectToSave(MainWindow::instance());
    if (file.isEmpty())
        return false;
    StoredSettings().setValue(lastFileKey, file);
    bool saved = false;
    QString failure;
    try {
        m_document.saveAs(file, minimal);
        saved = true;
    } catch (const std::runtime_error& error) {
        failure = QString::fromUtf8(error.what());
    }
    if (saved)
        m_recentFiles->addFile(file);
    // The document keeps the new path whether the save succeeded or not, and the next Save
    // writes there: the title and the modified mark follow it at once, before any message.
    reportUndoState();
    emit documentPathChanged();
    if (!saved) {
        showFailure(tr("Save failed"), tr("%1 encountered an error while saving\n%2\n'%3'"), file,
                    failure);
        return false;
    }
    return true;
}

// The main window.

MainWindow* VelmoraApplication::createMainWindow()
{
    auto* window =
        new MainWindow(m_document, *m_actions, *m_preferences, m_undoAction, m_redoAction);
    connectMainWindow(window);
    return window;
}

void VelmoraApplication::connectMainWindow(MainWindow* window)
{
    m_editing->setDialogParent(window);
    window->setCloseDocumentHook([this](bool shuttingDown) { return closeDocument(shuttingDown); });

    connect(window, &MainWindow::propertyValueChanged, this, &VelmoraApplication::setPropertyValue);
    connect(window, &MainWindow::pasteControlOffsetChanged, this,
            &VelmoraApplication::setPasteControlOffset);
    connect(window, &MainWindow::selectAllControlsRequested, this,
            &VelmoraApplication::selectAllControls);
    connect(window, &MainWindow::copyControlsRequested, this,
            &VelmoraApplication::copySelectedControls);
    connect(window, &MainWindow::pasteControlsRequested, this, &VelmoraApplication::pasteControls);
    // The window deletes the layout when the signal returns: the call must be direct.
    connect(window, &MainWindow::layoutSelectedControlsRequested, this,
            &VelmoraApplication::layoutSelectedControls, Qt::DirectConnection);
    connect(window, &MainWindow::projectPropertiesAccepted, this,
            &VelmoraApplication::setProjectProperties);
    connect(window, &MainWindow::themeEditorRequested, this, &VelmoraApplication::showThemeEditor);

    connect(this, &VelmoraApplication::documentOpened, window, &MainWindow::onDocumentOpened);
    connect(this, &VelmoraApplication::documentClosing, window, &MainWindow::onDocumentClosing);
    connect(this, &VelmoraApplication::documentClosed, window, &MainWindow::onDocumentClosed);
    connect(this, &VelmoraApplication::documentPathChanged, window,
            &MainWindow::refreshWindowTitle);
    connect(this, &VelmoraApplication::undoStateChanged, window, &MainWindow::onUndoStateChanged);
    PropertyEditor* editor = window->propertyEditorWidget();
    connect(this, &VelmoraApplication::propertyValuesChanged, editor,
            &PropertyEditor::onPropertyValuesChanged);
    connect(this, &VelmoraApplication::themeChanged, editor, &PropertyEditor::onThemeChanged);

    // Linux has no application menu with a Quit entry: the window takes the platform's Quit key.
    auto* quit = new QShortcut(QKeySequence::Quit, window);
    quit->setContext(Qt::WindowShortcut);
    connect(quit, &QShortcut::activated, this, &VelmoraApplication::quitFromMainWindow);
}

void VelmoraApplication::quitFromMainWindow()
{
    MainWindow* window = MainWindow::instance();
    // Closing asks the save question through the window's close hook; Cancel keeps it open.
    if (window && !window->close())
        return;
    quit();
}

void VelmoraApplication::showThemeEditor()
{
    if (m_state != ProjectOpen)
        return;
    ThemeEditorDialog dialog(MainWindow::instance());
    dialog.setConfiguration(&m_document);
    dialog.setThemeRegistrar(&VelmoraApplication::registerTheme);
    dialog.setThemeUnregistrar(&VelmoraApplication::unregisterTheme);
    dialog.setThemeFilesChooser(&VelmoraApplication::getThemeFiles);
    connect(&dialog, &ThemeEditorDialog::saveThemeExternally, this,
            &VelmoraApplication::applyThemeEdits);
    dialog.exec();
}
