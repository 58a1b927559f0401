#include "widgets/theme_editor/export_theme_widget.h"

#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"

#include <QIcon>
#include <QPixmap>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardItemModel>

ExportThemeWidget::ExportThemeWidget(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    connect(fileNameEntry, &ThemeFileNameEntry::nameChanged, this, &ExportThemeWidget::checkReady);
    connect(fileNameEntry, &ThemeFileNameEntry::filePathChanged, this,
            &ExportThemeWidget::checkReady);
    connect(saveButton, &QAbstractButton::clicked, this, &ExportThemeWidget::onSaveClicked);
    connect(cancelButton, &QAbstractButton::clicked, this, &ExportThemeWidget::cancel);
    saveButton->setEnabled(false);
}

ExportThemeWidget::~ExportThemeWidget() = default;

void ExportThemeWidget::setTheme(const Velmora::Theme* exported)
{
    theme = exported;
    {
        const QSignalBlocker block(fileNameEntry);
        fileNameEntry->clear();
        if (theme)
            fileNameEntry->setName(theme->getName());
        fileNameEntry->focusName();
    }
    checkReady();
}

void ExportThemeWidget::checkReady()
{
    saveButton->setEnabled(!fileNameEntry->name().isEmpty() &&
                           !fileNameEntry->filePath().isEmpty());
}

void ExportThemeWidget::onSaveClicked()
{
    // Without a theme there is nothing to write; the page stays as it is.
    if (!theme)
        return;
    fileNameEntry->ensureFileExtension();
    if (!fileNameEntry->confirmOverwrite())
        return;

    const QString path = fileNameEntry->filePath();
    ThemeFileWriter writer(theme, progressHandler, this);
    connect(&writer, &ThemeFileWriter::error, this, &ExportThemeWidget::themeFileWriterError);
    if (!writer.write(path))
        return;

    QSettings().setValue(QStringLiteral("File/LastTheme"), path);
    addToLibrary(path);
    emit done();
}

void ExportThemeWidget::addToLibrary(const QString& path)
{
    ThemeLibrary* library = ThemeLibrary::instance();
    const QModelIndex listed = library->findTheme(path);
    if (listed.isValid()) {
        // The file replaced one the library lists already, and so one the user's list of theme
        // files holds (or one that came with the application). Its row takes the written
        // theme's name and splashes; a second row or entry would offer the file twice.
        QStandardItemModel* model = library->model();
        model->setData(listed, theme->getName(), Qt::DisplayRole);
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(theme->getLandscapeSplash()), QIcon::Normal, QIcon::Off);
        icon.addPixmap(QPixmap::fromImage(theme->getPortraitSplash()), QIcon::Disabled, QIcon::Off);
        model->setData(listed, icon, Qt::DecorationRole);
        return;
    }
    // A file the library cannot list would be dropped from the user's list at the next start
    // anyway; only a listed file is recorded.
    if (library->addTheme(path, false) && themeRegistrar)
        themeRegistrar(path);
}
