#pragma once

#include <QVariant>

class QUndoStack;
class VelmoraDocument;

// Turns one edit of the property editor (a property id and the new value) into the undo
// command that makes it, for the document's current selection, and pushes it on the stack.
//
// Page ids act on the selected pages, control ids on the selected controls (in selection
// order) and page-switcher ids on the selected page switcher; an id whose kind is not the
// selection's does nothing. A value is taken only in the types the row edits: an enumerated
// value only as that very enumeration (an int or a string of the same number is refused), a
// colour only as a QColor, and so on. An IR slot other than "unassigned" is taken only for one
// control that has the action and only when no other control holds the slot.
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
