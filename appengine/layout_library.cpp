#include "appengine/layout_library.h"

#include "core/assertion.h"
#include "core/regular_file.h"
#include "core/xml_schema_validator.h"
#include "core/xml_shape.h"
#include "velmora_objects/velmora_types.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSet>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QtConcurrent>
#include <new>
#include <stdexcept>

namespace {

LayoutLibrary* theLibrary = nullptr;

} // namespace

// What one load gives to the library's thread.
struct LayoutLibrary::LoadedLayouts
{
    struct ValidationMessage
    {
        QString message;
        QUrl document;
        int line = 0;
        int column = 0;
    };

    std::vector<std::unique_ptr<LayoutRecord>> records; // without the blank row
    std::vector<ValidationMessage> messages;
};

namespace {

// The loader's state while it reads the folders on a pool thread. It never touches the
// library: everything it makes goes into `loaded`.
class LayoutLoader
{
public:
    LayoutLoader(std::shared_ptr<const XmlSchemaValidator> schema, QThread* target)
        : schema(std::move(schema)), target(target),
          loaded(std::make_shared<LayoutLibrary::LoadedLayouts>())
    {
        // The blank row holds the empty name.
        names.insert(QString());
    }

    // The folder's "*.xml" files (any letter case, no hidden ones) in the file system's order.
    void scanDirectory(const QString& folder)
    {
        const QStringList entries =
            QDir(folder).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Unsorted);
        for (const QString& entry : entries) {
            const QString path = QDir(folder).absoluteFilePath(entry);
            try {
                addLayout(path);
            } catch (const std::bad_alloc&) {
                // What the read of the file took is free again; the file is left out, saying
                // why, as one that does not validate is.
                loaded->messages.push_back(
                    {LayoutLibrary::tr("There is not enough memory to read the layout"),
                     QUrl::fromLocalFile(path), 0, 0});
            }
        }
    }

    std::shared_ptr<LayoutLibrary::LoadedLayouts> result() const { return loaded; }

private:
    void addLayout(const QString& path)
    {
        QFile file;
        // A file beyond the reader's limit would be refused by it anyway, after being read
        // and validated in full.
        if (RegularFile::open(file, path) != RegularFile::Result_OPENED ||
            file.size() > LayoutTemplate::MaxDocumentBytes)
            return;
        const QByteArray bytes = file.readAll();
        file.close();

        // The shape first: the schema's parser takes time that grows with the square of the
        // attributes of one element. A document that is not well-formed is left to the schema's
        // parser to report.
        const QUrl document = QUrl::fromLocalFile(path);
        const XmlShape::Check shape(bytes, LayoutTemplate::ShapeLimits);
        if (shape.result() != XmlShape::Result_FINE &&
            shape.result() != XmlShape::Result_NOT_WELL_FORMED) {
            // Within the document's bounded size: both fit an int.
            loaded->messages.push_back(
                {shape.message(), document, int(shape.line()), int(shape.column())});
            return;
        }
        std::vector<XmlSchemaValidator::Error> errors;
        if (!schema->validate(bytes, &errors)) {
            for (const XmlSchemaValidator::Error& error : errors)
                loaded->messages.push_back({error.message, document, error.line, error.column});
            return;
        }
        auto record = std::make_unique<LayoutLibrary::LayoutRecord>();
        if (!record->layoutTemplate.load(bytes))
            return;
        record->name = record->layoutTemplate.getName();
        if (names.contains(record->name))
            return;
        names.insert(record->name);
        // The tree's layouts were made on this thread; the library uses them on its own.
        record->layoutTemplate.moveToThread(target);
        loaded->records.push_back(std::move(record));
    }

    std::shared_ptr<const XmlSchemaValidator> schema;
    QThread* target;
    std::shared_ptr<LayoutLibrary::LoadedLayouts> loaded;
    QSet<QString> names;
};

std::shared_ptr<LayoutLibrary::LoadedLayouts>
loadLayouts(const QString& systemDir, const QString& userDir,
            const std::shared_ptr<const XmlSchemaValidator>& schema, QThread* target)
{
    LayoutLoader loader(schema, target);
    // Nothing may be thrown to the library, which takes the result in a slot: short of memory
    // even for a file's reason, the load ends with what it has.
    try {
        loader.scanDirectory(systemDir);
        if (!userDir.isEmpty() && QDir(userDir).exists())
            loader.scanDirectory(userDir);
    } catch (const std::bad_alloc&) {
    }
    return loader.result();
}

} // namespace

void LayoutLibrary::init(const QString& systemDir, const QString& userDir)
{
    if (theLibrary)
        return;
    theLibrary = new LayoutLibrary(systemDir, userDir);
    theLibrary->refresh();
}

LayoutLibrary* LayoutLibrary::instance()
{
    LayoutLibrary* const instance = theLibrary;
    VELMORA_ASSERT(instance);
    return instance;
}

void LayoutLibrary::destroyInstance()
{
    delete theLibrary;
    theLibrary = nullptr;
}

QString LayoutLibrary::defaultUserDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/%1/%2/Layouts")
               .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

