#pragma once

#include "appengine/preview_item_handle.h"

#include <QColor>
#include <QGraphicsScene>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariant>
#include <climits>
#include <map>
#include <memory>
#include <set>

class Gradient;
class QGraphicsProxyWidget;
class QQmlEngine;
class QQuickItem;
class QQuickWidget;
class SelectionManager;

namespace Velmora {
class Configuration;
}

// The scene the page view shows: the live QML items of the page being edited, its controls
// and its page switcher, exactly as the panel draws them.
//
// One QQuickWidget on the document's engine holds the whole QML item tree (every page built
// so far under one root, controls as children of their page, the page switcher under the
// current page) and sits in the scene through a proxy at (0, 0), below everything and without
// item data. Every page, control and page-switcher item has a mirror handle in the scene
// (PreviewItemHandle) with data 0 = kind (1 page, 2 button, 3 slider, 4 colour picker,
// 5 keypad, 6 page switcher, 7 label, 8 clock) and data 1 = its id in the project: hit tests,
// parent walks and band selection work on handles, presses reach the live items.
//
// Pages are built lazily from QML text, the page alone as one document and every control as a
// stand-alone document of its own, on first showing or thumbnail, and kept (hidden pages keep
// their QML state) until removed or rebuilt. Edits write single properties of the live items
// by QML name; ids without items are ignored by every edit. Geometry is always read from and
// written to the QML items. QML that does not compile yields no item and a warning.
//
// The engine must have the module initialised on its root context and outlive the scene; the
// project and the selection are read, never changed, and must outlive the scene too.
class PagePreviewScene : public QGraphicsScene
{
    Q_OBJECT

public:
    PagePreviewScene(QQmlEngine* engine, const Velmora::Configuration* project,
                     const SelectionManager* selection, QObject* parent = nullptr);
    ~PagePreviewScene() override;

    // The surface that draws the QML items.
    QQuickWidget* surface() const { return m_surface; }
    // The live items; null when the object has none (yet).
    QQuickItem* pageItem(unsigned int pageId) const;
    QQuickItem* controlItem(unsigned int controlId) const;
    QQuickItem* pageSwitcherItem(unsigned int pageSwitcherId) const;
    unsigned int currentPageId() const { return m_currentPageId; }

    // QRect of the item's "x", "y", "width" and "height" as integers.
    static QRect itemGeometry(const QQuickItem* item);

    // Page display.
    // Hides the current page and shows this one (built on first use; UINT_MAX shows none)
    // with its page switcher; the scene rectangle becomes the page's.
    void showPage(unsigned int pageId);
    // Shows the current page's switcher on it (built on first use), hiding the one shown.
    void showCurrentPageSwitcher();
    // Deletes the page's item with its controls; a page switcher on it survives, but every
    // switcher item is then built again.
    void removePageItem(unsigned int pageId);
    // Deletes every item, then builds the current page again.
    void rebuildItems();
    // Deletes every item and shows no page. Unlike QGraphicsScene::clear, the surface stays.
    void clear();
    // Deletes every switcher item, then shows the current page's switcher again.
    void clearPageSwitcherItems();
    void removePageSwitcherItem(unsigned int pageSwitcherId);
    // As removePageSwitcherItem without showing a switcher again: for a switcher that is about
    // to leave the project.
    void deletePageSwitcherItem(unsigned int pageSwitcherId);
    // The page as the panel draws it, with its switcher and without selection overlays, at a
    // quarter of the screen size; null when the page cannot be built.
    QPixmap renderThumbnail(unsigned int pageId);

    // Live edits.
    void setControlProperty(unsigned int controlId, const QString& name, const QVariant& value);
    void setControlSkin(unsigned int controlId, const QString& skinName, bool ignoreTransition);
    // Writes the geometry the project holds for each control into its item.
    void setControlGeometry(const std::set<unsigned int>& controlIds);
    void setPageBackgroundColour(unsigned int pageId, const QColor& colour);
    // An empty gradient hides the page's gradient.
    void setPageBackgroundGradient(unsigned int pageId, const Gradient& gradient);
    void setPageBackgroundGradientRotation(unsigned int pageId, unsigned int rotation);
    // Image id -1 removes the image. Without scaling the image takes its natural size.
    void setPageBackgroundImage(unsigned int pageId, int imageId);
    // A Velmora::Scaling: 1 to 6 fill the screen with the matching fill mode, anything else
    // gives the image its natural size.
    void setPageBackgroundImageScaling(unsigned int pageId, int scaling);

