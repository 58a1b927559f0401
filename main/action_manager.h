#pragma once

#include "velmora_objects/velmora_types.h"

#include <QObject>
#include <functional>
#include <map>

class QAction;
class VelmoraDocument;
class WysiwygLayoutCreator;

// The numbered actions of the editor's menus, tool bars, context menus and shortcuts. The set
// creates all of them with their texts, tool tips, icons, shortcuts and data; enables them from
// the document state, the selection and the undo state; keeps the page view's zoom level; keeps
// the six add-control drawing tools and "Edit Controls" mutually exclusive; and turns the align
// and layout actions into typed signals. The application and the main window connect the
// remaining actions to their own slots; nothing else creates, deletes or renumbers them.
//
// Everything runs on the GUI thread; the signals reach their receivers synchronously.
class ActionManager : public QObject
{
    Q_OBJECT

public:
    // The numbers are fixed: menus, tool bars and context menus refer to actions by them. Any
    // int is a value of the type, so that action() can answer a number from outside.
    enum ActionId : int
    {
        ActionId_NEW = 0,
        ActionId_OPEN = 1,
        ActionId_OPEN_RECENT = 2,
        ActionId_SAVE = 3,
        ActionId_SAVE_AS = 4,
        ActionId_SAVE_AS_MINIMAL = 5,
        ActionId_CREATE_PAGE = 6,
        ActionId_DUPLICATE_PAGE = 7,
        ActionId_DUPLICATE_PAGE_ADVANCED = 8,
        ActionId_RAISE_PAGE = 9,
        ActionId_LOWER_PAGE = 10,
        ActionId_PAGE_SWITCHER = 11,
        ActionId_ZOOM_IN = 12,
        ActionId_ZOOM_OUT = 13,
        ActionId_THEME_EDITOR = 14,
        ActionId_PROJECT_PROPERTIES = 15,
        ActionId_PREFERENCES = 16,
        ActionId_HELP = 17,
        ActionId_ABOUT = 18,
        ActionId_SOFTWARE_UPDATE = 19,
        ActionId_ADD_BUTTON = 20,
        ActionId_ADD_SLIDER = 21,
        ActionId_ADD_COLOUR_PICKER = 22,
        ActionId_ADD_LABEL = 23,
        ActionId_ADD_KEYPAD = 24,
        ActionId_ADD_CLOCK = 25,
        ActionId_ALIGN_LEFT = 26,
        ActionId_ALIGN_RIGHT = 27,
        ActionId_ALIGN_TOP = 28,
        ActionId_ALIGN_BOTTOM = 29,
        ActionId_ALIGN_V_MIDDLE = 30,
        ActionId_ALIGN_H_MIDDLE = 31,
        ActionId_LAYOUT_HORIZONTAL = 32,
        ActionId_LAYOUT_VERTICAL = 33,
        ActionId_LAYOUT_GRID = 34,
        ActionId_EDIT_CONTROLS = 35,
        ActionId_COPY_CONTROLS = 36,
        ActionId_PASTE_CONTROLS = 37,
        ActionId_DELETE = 38
    };
    Q_ENUM(ActionId)
    static constexpr int ActionCount = 39;

    // Builds all actions. Every action is enabled except the align and layout actions, and
    // "Software Update" is hidden until the application learns of a newer release.
    explicit ActionManager(QObject* parent = nullptr);

    // The action with that id; null for an id outside 0 to 38.
    QAction* action(ActionId id) const;

    // The open project, whose selection the selection rules read. Without one the selection
    // counts as empty and the project as having no pages.
    void setDocument(const VelmoraDocument* document) { m_document = document; }
    // Answers whether the project has changes to save (the undo group is not clean, or the
    // project was never saved); read when a project is opened. Without one: not modified.
    void setModifiedQuery(std::function<bool()> isModified)
    {
        m_isModified = std::move(isModified);
    }

    unsigned int zoomLevel() const { return m_zoomLevel; }
    bool hasDocument() const { return m_hasDocument; }

    // "Add Page Switcher" or "Edit Page Switcher", after whether the current page shows one.
    void updatePageSwitcherAction();
    // "Delete" is always available for controls and page switchers; for pages, or nothing,
    // only while the project keeps a page to show: it has several, and neither the selection
    // nor the current page is the default page.
    void updateDeleteAction();
    // Checks or unchecks the drawing tool of that type, with the usual signals.
    void setAddControlActionChecked(Velmora::ControlType type, bool checked);

public slots:
    void onDocumentOpened();
    void onDocumentClosed();
    void onSelectionChanged();
    void onUndoStateChanged(bool clean);
    void zoomIn();
    void zoomOut();
    void onAddControlActionToggled(bool checked);
    void onEditControlActionToggled(bool checked);
    void uncheckAllControlEditActions();
    void onAlignActionTriggered();
    void onLayoutActionTriggered();

signals:
    // The zoom as a factor, 1.0 to 4.0.
    void zoomLevelChanged(qreal factor);
    // A drawing tool was armed (true) or disarmed (false). When the user switches tools, the
    // old tool's disarm comes before the new tool's arm.
    void addControlActionToggled(Velmora::ControlType type, bool checked);
    // The alignment mode 0 to 5 of the align action triggered.
    void alignActionTriggered(int alignment);
    // The creator of the arrangement chosen; it lives for the whole run.
    void layoutActionTriggered(WysiwygLayoutCreator* creator);

private:
    void enable(std::initializer_list<ActionId> ids, bool enabled);
    void updateZoomActions();
    void uncheckAddControlActions(const QAction* except);

    std::map<ActionId, QAction*> m_actions;
    bool m_hasDocument = false;
    unsigned int m_zoomLevel = 100;
    // The drawing tools by the control type they draw, walked in ascending type order.
    std::map<Velmora::ControlType, QAction*> m_addControlActions;
    const VelmoraDocument* m_document = nullptr;
    std::function<bool()> m_isModified;
};
