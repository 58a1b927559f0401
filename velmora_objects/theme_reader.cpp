#include "velmora_objects/theme_reader.h"

#include "core/archive_content.h"
#include "core/regular_file.h"
#include "core/tar_headers.h"
#include "core/targz_archive.h"
#include "velmora_objects/image_data.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QRegularExpression>
#include <set>
#include <sys/stat.h>

namespace {

// The folder numbers of the readers alive. Touched from the GUI thread only.
std::set<int>& folderNumbersInUse()
{
    static std::set<int> numbers;
    return numbers;
}

int takeLowestFreeFolderNumber()
{
    std::set<int>& numbers = folderNumbersInUse();
    int number = 1;
    for (int used : numbers) {
        if (used != number)
            break;
        ++number;
    }
    numbers.insert(number);
    return number;
}

ThemeReader::Limits& currentLimits()
{
    static ThemeReader::Limits limits;
    return limits;
}

// A name that stands for a file directly inside a folder.
bool isFlatName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(QChar(0));
}

bool isXmlMemberName(const QString& name)
{
    return QFileInfo(name).suffix() == QLatin1String("xml");
}

// A resource fork or an attribute file that macOS archivers put beside each file ("._<name>",
// or anything in "__MACOSX/").
bool isSidecarName(const QString& name)
{
    return name.startsWith(QLatin1String("__MACOSX/")) ||
           name.section(u'/', -1).startsWith(QLatin1String("._"));
}

QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 0, QLocale::DataSizeTraditionalFormat);
}

QString tr(const char* text)
{
    return QObject::tr(text);
}

// Why the file opened, which did not read as a bundle, does not: what it holds instead.
QString unreadableText(int descriptor)
{
    switch (ArchiveContent::identify(descriptor)) {
    case ArchiveContent::Kind_UNREADABLE:
        return RegularFile::message(RegularFile::Result_FAILED);
    case ArchiveContent::Kind_TAR:
    case ArchiveContent::Kind_DAMAGED_GZIP:
        return tr("The theme bundle is damaged or cut short.");
    case ArchiveContent::Kind_GZIP_TWICE:
        return tr("The theme file is not a gzip-compressed tar archive: it is compressed with "
                  "gzip twice.");
    case ArchiveContent::Kind_GZIP_OTHER:
        return tr("The theme file is not a gzip-compressed tar archive: what gzip compressed is "
                  "not a tar archive.");
    case ArchiveContent::Kind_XZ:
        return tr("The theme file is not a gzip-compressed tar archive: it is compressed with "
                  "xz.");
    case ArchiveContent::Kind_BZIP2:
        return tr("The theme file is not a gzip-compressed tar archive: it is compressed with "
                  "bzip2.");
    case ArchiveContent::Kind_ZSTD:
        return tr("The theme file is not a gzip-compressed tar archive: it is compressed with "
                  "zstd.");
    case ArchiveContent::Kind_ZIP:
        return tr("The theme file is not a gzip-compressed tar archive: it is a zip archive.");
    case ArchiveContent::Kind_OTHER:
        break;
    }
    return tr("The theme file is not a gzip-compressed tar archive.");
}

// Why a member that the archive reader refused makes the bundle unreadable: what the member is.
QString memberFaultText(TargzArchive::ReadResult result, const QString& member,
                        const QString& target)
{
    switch (result) {
    case TargzArchive::ReadResult::LinkToItself:
        return tr("Member '%1' of the theme bundle is a hard link to itself.").arg(member);
    case TargzArchive::ReadResult::LinkToNoEarlierMember:
        return tr("Member '%1' of the theme bundle is a hard link to '%2', which no member "
                  "before it holds.")
            .arg(member, target);
    case TargzArchive::ReadResult::LinkToFolder:
        return tr("Member '%1' of the theme bundle is a hard link to '%2', which is a folder, "
                  "not a file.")
            .arg(member, target);
    case TargzArchive::ReadResult::LinkToNonRegular:
        return tr("Member '%1' of the theme bundle is a hard link to '%2', which is not a "
                  "regular file.")
            .arg(member, target);
    case TargzArchive::ReadResult::BadSparseMap:
        return tr("Member '%1' of the theme bundle is a sparse file whose map of data and holes "
                  "is damaged.")
            .arg(member);
    case TargzArchive::ReadResult::SparseMapTooLong:
        return tr("Member '%1' of the theme bundle is a sparse file whose map of data and holes "
                  "has more than %2 entries.")
            .arg(member)
            .arg(TarHeaders::MaxSparseEntries);
    case TargzArchive::ReadResult::UnknownSparseForm:
        return tr("Member '%1' of the theme bundle is a sparse file of a form this program "
                  "does not read.")
            .arg(member);
    default:
        break;
    }
    return tr("The theme bundle is damaged or cut short.");
}

} // namespace

const ThemeReader::Limits& ThemeReader::limits()
{
    return currentLimits();
}

void ThemeReader::setLimits(const Limits& limits)
{
    currentLimits() = limits;
}

bool ThemeReader::isImageMemberName(const QString& name)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("landscape_splash_image|portrait_splash_image|"
                       "(?:image|icon|control_image|skin_image)_[0-9]{1,10}")));
    return pattern.match(name).hasMatch();
}

