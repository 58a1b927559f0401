#pragma once

#include <QVariant>

class QUndoStack;
class VelmoraDocument;

// Turns one edit of the property editor (a property id and the new value) into the undo
// command that makes it, for the document's current selection, and pushes it on the stack.
class PropertyDispatch
{
public:
    explicit PropertyDispatch(VelmoraDocument& document);

    // Pushes at most one command on the stack; false when nothing was pushed (an id without a
    // command, a selection of another kind, or a value that is refused).
    bool setPropertyValue(int id, const QVariant& value, QUndoStack& stack);

private:
    VelmoraDocument& document;
};
