#include "velmora_objects/qml/theme_image_provider.h"

#include "velmora_objects/theme.h"

#include <QStringView>

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

QPixmap ThemeImageProvider::requestPixmap(const QString& id, QSize* size,
                                          const QSize& requestedSize)
{
    if (!m_theme)
        return QPixmap();
    const ImageId image = parseId(id);
    QPixmap pixmap;
    switch (image.kind) {
    case ImageKind::Invalid:
        return QPixmap();
    case ImageKind::Icon:
        pixmap = m_theme->getIconPixmap(image.number);
        break;
    case ImageKind::ControlImage:
        pixmap = m_theme->getControlImagePixmap(image.number);
        break;
    case ImageKind::SkinImage:
        pixmap = m_theme->getSkinImagePixmap(image.number);
        break;
    case ImageKind::PageBackground:
        pixmap = m_theme->getPageBackgroundPixmap(image.number);
        break;
    }
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
