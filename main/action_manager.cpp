#include "main/action_manager.h"

#include "appengine/selection_manager.h"
#include "appengine/wysiwyg_layout.h"
#include "main/shell_resources.h"
#include "main/velmora_document.h"
#include "main/vendor_variants.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <climits>

namespace {

constexpr unsigned int MinimumZoom = 100;
constexpr unsigned int MaximumZoom = 400;
constexpr unsigned int ZoomStep = 50;

// What an action is made of, in id order. Texts are translated when the action is built;
// a null tool tip takes the text, a null icon name gives no icon.
struct ActionRow
{
    const char* text;
    const char* toolTip;
    const char* icon;
    QKeySequence::StandardKey shortcut;
};

constexpr QKeySequence::StandardKey NoKey = QKeySequence::UnknownKey;

const ActionRow actionRows[ActionManager::ActionCount] = {
    {QT_TRANSLATE_NOOP("ActionManager", "New"), nullptr, "new_document", QKeySequence::New},
    {QT_TRANSLATE_NOOP("ActionManager", "Open..."), nullptr, "open_document", QKeySequence::Open},
    {QT_TRANSLATE_NOOP("ActionManager", "Open Recent"),
     QT_TRANSLATE_NOOP("ActionManager", "Open..."), "open_document", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Save"), nullptr, "save_document", QKeySequence::Save},
    {QT_TRANSLATE_NOOP("ActionManager", "Save As..."), nullptr, "save_document_as",
     QKeySequence::SaveAs},
    {QT_TRANSLATE_NOOP("ActionManager", "Save As (Minimal)..."), nullptr, nullptr, NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Create Page"), nullptr, "new_page", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Duplicate Page"), nullptr, "copy", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Duplicate Page (Advanced)"), nullptr, "copy", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Raise Page"), nullptr, "up_arrow", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Lower Page"), nullptr, "down_arrow", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Edit Page Switcher"), nullptr, "edit_page_switcher",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Zoom In"), nullptr, "zoom_in", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Zoom Out"), nullptr, "zoom_out", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Theme Editor"), nullptr, "paintbrush", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Project Properties"), nullptr, "config_properties", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Preferences"), nullptr, "preferences", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Help"), nullptr, "help", QKeySequence::HelpContents},
    {QT_TRANSLATE_NOOP("ActionManager", "About"), nullptr, "about", NoKey},
    // The tool tip names the product; it is filled in when the action is built.
    {QT_TRANSLATE_NOOP("ActionManager", "Software Update"),
     QT_TRANSLATE_NOOP("ActionManager", "A newer version of %1 is available"), "important", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Add Button"),
     QT_TRANSLATE_NOOP("ActionManager", "Draw a new button on the current page"), "add_button",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Add Slider"),
     QT_TRANSLATE_NOOP("ActionManager", "Draw a new slider on the current page"), "add_slider",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Add Colour Picker"),
     QT_TRANSLATE_NOOP("ActionManager", "Draw a new colour picker on the current page"),
     "add_colour_picker", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Add Label"),
     QT_TRANSLATE_NOOP("ActionManager", "Draw a new label on the current page"), "add_label",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Add Keypad"),
     QT_TRANSLATE_NOOP("ActionManager", "Draw a new keypad on the current page"), "add_keypad",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Add Clock"),
     QT_TRANSLATE_NOOP("ActionManager", "Draw a new clock on the current page"), "add_clock",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Align Left"),
     QT_TRANSLATE_NOOP("ActionManager", "Align selected controls to the left"), "align_left",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Align Right"),
     QT_TRANSLATE_NOOP("ActionManager", "Align selected controls to the right"), "align_right",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Align Top"),
     QT_TRANSLATE_NOOP("ActionManager", "Align selected controls to the top"), "align_top", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Align Bottom"),
     QT_TRANSLATE_NOOP("ActionManager", "Align selected controls to the bottom"), "align_bottom",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Align V Middle"),
     QT_TRANSLATE_NOOP("ActionManager", "Align selected controls to the middle in a vertical line"),
     "align_v_middle", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Align H Middle"),
     QT_TRANSLATE_NOOP("ActionManager",
                       "Align selected controls to the middle in a horizontal line"),
     "align_h_middle", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Layout Horizontally"),
     QT_TRANSLATE_NOOP("ActionManager", "Layout selected controls horizontally"),
     "layout_horizontal", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Layout Vertically"),
     QT_TRANSLATE_NOOP("ActionManager", "Layout selected controls vertically"), "layout_vertical",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Layout Grid"),
     QT_TRANSLATE_NOOP("ActionManager", "Layout selected controls in a grid"), "layout_grid",
     NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Edit Controls"),
     QT_TRANSLATE_NOOP("ActionManager", "Move and resize controls"), "edit_controls", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Copy Controls"),
     QT_TRANSLATE_NOOP("ActionManager", "Copy the selected controls"), "copy_controls", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Paste Controls"),
     QT_TRANSLATE_NOOP("ActionManager", "Paste controls"), "paste_controls", NoKey},
    {QT_TRANSLATE_NOOP("ActionManager", "Delete"),
     QT_TRANSLATE_NOOP("ActionManager", "Delete selected items"), "delete", QKeySequence::Delete},
};

