#pragma once

#include "gui/launch_dialog.h"

// The editor's launch dialog: the kit's dialog with the product's header picture and name, at
// a fixed 600 x 424 pixels.
class VelmoraLaunchDialog : public LaunchDialog
{
    Q_OBJECT

public:
    VelmoraLaunchDialog(RecentFiles* recentFiles, QWidget* parent = nullptr);
};
