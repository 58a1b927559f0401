#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace TestUtil {

// Points the user-scope settings store of this process at a fresh temporary folder and gives
// the application the organisation and application names below, so that tests never touch
// the user's own settings. The previous names, settings folders and standard paths' test mode
// come back on destruction.
class IsolatedSettings
{
public:
    static constexpr const char* organisation = "Velmora Tests";
    static constexpr const char* application = "Velmora Test";

    IsolatedSettings();
    ~IsolatedSettings();
    IsolatedSettings(const IsolatedSettings&) = delete;
    IsolatedSettings& operator=(const IsolatedSettings&) = delete;

    bool isValid() const { return folder.isValid(); }
    QString path() const { return folder.path(); }

private:
    QTemporaryDir folder;
    QString previousOrganisation;
    QString previousApplication;
    bool previousTestMode;
    // The settings folders before, by format and scope as in the constructor.
    QStringList previousFolders;
};

} // namespace TestUtil
