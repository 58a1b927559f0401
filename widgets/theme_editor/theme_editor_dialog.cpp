#include "widgets/theme_editor/theme_editor_dialog.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/export_theme_widget.h"
#include "widgets/theme_editor/new_theme_settings.h"
#include "widgets/theme_editor/theme_editor.h"
#include "widgets/theme_editor/theme_editor_mode.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The editor page needs this much room; the other pages make do with less.
constexpr int EditorHeight = 800;
constexpr int EditorWidth = 725;

} // namespace

ThemeEditorDialog::ThemeEditorDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Theme Editor"));
    progressHandler.progressCallback = &ThemeEditorDialog::onProgress;
    progressHandler.textCallback = &ThemeEditorDialog::onProgressText;
    progressHandler.user = this;

    themeEditor = new ThemeEditor(this);
    themeEditor->setProgressHandler(&progressHandler);
    connect(themeEditor, &ThemeEditor::done, this, &ThemeEditorDialog::doneEditing);
    connect(themeEditor, &ThemeEditor::saveThemeExternally, this,
            &ThemeEditorDialog::saveThemeExternally);
    connect(themeEditor, &ThemeEditor::themeFileWriterError, this,
            &ThemeEditorDialog::onThemeFileWriterError);

    modePage = new ThemeEditorMode(this);
    connect(modePage, &ThemeEditorMode::editProjectThemeClicked, this,
            &ThemeEditorDialog::editProjectTheme);
    connect(modePage, &ThemeEditorMode::exportProjectThemeClicked, this,
            &ThemeEditorDialog::exportProjectTheme);
    connect(modePage, &ThemeEditorMode::browseThemeLibraryClicked, this,
            &ThemeEditorDialog::browseThemeLibrary);
    connect(modePage, &ThemeEditorMode::closeClicked, this, &QDialog::accept);

    newThemePage = new NewThemeSettings(this);
    connect(newThemePage, &NewThemeSettings::ready, this, &ThemeEditorDialog::createNewTheme);
    connect(newThemePage, &NewThemeSettings::cancel, this, &ThemeEditorDialog::cancelNewTheme);

    // The library page keeps its own selection, Remove and Browse; the rest leads elsewhere.
    libraryPage = new ThemeLibraryBrowser(this);
    connect(libraryPage->addNewThemeButton, &QAbstractButton::clicked, this,
            &ThemeEditorDialog::addNewThemeClicked);
    connect(libraryPage->editThemeButton, &QAbstractButton::clicked, this,
            &ThemeEditorDialog::editThemeClicked);
    connect(libraryPage->backButton, &QAbstractButton::clicked, this,
            &ThemeEditorDialog::backToHome);
    connect(libraryPage->closeButton, &QAbstractButton::clicked, this, &QDialog::accept);

    exportPage = new ExportThemeWidget(this);
    exportPage->setProgressHandler(&progressHandler);
    connect(exportPage, &ExportThemeWidget::done, this, &QDialog::accept);
    connect(exportPage, &ExportThemeWidget::cancel, this, &ThemeEditorDialog::backToHome);
    connect(exportPage, &ExportThemeWidget::themeFileWriterError, this,
            &ThemeEditorDialog::onThemeFileWriterError);

    stack = new QStackedWidget(this);
    stack->addWidget(themeEditor);
    stack->addWidget(modePage);
    stack->addWidget(newThemePage);
    stack->addWidget(libraryPage);
    stack->addWidget(exportPage);
    showPage(modePage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stack);
}

ThemeEditorDialog::~ThemeEditorDialog()
{
    // The handler outlives this body; a report from its destructor must not reach a dialog
    // that is half gone.
    progressHandler.progressCallback = nullptr;
    progressHandler.textCallback = nullptr;
}

void ThemeEditorDialog::setThemeRegistrar(const ThemeRegistrar& registrar)
{
    themeEditor->setThemeRegistrar(registrar);
    exportPage->setThemeRegistrar(registrar);
    libraryPage->setThemeRegistrar(registrar);
}

void ThemeEditorDialog::setThemeUnregistrar(const ThemeRegistrar& unregistrar)
{
    libraryPage->setThemeUnregistrar(unregistrar);
}

