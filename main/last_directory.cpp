#include "main/last_directory.h"

#include "core/stored_settings.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace Velmora {

QString lastDirectory(const QString& key, bool toFolder)
{
    const QString stored = StoredSettings().value(key).toString();
    // An empty path names no folder either.
    if (stored.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!toFolder)
        return stored;
    const QFileInfo info(stored);
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

} // namespace Velmora
