#include "velmora_objects/qml/theme_image_provider.h"

#include "velmora_objects/theme.h"

#include <QStringView>
#include <QtConcurrent/QtConcurrentRun>

namespace VelmoraQML {

ThemeImageProvider::ThemeImageProvider(const Velmora::Theme* theme)
    : QQuickImageProvider(QQmlImageProviderBase::Pixmap), m_theme(theme)
{
}

ThemeImageProvider::ImageId ThemeImageProvider::parseId(const QString& id)
{
    struct Prefix
    {
        const char* text;
        ImageKind kind;
    };
    static const Prefix prefixes[] = {{"icon", ImageKind::Icon},
                                      {"controlImage", ImageKind::ControlImage},
                                      {"skinImage", ImageKind::SkinImage}};
    ImageKind kind = ImageKind::PageBackground;
    QStringView number(id);
    for (const Prefix& prefix : prefixes) {
        const QLatin1String text(prefix.text);
        if (id.startsWith(text, Qt::CaseSensitive)) {
            kind = prefix.kind;
            number = number.mid(text.size());
            break;
        }
    }

    ImageId result;
    if (number.isEmpty())
        return result;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return result;
    }
    bool ok = false;
    const unsigned int value = number.toUInt(&ok, 10);
    if (!ok)
        return result;
    result.kind = kind;
    result.number = value;
    return result;
}

namespace {

const Velmora::Theme::ImageStore* storeOf(const Velmora::Theme& theme,
                                          ThemeImageProvider::ImageKind kind)
{
    switch (kind) {
    case ThemeImageProvider::ImageKind::Icon:
        return &theme.getIcons();
    case ThemeImageProvider::ImageKind::ControlImage:
        return &theme.getControlImages();
    case ThemeImageProvider::ImageKind::SkinImage:
        return &theme.getSkinImages();
    case ThemeImageProvider::ImageKind::PageBackground:
        return &theme.getPageBackgroundImages();
    case ThemeImageProvider::ImageKind::Invalid:
        break;
    }
    return nullptr;
}

QByteArray dataOf(const Velmora::Theme& theme, const ThemeImageProvider::ImageId& image)
{
    const Velmora::Theme::ImageStore* store = storeOf(theme, image.kind);
    return store && store->exists(image.number) ? (*store)[image.number].getData() : QByteArray();
}

// What the GUI thread would make of the data: decoded, an icon scaled to its size, and in the
// format a pixmap takes without converting it.
QImage decoded(const QByteArray& data, bool icon)
{
    QImage image = QImage::fromData(data);
    if (image.isNull())
        return image;
    if (icon)
        image = image.scaled(Velmora::Theme::IconSize, Velmora::Theme::IconSize,
                             Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace

void ThemeImageProvider::prefetch(const QStringList& ids)
{
    if (!m_theme)
        return;
    for (const QString& id : ids) {
        const ImageId image = parseId(id);
        const QByteArray data = dataOf(*m_theme, image);
        if (data.isEmpty() || m_prefetched.count(id))
            continue;
        const bool icon = image.kind == ImageKind::Icon;
        m_prefetched[id] = {data, QtConcurrent::run([data, icon] { return decoded(data, icon); })};
    }
}

QPixmap ThemeImageProvider::storedPixmap(const ImageId& image) const
{
    switch (image.kind) {
    case ImageKind::Invalid:
        return QPixmap();
    case ImageKind::Icon:
        return m_theme->getIconPixmap(image.number);
    case ImageKind::ControlImage:
        return m_theme->getControlImagePixmap(image.number);
    case ImageKind::SkinImage:
        return m_theme->getSkinImagePixmap(image.number);
    case ImageKind::PageBackground:
        return m_theme->getPageBackgroundPixmap(image.number);
    }
    return QPixmap();
}

QPixmap ThemeImageProvider::requestPixmap(const QString& id, QSize* size,
                                          const QSize& requestedSize)
{
    if (!m_theme)
        return QPixmap();
    const ImageId image = parseId(id);
    if (image.kind == ImageKind::Invalid)
        return QPixmap();
    QPixmap pixmap;
    const auto prefetched = m_prefetched.find(id);
    if (prefetched != m_prefetched.end()) {
        // Taken once: the engine keeps the pixmap it gets.
        const Prefetched taken = prefetched->second;
        m_prefetched.erase(prefetched);
        if (taken.data == dataOf(*m_theme, image))
            pixmap = QPixmap::fromImage(taken.image.result());
    }
    if (pixmap.isNull())
        pixmap = storedPixmap(image);
    // An image a page or a button names that the theme does not hold (a change of theme can
    // leave such ids behind) shows as none: a transparent pixel, which the preview takes without
    // a warning at every showing.
    if (pixmap.isNull() && image.kind != ImageKind::SkinImage) {
        pixmap = QPixmap(1, 1);
        pixmap.fill(Qt::transparent);
    }
    if (size)
        *size = pixmap.size();
    if (requestedSize.width() < 0 || requestedSize.height() < 0 || pixmap.isNull())
        return pixmap;
    return pixmap.scaled(requestedSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace VelmoraQML
