#include "main/application/editing_operations.h"

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "appengine/wysiwyg_layout.h"
#include "containers/shared_data.h"
#include "main/action_manager.h"
#include "main/control_clipboard.h"
#include "main/control_commands.h"
#include "main/control_property_commands.h"
#include "main/page_commands.h"
#include "main/page_switcher_commands.h"
#include "main/project_settings_commands.h"
#include "main/velmora_command.h"
#include "main/velmora_document.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "widgets/configuration_edit_record.h"
#include "widgets/duplicate_page_dialog.h"
#include "widgets/new_page_wizard.h"
#include "widgets/page_switcher_editor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <climits>
#include <memory>
#include <new>

using namespace Velmora;

EditingOperations::EditingOperations(VelmoraDocument& document, ActionManager& actions,
                                     NewPageData& rememberedPageData, QObject* parent)
    : QObject(parent), document(document), actions(actions), rememberedPageData(rememberedPageData)
{
}

EditingOperations::~EditingOperations() = default;

QUndoStack& EditingOperations::stack() const
{
    return document.undoStack();
}

SelectionManager& EditingOperations::selection() const
{
    return document.selection();
}

unsigned int EditingOperations::currentPage() const
{
    const unsigned int pageId = selection().currentPage();
    return document.pageExists(pageId) ? pageId : UINT_MAX;
}

void EditingOperations::warn(const QString& title, const QString& text) const
{
    QMessageBox::warning(dialogParent, title, text);
}

bool EditingOperations::refuseWhenFull(const QString& title) const
{
    if (document.getPages().size() < Configuration::MaximumPages)
        return false;
    warn(title, tr("The project already has the most pages it can hold (%1).")
                    .arg(Configuration::MaximumPages));
    return true;
}

// Pages ------------------------------------------------------------------------------------

void EditingOperations::createPage()
{
    if (refuseWhenFull(tr("Add Page")) ||
        !NewPageWizard::askNewPage(&document, rememberedPageData, dialogParent))
        return;
    // The template may have left the library while the wizard was open.
    if (!AddPageCommand::layoutAvailable(rememberedPageData)) {
        warn(tr("Add Page"), tr("The page layout \"%1\" is no longer available, so no page was "
                                "added.")
                                 .arg(rememberedPageData.layoutName));
        return;
    }
    CommandGroup group(CommandGroup::Action_ADD_PAGE);
    auto* add = new AddPageCommand(rememberedPageData, document, group.parent());
    const unsigned int switcherId = rememberedPageData.pageSwitcherId;
    if (switcherId != UINT_MAX && document.getPageSwitchers().exists(switcherId) &&
        document.getPageSwitcher(switcherId).getPageIds() != rememberedPageData.pageSwitcherPages) {
        auto* pages = new SetPageSwitcherPagesCommand(
            switcherId, rememberedPageData.pageSwitcherPages, document, group.parent());
        pages->setNewPageId(add->newPageId());
    }
    // The pictures chosen for the page are read into the theme before the page is made.
    try {
        group.push(stack());
    } catch (const std::bad_alloc&) {
        warn(tr("Add Page"), tr("There is not enough memory to add the page."));
    }
}

void EditingOperations::duplicatePage()
{
    duplicate(VelmoraDocument::DuplicateRenamingControls);
}

void EditingOperations::duplicatePageSpecial()
{
    if (currentPage() == UINT_MAX)
        return;
    DuplicatePageDialog dialog;
    if (dialog.exec() == QDialog::Accepted)
        duplicate(dialog.duplicateMode());
}

void EditingOperations::duplicate(int mode)
{
    const unsigned int pageId = currentPage();
    if (pageId == UINT_MAX || refuseWhenFull(tr("Duplicate Page")))
        return;
    CommandGroup group(CommandGroup::Action_DUPLICATE_PAGE);
    auto* add = new AddPageCommand(pageId, mode, document, group.parent());
    const unsigned int switcherId = document.pageSwitcherOfPage(pageId);
    if (switcherId != UINT_MAX) {
        const PageSwitcher& switcher = document.getPageSwitcher(switcherId);
        std::vector<unsigned int> pages = switcher.getPageIds();
        // A full switcher does not take the copy.
        if (int(pages.size()) <
            PageSwitcher::maxPages(switcher.getPosition(), document.getOrientation())) {
            pages.push_back(UINT_MAX);
            auto* setPages =
                new SetPageSwitcherPagesCommand(switcherId, pages, document, group.parent());
            setPages->setNewPageId(add->newPageId());
        }
    }
    group.push(stack());
}

