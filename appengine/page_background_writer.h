#pragma once

#include <QColor>

class Gradient;
class PreviewItemFactory;
class QQmlEngine;
class QQuickItem;

namespace Velmora {
class Configuration;
}

// Writes a page's background into the page's live item: its colour, and the two named
// elements of an editable page, "backgroundGradient" and "backgroundImage". A null page, or
// one without the element, takes nothing. The engine, the project and the factory must outlive
// the writer.
class PageBackgroundWriter
{
public:
    PageBackgroundWriter(QQmlEngine& engine, const Velmora::Configuration& project,
                         const PreviewItemFactory& factory)
        : m_engine(engine), m_project(project), m_factory(factory)
    {
    }

    void setColour(QQuickItem* page, const QColor& colour) const;
    // An empty gradient hides the page's gradient.
    void setGradient(QQuickItem* page, const Gradient& gradient) const;
    void setGradientRotation(QQuickItem* page, unsigned int rotation) const;
    // Image id -1 removes the image. When the project's page has no scaling, the image takes
    // its natural size.
    void setImage(QQuickItem* page, unsigned int pageId, int imageId) const;
    // A Velmora::Scaling: 1 to 6 fill the screen with the matching fill mode, anything else
    // gives the image its natural size.
    void setImageScaling(QQuickItem* page, int scaling) const;

private:
    QQmlEngine& m_engine;
    const Velmora::Configuration& m_project;
    const PreviewItemFactory& m_factory;
};
