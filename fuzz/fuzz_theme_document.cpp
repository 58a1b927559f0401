#include "core/targz_archive.h"
#include "theme_fuzz_support.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library_data.h"
#include "velmora_objects/theme_reader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <cstddef>
#include <cstdint>

namespace {

// The members beside the document: pictures under names of every kind, a member that is not
// a picture, and a file beside the reader's folder that no document may reach.
struct Members
{
    explicit Members(const ThemeFuzzSupport& support)
    {
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        const char* pictures[] = {
            "landscape_splash_image", "portrait_splash_image", "image_0", "icon_0",
            "control_image_0",        "skin_image_0"};
        for (const char* name : pictures)
            add(support, name, png);
        add(support, "icon_1", "not a picture");
        add(support, "../outside", "must never be extracted");
    }

    void add(const ThemeFuzzSupport& support, const QString& name, const QByteArray& bytes)
    {
        const QString path = support.filePath("member_" + QString::number(items.size()));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
        items.append(TarItemInfo{path, name});
        expected << QFileInfo(path).fileName();
    }

    QList<TarItemInfo> items;
    QStringList expected;
};

} // namespace

// Input: the theme XML document of a bundle. It is read in full into a theme and lightly for
// the theme library; a bad document may only end in the reader's error.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ThemeFuzzSupport support;
    static Members members(support);

    const QString documentPath = support.filePath("document");
    const QString bundlePath = support.filePath("bundle.qvt");
    {
        QFile document(documentPath);
        if (!document.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        document.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    QList<TarItemInfo> items = members.items;
    items.append(TarItemInfo{documentPath, "Fuzz.xml"});
    TargzArchive archive;
    if (!archive.create(bundlePath, items))
        std::abort();

    {
        ThemeReader reader;
        Velmora::Theme theme{QString()};
        reader.read(bundlePath, &theme);
        ThemeFuzzSupport::useTheme(theme);
        Velmora::ThemeLibraryData libraryData;
        reader.readLibraryData(bundlePath, libraryData);
    }
    support.checkNothingLeftBehind(members.expected + QStringList{"document", "bundle.qvt"});
    return 0;
}
