#include "gui/backdrop_icon_model.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace {

const QColor darkBackdrop(48, 54, 64);
const QColor lightBackdrop(250, 250, 250);

// The relative luminance of a colour (0 black to 1 white), as contrast ratios are reckoned.
double luminance(const QColor& colour)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

double contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The backdrop against which the picture's pixels, weighed by their opacity, stand out more.
QColor backdropFor(const QPixmap& picture)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const double dark = luminance(darkBackdrop), light = luminance(lightBackdrop);
    double onDark = 0, onLight = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double opacity = qAlpha(line[x]) / 255.0, own = luminance(QColor(line[x]));
            onDark += opacity * contrast(own, dark);
            onLight += opacity * contrast(own, light);
        }
    }
    return onDark > onLight ? darkBackdrop : lightBackdrop;
}

} // namespace

QPixmap onContrastingBackdrop(const QPixmap& picture)
{
    if (picture.isNull())
        return picture;
    QPixmap shown(picture.size());
    shown.setDevicePixelRatio(picture.devicePixelRatio());
    shown.fill(backdropFor(picture));
    QPainter painter(&shown);
    painter.drawPixmap(0, 0, picture);
    return shown;
}

BackdropIconModel::BackdropIconModel(QObject* parent) : QIdentityProxyModel(parent)
{
    // A new source, or the source reset, resets this model too.
    connect(this, &QAbstractItemModel::modelReset, this, [this] { icons.clear(); });
}

QVariant BackdropIconModel::data(const QModelIndex& index, int role) const
{
    QVariant value = QIdentityProxyModel::data(index, role);
    if (role != Qt::DecorationRole || value.metaType().id() != QMetaType::QIcon)
        return value;
    const QIcon source = value.value<QIcon>();
    auto known = icons.constFind(source.cacheKey());
    if (known == icons.constEnd()) {
        QIcon shown;
        for (const QSize& size : source.availableSizes())
            shown.addPixmap(onContrastingBackdrop(source.pixmap(size)));
        known = icons.insert(source.cacheKey(), shown);
    }
    return *known;
}
