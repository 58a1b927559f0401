#pragma once

#include <QBrush>
#include <QColor>
#include <cstddef>

class QPainter;
class QPixmap;
class QRect;

// A brush whose texture is a two-colour checkerboard of 10-pixel squares, painted behind colours
// that may be transparent so that their transparency shows. Every brush of one colour pair
// shares one 20 × 20 texture pixmap from a reference-counted cache; copies take a reference of
// their own. The cache is not locked: brushes are made and destroyed on the GUI thread only.
class CheckeredBrush : public QBrush
{
public:
    struct Texture
    {
        QPixmap* pixmap = nullptr;
        int count = 0;
    };

    // Mid grey (128, 128, 128) with light grey (192, 192, 192) squares, light at the top left.
    CheckeredBrush();
    // The tile is filled with `first`; its top-left and bottom-right quarters with `second`.
    CheckeredBrush(const QColor& first, const QColor& second);
    CheckeredBrush(const CheckeredBrush& other);
    CheckeredBrush& operator=(const CheckeredBrush& other);
    ~CheckeredBrush();

    // Fills the rectangle with the default checkerboard: the background that gradient icons
    // get through setSwatchBackgroundPainter().
    static void fillSwatch(QPainter& painter, const QRect& rect);

    // Diagnostics of the shared cache: the number of textures held, and the number of brushes
    // using the texture of one colour pair (0 when it is not cached).
    static std::size_t cachedTextureCount();
    static int textureUseCount(const QColor& first, const QColor& second);

private:
    void acquireTexture();
    void releaseTexture();

    QColor first;
    QColor second;
};
