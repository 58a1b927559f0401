#include "main/vendor_variants.h"

#include <QCoreApplication>

namespace {

const VendorVariants vendor{
    QStringLiteral("Orvane"),
    QStringLiteral("Dravelin"),
    QStringLiteral("Orvane Dravelin"),
    QStringLiteral("Orvane"),
    QStringLiteral("Dravelin"),
    QStringLiteral("OrvaneDravelin"),
    QStringLiteral("qvp"),
    QStringLiteral("qvt"),
    QColor(Qt::white),
    int(Qt::AlignCenter),
    QStringLiteral("\n\n\n\n\n"),
    QUrl(QStringLiteral("https://www.orvane.example/dravelin/releases.xml")),
};

QString& resourcesOverride()
{
    static QString path;
    return path;
}

} // namespace

const VendorVariants& VendorVariants::instance()
{
    return vendor;
}

SoftwareVersion currentSoftwareVersion()
{
    SoftwareVersion version;
    version.major = 1;
    version.minor = 1;
    version.patch = 1;
    return version;
}

QString resourcesPath()
{
    if (!resourcesOverride().isEmpty())
        return resourcesOverride();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources");
}

void setResourcesPathOverride(const QString& path)
{
    resourcesOverride() = path;
}
