#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "common/helpers.h"
#include "common/memory_growth_limit.h"
#include "common/qml_fixture.h"
#include "velmora_objects/button.h"
#include "velmora_objects/qml_fixtures.h"

#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_skin_changer.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/qml_themed_object.h"

#include <QGraphicsView>
#include <QJSValue>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QQmlListReference>
#include <QQmlProperty>
#include <QQuickImageProvider>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <functional>
#include <iterator>

using namespace Velmora;

namespace {

// Every theme image: 40 × 30 of one grey; page background 9 is 60 × 30.
class GreyImages : public QQuickImageProvider
{
public:
    GreyImages() : QQuickImageProvider(QQuickImageProvider::Image) {}
    QImage requestImage(const QString& id, QSize* size, const QSize&) override
    {
        QImage image(id == QLatin1String("9") ? 60 : 40, 30, QImage::Format_ARGB32);
        image.fill(QColor(90, 90, 90));
        *size = image.size();
        return image;
    }
};

// Records whether the scene accepted each press.
class View : public QGraphicsView
{
public:
    using QGraphicsView::QGraphicsView;
    bool accepted = false;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QGraphicsView::mousePressEvent(event);
        accepted = event->isAccepted();
    }
};

} // namespace

// The project of the QML fixtures: page 0 with sliders 1 and 3, colour picker 4 and keypad 5;
// page 1 with buttons 0 and 2; both under page switcher 0 at the bottom; page 2 with a label
// and clocks; page 3 with no controls and no switcher.
class PreviewScene : public TestUtil::QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        engine->addImageProvider(QString("theme%1").arg(project->getSerial()), new GreyImages);
        scene = std::make_unique<PagePreviewScene>(engine.get(), project.get(), &selection);
    }

    void TearDown() override
    {
        scene.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QmlFixture::TearDown();
    }

    // The scene as a view shows it, once the surface has drawn every change (it draws them on
    // a timer of its own).
    QImage rendering()
    {
        EXPECT_TRUE(TestUtil::drawFrame(scene->surface()));
        const QRect area = scene->sceneRect().toRect();
        QImage image(area.size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        scene->render(&painter, QRectF(image.rect()), area);
        return image;
    }

    // The QML items alone, as the surface draws them.
    QImage frame() const
    {
        return scene->surface()->grabFramebuffer().convertToFormat(QImage::Format_ARGB32);
    }

    // Where the view shows more than the QML items: the selection overlays.
    QRect overlay()
    {
        // The view first: a grab takes the changes still waiting for the view's frame.
        const QImage view = rendering();
        return TestUtil::changedArea(view, frame());
    }

    // The innermost item of a kind other than 0 under the point.
    QGraphicsItem* hit(const QPointF& point) const
    {
        for (QGraphicsItem* item : scene->items(point))
            if (item->data(0).toInt() != PreviewItemKind_NONE)
                return item;
        return nullptr;
    }

    static std::pair<int, unsigned int> kindAndId(const QGraphicsItem* item)
    {
        return item ? std::make_pair(item->data(0).toInt(), item->data(1).toUInt())
                    : std::make_pair(0, 0u);
    }

    void placeControl(unsigned int id, const QRect& geometry)
    {
        project->getControl(id).setGeometry(geometry);
        scene->setControlGeometry({id});
    }

    std::unique_ptr<Configuration> project = QmlFixtures::makeProject();
    SelectionManager selection;
    std::unique_ptr<PagePreviewScene> scene;
};

// A page shown again is the same live item, in the state the user left it in.
TEST_F(PreviewScene, HiddenPagesKeepTheirItemsAndState)
{
    scene->showPage(0);
    QQuickItem* page = scene->pageItem(0);
    QQuickItem* slider = scene->controlItem(1);
    ASSERT_TRUE(page && slider);
    slider->setProperty("value", 0.75);
    scene->showPage(1);
    EXPECT_FALSE(page->isVisible());
    scene->showPage(0);
    EXPECT_TRUE(scene->pageItem(0) == page && page->isVisible());
    EXPECT_DOUBLE_EQ(slider->property("value").toDouble(), 0.75);

    scene->showPage(UINT_MAX);
    EXPECT_FALSE(page->isVisible());
    EXPECT_EQ(hit(QPointF(50, 30)), nullptr);
}