ThemeReader::ThemeReader() : m_folderNumber(takeLowestFreeFolderNumber())
{
    // Without a folder of this process the reader has none: members stay in memory anyway.
    const QString processFolder = TemporaryDirectory::processFolder();
    if (!processFolder.isEmpty()) {
        m_folder.setPath(
            QStringLiteral("%1/velmora_theme_reader_%2").arg(processFolder).arg(m_folderNumber),
            true);
    }
}

ThemeReader::~ThemeReader()
{
    setDevice(nullptr);
    m_xmlDevice.reset();
    folderNumbersInUse().erase(m_folderNumber);
    // The temporary folder goes with m_folder.
}

void ThemeReader::dropBundle()
{
    // Detaches the document (and forgets its error) before its bytes go.
    clear();
    m_xmlDevice.reset();
    m_members.clear();
    m_memberNames.clear();
    m_contents.clear();
    m_otherKinds.clear();
    m_derived.clear();
    m_xmlMember.clear();
}

bool ThemeReader::open(const QString& bundlePath)
{
    dropBundle();
    m_bundlePath = bundlePath;
    m_version = 0;

    // Anything but a regular file (a pipe would never end) is not opened at all; the refusal
    // says what is there. Everything after is learnt from the file opened, never from the path
    // again, which may name something else by then.
    QFile file;
    const RegularFile::Result found =
        bundlePath.isEmpty() ? RegularFile::Result_MISSING : RegularFile::open(file, bundlePath);
    if (found == RegularFile::Result_MISSING) {
        // A link to nothing is there, though nothing is at its end.
        const QString target = QFileInfo(bundlePath).symLinkTarget();
        raiseError(target.isEmpty()
                       ? tr("The theme file does not exist.")
                       : tr("The theme file is a symbolic link to '%1', which does not exist.")
                             .arg(target));
        return false;
    }
    if (found != RegularFile::Result_OPENED) {
        raiseError(RegularFile::message(found));
        return false;
    }
    struct stat status;
    if (::fstat(file.handle(), &status) != 0) {
        raiseError(RegularFile::message(RegularFile::Result_FAILED));
        return false;
    }
    if (status.st_size == 0) {
        raiseError(tr("The theme file is empty."));
        return false;
    }
    const Limits& bounds = limits();
    TargzArchive archive;
    TargzArchive::MemoryRead read;
    const TargzArchive::ReadResult result = archive.readIntoMemory(
        file.handle(), {bounds.memberCount, bounds.memberSize, bounds.totalSize},
        [](const QString& name) { return isImageMemberName(name) || isXmlMemberName(name); }, read);
    switch (result) {
    case TargzArchive::ReadResult::Read:
        break;
    case TargzArchive::ReadResult::TooManyMembers:
        raiseError(tr("The theme bundle holds more than %1 members.").arg(bounds.memberCount));
        return false;
    case TargzArchive::ReadResult::MemberTooLarge:
        raiseError(tr("Member '%1' of the theme bundle is larger than %2.")
                       .arg(read.culprit, sizeText(bounds.memberSize)));
        return false;
    case TargzArchive::ReadResult::TooLarge:
        raiseError(
            tr("The theme bundle holds more than %1 of data.").arg(sizeText(bounds.totalSize)));
        return false;
    case TargzArchive::ReadResult::PaxHeaderTooLarge:
        raiseError(tr("The theme bundle holds an extended header larger than %1.")
                       .arg(sizeText(qint64(TarHeaders::MaxPaxHeaderSize))));
        return false;
    case TargzArchive::ReadResult::Unreadable:
        raiseError(unreadableText(file.handle()));
        return false;
    default:
        raiseError(memberFaultText(result, read.culprit, read.linkTarget));
        return false;
    }
    m_members = std::move(read.names);
    m_contents = std::move(read.contents);
    m_otherKinds = std::move(read.otherKinds);
    // The sidecars that macOS archivers add hold no part of the theme.
    m_members.removeIf(isSidecarName);
    m_memberNames = QSet<QString>(m_members.cbegin(), m_members.cend());
    QString nestedXml;
    QString xmlFolder;
    for (const QString& member : qAsConst(m_members)) {
        if (!isXmlMemberName(member)) {
            // An archiver writes a folder "Blue.xml" as "Blue.xml/".
            const QString path = member.endsWith(u'/') ? member.chopped(1) : QString();
            if (xmlFolder.isEmpty() && isFlatName(path) && isXmlMemberName(path) &&
                memberKind(path) == TargzArchive::MemberKind::Folder)
                xmlFolder = path;
            continue;
        }
        if (member.contains(u'/')) {
            if (nestedXml.isEmpty())
                nestedXml = member;
            continue;
        }
        m_xmlMember = member;
        break;
    }
    if (m_xmlMember.isEmpty() && !xmlFolder.isEmpty())
        m_xmlMember = xmlFolder;
    if (m_xmlMember.isEmpty()) {
        m_contents.clear();
        raiseError(nestedXml.isEmpty()
                       ? tr("The theme bundle holds no theme document (a member whose name ends "
                            "in \".xml\").")
                       : tr("The theme document is not at the top of the bundle: '%1' is inside "
                            "a folder. Pack the files of the theme, not the folder that holds "
                            "them.")
                             .arg(nestedXml));
        return false;
    }
    if (!m_contents.contains(m_xmlMember)) {
        raiseError((memberKind(m_xmlMember) == TargzArchive::MemberKind::Folder
                        ? tr("The theme document '%1' of the bundle is a folder, not a file.")
                        : tr("The theme document '%1' of the bundle is not a regular file."))
                       .arg(m_xmlMember));
        m_contents.clear();
        return false;
    }
    // The other documents are of no use.
    for (auto it = m_contents.begin(); it != m_contents.end();) {
        if (it.key() != m_xmlMember && !isImageMemberName(it.key()))
            it = m_contents.erase(it);
        else
            ++it;
    }
    // A document that is not well-formed is read up to its fault, as it always was.
    const XmlShape::Check shape(m_contents.value(m_xmlMember), bounds.document);
    if (shape.result() != XmlShape::Result_FINE &&
        shape.result() != XmlShape::Result_NOT_WELL_FORMED) {
        m_members.clear();
        m_memberNames.clear();
        m_contents.clear();
        m_otherKinds.clear();
        m_xmlMember.clear();
        raiseError(shape.message());
        return false;
    }
    return openDocument();
}

