#include "velmora_objects/theme_library.h"

#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library_data.h"
#include "velmora_objects/theme_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStandardItemModel>
#include <new>

namespace {

// The icon of a row: the landscape splash (Normal mode) and the portrait splash (Disabled
// mode), decoded from the bundle's bytes when a view first asks for them, so that the themes
// offered cost nothing to draw until they are shown.
class SplashIconEngine : public QIconEngine
{
public:
    SplashIconEngine(const QByteArray& landscape, const QByteArray& portrait)
        : m_landscape(landscape), m_portrait(portrait)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("velmora-splash"); }
    QIconEngine* clone() const override { return new SplashIconEngine(*this); }

private:
    const QIcon& icon()
    {
        if (!m_decoded) {
            m_decoded = true;
            QPixmap landscape;
            QPixmap portrait;
            landscape.loadFromData(m_landscape);
            portrait.loadFromData(m_portrait);
            m_icon.addPixmap(landscape, QIcon::Normal, QIcon::Off);
            m_icon.addPixmap(portrait, QIcon::Disabled, QIcon::Off);
        }
        return m_icon;
    }

    QByteArray m_landscape;
    QByteArray m_portrait;
    bool m_decoded = false;
    QIcon m_icon;
};

} // namespace

ThemeLibrary* ThemeLibrary::instance()
{
    static ThemeLibrary* const library = new ThemeLibrary;
    return library;
}

ThemeLibrary::ThemeLibrary() : m_model(new QStandardItemModel) {}

ThemeLibrary::~ThemeLibrary() = default;

void ThemeLibrary::setFileExtension(const QString& extension)
{
    QString pattern;
    if (extension.startsWith(QLatin1String("*.")))
        pattern = extension;
    else if (extension.startsWith(QLatin1Char('.')))
        pattern = QLatin1Char('*') + extension;
    else
        pattern = QLatin1String("*.") + extension;
    m_nameFilters = QStringList{pattern};
}

void ThemeLibrary::reset()
{
    m_model->removeRows(0, m_model->rowCount());
    m_pending.clear();
    m_refused.clear();
    m_nameFilters.clear();
}

QStandardItemModel* ThemeLibrary::model() const
{
    scanPendingFolders();
    return m_model.get();
}

bool ThemeLibrary::scanFolder(const QString& folder, bool recursive, bool builtIn)
{
    scanPendingFolders();
    std::set<QString> visited;
    return scanFolder(folder, recursive, builtIn, visited);
}

const QList<ThemeLibrary::Refusal>& ThemeLibrary::refusedThemes() const
{
    scanPendingFolders();
    return m_refused;
}

void ThemeLibrary::scanFolderLater(const QString& folder, bool recursive, bool builtIn)
{
    m_pending.push_back({folder, recursive, builtIn});
}

void ThemeLibrary::scanPendingFolders() const
{
    // Taken first: the scans below ask nothing of the library, but a call made while they run
    // must not start them again.
    const std::vector<PendingScan> pending = std::move(m_pending);
    m_pending.clear();
    for (const PendingScan& scan : pending) {
        std::set<QString> visited;
        scanFolder(scan.folder, scan.recursive, scan.builtIn, visited);
    }
}

bool ThemeLibrary::scanFolder(const QString& folder, bool recursive, bool builtIn,
                              std::set<QString>& visited) const
{
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir())
        return false;
    // A folder met again through a link has been scanned (or is being scanned) already.
    if (!visited.insert(info.canonicalFilePath()).second)
        return true;

    const QDir dir(folder);
    {
        // One reader for the folder's bundles; its read for the row makes every check of the
        // full read, so that a bundle which cannot be loaded is not offered. Every entry of a
        // bundle's name but a folder is read, whatever it is (a FIFO, a socket, a link to
        // nothing or in a loop), so that each is listed or left out with the reader's reason,
        // also when it takes another kind of node's place while the folder is scanned.
        ThemeReader reader;
        const QFileInfoList files = dir.entryInfoList(
            m_nameFilters, QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
        for (const QFileInfo& file : files) {
            const QString path = file.absoluteFilePath();
            Velmora::ThemeLibraryData data;
            QString reason;
            if (readRow(reader, path, data, &reason))
                appendRow(data, path, builtIn);
            else
                m_refused.append({path, reason});
        }
    }

    if (recursive) {
        const QFileInfoList folders =
            dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
        for (const QFileInfo& subFolder : folders) {
            if (!scanFolder(subFolder.absoluteFilePath(), true, true, visited))
                return false;
        }
    }
    return true;
}

QString ThemeLibrary::listedPath(const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool ThemeLibrary::addTheme(const QString& path, bool builtIn, QString* error)
{
    scanPendingFolders();
    Velmora::ThemeLibraryData data;
    ThemeReader reader;
    QString reason;
    if (!readRow(reader, path, data, &reason)) {
        if (error)
            *error = reason;
        return false;
    }
    appendRow(data, listedPath(path), builtIn);
    return true;
}

bool ThemeLibrary::readRow(ThemeReader& reader, const QString& path,
                           Velmora::ThemeLibraryData& data, QString* reason)
{
    try {
        if (reader.readLibraryData(path, data))
            return true;
        *reason = reader.errorString();
    } catch (const std::bad_alloc&) {
        // The reader has let go of the bundle: the reason fits.
        *reason = Velmora::Theme::notEnoughMemoryText();
    }
    return false;
}

void ThemeLibrary::appendRow(const Velmora::ThemeLibraryData& data, const QString& path,
                             bool builtIn) const
{
    auto* item = new QStandardItem(
        QIcon(new SplashIconEngine(data.landscapeSplash, data.portraitSplash)), data.name);
    item->setData(path, PathRole);
    item->setData(builtIn, BuiltInRole);
    m_model->appendRow(item);
}

QModelIndex ThemeLibrary::findTheme(const QString& path) const
{
    scanPendingFolders();
    const QString listed = listedPath(path);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QStandardItem* item = m_model->item(row);
        if (item && item->data(PathRole).toString() == listed)
            return item->index();
    }
    return QModelIndex();
}

QString ThemeLibrary::themePath(const QModelIndex& index) const
{
    scanPendingFolders();
    const QStandardItem* item = m_model->itemFromIndex(index);
    return item ? item->data(PathRole).toString() : QString();
}

QString ThemeLibrary::themePathAt(int row) const
{
    scanPendingFolders();
    const QStandardItem* item = m_model->item(row);
    return item ? item->data(PathRole).toString() : QString();
}

void ThemeLibrary::removeTheme(const QModelIndex& index)
{
    scanPendingFolders();
    if (index.isValid() && index.model() == m_model.get())
        m_model->removeRow(index.row(), index.parent());
}
