#pragma once

#include "velmora_objects/qml_renderer.h"

#include <QGradientStops>
#include <QPointer>
#include <QString>
#include <unordered_map>
#include <vector>

class QObject;
class QQmlEngine;
class QQuickItem;

namespace Velmora {
class Configuration;
class Renderable;
class Skin;
} // namespace Velmora

// Makes the live QML items of the page preview from the project: a page alone (with its
// background gradient and image under the object names "backgroundGradient" and
// "backgroundImage"), one control, one page switcher, or a lone gradient object.
//
// A page, control or page switcher is written by the QML renderer as the text its component
// and item type share plus its own values; the text is compiled once per engine (the engine's
// component cache) and each item is created from the compiled component with its values, so
// that a page of many controls compiles nothing that was compiled before. A switcher's page
// buttons are items of their own, made from one component with their values, so that a
// switcher can be built a button at a time. Gradients are compiled as whole documents through
// the same cache.
//
// Every control shares one theme object, made from the project's theme on first use and kept
// until forgetTheme(): the theme must not change in between (a change of theme rebuilds every
// item, and the scene forgets the theme then).
//
// Items are created in the engine's root context, without parent, under C++ ownership; the
// caller owns them. A page starts invisible. An object whose QML fails gives null and a
// warning. The engine (with the module initialised) and the project must outlive the factory.
class PreviewItemFactory
{
public:
    PreviewItemFactory(QQmlEngine& engine, const Velmora::Configuration& project);
    ~PreviewItemFactory();
    PreviewItemFactory(const PreviewItemFactory&) = delete;
    PreviewItemFactory& operator=(const PreviewItemFactory&) = delete;

    // Null as well when the project holds no object of that id.
    QQuickItem* createPage(unsigned int pageId) const;
    QQuickItem* createControl(unsigned int controlId) const;
    // The switcher with all its buttons.
    QQuickItem* createPageSwitcher(unsigned int pageSwitcherId) const;
    // The switcher without its buttons, whose values go to buttons, in order, for
    // createPageSwitcherButton().
    QQuickItem* createPageSwitcher(unsigned int pageSwitcherId,
                                   std::vector<VelmoraQML::QMLPropertyValues>& buttons) const;
    // One button of the switcher, made its child.
    QQuickItem* createPageSwitcherButton(const VelmoraQML::QMLPropertyValues& values,
                                         QQuickItem* pageSwitcher) const;
    // A QML Gradient of the stops, for a page's background gradient.
    QObject* createGradient(const QGradientStops& stops) const;

    // Deletes the shared theme; the next control makes it again from the project.
    void forgetTheme();

private:
    QObject* create(const QString& text, const VelmoraQML::QMLPropertyValues& values,
                    QObject* parent = nullptr) const;
    QQuickItem* createItem(const QString& text, const VelmoraQML::QMLPropertyValues& values,
                           QObject* parent = nullptr) const;
    // Renders the object as editable QML with its own values apart and creates its item: a
    // page without its children (they are items of their own), anything else standalone with
    // the shared theme; a switcher's buttons go to buttons.
    QQuickItem* renderItem(const Velmora::Renderable& object, bool page,
                           std::vector<VelmoraQML::QMLPropertyValues>* buttons = nullptr) const;
    QObject* theme() const;

    QQmlEngine& m_engine;
    const Velmora::Configuration& m_project;
    mutable QPointer<QObject> m_theme;
    // The text of each skin that items show as their current skin, written once per theme.
    mutable std::unordered_map<const Velmora::Skin*, QString> m_currentSkinTexts;
};