// Handles answer hit tests: the control under a point, its page up the parents, the page
// switcher on the page; bands select by shape; the hidden page's controls are never hit.
TEST_F(PreviewScene, HandlesAnswerHitTestsAndBands)
{
    scene->showPage(1);
    scene->showPage(0);
    const struct
    {
        QPointF point;
        std::pair<int, unsigned int> hit;
    } points[] = {
        {{50, 30}, {PreviewItemKind_SLIDER, 1}}, // over button 0 of the hidden page
        {{300, 50}, {PreviewItemKind_COLOUR_PICKER, 4}},
        {{230, 150}, {PreviewItemKind_PAGE, 0}},
        {{100, 260}, {PreviewItemKind_PAGE_SWITCHER, 0}},
    };
    for (const auto& p : points) {
        QGraphicsItem* item = hit(p.point);
        EXPECT_EQ(kindAndId(item), p.hit) << p.point.x() << "," << p.point.y();
        while (item && item->parentItem())
            item = item->parentItem();
        EXPECT_EQ(kindAndId(item), std::make_pair(int(PreviewItemKind_PAGE), 0u));
    }

    const struct
    {
        QRectF band;
        std::set<unsigned int> ids;
    } bands[] = {
        {{0, 0, 480, 272}, {1, 3, 4, 5}},
        {{205, 45, 10, 20}, {1, 3}}, // across their right ends
        {{211, 0, 38, 200}, {}},     // in the gap: no control
        {{340, 105, 30, 10}, {4, 5}},
    };
    for (const auto& b : bands) {
        std::set<unsigned int> ids;
        for (QGraphicsItem* item : scene->items(b.band, Qt::IntersectsItemShape)) {
            const int kind = item->data(0).toInt();
            if (kind != PreviewItemKind_NONE && kind != PreviewItemKind_PAGE &&
                kind != PreviewItemKind_PAGE_SWITCHER)
                ids.insert(item->data(1).toUInt());
        }
        EXPECT_EQ(ids, b.ids) << b.band.x();
    }
}

// Presses and drags through a view reach the live slider beneath its handle.
TEST_F(PreviewScene, PressAndDragOperateLiveItems)
{
    scene->showPage(0);
    View view(scene.get());
    view.resize(600, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QQuickItem* slider = scene->controlItem(1);
    auto* knob = slider->findChild<QQuickItem*>("handle");
    ASSERT_TRUE(knob);
    const double before = slider->property("value").toDouble();

    QPoint point = view.mapFromScene(knob->mapToScene(QPointF(knob->width() / 2, 10)));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, point);
    EXPECT_TRUE(view.accepted);
    for (int step = 0; step < 6; ++step)
        QTest::mouseMove(view.viewport(), point += QPoint(10, 0));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, point);
    EXPECT_GT(slider->property("value").toDouble(), before + 0.2);

    // The page's background takes no press.
    point = view.mapFromScene(QPointF(230, 150));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, point);
    EXPECT_FALSE(view.accepted);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, point);
}

// A page shown and each step of a drag are drawn in the next turn of the event loop, ahead of
// the surface's own timer.
TEST_F(PreviewScene, ShownPagesAndDragStepsAreDrawnInTheNextTurn)
{
    View view(scene.get());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    int frames = 0;
    QObject::connect(scene->surface()->quickWindow(), &QQuickWindow::afterRendering,
                     [&] { ++frames; });
    const std::function<void()> steps[] = {
        [&] { scene->showPage(0); },
        [&] {
            scene->beginMoveControls({1});
            scene->moveControls(QPoint(7, 0));
        },
    };
    for (const auto& step : steps) {
        frames = 0;
        step();
        // Posted events only: no timer fires.
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(frames, 1);
    }
    scene->endMoveControls();
}