// The control type each drawing tool draws; Label comes before Keypad in id order.
const Velmora::ControlType addControlTypes[] = {
    Velmora::ControlType_BUTTON, Velmora::ControlType_SLIDER, Velmora::ControlType_COLOUR_PICKER,
    Velmora::ControlType_LABEL,  Velmora::ControlType_KEYPAD, Velmora::ControlType_CLOCK};

// The arrangements of the layout actions. The actions carry them as untyped pointers; the
// creators have no state, so handing them out without const changes nothing.
WysiwygLayoutCreator* const layoutCreators[] = {
    const_cast<ConcreteWysiwygLayoutCreator<HorizontalWysiwygLayout>*>(&horizontalLayoutCreator),
    const_cast<ConcreteWysiwygLayoutCreator<VerticalWysiwygLayout>*>(&verticalLayoutCreator),
    const_cast<ConcreteWysiwygLayoutCreator<GridWysiwygLayout>*>(&gridLayoutCreator)};

// The actions that only an open project allows. The page actions that follow the selection,
// paste (which follows the clipboard) and zoom are handled apart.
const ActionManager::ActionId projectActions[] = {ActionManager::ActionId_SAVE_AS,
                                                  ActionManager::ActionId_SAVE_AS_MINIMAL,
                                                  ActionManager::ActionId_CREATE_PAGE,
                                                  ActionManager::ActionId_PAGE_SWITCHER,
                                                  ActionManager::ActionId_THEME_EDITOR,
                                                  ActionManager::ActionId_PROJECT_PROPERTIES,
                                                  ActionManager::ActionId_ADD_BUTTON,
                                                  ActionManager::ActionId_ADD_SLIDER,
                                                  ActionManager::ActionId_ADD_COLOUR_PICKER,
                                                  ActionManager::ActionId_ADD_LABEL,
                                                  ActionManager::ActionId_ADD_KEYPAD,
                                                  ActionManager::ActionId_ADD_CLOCK,
                                                  ActionManager::ActionId_EDIT_CONTROLS,
                                                  ActionManager::ActionId_COPY_CONTROLS,
                                                  ActionManager::ActionId_DELETE};

bool isAddControl(int id)
{
    return id >= ActionManager::ActionId_ADD_BUTTON && id <= ActionManager::ActionId_ADD_CLOCK;
}
bool isAlign(int id)
{
    return id >= ActionManager::ActionId_ALIGN_LEFT && id <= ActionManager::ActionId_ALIGN_H_MIDDLE;
}
bool isLayout(int id)
{
    return id >= ActionManager::ActionId_LAYOUT_HORIZONTAL &&
           id <= ActionManager::ActionId_LAYOUT_GRID;
}

} // namespace

