#pragma once

#include "main/software_version.h"

#include <QColor>
#include <QString>
#include <QUrl>

// The product-dependent values that the rest of the shell reads: names, file extensions, the
// look of the splash message and the address of the release list. One read-only record for
// the whole process.
struct VendorVariants
{
    QString organisationName;
    QString applicationName;
    QString fullName;
    QString settingsOrganisation;
    QString settingsApplication;
    QString identifier;
    QString projectExtension;
    QString themeExtension;
    QColor splashColour;
    int splashAlignment;
    QString splashText;
    QUrl updateUrl;

    static const VendorVariants& instance();
};

// The version of this program: 1.1.1, a final release.
SoftwareVersion currentSoftwareVersion();

// The folder of the bundled resources: the program's folder followed by "/../Resources", as
// given (not normalised), or the folder set by setResourcesPathOverride.
QString resourcesPath();
// Makes resourcesPath() answer the folder; an empty text restores the program's own. For tests
// that run outside the bundle.
void setResourcesPathOverride(const QString& path);