// Controls share one theme. A control written in its default skin has no skin changer until
// its skin first changes (one whose startup skin is another has one from the start); then the
// changer is made and the skin changes. The theme of a rebuild is made again.
TEST_F(PreviewScene, ControlsShareTheThemeAndMakeTheirChangerOnTheFirstChange)
{
    scene->showPage(1);
    auto* button = qobject_cast<VelmoraQML::QMLThemedObject*>(scene->controlItem(0));
    auto* other = qobject_cast<VelmoraQML::QMLThemedObject*>(scene->controlItem(2));
    ASSERT_TRUE(button && other);
    QPointer<VelmoraQML::QMLTheme> theme = button->theme();
    ASSERT_TRUE(theme);
    EXPECT_EQ(other->theme(), theme.data());
    EXPECT_FALSE(button->findChild<VelmoraQML::QMLSkinChanger*>());
    EXPECT_TRUE(other->findChild<VelmoraQML::QMLSkinChanger*>());

    scene->setControlSkin(0, "Pressed", true);
    EXPECT_TRUE(button->findChild<VelmoraQML::QMLSkinChanger*>());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return button->currentSkin()->property("textColour").value<QColor>() == Qt::red; }));

    scene->rebuildItems();
    EXPECT_FALSE(theme);
    auto* rebuilt = qobject_cast<VelmoraQML::QMLThemedObject*>(scene->controlItem(0));
    ASSERT_TRUE(rebuilt && rebuilt->theme());
}

// Every live write reaches the QML item by name.
TEST_F(PreviewScene, LiveWritesReachTheItems)
{
    project->getPage(3).setBackgroundImageScaling(Scaling_NONE);
    scene->showPage(3);
    scene->showPage(1);
    const auto child = [this](unsigned int id, const char* name) {
        return scene->pageItem(id)->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
    };
    QObject* gradient = child(1, "backgroundGradient");
    QObject* image = child(3, "backgroundImage");
    const auto stops = [&] {
        const QJSValue value = gradient->property("gradient").value<QJSValue>();
        return QVariant(int(QQmlListReference(value.toQObject(), "stops").count()));
    };
    const Gradient red = QmlFixtures::gradient({{0.0, Qt::red}, {1.0, Qt::red}});
    const struct
    {
        std::function<void()> write;
        std::function<QVariant()> read;
        QVariant expected;
    } rows[] = {
        {[&] { scene->setControlProperty(0, "caption", "Stop"); },
         [&] { return scene->controlItem(0)->property("caption"); }, "Stop"},
        {[&] { placeControl(0, QRect(30, 40, 80, 20)); },
         [&] { return PagePreviewScene::itemGeometry(scene->controlItem(0)); },
         QRect(30, 40, 80, 20)},
        {[&] { scene->setPageBackgroundColour(1, Qt::green); },
         [&] { return scene->pageItem(1)->property("color"); }, QColor(Qt::green)},
        {[&] { scene->setPageBackgroundGradient(1, red); }, stops, 2},
        {[] {}, [&] { return gradient->property("visible"); }, true},
        {[&] { scene->setPageBackgroundGradientRotation(1, 30); },
         [&] { return gradient->property("rotation"); }, 30.0},
        {[&] { scene->setPageBackgroundGradient(1, Gradient()); },
         [&] { return gradient->property("visible"); }, false},
        // Page 3's image is not scaled: it takes the 40 × 30 of the image; tiled, the screen.
        {[&] { scene->setPageBackgroundImage(3, 5); },
         [&] { return image->property("width").toInt() * 100 + image->property("height").toInt(); },
         4030},
        {[&] { scene->setPageBackgroundImageScaling(3, Scaling_TILED); },
         [&] {
             return image->property("width").toInt() * 100 + image->property("fillMode").toInt();
         },
         48003},
        {[&] { scene->setPageBackgroundImageScaling(3, Scaling_NONE); },
         [&] { return image->property("height"); }, 30.0},
        // A scaling no editor gives (a file's) shows the image at its own size, as None does.
        {[&] {
             project->getPage(3).setBackgroundImageScaling(Scaling(200));
             scene->setPageBackgroundImageScaling(3, 200);
             scene->setPageBackgroundImage(3, 9);
         },
         [&] { return image->property("width"); }, 60.0},
        {[&] { scene->setPageBackgroundImage(3, -1); }, [&] { return image->property("source"); },
         QUrl()},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        rows[i].write();
        EXPECT_EQ(rows[i].read(), rows[i].expected) << "row " << i;
    }
    // The handle follows the new geometry; the view shows the gradient.
    EXPECT_EQ(kindAndId(hit(QPointF(105, 55))), std::make_pair(int(PreviewItemKind_BUTTON), 0u));
    scene->setPageBackgroundGradient(1, red);
    EXPECT_EQ(rendering().pixel(300, 150), qRgb(255, 0, 0));
}

