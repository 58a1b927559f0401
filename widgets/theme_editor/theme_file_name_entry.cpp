#include "widgets/theme_editor/theme_file_name_entry.h"
#include "core/stored_settings.h"

#include "file_system/file_system.h"
#include "main/last_directory.h"
#include "main/vendor_variants.h"
#include "widgets/theme_editor/theme_name_validator.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <algorithm>

namespace {

const QString lastThemeKey = QStringLiteral("File/LastTheme");

ThemeFileNameEntry::SaveFileDialog& saveFileDialog()
{
    static ThemeFileNameEntry::SaveFileDialog dialog;
    return dialog;
}

QString themeExtension()
{
    return VendorVariants::instance().themeExtension;
}

QString rememberedThemeFolder()
{
    return Velmora::lastDirectory(lastThemeKey, true);
}

// The path with "." and the theme extension appended unless its suffix is exactly the
// extension (a capitalised one is not the extension).
QString withThemeExtension(const QString& path)
{
    if (QFileInfo(path).suffix() == themeExtension())
        return path;
    return path + QLatin1Char('.') + themeExtension();
}

// The file a name proposes in the theme folder: one visible file whatever the name holds (no
// folder part, no hidden or device name), named as the theme's document inside the bundle is.
// A name that already ends in the theme extension gets no second one.
QString derivedFileName(const QString& name)
{
    const QString extension = QLatin1Char('.') + themeExtension();
    const QString base = name.endsWith(extension) ? name.chopped(extension.size()) : name;
    return FileSystem::visibleFileName(base, extension);
}

} // namespace

ThemeFileNameEntry::ThemeFileNameEntry(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    nameValidator = new ThemeNameValidator(nameEdit);
    pathValidator = new ThemeNameValidator(fileNameEdit);
    connect(nameEdit, &QLineEdit::textChanged, this, &ThemeFileNameEntry::onNameChange);
    connect(fileNameEdit, &QLineEdit::textChanged, this, &ThemeFileNameEntry::onFilePathChange);
    connect(fileBrowseButton, &QAbstractButton::clicked, this,
            &ThemeFileNameEntry::onBrowseClicked);
}

ThemeFileNameEntry::~ThemeFileNameEntry() = default;

QString ThemeFileNameEntry::name() const
{
    return nameEdit->text();
}

QString ThemeFileNameEntry::filePath() const
{
    // A bare file name, or any relative path, is taken in the folder the entry proposes, never
    // in whatever folder the program was started from.
    const QString text = fileNameEdit->text();
    if (text.isEmpty() || !QFileInfo(text).isRelative())
        return text;
    return QDir::cleanPath(QDir(rememberedThemeFolder()).absoluteFilePath(text));
}

void ThemeFileNameEntry::setName(const QString& name)
{
    nameValidator->setStoredText(name);
}

void ThemeFileNameEntry::setFilePath(const QString& path)
{
    writeFilePath(path);
}

void ThemeFileNameEntry::clear()
{
    autoFilePath = true;
    checkOverwrite = true;
    const QSignalBlocker blockName(nameEdit);
    nameEdit->clear();
    writeFilePath(QString());
}

void ThemeFileNameEntry::focusName()
{
    const QSignalBlocker block(nameEdit);
    nameEdit->setFocus(Qt::OtherFocusReason);
    nameEdit->selectAll();
}

void ThemeFileNameEntry::ensureFileExtension()
{
    // An empty path stays empty: a bare ".qvt" would name a hidden file. A relative path is
    // written back whole, in the folder where it is taken.
    const QString path = filePath();
    if (!path.isEmpty())
        writeFilePath(withThemeExtension(path));
}

bool ThemeFileNameEntry::confirmOverwrite()
{
    if (!checkOverwrite)
        return true;
    const QFileInfo file(filePath());
    if (!file.exists())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Overwrite Theme"),
        tr("There is already a file called \"%1\".  Do you want to overwrite it?")
            .arg(file.fileName()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    return answer != QMessageBox::No;
}

ThemeFileNameEntry::SaveFileDialog ThemeFileNameEntry::setSaveFileDialog(SaveFileDialog dialog)
{
    std::swap(saveFileDialog(), dialog);
    return dialog;
}

void ThemeFileNameEntry::onNameChange(const QString& name)
{
    if (autoFilePath) {
        QString path;
        if (!name.isEmpty())
            path = rememberedThemeFolder() + QLatin1Char('/') + derivedFileName(name);
        writeFilePath(path);
        checkOverwrite = true;
    }
    emit nameChanged(name);
}

void ThemeFileNameEntry::onFilePathChange(const QString& text)
{
    fitFilePath();
    autoFilePath = false;
    checkOverwrite = true;
    emit filePathChanged(text);
}

void ThemeFileNameEntry::onBrowseClicked()
{
    QString start = filePath();
    if (start.isEmpty())
        start = rememberedThemeFolder();
    const QString caption = tr("Theme Location");
    const QString filter = QStringLiteral("Themes (*.%1)").arg(themeExtension());
    const QString chosen =
        saveFileDialog() ? saveFileDialog()(this, caption, start, filter)
                         : QFileDialog::getSaveFileName(this, caption, start, filter, nullptr, {});
    if (chosen.isEmpty())
        return;
    const QString path = withThemeExtension(chosen);
    StoredSettings().setValue(lastThemeKey, path);
    writeFilePath(path);
    autoFilePath = false;
    // The dialog confirmed replacing the file it was given; a completed extension names another
    // file, which may exist too and must still be asked about.
    checkOverwrite = path != chosen;
}

void ThemeFileNameEntry::writeFilePath(const QString& path)
{
    {
        const QSignalBlocker block(fileNameEdit);
        pathValidator->setStoredText(path);
    }
    fitFilePath();
}

void ThemeFileNameEntry::fitFilePath()
{
    fileNameEdit->setToolTip(fileNameEdit->text());
    updateGeometry();
}

QSize ThemeFileNameEntry::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    // Room for the whole path (its text and the cursor's room, beside the edit's frame), as far
    // as half the screen.
    const QFontMetrics metrics = fileNameEdit->fontMetrics();
    const int missing = metrics.horizontalAdvance(fileNameEdit->text()) +
                        metrics.averageCharWidth() -
                        17 * metrics.horizontalAdvance(QLatin1Char('x'));
    const QScreen* display = screen();
    const int room = display ? display->availableGeometry().width() / 2 : hint.width();
    if (missing > 0)
        hint.setWidth(std::max(hint.width(), std::min(hint.width() + missing, room)));
    return hint;
}
