#include "velmora_objects/theme_file_writer.h"

#include "core/assertion.h"
#include "core/progress_handler.h"
#include "core/targz_archive.h"
#include "core/xml_characters.h"
#include "core/xml_shape.h"
#include "file_system/file_system.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme_image_limits.h"
#include "velmora_objects/theme_reader.h"
#include "velmora_objects/theme_xml_writer.h"

#include <QBuffer>
#include <algorithm>
#include <new>
#include <set>
#include <utility>

using namespace Velmora;

namespace {

using MemberName = QString (*)(const ImageData&);

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

// What keeps the reader from reading the bundle of these members back, naming the bound;
// empty when nothing does.
QString limitFault(const QList<TarMember>& members, const Theme& theme)
{
    const ThemeReader::Limits& limits = ThemeReader::limits();
    if (members.size() > limits.memberCount)
        return ThemeFileWriter::tr("The theme would make a bundle of %1 members; a bundle may "
                                   "hold %2.")
            .arg(members.size())
            .arg(limits.memberCount);
    qint64 total = 0;
    for (const TarMember& member : members) {
        // A name too long for its header field takes a block of its own in front.
        total += member.data.size() + member.name.toUtf8().size() + 1;
        if (ThemeReader::isImageMemberName(member.name)) {
            const QString fault = ThemeImageLimits::fault(member.data);
            if (!fault.isEmpty())
                return ThemeFileWriter::tr("Image '%1' is %2.").arg(member.name, fault);
        } else if (member.data.size() > limits.memberSize) {
            return ThemeFileWriter::tr("The theme document would be larger than the %1 bytes a "
                                       "member of a bundle may hold.")
                .arg(limits.memberSize);
        }
    }
    if (total > limits.totalSize)
        return ThemeFileWriter::tr("The theme would make a bundle of more than the %1 bytes a "
                                   "bundle may hold.")
            .arg(limits.totalSize);
    qint64 skins = 0;
    for (const auto& [itemType, skinSet] : theme.getSkinSets())
        skins += skinSet ? qint64(skinSet->size()) : 0;
    if (skins > limits.skinCount)
        return ThemeFileWriter::tr("The theme holds %1 skins; a bundle may hold %2.")
            .arg(skins)
            .arg(limits.skinCount);
    const XmlShape::Check shape(members.last().data, limits.document);
    if (!shape.fine())
        return ThemeFileWriter::tr("The theme document would not read back: %1.")
            .arg(shape.message());
    return QString();
}

} // namespace

ThemeFileWriter::ThemeFileWriter(const Theme* theme, ProgressHandler* progressHandler,
                                 QObject* parent)
    : QObject(parent), m_theme(theme), m_progress(progressHandler)
{
}

QString ThemeFileWriter::xmlMemberName(const QString& themeName)
{
    return FileSystem::visibleFileName(themeName, QStringLiteral(".xml"));
}

bool ThemeFileWriter::write(const QString& bundlePath)
{
    VELMORA_ASSERT(m_theme != NULL);
    m_errorString.clear();
    const std::size_t outerRanges = m_progress ? m_progress->ranges.size() : 0;
    bool written = false;
    try {
        written = writeBundle(bundlePath);
    } catch (const std::bad_alloc&) {
        // The copy, the members or the archive did not fit in memory: nothing was put in the
        // bundle's place, and the editor goes on.
        written = fail(ArchiveError, tr("There is not enough memory to write the theme."));
    }
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

    // Qt's XML writer fails on a character that XML cannot hold; the user learns which one.
    const QString& name = m_theme->getName();
    const qsizetype unstorable = XmlCharacters::unstorableAt(name);
    if (unstorable >= 0)
        return fail(NameError,
                    tr("The theme name holds the character %1, which a theme file cannot "
                       "store.")
                        .arg(XmlCharacters::codePointName(name.at(unstorable).unicode())));

    EditTheme theme(*m_theme);
    pruneUnknownSkinProperties(theme);

    // The members are assembled in memory; the image bytes are shared with the copy, never
    // copied.
    QList<TarMember> members;
    // The splash pictures go as the theme keeps them: the PNG files they were read from,
    // unchanged, or the encoding of a picture set since, which the caller's theme keeps for the
    // next write; no picture leaves its member empty.
    const std::pair<Orientation, const char*> splashImages[] = {
        {Orientation_LANDSCAPE, "landscape_splash_image"},
        {Orientation_PORTRAIT, "portrait_splash_image"}};
    for (const auto& [orientation, name] : splashImages) {
        const QByteArray& png = m_theme->getSplashBytes(orientation);
        // Empty bytes of a picture are an encoding that failed.
        if (png.isEmpty() && !(orientation == Orientation_LANDSCAPE ? m_theme->getLandscapeSplash()
                                                                    : m_theme->getPortraitSplash())
                                  .isNull())
            return fail(SplashFileError);
        members.append(TarMember{QLatin1String(name), png});
    }
    setPosition(1);

    // Only the copy loses the skin images that no skin uses.
    pruneSkinImages(theme);
    const std::pair<const Theme::ImageStore*, MemberName> stores[] = {
        {&theme.getPageBackgroundImages(), ThemeWriter::imageFileName},
        {&theme.getIcons(), ThemeWriter::iconFileName},
        {&theme.getControlImages(), ThemeWriter::controlImageFileName},
        {&theme.getSkinImages(), ThemeWriter::skinImageFileName}};
    unsigned position = 2;
    for (const auto& [store, memberName] : stores) {
        for (const ImageData& image : *store)
            members.append(TarMember{memberName(image), image.getData()});
        setPosition(position++);
    }

    QByteArray document;
    QBuffer documentDevice(&document);
    documentDevice.open(QIODevice::WriteOnly);
    ThemeXmlWriter xmlWriter;
    xmlWriter.write(&documentDevice, theme);
    if (xmlWriter.hasError())
        return fail(XmlFileError);
    members.append(TarMember{xmlMemberName(theme.getName()), document});
    const QString fault = limitFault(members, theme);
    if (!fault.isEmpty())
        return fail(LimitError, fault);
    setPosition(6);

    TargzArchive archive;
    connect(&archive, &TargzArchive::operationStarted, this,
            &ThemeFileWriter::onArchiveOperationStarted);
    connect(&archive, &TargzArchive::operationProgress, this,
            &ThemeFileWriter::onArchiveOperationProgress);
    if (m_progress)
        m_progress->setMessage(tr("Packaging theme..."));
    const std::size_t preparationRanges = m_progress ? m_progress->ranges.size() : 0;
    if (!archive.createFromMemory(bundlePath, members))
        return fail(ArchiveError, archive.errorString());
    if (m_progress) {
        if (m_progress->ranges.size() > preparationRanges)
            m_progress->endRange();
        m_progress->setPosition(7);
        m_progress->endRange();
    }
    return true;
}

bool ThemeFileWriter::fail(Error code, const QString& message)
{
    m_errorString = message;
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
