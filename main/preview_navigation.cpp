#include "main/preview_navigation.h"

#include "appengine/page_preview_scene.h"
#include "main/velmora_document.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_config_object.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_controller.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"

#include <climits>

using VelmoraQML::QMLConfigObject;
using VelmoraQML::QMLPage;
using VelmoraQML::QMLPageSwitcher;

PreviewNavigation::PreviewNavigation(VelmoraDocument& document, QObject* parent)
    : QObject(parent), document(document)
{
    if (PagePreviewScene* scene = document.previewScene())
        connect(scene, &PagePreviewScene::pageShown, this, &PreviewNavigation::onPageShown);
}

PreviewNavigation::~PreviewNavigation() = default;

void PreviewNavigation::attach()
{
    // The old item detaches itself first; the new one attaches itself to the controller of
    // the module, which empties the controller's registers.
    configurationItem.reset();
    controller = VelmoraQML::controller();
    PagePreviewScene* scene = document.previewScene();
    if (!controller || !scene)
        return;
    configurationItem = std::make_unique<VelmoraQML::QMLConfiguration>();
    configurationItem->setConfiguration(&document);
    connect(controller, &VelmoraQML::QMLController::currentPageChanged, this,
            &PreviewNavigation::onControllerPageChanged, Qt::UniqueConnection);
    // Items built before (for thumbnails) register again.
    for (const Velmora::Page& page : document.getPages())
        if (QQuickItem* item = scene->pageItem(page.getId()))
            controller->addPage(item);
    for (const Velmora::PageSwitcher& switcher : document.getPageSwitchers())
        if (QQuickItem* item = scene->pageSwitcherItem(switcher.getId()))
            controller->addPageSwitcher(item);
    onPageShown(scene->currentPageId());
}

void PreviewNavigation::onPageShown(unsigned int pageId)
{
    PagePreviewScene* scene = document.previewScene();
    auto* page = qobject_cast<QMLPage*>(scene->pageItem(pageId));
    if (!controller || !page || controller->currentPage() == page)
        return;
    // The page the controller held is hidden already, by the editor.
    QMLPage* previous = controller->currentPage();
    const unsigned int previousId =
        previous ? static_cast<unsigned int>(previous->configId()) : UINT_MAX;
    controller->switchToPage(page, QMLConfigObject::SnapTransition, 0, false);
    restorePage(previousId);
    refresh();
}

void PreviewNavigation::refresh()
{
    PagePreviewScene* scene = document.previewScene();
    if (!controller || !scene)
        return;
    QMLPage* current = nullptr;
    for (const Velmora::Page& page : document.getPages()) {
        auto* item = qobject_cast<QMLPage*>(scene->pageItem(page.getId()));
        const unsigned int switcher = page.getPageSwitcherId();
        const int switcherId = switcher == UINT_MAX ? QMLPage::NoPageSwitcher : int(switcher);
        if (!item || (item->name() == page.getName() && item->sortValue() == page.getSortValue() &&
                      item->pageSwitcherId() == switcherId))
            continue;
        if (item == controller->currentPage())
            current = item;
        controller->removePage(item);
        item->setName(page.getName());
        item->setSortValue(page.getSortValue());
        item->setPageSwitcherId(switcherId);
        controller->addPage(item);
    }
    // The page shown left the register with its old keys: it is the current page again.
    if (current)
        controller->switchToPage(current, QMLConfigObject::SnapTransition, 0, false);
}

void PreviewNavigation::onControllerPageChanged(int configId)
{
    PagePreviewScene* scene = document.previewScene();
    const unsigned int pageId = static_cast<unsigned int>(configId);
    // Only the pages of the project's own preview.
    if (!controller || configId < 0 || !scene->pageItem(pageId) ||
        scene->pageItem(pageId) != controller->currentPage())
        return;
    // The page the editor shows comes back from the lock page (unlocked with Back, or to the
    // default page shown before): the editor follows already.
    const bool another = pageId != scene->currentPageId();
    if (another)
        restorePage(scene->currentPageId());
    // The editor's view takes its frame from where the page stands when it shows it: the page
    // comes at once, without the pan of its transition.
    emit controller->currentPage()->showPage(QMLConfigObject::SnapTransition, 0);
    if (QMLPageSwitcher* switcher = controller->currentPageSwitcher())
        emit switcher->showPageSwitcher(QMLConfigObject::SnapTransition, 0);
    if (another)
        emit pageChosen(pageId);
}

void PreviewNavigation::restorePage(unsigned int pageId)
{
    PagePreviewScene* scene = document.previewScene();
    auto* page = qobject_cast<QMLPage*>(scene->pageItem(pageId));
    if (page && page != controller->currentPage()) {
        // A snap showing stops any pan and puts the page at the origin.
        emit page->showPage(QMLConfigObject::SnapTransition, 0);
        page->setVisible(false);
    }
    if (!document.pageExists(pageId))
        return;
    const unsigned int switcherId = document.getPage(pageId).getPageSwitcherId();
    auto* switcher = qobject_cast<QMLPageSwitcher*>(scene->pageSwitcherItem(switcherId));
    if (switcher && switcher != controller->currentPageSwitcher()) {
        emit switcher->showPageSwitcher(QMLConfigObject::SnapTransition, 0);
        switcher->setVisible(false);
    }
}
