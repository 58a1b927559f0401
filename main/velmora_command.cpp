#include "main/velmora_command.h"

#include <QObject>
#include <QUndoStack>

namespace {

struct CommandRow
{
    const char* text;
    const char* otherText; // null: the text has one form
    VelmoraCommand::MergeRule merge;
};

constexpr VelmoraCommand::MergeRule Never = VelmoraCommand::Merge_NEVER;
constexpr VelmoraCommand::MergeRule Always = VelmoraCommand::Merge_ALWAYS;
constexpr VelmoraCommand::MergeRule SameTargets = VelmoraCommand::Merge_SAME_TARGETS;

// Indexed by command id.
const CommandRow commandRows[VelmoraCommand::CommandIdCount] = {
    {QT_TRANSLATE_NOOP("QObject", "Add Page"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Duplicate Page"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Remove Page"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Raise Page"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Lower Page"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Default Page"), nullptr, Always},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Name"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Icon"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Background Colour"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Background Gradient"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Background Gradient Rotation"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Background Image"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Background Image Scaling"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Add Control"), QT_TRANSLATE_NOOP("QObject", "Add Controls"),
     Never},
    {QT_TRANSLATE_NOOP("QObject", "Paste Control"), QT_TRANSLATE_NOOP("QObject", "Paste Controls"),
     Never},
    {QT_TRANSLATE_NOOP("QObject", "Delete Control"),
     QT_TRANSLATE_NOOP("QObject", "Delete Controls"), Never},
    // Every caption or key edit stays a step of its own.
    {QT_TRANSLATE_NOOP("QObject", "Set Control Caption"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Control Key"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Control Startup State"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Move Controls"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Control Geometry"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Control X Position"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Control Y Position"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Control Width"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Control Height"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Assign IR Slot"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Image"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Font Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Word Wrap"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Actuation"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Held Timeout"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Repeat Interval"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Function"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Function Page Id"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Function Page Transition"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Function Page Transition Duration"), nullptr,
     SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Button Function Level"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Slider Show Value"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Slider Unit"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Slider Caption Font Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Slider Value Font Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Slider Text Spacing"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Slider Handle Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Colour Picker Font Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Colour Picker Text Spacing"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Keypad Maximum Digits"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Keypad Hide Characters"),
     QT_TRANSLATE_NOOP("QObject", "Set Keypad Show Characters"), SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Label Font Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Label Word Wrap"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Clock Type"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Clock Font Size"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Set Clock Text Spacing"), nullptr, SameTargets},
    {QT_TRANSLATE_NOOP("QObject", "Create Page Switcher"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Remove Page Switcher"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Pages"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher On Page"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Alignment"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Gradient"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Opacity"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Font Size"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Text Colour"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Show Page Names"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Highlight Colour"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Highlight Opacity"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Show Time"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Show Date"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Time Format"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Date Format"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Date/Time Font Size"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Page Switcher Date/Time Position"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Theme"), QT_TRANSLATE_NOOP("QObject", "Edit Theme"), Never},
    {nullptr, nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Unlock Code"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Unlock Function"), nullptr, Never},
    {QT_TRANSLATE_NOOP("QObject", "Set Lock Timeout"), nullptr, Never},
};

const CommandRow* rowOf(int commandId)
{
    return commandId >= 0 && commandId < VelmoraCommand::CommandIdCount ? &commandRows[commandId]
                                                                        : nullptr;
}

} // namespace

VelmoraCommand::VelmoraCommand(int commandId, VelmoraDocument& document, QUndoCommand* parent)
    : QUndoCommand(parent), m_document(document), m_commandId(commandId)
{
    setText(commandText(commandId));
}

VelmoraCommand::~VelmoraCommand() = default;

bool VelmoraCommand::mergeWith(const QUndoCommand* other)
{
    const auto* command = dynamic_cast<const VelmoraCommand*>(other);
    if (!command || command->id() != id())
        return false;
    switch (mergeRule(id())) {
    case Merge_ALWAYS:
        return true;
    case Merge_SAME_TARGETS:
        return hasSameTargets(*command);
    case Merge_NEVER:
        break;
    }
    return false;
}

QString VelmoraCommand::commandText(int commandId, bool otherForm)
{
    const CommandRow* row = rowOf(commandId);
    if (!row || !row->text)
        return QString();
    return QObject::tr(otherForm && row->otherText ? row->otherText : row->text);
}

QString VelmoraCommand::controlCountText(int commandId, std::size_t count)
{
    // Adding and pasting name one control in the singular, deleting also none.
    const bool single = commandId == CommandId_DELETE_CONTROLS ? count < 2 : count == 1;
    return commandText(commandId, !single);
}

VelmoraCommand::MergeRule VelmoraCommand::mergeRule(int commandId)
{
    const CommandRow* row = rowOf(commandId);
    return row ? row->merge : Merge_NEVER;
}

bool VelmoraCommand::hasSameTargets(const VelmoraCommand&) const
{
    return false;
}

CommandGroup::CommandGroup(Action action) : m_group(std::make_unique<QUndoCommand>())
{
    m_group->setText(actionText(action));
}

CommandGroup::~CommandGroup() = default;

QString CommandGroup::actionText(Action action)
{
    static const char* const texts[] = {
        QT_TRANSLATE_NOOP("QObject", "Add Page"),
        QT_TRANSLATE_NOOP("QObject", "Duplicate Page"),
        QT_TRANSLATE_NOOP("QObject", "Remove Page"),
        QT_TRANSLATE_NOOP("QObject", "Edit Page Switcher"),
        QT_TRANSLATE_NOOP("QObject", "Set Project Properties"),
    };
    return QObject::tr(texts[action]);
}

int CommandGroup::childCount() const
{
    return m_group ? m_group->childCount() : 0;
}

bool CommandGroup::push(QUndoStack& stack)
{
    if (!m_group || m_group->childCount() == 0) {
        m_group.reset();
        return false;
    }
    // The stack takes the group only once its first run went through.
    stack.push(m_group.get());
    m_group.release();
    return true;
}
