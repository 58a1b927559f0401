#include "widgets/theme_editor/export_theme_widget.h"

#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "widgets/theme_editor/written_theme_listing.h"

#include <QSettings>
#include <QSignalBlocker>
#include <memory>

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
    // A project keeps its theme without a name once saved and opened again: such a theme gets
    // the name the user typed here, so that the library and the new-project wizard can list it
    // by a name. Everything else, and a theme's own name, is written as the project holds it.
    std::unique_ptr<Velmora::Theme> named;
    const Velmora::Theme* written = theme;
    if (theme->getName().isEmpty()) {
        named = std::make_unique<Velmora::Theme>(*theme);
        named->setName(fileNameEntry->name());
        written = named.get();
    }
    ThemeFileWriter writer(written, progressHandler, this);
    connect(&writer, &ThemeFileWriter::error, this,
            [this, &writer](int code) { emit themeFileWriterError(code, writer.errorString()); });
    if (!writer.write(path))
        return;

    QSettings().setValue(QStringLiteral("File/LastTheme"), path);
    listWrittenTheme(path, *written, themeRegistrar);
    emit done();
}
