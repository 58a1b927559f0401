#include "velmora_objects/theme.h"

namespace Velmora {

// Reading a bundle is the bundle reader's work: it lists the archive, reads the theme XML into
// this theme and reports whether that succeeded. This library links no reader, so no bundle
// opens here and the theme stays as it is.
bool Theme::load(const QString& bundlePath)
{
    Q_UNUSED(bundlePath);
    return false;
}

} // namespace Velmora
