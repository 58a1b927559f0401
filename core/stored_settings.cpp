#include "core/stored_settings.h"

#include "core/regular_file.h"
#include "core/settings_store_guard.h"
#include "core/whole_file.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("StoredSettings", text);
}

// A temporary folder of this process's own, made when a first file is asked for, for the copies
// that the settings class parses and the contents it makes: files that nobody else can put
// anything in place of.
class Scratch
{
public:
    // A path for a new file in the folder; empty, with the reason, when no folder could be made.
    QString file(const QString& name, QString* reason)
    {
        if (!folder)
            folder = std::make_unique<QTemporaryDir>();
        if (folder->isValid())
            return folder->filePath(name);
        *reason = tr("Unable to make a temporary folder: %1").arg(folder->errorString());
        return QString();
    }

private:
    std::unique_ptr<QTemporaryDir> folder;
};

// Writes the bytes to a new file; the reason when that fails.
bool writeNew(const QString& path, const QByteArray& bytes, QString* reason)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        *reason = WholeFile::writingFailure(errno);
        return false;
    }
    const char* next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            *reason = WholeFile::writingFailure(written == 0 ? EIO : errno);
            ::close(descriptor);
            return false;
        }
        next += written;
        left -= written;
    }
    ::close(descriptor);
    return true;
}

// The keys and values of a settings file of these bytes, parsed from a copy under a name of its
// own: settings objects of one file share what they have read, and would not notice a file that
// was replaced within the same instant. A line it cannot parse is left out, as the settings class
// leaves it out when it writes the file again.
bool parse(const QByteArray& bytes, Scratch& scratch, const QString& name,
           StoredSettings::Values* values, QString* reason)
{
    values->clear();
    if (bytes.isEmpty())
        return true;
    const QString path = scratch.file(name, reason);
    if (path.isEmpty() || !writeNew(path, bytes, reason))
        return false;
    const QSettings settings(path, QSettings::IniFormat);
    if (settings.status() == QSettings::AccessError) {
        *reason = tr("Unable to read a copy of the settings");
        return false;
    }
    for (const QString& key : settings.allKeys())
        (*values)[key] = settings.value(key);
    return true;
}

// The keys and values of the store's file at the path: none when nothing is there. A file that
// is there but cannot be read, or something other than a regular file, gives the reason.
bool read(const QString& path, Scratch& scratch, const QString& name,
          StoredSettings::Values* values, QString* reason)
{
    QFile file;
    const RegularFile::Result result = RegularFile::open(file, path);
    if (result == RegularFile::Result_MISSING) {
        SettingsStoreGuard::remember(path, QByteArray());
        values->clear();
        return true;
    }
    if (result != RegularFile::Result_OPENED) {
        *reason = RegularFile::message(result);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return false;
    }
    SettingsStoreGuard::remember(path, bytes);
    return parse(bytes, scratch, name, values, reason);
}

// The bytes of a settings file holding the values, as the settings class writes them.
bool compose(const StoredSettings::Values& values, Scratch& scratch,
             const WholeFile::OversizeWriteGuard& guard, QByteArray* bytes, QString* reason)
{
    const QString path = scratch.file(QStringLiteral("made.conf"), reason);
    if (path.isEmpty())
        return false;
    {
        QSettings made(path, QSettings::IniFormat);
        for (const auto& [key, value] : values)
            made.setValue(key, value);
        made.sync();
        // The settings class tells no cause, and may not notice that the end of its write
        // failed; a write past the file-size limit is the one cause known.
        if (made.status() != QSettings::NoError || guard.exceeded()) {
            *reason = WholeFile::writingFailure(guard.exceeded() ? EFBIG : 0);
            return false;
        }
    }
    QFile file;
    if (RegularFile::open(file, path) == RegularFile::Result_MISSING) {
        bytes->clear(); // no values: the settings class makes no file
        return true;
    }
    *bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        *reason = tr("Unable to read the settings made");
        return false;
    }
    return true;
}

// Whether values read back are those written: the same keys, each with the value given (a
// number or a one-item list read back as text compares by its text).
bool same(const StoredSettings::Values& written, const StoredSettings::Values& read)
{
    if (written.size() != read.size())
        return false;
    for (auto a = written.begin(), b = read.begin(); a != written.end(); ++a, ++b)
        if (a->first != b->first ||
            (a->second != b->second && a->second.toString() != b->second.toString()))
            return false;
    return true;
}

// Whether removing the key takes the other key with it: the key itself and every key under it
// (all of them for the empty key).
bool removes(const QString& removed, const QString& key)
{
    return removed.isEmpty() || key == removed ||
           (key.startsWith(removed) && key.at(removed.size()) == QLatin1Char('/'));
}