void ThemeEditorDialog::setThemeFilesChooser(const ThemeFilesChooser& chooser)
{
    libraryPage->setThemeFilesChooser(chooser);
}

QSize ThemeEditorDialog::sizeHint() const
{
    return stack->minimumSizeHint();
}

QRect ThemeEditorDialog::editorGeometry(const QRect& dialog, const QRect& screen,
                                        const QMargins& frame)
{
    QRect rect = dialog;
    if (rect.height() < EditorHeight) {
        const int d = (EditorHeight - rect.height()) / 2;
        rect.setTop(rect.top() - d);
        rect.setBottom(rect.bottom() + d);
    }
    if (rect.width() < EditorWidth)
        rect.setRight(rect.left() + EditorWidth - 1);
    return onScreen(rect, screen, frame);
}

QRect ThemeEditorDialog::onScreen(const QRect& dialog, const QRect& screen, const QMargins& frame)
{
    // A window larger than the screen is cut to it; then the window, frame included, is moved
    // onto the screen, the top-left edges winning where it is still too large.
    QRect rect = dialog;
    rect.setWidth(std::min(rect.width(), screen.width() - frame.left() - frame.right()));
    rect.setHeight(std::min(rect.height(), screen.height() - frame.top() - frame.bottom()));
    QRect window = rect.marginsAdded(frame);
    if (window.right() > screen.right())
        window.moveRight(screen.right());
    if (window.bottom() > screen.bottom())
        window.moveBottom(screen.bottom());
    if (window.left() < screen.left())
        window.moveLeft(screen.left());
    if (window.top() < screen.top())
        window.moveTop(screen.top());
    return window.marginsRemoved(frame);
}

QMargins ThemeEditorDialog::frameMargins() const
{
    const QRect inside = geometry();
    const QRect window = frameGeometry();
    return QMargins(inside.left() - window.left(), inside.top() - window.top(),
                    window.right() - inside.right(), window.bottom() - inside.bottom());
}

QRect ThemeEditorDialog::screenGeometry() const
{
    const QScreen* display = screen();
    return display ? display->availableGeometry() : geometry();
}

void ThemeEditorDialog::showThemeEditor()
{
    if (stack->currentWidget() != themeEditor)
        geometryBeforeEditor = geometry();
    const QRect inside = geometry();
    const QRect wanted = editorGeometry(inside, screenGeometry(), frameMargins());
    if (wanted != inside)
        setGeometry(wanted);
    showPage(themeEditor);
}

void ThemeEditorDialog::showPage(QWidget* page)
{
    const bool leavingEditor = stack->currentWidget() == themeEditor && page != themeEditor;
    // Hidden, the editor page is ignored by the stack's size hints, so the other pages decide
    // how small the dialog may be.
    if (page == themeEditor)
        themeEditor->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    else
        themeEditor->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    stack->setCurrentWidget(page);
    if (leavingEditor && geometryBeforeEditor.isValid()) {
        setGeometry(geometryBeforeEditor);
        geometryBeforeEditor = QRect();
    }
    // The library shows its themes in rows, the export page the whole path of the theme file
    // (as far as half the screen): the dialog grows to give them room, as far as the screen
    // has it, and stays on the screen.
    if ((page == libraryPage || page == exportPage) && layout()) {
        const QSize wanted = page->sizeHint().grownBy(layout()->contentsMargins());
        if (!QRect(QPoint(), size()).contains(QRect(QPoint(), wanted))) {
            const QRect grown(geometry().topLeft(), size().expandedTo(wanted));
            setGeometry(onScreen(grown, screenGeometry(), frameMargins()));
        }
    }
}

void ThemeEditorDialog::editProjectTheme()
{
    if (!configuration)
        return;
    themeEditor->editProjectTheme(*configuration);
    showThemeEditor();
}

void ThemeEditorDialog::exportProjectTheme()
{
    if (!configuration)
        return;
    exportPage->setTheme(configuration->getTheme());
    showPage(exportPage);
}

void ThemeEditorDialog::browseThemeLibrary()
{
    showPage(libraryPage);
}

