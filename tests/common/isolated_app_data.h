#pragma once

#include "velmora_objects/temporary_directory.h"

#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

namespace TestUtil {

// Points the application-data folder, where theme bundles are assembled and unpacked, at a
// fresh temporary folder (with Qt's test mode on as well), so that tests never touch the
// user's own data. The folder and the test mode before come back on destruction.
class IsolatedAppData
{
public:
    IsolatedAppData();
    ~IsolatedAppData();
    IsolatedAppData(const IsolatedAppData&) = delete;
    IsolatedAppData& operator=(const IsolatedAppData&) = delete;

    bool isValid() const { return folder.isValid(); }
    QString path() const { return folder.path(); }

private:
    QTemporaryDir folder;
    QString previousFolder = TemporaryDirectory::applicationDataFolder();
    bool previousTestMode = QStandardPaths::isTestModeEnabled();
};

} // namespace TestUtil
