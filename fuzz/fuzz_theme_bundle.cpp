#include "theme_fuzz_support.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library.h"

#include <QFile>
#include <QStandardItemModel>
#include <cstddef>
#include <cstdint>

// Input: a whole theme bundle file. It is loaded as the editor loads a theme and added to the
// theme library; a bad bundle may only leave the theme empty or half read and the library
// without a row.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ThemeFuzzSupport support;

    const QString bundlePath = support.filePath("bundle.qvt");
    {
        QFile bundle(bundlePath);
        if (!bundle.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        bundle.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    {
        const Velmora::Theme theme(bundlePath);
        ThemeFuzzSupport::useTheme(theme);
    }
    ThemeLibrary* library = ThemeLibrary::instance();
    library->addTheme(bundlePath, false);
    library->model()->removeRows(0, library->model()->rowCount());

    support.checkNothingLeftBehind({"bundle.qvt"});
    return 0;
}
