#pragma once

#include "containers/smart_ptr.h"
#include "main/velmora_command.h"
#include "velmora_objects/velmora_types.h"

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <list>
#include <map>
#include <set>

namespace Velmora {
class Control;
}

// Per control type, the rectangle of each control to draw, in order.
using ControlGeometryRequest = std::map<Velmora::ControlType, std::list<QRect>>;
// Per control type, a complete project stream of each control to paste, in order.
using ControlStreamRequest = std::map<Velmora::ControlType, std::list<QByteArray>>;

// Adds controls to one page. The first run makes them (ascending control type, then in the
// order of the request) and keeps their ids; every later redo puts the same controls back
// under the same ids. A first run that throws (short of memory for the controls) leaves the
// project as it was. Each run rebuilds the whole preview once, marks the page's thumbnail
// and sends one ControlsAddedEvent (Execution 0 on the first run, 2 after), and undo one
// ControlsRemovedEvent with the ids and the page.
class CreateControlsCommand : public VelmoraCommand
{
public:
    ~CreateControlsCommand() override;

    void redo() override;
    void undo() override;

protected:
    CreateControlsCommand(int commandId, unsigned int pageId, VelmoraDocument& document,
                          QUndoCommand* parent);

    // Makes the controls of the first run, entering each id in `added` as soon as the control
    // is in the project, so that a run that fails half-way can take them out again.
    virtual void createControls(std::set<unsigned int>& added) = 0;
    // Puts the new control on the page.
    void placeOnPage(unsigned int controlId, const QRect& geometry);

    const unsigned int m_pageId;

private:
    // The ids the first run gave; a control is held here only while it is out of the project.
    std::map<unsigned int, smart_ptr<Velmora::Control>> m_created;
    bool m_made = false;
};

// "Add Control(s)": new controls of the given types with their default keys and the theme's
// defaults, at the given rectangles.
class AddControlsCommand : public CreateControlsCommand
{
public:
    AddControlsCommand(const ControlGeometryRequest& request, unsigned int pageId,
                       VelmoraDocument& document, QUndoCommand* parent = nullptr);

protected:
    void createControls(std::set<unsigned int>& added) override;

private:
    const ControlGeometryRequest m_request;
};

// "Paste Control(s)": controls read from their streams, given new default keys and no IR
// slots (the slots stay with the controls they were copied from), moved by the offset onto
// the page.
//
// Only streams that hold a control of their type are taken: the constructor reads each into a
// scratch control and leaves out the ones that fail, so the command never fails while it
// runs. A caller pushes nothing when controlCount() is 0.
class PasteControlsCommand : public CreateControlsCommand
{
public:
    PasteControlsCommand(const ControlStreamRequest& request, const QPoint& offset,
                         unsigned int pageId, VelmoraDocument& document,
                         QUndoCommand* parent = nullptr);

    // The entries of the request whose type is one of the six control types and whose stream
    // opens and reads into a control of that type; their order is kept.
    static ControlStreamRequest validEntries(const ControlStreamRequest& request);

    // The number of controls the command pastes.
    std::size_t controlCount() const;

protected:
    void createControls(std::set<unsigned int>& added) override;

private:
    const ControlStreamRequest m_request;
    const QPoint m_offset;
};

// "Delete Control(s)": takes the controls out of the project and their pages; undo puts each
// back under its id with its IR slots. Sends ControlsRemovedEvent with the ids and the page of
// the last one removed, and on undo ControlsAddedEvent with Execution 1.
class DeleteControlsCommand : public VelmoraCommand
{
public:
    DeleteControlsCommand(const std::set<unsigned int>& controlIds, VelmoraDocument& document,
                          QUndoCommand* parent = nullptr);
    ~DeleteControlsCommand() override;

    void redo() override;
    void undo() override;

private:
    const std::set<unsigned int> m_controlIds;
    std::map<unsigned int, smart_ptr<Velmora::Control>> m_saved;
};
