#include "gui/checkered_brush.h"

#include "core/assertion.h"

#include <QPainter>
#include <QPixmap>
#include <map>
#include <utility>

namespace {

// Orders colour pairs by their exact 16-bit-per-channel RGBA values, first colour then second:
// two pairs share a texture exactly when they would paint the same tile.
struct ColourPairLess
{
    bool operator()(const std::pair<QColor, QColor>& a, const std::pair<QColor, QColor>& b) const
    {
        const quint64 a1 = a.first.rgba64(), b1 = b.first.rgba64();
        if (a1 != b1)
            return a1 < b1;
        return quint64(a.second.rgba64()) < quint64(b.second.rgba64());
    }
};

using TextureCache = std::map<std::pair<QColor, QColor>, CheckeredBrush::Texture, ColourPairLess>;

TextureCache& cache()
{
    static TextureCache textures;
    return textures;
}

QPixmap* paintTile(const QColor& first, const QColor& second)
{
    auto* pixmap = new QPixmap(20, 20);
    QPainter painter(pixmap);
    painter.fillRect(0, 0, 20, 20, first);
    painter.fillRect(0, 0, 10, 10, second);
    painter.fillRect(10, 10, 10, 10, second);
    return pixmap;
}

} // namespace

// Gives back this brush's reference on its texture; the last reference frees the pixmap.
void CheckeredBrush::releaseTexture()
{
    TextureCache& textureCache = cache();
    const auto iTexture = textureCache.find(std::make_pair(first, second));
    // Every live brush holds a reference, so its texture is in the cache; a missing entry means
    // the references went out of step.
    VELMORA_ASSERT(iTexture != textureCache.end());
    if (--iTexture->second.count == 0) {
        delete iTexture->second.pixmap;
        textureCache.erase(iTexture);
    }
}

// Takes a reference on the texture of this brush's colours, painting it on first use.
void CheckeredBrush::acquireTexture()
{
    Texture& texture = cache()[std::make_pair(first, second)];
    if (!texture.pixmap)
        texture.pixmap = paintTile(first, second);
    ++texture.count;
    setTexture(*texture.pixmap);
}

CheckeredBrush::CheckeredBrush() : CheckeredBrush(QColor(128, 128, 128), QColor(192, 192, 192)) {}

CheckeredBrush::CheckeredBrush(const QColor& first, const QColor& second)
    : first(first), second(second)
{
    acquireTexture();
}

CheckeredBrush::CheckeredBrush(const CheckeredBrush& other)
    : QBrush(other), first(other.first), second(other.second)
{
    acquireTexture();
}

CheckeredBrush& CheckeredBrush::operator=(const CheckeredBrush& other)
{
    if (this == &other)
        return *this;
    // A copy holds the old texture while the brush switches, so that assigning a brush of the
    // same colours never frees and repaints the shared texture in between.
    const CheckeredBrush previous(*this);
    releaseTexture();
    QBrush::operator=(other);
    first = other.first;
    second = other.second;
    acquireTexture();
    return *this;
}

CheckeredBrush::~CheckeredBrush()
{
    releaseTexture();
}

void CheckeredBrush::fillSwatch(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, CheckeredBrush());
}

std::size_t CheckeredBrush::cachedTextureCount()
{
    return cache().size();
}

int CheckeredBrush::textureUseCount(const QColor& first, const QColor& second)
{
    const auto it = cache().find(std::make_pair(first, second));
    return it == cache().end() ? 0 : it->second.count;
}
