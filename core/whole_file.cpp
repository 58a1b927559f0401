#include "core/whole_file.h"

#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>
#include <unistd.h>

namespace WholeFile {

bool open(QSaveFile& file)
{
    const QFileInfo target(file.fileName());
    const bool exists = target.exists();
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (exists && (!target.isFile() || !target.isWritable() || !(target.permissions() & anyWrite)))
        return false;
    if (!file.open(QIODevice::WriteOnly))
        return false;
    struct stat status;
    if (exists && (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &status) != 0 ||
                   ::fchmod(file.handle(), (status.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0)) {
        file.cancelWriting();
        return false;
    }
    return true;
}

bool commit(QSaveFile& file, const QByteArray& contents)
{
    // commit() reports neither a failure of the last buffered write nor one of the sync (a full
    // device shows there), so both are done and checked here first.
    if (!file.isOpen())
        return false;
    if (file.write(contents) != contents.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit(); // drops the temporary file
        return false;
    }
    return file.commit();
}

bool write(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return open(file) && commit(file, contents);
}

} // namespace WholeFile
