#include "common/isolated_settings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

namespace TestUtil {

IsolatedSettings::IsolatedSettings()
    : previousOrganisation(QCoreApplication::organizationName()),
      previousApplication(QCoreApplication::applicationName())
{
    QStandardPaths::setTestModeEnabled(true);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, folder.path());
        QSettings::setPath(format, QSettings::SystemScope, folder.path() + "/system");
    }
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
}

IsolatedSettings::~IsolatedSettings()
{
    QCoreApplication::setOrganizationName(previousOrganisation);
    QCoreApplication::setApplicationName(previousApplication);
}

} // namespace TestUtil
