#include "widgets/page_preview.h"

#include "appengine/page_preview_scene.h"
#include "appengine/preview_control_kinds.h"
#include "appengine/selection_manager.h"
#include "core/preferences.h"
#include "main/control_commands.h"
#include "main/control_property_commands.h"
#include "main/velmora_document.h"
#include "main/velmora_preferences.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGraphicsProxyWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QQuickWidget>
#include <QRubberBand>
#include <QShortcut>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// The selection frame's grips: squares of this many view pixels, at every zoom, that take
// hold of the mouse this many pixels around them as well.
constexpr int GripSize = 7;
constexpr int GripSlack = 2;

// The selection rectangle grown by the margin on every side, as a frame is drawn along it:
// through the outer edges of the rectangle's pixels.
QRectF frameAround(const QRect& selection, int margin)
{
    return QRectF(selection).adjusted(-margin, -margin, margin, margin);
}

int kindOf(const QGraphicsItem* item)
{
    return item->data(0).toInt();
}

bool isControlKind(int kind)
{
    return isPreviewControlItemKind(kind);
}

bool isSelectableKind(int kind)
{
    return kind == PreviewItemKind_PAGE || kind == PreviewItemKind_PAGE_SWITCHER ||
           isControlKind(kind);
}

bool isLockPage(const QGraphicsItem* item)
{
    return item && kindOf(item) == PreviewItemKind_LOCK_PAGE;
}

bool isCtrl(Qt::KeyboardModifiers modifiers)
{
    return modifiers & Qt::ControlModifier;
}

} // namespace

PagePreview::PagePreview(VelmoraDocument& document, QWidget* parent)
    : QGraphicsView(parent), document(document)
{
    setOptimizationFlag(QGraphicsView::DontSavePainterState);
    setViewportUpdateMode(QGraphicsView::BoundingRectViewportUpdate);
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &PagePreview::copyRequested);
    auto* paste = new QShortcut(QKeySequence::Paste, this);
    connect(paste, &QShortcut::activated, this, &PagePreview::pasteRequested);
}

void PagePreview::setActions(const Actions& actions)
{
    createPage = actions.createPage;
    duplicatePage = actions.duplicatePage;
    editPageSwitcher = actions.editPageSwitcher;
    zoomIn = actions.zoomIn;
    zoomOut = actions.zoomOut;
    copyControls = actions.copyControls;
    pasteControls = actions.pasteControls;
    deleteSelection = actions.deleteSelection;
}

void PagePreview::setPreferences(const Preferences* preferences)
{
    this->preferences = preferences;
}

void PagePreview::setAddControlToolSetter(const AddControlToolSetter& setter)
{
    addControlToolSetter = setter;
}

PagePreviewScene* PagePreview::previewScene() const
{
    return qobject_cast<PagePreviewScene*>(scene());
}

QGraphicsItem* PagePreview::resolveItem(const QPoint& position) const
{
    for (QGraphicsItem* item = itemAt(position); item; item = item->parentItem())
        if (isSelectableKind(kindOf(item)))
            return item;
    return nullptr;
}

QGraphicsItem* PagePreview::resolveControlItem(const QPoint& position) const
{
    for (QGraphicsItem* item = itemAt(position); item; item = item->parentItem())
        if (isControlKind(kindOf(item)))
            return item;
    return nullptr;
}

QPoint PagePreview::scenePoint(const QPoint& position) const
{
    return mapToScene(position).toPoint();
}

QPoint PagePreview::offsetFromPress(const QPoint& position) const
{
    return (mapToScene(position) - mapToScene(pressPosition)).toPoint();
}

void PagePreview::showRubberBand()
{
    // On the viewport, whose coordinates the mouse positions are in.
    if (!rubberBand)
        rubberBand = new QRubberBand(QRubberBand::Rectangle, viewport());
    rubberBand->setGeometry(QRect(pressPosition, QSize()));
    rubberBand->show();
}

void PagePreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        // A second button ends the left-button gesture.
        if (event->buttons() & Qt::LeftButton)
            mouseReleaseEvent(event);
        return;
    }
    const QPoint position = event->position().toPoint();
    // The grip under the press is the one drawn there now, whatever the last hover found.
    if (editControlMode)
        updateGrip(position);
    if ((editControlMode && activeHandle != ControlGestures::NoHandle) || armedType != 0) {
        // A resize starts, or the new control's band is drawn, on the first move.
        pressPosition = position;
        return;
    }
    QGraphicsItem* item = resolveItem(position);
    // The lock page that a button's Lock shows is no page of the project: nothing on it can be
    // picked, and outside Edit Controls its keypad takes the press.
    const bool onLockPage = !item && isLockPage(itemAt(position));
    if (!item && !onLockPage)
        return;
    pressPosition = position;
    const int kind = onLockPage ? int(PreviewItemKind_LOCK_PAGE) : kindOf(item);
    if (kind == PreviewItemKind_PAGE) {
        bandSelecting = true;
        return;
    }
    // In Edit Controls the press is the editor's alone: it picks, moves or resizes, and no
    // live item (a button's function, a slider, a key, a switcher's page button) reacts.
    if (editControlMode)
        return;
    // Outside it the page behaves as the panel: the live item takes the press too, and a
    // drag from a control other than a slider or colour picker draws a band.
    if (kind != PreviewItemKind_PAGE_SWITCHER && kind != PreviewItemKind_LOCK_PAGE)
        bandSelecting = !(document.selection().isControlSelected(item->data(1).toUInt()) &&
                          isCtrl(event->modifiers()));
    QGraphicsView::mousePressEvent(event);
    // Dragging a live slider or colour picker operates it.
    if (bandSelecting && event->isAccepted() &&
        (kind == PreviewItemKind_SLIDER || kind == PreviewItemKind_COLOUR_PICKER))
        bandSelecting = false;
    holdLiveSurface();
    // The gesture is the view's, whether or not the live item took the press.
    event->accept();
}

void PagePreview::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void PagePreview::mouseMoveEvent(QMouseEvent* event)
{
    // In Edit Controls the live items do not even see the pointer pass.
    if (!editControlMode)
        QGraphicsView::mouseMoveEvent(event);
    const QPoint position = event->position().toPoint();
    const bool pressed = !pressPosition.isNull();

    if (bandSelecting || armedType != 0) {
        // The viewport tracks the mouse for the live items: a move without a press draws no
        // band.
        if (pressed) {
            if (!rubberBand || !rubberBand->isVisible())
                showRubberBand();
            rubberBand->setGeometry(QRect(pressPosition, position).normalized());
        }
        return;
    }
    if (!editControlMode)
        return;
    PagePreviewScene* const scene = previewScene();
    if (!pressed) {
        updateGrip(position);
        return;
    }
    if (!scene)
        return;
    const SelectionManager& selection = document.selection();
    if (activeHandle != ControlGestures::NoHandle) {
        if (!scene->isResizing()) {
            resizeIds.clear();
            if (selection.kind() == SelectionManager::SelectionKind_CONTROLS)
                resizeIds = selection.selectedIds();
            scene->beginResizeControls(resizeIds, activeHandle);
            releaseLiveSurface();
        }
        if (scene->isResizing()) {
            scene->resizeControls(offsetFromPress(position));
            viewport()->update();
        }
        return;
    }
    if (!scene->isDragging()) {
        if (QGraphicsItem* item = resolveControlItem(position)) {
            const unsigned int id = item->data(1).toUInt();
            dragIds.clear();
            // The control under the mouse drags the selection with it when it belongs to it
            // (or Ctrl extends the selection); otherwise it moves alone.
            if ((isCtrl(event->modifiers()) &&
                 selection.kind() == SelectionManager::SelectionKind_CONTROLS) ||
                selection.isControlSelected(id))
                dragIds = selection.selectedIds();
            dragIds.insert(id);
            scene->beginMoveControls(dragIds);
            releaseLiveSurface();
        }
    }
    if (scene->isDragging()) {
        scene->moveControls(offsetFromPress(position));
        viewport()->update();
    }
}

