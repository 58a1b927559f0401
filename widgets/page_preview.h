#pragma once

#include "appengine/control_gestures.h"
#include "appengine/preview_item_kind.h"
#include "velmora_objects/velmora_types.h"

#include <QGraphicsView>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRgb>
#include <functional>
#include <set>
#include <vector>

class PagePreviewScene;
class Preferences;
class QAction;
class QRubberBand;
class VelmoraDocument;

// The page view: the main window's working surface over the document's preview scene, which
// shows the live QML items of the current page, its controls and its page switcher.
//
// The user draws a new control with an armed add-control tool, selects controls, the page or
// its page switcher by click or band, and in edit-controls mode moves and resizes the selected
// controls by dragging them or their frame's grips; arrow keys nudge them, the wheel zooms.
// While the mouse is down the view moves and reshapes the scene's items for live feedback;
// every finished gesture becomes one command on the document's undo stack (add, move or
// geometry), and selection gestures change the document's selection. In edit-controls mode a
// dotted frame is drawn around the selected controls, with grips at its corners and on its
// sides that act where they are drawn.
//
// Outside edit-controls mode the page behaves as the panel: the live items take the mouse too
// (buttons run their functions, sliders slide, page-switcher buttons switch pages). In
// edit-controls mode the mouse is the editor's alone and no live item sees any of it.
//
// The owner sets the scene (the document's PagePreviewScene) while a project is open, and calls
// onSelectionChanged() after every selection change. Everything runs on the GUI thread.
class PagePreview : public QGraphicsView
{
    Q_OBJECT

public:
    using ResizeHandle = ControlGestures::ResizeHandle;

    // The editor's actions the view offers in its context menu and triggers with the wheel.
    // Any may be null, and an action deleted later is left out.
    struct Actions
    {
        QAction* createPage = nullptr;
        QAction* duplicatePage = nullptr;
        QAction* editPageSwitcher = nullptr;
        QAction* zoomIn = nullptr;
        QAction* zoomOut = nullptr;
        QAction* copyControls = nullptr;
        QAction* pasteControls = nullptr;
        QAction* deleteSelection = nullptr;
    };

    // Sets the checked state of an add-control tool; unchecking it must disarm the view
    // through onAddControlActionToggled().
    using AddControlToolSetter = std::function<void(Velmora::ControlType, bool)>;

    // The document's selection, undo stack and current page are used; the document must
    // outlive the view.
    explicit PagePreview(VelmoraDocument& document, QWidget* parent = nullptr);

    void setActions(const Actions& actions);
    // Read at each use: whether a tool stays armed after a control is drawn, and the arrow keys'
    // step and jump (with Shift). Without preferences (null) the defaults apply: stays armed,
    // 1 and 10. The preferences must outlive the view or be set again.
    void setPreferences(const Preferences* preferences);
    // Without a setter the view disarms itself after a control, when the tool is not to stay.
    void setAddControlToolSetter(const AddControlToolSetter& setter);

    // The selection frame's grips are drawn in these colours.
    static constexpr QRgb GripFill = 0xFFFFFFFF;
    static constexpr QRgb GripBorder = 0xFF0078D7;

    Velmora::ControlType armedControlType() const { return armedType; }
    bool isEditControlModeEnabled() const { return editControlMode; }

signals:
    // The scene position of a right click while its context menu runs, (0,0) after it.
    void rightClickPosition(const QPoint& position);
    // The standard Copy and Paste keys were pressed in the view's window.
    void copyRequested();
    void pasteRequested();

public slots:
    // In edit-controls mode the frame follows the selection.
    void onSelectionChanged();
    // Moves the selected controls with the arrow keys; any other key, a key while no controls
    // are selected, or a step of 0 leaves the event unaccepted.
    void handleKeyEvent(QKeyEvent* event);
    // A pure scale of the level (1.0 is 100 %).
    void onZoomLevelChanged(qreal level);
    // Arms the type when checked; unchecking any type disarms the view.
    void onAddControlActionToggled(Velmora::ControlType type, bool checked);
    void enableEditControlMode(bool enable);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    PagePreviewScene* previewScene() const;
    // The topmost page, page-switcher or control item at the view position, walking up through
    // parents; null when there is none.
    QGraphicsItem* resolveItem(const QPoint& position) const;
    // As resolveItem, for controls only.
    QGraphicsItem* resolveControlItem(const QPoint& position) const;
    void showRubberBand();
    // Rounded scene position of a view position, and the rounded scene offset of the position
    // from the press.
    QPoint scenePoint(const QPoint& position) const;
    QPoint offsetFromPress(const QPoint& position) const;
    // A grip of the selection frame in edit-controls mode: the square drawn for it (view
    // coordinates), the resize it starts and the cursor that says so.
    struct Grip
    {
        QRect area;
        ResizeHandle handle;
        Qt::CursorShape cursor;
    };
    // The grips of the selected controls' frame; none without one.
    std::vector<Grip> grips() const;
    // The grip at the view position becomes the active one, its cursor shown.
    void updateGrip(const QPoint& position);
    void finishBand(Qt::KeyboardModifiers modifiers);
    // Ends a drag or a resize; true when it changed a geometry.
    bool finishEdit(const QPoint& position);
    void clickSelect(const QPoint& position, Qt::KeyboardModifiers modifiers);
    void createControl(const QRect& geometry);
    // Lets the live surface keep a press that reached it until the release, or takes the rest
    // of the press away from it.
    void holdLiveSurface();
    void releaseLiveSurface();

    VelmoraDocument& document;
    const Preferences* preferences = nullptr;
    AddControlToolSetter addControlToolSetter;
    QPointer<QAction> createPage;
    QPointer<QAction> duplicatePage;
    QPointer<QAction> editPageSwitcher;
    QPointer<QAction> zoomIn;
    QPointer<QAction> zoomOut;
    QPointer<QAction> copyControls;
    QPointer<QAction> pasteControls;
    QPointer<QAction> deleteSelection;

    // View position of the left-button press in progress; (0,0) while none is.
    QPoint pressPosition;
    QRubberBand* rubberBand = nullptr;
    // The press in progress may end in a selection by band.
    bool bandSelecting = false;
    Velmora::ControlType armedType = Velmora::ControlType(0);
    bool editControlMode = false;
    ResizeHandle activeHandle = ControlGestures::NoHandle;
    std::set<unsigned int> dragIds;
    std::set<unsigned int> resizeIds;
};
