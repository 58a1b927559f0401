#include "common/theme_bundles.h"

#include "common/helpers.h"
#include "core/targz_archive.h"
#include "velmora_objects/theme_xml_values.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace TestUtil {

bool makeBundle(const QString& path, const std::vector<BundleMember>& members)
{
    const QString staging = path + QStringLiteral(".members");
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging))
        return false;
    QList<TarItemInfo> items;
    int number = 0;
    for (const BundleMember& member : members) {
        const QString file = staging + QLatin1Char('/') + QString::number(number++);
        const bool made = member.linkTarget.isEmpty() ? writeFile(file, member.content)
                                                      : QFile::link(member.linkTarget, file);
        if (!made)
            return false;
        items.append(TarItemInfo{file, member.name});
    }
    TargzArchive archive;
    const bool created = archive.create(path, items);
    QDir(staging).removeRecursively();
    return created;
}

QByteArray themeDocument(const QString& children, const QString& rootAttributes)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<t:Theme xmlns:t=\"%1\" %2>\n%3\n</t:Theme>\n")
        .arg(VELMORA_THEME_NAMESPACE, rootAttributes, children)
        .toUtf8();
}

} // namespace TestUtil
