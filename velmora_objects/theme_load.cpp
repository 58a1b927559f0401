#include "velmora_objects/theme.h"
#include "velmora_objects/theme_reader.h"

#include <QObject>
#include <new>

namespace Velmora {

// A reader of its own, with its own temporary folder, which goes when the read is over.
bool Theme::readBundle(const QString& bundlePath, QString* error)
{
    ThemeReader reader;
    if (reader.read(bundlePath, this))
        return true;
    if (error)
        *error = reader.errorString();
    return false;
}

bool Theme::load(const QString& bundlePath, QString* error)
{
    try {
        return readBundle(bundlePath, error);
    } catch (const std::bad_alloc&) {
        // The reader and what it held of the bundle are gone by now: the reason fits.
        if (error)
            *error = notEnoughMemoryText();
        return false;
    }
}

QString Theme::notEnoughMemoryText()
{
    return QObject::tr("There is not enough memory to read the theme.");
}

} // namespace Velmora