void EditingOperations::deletePage()
{
    if (document.getPages().size() <= 1)
        return;
    const unsigned int defaultPage = document.getDefaultPageId();
    std::vector<unsigned int> pageIds;
    if (selection().kind() == SelectionManager::SelectionKind_PAGES)
        pageIds.assign(selection().begin(), selection().end());
    else
        pageIds.push_back(currentPage());
    CommandGroup group(CommandGroup::Action_REMOVE_PAGE);
    // The default page is never removed.
    for (unsigned int pageId : pageIds)
        if (pageId != defaultPage && document.pageExists(pageId))
            new RemovePageCommand(pageId, document, group.parent());
    group.push(stack());
}

void EditingOperations::raisePage()
{
    const unsigned int pageId = currentPage();
    if (pageId != UINT_MAX && document.hasPreviousPage(pageId))
        stack().push(new RaisePageCommand(pageId, document));
}

void EditingOperations::lowerPage()
{
    const unsigned int pageId = currentPage();
    if (pageId != UINT_MAX && document.hasNextPage(pageId))
        stack().push(new LowerPageCommand(pageId, document));
}

// Page switchers ---------------------------------------------------------------------------

void EditingOperations::editPageSwitcher()
{
    const unsigned int pageId = currentPage();
    if (pageId == UINT_MAX)
        return;
    PageSwitcherEditorDialog dialog(&document, dialogParent);
    const unsigned int shownId = document.pageSwitcherOfPage(pageId);
    if (shownId != UINT_MAX)
        dialog.setEditMode(&document.getPageSwitcher(shownId));
    if (dialog.exec() != QDialog::Accepted)
        return;

    std::vector<unsigned int> pages;
    dialog.pageIds(pages);
    const unsigned int chosenId = dialog.pageSwitcherId();
    SharedData<unsigned int> switcherId(UINT_MAX);
    CommandGroup group(CommandGroup::Action_EDIT_PAGE_SWITCHER);
    if (chosenId == UINT_MAX) {
        new CreatePageSwitcherCommand(switcherId, unsigned(dialog.position()),
                                      unsigned(dialog.alignment()), pages, document,
                                      group.parent());
    } else {
        *switcherId = chosenId;
        if (document.getPageSwitcher(chosenId).getPageIds() != pages)
            new SetPageSwitcherPagesCommand(chosenId, pages, document, group.parent());
    }
    if (chosenId == UINT_MAX || chosenId != shownId)
        new SetPageSwitcherOnPageCommand(pageId, switcherId, document, group.parent());
    group.push(stack());
}

void EditingOperations::removePageSwitcher()
{
    const unsigned int pageId = currentPage();
    if (pageId != UINT_MAX && document.pageSwitcherOfPage(pageId) != UINT_MAX)
        stack().push(new RemovePageSwitcherCommand(pageId, document));
}

// Controls ---------------------------------------------------------------------------------

void EditingOperations::createControl(Velmora::ControlType type, QRect geometry, uint pageId)
{
    if (document.pageExists(pageId) && type >= ControlType_BUTTON && type <= ControlType_CLOCK)
        stack().push(new AddControlsCommand({{type, {geometry}}}, pageId, document));
}

void EditingOperations::moveControls(std::set<uint> controlIds, QPoint deltaPos)
{
    if (!controlIds.empty() && !deltaPos.isNull())
        stack().push(new MoveControlsCommand(controlIds, deltaPos, document));
}

void EditingOperations::setControlGeometry(std::map<uint, QRect> geometries)
{
    if (!geometries.empty())
        stack().push(new SetControlGeometryCommand(geometries, document));
}

std::map<unsigned int, QRect> EditingOperations::selectedGeometries() const
{
    if (selection().kind() != SelectionManager::SelectionKind_CONTROLS)
        return {};
    return document.previewScene()->controlGeometries(selection().selectedIds());
}

void EditingOperations::setChangedGeometries(const std::map<unsigned int, QRect>& geometries)
{
    // Controls that keep their place make no part of the step; nothing at all, no step.
    std::map<unsigned int, QRect> changed;
    for (const auto& [controlId, rectangle] : geometries)
        if (document.getControl(controlId).getGeometry() != rectangle)
            changed[controlId] = rectangle;
    setControlGeometry(changed);
}

void EditingOperations::alignSelectedControls(int alignment)
{
    std::map<unsigned int, QRect> geometries = selectedGeometries();
    alignRects(geometries, alignment);
    setChangedGeometries(geometries);
}

void EditingOperations::layoutSelectedControls(WysiwygLayout* layout)
{
    if (!layout)
        return;
    layout->rects = selectedGeometries();
    if (layout->rects.empty())
        return;
    layout->apply();
    setChangedGeometries(layout->rects);
}