// The overlay marks exactly the selected controls, over their own pixels, follows moves and
// resizes, and never reaches a thumbnail.
TEST_F(PreviewScene, SelectionOverlayMarksSelectedControlsOnly)
{
    scene->showPage(0);
    // The items' images are taken for a view that shows the scene.
    View view(scene.get());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(overlay().isEmpty());
    selection.selectControl(1, true, true);
    scene->updateSelectionEffects();
    const QRect slider(10, 10, 200, 40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overlay().isEmpty(); }));
    EXPECT_TRUE(slider.contains(overlay()));

    scene->beginMoveControls({1, 99});
    EXPECT_TRUE(scene->isDragging());
    scene->moveControls(QPoint(5, 150));
    scene->endMoveControls();
    EXPECT_FALSE(scene->isDragging());
    EXPECT_EQ(scene->selectionBoundingRect(false), slider.translated(5, 150));
    EXPECT_TRUE(slider.translated(5, 150).contains(overlay()));

    scene->beginResizeControls({1}, ControlGestures::Right);
    scene->resizeControls(QPoint(60, 0));
    const QRect wider(15, 160, 260, 40);
    EXPECT_EQ(scene->endResizeControls(), (std::map<unsigned int, QRect>{{1, wider}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return overlay().right() > slider.right() + 5; }));
    EXPECT_TRUE(wider.contains(overlay()));

    // Zoomed in, a device that shows part of the control shows that part as one showing all.
    const auto zoomed = [&](const QRect& shown) {
        QImage image(shown.size() * 4, QImage::Format_ARGB32);
        QPainter painter(&image);
        scene->render(&painter, QRectF(image.rect()), shown);
        return image;
    };
    const QImage whole = zoomed(QRect(0, 0, 480, 272));
    const QRect part(103, 171, 130, 20);
    EXPECT_EQ(zoomed(part), whole.copy(QRect(part.topLeft() * 4, part.size() * 4)));

    // A thumbnail is the same whether the control is selected or not.
    const QImage marked = scene->renderThumbnail(0).toImage();
    selection.clear();
    scene->updateSelectionEffects();
    EXPECT_TRUE(overlay().isEmpty());
    EXPECT_EQ(scene->renderThumbnail(0).toImage(), marked);
}