void ThemeEditorDialog::addNewThemeClicked()
{
    newThemePage->setTemplateTheme(libraryPage->templateTheme());
    showPage(newThemePage);
}

void ThemeEditorDialog::createNewTheme()
{
    const QModelIndex templateRow = newThemePage->templateTheme();
    if (!themeEditor->createNewTheme(newThemePage->name(), newThemePage->filePath(), templateRow)) {
        // Without a template only the new theme was read.
        const QString read = ThemeLibrary::instance()->themePath(templateRow);
        refuseThemeFile(read.isEmpty() ? newThemePage->filePath() : read);
        return;
    }
    showThemeEditor();
}

void ThemeEditorDialog::cancelNewTheme()
{
    showPage(libraryPage);
}

void ThemeEditorDialog::editThemeClicked()
{
    const QModelIndexList rows = libraryPage->selectedThemes();
    // Edit is only enabled for one selected row; a click that arrives otherwise does nothing.
    if (rows.isEmpty())
        return;
    if (!themeEditor->editTheme(rows.first())) {
        refuseThemeFile(ThemeLibrary::instance()->themePath(rows.first()));
        return;
    }
    showThemeEditor();
}

void ThemeEditorDialog::refuseThemeFile(const QString& path)
{
    // The page the theme was asked for stays, as after the library's refusal of a file.
    QMessageBox::critical(this, tr("Load Theme"),
                          tr("Failed to load theme file %1.").arg(QFileInfo(path).fileName()) +
                              QLatin1Char('\n') + Velmora::Theme::notEnoughMemoryText(),
                          QMessageBox::Ok);
}

void ThemeEditorDialog::doneEditing()
{
    if (themeEditor->editMode() == 1)
        accept();
    else
        showPage(libraryPage);
}

void ThemeEditorDialog::onThemeFileWriterError(int code, const QString& reason)
{
    QString text;
    switch (code) {
    case 0:
        text = tr("Failed to save the theme.  Couldn't open a temporary file to write the theme "
                  "data.");
        break;
    case 1:
        text = tr("Failed to save the theme.  Couldn't open a temporary file to write an image.");
        break;
    case 2:
        text = tr("Failed to save the theme.  Couldn't open a temporary files to write the splash "
                  "images.");
        break;
    default:
        // The writer's reason, when it gives one: the bound passed, what stands in the file's
        // place, the device full...
        text = reason.isEmpty() ? tr("Failed to save the theme.")
                                : tr("Failed to save the theme.  %1").arg(reason);
        break;
    }
    QMessageBox::critical(this, tr("Theme Editor"), text, QMessageBox::Ok);
}

void ThemeEditorDialog::backToHome()
{
    showPage(modePage);
}

void ThemeEditorDialog::reject()
{
    if (stack->currentWidget() == themeEditor && !themeEditor->maybeSave())
        return;
    QDialog::reject();
}

void ThemeEditorDialog::onProgress(unsigned done, unsigned total, void* user)
{
    auto* dialog = static_cast<ThemeEditorDialog*>(user);
    if (done == 0 && !dialog->progressDialog) {
        auto* progress = new QProgressDialog(dialog, Qt::WindowTitleHint | Qt::CustomizeWindowHint);
        progress->setWindowModality(Qt::WindowModal);
        progress->setCancelButton(nullptr);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->setWindowTitle(tr("Theme Editor"));
        progress->setLabelText(tr("Please wait..."));
        progress->setMinimumDuration(0);
        dialog->progressDialog = progress;
    }
    if (done != 0 && done == total) {
        if (dialog->progressDialog) {
            dialog->progressDialog->hide();
            delete dialog->progressDialog;
            dialog->progressDialog = nullptr;
        }
        return;
    }
    if (QProgressDialog* progress = dialog->progressDialog) {
        if (progress->maximum() != int(total))
            progress->setMaximum(int(total));
        progress->setValue(int(done));
    }
}

void ThemeEditorDialog::onProgressText(const QString* title, const QString* message, void* user)
{
    auto* dialog = static_cast<ThemeEditorDialog*>(user);
    if (!dialog->progressDialog)
        return;
    dialog->progressDialog->setWindowTitle(*title);
    dialog->progressDialog->setLabelText(*message);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
