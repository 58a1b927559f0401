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
    TemporaryDirectory::setApplicationDataFolder(QString());
}

} // namespace TestUtil
