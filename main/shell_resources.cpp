#include "main/shell_resources.h"

#include "gui/colour_widget_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the loaders at the enclosing scope, so this stays outside any
// namespace.
void loadShellResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(velmora_main);
        Q_INIT_RESOURCE(action_icons);
        // Undo and redo share the icons of the colour widgets.
        loadColourWidgetResources();
        return true;
    }();
    (void)loaded;
}
