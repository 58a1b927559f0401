#pragma once

#include "containers/id_set.h"
#include "containers/sortvector_el.h"
#include "core/block_pool.h"
#include "core/gradient.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/velmora_types.h"

#include <QColor>
#include <QString>
#include <climits>
#include <set>
#include <vector>

namespace Velmora {

class Streamer;

// How a background image fills its page.
enum Scaling : int
{
    Scaling_NONE = 0,
    Scaling_STRETCH = 1,
    Scaling_ZOOM_TO_FIT = 2,  // aspect kept, whole image visible
    Scaling_ZOOM_CROPPED = 3, // aspect kept, page covered
    Scaling_TILED = 4,
    Scaling_TILED_VERTICALLY = 5,
    Scaling_TILED_HORIZONTALLY = 6
};

constexpr bool isKnown(Scaling scaling)
{
    return scaling >= Scaling_NONE && scaling <= Scaling_TILED_HORIZONTALLY;
}

// The arrangement of navigation buttons chosen when a page was created. The page keeps it for
// the document, which copies it into and out of its page-creation parameters; the page itself
// never interprets it.
struct NavButtons
{
    // A page is made with at most this many navigation buttons; a file's list is cut to it.
    static constexpr std::size_t MaximumFunctions = 3;

    int position = 0; // a NavigationPosition; 0 while none is chosen
    Alignment alignment = Alignment_SPREAD;
    std::vector<ButtonFunction> functions; // one per navigation button, in order
};

Streamer& operator<<(Streamer& s, const NavButtons& buttons);
Streamer& operator>>(Streamer& s, NavButtons& buttons);

// One screen of the designed panel: its name, its place in the page order (sortValue), its
// icon, its background (a colour, or a gradient with a rotation, and an optional image with a
// scaling mode), the ids of the controls on it and of the page switcher shown on it, the
// layout template it was built from and its navigation-button arrangement.
//
// Ids of icons, images, controls and page switchers name objects the page does not own;
// UINT_MAX stands for none.
class Page : public sortvector_el, public Themed
{
public:
    // A project holds hundreds of pages, made and freed together.
    BLOCK_POOL_ALLOCATED

    Page() = default;
    Page(const Page& other) = default;
    Page& operator=(const Page&) = delete;
    ~Page() override = default;

    // Orders pages by sortValue (signed). The other element must be a page (std::bad_cast).
    bool lessThan(const sortvector_el& other) const override;
    void render(AbstractRenderer* renderer) const override;

    const QString& getName() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    qint32 getSortValue() const { return m_sortValue; }
    void setSortValue(qint32 value) { m_sortValue = value; }
    // Id in the theme's icon store.
    unsigned int getIconId() const { return m_iconId; }
    void setIconId(unsigned int iconId) { m_iconId = iconId; }

    // Invalid while a gradient or an image makes the background.
    const QColor& getBackgroundColour() const { return m_backgroundColour; }
    // Stores the colour and drops the gradient (null gradient, rotation -1).
    void setBackgroundColour(const QColor& colour);
    const Gradient& getBackgroundGradient() const { return m_backgroundGradient; }
    // Stores the gradient; a rotation of -1 becomes 0. The colour becomes white for a null
    // gradient and invalid otherwise.
    void setBackgroundGradient(const Gradient& gradient);
    // Degrees; -1 while there is no gradient.
    int getBackgroundGradientRotation() const { return m_backgroundGradientRotation; }
    void setBackgroundGradientRotation(int degrees) { m_backgroundGradientRotation = degrees; }
    // Id in the theme's page-background image store.
    unsigned int getBackgroundImageId() const { return m_backgroundImageId; }
    void setBackgroundImageId(unsigned int imageId) { m_backgroundImageId = imageId; }
    Scaling getBackgroundImageScaling() const { return m_backgroundImageScaling; }
    void setBackgroundImageScaling(Scaling scaling) { m_backgroundImageScaling = scaling; }

    // The ids of the controls on this page. The project fills the set while it reads the
    // controls; adding an id is a plain insertion.
    const IdSet& getControlIds() const { return m_controlIds; }
    IdSet& getControlIds() { return m_controlIds; }
    void setControlIds(const IdSet& ids) { m_controlIds = ids; }
    void removeControl(unsigned int controlId) { m_controlIds.erase(controlId); }

    unsigned int getPageSwitcherId() const { return m_pageSwitcherId; }
    void setPageSwitcherId(unsigned int pageSwitcherId) { m_pageSwitcherId = pageSwitcherId; }
    // Name of the page-layout template the page was built from; empty when none.
    const QString& getLayoutName() const { return m_layoutName; }
    void setLayoutName(const QString& name) { m_layoutName = name; }
    const NavButtons& getNavButtons() const { return m_navButtons; }
    void setNavButtons(const NavButtons& buttons) { m_navButtons = buttons; }

private:
    friend Streamer& operator<<(Streamer& s, const Page& page);
    friend Streamer& operator>>(Streamer& s, Page& page);

    QString m_name;
    qint32 m_sortValue = 0;
    unsigned int m_iconId = UINT_MAX;
    QColor m_backgroundColour;
    Gradient m_backgroundGradient;
    qint32 m_backgroundGradientRotation = -1;
    unsigned int m_backgroundImageId = UINT_MAX;
    Scaling m_backgroundImageScaling = Scaling_ZOOM_TO_FIT;
    IdSet m_controlIds;
    unsigned int m_pageSwitcherId = UINT_MAX;
    QString m_layoutName;
    NavButtons m_navButtons;
};

// The page block. Control ids are not part of it.
Streamer& operator<<(Streamer& s, const Page& page);
Streamer& operator>>(Streamer& s, Page& page);

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::Scaling)