std::vector<PagePreview::Grip> PagePreview::grips() const
{
    PagePreviewScene* const scene = previewScene();
    const QRect selected = scene ? scene->selectionBoundingRect(false) : QRect();
    if (selected.isNull())
        return {};
    // On the outer frame as drawn: its corners, and the middles of the sides long enough to
    // hold a third grip apart from the corners' two.
    const QRect frame = mapFromScene(frameAround(selected, 2)).boundingRect();
    const int left = frame.left(), top = frame.top(), right = frame.right(),
              bottom = frame.bottom(), middleX = frame.center().x(), middleY = frame.center().y();
    const bool wide = frame.width() >= 3 * GripSize, tall = frame.height() >= 3 * GripSize;
    const struct
    {
        bool shown;
        QPoint centre;
        ResizeHandle handle;
        Qt::CursorShape cursor;
    } places[] = {
        {true, {left, top}, ControlGestures::TopLeft, Qt::SizeFDiagCursor},
        {true, {right, top}, ControlGestures::TopRight, Qt::SizeBDiagCursor},
        {true, {left, bottom}, ControlGestures::BottomLeft, Qt::SizeBDiagCursor},
        {true, {right, bottom}, ControlGestures::BottomRight, Qt::SizeFDiagCursor},
        {tall, {left, middleY}, ControlGestures::Left, Qt::SizeHorCursor},
        {tall, {right, middleY}, ControlGestures::Right, Qt::SizeHorCursor},
        {wide, {middleX, top}, ControlGestures::Top, Qt::SizeVerCursor},
        {wide, {middleX, bottom}, ControlGestures::Bottom, Qt::SizeVerCursor},
    };
    std::vector<Grip> result;
    for (const auto& place : places)
        if (place.shown)
            result.push_back({QRect(place.centre - QPoint(GripSize / 2, GripSize / 2),
                                    QSize(GripSize, GripSize)),
                              place.handle, place.cursor});
    return result;
}

void PagePreview::updateGrip(const QPoint& position)
{
    // A grip takes hold where it is drawn, and a pixel or two around it.
    for (const Grip& grip : grips()) {
        if (grip.area.adjusted(-GripSlack, -GripSlack, GripSlack, GripSlack).contains(position)) {
            activeHandle = grip.handle;
            viewport()->setCursor(grip.cursor);
            return;
        }
    }
    activeHandle = ControlGestures::NoHandle;
    viewport()->unsetCursor();
}

void PagePreview::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (rubberBand && rubberBand->isVisible()) {
        rubberBand->hide();
        if (bandSelecting)
            finishBand(event->modifiers());
        else if (armedType != 0)
            createControl(QRect(scenePoint(rubberBand->geometry().topLeft()),
                                scenePoint(rubberBand->geometry().bottomRight())));
    } else {
        const bool moved = editControlMode && previewScene() && finishEdit(position);
        if (event->button() == Qt::LeftButton && !moved && armedType == 0)
            clickSelect(position, event->modifiers());
    }
    bandSelecting = false;
    dragIds.clear();
    resizeIds.clear();
    pressPosition = QPoint();
    QGraphicsView::mouseReleaseEvent(event);
    releaseLiveSurface();
}

void PagePreview::holdLiveSurface()
{
    // The surface does not always tell the scene that a live item took the press (a button's
    // or a key's does not), and the scene then gives the release to nobody: the item's click
    // would never come. The surface keeps the whole press, its moves and its release.
    PagePreviewScene* const scene = previewScene();
    QGraphicsProxyWidget* proxy =
        scene && scene->surface() ? scene->surface()->graphicsProxyWidget() : nullptr;
    if (!proxy || scene->mouseGrabberItem())
        return;
    proxy->grabMouse();
}

void PagePreview::releaseLiveSurface()
{
    // Once the view moves or resizes controls with the press, the live item gets no more of
    // it: the item sees its press cancelled, and a button does not click at the end of a drag.
    PagePreviewScene* const scene = previewScene();
    QGraphicsItem* grabber = scene ? scene->mouseGrabberItem() : nullptr;
    if (grabber && scene->surface() && grabber == scene->surface()->graphicsProxyWidget())
        grabber->ungrabMouse();
}

