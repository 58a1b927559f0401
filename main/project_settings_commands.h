#pragma once

#include "main/velmora_command.h"
#include "main/velmora_document.h"
#include "velmora_objects/configuration.h"

#include <QString>
#include <map>
#include <memory>
#include <type_traits>

namespace Velmora {
class Theme;
}

// The project settings of the project-properties dialog and the theme editor: the project's
// theme and the panel lock.

// Replaces the project's theme. "Set Theme" is given a theme the caller has already read
// (readTheme), so that a file that cannot be read is refused before anything is pushed;
// "Edit Theme" copies the theme editor's result at once. Undo and redo are the same exchange:
// the held theme goes to the document, which hands back the one it replaces, and pages and
// controls get back exactly the images and skins they had. Every thumbnail is marked and
// ThemeChangedEvent sent.
class SetThemeCommand : public VelmoraCommand
{
public:
    // "Set Theme". A null theme leaves the project without one.
    SetThemeCommand(std::unique_ptr<Velmora::Theme> theme, VelmoraDocument& document,
                    QUndoCommand* parent = nullptr);
    // "Edit Theme".
    SetThemeCommand(const Velmora::Theme* theme, VelmoraDocument& document,
                    QUndoCommand* parent = nullptr);
    ~SetThemeCommand() override;

    // The theme bundle at the path; null when it cannot be read, with the reader's reason in
    // `error` when one is given.
    static std::unique_ptr<Velmora::Theme> readTheme(const QString& path, QString* error = nullptr);

    void redo() override;
    void undo() override { redo(); }

private:
    // The theme the next run applies; after a run, the one it replaced.
    std::unique_ptr<Velmora::Theme> m_theme;
    std::map<unsigned int, VelmoraDocument::PageThemeData> m_pageThemeData;
    std::map<unsigned int, VelmoraDocument::ControlThemeData> m_controlThemeData;
};

// The preview's lock page is built again for the lock settings now held (a lock page shown
// goes, and the editor's page shows again).
void rebuildPreviewLockPage(VelmoraDocument& document);

// One panel-lock setting, exchanged with the held value on every run. The unlock code and the
// unlock function rebuild the preview's lock page; no event is sent. T is the value the caller
// gives.
template <int Id, class T, auto Get, auto Set> class SetPanelLockCommand : public VelmoraCommand
{
public:
    SetPanelLockCommand(const T& value, VelmoraDocument& document, QUndoCommand* parent = nullptr)
        : VelmoraCommand(Id, document, parent), m_value(value)
    {
    }

    void redo() override
    {
        using Stored =
            std::decay_t<std::invoke_result_t<decltype(Get), const Velmora::Configuration&>>;
        Velmora::Configuration& project = document();
        const T previous = static_cast<T>((project.*Get)());
        (project.*Set)(static_cast<Stored>(m_value));
        m_value = previous;
        if (Id != VelmoraCommand::CommandId_SET_LOCK_TIMEOUT)
            rebuildPreviewLockPage(document());
    }
    void undo() override { redo(); }

private:
    T m_value;
};

using SetUnlockCodeCommand = SetPanelLockCommand<VelmoraCommand::CommandId_SET_UNLOCK_CODE, QString,
                                                 &Velmora::Configuration::getUnlockCode,
                                                 &Velmora::Configuration::setUnlockCode>;
// A Velmora::ButtonFunction.
using SetUnlockFunctionCommand =
    SetPanelLockCommand<VelmoraCommand::CommandId_SET_UNLOCK_FUNCTION, quint32,
                        &Velmora::Configuration::getUnlockFunction,
                        &Velmora::Configuration::setUnlockFunction>;
// Milliseconds.
using SetLockTimeoutCommand = SetPanelLockCommand<VelmoraCommand::CommandId_SET_LOCK_TIMEOUT,
                                                  quint32, &Velmora::Configuration::getLockTimeout,
                                                  &Velmora::Configuration::setLockTimeout>;
