#include "core/whole_file.h"

#include <QFileInfo>
#include <QSaveFile>
#include <unistd.h>

namespace WholeFile {

bool write(const QString& path, const QByteArray& contents)
{
    const QFileInfo target(path);
    if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() neither reports a failure of the last buffered write nor one of the sync (a
    // full device shows there), so both are done and checked here first.
    if (file.write(contents) != contents.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    const QFileDevice::Permissions permissions = QFileInfo(path).permissions();
    if (!(permissions & QFileDevice::ReadOwner))
        QFile::setPermissions(path, permissions | QFileDevice::ReadOwner);
    return true;
}

} // namespace WholeFile
