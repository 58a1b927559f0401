#include "gui/colour_widget_resources.h"

#include <QtGlobal>

void loadColourWidgetResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(colour_widgets);
        return true;
    }();
    (void)loaded;
}