    // Selection.
    // Marks exactly the selected controls and page switchers with the selection overlay.
    void updateSelectionEffects();
    // The union of the selected controls' geometries (null when no control with an item is
    // selected), cached until an edit or a forced call.
    QRect selectionBoundingRect(bool force);
    std::map<unsigned int, QRect> controlGeometries(const std::set<unsigned int>& ids) const;

    // Live feedback of the page view's gestures; the model is changed by the command the view
    // issues when the gesture ends.
    // Records the positions of the controls' items (ids without items are skipped).
    void beginMoveControls(const std::set<unsigned int>& controlIds);
    // Moves each recorded item to its position at the start plus the offset.
    void moveControls(const QPoint& offset);
    void endMoveControls();
    bool isDragging() const { return !m_dragStartPositions.empty(); }
    // Handle: 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right, 5 top, 6 left,
    // 7 bottom, 8 right; any other moves nothing.
    void beginResizeControls(const std::set<unsigned int>& controlIds, int handle);
    // Moves the handle's corner or edge of the recorded union by the offset and maps every
    // recorded geometry through the same scale and translation. A union of zero width or
    // height keeps its factor 1 in that direction.
    void resizeControls(const QPoint& offset);
    // The new geometries of the controls whose geometry changed since the start.
    std::map<unsigned int, QRect> endResizeControls();
    bool isResizing() const { return !m_resizeItems.empty(); }

signals:
    // showPage() showed the page (UINT_MAX: none), so that the preview's own navigation can
    // take it as its current page.
    void pageShown(unsigned int pageId);

private:
    // Compiles the text and creates its object in the engine's root context; null on failure.
    QObject* createItem(const QString& text);
    QQuickItem* createDeclarativeItem(const QString& text);
    QQuickItem* createPageItem(unsigned int pageId);
    QQuickItem* createPageSwitcherItem(unsigned int pageSwitcherId);
    // The page's item, built when it has none.
    QQuickItem* pageItemOrBuild(unsigned int pageId);
    QQuickItem* pageSwitcherItemOrBuild(unsigned int pageSwitcherId);
    PreviewItemHandle* handleOf(const QQuickItem* item) const;
    // The named direct child of the page's item; null without one.
    QObject* pageChild(unsigned int pageId, const char* name) const;
    void deleteItems();
    // The surface takes the project's screen size.
    void fitSurface();

    QQmlEngine* m_engine;
    const Velmora::Configuration* m_project;
    const SelectionManager* m_selection;
    QQuickWidget* m_surface = nullptr;
    QGraphicsProxyWidget* m_proxy = nullptr;
    // Parent of every page item, at the surface's origin.
    std::unique_ptr<QQuickItem> m_root;
    std::shared_ptr<PreviewItemHandle::Registry> m_handles;

    std::map<unsigned int, QQuickItem*> m_pageItems;
    std::map<unsigned int, QQuickItem*> m_controlItems;
    // A switcher whose QML failed keeps a null entry.
    std::map<unsigned int, QQuickItem*> m_pageSwitcherItems;
    // Controls being dragged, by id, with their positions at the start.
    std::map<unsigned int, QPoint> m_dragStartPositions;
    // Null means stale.
    QRect m_selectionRect;
    // Controls being resized, by id, with their geometries at the start.
    std::map<unsigned int, QRect> m_resizeItems;
    int m_resizeHandle = 0;
    QRect m_resizeStartRect;
    unsigned int m_currentPageId = UINT_MAX;
    QQuickItem* m_currentPageItem = nullptr;
    QQuickItem* m_currentPageSwitcherItem = nullptr;
};