// A paste of many controls, all of them selected: the page shows them first, then the images of
// their items are all taken in the same frame of the surface as long as they fit together in a
// few screens' worth of pixels, and every one of them ends up marked on the view. 120 small
// buttons on page 3 go at once; of 17 buttons each larger than the largest image, stacked on
// the left half of page 2 but for the last, on the right half, 16 go at once and the last after
// them.
TEST_F(PreviewScene, SelectedControlsTakeTheirImagesTogetherWithinABoundOfPixels)
{
    const int giantsAtOnce = int(PreviewItemHandle::GrabAreaAtOnce / PreviewItemHandle::MaskArea);
    struct Row
    {
        unsigned int pageId;
        int count;
        std::function<QRect(int)> geometry;
        int mostAtOnce;
        // Each must show an overlay; none: each control's own rectangle.
        std::vector<QRect> marks;
    };
    const Row rows[] = {
        {3, 120, [](int i) { return QRect((i % 10) * 48, (i / 10) * 22, 46, 20); }, 120, {}},
        {2,
         giantsAtOnce + 1,
         [&](int i) { return QRect(i < giantsAtOnce ? 0 : 240, 0, 240, 5000); },
         giantsAtOnce,
         {QRect(20, 20, 200, 232), QRect(260, 20, 200, 232)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        std::vector<QRect> cells;
        std::set<unsigned int> ids;
        for (int i = 0; i < row.count; ++i) {
            cells.push_back(row.geometry(i));
            smart_ptr<Control> button(new Button);
            button->setPageId(row.pageId);
            button->setGeometry(cells.back());
            const unsigned int id = project->insertControl(button, UINT_MAX);
            project->getPage(row.pageId).getControlIds().insert(id);
            ids.insert(id);
        }
        selection.selectControls(ids, true);
        // A scene of its own, whose handles have taken no image yet.
        scene.reset();
        scene = std::make_unique<PagePreviewScene>(engine.get(), project.get(), &selection);
        scene->showPage(row.pageId);
        const std::vector<QRect>& marks = row.marks.empty() ? cells : row.marks;
        const QGraphicsItem* top = scene->itemAt(marks.front().center(), QTransform());
        const PreviewItemHandle* handle =
            top ? qobject_cast<const PreviewItemHandle*>(top->toGraphicsObject()) : nullptr;
        ASSERT_TRUE(handle);
        View view(scene.get());
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

        const auto marked = [&] {
            const QImage shown = rendering();
            const QImage drawn = frame();
            return std::count_if(marks.begin(), marks.end(), [&](const QRect& area) {
                return !TestUtil::changedArea(shown, drawn, area).isEmpty();
            });
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return marked() == std::ptrdiff_t(marks.size()); }))
            << marked() << " of " << marks.size() << " marked";
        EXPECT_EQ(handle->mostGrabsTaken(), row.mostAtOnce);

        // Made again, as a paste makes them, the items show first: the surface's first frame
        // takes no image, and the marks follow.
        // A frame drawn within the rebuild itself comes before any image can be asked for.
        int grabsInFirstFrame = -1;
        handle = nullptr;
        const QObject probe; // goes first, while what it looks at is still there
        QObject::connect(
            scene->surface()->quickWindow(), &QQuickWindow::afterRendering, &probe,
            [&] {
                if (grabsInFirstFrame < 0)
                    grabsInFirstFrame = handle ? handle->grabsTaken() : 0;
            },
            Qt::DirectConnection);
        scene->rebuildItems();
        top = scene->itemAt(marks.front().center(), QTransform());
        handle = top ? qobject_cast<const PreviewItemHandle*>(top->toGraphicsObject()) : nullptr;
        ASSERT_TRUE(handle);
        EXPECT_TRUE(QTest::qWaitFor([&] { return marked() == std::ptrdiff_t(marks.size()); }));
        EXPECT_EQ(grabsInFirstFrame, 0);
    }
}

// A selected control of any size costs its overlay what the views show of it: a giant keypad
// or slider, on a view at 100 % and one at 400 %, is marked over the page within a few
// screens' worth of memory.
TEST_F(PreviewScene, GiantSelectedControlsCostWhatTheViewShows)
{
    for (const unsigned int id : {5u, 1u})
        for (const int side : {24000, 65535}) {
            SCOPED_TRACE(std::to_string(id) + " " + std::to_string(side));
            EXPECT_EXIT(
                {
                    scene->showPage(0);
                    View view(scene.get());
                    View zoomed(scene.get());
                    zoomed.setTransform(QTransform::fromScale(4, 4));
                    view.show();
                    zoomed.show();
                    if (!QTest::qWaitForWindowExposed(&zoomed) || rendering().isNull() ||
                        !TestUtil::limitAddressSpaceGrowth(256 << 20))
                        ::_exit(2);
                    placeControl(id, QRect(0, 0, side, side));
                    selection.selectControl(id, true, true);
                    scene->updateSelectionEffects();
                    const QRect inner(8, 8, 464, 256);
                    const bool marked = QTest::qWaitFor(
                        [&] { return overlay().contains(inner) && zoomed.grab().width() > 0; });
                    ::_exit(marked ? 0 : 1);
                },
                ::testing::ExitedWithCode(0), "");
        }
}