void apply(StoredSettings::Values& values, const QString& key, const std::optional<QVariant>& value)
{
    if (value) {
        values[key] = *value;
        return;
    }
    for (auto at = values.begin(); at != values.end();)
        at = removes(key, at->first) ? values.erase(at) : std::next(at);
}

} // namespace

StoredSettings::StoredSettings()
    : StoredSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName())
{
}

StoredSettings::StoredSettings(const QString& organisation, const QString& application)
    : m_organisation(organisation), m_application(application)
{
    const WholeFile::OversizeWriteGuard guard;
    SettingsStoreGuard::look(organisation, application);
    const QStringList files = SettingsStoreGuard::files(organisation, application);
    m_file = files.first();
    Scratch scratch;
    for (const QString& file : files) {
        // A file that cannot be read gives nothing, as it gives a settings object nothing.
        Values values;
        QString reason;
        if (!read(file, scratch, QString::number(m_layers.size()), &values, &reason))
            values.clear();
        m_layers.push_back(std::move(values));
    }
}

StoredSettings::~StoredSettings()
{
    QString reason;
    if (!sync(&reason))
        qWarning().noquote()
            << tr("The settings could not be stored in %1: %2").arg(m_file, reason);
}

void StoredSettings::beginGroup(const QString& prefix)
{
    m_groups << prefix;
}

void StoredSettings::endGroup()
{
    if (!m_groups.isEmpty())
        m_groups.removeLast();
}

QString StoredSettings::fullKey(const QString& key) const
{
    if (m_groups.isEmpty())
        return key;
    const QString group = m_groups.join(QLatin1Char('/'));
    return key.isEmpty() ? group : group + QLatin1Char('/') + key;
}

QStringList StoredSettings::childKeys() const
{
    const QString prefix = fullKey(QString()) + (m_groups.isEmpty() ? "" : "/");
    QStringList keys;
    for (const Values& layer : m_layers)
        for (const auto& [key, value] : layer) {
            const QString rest = key.mid(prefix.size());
            if (key.startsWith(prefix) && !rest.isEmpty() && !rest.contains(QLatin1Char('/')))
                keys << rest;
        }
    keys.sort();
    keys.removeDuplicates();
    return keys;
}

bool StoredSettings::contains(const QString& key) const
{
    const QString full = fullKey(key);
    return std::any_of(m_layers.begin(), m_layers.end(),
                       [&full](const Values& layer) { return layer.count(full) != 0; });
}

QVariant StoredSettings::value(const QString& key, const QVariant& defaultValue) const
{
    const QString full = fullKey(key);
    for (const Values& layer : m_layers) {
        const auto found = layer.find(full);
        if (found != layer.end())
            return found->second;
    }
    return defaultValue;
}

void StoredSettings::setValue(const QString& key, const QVariant& value)
{
    const QString full = fullKey(key);
    m_changes.emplace_back(full, value);
    apply(m_layers.front(), full, value);
}

void StoredSettings::remove(const QString& key)
{
    const QString full = fullKey(key);
    m_changes.emplace_back(full, std::nullopt);
    apply(m_layers.front(), full, std::nullopt);
}

bool StoredSettings::sync(QString* reason)
{
    if (m_changes.empty())
        return true;
    const WholeFile::OversizeWriteGuard guard;
    SettingsStoreGuard::look(m_organisation, m_application);
    m_file = SettingsStoreGuard::files(m_organisation, m_application).first();

    Values values;
    QString why;
    const bool written = [&] {
        // What the file holds now (another program may have written it meanwhile), with the
        // changes over it; the settings made are read back before they replace the file, since
        // the settings class does not notice when the last part of its own write fails.
        Scratch scratch;
        QByteArray bytes;
        Values check;
        if (!read(m_file, scratch, QStringLiteral("stored.conf"), &values, &why))
            return false;
        for (const auto& [key, value] : m_changes)
            apply(values, key, value);
        if (!compose(values, scratch, guard, &bytes, &why) ||
            !parse(bytes, scratch, QStringLiteral("check.conf"), &check, &why))
            return false;
        if (!same(values, check)) {
            why = tr("The settings made do not read back as written");
            return false;
        }
        if (!QDir().mkpath(QFileInfo(m_file).path())) {
            why = tr("Unable to make the folder");
            return false;
        }
        if (!WholeFile::write(m_file, bytes, &why))
            return false;
        SettingsStoreGuard::remember(m_file, bytes);
        return true;
    }();
    if (!written) {
        if (reason)
            *reason = why;
        return false;
    }
    m_changes.clear();
    m_layers.front() = std::move(values);
    return true;
}
