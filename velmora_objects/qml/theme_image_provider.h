#pragma once

#include <QFuture>
#include <QImage>
#include <QPixmap>
#include <QQuickImageProvider>
#include <QSize>
#include <QString>
#include <QStringList>
#include <map>

namespace Velmora {
class Theme;
}

namespace VelmoraQML {

// Serves the images of one theme to the preview under "image://theme<serial>/<id>": "icon<n>"
// a page icon (24 × 24), "controlImage<n>" a control image, "skinImage<n>" a skin image and a
// bare number a page background. Holds no cache: every request decodes the stored image, unless
// it was decoded ahead (prefetch) from the data the theme still holds.
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

    // Starts decoding the images of the ids on threads of the global pool, so that the first
    // request of each (the preview about to show a page) finds it decoded; a request that comes
    // before a decoding has started does it itself. Ids of no known form are left out.
    void prefetch(const QStringList& ids);

private:
    struct Prefetched
    {
        QByteArray data;
        QFuture<QImage> image;
    };
    // The image of the id as stored, icons scaled to their size; null when there is none.
    QPixmap storedPixmap(const ImageId& image) const;

    const Velmora::Theme* m_theme;
    std::map<QString, Prefetched> m_prefetched;
};

} // namespace VelmoraQML
