#include "velmora_objects/theme.h"
#include "velmora_objects/theme_reader.h"

namespace Velmora {

// A reader of its own, with its own temporary folder, which goes when the read is over.
bool Theme::load(const QString& bundlePath, QString* error)
{
    ThemeReader reader;
    if (reader.read(bundlePath, this))
        return true;
    if (error)
        *error = reader.errorString();
    return false;
}

} // namespace Velmora
