#pragma once

#include <QString>
#include <QTemporaryDir>

namespace TestUtil {

// Points the user-scope settings store of this process at a fresh temporary folder and gives
// the application the organisation and application names below, so that tests never touch
// the user's own settings. The previous names come back on destruction.
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
};

} // namespace TestUtil
