#include "gui/gradient_editor_commands.h"

#include "gui/gradient_editor.h"

#include <QObject>
#include <algorithm>

GradientEditorCommand::GradientEditorCommand(GradientEditor* editor, GradientEditorStops& stops,
                                             QUndoCommand* parent)
    : QUndoCommand(parent), stops(stops), editor(editor)
{
}

void GradientEditorCommand::updateEditor()
{
    if (editor)
        editor->stopsChanged();
}

AddStopCommand::AddStopCommand(GradientEditor* editor, GradientEditorStops& stops, double position,
                               GradientAddStopBehaviour behaviour, QUndoCommand* parent)
    : GradientEditorCommand(editor, stops, parent), position(position), behaviour(behaviour)
{
    setText(QObject::tr("Add Gradient Stop"));
}

void AddStopCommand::redo()
{
    if (id == UINT_MAX)
        id = stops.addStop(position, behaviour);
    else
        stops.insertStop(id, saved);
    updateEditor();
}

void AddStopCommand::undo()
{
    saved = stops.removeStop(id);
    updateEditor();
}

RemoveStopCommand::RemoveStopCommand(GradientEditor* editor, GradientEditorStops& stops,
                                     unsigned int id, QUndoCommand* parent)
    : GradientEditorCommand(editor, stops, parent), id(id)
{
    setText(QObject::tr("Remove Gradient Stop"));
}

void RemoveStopCommand::redo()
{
    saved = stops.removeStop(id);
    updateEditor();
}

void RemoveStopCommand::undo()
{
    stops.insertStop(id, saved);
    updateEditor();
}

MoveStopCommand::MoveStopCommand(GradientEditor* editor, GradientEditorStops& stops,
                                 unsigned int id, double position, QUndoCommand* parent)
    : GradientEditorCommand(editor, stops, parent), stopId(id), position(position)
{
    setText(QObject::tr("Move Gradient Stop"));
}

void MoveStopCommand::swap()
{
    position = stops.setStopPosition(stopId, position);
    updateEditor();
}

void MoveStopCommand::redo()
{
    swap();
}

void MoveStopCommand::undo()
{
    swap();
}

bool MoveStopCommand::mergeWith(const QUndoCommand* other)
{
    // The newer move has run already; this command keeps the position before the first move.
    return other->id() == 0 && static_cast<const MoveStopCommand*>(other)->stopId == stopId;
}

SetStopColourCommand::SetStopColourCommand(GradientEditor* editor, GradientEditorStops& stops,
                                           const std::set<unsigned int>& ids, const QColor& colour,
                                           QUndoCommand* parent)
    : GradientEditorCommand(editor, stops, parent)
{
    setText(QObject::tr("Set Gradient Stop Colour"));
    for (const unsigned int id : ids)
        colours[id] = colour;
}

void SetStopColourCommand::updateEditor()
{
    if (editor)
        emit editor->stopColourChanged(stops.commonColour(editor->selection()));
    GradientEditorCommand::updateEditor();
}

void SetStopColourCommand::redo()
{
    stops.swapColours(colours);
    updateEditor();
}

void SetStopColourCommand::undo()
{
    stops.swapColours(colours);
    updateEditor();
}

bool SetStopColourCommand::mergeWith(const QUndoCommand* other)
{
    if (other->id() != 1)
        return false;
    const auto& otherColours = static_cast<const SetStopColourCommand*>(other)->colours;
    return otherColours.size() == colours.size() &&
           std::equal(colours.begin(), colours.end(), otherColours.begin(),
                      [](const auto& a, const auto& b) { return a.first == b.first; });
}

ReverseCommand::ReverseCommand(GradientEditor* editor, GradientEditorStops& stops,
                               QUndoCommand* parent)
    : GradientEditorCommand(editor, stops, parent)
{
    setText(QObject::tr("Reverse Gradient"));
}

void ReverseCommand::redo()
{
    stops.reverse();
    updateEditor();
}

void ReverseCommand::undo()
{
    stops.reverse();
    updateEditor();
}
