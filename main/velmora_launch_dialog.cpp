#include "main/velmora_launch_dialog.h"

#include "main/shell_resources.h"
#include "main/vendor_variants.h"

VelmoraLaunchDialog::VelmoraLaunchDialog(RecentFiles* recentFiles, QWidget* parent)
    : LaunchDialog(recentFiles, parent)
{
    loadShellResources();
    setHeaderPixmap(QPixmap(QStringLiteral(":/launch_header.png")));
    setWindowTitle(VendorVariants::instance().fullName);
    setFixedSize(600, 424);
}
