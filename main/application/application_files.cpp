#include "main/application/application_files.h"
#include "core/stored_settings.h"

#include "main/last_directory.h"
#include "main/vendor_variants.h"
#include "velmora_objects/theme_library.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace ApplicationFiles {

namespace {

const QString themesGroup = QStringLiteral("Themes");
const QString lastFileKey = QStringLiteral("File/LastFile");
const QString lastThemeKey = QStringLiteral("File/LastTheme");
const QString lastImageKey = QStringLiteral("File/LastImage");

QString tr(const char* text)
{
    return QCoreApplication::translate("VelmoraApplication", text);
}

const QFileDialog::Options dialogOptions = QFileDialog::DontUseNativeDialog;

QString projectFilter()
{
    const VendorVariants& vendor = VendorVariants::instance();
    return QStringLiteral("%1 files (*.%2)").arg(vendor.fullName, vendor.projectExtension);
}

void rememberFirst(const QString& key, const QStringList& files)
{
    if (!files.isEmpty())
        StoredSettings().setValue(key, files.first());
}

} // namespace

void registerTheme(const QString& path)
{
    StoredSettings settings;
    settings.beginGroup(themesGroup);
    for (int n = 0;; ++n) {
        const QString key = QStringLiteral("Theme%1").arg(n);
        if (!settings.contains(key)) {
            settings.setValue(key, path);
            return;
        }
    }
}

void unregisterTheme(const QString& path)
{
    StoredSettings settings;
    settings.beginGroup(themesGroup);
    for (const QString& key : settings.childKeys()) {
        if (settings.value(key).toString() == path) {
            settings.remove(key);
            return;
        }
    }
}

void loadRegisteredThemes()
{
    StoredSettings settings;
    settings.beginGroup(themesGroup);
    for (const QString& key : settings.childKeys()) {
        if (!ThemeLibrary::instance()->addTheme(settings.value(key).toString(), false))
            settings.remove(key);
    }
}

QStringList getThemeFiles(QWidget* parent)
{
    const QStringList files = QFileDialog::getOpenFileNames(
        parent, tr("Themes"), Velmora::lastDirectory(lastThemeKey, true),
        QStringLiteral("Themes (*.%1)").arg(VendorVariants::instance().themeExtension), nullptr,
        dialogOptions);
    rememberFirst(lastThemeKey, files);
    return files;
}

QStringList getImageFiles(const QString& caption, bool single, QWidget* parent)
{
    const QString title = tr("%1%2").arg(caption, single ? QString() : QStringLiteral("s"));
    const QString folder = Velmora::lastDirectory(lastImageKey, true);
    const QString filter = QStringLiteral("Image files (*.bmp *.gif *.jpg *.jpeg *.png *.svg)");
    QStringList files;
    if (single) {
        const QString file =
            QFileDialog::getOpenFileName(parent, title, folder, filter, nullptr, dialogOptions);
        if (!file.isEmpty())
            files << file;
    } else {
        files =
            QFileDialog::getOpenFileNames(parent, title, folder, filter, nullptr, dialogOptions);
    }
    rememberFirst(lastImageKey, files);
    return files;
}

QString getProjectToOpen(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, tr("Open File"),
                                        Velmora::lastDirectory(lastFileKey, false), projectFilter(),
                                        nullptr, dialogOptions);
}

QString getProjectToSave(QWidget* parent)
{
    QString file = QFileDialog::getSaveFileName(parent, tr("Save File As"),
                                                Velmora::lastDirectory(lastFileKey, true),
                                                projectFilter(), nullptr, dialogOptions);
    if (file.isEmpty())
        return QString();
    const QString extension = VendorVariants::instance().projectExtension;
    if (QFileInfo(file).suffix() != extension) {
        file += QStringLiteral(".") + extension;
        // The dialog asked about replacing the name it was given, not this one.
        if (QFileInfo::exists(file) &&
            QMessageBox::question(parent, tr("Save File As"),
                                  tr("%1 already exists.\nDo you want to replace it?")
                                      .arg(QFileInfo(file).fileName()),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes)
            return QString();
    }
    return file;
}

} // namespace ApplicationFiles