// A thumbnail is the page's own rendering scaled to a quarter, in both orientations, and
// leaves the view as it was.
TEST_F(PreviewScene, ThumbnailIsThePageScaledDown)
{
    for (int orientation : {Orientation_LANDSCAPE, Orientation_PORTRAIT}) {
        project->setOrientation(orientation);
        scene->clear();
        scene->showPage(3);
        rendering();
        const QImage current = frame();
        const QImage thumbnail =
            scene->renderThumbnail(1).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_TRUE(scene->pageItem(1));
        EXPECT_EQ(thumbnail.size(), QSize(project->getWidth() / 4, project->getHeight() / 4));
        EXPECT_EQ(rendering(), current) << orientation;
        scene->showPage(1);
        rendering();
        const QPixmap page = QPixmap::fromImage(frame()).scaled(
            thumbnail.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        EXPECT_EQ(thumbnail, page.toImage().convertToFormat(QImage::Format_ARGB32)) << orientation;
    }
    // A thumbnail of the page shown leaves no change waiting for the view out of it.
    scene->setPageBackgroundColour(1, Qt::blue);
    scene->renderThumbnail(1);
    EXPECT_EQ(rendering().pixel(100, 150), qRgb(0, 0, 255));
    EXPECT_TRUE(scene->renderThumbnail(77).isNull());
}

// The page shown keeps the page switcher it shares with another page, on it and at its place,
// whatever thumbnails are made: of itself, of the other page, and of both while the lock page
// shows, once the lock page is left.
TEST_F(PreviewScene, ThePageShownKeepsItsSharedSwitcherThroughThumbnails)
{
    // The controller reads the project (its unlock code, the button's Lock) through this item.
    VelmoraQML::QMLConfiguration configuration;
    configuration.setConfiguration(project.get());
    project->setUnlockCode("2468");
    project->modControl<Button>(0)->setFunction(ButtonFunction_LOCK);
    scene->showPage(1);
    const QRect bar(0, 230, 480, 42);
    const QImage shown = rendering();
    ASSERT_LT(TestUtil::pixelsOfColour(shown, QColor("#203040"), bar),
              bar.width() * bar.height() / 2)
        << "the switcher drawn over the page";
    const std::function<void()> thumbnails[] = {
        [&] { scene->renderThumbnail(1); },
        [&] { scene->renderThumbnail(0); },
        [&] {
            VelmoraQML::controller()->triggerButtonFunction(0);
            ASSERT_TRUE(scene->lockPage().isShown());
            scene->renderThumbnail(0);
            scene->renderThumbnail(1);
            scene->leaveLockPage();
        },
    };
    for (std::size_t i = 0; i < std::size(thumbnails); ++i) {
        thumbnails[i]();
        QQuickItem* pageSwitcher = scene->pageSwitcherItem(0);
        ASSERT_TRUE(pageSwitcher);
        EXPECT_EQ(pageSwitcher->parentItem(), scene->pageItem(1)) << i;
        EXPECT_EQ(pageSwitcher->position(), QPointF(0, 230)) << i;
        EXPECT_EQ(TestUtil::changedArea(rendering(), shown, bar), QRect()) << i;
    }
}

// Resizing scales the recorded geometries about the union's corner or edge; the end reports
// only the controls that changed.
TEST_F(PreviewScene, ResizeScalesTheSelection)
{
    scene->showPage(0);
    using G = ControlGestures;
    using Geometries = std::map<unsigned int, QRect>;
    const struct
    {
        Geometries start;
        int handle;
        QPoint offset;
        Geometries changed;
    } rows[] = {
        {{{1, {20, 20, 100, 50}}}, G::BottomRight, {10, 5}, {{1, {20, 20, 110, 55}}}},
        {{{1, {20, 20, 40, 50}}, {3, {80, 20, 40, 50}}},
         G::BottomRight,
         {10, 5},
         {{1, {20, 20, 44, 55}}, {3, {86, 20, 44, 55}}}},
        {{{1, {20, 20, 40, 50}}, {3, {80, 20, 40, 50}}},
         G::TopLeft,
         {-10, -10},
         {{1, {10, 10, 44, 60}}, {3, {76, 10, 44, 60}}}},
        {{{1, {20, 20, 100, 20}}, {3, {20, 50, 0, 20}}},
         G::Right,
         {10, 0},
         {{1, {20, 20, 110, 20}}}},
        {{{1, {20, 20, 0, 50}}}, G::Right, {10, 0}, {}},
        {{{1, {20, 20, 0, 50}}}, G::Left, {10, 0}, {{1, {30, 20, 0, 50}}}},
        {{{1, {20, 20, 0, 50}}}, G::Bottom, {0, 10}, {{1, {20, 20, 0, 60}}}},
        {{{1, {20, 20, 100, 50}}}, G::BottomRight, {0, 0}, {}},
        {{{1, {20, 20, 100, 50}}}, G::Right + 1, {10, 10}, {}}, // no handle
    };
    for (const auto& row : rows) {
        std::set<unsigned int> ids;
        for (const auto& entry : row.start) {
            placeControl(entry.first, entry.second);
            ids.insert(entry.first);
        }
        scene->beginResizeControls(ids, row.handle);
        EXPECT_TRUE(scene->isResizing());
        scene->resizeControls(row.offset * 3);
        scene->resizeControls(row.offset);
        EXPECT_EQ(scene->endResizeControls(), row.changed) << row.handle;
        EXPECT_FALSE(scene->isResizing());
    }
}

// A removed page takes its controls; the switcher shown on it outlives it and appears on the
// next page that uses it. Rebuild and clear leave no item, handle or registration behind.
TEST_F(PreviewScene, RemovalRebuildAndClearLeaveNothingBehind)
{
    VelmoraQML::QMLController* controller = VelmoraQML::controller();
    scene->showPage(1);
    QPointer<QQuickItem> button = scene->controlItem(0);
    scene->removePageItem(1);
    EXPECT_TRUE(!button && !scene->pageItem(1) && !scene->controlItem(2));
    EXPECT_EQ(scene->currentPageId(), UINT_MAX);
    EXPECT_TRUE(controller->controlsWithKey("button000").empty());

    scene->showPage(0);
    QQuickItem* pageSwitcher = scene->pageSwitcherItem(0);
    ASSERT_TRUE(pageSwitcher);
    EXPECT_EQ(pageSwitcher->parentItem(), scene->pageItem(0));
    EXPECT_EQ(kindAndId(hit(QPointF(100, 260))),
              std::make_pair(int(PreviewItemKind_PAGE_SWITCHER), 0u));

    scene->renderThumbnail(2);
    QPointer<QQuickItem> oldPage = scene->pageItem(0);
    scene->rebuildItems();
    EXPECT_TRUE(!oldPage && !scene->pageItem(2) && scene->pageItem(0));
    EXPECT_TRUE(scene->pageItem(0)->isVisible());
    // The proxy, the page, its four controls and its switcher.
    EXPECT_EQ(scene->items().size(), 7);

    scene->clear();
    EXPECT_EQ(scene->items().size(), 1);
    EXPECT_TRUE(scene->items().first()->data(0).isNull());
    QQuickItem* root = scene->surface()->quickWindow()->contentItem()->childItems().value(0);
    EXPECT_TRUE(root && root->childItems().isEmpty());
    EXPECT_TRUE(controller->controlsWithKey("slider000").empty());
    EXPECT_EQ(scene->currentPageId(), UINT_MAX);
}

// Pages build in slices of one piece each at a time of 0 ms; a page built for its thumbnail
// goes again afterwards. The kept pages are the current one, its neighbours and the pages shown
// last, within the budget (page order 1, 0, 2, 3; by weight 0, 2, 1, 3, heaviest first); the
// kept pages that are not built are built ahead while the editor is idle, and the switchers
// that no kept page shows go with their pages.
TEST_F(PreviewScene, PagesBuildInSlicesAndOnlyTheKeptOnesStay)
{
    using Pages = std::vector<unsigned int>;
    scene->showPage(1);
    int slices = 1;
    const QStringList warnings = TestUtil::warningsDuring([&] {
        while (!scene->buildPageSlice(2, 0))
            ++slices;
    });
    EXPECT_EQ(slices, 8) << "the page, its four controls, its switcher and its two buttons";
    // The clock of a type the preview does not know shows nothing, and no item is tried for it.
    EXPECT_EQ(warnings, QStringList());
    EXPECT_FALSE(scene->controlItem(9));
    QPointer<QQuickItem> clock = scene->controlItem(7);
    ASSERT_TRUE(clock && scene->isPageBuilt(2) && scene->pageSwitcherItem(1));
    QSignalSpy ready(scene.get(), &PagePreviewScene::thumbnailReady);
    scene->requestThumbnail(2);
    ASSERT_TRUE(ready.wait());
    EXPECT_EQ(ready.at(0).at(0).toUInt(), 2u);
    EXPECT_EQ(ready.at(0).at(1).value<QPixmap>().size(), QSize(120, 68));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !clock && !scene->hasBackgroundWork(); }))
        << "released and deleted";
    EXPECT_EQ(scene->builtPages(), (Pages{0, 1})) << "the neighbour built ahead";
    EXPECT_FALSE(scene->pageSwitcherItem(1));
    EXPECT_TRUE(VelmoraQML::controller()->controlsWithKey("clock000").empty());

    const int w[] = {scene->pageWeight(0), scene->pageWeight(1), scene->pageWeight(2),
                     scene->pageWeight(3)};
    ASSERT_TRUE(w[0] > w[2] && w[2] > w[1] && w[1] > w[3]);
    const struct
    {
        int budget;
        unsigned int shown;
        Pages built;
    } steps[] = {
        {PreviewPageSet::DefaultBudget, 0, {0, 1}},
        {PreviewPageSet::DefaultBudget, 3, {0, 1, 3}},
        {w[3] + w[2], 3, {3}},    // the neighbour 2 not built fills the room
        {w[2] + w[3], 2, {2, 3}}, // the neighbour 0 does not fit, the neighbour 3 does
        {w[2] + w[3], 1, {1, 3}}, // no neighbour fits; of the recent pages 2 does not, 3 does
        {0, 3, {3}},
    };
    for (const auto& step : steps) {
        scene->setPageBudget(step.budget);
        scene->showPage(step.shown);
        EXPECT_EQ(scene->builtPages(), step.built) << "showing " << step.shown;
    }
    EXPECT_TRUE(!scene->pageSwitcherItem(0) && !scene->pageSwitcherItem(1));
    // A keypad weighs the same at any size: it draws only what the window shows of it.
    project->getControl(5).setGeometry(QRect(0, 0, 24000, 24000));
    EXPECT_EQ(scene->pageWeight(0), w[0]);
}

