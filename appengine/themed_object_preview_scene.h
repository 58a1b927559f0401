#pragma once

#include "velmora_objects/velmora_types.h"

#include <QGraphicsScene>
#include <QString>
#include <QVariant>
#include <map>
#include <memory>

class QGraphicsProxyWidget;
class QQuickItem;
class QQuickWidget;

namespace VelmoraQML {
class QMLSkin;
class QMLSkinSet;
class QMLThemedObject;
} // namespace VelmoraQML

// The theme editor's live preview: one QML themed object per item type, built by the editor
// from the edited theme and a sample item, of which exactly the chosen type's is shown. The
// objects are real items of the QML module, so presses, skin transitions and animations run
// as on the panel.
//
// Edits never rebuild an object: skin properties, transition durations and easings are written
// into the object's QML skins, default item properties into the object itself, by QML name.
// Failed look-ups (no object, theme, skin set or skin) change nothing.
//
// Like the page preview, one QQuickWidget (on the engine of the module's shared context when
// there is one) draws the QML items and sits in the scene through a proxy at (0, 0). The shown
// object is the only item on that surface; the others are kept off it, with no parent item.
class ThemedObjectPreviewScene : public QGraphicsScene
{
public:
    explicit ThemedObjectPreviewScene(QObject* parent = nullptr);
    ~ThemedObjectPreviewScene() override;

    // The surface that draws the shown object.
    QQuickWidget* surface() const { return m_surface; }
    // Null when nothing is shown.
    VelmoraQML::QMLThemedObject* shownObject() const { return m_shown; }
    // The object held for the type; null when none.
    VelmoraQML::QMLThemedObject* themedObject(Velmora::ThemedItemType type) const;

    bool hasThemedObject(Velmora::ThemedItemType type) const;
    // Stores the object for the type and takes ownership, deleting the object it replaces;
    // when that one was shown, the new one is shown in its place.
    void setThemedObject(VelmoraQML::QMLThemedObject* object, Velmora::ThemedItemType type);
    // Shows the type's object, if any, in place of the shown one. The scene rectangle becomes
    // the object's; with no object for the type it keeps its last value.
    void showItemType(Velmora::ThemedItemType type);

    // Changes the shown object to the skin with its transition; an empty name is the default
    // skin.
    void setSkin(const QString& skinName);
    // A Gradient becomes a QML gradient object and a Velmora::TextStyle its number; any other
    // value is written as it is.
    void setDefaultProperty(Velmora::ThemedItemType type, const QString& name,
                            const QVariant& value);
    void setSkinProperty(Velmora::ThemedItemType type, const QString& skinName, const QString& name,
                         const QVariant& value);
    // Takes effect on the object's next change of skin.
    void setSkinTransitionDuration(Velmora::ThemedItemType type, const QString& skinName,
                                   int milliseconds);
    // A QEasingCurve::Type number.
    void setSkinTransitionEasing(Velmora::ThemedItemType type, const QString& skinName,
                                 int easingType);
    // The QML skin set of the type in the theme of the type's object; null when there is none.
    VelmoraQML::QMLSkinSet* skinSet(Velmora::ThemedItemType type) const;
    void renameSkin(Velmora::ThemedItemType type, const QString& oldName, const QString& newName);

private:
    // The first QML skin of that exact name in the type's skin set; null when there is none.
    VelmoraQML::QMLSkin* findSkin(Velmora::ThemedItemType type, const QString& skinName) const;
    // Takes the shown object off the surface; it stays in the map.
    void hideShownObject();
    // The surface covers the shown object.
    void fitSurface();

    VelmoraQML::QMLThemedObject* m_shown = nullptr;
    // An entry may hold a null object.
    std::map<Velmora::ThemedItemType, std::unique_ptr<VelmoraQML::QMLThemedObject>> m_objects;
    QQuickWidget* m_surface = nullptr;
    QGraphicsProxyWidget* m_proxy = nullptr;
    // Parent item of the shown object, at the surface's origin.
    std::unique_ptr<QQuickItem> m_root;
};