ActionManager::ActionManager(QObject* parent) : QObject(parent)
{
    // The icons, and the splash screen that the application shows next.
    loadShellResources();
    for (int index = 0; index < ActionCount; ++index) {
        const ActionId id = ActionId(index);
        const ActionRow& row = actionRows[index];
        auto* action = new QAction(this);
        if (row.shortcut != NoKey)
            action->setShortcut(QKeySequence(row.shortcut));
        const QString text = tr(row.text);
        action->setText(text);
        QString toolTip = row.toolTip ? tr(row.toolTip) : text;
        if (id == ActionId_SOFTWARE_UPDATE)
            toolTip = toolTip.arg(VendorVariants::instance().fullName);
        action->setToolTip(toolTip);
        if (isAddControl(id)) {
            action->setData(int(addControlTypes[id - ActionId_ADD_BUTTON]));
            action->setCheckable(true);
        } else if (isAlign(id)) {
            action->setData(int(id - ActionId_ALIGN_LEFT));
        } else if (isLayout(id)) {
            action->setData(
                QVariant::fromValue<void*>(layoutCreators[id - ActionId_LAYOUT_HORIZONTAL]));
        } else if (id == ActionId_EDIT_CONTROLS) {
            action->setCheckable(true);
        }
        if (row.icon)
            action->setIcon(QIcon(QStringLiteral(":/icons/22x22/%1.png").arg(row.icon)));
        action->setEnabled(!isAlign(id) && !isLayout(id));
        action->setVisible(id != ActionId_SOFTWARE_UPDATE);

        m_actions[id] = action;
        if (isAddControl(id)) {
            m_addControlActions[addControlTypes[id - ActionId_ADD_BUTTON]] = action;
            connect(action, &QAction::toggled, this, &ActionManager::onAddControlActionToggled);
        } else if (isAlign(id)) {
            connect(action, &QAction::triggered, this, &ActionManager::onAlignActionTriggered);
        } else if (isLayout(id)) {
            connect(action, &QAction::triggered, this, &ActionManager::onLayoutActionTriggered);
        } else if (id == ActionId_ZOOM_IN) {
            connect(action, &QAction::triggered, this, &ActionManager::zoomIn);
        } else if (id == ActionId_ZOOM_OUT) {
            connect(action, &QAction::triggered, this, &ActionManager::zoomOut);
        } else if (id == ActionId_EDIT_CONTROLS) {
            connect(action, &QAction::toggled, this, &ActionManager::onEditControlActionToggled);
        }
    }
}

