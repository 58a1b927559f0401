#include "appengine/preview_lock_page.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_component_cache.h"
#include "velmora_objects/qml/qml_config_object.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_controller.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"

#include <QDebug>
#include <QGraphicsScene>
#include <QQmlEngine>
#include <QQuickItem>
#include <climits>

using VelmoraQML::QMLConfigObject;
using VelmoraQML::QMLController;
using VelmoraQML::QMLPage;

PreviewLockPage::PreviewLockPage(QQmlEngine& engine, const Velmora::Configuration& project,
                                 QGraphicsScene& scene, QQuickItem& root,
                                 std::shared_ptr<PreviewItemHandle::Registry> handles,
                                 std::function<void()> leave)
    : m_engine(engine), m_project(project), m_scene(scene), m_root(root),
      m_handles(std::move(handles)), m_leave(std::move(leave))
{
}

PreviewLockPage::~PreviewLockPage()
{
    clear();
}

QQuickItem* PreviewLockPage::build()
{
    // Standalone: the keypad carries the theme's keypad skins in its own text.
    VelmoraQML::QMLStreamer streamer(&m_project);
    streamer.editable = true;
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    renderer.renderLockPage();
    QString errors;
    QObject* object =
        VelmoraQML::createCachedObject(m_engine, streamer.text(), {}, nullptr, &errors, &m_root);
    auto* page = qobject_cast<QMLPage*>(object);
    if (!page) {
        delete object;
        qWarning().noquote() << "The preview could not create the lock page:" << errors;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(page, QQmlEngine::CppOwnership);
    // Above every page of the project, which the controller hides while it shows this one.
    page->setZ(1);
    m_scene.addItem(new PreviewItemHandle(page, PreviewItemKind_LOCK_PAGE, UINT_MAX, m_handles));
    return page;
}

void PreviewLockPage::provide(QMLController* controller)
{
    if (!controller || m_project.getUnlockCode().isEmpty())
        return;
    if (!m_item)
        m_item = build();
    if (!m_item)
        return;
    // The controller forgets its pages when it gets a project of its own.
    if (!controller->hasPage(m_item))
        controller->addPage(m_item);
    connect(controller, &QMLController::currentPageChanged, this,
            &PreviewLockPage::onCurrentPageChanged, Qt::UniqueConnection);
}

bool PreviewLockPage::isShown() const
{
    return m_item && m_item->isVisible();
}

void PreviewLockPage::putAway()
{
    if (!isShown())
        return;
    // A snap hiding stops a pan under way.
    if (auto* page = qobject_cast<QMLPage*>(m_item.data()))
        emit page->hidePage(QMLConfigObject::SnapTransition, 0);
    m_item->setVisible(false);
}

void PreviewLockPage::onCurrentPageChanged(int configId)
{
    // Every showing asks for the code afresh: digits typed at an earlier showing and left
    // there (the page list, Edit Controls) would be taken for the start of the code.
    if (configId == QMLController::LockPageId) {
        if (m_item)
            for (auto* keypad : m_item->findChildren<VelmoraQML::QMLKeypad*>())
                keypad->setProperty("number", QString());
        return;
    }
    // Unlocked, or another page shown by the preview: the page panned away goes at once, as
    // the page coming in does (the editor frames the page where it stands).
    putAway();
}

void PreviewLockPage::rebuild()
{
    const bool shown = isShown();
    clear();
    if (shown && m_leave)
        m_leave();
}

void PreviewLockPage::clear()
{
    // The page leaves the controller's registry and the scene with its item.
    delete m_item.data();
    m_item = nullptr;
}

void PreviewLockPage::setVisible(bool visible)
{
    if (m_item)
        m_item->setVisible(visible);
}
