#pragma once

#include "core/gradient.h"
#include "velmora_objects/velmora_types.h"

#include <QColor>
#include <QString>
#include <climits>
#include <utility>
#include <vector>

namespace Velmora {
class Configuration;
}

// What a new page is made from: filled by the new-page wizard, by the application for the
// first page of a new project, or from an existing page when one is duplicated.
//
// The background is the colour when it is valid, else the gradient when it is not null, else
// the image. An image or icon id of UINT_MAX with a file named adds that file to the theme.
// Navigation is made only for a position other than 0: the navigation buttons when there are
// any, else a page switcher (an existing one by id, or a new one listing pageSwitcherPages,
// where UINT_MAX stands for the page being made).
struct NewPageData
{
    NewPageData() = default;
    // The record of an existing page: its name, icon, background, layout name and navigation
    // (navigation buttons with target 0; the switcher's edge, alignment and page list when it
    // shows one). Files, the gradient rotation and the controls are not part of it.
    NewPageData(const Velmora::Configuration& configuration, unsigned int pageId);

    // Drops what names objects of one project (theme images, Go To Page targets, the page
    // switcher and its pages), so that the record can start a page of another project. A
    // background that was an image becomes white.
    void clearReferences();
    // Puts the id of the page just made in place of every UINT_MAX of pageSwitcherPages.
    void assignNewPageId(unsigned int pageId);

    QString name; // empty: the default name
    unsigned int iconId = UINT_MAX;
    QString iconFile;
    QColor backgroundColour = Qt::white;
    Gradient backgroundGradient;
    unsigned int backgroundImageId = UINT_MAX;
    int backgroundScaling = 2; // a Velmora::Scaling
    QString backgroundImageFile;
    QString layoutName;          // a page-layout template of the layout library; empty: none
    int navigationPosition = 0;  // 0 none, 1 top, 2 right, 3 bottom, 4 left
    int navigationAlignment = 0; // 0 Start, 1 End, 2 Center, 3 Spread
    // The switcher to show; after the page is added, the page's own switcher id.
    unsigned int pageSwitcherId = UINT_MAX;
    std::vector<unsigned int> pageSwitcherPages;
    // Function and Go To Page target (UINT_MAX: none) of each navigation button, in order.
    std::vector<std::pair<Velmora::ButtonFunction, unsigned int>> navigationButtons;
};