void PagePreview::finishBand(Qt::KeyboardModifiers modifiers)
{
    std::set<unsigned int> ids;
    for (QGraphicsItem* item : items(rubberBand->geometry(), Qt::IntersectsItemShape))
        if (isControlKind(kindOf(item)))
            ids.insert(item->data(1).toUInt());
    if (!ids.empty())
        document.selection().selectControls(ids, !isCtrl(modifiers));
}

void PagePreview::createControl(const QRect& geometry)
{
    const Velmora::ControlType type = armedType;
    const unsigned int pageId = document.selection().currentPage();
    // A band drawn while no page is shown has no page to go to.
    if (!document.pageExists(pageId))
        return;
    document.undoStack().push(new AddControlsCommand({{type, {geometry}}}, pageId, document));
    const bool keepArmed =
        preferences ? preferences->value(VelmoraPreferences::MaintainAddControlActions).toBool()
                    : true;
    if (keepArmed)
        return;
    if (addControlToolSetter)
        addControlToolSetter(type, false);
    else
        onAddControlActionToggled(type, false);
}

bool PagePreview::finishEdit(const QPoint& position)
{
    PagePreviewScene* const scene = previewScene();
    if (scene->isDragging()) {
        scene->endMoveControls();
        const QPoint offset = offsetFromPress(position);
        const bool moved = !offset.isNull();
        if (moved)
            document.undoStack().push(new MoveControlsCommand(dragIds, offset, document));
        document.selection().selectControls(dragIds, true);
        return moved;
    }
    if (scene->isResizing()) {
        const std::map<unsigned int, QRect> geometries = scene->endResizeControls();
        if (!geometries.empty()) {
            document.undoStack().push(new SetControlGeometryCommand(geometries, document));
            return true;
        }
    }
    return false;
}

void PagePreview::clickSelect(const QPoint& position, Qt::KeyboardModifiers modifiers)
{
    // A press and release over different items is no click.
    if (itemAt(position) != itemAt(pressPosition) || isLockPage(itemAt(position)))
        return;
    SelectionManager& selection = document.selection();
    const bool ctrl = isCtrl(modifiers);
    QGraphicsItem* const item = resolveItem(position);
    if (!item) {
        if (selection.currentPage() != UINT_MAX)
            selection.selectPage(selection.currentPage(), true, true);
        return;
    }
    const unsigned int id = item->data(1).toUInt();
    switch (kindOf(item)) {
    case PreviewItemKind_PAGE:
        if (!(ctrl && selection.kind() == SelectionManager::SelectionKind_CONTROLS))
            selection.selectPage(id, true, true);
        break;
    case PreviewItemKind_PAGE_SWITCHER:
        selection.selectPageSwitcher(id, true);
        break;
    default:
        // Ctrl toggles a control; a plain click selects it alone.
        selection.selectControl(id, !selection.isControlSelected(id) || !ctrl, !ctrl);
        break;
    }
}

void PagePreview::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0 && zoomIn)
        zoomIn->trigger();
    else if (delta < 0 && zoomOut)
        zoomOut->trigger();
    // The wheel zooms and never scrolls.
    event->accept();
}

void PagePreview::keyPressEvent(QKeyEvent* event)
{
    handleKeyEvent(event);
}

