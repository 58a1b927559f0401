#pragma once

#include "appengine/document_events.h"

#include <QString>
#include <QUndoCommand>
#include <cstddef>
#include <memory>

class QUndoStack;
class VelmoraDocument;

// Base of every undoable edit of the open project: a QUndoCommand that knows the document it
// edits and carries a fixed command id (0 to 74, no 71) with its undo text and its merge rule.
//
// Conventions of every command: the constructor takes the command's own values, then the
// document, then an optional parent, and never changes the project; the first redo(), run by
// QUndoStack::push, does. Commands that hold one value per object exchange it with the
// project's on every run, so undo() and redo() are the same operation and a merge needs no
// copying. A command reports what it changed with a document-change event, sent after the
// model has changed, so that the receiver sees the new state.
//
// The document owns the undo stack and so outlives every command.
class VelmoraCommand : public QUndoCommand
{
public:
    enum CommandId : int
    {
        CommandId_ADD_PAGE = 0,
        CommandId_DUPLICATE_PAGE = 1,
        CommandId_REMOVE_PAGE = 2,
        CommandId_RAISE_PAGE = 3,
        CommandId_LOWER_PAGE = 4,
        CommandId_SET_DEFAULT_PAGE = 5,
        CommandId_SET_PAGE_NAME = 6,
        CommandId_SET_PAGE_ICON = 7,
        CommandId_SET_PAGE_BACKGROUND_COLOUR = 8,
        CommandId_SET_PAGE_BACKGROUND_GRADIENT = 9,
        CommandId_SET_PAGE_BACKGROUND_GRADIENT_ROTATION = 10,
        CommandId_SET_PAGE_BACKGROUND_IMAGE = 11,
        CommandId_SET_PAGE_BACKGROUND_IMAGE_SCALING = 12,
        CommandId_ADD_CONTROLS = 13,
        CommandId_PASTE_CONTROLS = 14,
        CommandId_DELETE_CONTROLS = 15,
        CommandId_SET_CONTROL_CAPTION = 16,
        CommandId_SET_CONTROL_KEY = 17,
        CommandId_SET_CONTROL_STARTUP_SKIN = 18,
        CommandId_MOVE_CONTROLS = 19,
        CommandId_SET_CONTROL_GEOMETRY = 20,
        CommandId_SET_CONTROL_X = 21,
        CommandId_SET_CONTROL_Y = 22,
        CommandId_SET_CONTROL_WIDTH = 23,
        CommandId_SET_CONTROL_HEIGHT = 24,
        CommandId_ASSIGN_CONTROL_IR_SLOT = 25,
        CommandId_SET_BUTTON_IMAGE = 26,
        CommandId_SET_BUTTON_FONT_SIZE = 27,
        CommandId_SET_BUTTON_WORD_WRAP = 28,
        CommandId_SET_BUTTON_ACTUATION = 29,
        CommandId_SET_BUTTON_HELD_TIMEOUT = 30,
        CommandId_SET_BUTTON_REPEAT_INTERVAL = 31,
        CommandId_SET_BUTTON_FUNCTION = 32,
        CommandId_SET_BUTTON_FUNCTION_PAGE_ID_ARG = 33,
        CommandId_SET_BUTTON_FUNCTION_PAGE_TRANSITION_ARG = 34,
        CommandId_SET_BUTTON_FUNCTION_PAGE_TRANSITION_DURATION_ARG = 35,
        CommandId_SET_BUTTON_FUNCTION_LEVEL_ARG = 36,
        CommandId_SET_SLIDER_SHOW_VALUE = 37,
        CommandId_SET_SLIDER_UNIT = 38,
        CommandId_SET_SLIDER_CAPTION_FONT_SIZE = 39,
        CommandId_SET_SLIDER_VALUE_FONT_SIZE = 40,
        CommandId_SET_SLIDER_SPACING = 41,
        CommandId_SET_SLIDER_HANDLE_SIZE = 42,
        CommandId_SET_COLOUR_PICKER_FONT_SIZE = 43,
        CommandId_SET_COLOUR_PICKER_SPACING = 44,
        CommandId_SET_KEYPAD_MAX_DIGITS = 45,
        CommandId_SET_KEYPAD_HIDE_CHARACTERS = 46,
        CommandId_SET_LABEL_FONT_SIZE = 47,
        CommandId_SET_LABEL_WORD_WRAP = 48,
        CommandId_SET_CLOCK_TYPE = 49,
        CommandId_SET_CLOCK_FONT_SIZE = 50,
        CommandId_SET_CLOCK_SPACING = 51,
        CommandId_CREATE_PAGE_SWITCHER = 52,
        CommandId_REMOVE_PAGE_SWITCHER = 53,
        CommandId_SET_PAGE_SWITCHER_PAGES = 54,
        CommandId_SET_PAGE_SWITCHER_ON_PAGE = 55,
        CommandId_SET_PAGE_SWITCHER_ALIGNMENT = 56,
        CommandId_SET_PAGE_SWITCHER_GRADIENT = 57,
        CommandId_SET_PAGE_SWITCHER_OPACITY = 58,
        CommandId_SET_PAGE_SWITCHER_FONT_SIZE = 59,
        CommandId_SET_PAGE_SWITCHER_TEXT_COLOUR = 60,
        CommandId_SET_PAGE_SWITCHER_SHOW_PAGE_NAMES = 61,
        CommandId_SET_PAGE_SWITCHER_HIGHLIGHT_COLOUR = 62,
        CommandId_SET_PAGE_SWITCHER_HIGHLIGHT_OPACITY = 63,
        CommandId_SET_PAGE_SWITCHER_SHOW_TIME = 64,
        CommandId_SET_PAGE_SWITCHER_SHOW_DATE = 65,
        CommandId_SET_PAGE_SWITCHER_TIME_FORMAT = 66,
        CommandId_SET_PAGE_SWITCHER_DATE_FORMAT = 67,
        CommandId_SET_PAGE_SWITCHER_DATE_TIME_FONT_SIZE = 68,
        CommandId_SET_PAGE_SWITCHER_DATE_TIME_AT_END = 69,
        CommandId_SET_THEME = 70,
        // 71 is not used.
        CommandId_SET_UNLOCK_CODE = 72,
        CommandId_SET_UNLOCK_FUNCTION = 73,
        CommandId_SET_LOCK_TIMEOUT = 74
    };
    static constexpr int CommandIdCount = 75;

