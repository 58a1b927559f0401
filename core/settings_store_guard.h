#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryDir;

// Keeps the platform's settings store of an organisation and application from stopping the
// program. A settings object opens and reads its files as it is made and writes them without
// asking what is there: a FIFO in a file's place keeps it waiting for a writer for ever, a device
// may be read without end, and a write would put a regular file in place of the user's node.
// So the files it reads where the platform keeps them (the application's and the organisation's,
// in the user's and the system's folders; not folders chosen with QSettings::setPath) and the
// lock file beside the one it writes are looked at by the regular-file rule. When any of them is
// neither a regular file nor nothing (a folder, a FIFO, a socket, a device, a loop of links),
// every settings object of the process uses an empty folder of the guard's own instead: the
// program starts with default settings, keeps their changes until it ends, and never opens or
// replaces the user's nodes. What was found is said once on the console.
//
// Make it before the first settings object of the process and keep it for the rest of the run.
class SettingsStoreGuard
{
public:
    SettingsStoreGuard(const QString& organisation, const QString& application);
    ~SettingsStoreGuard();
    SettingsStoreGuard(const SettingsStoreGuard&) = delete;
    SettingsStoreGuard& operator=(const SettingsStoreGuard&) = delete;

    // One line per file found in the way: "<path>: Not a regular file: a FIFO (named pipe)";
    // empty when the store is used where it is.
    const QStringList& findings() const { return m_findings; }

private:
    QStringList m_findings;
    std::unique_ptr<QTemporaryDir> m_folder;
};