void EditingOperations::selectAllControls()
{
    const unsigned int pageId = currentPage();
    if (pageId != UINT_MAX)
        selection().selectControls(document.getPage(pageId).getControlIds(), true);
}

void EditingOperations::deleteSelectedControls()
{
    if (selection().kind() == SelectionManager::SelectionKind_CONTROLS)
        stack().push(new DeleteControlsCommand(selection().selectedIds(), document));
}

void EditingOperations::deleteSelection()
{
    switch (selection().kind()) {
    case SelectionManager::SelectionKind_PAGE_SWITCHERS:
        removePageSwitcher();
        break;
    case SelectionManager::SelectionKind_CONTROLS:
        deleteSelectedControls();
        break;
    default:
        deletePage();
        break;
    }
}

// Theme and project ------------------------------------------------------------------------

void EditingOperations::applyThemeEdits(const Velmora::Theme* theme)
{
    if (theme)
        stack().push(new SetThemeCommand(theme, document));
}

void EditingOperations::setProjectProperties(const ConfigurationEditRecord& record)
{
    QString reason;
    if (pushProjectProperties(record, document, &reason) ==
        ProjectPropertiesResult::ThemeUnreadable)
        warn(tr("Project Properties"),
             tr("The theme file \"%1\" could not be read, so the project properties were not "
                "changed.\n%2")
                 .arg(record.theme, reason));
}

// Clipboard --------------------------------------------------------------------------------

void EditingOperations::copySelectedControls()
{
    if (selection().kind() != SelectionManager::SelectionKind_CONTROLS)
        return;
    auto* data = new QMimeData;
    data->setData(ControlClipboard::MimeType,
                  ControlClipboard::encode(document, selection().selectedIds()));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

void EditingOperations::setPasteControlOffset(QPoint position)
{
    m_pasteOffset = position;
}

void EditingOperations::pasteControls()
{
    // Every way of pasting (menus, tool bar, keys, the page view's context menu) ends here and
    // is told the same about what could not be pasted. Without controls of any kind on the
    // clipboard there is nothing to say (Paste is disabled then).
    const unsigned int pageId = currentPage();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (pageId == UINT_MAX || !data || !data->hasFormat(ControlClipboard::MimeType))
        return;
    const QString title = tr("Paste Controls");
    // A payload there is not the memory to read, or to make into controls, pastes nothing: the
    // command that failed on its first run left the project as it was and was never pushed, and
    // what the reading took is free again by the time the message is shown.
    std::optional<ControlClipboard::Contents> contents;
    try {
        contents = pasteFrom(*data, pageId);
    } catch (const std::bad_alloc&) {
        warn(title, tr("There is not enough memory to paste the controls on the clipboard."));
        return;
    }
    if (!contents || (contents->controlCount() == 0 && contents->beyondLimit == 0)) {
        warn(title, tr("The clipboard holds no controls that can be pasted."));
        return;
    }
    QStringList leftOut;
    if (contents->refused > 0)
        leftOut << tr("%1 of the controls on the clipboard could not be read and were left out.")
                       .arg(contents->refused);
    if (contents->beyondLimit > 0)
        leftOut << tr("A project holds at most %1 controls, so %2 of the controls on the "
                      "clipboard were left out.")
                       .arg(Configuration::MaximumControls)
                       .arg(contents->beyondLimit);
    if (!leftOut.isEmpty())
        warn(title, leftOut.join(QLatin1Char('\n')));
}

std::optional<ControlClipboard::Contents> EditingOperations::pasteFrom(const QMimeData& data,
                                                                       unsigned int pageId)
{
    // Entries beyond the room the project has left are not even read.
    const std::size_t room = Configuration::MaximumControls - document.getControls().size();
    std::optional<ControlClipboard::Contents> contents =
        ControlClipboard::decode(data.data(ControlClipboard::MimeType), room);
    if (!contents || contents->controlCount() == 0)
        return contents;
    // Without a right click in the page view the controls keep their places; after one, the
    // copied group's top-left corner goes to the last right-click position.
    const QRect& bounds = contents->bounds;
    const QPoint offset =
        m_pasteOffset.isNull()
            ? QPoint()
            : ControlGeometry::limitedOffset(bounds, qint64(m_pasteOffset.x()) - bounds.left(),
                                             qint64(m_pasteOffset.y()) - bounds.top());
    auto command =
        std::make_unique<PasteControlsCommand>(contents->controls, offset, pageId, document);
    // The stack takes the command only once its first run went through.
    stack().push(command.get());
    command.release();
    return contents;
}

void EditingOperations::onClipboardChanged()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    actions.action(ActionManager::ActionId_PASTE_CONTROLS)
        ->setEnabled(actions.hasDocument() && data && data->hasFormat(ControlClipboard::MimeType));
}
