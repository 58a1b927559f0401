#pragma once

#include "resources/theme_maker/theme_description.h"

#include <QString>
#include <memory>

namespace Velmora {
class Theme;
}

namespace ThemeMaker {

// Builds the theme of a description with the pictures of its folder under imageFolder: the
// splash pictures, the page backgrounds of both orientations, the page icons, the clock's skin
// images, one skin of every SkinIndex for each of the six control types (every property of the
// type's table, each skin with its own transition), and the default item properties of the
// controls and the page switcher. Returns null and sets the error when a picture cannot be read
// or a value names a property that the type's table lacks.
std::unique_ptr<Velmora::Theme> buildTheme(const ThemeDescription& description,
                                           const QString& imageFolder, QString& error);

} // namespace ThemeMaker
