#include "main/velmora_launch_dialog.h"

#include "main/vendor_variants.h"

// The header picture lives in this library's resources; a static library's resources must be
// pulled in by name, from outside any namespace.
static void loadShellResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(velmora_main);
        return true;
    }();
    (void)loaded;
}

VelmoraLaunchDialog::VelmoraLaunchDialog(RecentFiles* recentFiles, QWidget* parent)
    : LaunchDialog(recentFiles, parent)
{
    loadShellResources();
    setHeaderPixmap(QPixmap(QStringLiteral(":/launch_header.png")));
    setWindowTitle(VendorVariants::instance().fullName);
    setFixedSize(600, 424);
}
