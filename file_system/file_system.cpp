#include "file_system/file_system.h"

#include "core/assertion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace FileSystem {

namespace {

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

// Both paths are absolute, so every level resolves them alike. The source is listed before the
// destination is made, so a destination inside the source is never copied into itself.
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
    const QFileInfo info(source);
    if (!info.exists())
        return false;
    if (info.isFile())
        return QFile::copy(source, destination);
    if (!info.isDir())
        return false;
    return copyEntry(info.absoluteFilePath(), QDir(source).absoluteFilePath(destination));
}

QString createTemporaryFolder(const QString& baseName, const QString& parentFolder)
{
    const QDir parent = parentFolder.isNull() ? QDir::temp() : QDir(parentFolder);
    QString candidate = baseName;
    for (unsigned n = 0; QFileInfo(parent.filePath(candidate)).exists() ||
                         QFileInfo(parent.filePath(candidate)).isSymLink();
         ++n)
        candidate = baseName + QString::number(n);
    if (!parent.mkdir(candidate))
        return QString();
    return parent.absoluteFilePath(candidate);
}

} // namespace FileSystem
