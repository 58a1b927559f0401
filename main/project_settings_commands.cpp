#include "main/project_settings_commands.h"

#include "appengine/page_preview_scene.h"
#include "velmora_objects/theme.h"

SetThemeCommand::SetThemeCommand(std::unique_ptr<Velmora::Theme> theme, VelmoraDocument& document,
                                 QUndoCommand* parent)
    : VelmoraCommand(CommandId_SET_THEME, document, parent), m_theme(std::move(theme))
{
}

SetThemeCommand::SetThemeCommand(const Velmora::Theme* theme, VelmoraDocument& document,
                                 QUndoCommand* parent)
    : VelmoraCommand(CommandId_SET_THEME, document, parent),
      m_theme(theme ? std::make_unique<Velmora::Theme>(*theme) : nullptr)
{
    setText(commandText(CommandId_SET_THEME, true));
}

SetThemeCommand::~SetThemeCommand() = default;

std::unique_ptr<Velmora::Theme> SetThemeCommand::readTheme(const QString& path, QString* error)
{
    auto theme = std::make_unique<Velmora::Theme>(QString());
    if (!theme->load(path, error))
        return nullptr;
    return theme;
}

void SetThemeCommand::redo()
{
    VelmoraDocument& doc = document();
    m_theme.reset(doc.applyTheme(m_theme.release(), m_pageThemeData, m_controlThemeData));
    doc.invalidateAllThumbnails();
    ThemeChangedEvent event;
    send(event);
}

void rebuildPreviewLockPage(VelmoraDocument& document)
{
    if (PagePreviewScene* scene = document.previewScene())
        scene->lockPage().rebuild();
}
