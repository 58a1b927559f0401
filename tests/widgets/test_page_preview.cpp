#include "appengine/page_preview_scene.h"
#include "common/command_fixture.h"
#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "main/velmora_preferences.h"
#include "widgets/page_preview.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QQuickItem>
#include <QRubberBand>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;
using Kind = SelectionManager::SelectionKind;

namespace {

// Rectangles equal to within a pixel on each edge: the view's pixels need not fall on whole
// scene units.
bool near(const QRect& got, const QRect& want)
{
    return std::abs(got.left() - want.left()) <= 1 && std::abs(got.top() - want.top()) <= 1 &&
           std::abs(got.right() - want.right()) <= 1 && std::abs(got.bottom() - want.bottom()) <= 1;
}

// A page with a page switcher at the bottom and two labels, a (20, 20, 60 × 40) and
// b (120, 20, 60 × 40), shown live in a page view, which follows the selection as the main
// window makes it.
class PagePreviewTest : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        create();
        page = addSwitcherPage();
        a = addControl(page, ControlType_LABEL, QRect(20, 20, 60, 40));
        b = addControl(page, ControlType_LABEL, QRect(120, 20, 60, 40));
        document->preparePreview();
        selection.selectPage(page, true, true);
        document->showPage(page);
        view = std::make_unique<PagePreview>(*document);
        view->setPreferences(&preferences);
        view->setScene(document->previewScene());
        QObject::connect(&selection, &SelectionManager::selectionChanged, view.get(), [this] {
            document->syncPageSelection();
            view->onSelectionChanged();
        });
        view->resize(640, 420);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void TearDown() override { view.reset(); }

    QPoint at(const QPointF& scenePoint) const { return view->mapFromScene(scenePoint); }

    void press(const QPointF& p, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(view->viewport(), Qt::LeftButton, modifiers, at(p));
    }
    void release(const QPointF& p, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, modifiers, at(p));
    }
    void click(const QPointF& p, Qt::KeyboardModifiers modifiers = {})
    {
        press(p, modifiers);
        release(p, modifiers);
    }
    // Press, four moves on the way, release.
    void drag(const QPointF& from, const QPointF& to, Qt::KeyboardModifiers modifiers = {})
    {
        press(from, modifiers);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(view->viewport(), at(from + (to - from) * step / 4));
        release(to, modifiers);
    }

    std::pair<Kind, std::set<unsigned int>> selected() const
    {
        return {selection.kind(), selection.selectedIds()};
    }
    QRect geometryOf(unsigned int controlId) const
    {
        return document->getControl(controlId).getGeometry();
    }
    QRectF switcherRect() const
    {
        const unsigned int id = document->pageSwitcherOfPage(page);
        return PagePreviewScene::itemGeometry(document->previewScene()->pageSwitcherItem(id));
    }

    // The viewport once the live items and their overlays stopped changing.
    QImage settled() const
    {
        return TestUtil::settledPicture(view->viewport(), document->previewScene()->surface());
    }

    TestUtil::IsolatedSettings settings;
    VelmoraPreferences preferences;
    unsigned int page = 0;
    unsigned int a = 0;
    unsigned int b = 0;
    std::unique_ptr<PagePreview> view;
};

} // namespace

