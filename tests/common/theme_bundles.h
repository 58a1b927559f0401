#pragma once

#include "common/helpers.h"
#include "velmora_objects/theme_reader.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <vector>

namespace TestUtil {

// One member of a hand-made theme bundle: its bytes, or, with a link target, a symbolic link
// (which no reader may extract).
struct BundleMember
{
    QString name;
    QByteArray content;
    QString linkTarget;
};

// Writes a bundle (gzip-compressed tar) holding the members in the given order at the path,
// staging the members' files in a folder beside it. False when the archive cannot be made.
bool makeBundle(const QString& path, const std::vector<BundleMember>& members);

// A theme document whose root, in the theme namespace, carries the attributes and holds the
// children as given.
QByteArray themeDocument(const QString& children,
                         const QString& rootAttributes = QStringLiteral("version=\"1\""));

// Puts the limits in force for the theme reader (and all that follow them) while it lives.
class ReaderLimits
{
public:
    explicit ReaderLimits(const ThemeReader::Limits& limits) { ThemeReader::setLimits(limits); }
    ~ReaderLimits() { ThemeReader::setLimits(ThemeReader::Limits()); }
    ReaderLimits(const ReaderLimits&) = delete;
    ReaderLimits& operator=(const ReaderLimits&) = delete;
};

} // namespace TestUtil
