#include "common/isolated_app_data.h"

#include "velmora_objects/temporary_directory.h"

#include <QStandardPaths>

namespace TestUtil {

IsolatedAppData::IsolatedAppData()
{
    QStandardPaths::setTestModeEnabled(true);
    TemporaryDirectory::setApplicationDataFolder(folder.path());
}

IsolatedAppData::~IsolatedAppData()
{
    QStandardPaths::setTestModeEnabled(previousTestMode);
    // The standard location when that was the folder, so that it follows the test mode again.
    TemporaryDirectory::setApplicationDataFolder(QString());
    if (TemporaryDirectory::applicationDataFolder() != previousFolder)
        TemporaryDirectory::setApplicationDataFolder(previousFolder);
}

} // namespace TestUtil
