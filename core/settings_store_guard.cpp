#include "core/settings_store_guard.h"

#include "core/regular_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

namespace {

// The folders whose "<organisation>/<application>.conf" and "<organisation>.conf" a settings
// object reads: the user's configuration folder first (the one it writes), then the system's.
QStringList settingsFolders()
{
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders << QLibraryInfo::path(QLibraryInfo::SettingsPath);
    folders.removeAll(QString());
    folders.removeDuplicates();
    return folders;
}

} // namespace

SettingsStoreGuard::SettingsStoreGuard(const QString& organisation, const QString& application)
{
    const QStringList folders = settingsFolders();
    QStringList files;
    for (const QString& folder : folders)
        files << folder + '/' + organisation + '/' + application + QStringLiteral(".conf")
              << folder + '/' + organisation + QStringLiteral(".conf");
    if (!folders.isEmpty())
        files << files.first() + QStringLiteral(".lock");

    for (const QString& file : files) {
        // Nothing there, or a file that may not be read, only fails the settings object's
        // opening; what is no file at all would stop it.
        const RegularFile::Result result = RegularFile::examine(file);
        if (RegularFile::isNotRegular(result))
            m_findings << QDir::toNativeSeparators(file) + QStringLiteral(": ") +
                              RegularFile::message(result);
    }
    if (m_findings.isEmpty())
        return;

    m_folder = std::make_unique<QTemporaryDir>();
    // Without a folder of its own the store goes where no file can ever be made: settings
    // objects then keep their values in memory and fail their writes, without waiting.
    const QString base = m_folder->isValid() ? m_folder->path() : QStringLiteral("/dev/null");
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, base + QStringLiteral("/user"));
        QSettings::setPath(format, QSettings::SystemScope, base + QStringLiteral("/system"));
    }
    qWarning().noquote() << QCoreApplication::translate(
                                "SettingsStoreGuard",
                                "The settings store is not used: %1. The program starts "
                                "with its default settings and keeps changes to them only "
                                "until it ends; those files are left as they are.")
                                .arg(m_findings.join(QStringLiteral("; ")));
}

SettingsStoreGuard::~SettingsStoreGuard() = default;
