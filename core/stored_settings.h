#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// The settings store of the program, as a settings object of the platform's native format gives
// it (the same files, keys, groups and value forms), read and written so that nothing else than
// a regular file is ever opened or replaced and nothing is waited for. Every settings object of
// the program is one of these.
//
// Making one looks at the store first (SettingsStoreGuard::look), so that a store in whose place
// something else stands by now moves aside for the rest of the run, as at start; then it reads
// the store's files, each by the regular-file rule (never opening a FIFO, a socket or a device,
// and checking what it opened), parsed from a copy of its own. Changes are kept in the object
// and written by sync(), or when it is destroyed: after a new look, what the application's file
// holds then is read, the changes are put over it, and the result replaces the file whole
// (WholeFile), which refuses anything but a regular file and never writes through a link to
// anything else. The settings class itself never opens the store's files, so no lock file is
// taken, retried or waited for, and nothing is written behind the program's back. Without a lock,
// two programs that write the store in the same few milliseconds may each miss the other's change
// of that moment; the file itself is always whole.
class StoredSettings
{
public:
    // The store of the application's organisation and application names.
    StoredSettings();
    StoredSettings(const QString& organisation, const QString& application);
    // Writes the changes not written yet; a failure is said on the console.
    ~StoredSettings();
    StoredSettings(const StoredSettings&) = delete;
    StoredSettings& operator=(const StoredSettings&) = delete;

    // Keys are taken within the group entered, as by a settings object.
    void beginGroup(const QString& prefix);
    void endGroup();

    // The keys right under the group, sorted.
    QStringList childKeys() const;
    bool contains(const QString& key) const;
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setValue(const QString& key, const QVariant& value);
    // Removes the key and every key under it from the application's file.
    void remove(const QString& key);

    // Writes the changes made since the last write that succeeded. False when the store could
    // not be written, with the reason in words: the changes stay in force here and go with the
    // next write, and the file keeps what it held.
    bool sync(QString* reason = nullptr);

    // The application's file of the user, where changes go.
    QString fileName() const { return m_file; }

    // The keys and values of a settings file.
    using Values = std::map<QString, QVariant>;

private:
    QString fullKey(const QString& key) const;

    QString m_organisation;
    QString m_application;
    QString m_file;
    QStringList m_groups;
    // The values of the store's files, in the order in which a value is looked for; the first
    // is the application's file with the changes put over it.
    std::vector<Values> m_layers;
    // The changes in the order made: a key with its value, or without one when it was removed.
    std::vector<std::pair<QString, std::optional<QVariant>>> m_changes;
};
