#pragma once

#include <QString>
#include <QXmlStreamWriter>

class QIODevice;

namespace Velmora {

class ImageData;
class Skin;
class SkinProperty;
class Theme;

// The names of the bundle members that carry a theme's images: "image_<id>", "icon_<id>",
// "control_image_<id>" and "skin_image_<id>", the id in decimal.
namespace ThemeWriter {
QString imageFileName(const ImageData& image);
QString iconFileName(const ImageData& image);
QString controlImageFileName(const ImageData& image);
QString skinImageFileName(const ImageData& image);
} // namespace ThemeWriter

} // namespace Velmora

// Writes a theme as the theme XML document of a theme bundle: the root "Theme" in the theme
// namespace with "version" 1, then the name, the splash and image members, the default item
// properties and the skin sets, auto-formatted with an indent of 4. Images are named as the
// bundle members that carry them; the bundle writer supplies those members.
//
// Only what reads back is written: item types without a name are left out, and so is an Image
// skin property whose value names no image of the theme's skin-image store (such as the
// resource address of a built-in clock face), so that a reader fills it in from the default
// skin or the property table.
class ThemeXmlWriter : public QXmlStreamWriter
{
public:
    ThemeXmlWriter();

    // Writes the whole document into the device, which must be open for writing; the caller
    // closes it and checks hasError() and the device for write failures.
    void write(QIODevice* device, const Velmora::Theme& theme);
    // The children of the root element.
    void writeTheme(const Velmora::Theme& theme);

private:
    void writeImages(const Velmora::Theme& theme);
    void writeDefaultItemProperties(const Velmora::Theme& theme);
    void writeSkinSets(const Velmora::Theme& theme);
    void writeSkin(const Velmora::Skin& skin, bool isDefault, const Velmora::Theme& theme);
    void writeSkinProperty(const Velmora::SkinProperty& property, const Velmora::Theme& theme);
};
