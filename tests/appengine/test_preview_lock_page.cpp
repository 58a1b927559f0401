#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "common/qml_fixture.h"
#include "velmora_objects/button.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml_fixtures.h"

#include <QPointer>
#include <QQuickItem>
#include <climits>
#include <functional>

using namespace Velmora;

namespace {

// The project of the QML fixtures, whose page 1 holds button 0, here a Lock button; the
// controller reads the project through a configuration item, as in the editor.
class PreviewLockPageTest : public TestUtil::QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        project->modControl<Button>(0)->setFunction(ButtonFunction_LOCK);
        scene = std::make_unique<PagePreviewScene>(engine.get(), project.get(), &selection);
        configuration = std::make_unique<VelmoraQML::QMLConfiguration>();
        configuration->setConfiguration(project.get());
        scene->showPage(1);
    }
    void TearDown() override
    {
        configuration.reset();
        scene.reset();
        QmlFixture::TearDown();
    }

    VelmoraQML::QMLController& controller() { return *VelmoraQML::controller(); }

    std::unique_ptr<Configuration> project = QmlFixtures::makeProject();
    SelectionManager selection;
    std::unique_ptr<PagePreviewScene> scene;
    std::unique_ptr<VelmoraQML::QMLConfiguration> configuration;
};

} // namespace

// The lock page comes only while the project has a code, stays out of thumbnails, goes before an
// edit, and a change of the lock settings while it is shown gives the page back (the code itself
// is tried in the acceptance scenarios).
TEST_F(PreviewLockPageTest, LockPageComesWithACodeStaysOutOfThumbnailsAndGoesBeforeAnEdit)
{
    QQuickItem* page = scene->pageItem(1);
    controller().triggerButtonFunction(0);
    EXPECT_EQ(scene->lockPage().item(), nullptr);

    project->setUnlockCode("2468");
    const QImage thumbnail = scene->renderThumbnail(1).toImage();
    controller().triggerButtonFunction(0);
    ASSERT_TRUE(scene->lockPage().isShown());
    EXPECT_EQ(scene->lockPage().item()->property("configId").toInt(), -1);
    EXPECT_FALSE(page->isVisible());
    // A thumbnail of another page leaves the page locked from hidden where the controller left
    // it (its handles, overlays and all), and the next thumbnail of it shows it.
    scene->renderThumbnail(0);
    EXPECT_FALSE(page->isVisible());
    EXPECT_EQ(scene->renderThumbnail(1).toImage(), thumbnail);
    EXPECT_TRUE(scene->lockPage().isShown());
    // A marking of the selection, or an edit of the items, takes it away first.
    const std::function<void()> changes[] = {
        [&] { scene->updateSelectionEffects(); },
        [&] { scene->setControlProperty(0, "caption", "Shut"); }};
    for (const auto& change : changes) {
        change();
        EXPECT_FALSE(scene->lockPage().isShown());
        EXPECT_EQ(static_cast<QQuickItem*>(controller().currentPage()), page);
        controller().triggerButtonFunction(0);
    }

    const QPointer<QQuickItem> lockPage = scene->lockPage().item();
    scene->lockPage().rebuild();
    EXPECT_EQ(lockPage, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(static_cast<QQuickItem*>(controller().currentPage()), page);
}