void PagePreview::handleKeyEvent(QKeyEvent* event)
{
    event->ignore();
    const SelectionManager& selection = document.selection();
    if (selection.kind() != SelectionManager::SelectionKind_CONTROLS)
        return;
    const bool jump = event->modifiers() & Qt::ShiftModifier;
    int distance = jump ? 10 : 1;
    if (preferences)
        distance = preferences
                       ->value(jump ? VelmoraPreferences::ControlKeyJumpSize
                                    : VelmoraPreferences::ControlKeyStepSize)
                       .toInt();
    QPoint offset;
    switch (event->key()) {
    case Qt::Key_Left:
        offset = QPoint(-distance, 0);
        break;
    case Qt::Key_Up:
        offset = QPoint(0, -distance);
        break;
    case Qt::Key_Right:
        offset = QPoint(distance, 0);
        break;
    case Qt::Key_Down:
        offset = QPoint(0, distance);
        break;
    default:
        return;
    }
    // A negative size is as good as none.
    if (distance <= 0)
        return;
    document.undoStack().push(new MoveControlsCommand(selection.selectedIds(), offset, document));
    event->accept();
}

void PagePreview::contextMenuEvent(QContextMenuEvent* event)
{
    const SelectionManager& selection = document.selection();
    const bool controls = selection.kind() == SelectionManager::SelectionKind_CONTROLS;
    if (selection.currentPage() == UINT_MAX && !controls)
        return;
    // Groups of entries, separated where both sides have entries.
    const std::vector<std::vector<QAction*>> groups = {
        {controls ? copyControls.data() : nullptr, pasteControls},
        {editPageSwitcher},
        {duplicatePage},
        {deleteSelection},
        {createPage},
        {zoomIn, zoomOut},
    };
    QMenu menu(this);
    for (const std::vector<QAction*>& group : groups) {
        const bool empty =
            std::none_of(group.begin(), group.end(), [](QAction* action) { return action; });
        if (empty)
            continue;
        if (!menu.isEmpty())
            menu.addSeparator();
        for (QAction* action : group)
            if (action)
                menu.addAction(action);
    }
    // A paste chosen from this menu goes where the user clicked.
    emit rightClickPosition(scenePoint(event->pos()));
    menu.exec(event->globalPos());
    emit rightClickPosition(QPoint());
}

void PagePreview::drawForeground(QPainter* painter, const QRectF&)
{
    PagePreviewScene* const scene = previewScene();
    if (!editControlMode || !scene)
        return;
    const QRect frame = scene->selectionBoundingRect(false);
    if (frame.isNull())
        return;
    painter->save();
    painter->setBrush(Qt::NoBrush);
    QPen pen(QColor(192, 192, 192, 128), 2, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->drawRect(frameAround(frame, 0));
    pen.setColor(QColor(64, 64, 64, 128));
    painter->setPen(pen);
    painter->drawRect(frameAround(frame, 2));
    // The grips, in view pixels, so that they keep their size at every zoom.
    painter->resetTransform();
    painter->setPen(QPen(QColor(GripBorder), 1));
    painter->setBrush(QColor(GripFill));
    for (const Grip& grip : grips())
        painter->drawRect(grip.area.adjusted(0, 0, -1, -1));
    painter->restore();
}

void PagePreview::onSelectionChanged()
{
    if (!editControlMode)
        return;
    if (PagePreviewScene* const scene = previewScene())
        scene->selectionBoundingRect(true);
    viewport()->update();
}

void PagePreview::onZoomLevelChanged(qreal level)
{
    setTransform(QTransform::fromScale(level, level));
}

void PagePreview::onAddControlActionToggled(Velmora::ControlType type, bool checked)
{
    if (checked) {
        armedType = type;
        viewport()->setCursor(Qt::CrossCursor);
    } else {
        armedType = Velmora::ControlType(0);
        viewport()->unsetCursor();
    }
}

void PagePreview::enableEditControlMode(bool enable)
{
    editControlMode = enable;
    // A live item that holds a press loses it: from now on the press is the editor's.
    if (enable)
        releaseLiveSurface();
    // The page is edited, not the lock page shown over it.
    PagePreviewScene* const scene = previewScene();
    if (enable && scene && scene->lockPage().isShown())
        document.showPage(scene->currentPageId());
    // Grips are found by hovering; the viewport keeps tracking for the live items anyway.
    setMouseTracking(enable);
    if (enable) {
        viewport()->setMouseTracking(true);
    } else {
        activeHandle = ControlGestures::NoHandle;
        viewport()->unsetCursor();
    }
    viewport()->update();
}
