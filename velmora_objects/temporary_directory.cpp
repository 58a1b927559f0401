#include "velmora_objects/temporary_directory.h"

#include "file_system/file_system.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString& applicationDataOverride()
{
    static QString folder;
    return folder;
}

const QLatin1String ProcessFolderPrefix("velmora_process_");
// A folder is made under this name and takes the prefix only once its owner holds the lock,
// so that no other process can take a folder being made for one that has ended.
const QLatin1String StagingPrefix(".velmora_process_new_");
const QLatin1String OwnerFileName(".owner");

int openOwnerFile(const QString& folder, int flags)
{
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + OwnerFileName);
    return ::open(path.constData(), flags | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// Removes the process folders whose owner has ended: their lock can be taken. The lock is held
// while the folder goes, so that two processes never remove the same folder at once.
void removeFoldersOfEndedProcesses(const QString& base)
{
    const QFileInfoList folders = QDir(base).entryInfoList(
        {ProcessFolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& folder : folders) {
        if (folder.isSymLink())
            continue;
        const int owner = openOwnerFile(folder.absoluteFilePath(), 0);
        // A folder without its owner file is one whose removal was cut short.
        if (owner < 0 && errno != ENOENT)
            continue;
        if (owner < 0 || ::flock(owner, LOCK_EX | LOCK_NB) == 0)
            FileSystem::removeRecursively(folder.absoluteFilePath(), false);
        if (owner >= 0)
            ::close(owner);
    }
}

struct ProcessFolder
{
    ProcessFolder() = default;
    ProcessFolder(const ProcessFolder&) = delete;
    ProcessFolder& operator=(const ProcessFolder&) = delete;
    // At exit, the folder goes with the process.
    ~ProcessFolder() { release(); }

    void release()
    {
        if (!path.isEmpty())
            FileSystem::removeRecursively(path, false);
        if (owner >= 0)
            ::close(owner);
        base.clear();
        path.clear();
        owner = -1;
    }

    bool make(const QString& applicationData)
    {
        release();
        if (!QDir().mkpath(applicationData))
            return false;
        const QString absoluteBase = QDir(applicationData).absolutePath();
        removeFoldersOfEndedProcesses(absoluteBase);
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray staging = QFile::encodeName(absoluteBase + QLatin1Char('/') + StagingPrefix +
                                                   QLatin1String("XXXXXX"));
            if (!::mkdtemp(staging.data()))
                return false;
            const QString stagingPath = QFile::decodeName(staging);
            const int lock = openOwnerFile(stagingPath, O_CREAT | O_EXCL);
            if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
                if (lock >= 0)
                    ::close(lock);
                FileSystem::removeRecursively(stagingPath, false);
                return false;
            }
            const QString finalPath =
                absoluteBase + QLatin1Char('/') + ProcessFolderPrefix + stagingPath.right(6);
            // Never replaces a folder of that name, not even an empty one.
            if (::renameat2(AT_FDCWD, staging.constData(), AT_FDCWD,
                            QFile::encodeName(finalPath).constData(), RENAME_NOREPLACE) == 0) {
                base = applicationData;
                path = finalPath;
                owner = lock;
                return true;
            }
            const int error = errno;
            ::close(lock);
            FileSystem::removeRecursively(stagingPath, false);
            if (error != EEXIST)
                return false;
        }
        return false;
    }

    QString base;
    QString path;
    int owner = -1;
};

ProcessFolder& processFolderState()
{
    static ProcessFolder folder;
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

QString TemporaryDirectory::processFolder()
{
    ProcessFolder& folder = processFolderState();
    const QString applicationData = applicationDataFolder();
    const QFileInfo made(folder.path);
    if (folder.path.isEmpty() || folder.base != applicationData || !made.isDir() ||
        made.isSymLink()) {
        if (!folder.make(applicationData))
            return QString();
    }
    return folder.path;
}
