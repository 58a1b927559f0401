#include "main/control_commands.h"

#include "appengine/page_preview_scene.h"
#include "main/control_clipboard.h"
#include "main/velmora_document.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/streamer.h"

#include <climits>

using namespace Velmora;

namespace {

// One control of one type and one entry means the singular undo text.
template <class Request> bool namesOneControl(const Request& request)
{
    return request.size() == 1 && request.begin()->second.size() == 1;
}

void readControl(Control& control, QByteArray bytes)
{
    Streamer streamer;
    streamer.open(Streamer::Mode_READ, &bytes);
    control.read(streamer);
    streamer.close();
}

} // namespace

CreateControlsCommand::CreateControlsCommand(int commandId, unsigned int pageId,
                                             VelmoraDocument& document, QUndoCommand* parent)
    : VelmoraCommand(commandId, document, parent), m_pageId(pageId)
{
}

CreateControlsCommand::~CreateControlsCommand() = default;

void CreateControlsCommand::placeOnPage(unsigned int controlId, const QRect& geometry)
{
    Control& control = document().getControl(controlId);
    control.setGeometry(ControlGeometry::limited(geometry));
    control.setPageId(m_pageId);
    document().getPage(m_pageId).getControlIds().insert(controlId);
}

void CreateControlsCommand::redo()
{
    VelmoraDocument& doc = document();
    std::set<unsigned int> added;
    Execution execution = Execution_REDO;
    if (!m_made) {
        try {
            createControls(added);
            for (unsigned int controlId : added)
                m_created[controlId];
        } catch (...) {
            // The push that runs the command fails with it: nothing of it may stay behind.
            m_created.clear();
            for (unsigned int controlId : added) {
                doc.getPage(m_pageId).removeControl(controlId);
                doc.removeControl(controlId);
            }
            throw;
        }
        m_made = true;
        execution = Execution_FIRST_RUN;
    } else {
        Page& page = doc.getPage(m_pageId);
        for (auto& [controlId, control] : m_created) {
            doc.registerControlIRSlots(control, controlId);
            page.getControlIds().insert(controlId);
            added.insert(controlId);
        }
    }
    doc.previewScene()->rebuildItems();
    doc.invalidatePageThumbnail(m_pageId);
    ControlsAddedEvent event(added, execution);
    send(event);
}

void CreateControlsCommand::undo()
{
    VelmoraDocument& doc = document();
    Page& page = doc.getPage(m_pageId);
    std::set<unsigned int> removed;
    for (auto& [controlId, control] : m_created) {
        page.removeControl(controlId);
        control = doc.removeControl(controlId);
        removed.insert(controlId);
    }
    doc.previewScene()->rebuildItems();
    doc.invalidatePageThumbnail(m_pageId);
    ControlsRemovedEvent event(removed, m_pageId);
    send(event);
}

AddControlsCommand::AddControlsCommand(const ControlGeometryRequest& request, unsigned int pageId,
                                       VelmoraDocument& document, QUndoCommand* parent)
    : CreateControlsCommand(CommandId_ADD_CONTROLS, pageId, document, parent), m_request(request)
{
    setText(commandText(CommandId_ADD_CONTROLS, !namesOneControl(m_request)));
}

void AddControlsCommand::createControls(std::set<unsigned int>& added)
{
    for (const auto& [type, rectangles] : m_request) {
        for (const QRect& rectangle : rectangles) {
            const unsigned int controlId = document().addControl(type);
            // A full project takes no more controls.
            if (controlId == UINT_MAX)
                return;
            added.insert(controlId);
            placeOnPage(controlId, rectangle);
        }
    }
}

PasteControlsCommand::PasteControlsCommand(const ControlStreamRequest& request,
                                           const QPoint& offset, unsigned int pageId,
                                           VelmoraDocument& document, QUndoCommand* parent)
    : CreateControlsCommand(CommandId_PASTE_CONTROLS, pageId, document, parent),
      m_request(validEntries(request)), m_offset(offset)
{
    setText(commandText(CommandId_PASTE_CONTROLS, !namesOneControl(m_request)));
}

ControlStreamRequest PasteControlsCommand::validEntries(const ControlStreamRequest& request)
{
    ControlStreamRequest valid;
    for (const auto& [type, streams] : request)
        for (const QByteArray& bytes : streams)
            if (ControlClipboard::isReadableControl(type, bytes))
                valid[type].push_back(bytes);
    return valid;
}

std::size_t PasteControlsCommand::controlCount() const
{
    std::size_t count = 0;
    for (const auto& entry : m_request)
        count += entry.second.size();
    return count;
}

void PasteControlsCommand::createControls(std::set<unsigned int>& added)
{
    VelmoraDocument& doc = document();
    for (const auto& [type, streams] : m_request) {
        for (const QByteArray& bytes : streams) {
            const unsigned int controlId = doc.addControl(type);
            if (controlId == UINT_MAX)
                return;
            added.insert(controlId);
            Control& control = doc.getControl(controlId);
            const QString key = control.getName();
            // The streams were read once already, so this cannot fail.
            readControl(control, bytes);
            control.setName(key);
            // The slots belong to the control that was copied; a paste has none, as a clone.
            for (Action action : {Action_CLICK, Action_INCREMENT, Action_DECREMENT})
                control.setIRSlotId(action, NoIRSlot);
            placeOnPage(controlId, ControlGeometry::moved(control.getGeometry(), m_offset));
        }
    }
}

DeleteControlsCommand::DeleteControlsCommand(const std::set<unsigned int>& controlIds,
                                             VelmoraDocument& document, QUndoCommand* parent)
    : VelmoraCommand(CommandId_DELETE_CONTROLS, document, parent), m_controlIds(controlIds)
{
    setText(controlCountText(CommandId_DELETE_CONTROLS, m_controlIds.size()));
}

DeleteControlsCommand::~DeleteControlsCommand() = default;

void DeleteControlsCommand::redo()
{
    VelmoraDocument& doc = document();
    unsigned int pageId = UINT_MAX;
    for (unsigned int controlId : m_controlIds) {
        smart_ptr<Control> control = doc.removeControl(controlId);
        pageId = control->getPageId();
        doc.getPage(pageId).removeControl(controlId);
        m_saved[controlId] = control;
        doc.invalidatePageThumbnail(pageId);
    }
    doc.previewScene()->rebuildItems();
    ControlsRemovedEvent event(m_controlIds, pageId);
    send(event);
}

void DeleteControlsCommand::undo()
{
    VelmoraDocument& doc = document();
    for (auto& [controlId, control] : m_saved) {
        const unsigned int pageId = control->getPageId();
        doc.registerControlIRSlots(control, controlId);
        doc.getPage(pageId).getControlIds().insert(controlId);
        doc.invalidatePageThumbnail(pageId);
    }
    m_saved.clear();
    doc.previewScene()->rebuildItems();
    ControlsAddedEvent event(m_controlIds, Execution_UNDO);
    send(event);
}