// An armed tool draws a control from a band in any direction, one undo step each; a click
// draws nothing. Whether the tool stays armed is the preference's; without a page nothing is
// drawn.
TEST_F(PagePreviewTest, ArmedToolDrawsControls)
{
    const struct
    {
        bool maintain;
        bool onPage;
        bool armedAfter;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.maintain << c.onPage);
        preferences.setValue(VelmoraPreferences::MaintainAddControlActions, c.maintain);
        selection.setCurrentPage(c.onPage ? page : UINT_MAX);
        view->onAddControlActionToggled(ControlType_BUTTON, true);
        const int steps = document->undoStack().index();
        const std::set<unsigned int> before = document->getPage(page).getControlIds();

        click(QPointF(300, 100));
        EXPECT_EQ(document->undoStack().index(), steps);
        EXPECT_EQ(view->armedControlType(), ControlType_BUTTON);

        drag(QPointF(330, 150), QPointF(250, 100)); // right to left, bottom to top
        EXPECT_FALSE(view->findChild<QRubberBand*>()->isVisible());
        EXPECT_EQ(view->armedControlType(), c.armedAfter ? ControlType_BUTTON : 0);
        const std::set<unsigned int> after = document->getPage(page).getControlIds();
        if (!c.onPage) {
            EXPECT_EQ(after, before);
            continue;
        }
        ASSERT_EQ(after.size(), before.size() + 1);
        EXPECT_EQ(document->undoStack().index(), steps + 1);
        const unsigned int made = *after.rbegin();
        EXPECT_EQ(document->getControl(made).getType(), ControlType_BUTTON);
        EXPECT_TRUE(near(geometryOf(made), QRect(QPoint(250, 100), QPoint(330, 150))))
            << geometryOf(made).x() << "," << geometryOf(made).width();
        document->undoStack().undo();
        EXPECT_EQ(document->getPage(page).getControlIds(), before);
    }
}

// Clicks select a control alone, Ctrl-clicks toggle controls, the page's background selects
// the page (not while Ctrl keeps controls), the switcher selects itself; a band selects the
// controls it meets, with Ctrl added, and one that meets none changes nothing.
TEST_F(PagePreviewTest, ClicksAndBandsSelect)
{
    const QPointF onA(50, 40), onB(150, 40), background(300, 120);
    const QPointF onSwitcher = switcherRect().center();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    using Ids = std::set<unsigned int>;
    const struct
    {
        QPointF from, to; // a click when equal
        Qt::KeyboardModifiers modifiers;
        Kind kind;
        Ids ids;
    } steps[] = {
        {onA, onA, {}, Kind::SelectionKind_CONTROLS, {a}},
        {onB, onB, ctrl, Kind::SelectionKind_CONTROLS, {a, b}},
        {onA, onA, ctrl, Kind::SelectionKind_CONTROLS, {b}},
        {background, background, ctrl, Kind::SelectionKind_CONTROLS, {b}},
        {background, background, {}, Kind::SelectionKind_PAGES, {page}},
        {onSwitcher, onSwitcher, {}, Kind::SelectionKind_PAGE_SWITCHERS, {0}},
        {QPointF(10, 10), QPointF(100, 30), {}, Kind::SelectionKind_CONTROLS, {a}},
        {QPointF(300, 10), QPointF(400, 100), {}, Kind::SelectionKind_CONTROLS, {a}},
        {QPointF(200, 100), QPointF(170, 50), ctrl, Kind::SelectionKind_CONTROLS, {a, b}},
        {QPointF(-30, 30), QPointF(-30, 30), {}, Kind::SelectionKind_PAGES, {page}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << s.from.x() << "," << s.from.y());
        if (s.from == s.to)
            click(s.from, s.modifiers);
        else
            drag(s.from, s.to, s.modifiers);
        const Ids ids = s.kind == Kind::SelectionKind_PAGE_SWITCHERS
                            ? Ids{document->pageSwitcherOfPage(page)}
                            : s.ids;
        EXPECT_EQ(selected(), std::make_pair(s.kind, ids));
    }
    EXPECT_EQ(document->undoStack().count(), 0);
}

