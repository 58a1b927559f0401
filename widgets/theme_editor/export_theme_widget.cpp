#include "widgets/theme_editor/export_theme_widget.h"
#include "core/stored_settings.h"

#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "widgets/theme_editor/written_theme_listing.h"

#include <QSignalBlocker>

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
    // The file holds a theme of the name typed here, so that the library and the new-project
    // wizard list it by that name and not by the one of the theme it came from; everything
    // else is written as the project holds it, and the project's theme keeps its own name.
    Velmora::Theme named(*theme);
    named.setName(fileNameEntry->name());
    ThemeFileWriter writer(&named, progressHandler, this);
    connect(&writer, &ThemeFileWriter::error, this,
            [this, &writer](int code) { emit themeFileWriterError(code, writer.errorString()); });
    if (!writer.write(path))
        return;

    StoredSettings().setValue(QStringLiteral("File/LastTheme"), path);
    listWrittenTheme(path, named, themeRegistrar);
    emit done();
}