bool ThemeReader::openDocument()
{
    clear();
    m_xmlDevice.reset();
    const auto document = m_contents.constFind(m_xmlMember);
    if (m_xmlMember.isEmpty() || document == m_contents.constEnd())
        return false;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(*document);
    if (!buffer->open(QIODevice::ReadOnly))
        return false;
    m_xmlDevice = std::move(buffer);
    setDevice(m_xmlDevice.get());
    m_version = 0;
    m_skinCount = 0;
    return true;
}

QString ThemeReader::extractXmlFile()
{
    return m_xmlMember.isEmpty() ? QString() : extractMember(m_xmlMember);
}

bool ThemeReader::hasMember(const QString& memberName) const
{
    return m_memberNames.contains(memberName);
}

QByteArray ThemeReader::memberData(const QString& memberName) const
{
    return m_contents.value(memberName);
}

TargzArchive::MemberKind ThemeReader::memberKind(const QString& memberName) const
{
    return m_otherKinds.value(memberName, TargzArchive::MemberKind::File);
}

QString ThemeReader::extractMember(const QString& memberName)
{
    const auto held = m_contents.constFind(memberName);
    if (m_folder.path().isEmpty() || !isFlatName(memberName) || held == m_contents.constEnd())
        return QString();
    const QString target = m_folder.dir().absoluteFilePath(memberName);
    // A file or link of that name goes first: the member is never written through a link.
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        QFile::remove(target);
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(*held) != held->size() || !file.flush()) {
        file.remove();
        return QString();
    }
    return QFileInfo(target).absoluteFilePath();
}

smart_ptr<Velmora::ImageData> ThemeReader::imageOfMember(const QString& memberName)
{
    const auto held = m_contents.constFind(memberName);
    if (held == m_contents.constEnd())
        return smart_ptr<Velmora::ImageData>();
    // A read that only checks the bundle keeps no image: the digest is not worth computing.
    if (m_checkingOnly)
        return smart_ptr<Velmora::ImageData>(new Velmora::ImageData);
    Derived& derived = m_derived[memberName];
    if (!derived.image) {
        derived.image = std::make_unique<Velmora::ImageData>();
        derived.image->setData(*held);
    }
    return smart_ptr<Velmora::ImageData>(derived.image->clone());
}

QImage ThemeReader::pictureOfMember(const QString& memberName)
{
    Derived& derived = m_derived[memberName];
    if (!derived.pictureDecoded) {
        derived.picture = QImage::fromData(m_contents.value(memberName));
        derived.pictureDecoded = true;
    }
    return derived.picture;
}

QSize ThemeReader::pictureSizeOfMember(const QString& memberName)
{
    Derived& derived = m_derived[memberName];
    if (!derived.sizeRead) {
        // Only the header is read: the size of a picture that is never decoded costs nothing.
        QBuffer buffer;
        buffer.setData(m_contents.value(memberName));
        buffer.open(QIODevice::ReadOnly);
        derived.size = QImageReader(&buffer).size();
        derived.sizeRead = true;
    }
    return derived.size;
}

bool ThemeReader::withinImageLimits(const QString& memberName)
{
    const QSize size = pictureSizeOfMember(memberName);
    const int side = limits().imageSide;
    return !size.isValid() || (size.width() <= side && size.height() <= side);
}

bool ThemeReader::countSkin()
{
    if (++m_skinCount <= limits().skinCount)
        return true;
    raiseError(tr("The theme bundle holds more than %1 skins.").arg(limits().skinCount));
    return false;
}

void ThemeReader::closeDevice()
{
    // The device stays attached until the next open or the reader's end: detaching it now
    // would also wipe the stream reader's error, which the caller still reads.
    if (m_xmlDevice)
        m_xmlDevice->close();
}
