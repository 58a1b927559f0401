// Writes the built-in themes of the editor as theme bundles, with the editor's own theme
// writer:
//
//     velmora_theme_maker <picture folder> <output folder>
//
// The picture folder holds one folder of pictures per theme (resources/theme); the output
// folder receives <theme name>.qvt for each. The build runs it with SOURCE_DATE_EPOCH set, so
// that the bundles come out the same on every build. Exits non-zero when a theme cannot be
// built or written.
#include "resources/theme_maker/theme_builder.h"
#include "resources/theme_maker/theme_description.h"
#include "velmora_objects/meta_types.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: velmora_theme_maker <picture folder> <output folder>\n");
        return 2;
    }
    Velmora::registerMetaTypes();
    const QString output = arguments.at(2);
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "velmora_theme_maker: cannot make %s\n", qPrintable(output));
        return 1;
    }
    for (const ThemeMaker::ThemeDescription& description : ThemeMaker::builtInThemes()) {
        QString error;
        const std::unique_ptr<Velmora::Theme> theme =
            ThemeMaker::buildTheme(description, arguments.at(1), error);
        if (!theme) {
            std::fprintf(stderr, "velmora_theme_maker: %s: %s\n", qPrintable(description.name),
                         qPrintable(error));
            return 1;
        }
        const QString path = output + QLatin1Char('/') + description.name + QLatin1String(".qvt");
        ThemeFileWriter writer(theme.get(), nullptr);
        if (!writer.write(path)) {
            std::fprintf(stderr, "velmora_theme_maker: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