LayoutLibrary::LayoutLibrary(const QString& systemDir, const QString& userDir)
    : m_errorModel(new QStandardItemModel(this)), systemDir(systemDir), userDir(userDir)
{
    if (!userDir.isEmpty() && !QDir(userDir).exists())
        QDir(userDir).mkpath(QStringLiteral("."));
    connect(&watcher, &QFutureWatcherBase::started, this, &LayoutLibrary::refreshStarted);
    connect(&watcher, &QFutureWatcherBase::finished, this, &LayoutLibrary::takeLoadedLayouts);
}

LayoutLibrary::~LayoutLibrary()
{
    if (watcher.isRunning())
        watcher.waitForFinished();
}

void LayoutLibrary::refresh()
{
    if (loading) {
        reloadQueued = true;
        return;
    }
    startLoad();
}

bool LayoutLibrary::isRefreshing() const
{
    return loading;
}

void LayoutLibrary::startLoad()
{
    // Read here, so that an edited schema counts from the next load on; only read afterwards,
    // so the loader may use it on its thread.
    auto schema = std::make_shared<const XmlSchemaValidator>(systemDir + "/layout.xsd");
    const XmlSchemaValidator& layoutSchema = *schema;
    VELMORA_ASSERT(layoutSchema.isValid());
    loading = true;
    watcher.setFuture(QtConcurrent::run(loadLayouts, systemDir, userDir, schema, thread()));
}

void LayoutLibrary::takeLoadedLayouts()
{
    const std::shared_ptr<LoadedLayouts> loaded = watcher.result();

    beginResetModel();
    records.clear();
    rowOfName.clear();
    records.push_back(std::make_unique<LayoutRecord>());
    rowOfName.emplace(QString(), 0);
    endResetModel();
    for (auto& record : loaded->records)
        appendRecord(std::move(record));
    loaded->records.clear();

    for (const LoadedLayouts::ValidationMessage& message : loaded->messages) {
        auto item = new QStandardItem(message.message);
        item->setData(message.document, DocumentRole);
        item->setData(qint64(message.line), LineRole);
        item->setData(qint64(message.column), ColumnRole);
        m_errorModel->appendRow(item);
    }

    loading = false;
    emit refreshFinished();
    if (reloadQueued) {
        reloadQueued = false;
        startLoad();
    }
}

void LayoutLibrary::appendRecord(std::unique_ptr<LayoutRecord> record)
{
    const int row = int(records.size());
    beginInsertRows(QModelIndex(), row, row);
    rowOfName.emplace(record->name, row);
    records.push_back(std::move(record));
    endInsertRows();
}

int LayoutLibrary::rowCount(const QModelIndex&) const
{
    return int(records.size());
}

QVariant LayoutLibrary::data(const QModelIndex& index, int role) const
{
    if (index.row() < 0 || index.column() < 0 || !index.model() ||
        index.row() >= int(records.size()))
        return QVariant();
    LayoutRecord& record = *records[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return record.name;
    case Qt::DecorationRole:
        if (record.icon.isNull()) {
            const int orientations[] = {Velmora::Orientation_LANDSCAPE,
                                        Velmora::Orientation_PORTRAIT};
            const QIcon::Mode modes[] = {QIcon::Normal, QIcon::Disabled};
            for (int i = 0; i < 2; ++i) {
                const QPixmap pixmap =
                    record.name.isEmpty()
                        ? blankThumbnail(orientations[i])
                        : QPixmap::fromImage(record.layoutTemplate.renderThumbnail(
                              orientations[i], thumbnailSize(orientations[i])));
                record.icon.addPixmap(pixmap, modes[i], QIcon::Off);
            }
        }
        return record.icon;
    case OrientationRole:
        return QVariant::fromValue(Velmora::Orientation(record.layoutTemplate.getOrientation()));
    default:
        return QVariant();
    }
}

QModelIndex LayoutLibrary::indexOf(const QString& name) const
{
    const auto found = rowOfName.find(name);
    return found == rowOfName.end() ? QModelIndex() : index(found->second, 0);
}

LayoutTemplate& LayoutLibrary::find(const QString& name)
{
    const auto found = rowOfName.find(name);
    if (found == rowOfName.end())
        throw std::runtime_error("Layout not found");
    return records[size_t(found->second)]->layoutTemplate;
}

bool LayoutLibrary::hasErrors() const
{
    return m_errorModel->rowCount() > 0;
}

QSize LayoutLibrary::thumbnailSize(int orientation)
{
    return orientation == Velmora::Orientation_PORTRAIT ? QSize(68, 120) : QSize(120, 68);
}

QPixmap LayoutLibrary::blankThumbnail(int orientation)
{
    static QPixmap thumbnails[2];
    QPixmap& thumbnail = thumbnails[orientation == Velmora::Orientation_PORTRAIT ? 1 : 0];
    if (thumbnail.isNull()) {
        const QSize size = thumbnailSize(orientation);
        thumbnail = QPixmap(size);
        thumbnail.fill(Qt::white);
        QPainter painter(&thumbnail);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    }
    return thumbnail;
}
