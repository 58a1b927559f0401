#pragma once

#include <QPixmap>
#include <QQuickImageProvider>
#include <QSize>
#include <QString>

namespace Velmora {
class Theme;
}

namespace VelmoraQML {

// Serves the images of one theme to the preview under "image://theme<serial>/<id>": "icon<n>"
// a page icon (24 × 24), "controlImage<n>" a control image, "skinImage<n>" a skin image and a
// bare number a page background. Holds no cache: every request decodes the stored image.
class ThemeImageProvider : public QQuickImageProvider
{
public:
    enum class ImageKind
    {
        Invalid,
        Icon,
        ControlImage,
        SkinImage,
        PageBackground
    };
    struct ImageId
    {
        ImageKind kind = ImageKind::Invalid;
        unsigned int number = 0;
    };

    // The theme is not owned.
    explicit ThemeImageProvider(const Velmora::Theme* theme);

    // The kind and number of an image id; Invalid when the number after the prefix is not a
    // plain decimal number (empty, signed, spaced, other characters, too large).
    static ImageId parseId(const QString& id);

    // The image of the id, scaled to exactly the requested size (aspect ratio ignored, no
    // smoothing) when one is given; size gets the stored image's size. A null pixmap for an id
    // of no known form, without a theme, or for a skin image the theme does not hold; a
    // transparent pixel for a page background, icon or control image it does not hold, so that
    // an image a page or a button still names shows as none, without a warning.
    QPixmap requestPixmap(const QString& id, QSize* size, const QSize& requestedSize) override;

private:
    const Velmora::Theme* m_theme;
};

} // namespace VelmoraQML
