#pragma once

#include "velmora_objects/qml_renderer.h"

#include <QGradientStops>
#include <QString>

class QObject;
class QQmlEngine;
class QQuickItem;

namespace Velmora {
class Configuration;
class Renderable;
} // namespace Velmora

// Makes the live QML items of the page preview from the project: a page alone (with its
// background gradient and image under the object names "backgroundGradient" and
// "backgroundImage"), one control, one page switcher, or a lone gradient object.
//
// A page or control is written by the QML renderer as the text its component and item type
// share plus its own values; the text is compiled once per engine (the engine's component
// cache) and each item is created from the compiled component with its values, so that a page
// of many controls compiles nothing that was compiled before. Page switchers and gradients are
// compiled as whole documents through the same cache.
//
// Items are created in the engine's root context, without parent, under C++ ownership; the
// caller owns them. A page starts invisible. An object whose QML fails gives null and a
// warning. The engine (with the module initialised) and the project must outlive the factory.
class PreviewItemFactory
{
public:
    PreviewItemFactory(QQmlEngine& engine, const Velmora::Configuration& project);

    // Null as well when the project holds no object of that id.
    QQuickItem* createPage(unsigned int pageId) const;
    QQuickItem* createControl(unsigned int controlId) const;
    QQuickItem* createPageSwitcher(unsigned int pageSwitcherId) const;
    // A QML Gradient of the stops, for a page's background gradient.
    QObject* createGradient(const QGradientStops& stops) const;

private:
    QObject* create(const QString& text, const VelmoraQML::QMLPropertyValues& values) const;
    QQuickItem* createItem(const QString& text, const VelmoraQML::QMLPropertyValues& values) const;
    // Renders the object as editable QML and creates its item: a page without its children
    // (they are items of their own), anything else standalone, with its own copy of its theme.
    // With valuesApart, the own values go to the item's values rather than into the text.
    QQuickItem* renderItem(const Velmora::Renderable& object, bool page, bool valuesApart) const;

    QQmlEngine& m_engine;
    const Velmora::Configuration& m_project;
};
