#include "velmora_objects/temporary_directory.h"

#include "file_system/file_system.h"

#include <QStandardPaths>

namespace {

QString& applicationDataOverride()
{
    static QString folder;
    return folder;
}

} // namespace

TemporaryDirectory::TemporaryDirectory() = default;

TemporaryDirectory::~TemporaryDirectory()
{
    clean();
}

bool TemporaryDirectory::setPath(const QString& path, bool clear)
{
    clean();
    // An empty path would stand for the current folder; it is treated as no folder at all, so
    // that nothing outside a work folder is ever emptied or removed.
    if (path.isEmpty()) {
        m_path = QString();
        m_dir = QDir();
        return true;
    }
    m_path = path;
    m_dir = QDir(path);
    if (!m_dir.exists())
        return m_dir.mkpath(QStringLiteral("."));
    if (clear)
        FileSystem::removeRecursively(m_dir.absolutePath(), true);
    return true;
}

void TemporaryDirectory::clean()
{
    if (m_path.isEmpty())
        return;
    FileSystem::removeRecursively(m_dir.absolutePath(), false);
}

QString TemporaryDirectory::applicationDataFolder()
{
    if (!applicationDataOverride().isNull())
        return applicationDataOverride();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a home folder there is no standard location; the system's temporary folder then
    // keeps the work folders away from the file-system root.
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

void TemporaryDirectory::setApplicationDataFolder(const QString& folder)
{
    applicationDataOverride() = folder;
}
