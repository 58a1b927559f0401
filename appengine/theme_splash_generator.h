#pragma once

#include "velmora_objects/velmora_types.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <climits>
#include <map>

class ProgressHandler;
class QGraphicsPixmapItem;
class QGraphicsScene;
class ThemeSplashItemModel;

namespace Velmora {
class Theme;
}

namespace VelmoraQML {
class QMLThemedObject;
}

// Makes a theme's two splash images, a landscape one of 480 × 272 and a portrait one of
// 272 × 480: a page background of the theme (light grey without one) under live QML samples of
// the theme, a cascade of buttons (one per button skin) and of sliders (one per slider skin)
// above a band of 42 px kept for a page switcher with a page per icon.
//
// Each splash is a graphics scene holding the background item and, like the previews, a
// QQuickWidget surface through a proxy on which the samples are items. The samples are
// compiled on the engine of the QML module's shared context; without one there are none.
// Everything runs on the GUI thread.
class ThemeSplashGenerator : public QObject
{
    Q_OBJECT

public:
    // Skin name to sample object, per item type; the page switcher's sample is stored under
    // "Default". The objects belong to the generator.
    using SampleMap =
        std::map<Velmora::ThemedItemType, std::map<QString, VelmoraQML::QMLThemedObject*>>;

    // The theme may be null; it is not owned.
    explicit ThemeSplashGenerator(const Velmora::Theme* theme, QObject* parent = nullptr);
    ~ThemeSplashGenerator() override;

    // Drops every sample and scene of the previous theme, then builds both splash scenes for
    // the theme (none for a null theme). The progress handler may be null.
    void setTheme(const Velmora::Theme* theme, ProgressHandler* progress);
    // The landscape splash for orientation 1, else the portrait one. Only with a theme set.
    QImage renderSplash(int orientation);

    // What the splash is made of, for the orientation as renderSplash takes it.
    QGraphicsScene* scene(int orientation) const;
    const SampleMap& samples(int orientation) const;
    // The page-background image shown, or UINT_MAX.
    unsigned int backgroundId(int orientation) const;
    const ThemeSplashItemModel* selection() const { return itemModel; }

private:
    class SplashScene;

    // Places the checked samples of the type as a diagonal cascade in the region, overlapping
    // where they do not fit side by side.
    void layoutItems(Velmora::ThemedItemType type, SampleMap& items, int width, int height,
                     int minimumWidth, int minimumHeight, int maximumWidth, int maximumHeight,
                     int margin, int x, int y);
    // Puts the checked samples on the scene, by type and skin in selection order.
    void addItemsToScene(SplashScene* scene, SampleMap& items);
    // Deletes every sample and empties the map.
    static void clearItems(SampleMap& items);

    const Velmora::Theme* theme = nullptr;
    SplashScene* landscapeScene = nullptr;
    SplashScene* portraitScene = nullptr;
    QGraphicsPixmapItem* landscapeBackground = nullptr;
    QGraphicsPixmapItem* portraitBackground = nullptr;
    SampleMap landscapeItems;
    SampleMap portraitItems;
    unsigned int landscapeBackgroundId = UINT_MAX;
    unsigned int portraitBackgroundId = UINT_MAX;
    ThemeSplashItemModel* itemModel = nullptr;
};
