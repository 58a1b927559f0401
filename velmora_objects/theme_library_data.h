#pragma once

#include <QPixmap>
#include <QString>

namespace Velmora {

// What the theme library shows of a theme bundle without loading the whole theme: the theme's
// name, the bundle's path and the two splash pictures. Filled by ThemeReader::readLibraryData.
struct ThemeLibraryData
{
    QString name;
    QString path;
    QPixmap landscapeSplash;
    QPixmap portraitSplash;
};

} // namespace Velmora
