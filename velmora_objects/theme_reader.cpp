#include "velmora_objects/theme_reader.h"

#include "core/targz_archive.h"

#include <QDir>
#include <QFileInfo>
#include <set>

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

// A shell pattern that matches exactly the given name: every character that the pattern
// syntax gives a meaning is escaped.
QString exactPattern(const QString& name)
{
    QString pattern;
    pattern.reserve(name.size() * 2);
    for (QChar c : name) {
        if (c == u'*' || c == u'?' || c == u'[' || c == u']' || c == u'\\')
            pattern += u'\\';
        pattern += c;
    }
    return pattern;
}

// A name that stands for a file directly inside a folder.
bool isFlatName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(QChar(0));
}

} // namespace

ThemeReader::ThemeReader() : m_folderNumber(takeLowestFreeFolderNumber())
{
    m_folder.setPath(QStringLiteral("%1/velmora_theme_reader_%2")
                         .arg(TemporaryDirectory::applicationDataFolder())
                         .arg(m_folderNumber),
                     true);
}

ThemeReader::~ThemeReader()
{
    setDevice(nullptr);
    m_xmlDevice.reset();
    folderNumbersInUse().erase(m_folderNumber);
    // The temporary folder goes with m_folder.
}

bool ThemeReader::open(const QString& bundlePath)
{
    // Detaches the previous document (and forgets its error) before that file goes.
    clear();
    m_xmlDevice.reset();
    m_bundlePath = bundlePath;
    m_members.clear();
    m_version = 0;

    TargzArchive archive;
    if (!archive.list(bundlePath, m_members))
        return false;
    const QString xmlPath = extractXmlFile();
    if (xmlPath.isEmpty())
        return false;
    auto device = std::make_unique<QFile>(xmlPath);
    if (!device->open(QIODevice::ReadOnly))
        return false;
    m_xmlDevice = std::move(device);
    setDevice(m_xmlDevice.get());
    return true;
}

QString ThemeReader::extractXmlFile()
{
    for (const QString& member : m_members) {
        if (QFileInfo(member).suffix() == QLatin1String("xml"))
            return extractMember(member);
    }
    return QString();
}

bool ThemeReader::hasMember(const QString& memberName) const
{
    return m_members.contains(memberName, Qt::CaseSensitive);
}

QString ThemeReader::extractMember(const QString& memberName)
{
    if (m_folder.path().isEmpty() || !isFlatName(memberName) || !hasMember(memberName))
        return QString();
    const QString target = m_folder.dir().absoluteFilePath(memberName);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        QFile::remove(target);
    TargzArchive archive;
    if (!archive.extract(m_bundlePath, exactPattern(memberName), m_folder.dir().absolutePath()))
        return QString();
    const QFileInfo extracted(target);
    if (!extracted.isFile() || extracted.isSymLink())
        return QString();
    return extracted.absoluteFilePath();
}

void ThemeReader::closeDevice()
{
    // The file object stays attached until the next open or the reader's end: detaching it
    // now would also wipe the stream reader's error, which the caller still reads.
    if (m_xmlDevice)
        m_xmlDevice->close();
}
