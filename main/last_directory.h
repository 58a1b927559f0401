#pragma once

#include <QString>

namespace Velmora {

// Where a file dialog starts: the path remembered in the settings under key ("File/LastFile",
// "File/LastTheme", "File/LastImage"). With toFolder, the path itself when it names a folder,
// else the folder holding it; without, the stored path unchanged, so that an open dialog
// starts on the last file. The user's documents folder when nothing (or an empty path) is stored.
QString lastDirectory(const QString& key, bool toFolder);

} // namespace Velmora
