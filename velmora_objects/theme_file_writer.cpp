#include "velmora_objects/theme_file_writer.h"

#include "core/assertion.h"
#include "core/progress_handler.h"
#include "core/targz_archive.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme_xml_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <set>
#include <utility>

using namespace Velmora;

namespace {

// The longest file name (in bytes) that common file systems accept.
constexpr int MaximumFileNameBytes = 255;

// Writes the bytes into the open file and closes it; true only when every byte reached the
// file. (A write error is checked on its own: closing forgets it when the flush succeeds.)
bool writeAndClose(QFile& file, const QByteArray& bytes)
{
    bool written = file.write(bytes) == bytes.size();
    written = file.flush() && written;
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

// The PNG encoding of the image; empty for a null image, which leaves its member empty.
bool encodePng(const QImage& image, QByteArray& bytes)
{
    bytes.clear();
    if (image.isNull())
        return true;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG");
}

using MemberName = QString (*)(const ImageData&);

// An image store with the prefix of its work files and the names of its members.
struct ImageStoreMembers
{
    const Theme::ImageStore* images;
    const char* filePrefix;
    MemberName memberName;
};

// Writes every image of the store into the folder as "<prefix><id>.png" and adds it to the
// archive items under its member name.
bool writeStore(const Theme::ImageStore& store, const QDir& folder, const QString& prefix,
                MemberName memberName, QList<TarItemInfo>& items)
{
    for (const ImageData& image : store) {
        const QString path = folder.absoluteFilePath(prefix + QString::number(image.getId()) +
                                                     QStringLiteral(".png"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            !writeAndClose(file, image.getData()))
            return false;
        items.append(TarItemInfo{path, memberName(image)});
    }
    return true;
}

// Erases from the copy's skin-image store every image that no Image skin property names.
void pruneSkinImages(EditTheme& theme)
{
    std::set<unsigned int> used;
    for (const auto& [itemType, unused] : theme.getSkinSets()) {
        const SkinSet* skinSet = theme.skinSet(itemType, false);
        if (!skinSet)
            continue;
        for (const auto& [skinName, skin] : *skinSet) {
            if (!skin)
                continue;
            for (const auto& [key, property] : *skin) {
                if (!property || property->getType() != SkinPropertyType_IMAGE)
                    continue;
                const QString text = property->getValue().toString();
                bool isNumber = false;
                const unsigned int id = text.toUInt(&isNumber, 10);
                if (!text.isEmpty() && isNumber)
                    used.insert(id);
            }
        }
    }
    Theme::ImageStore& skinImages = theme.getSkinImages();
    for (auto it = skinImages.begin(); it != skinImages.end();) {
        if (used.count(it->getId()))
            ++it;
        else
            it = skinImages.erase(it);
    }
}

// Erases from the copy's skins every property that the reader would refuse: one that the
// skin-property table of its item type does not define, or defines with another type (and every
// property of an item type without a table). A theme read from a project file may hold such
// properties; left in, they would make the bundle unreadable.
void pruneUnknownSkinProperties(EditTheme& theme)
{
    for (const auto& [itemType, unused] : theme.getSkinSets()) {
        SkinSet* skinSet = theme.skinSet(itemType, false);
        if (!skinSet)
            continue;
        const SkinProperties* table = SkinProperties::getSkinProperties(itemType);
        for (const auto& [skinName, skin] : *skinSet) {
            if (!skin)
                continue;
            std::vector<QString> unknown;
            for (const auto& [key, property] : *skin) {
                const SkinProperty* definition = table ? table->getProperty(key) : nullptr;
                if (!property || !definition || definition->getType() != property->getType())
                    unknown.push_back(key);
            }
            for (const QString& key : unknown)
                skin->removeProperty(key);
        }
    }
}

} // namespace

ThemeFileWriter::ThemeFileWriter(const Theme* theme, ProgressHandler* progressHandler,
                                 QObject* parent)
    : QObject(parent), m_theme(theme), m_progress(progressHandler)
{
}

QString ThemeFileWriter::xmlMemberName(const QString& themeName)
{
    const QString suffix = QStringLiteral(".xml");
    QString base = themeName;
    base.replace(u'/', u'_');
    base.remove(QChar(0));
    while (!base.isEmpty() && (base + suffix).toUtf8().size() > MaximumFileNameBytes) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base + suffix;
}

bool ThemeFileWriter::write(const QString& bundlePath)
{
    VELMORA_ASSERT(m_theme != NULL);
    const std::size_t outerRanges = m_progress ? m_progress->ranges.size() : 0;
    const bool written = writeBundle(bundlePath);
    // A failure leaves no range of this write open.
    if (!written && m_progress) {
        while (m_progress->ranges.size() > outerRanges)
            m_progress->endRange();
    }
    return written;
}

bool ThemeFileWriter::writeBundle(const QString& bundlePath)
{
    if (m_progress) {
        m_progress->setTitle(tr("Theme Editor"));
        m_progress->setMessage(tr("Preparing files..."));
        m_progress->beginRange(5);
    }
    auto setPosition = [this](unsigned position) {
        if (m_progress)
            m_progress->setPosition(position);
    };

    EditTheme theme(*m_theme);
    pruneUnknownSkinProperties(theme);

    // In the folder of this process, so that another editor writing at the same time has a
    // folder of its own; removed with everything in it on every return.
    const QString processFolder = TemporaryDirectory::processFolder();
    TemporaryDirectory temporaryFolder;
    if (processFolder.isEmpty() ||
        !temporaryFolder.setPath(processFolder + QDir::separator() + QStringLiteral("temp_theme"),
                                 true))
        return fail(SplashFileError);
    const QDir folder = temporaryFolder.dir();

    QList<TarItemInfo> items;
    const std::pair<const QImage*, QString> splashImages[] = {
        {&theme.getLandscapeSplash(), QStringLiteral("landscape_splash")},
        {&theme.getPortraitSplash(), QStringLiteral("portrait_splash")}};
    for (const auto& [image, name] : splashImages) {
        QFile file(folder.absoluteFilePath(name + QStringLiteral(".png")));
        QByteArray png;
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !encodePng(*image, png) ||
            !writeAndClose(file, png))
            return fail(SplashFileError);
        items.append(TarItemInfo{file.fileName(), name + QStringLiteral("_image")});
    }
    setPosition(1);

    // Only the copy loses the skin images that no skin uses.
    pruneSkinImages(theme);
    const ImageStoreMembers stores[] = {
        {&theme.getPageBackgroundImages(), "image", ThemeWriter::imageFileName},
        {&theme.getIcons(), "icon", ThemeWriter::iconFileName},
        {&theme.getControlImages(), "control_image", ThemeWriter::controlImageFileName},
        {&theme.getSkinImages(), "skin_image", ThemeWriter::skinImageFileName}};
    unsigned position = 2;
    for (const ImageStoreMembers& store : stores) {
        if (!writeStore(*store.images, folder, QLatin1String(store.filePrefix), store.memberName,
                        items))
            return fail(ImageFileError);
        setPosition(position++);
    }

    QFile xmlFile(folder.absoluteFilePath(QStringLiteral("theme.xml")));
    if (!xmlFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(XmlFileError);
    ThemeXmlWriter xmlWriter;
    xmlWriter.write(&xmlFile, theme);
    if (xmlWriter.hasError() || !writeAndClose(xmlFile, QByteArray()))
        return fail(XmlFileError);
    items.append(TarItemInfo{xmlFile.fileName(), xmlMemberName(theme.getName())});
    setPosition(6);

    TargzArchive archive;
    connect(&archive, &TargzArchive::operationStarted, this,
            &ThemeFileWriter::onArchiveOperationStarted);
    connect(&archive, &TargzArchive::operationProgress, this,
            &ThemeFileWriter::onArchiveOperationProgress);
    if (m_progress)
        m_progress->setMessage(tr("Packaging theme..."));
    const std::size_t preparationRanges = m_progress ? m_progress->ranges.size() : 0;
    if (!archive.create(bundlePath, items))
        return fail(ArchiveError);
    if (m_progress) {
        if (m_progress->ranges.size() > preparationRanges)
            m_progress->endRange();
        m_progress->setPosition(7);
        m_progress->endRange();
    }
    return true;
}

bool ThemeFileWriter::fail(Error code)
{
    emit error(code);
    return false;
}

void ThemeFileWriter::onArchiveOperationStarted(int total)
{
    if (m_progress)
        m_progress->beginRange(unsigned(std::max(total, 0)));
}

void ThemeFileWriter::onArchiveOperationProgress(int done)
{
    if (m_progress)
        m_progress->setPosition(unsigned(std::max(done, 0)));
}