    // When the command on top of the undo stack absorbs a newer command of the same id. The
    // stack offers a merge only to the command on top with an equal id, and never to the
    // command at its clean index (right after a save). The surviving command keeps the values
    // from before its own first run, so one undo returns to the state before the first edit.
    enum MergeRule
    {
        Merge_NEVER,
        Merge_ALWAYS,      // every newer command of the id
        Merge_SAME_TARGETS // a newer command on the same objects (hasSameTargets)
    };

    // Sets the undo text of the id (its first form).
    VelmoraCommand(int commandId, VelmoraDocument& document, QUndoCommand* parent = nullptr);
    ~VelmoraCommand() override;

    int id() const override { return m_commandId; }
    // Follows the merge rule of the id. Copies nothing.
    bool mergeWith(const QUndoCommand* other) override;

    VelmoraDocument& document() const { return m_document; }

    // The undo text of the id, translated in the context "QObject"; empty for 71 and for ids
    // outside 0 to 74. The other form belongs to the commands whose text depends on their
    // value: 13 and 14 for other than one control, 15 for two or more, 46 for showing the
    // characters, 70 for the theme editor's result.
    static QString commandText(int commandId, bool otherForm = false);
    // The text of adding (13), pasting (14) or deleting (15) that many controls.
    static QString controlCountText(int commandId, std::size_t count);
    static MergeRule mergeRule(int commandId);

protected:
    // Whether the other command, of the same id, edits the same objects; for the rule
    // Merge_SAME_TARGETS. None do by default.
    virtual bool hasSameTargets(const VelmoraCommand& other) const;

    // Delivers the event synchronously to the application object (nothing without one).
    static void send(QEvent& event) { sendDocumentEvent(event); }

private:
    VelmoraDocument& m_document;
    const int m_commandId;
};

// The commands of one user action as one undo step: a plain QUndoCommand with the action's
// text, id -1 (it never merges), whose redo runs its children in the order they were made and
// whose undo runs them in reverse. Make each command with parent() as its parent, then push.
class CommandGroup
{
public:
    enum Action
    {
        Action_ADD_PAGE,
        Action_DUPLICATE_PAGE,
        Action_REMOVE_PAGE,
        Action_EDIT_PAGE_SWITCHER,
        Action_SET_PROJECT_PROPERTIES
    };

    explicit CommandGroup(Action action);
    // Deletes a group that was not pushed, with its children.
    ~CommandGroup();
    CommandGroup(const CommandGroup&) = delete;
    CommandGroup& operator=(const CommandGroup&) = delete;

    static QString actionText(Action action);

    // Null once pushed.
    QUndoCommand* parent() const { return m_group.get(); }
    int childCount() const;
    // Pushes the group as one step when it has children, which runs them; a group without
    // children is deleted instead. Returns whether it was pushed. A run that throws leaves the
    // group here, to be deleted with it.
    bool push(QUndoStack& stack);

private:
    std::unique_ptr<QUndoCommand> m_group;
};
