#pragma once

#include "gui/gradient_editor_stops.h"

#include <QColor>
#include <QPointer>
#include <QUndoCommand>
#include <climits>
#include <map>
#include <set>

class GradientEditor;

// An undoable change of a gradient editor's stops. It holds the editor's store by reference, so
// it must not outlive the editor's store; when the editor itself is gone the command still
// changes the store and skips the editor's refresh.
class GradientEditorCommand : public QUndoCommand
{
public:
    GradientEditorCommand(GradientEditor* editor, GradientEditorStops& stops,
                          QUndoCommand* parent = nullptr);

protected:
    // Tells the editor that its stops changed: selected ids of stops that went are dropped (the
    // new common colour announced), the gradient rebuilt and the widget repainted.
    void updateEditor();

    GradientEditorStops& stops;
    QPointer<GradientEditor> editor;
};

class AddStopCommand : public GradientEditorCommand
{
public:
    AddStopCommand(GradientEditor* editor, GradientEditorStops& stops, double position,
                   GradientAddStopBehaviour behaviour, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

    // The new stop's id, known after the first redo.
    unsigned int stopId() const { return id; }

private:
    double position;
    GradientAddStopBehaviour behaviour;
    unsigned int id = UINT_MAX;
    QPair<double, QColor> saved{0.0, QColor()};
};

class RemoveStopCommand : public GradientEditorCommand
{
public:
    RemoveStopCommand(GradientEditor* editor, GradientEditorStops& stops, unsigned int id,
                      QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    unsigned int id;
    QPair<double, QColor> saved{0.0, QColor()};
};

// Successive moves of one stop merge into one step.
class MoveStopCommand : public GradientEditorCommand
{
public:
    MoveStopCommand(GradientEditor* editor, GradientEditorStops& stops, unsigned int id,
                    double position, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    int id() const override { return 0; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    void swap();

    unsigned int stopId;
    double position; // the position not currently in the store
};

// Successive colour changes of the same set of stops merge into one step.
class SetStopColourCommand : public GradientEditorCommand
{
public:
    SetStopColourCommand(GradientEditor* editor, GradientEditorStops& stops,
                         const std::set<unsigned int>& ids, const QColor& colour,
                         QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    // Announces the selection's colour, then refreshes as every command does.
    void updateEditor();

    std::map<unsigned int, QColor> colours; // the colours not currently in the store
};

class ReverseCommand : public GradientEditorCommand
{
public:
    ReverseCommand(GradientEditor* editor, GradientEditorStops& stops,
                   QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
};
