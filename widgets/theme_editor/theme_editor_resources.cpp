#include "widgets/theme_editor/theme_editor_resources.h"

#include <QtGlobal>

void loadThemeEditorResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(theme_editor_icons);
        return true;
    }();
    (void)loaded;
}
