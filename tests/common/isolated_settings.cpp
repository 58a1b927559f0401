#include "common/isolated_settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace TestUtil {

namespace {

const QSettings::Format formats[] = {QSettings::NativeFormat, QSettings::IniFormat};
const QSettings::Scope scopes[] = {QSettings::UserScope, QSettings::SystemScope};

// The folder of the settings files of that format and scope, which Qt only tells through the
// file of a settings object: "<folder>/<organisation>/<application>.conf".
QString settingsFolder(QSettings::Format format, QSettings::Scope scope)
{
    const QString file = QSettings(format, scope, "organisation", "application").fileName();
    return QFileInfo(QFileInfo(file).path()).path();
}

} // namespace

IsolatedSettings::IsolatedSettings()
    : previousOrganisation(QCoreApplication::organizationName()),
      previousApplication(QCoreApplication::applicationName()),
      previousTestMode(QStandardPaths::isTestModeEnabled())
{
    QStandardPaths::setTestModeEnabled(true);
    for (QSettings::Format format : formats)
        for (QSettings::Scope scope : scopes) {
            previousFolders << settingsFolder(format, scope);
            QSettings::setPath(format, scope,
                               scope == QSettings::UserScope ? folder.path()
                                                             : folder.path() + "/system");
        }
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
}

IsolatedSettings::~IsolatedSettings()
{
    QCoreApplication::setOrganizationName(previousOrganisation);
    QCoreApplication::setApplicationName(previousApplication);
    int next = 0;
    for (QSettings::Format format : formats)
        for (QSettings::Scope scope : scopes)
            QSettings::setPath(format, scope, previousFolders.at(next++));
    QStandardPaths::setTestModeEnabled(previousTestMode);
}

} // namespace TestUtil