// A page-switcher button of the live page goes to a page that is not built: the scene builds
// it, shows it and says so; the editor showing a page again finds it, and its switcher, in
// place.
TEST_F(PreviewScene, PreviewGoesToPagesNotBuilt)
{
    scene->showPage(0);
    ASSERT_EQ(scene->builtPages(), std::vector<unsigned int>{0});
    const std::vector<QObject*> buttons = VelmoraQML::controller()->pageSwitcherButtons("Clocks");
    ASSERT_EQ(buttons.size(), 1u);
    auto* button = qobject_cast<QQuickItem*>(buttons.front());
    QSignalSpy shown(scene.get(), &PagePreviewScene::currentPageChangedByPreview);
    QTest::mouseClick(
        scene->surface(), Qt::LeftButton, {},
        button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.at(0).at(0).toUInt(), 2u);
    EXPECT_EQ(scene->currentPageId(), 2u);
    EXPECT_TRUE(scene->pageItem(2)->isVisible());
    EXPECT_FALSE(scene->pageItem(0)->isVisible());
    EXPECT_EQ(scene->pageSwitcherItem(1)->parentItem(), scene->pageItem(2));

    scene->showPage(0);
    EXPECT_TRUE(scene->pageItem(0)->isVisible());
    EXPECT_EQ(scene->pageItem(0)->position(), QPointF(0, 0));
    EXPECT_EQ(scene->pageSwitcherItem(0)->position(), QPointF(0, 230));
    EXPECT_EQ(static_cast<QQuickItem*>(VelmoraQML::controller()->currentPage()),
              scene->pageItem(0));
}