QAction* ActionManager::action(ActionId id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void ActionManager::enable(std::initializer_list<ActionId> ids, bool enabled)
{
    for (ActionId id : ids)
        m_actions.at(id)->setEnabled(enabled);
}

void ActionManager::onDocumentOpened()
{
    m_hasDocument = true;
    enable({ActionId_NEW, ActionId_OPEN}, true);
    enable({ActionId_SAVE}, m_isModified && m_isModified());
    for (ActionId id : projectActions)
        m_actions.at(id)->setEnabled(true);
    updateZoomActions();
    onSelectionChanged();
}

void ActionManager::onDocumentClosed()
{
    m_hasDocument = false;
    // The check states of the drawing tools and of "Edit Controls" stay: the page view keeps
    // its tool for the next project.
    enable({ActionId_SAVE, ActionId_DUPLICATE_PAGE, ActionId_RAISE_PAGE, ActionId_LOWER_PAGE,
            ActionId_PASTE_CONTROLS},
           false);
    for (ActionId id : projectActions)
        m_actions.at(id)->setEnabled(false);
    updateZoomActions();
}

void ActionManager::onSelectionChanged()
{
    const SelectionManager* selection = m_document ? &m_document->selection() : nullptr;
    const SelectionManager::SelectionKind kind =
        selection ? selection->kind() : SelectionManager::SelectionKind_NONE;
    const std::size_t count = selection ? selection->size() : 0;

    // Page operations work on one page; a selection of another kind leaves them as they were,
    // so that the page last selected can still be duplicated or moved.
    if (kind == SelectionManager::SelectionKind_PAGES)
        enable({ActionId_DUPLICATE_PAGE, ActionId_RAISE_PAGE, ActionId_LOWER_PAGE}, count < 2);

    updatePageSwitcherAction();

    const bool controls = kind == SelectionManager::SelectionKind_CONTROLS;
    enable({ActionId_ALIGN_LEFT, ActionId_ALIGN_RIGHT, ActionId_ALIGN_TOP, ActionId_ALIGN_BOTTOM,
            ActionId_ALIGN_V_MIDDLE, ActionId_ALIGN_H_MIDDLE, ActionId_LAYOUT_HORIZONTAL,
            ActionId_LAYOUT_VERTICAL, ActionId_LAYOUT_GRID, ActionId_COPY_CONTROLS},
           controls);
    m_actions.at(ActionId_COPY_CONTROLS)
        ->setText(controls && count == 1 ? tr("Copy Control") : tr("Copy Controls"));

    updateDeleteAction();
}

void ActionManager::updatePageSwitcherAction()
{
    unsigned int pageSwitcherId = UINT_MAX;
    if (m_document) {
        // A current page that has already left the project shows nothing.
        const unsigned int pageId = m_document->selection().currentPage();
        if (m_document->pageExists(pageId))
            pageSwitcherId = m_document->pageSwitcherOfPage(pageId);
    }
    const QString text =
        pageSwitcherId == UINT_MAX ? tr("Add Page Switcher") : tr("Edit Page Switcher");
    QAction* action = m_actions.at(ActionId_PAGE_SWITCHER);
    action->setText(text);
    action->setToolTip(text);
}

void ActionManager::updateDeleteAction()
{
    bool enabled = false;
    if (m_document) {
        const SelectionManager& selection = m_document->selection();
        const SelectionManager::SelectionKind kind = selection.kind();
        const unsigned int defaultPage = m_document->getDefaultPageId();
        enabled = kind == SelectionManager::SelectionKind_CONTROLS ||
                  kind == SelectionManager::SelectionKind_PAGE_SWITCHERS ||
                  (m_document->getPages().size() > 1 && !selection.isPageSelected(defaultPage) &&
                   selection.currentPage() != defaultPage);
    }
    m_actions.at(ActionId_DELETE)->setEnabled(enabled);
}

void ActionManager::onUndoStateChanged(bool clean)
{
    m_actions.at(ActionId_SAVE)->setEnabled(!clean);
}

void ActionManager::updateZoomActions()
{
    m_actions.at(ActionId_ZOOM_OUT)->setEnabled(m_hasDocument && m_zoomLevel > MinimumZoom);
    m_actions.at(ActionId_ZOOM_IN)->setEnabled(m_hasDocument && m_zoomLevel < MaximumZoom);
}

void ActionManager::zoomIn()
{
    if (m_zoomLevel >= MaximumZoom)
        return;
    m_zoomLevel += ZoomStep;
    updateZoomActions();
    emit zoomLevelChanged(m_zoomLevel / 100.0);
}

void ActionManager::zoomOut()
{
    if (m_zoomLevel <= MinimumZoom)
        return;
    m_zoomLevel -= ZoomStep;
    updateZoomActions();
    emit zoomLevelChanged(m_zoomLevel / 100.0);
}

void ActionManager::setAddControlActionChecked(Velmora::ControlType type, bool checked)
{
    const auto found = m_addControlActions.find(type);
    if (found != m_addControlActions.end())
        found->second->setChecked(checked);
}

void ActionManager::uncheckAddControlActions(const QAction* except)
{
    // Each uncheck sends that tool's own disarm signal, re-entrantly, before the next.
    for (const auto& [type, action] : m_addControlActions)
        if (action != except && action->isChecked())
            action->setChecked(false);
}

void ActionManager::onAddControlActionToggled(bool checked)
{
    QAction* editControls = m_actions.at(ActionId_EDIT_CONTROLS);
    if (checked && editControls->isChecked())
        editControls->setChecked(false);
    auto* tool = qobject_cast<QAction*>(sender());
    if (!tool)
        return;
    // The old tool is disarmed before the new one is armed.
    if (checked)
        uncheckAddControlActions(tool);
    emit addControlActionToggled(Velmora::ControlType(tool->data().toInt()), checked);
}

void ActionManager::onEditControlActionToggled(bool checked)
{
    if (checked)
        uncheckAddControlActions(nullptr);
}

void ActionManager::uncheckAllControlEditActions()
{
    uncheckAddControlActions(nullptr);
    QAction* editControls = m_actions.at(ActionId_EDIT_CONTROLS);
    if (editControls->isChecked())
        editControls->setChecked(false);
}

void ActionManager::onAlignActionTriggered()
{
    if (auto* action = qobject_cast<QAction*>(sender()))
        emit alignActionTriggered(action->data().toInt());
}

void ActionManager::onLayoutActionTriggered()
{
    if (auto* action = qobject_cast<QAction*>(sender()))
        emit layoutActionTriggered(
            static_cast<WysiwygLayoutCreator*>(action->data().value<void*>()));
}
