#include "appengine/page_background_writer.h"

#include "appengine/preview_item_factory.h"
#include "core/gradient.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"

#include <QJSValue>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QUrl>

namespace {

// The named direct child of the page; null without one.
QObject* childOf(QQuickItem* page, const char* name)
{
    return page ? page->findChild<QObject*>(QLatin1String(name), Qt::FindDirectChildrenOnly)
                : nullptr;
}

// An image item takes the size of the image it shows.
void giveNaturalSize(QObject* image)
{
    QQmlProperty::write(image, QStringLiteral("width"),
                        QQmlProperty::read(image, QStringLiteral("sourceSize.width")));
    QQmlProperty::write(image, QStringLiteral("height"),
                        QQmlProperty::read(image, QStringLiteral("sourceSize.height")));
}

// Whether the scaling gives the image a fill mode over the page; without one (None, or a
// number a file may hold that names no scaling) the image keeps its own size.
bool fillsPage(int scaling)
{
    return scaling >= Velmora::Scaling_STRETCH && scaling <= Velmora::Scaling_TILED_HORIZONTALLY;
}

} // namespace

void PageBackgroundWriter::setColour(QQuickItem* page, const QColor& colour) const
{
    if (page)
        QQmlProperty::write(page, QStringLiteral("color"), colour);
}

void PageBackgroundWriter::setGradient(QQuickItem* page, const Gradient& gradient) const
{
    QObject* rectangle = childOf(page, "backgroundGradient");
    if (!rectangle)
        return;
    QObject* object = m_factory.createGradient(gradient.stops());
    if (!object)
        return;
    QObject* previous =
        QQmlProperty::read(rectangle, QStringLiteral("gradient")).value<QJSValue>().toQObject();
    // A gradient with a parent stays the parent's: the script engine never collects it.
    object->setParent(rectangle);
    QQmlProperty::write(rectangle, QStringLiteral("gradient"),
                        QVariant::fromValue(m_engine.newQObject(object)));
    QQmlProperty::write(rectangle, QStringLiteral("visible"), !gradient.stops().isEmpty());
    if (previous && previous != object && previous->parent() == rectangle)
        previous->deleteLater();
}

void PageBackgroundWriter::setGradientRotation(QQuickItem* page, unsigned int rotation) const
{
    if (QObject* rectangle = childOf(page, "backgroundGradient"))
        QQmlProperty::write(rectangle, QStringLiteral("rotation"), int(rotation));
}

void PageBackgroundWriter::setImage(QQuickItem* page, unsigned int pageId, int imageId) const
{
    QObject* image = childOf(page, "backgroundImage");
    if (!image)
        return;
    const QString source =
        imageId == -1
            ? QString()
            : QStringLiteral("image://theme%1/%2").arg(m_project.getSerial()).arg(imageId);
    QQmlProperty::write(image, QStringLiteral("source"), QUrl(source));
    if (m_project.getPages().exists(pageId) &&
        !fillsPage(m_project.getPage(pageId).getBackgroundImageScaling()))
        giveNaturalSize(image);
}

void PageBackgroundWriter::setImageScaling(QQuickItem* page, int scaling) const
{
    QObject* image = childOf(page, "backgroundImage");
    if (!image)
        return;
    if (fillsPage(scaling)) {
        // Image.Stretch 0, PreserveAspectFit, PreserveAspectCrop, Tile, TileVertically,
        // TileHorizontally 5.
        QQmlProperty::write(image, QStringLiteral("fillMode"), scaling - 1);
        QQmlProperty::write(image, QStringLiteral("width"), m_project.getWidth());
        QQmlProperty::write(image, QStringLiteral("height"), m_project.getHeight());
    } else {
        QQmlProperty::write(image, QStringLiteral("fillMode"), 0);
        giveNaturalSize(image);
    }
}
