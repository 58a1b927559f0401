#pragma once

#include "appengine/preview_item_handle.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QGraphicsScene;
class QQmlEngine;
class QQuickItem;

namespace Velmora {
class Configuration;
}

namespace VelmoraQML {
class QMLController;
}

// The lock page of the page preview: the black page with a keypad for the unlock code (configId
// -1) that a button's Lock shows on the panel. It is written as the whole-project document
// writes it, in the project's theme, and built when the preview's controller asks for it while
// the project has an unlock code; the controller then shows it, takes the code from its keypad
// and leaves it for the page before (unlock function Back) or the default page, as the panel
// does. Every showing starts with an empty entry, as one after Enter does.
//
// It is not a page of the project: no page list, thumbnail, kept-page set or file ever sees it.
// Its item lies on the surface above the pages (z 1), hidden until the controller shows it, with
// a handle of kind PreviewItemKind_LOCK_PAGE (id UINT_MAX) through which the page view lets a
// press reach its keypad. It goes away (hidden) as soon as the controller or the editor shows a
// page of the project, and is deleted with every item of the scene or when the lock settings
// change, to be built again when it is next asked for.
//
// The engine, the project, the scene and the root item must outlive it.
class PreviewLockPage : public QObject
{
    Q_OBJECT

public:
    // The page goes under root, its handle into the scene and the registry. leave shows the
    // editor's page again; it is called when a lock page shown is deleted by a rebuild.
    PreviewLockPage(QQmlEngine& engine, const Velmora::Configuration& project,
                    QGraphicsScene& scene, QQuickItem& root,
                    std::shared_ptr<PreviewItemHandle::Registry> handles,
                    std::function<void()> leave);
    ~PreviewLockPage() override;

    // The controller asked for the lock page: built when there is none and the project has an
    // unlock code, and registered with the controller when it is not.
    void provide(VelmoraQML::QMLController* controller);
    // Null until built.
    QQuickItem* item() const { return m_item; }
    bool isShown() const;
    // Hides the page when it is shown: the editor shows a page of the project.
    void putAway();
    // The lock settings or the theme changed: the page is deleted and built again when it is
    // next asked for. A page shown goes, and the editor's page shows again.
    void rebuild();
    // Deletes the page (with every item of the scene).
    void clear();

    // Shows or hides the page where it stands, the controller's state left alone: the surface
    // shows a page of the project for the moment of a grab, then the lock page again. Nothing
    // while the page is not built.
    void setVisible(bool visible);

private:
    QQuickItem* build();
    void onCurrentPageChanged(int configId);

    QQmlEngine& m_engine;
    const Velmora::Configuration& m_project;
    QGraphicsScene& m_scene;
    QQuickItem& m_root;
    std::shared_ptr<PreviewItemHandle::Registry> m_handles;
    std::function<void()> m_leave;
    QPointer<QQuickItem> m_item;
};