// In edit-controls mode a dragged control moves the selection it belongs to, or alone; each
// drag is one undo step and selects what it dragged; a drag back to its start moves nothing.
TEST_F(PagePreviewTest, DraggingMovesControls)
{
    view->enableEditControlMode(true);
    const QRect homeA = geometryOf(a), homeB = geometryOf(b);
    selection.selectControl(a, true, true);

    drag(QPointF(150, 40), QPointF(160, 70)); // b, not selected: alone
    EXPECT_EQ(geometryOf(a), homeA);
    EXPECT_EQ(geometryOf(b), homeB.translated(10, 30));
    EXPECT_EQ(selected(), std::make_pair(Kind::SelectionKind_CONTROLS, std::set<unsigned int>{b}));

    selection.selectControls({a, b}, true);
    drag(QPointF(50, 40), QPointF(45, 60)); // a drags the selection
    EXPECT_EQ(geometryOf(a), homeA.translated(-5, 20));
    EXPECT_EQ(geometryOf(b), homeB.translated(5, 50));
    EXPECT_EQ(document->undoStack().count(), 2);

    selection.selectControl(a, true, true);
    press(QPointF(160, 80));
    QTest::mouseMove(view->viewport(), at(QPointF(200, 120)));
    QTest::mouseMove(view->viewport(), at(QPointF(160, 80)));
    release(QPointF(160, 80));
    EXPECT_EQ(document->undoStack().count(), 2);
    EXPECT_EQ(selected(), std::make_pair(Kind::SelectionKind_CONTROLS, std::set<unsigned int>{b}));

    document->undoStack().undo();
    document->undoStack().undo();
    EXPECT_EQ(geometryOf(a), homeA);
    EXPECT_EQ(geometryOf(b), homeB);
    EXPECT_EQ(PagePreviewScene::itemGeometry(document->previewScene()->controlItem(b)), homeB);
}

// The frame's grips act where they are drawn, on the outer frame (2 units outside the
// selection) and a view pixel or two around, at any zoom, with the cursor of their resize;
// inside the control the press is the control's. Dragging a grip reshapes the selection as one
// undo step.
TEST_F(PagePreviewTest, GripsResizeTheSelection)
{
    view->enableEditControlMode(true);
    view->onZoomLevelChanged(2.0);
    view->centerOn(60, 45);
    selection.selectControl(a, true, true); // 20..79 × 20..59, framed at 18..82 × 18..62
    const struct
    {
        QPointF point;
        QPoint nudge; // view pixels
        Qt::CursorShape cursor;
    } hovers[] = {
        {{18, 18}, {-4, -4}, Qt::SizeFDiagCursor}, {{82, 18}, {0, 0}, Qt::SizeBDiagCursor},
        {{18, 62}, {0, 0}, Qt::SizeBDiagCursor},   {{82, 62}, {4, 4}, Qt::SizeFDiagCursor},
        {{18, 40}, {0, 0}, Qt::SizeHorCursor},     {{82, 40}, {-4, 0}, Qt::SizeHorCursor},
        {{50, 18}, {0, 0}, Qt::SizeVerCursor},     {{50, 62}, {0, 4}, Qt::SizeVerCursor},
        {{18, 62}, {0, -8}, Qt::ArrowCursor},      {{25, 25}, {0, 0}, Qt::ArrowCursor},
        {{90, 40}, {0, 0}, Qt::ArrowCursor},
    };
    for (const auto& h : hovers) {
        QTest::mouseMove(view->viewport(), at(h.point) + h.nudge);
        EXPECT_EQ(view->viewport()->cursor().shape(), h.cursor)
            << h.point.x() << "," << h.point.y();
    }

    drag(QPointF(82, 62), QPointF(102, 72)); // bottom-right grip
    EXPECT_EQ(geometryOf(a), QRect(20, 20, 80, 50));
    EXPECT_EQ(geometryOf(b), QRect(120, 20, 60, 40));
    EXPECT_EQ(document->undoStack().count(), 1);
    document->undoStack().undo();
    EXPECT_EQ(geometryOf(a), QRect(20, 20, 60, 40));
    // A press inside the corner of the control moves it.
    drag(QPointF(25, 25), QPointF(30, 25));
    EXPECT_EQ(geometryOf(a), QRect(25, 20, 60, 40));
}

