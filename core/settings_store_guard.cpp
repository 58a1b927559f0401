#include "core/settings_store_guard.h"

#include "core/regular_file.h"
#include "core/whole_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>
#include <map>
#include <memory>

namespace SettingsStoreGuard {

namespace {

// The folder in which settings objects of that scope find their files now. Qt tells it only
// through the file of a settings object: one of names that no file has, so that making it reads
// nothing.
QString folderOf(QSettings::Scope scope)
{
    const QString name = QStringLiteral(".velmora-settings-") +
                         QString::number(QRandomGenerator::global()->generate64(), 36);
    const QString file = QSettings(QSettings::NativeFormat, scope, name, name).fileName();
    return QFileInfo(QFileInfo(file).path()).path();
}

// The user's folder first, then the system's: those of the platform, where no folder was chosen
// for the system scope, else the one chosen.
QStringList settingsFolders()
{
    QStringList folders{folderOf(QSettings::UserScope)};
    const QString system = folderOf(QSettings::SystemScope);
    QStringList platform = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    platform.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    if (platform.isEmpty() || platform.first() != system)
        platform = QStringList{system};
    folders << platform;
    folders.removeAll(QString());
    folders.removeDuplicates();
    return folders;
}

// The folder of the store once it moved aside: folders of its own in one temporary folder that
// lives to the end of the process.
QString asideFolder()
{
    static std::unique_ptr<QTemporaryDir> base;
    static int moves = 0;
    if (!base)
        base = std::make_unique<QTemporaryDir>();
    // Without a folder of its own the store goes where no file can ever be made: settings
    // objects then keep their values in memory and fail their writes, without waiting.
    if (!base->isValid())
        return QStringLiteral("/dev/null");
    return base->filePath(QString::number(++moves));
}

// What the process last read from or wrote to each file of the store, by path.
std::map<QString, QByteArray>& remembered()
{
    static std::map<QString, QByteArray> contents;
    return contents;
}

} // namespace

void remember(const QString& file, const QByteArray& contents)
{
    remembered()[file] = contents;
}

QStringList files(const QString& organisation, const QString& application)
{
    QStringList found;
    for (const QString& folder : settingsFolders())
        found << folder + '/' + organisation + '/' + application + QStringLiteral(".conf")
              << folder + '/' + organisation + QStringLiteral(".conf");
    return found;
}

bool look(const QString& organisation, const QString& application, bool atStart)
{
    QStringList looked = files(organisation, application);
    looked << looked.first() + QStringLiteral(".lock");
    QStringList findings;
    for (const QString& file : looked) {
        // Nothing there, or a file that may not be read, only fails a reading; what is no file
        // at all would stop it.
        const RegularFile::Result result = RegularFile::examine(file);
        if (RegularFile::isNotRegular(result))
            findings << QDir::toNativeSeparators(file) + QStringLiteral(": ") +
                            RegularFile::message(result);
    }
    if (findings.isEmpty())
        return true;

    const QString base = asideFolder();
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, base + QStringLiteral("/user"));
        QSettings::setPath(format, QSettings::SystemScope, base + QStringLiteral("/system"));
    }
    // The files' places match one to one: the user's, then the one system folder chosen.
    const QStringList moved = files(organisation, application);
    for (qsizetype at = 0; !atStart && at < moved.size(); ++at) {
        const auto known = remembered().find(looked.at(at));
        if (known != remembered().end() && !known->second.isEmpty() &&
            QDir().mkpath(QFileInfo(moved.at(at)).path()))
            WholeFile::write(moved.at(at), known->second);
    }
    const char* text = atStart ? QT_TRANSLATE_NOOP("SettingsStoreGuard",
                                                   "The settings store is not used: %1. The "
                                                   "program starts with its default settings and "
                                                   "keeps changes to them only until it ends; "
                                                   "those files are left as they are.")
                               : QT_TRANSLATE_NOOP("SettingsStoreGuard",
                                                   "The settings store is not used: %1. The "
                                                   "program goes on with the settings it holds "
                                                   "and keeps changes to them only until it ends; "
                                                   "those files are left as they are.");
    qWarning().noquote() << QCoreApplication::translate("SettingsStoreGuard", text)
                                .arg(findings.join(QStringLiteral("; ")));
    return false;
}

} // namespace SettingsStoreGuard
