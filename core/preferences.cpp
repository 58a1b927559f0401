#include "core/preferences.h"

#include "core/assertion.h"
#include "core/regular_file.h"
#include "core/whole_file.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>

Preferences::Preferences(const QString& organisation, const QString& application, QObject* parent)
    : QObject(parent),
      settings(QSettings::NativeFormat, QSettings::UserScope, organisation, application)
{
}

void Preferences::registerKey(unsigned int id, const QString& name, const QVariant& defaultValue)
{
    keyLookup[id] = name;
    valueCache[id] = readValue(id, defaultValue);
}

QVariant Preferences::value(unsigned int id) const
{
    const auto iValue = valueCache.find(id);
    return iValue == valueCache.end() ? QVariant() : iValue->second;
}

bool Preferences::setValue(unsigned int id, const QVariant& value)
{
    const auto iValue = valueCache.find(id);
    if (iValue != valueCache.end() && iValue->second == value)
        return true;
    valueCache[id] = value;
    const bool stored = writeValue(id, value);
    emit valueChanged(id, value);
    return stored;
}

QString Preferences::keyName(unsigned int id) const
{
    const auto iKey = keyLookup.find(id);
    VELMORA_ASSERT(iKey != keyLookup.end());
    return iKey->second;
}

namespace {

// The keys and values of a settings file with these bytes. It is read under a name of its own:
// settings objects of one file share what they have read, and would not notice a file that was
// replaced or cut within the same instant.
bool parseSettings(const QByteArray& bytes, const QString& path, std::map<QString, QVariant>* map)
{
    QFile file(path);
    // Unbuffered, so that a short write shows in the count.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size())
        return false;
    file.close();
    const QSettings settings(path, QSettings::IniFormat);
    for (const QString& key : settings.allKeys())
        (*map)[key] = settings.value(key);
    return settings.status() == QSettings::NoError;
}

// Whether a file read back holds what was written: the same keys, each with the value given
// (read back as text, a number or a one-item list compares by its text).
bool sameSettings(const std::map<QString, QVariant>& written,
                  const std::map<QString, QVariant>& read)
{
    if (written.size() != read.size())
        return false;
    for (auto a = written.begin(), b = read.begin(); a != written.end(); ++a, ++b)
        if (a->first != b->first ||
            (a->second != b->second && a->second.toString() != b->second.toString()))
            return false;
    return true;
}

// The bytes of the settings file; none when it names no regular file that can be read (a FIFO
// in its place would block the reading).
QByteArray readAll(const QString& path)
{
    QFile file;
    return RegularFile::open(file, path) == RegularFile::Result_OPENED ? file.readAll()
                                                                       : QByteArray();
}

} // namespace

bool Preferences::writeValue(unsigned int id, const QVariant& value)
{
    // The settings class writes its file through a temporary file, but does not notice when the
    // last part of that write fails and then puts a cut file in place. So the new contents are
    // made by a settings object of their own in a temporary folder, read back to make sure they
    // are whole, and only then replace the store's file.
    const WholeFile::OversizeWriteGuard guard;
    const QString key = keyName(id);
    const QString path = settings.fileName();
    // Changes that could not be stored before go with this one.
    pendingWrites[key] = value;
    QTemporaryDir folder;
    std::map<QString, QVariant> values;
    if (!folder.isValid() ||
        !parseSettings(readAll(path), folder.filePath(QStringLiteral("stored.conf")), &values))
        return false;
    for (const auto& [name, pending] : pendingWrites)
        values[name] = pending;

    const QString madePath = folder.filePath(QStringLiteral("made.conf"));
    {
        QSettings made(madePath, QSettings::IniFormat);
        for (const auto& [name, stored] : values)
            made.setValue(name, stored);
        made.sync();
        if (made.status() != QSettings::NoError)
            return false;
    }
    const QByteArray contents = readAll(madePath);
    std::map<QString, QVariant> written;
    if (!parseSettings(contents, folder.filePath(QStringLiteral("check.conf")), &written) ||
        !sameSettings(values, written) || !QDir().mkpath(QFileInfo(path).path()))
        return false;
    QString reason;
    if (!WholeFile::write(path, contents, &reason)) {
        // The change stays in force for this run; the console says why it was not stored.
        qWarning().noquote()
            << QStringLiteral("The preferences could not be stored in %1: %2").arg(path, reason);
        return false;
    }
    pendingWrites.clear();
    settings.sync(); // reads the new file
    return true;
}

QVariant Preferences::readValue(unsigned int id, const QVariant& defaultValue)
{
    return settings.value(keyName(id), defaultValue);
}