// Arrow keys move the selected controls by the step, or the jump with Shift; other keys, no
// selected controls or a step of 0 leave the key unaccepted.
TEST_F(PagePreviewTest, ArrowKeysNudgeSelectedControls)
{
    const struct
    {
        bool controlsSelected;
        int key;
        Qt::KeyboardModifiers modifiers;
        int step;
        QPoint moved; // (0,0): the key passes on
    } cases[] = {
        {true, Qt::Key_Right, {}, 1, {1, 0}}, {true, Qt::Key_Up, Qt::ShiftModifier, 1, {0, -10}},
        {true, Qt::Key_Left, {}, 4, {-4, 0}}, {true, Qt::Key_Down, {}, 0, {}},
        {true, Qt::Key_A, {}, 1, {}},         {false, Qt::Key_Right, {}, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        preferences.setValue(VelmoraPreferences::ControlKeyStepSize, c.step);
        if (c.controlsSelected)
            selection.selectControls({a, b}, true);
        else
            selection.selectPage(page, true, true);
        const QRect before = geometryOf(b);
        QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        QApplication::sendEvent(view.get(), &event);
        EXPECT_EQ(event.isAccepted(), !c.moved.isNull());
        EXPECT_EQ(geometryOf(b).topLeft() - before.topLeft(), c.moved);
    }
    EXPECT_EQ(document->undoStack().count(), 3);
}

// In edit-controls mode a dotted frame is drawn just around the selected controls, with eight
// grips of 7 × 7 view pixels on its outer line.
TEST_F(PagePreviewTest, EditModeFramesTheSelection)
{
    selection.selectControls({a, b}, true);
    const QImage plain = settled();
    view->enableEditControlMode(true);
    const QImage framed = settled();
    ASSERT_EQ(plain.size(), framed.size());
    const QRect changed = TestUtil::changedArea(framed, plain);
    // The outer frame lies 2 units outside the selection (20..179 × 20..59), the grips' middles
    // on it.
    const QRect expected = QRect(at(QPointF(18, 18)), at(QPointF(182, 62))).adjusted(-3, -3, 3, 3);
    EXPECT_EQ(TestUtil::pixelsOfColour(framed, QColor(PagePreview::GripBorder)), 8 * 24);
    for (int edge = 0; edge < 4; ++edge) {
        const int got[] = {changed.left(), changed.top(), changed.right(), changed.bottom()};
        const int want[] = {expected.left(), expected.top(), expected.right(), expected.bottom()};
        EXPECT_NEAR(got[edge], want[edge], 1) << "edge " << edge;
    }
}

// The context menu offers copy only with controls selected and reports where it was opened;
// without a page or selected controls there is none. The wheel zooms through the actions.
TEST_F(PagePreviewTest, ContextMenuAndWheel)
{
    QAction copy("Copy Controls"), paste("Paste Controls"), zoomIn("Zoom In"), zoomOut("Zoom Out");
    PagePreview::Actions offered;
    offered.zoomIn = &zoomIn;
    offered.zoomOut = &zoomOut;
    offered.copyControls = &copy;
    offered.pasteControls = &paste;
    view->setActions(offered);
    QSignalSpy positions(view.get(), &PagePreview::rightClickPosition);
    const auto openMenu = [&] {
        QStringList texts;
        TestUtil::ModalAnswerer answers;
        answers.then([&texts](QWidget* menu) {
            texts = TestUtil::menuTexts(qobject_cast<QMenu*>(menu));
            menu->close();
        });
        const QPoint point = at(QPointF(100, 90));
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                view->viewport()->mapToGlobal(point));
        QApplication::sendEvent(view->viewport(), &event);
        return texts;
    };

    EXPECT_EQ(openMenu(), QStringList({"Paste Controls", "-", "Zoom In", "Zoom Out"}));
    EXPECT_EQ(positions.size(), 2);
    EXPECT_LE((positions.value(0).value(0).toPoint() - QPoint(100, 90)).manhattanLength(), 1);
    EXPECT_EQ(positions.value(1).value(0).toPoint(), QPoint());
    selection.selectControl(a, true, true);
    EXPECT_EQ(openMenu().value(0), "Copy Controls");
    selection.clear();
    selection.setCurrentPage(UINT_MAX);
    positions.clear();
    EXPECT_EQ(openMenu(), QStringList());
    EXPECT_EQ(positions.size(), 0);

    QSignalSpy in(&zoomIn, &QAction::triggered), out(&zoomOut, &QAction::triggered);
    for (int delta : {120, -120, -240}) {
        QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
    }
    EXPECT_EQ(in.size(), 1);
    EXPECT_EQ(out.size(), 2);
}
