#pragma once

#include <QByteArray>
#include <QString>

namespace Velmora {

// What the theme library shows of a theme bundle without loading the whole theme: the theme's
// name, the bundle's path and the two splash pictures, as stored (a picture format whose header
// reads). Filled by ThemeReader::readLibraryData.
struct ThemeLibraryData
{
    QString name;
    QString path;
    QByteArray landscapeSplash;
    QByteArray portraitSplash;
};

} // namespace Velmora
