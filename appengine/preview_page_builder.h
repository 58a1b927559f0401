#pragma once

#include "appengine/preview_item_handle.h"
#include "appengine/preview_piece.h"
#include "velmora_objects/qml_renderer.h"

#include <QtGlobal>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class PreviewItemFactory;
class PreviewSelectionOverlay;
class QGraphicsScene;
class QObject;
class QQuickItem;

namespace Velmora {
class Configuration;
}

// Builds the live items of the page preview piece by piece (PreviewPiece) and keeps them by the
// ids of their objects: every page, control and page-switcher item with its mirror handle in the
// scene. A page is built as its page item, then its controls in ascending id (each on top of
// those before it), then the page switcher it shows and the switcher's buttons; a page counts as
// built once every piece is made. The builder measures what each kind of piece takes, so that
// a slice of a page makes the pieces that still fit the time it is given.
//
// Page items are made hidden and outside the surface's window (their QObject parent is the
// owner given); controls are children of their page item; a page switcher is an item of its own
// that whoever shows it puts on a page. The handles of new controls and switchers are marked as
// the selection overlay says. QML that fails yields no item: a page is not tried again until the
// items are deleted, a switcher keeps a null entry.
//
// The project, the factory, the overlay, the scene and the owner must outlive the builder.
class PreviewPageBuilder
{
public:
    // Items by the ids of their objects in the project.
    using Items = std::map<unsigned int, QQuickItem*>;

    // beforePage runs before each page item is made.
    PreviewPageBuilder(const Velmora::Configuration& project, const PreviewItemFactory& factory,
                       const PreviewSelectionOverlay& overlay, QGraphicsScene& scene,
                       QObject& pageOwner, std::function<void()> beforePage);
    // Deletes every item.
    ~PreviewPageBuilder();
    PreviewPageBuilder(const PreviewPageBuilder&) = delete;
    PreviewPageBuilder& operator=(const PreviewPageBuilder&) = delete;

    // Null when the object has no item (yet).
    QQuickItem* pageItem(unsigned int pageId) const { return find(m_pageItems, pageId); }
    QQuickItem* controlItem(unsigned int controlId) const
    {
        return find(m_controlItems, controlId);
    }
    QQuickItem* pageSwitcherItem(unsigned int pageSwitcherId) const
    {
        return find(m_pageSwitcherItems, pageSwitcherId);
    }
    const Items& pageItems() const { return m_pageItems; }
    const Items& controlItems() const { return m_controlItems; }
    // A switcher whose QML failed has a null entry.
    const Items& pageSwitcherItems() const { return m_pageSwitcherItems; }
    const PreviewItemHandle::Registry& handles() const { return *m_handles; }
    // The registry itself, for handles made outside the builder (the lock page's).
    const std::shared_ptr<PreviewItemHandle::Registry>& sharedHandles() const { return m_handles; }
    PreviewItemHandle* handleOf(const QQuickItem* item) const;

    // The page's switcher in the project; UINT_MAX for none.
    unsigned int pageSwitcherIdOf(unsigned int pageId) const;
    // The kind of the next piece the page needs; PreviewPiece_NONE once it is built or when
    // the project has no such page.
    PreviewPiece nextPiece(unsigned int pageId) const;
    // Whether the page's item and all its pieces are made.
    bool isPageBuilt(unsigned int pageId) const;
    // Whether the page's QML failed since the items were last deleted.
    bool hasFailed(unsigned int pageId) const { return m_failedPages.count(pageId) != 0; }

    // Makes pieces of the page for about the time given (at least one; all of them when the
    // time is negative); true when none is left. The controls made are put in order once, when
    // the pieces end.
    bool buildPieces(unsigned int pageId, int milliseconds);
    // The page's item, built whole when it is not.
    QQuickItem* pageItemOrBuild(unsigned int pageId);
    // The switcher's item with all its buttons, built when it is not.
    QQuickItem* pageSwitcherItemOrBuild(unsigned int pageSwitcherId);

    // Forgets the page's item, its controls' items and its pieces left, and hands the item back
    // (the caller owns it) with the page switchers shown on it taken off; null when the page has
    // no item.
    QQuickItem* takePage(unsigned int pageId);
    // Forgets the switcher's item and its buttons left, and hands the item back (the caller owns
    // it); null when it has none.
    QQuickItem* takePageSwitcher(unsigned int pageSwitcherId);
    void deletePageSwitcher(unsigned int pageSwitcherId);
    void deletePageSwitchers();
    // Deletes every item; pages that failed may be tried again.
    void deleteAll();

private:
    static QQuickItem* find(const Items& items, unsigned int id);
    // Makes the next piece of the page; false when there is none or the page cannot be built.
    bool buildPiece(unsigned int pageId);
    // The page item alone, its controls left to build; null when it cannot be built.
    QQuickItem* createPageItem(unsigned int pageId);
    // Makes the next control of a page under construction; false when none is left.
    bool buildNextControl(unsigned int pageId);
    void addControlItem(QQuickItem* page, unsigned int controlId);
    // The switcher's item without its buttons, which are left to build.
    QQuickItem* createPageSwitcherItem(unsigned int pageSwitcherId);
    bool buildNextButton(unsigned int pageSwitcherId);

    const Velmora::Configuration& m_project;
    const PreviewItemFactory& m_factory;
    const PreviewSelectionOverlay& m_overlay;
    QGraphicsScene& m_scene;
    QObject& m_pageOwner;
    std::function<void()> m_beforePage;
    std::shared_ptr<PreviewItemHandle::Registry> m_handles;

    Items m_pageItems;
    Items m_controlItems;
    Items m_pageSwitcherItems;
    // Pages whose items exist but whose controls are not all made yet: the control ids left,
    // last first.
    std::map<unsigned int, std::vector<unsigned int>> m_pendingControls;
    // Switchers whose buttons are not all made yet: the values of those left, last first.
    std::map<unsigned int, std::vector<VelmoraQML::QMLPropertyValues>> m_pendingButtons;
    // Pages whose QML failed: not built again until the items are deleted.
    std::set<unsigned int> m_failedPages;
    // What each kind of piece took to make, in ns, on average over the recent ones.
    std::array<qint64, PreviewPiece_COUNT> m_pieceCost{};
};
