#include "file_system/file_system.h"

#include "core/assertion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <filesystem>
#include <system_error>

namespace FileSystem {

namespace {

// The longest file name (in bytes) that common file systems accept.
constexpr int MaximumFileNameBytes = 255;

QString joined(const QString& folder, const QString& entry)
{
    return folder + QDir::separator() + entry;
}

// "dir/" names the folder a link points to; without the trailing separator the link itself is
// examined, which keeps the removal from following it.
QString withoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool removeEntry(const QString& path, bool keepTopFolder)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path);
    if (!info.exists())
        return false;
    if (!info.isDir()) {
        if (info.isFile() && !(info.permissions() & QFileDevice::WriteOther))
            QFile::setPermissions(path, QFileDevice::WriteOther);
        return QFile::remove(path);
    }
    // System lists the entries that Files leaves out: dangling links, sockets and pipes.
    const QStringList entries = QDir(path).entryList(QDir::Dirs | QDir::Files | QDir::System |
                                                         QDir::Hidden | QDir::NoDotAndDotDot,
                                                     QDir::NoSort);
    for (const QString& entry : entries) {
        if (!removeEntry(joined(path, entry), false))
            return false;
    }
    if (keepTopFolder)
        return true;
    return QDir().rmdir(path);
}

bool copyLink(const QString& source, const QString& destination)
{
    std::error_code error;
    std::filesystem::copy_symlink(QFile::encodeName(source).toStdString(),
                                  QFile::encodeName(destination).toStdString(), error);
    return !error;
}

// Below the top level both paths are absolute, so every level resolves them alike. The source is
// listed before the destination is made, so a destination inside the source is never copied
// into itself.
bool copyEntry(const QString& source, const QString& destination)
{
    const QFileInfo info(source);
    if (!info.exists())
        return false;
    if (info.isFile())
        return QFile::copy(source, destination);
    if (!info.isDir())
        return false;
    const QStringList entries =
        QDir(source).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    if (!QDir().mkpath(destination))
        return false;
    for (const QString& entry : entries) {
        const QString from = joined(source, entry);
        const QString to = joined(destination, entry);
        if (!(QFileInfo(from).isSymLink() ? copyLink(from, to) : copyEntry(from, to)))
            return false;
    }
    return true;
}

} // namespace

bool removeRecursively(const QString& path, bool keepTopFolder)
{
    if (QFileInfo(path).isRelative()) {
        reportError(QStringLiteral("Tried to delete non-absolute path %1").arg(path).toStdString(),
                    __LINE__, VELMORA_ASSERTION_UNIT);
    }
    return removeEntry(withoutTrailingSeparators(path), keepTopFolder);
}

bool copyRecursively(const QString& source, const QString& destination)
{
    // A folder's relative destination is taken relative to the folder itself.
    const QFileInfo info(source);
    if (info.isDir())
        return copyEntry(info.absoluteFilePath(), QDir(source).absoluteFilePath(destination));
    return copyEntry(source, destination);
}

QString createTemporaryFolder(const QString& baseName, const QString& parentFolder)
{
    const QDir parent = parentFolder.isNull() ? QDir::temp() : QDir(parentFolder);
    // A dangling link takes its name too.
    auto taken = [&parent](const QString& name) {
        const QFileInfo entry(parent.filePath(name));
        return entry.exists() || entry.isSymLink();
    };
    QString candidate = baseName;
    for (unsigned n = 0; taken(candidate); ++n)
        candidate = baseName + QString::number(n);
    if (!parent.mkdir(candidate))
        return QString();
    return parent.absoluteFilePath(candidate);
}

QString visibleFileName(const QString& name, const QString& suffix)
{
    QString base = name;
    // Characters that some system refuses in a file name: "/" everywhere, the others on
    // Windows, control characters in archivers and shells.
    for (QChar& character : base) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7f ||
            QStringView(u"/\\:*?\"<>|").contains(character))
            character = u'_';
    }
    // A name starting with "." is hidden once extracted, and "._" marks the sidecars of macOS
    // archivers, which readers pass over; the empty name would give the suffix alone.
    if (base.isEmpty() || base.front() == u'.')
        base.prepend(u'_');
    // Windows takes a device name before the first dot, in any case and with spaces after it,
    // for the device.
    static const QRegularExpression device(
        QStringLiteral(
            "^(CON|PRN|AUX|NUL|CONIN\\$|CONOUT\\$|(COM|LPT)[0-9\u00b9\u00b2\u00b3]) *(?=\\.|$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch reserved = device.match(base);
    if (reserved.hasMatch())
        base.insert(reserved.capturedLength(1), u'_');
    while (!base.isEmpty() && (base + suffix).toUtf8().size() > MaximumFileNameBytes) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base + suffix;
}

} // namespace FileSystem
