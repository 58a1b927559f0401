#include "widgets/configuration_edit_record.h"

#include "core/assertion.h"
#include "main/control_property_commands.h"
#include "main/project_settings_commands.h"
#include "main/velmora_command.h"
#include "main/velmora_document.h"
#include "velmora_objects/theme.h"

ProjectPropertiesResult pushProjectProperties(const ConfigurationEditRecord& record,
                                              VelmoraDocument& document, QString* error)
{
    std::unique_ptr<Velmora::Theme> theme;
    if (!record.theme.isEmpty()) {
        theme = SetThemeCommand::readTheme(record.theme, error);
        if (!theme)
            return ProjectPropertiesResult::ThemeUnreadable;
    }

    CommandGroup group(CommandGroup::Action_SET_PROJECT_PROPERTIES);
    if (theme)
        new SetThemeCommand(std::move(theme), document, group.parent());
    if (!record.unlockCode.isNull())
        new SetUnlockCodeCommand(record.unlockCode, document, group.parent());
    if (record.unlockFunction != 0)
        new SetUnlockFunctionCommand(quint32(record.unlockFunction), document, group.parent());
    if (record.lockTimeout != -1)
        new SetLockTimeoutCommand(quint32(record.lockTimeout), document, group.parent());
    for (unsigned char slot : record.clearedIRSlots) {
        const Velmora::IRAction irAction = document.getIRSlotAssignment(slot);
        VELMORA_ASSERT((irAction.controlId != UINT_MAX) && (irAction.action != Velmora::NoAction));
        new AssignControlIRSlotCommand({irAction.controlId}, irAction.action, Velmora::NoIRSlot,
                                       document, group.parent());
    }
    return group.push(document.undoStack()) ? ProjectPropertiesResult::Pushed
                                            : ProjectPropertiesResult::NoChanges;
}
