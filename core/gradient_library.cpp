#include "core/gradient_library.h"

#include "core/assertion.h"
#include "core/regular_file.h"
#include "core/whole_file.h"
#include "core/xml_characters.h"
#include "core/xml_schema_validator.h"
#include "core/xml_shape.h"

#include <QApplication>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QItemSelection>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>
#include <QXmlStreamWriter>
#include <algorithm>
#include <new>

namespace {

// The library made by initialise(). It lives until the program ends and is never destroyed
// (but by tests): nothing is saved implicitly at exit.
GradientLibrary* theLibrary = nullptr;
// Whether its folders have been read (on the first call of instance()).
bool theLibraryLoaded = false;

// The type stored in a row, or false when the row holds no value of exactly that type (a
// plain number does not count: it would convert silently).
bool gradientTypeOf(const QModelIndex& index, GradientLibrary::GradientType* type)
{
    const QVariant value = index.data(GradientLibrary::GradientTypeRole);
    if (value.metaType() != QMetaType::fromType<GradientLibrary::GradientType>())
        return false;
    *type = value.value<GradientLibrary::GradientType>();
    return true;
}

bool isRemovable(const QModelIndex& index)
{
    GradientLibrary::GradientType type;
    return gradientTypeOf(index, &type) && type != GradientLibrary::BuiltInGradient;
}

} // namespace

void GradientLibrary::initialise(const QString& builtInDirectory, const QString& userDirectory)
{
    if (theLibrary)
        return;
    theLibrary = new GradientLibrary(builtInDirectory, userDirectory);
}

GradientLibrary* GradientLibrary::instance()
{
    GradientLibrary* const instance = theLibrary;
    VELMORA_ASSERT(instance);
    // The folders are read when a view or an edit first needs the gradients, not while the
    // editor starts.
    if (!theLibraryLoaded) {
        theLibraryLoaded = true;
        instance->load();
    }
    return instance;
}

void GradientLibrary::destroyInstance()
{
    delete theLibrary;
    theLibrary = nullptr;
    theLibraryLoaded = false;
}

QString GradientLibrary::defaultUserDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/%1/%2/Gradients")
               .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

GradientLibrary::GradientLibrary(const QString& builtInDirectory, const QString& userDirectory)
    : builtInDir(builtInDirectory), userDir(userDirectory),
      m_errorModel(new QStandardItemModel(this))
{
    if (!userDir.isEmpty() && !QDir(userDir).exists())
        QDir(userDir).mkpath(QStringLiteral("."));
}

GradientLibrary::~GradientLibrary() = default;

QModelIndex GradientLibrary::addGradient(const Gradient& gradient, GradientType type,
                                         const QString& packName, const QString& filePath)
{
    QString path = filePath;
    if (path.isEmpty() && type == UserGradient && !userDir.isEmpty())
        path = QDir(userDir).filePath(QStringLiteral("user.xml"));

    auto* item = new QStandardItem(gradient.name());
    item->setData(QVariant::fromValue(gradient), GradientRole);
    item->setData(QVariant::fromValue(type), GradientTypeRole);
    item->setData(packName, PackNameRole);
    item->setData(path, FilePathRole);
    item->setData(gradientIcon(gradient.stops()), Qt::DecorationRole);
    invisibleRootItem()->appendRow(item);
    return item->index();
}

QModelIndex GradientLibrary::findStops(const GradientStops& stops) const
{
    if (stops.isEmpty())
        return QModelIndex();
    for (int row = 0; row < rowCount(); ++row) {
        const QModelIndex candidate = index(row, 0);
        if (gradientStopsEqual(candidate.data(GradientRole).value<Gradient>().stops(), stops))
            return candidate;
    }
    return QModelIndex();
}

QModelIndex GradientLibrary::find(const Gradient& gradient)
{
    const QModelIndex found = findStops(gradient.stops());
    if (found.isValid())
        return found;
    return addGradient(gradient, ExternalGradient, QString(), QString());
}

Gradient GradientLibrary::gradientForStops(const GradientStops& stops)
{
    QModelIndex found = findStops(stops);
    if (!found.isValid()) {
        Gradient gradient;
        gradient.setStops(stops);
        found = addGradient(gradient, ExternalGradient, QString(), QString());
    }
    return found.data(GradientRole).value<Gradient>();
}

void GradientLibrary::setGradient(const QModelIndex& index, const Gradient& gradient)
{
    QStandardItem* item = itemFromIndex(index);
    VELMORA_ASSERT(item);
    item->setText(gradient.name());
    item->setData(QVariant::fromValue(gradient), GradientRole);
    item->setData(true, ModifiedRole);
    item->setData(gradientIcon(gradient.stops()), Qt::DecorationRole);
}

QModelIndex GradientLibrary::newGradient()
{
    Gradient gradient;
    gradient.setName(tr("New Gradient"));
    gradient.setStops({{0.0, QColor(Qt::black)}, {1.0, QColor(Qt::white)}});
    const QModelIndex added = addGradient(gradient, UserGradient, QString(), QString());
    setData(added, true, ModifiedRole);
    return added;
}

QModelIndex GradientLibrary::copyGradient(const QModelIndex& index)
{
    Gradient copy = index.data(GradientRole).value<Gradient>();
    copy.setName(tr("Copy of %1").arg(copy.name()));
    QString packName, filePath;
    GradientType type;
    if (gradientTypeOf(index, &type) && type == UserGradient) {
        packName = index.data(PackNameRole).toString();
        filePath = index.data(FilePathRole).toString();
    }
    const QModelIndex added = addGradient(copy, UserGradient, packName, filePath);
    setData(added, true, ModifiedRole);
    return added;
}

void GradientLibrary::removeGradient(const QModelIndex& index)
{
    if (!isRemovable(index))
        return;
    markFileForSaving(index);
    removeRows(index.row(), 1);
}

void GradientLibrary::removeGradients(const QItemSelection& selection)
{
    std::vector<int> rows;
    for (const QModelIndex& index : selection.indexes()) {
        if (!isRemovable(index))
            continue;
        markFileForSaving(index);
        rows.push_back(index.row());
    }
    // From the bottom up, so that the rows still to go keep their numbers; a row listed twice
    // goes once.
    std::sort(rows.begin(), rows.end());
    int lastRemoved = -1;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (*row == lastRemoved)
            continue;
        removeRows(*row, 1);
        lastRemoved = *row;
    }
}

void GradientLibrary::markFileForSaving(const QModelIndex& index)
{
    const QString path = index.data(FilePathRole).toString();
    if (!path.isEmpty())
        filesToSave.insert(std::make_pair(index.data(PackNameRole).toString(), path));
}

void GradientLibrary::load()
{
    // An empty folder name would mean the working folder: it stands for no folder.
    if (!builtInDir.isEmpty())
        loadFolder(QDir(builtInDir), BuiltInGradient);
    if (!userDir.isEmpty() && QDir(userDir).exists())
        loadFolder(QDir(userDir), UserGradient);
}

void GradientLibrary::loadFolder(const QDir& folder, GradientType type)
{
    const QFileInfoList files = folder.entryInfoList(
        {QStringLiteral("*.xml")}, QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& file : files)
        loadFile(file.absoluteFilePath(), type);
}

void GradientLibrary::loadFile(const QString& filePath, GradientType type)
{
    // A file this process has not the memory to read (its bytes, their checks, the document
    // tree) is left out whole, saying why: a pack kept in part would be saved in part. What the
    // read had taken is free again by the time the reason is written.
    const int rows = rowCount();
    try {
        readFile(filePath, type);
    } catch (const std::bad_alloc&) {
        if (rowCount() > rows)
            removeRows(rows, rowCount() - rows);
        addError(filePath, tr("There is not enough memory to read the file"));
    }
}

void GradientLibrary::readFile(const QString& filePath, GradientType type)
{
    QFile file;
    const RegularFile::Result opened = RegularFile::open(file, filePath);
    if (opened != RegularFile::Result_OPENED) {
        addError(filePath, RegularFile::message(opened));
        return;
    }
    // A file that is not what its size says (a pipe, a growing file) is cut at the bound.
    const bool tooLarge = file.size() > MaxPackBytes;
    const QByteArray contents = tooLarge ? QByteArray() : file.read(MaxPackBytes + 1);
    file.close();
    if (tooLarge || contents.size() > MaxPackBytes) {
        addError(filePath, tr("The file is larger than %1 bytes").arg(MaxPackBytes));
        return;
    }
    if (!acceptFile(filePath, contents))
        return;
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(contents, false, &message, &line, &column)) {
        addError(filePath, message, line, column);
        return;
    }
    const QDomElement root = document.documentElement();
    if (root.tagName() == QLatin1String("GradientPack"))
        readGradientPack(root, filePath, type);
    else if (root.tagName() == QLatin1String("Gradient"))
        readGradient(root, filePath, type, QString());
    else
        addError(filePath, tr("The document is neither a GradientPack nor a Gradient"));
}

XmlShape::Limits GradientLibrary::shapeLimits()
{
    return {MaxPackDepth, MaxPackElements, MaxElementAttributes, MaxPackAttributes};
}

bool GradientLibrary::acceptFile(const QString& filePath, const QByteArray& contents)
{
    // The shape first: the schema and the document tree take memory that grows with the
    // number of elements, and time that grows faster than the attributes.
    const XmlShape::Check shape(contents, shapeLimits());
    if (!shape.fine()) {
        addError(filePath, shape.message(), shape.line(), shape.column());
        return false;
    }
    // Without a usable schema the files are read unchecked.
    const XmlSchemaValidator& validator = schema();
    std::vector<XmlSchemaValidator::Error> errors;
    if (validator.isValid() && !validator.validate(contents, &errors)) {
        for (const XmlSchemaValidator::Error& error : errors)
            addError(filePath, error.message, error.line, error.column);
        return false;
    }
    return true;
}

void GradientLibrary::addError(const QString& filePath, const QString& message, qint64 line,
                               qint64 column)
{
    auto* item = new QStandardItem(message);
    item->setData(QUrl::fromLocalFile(filePath), DocumentRole);
    item->setData(line, LineRole);
    item->setData(column, ColumnRole);
    m_errorModel->appendRow(item);
}

const XmlSchemaValidator& GradientLibrary::schema()
{
    if (!gradientSchema) {
        const QString path = builtInDir.isEmpty()
                                 ? QString()
                                 : QDir(builtInDir).filePath(QStringLiteral("gradient.xsd"));
        gradientSchema = std::make_unique<XmlSchemaValidator>(path);
    }
    return *gradientSchema;
}

void GradientLibrary::readGradientPack(const QDomElement& element, const QString& filePath,
                                       GradientType type)
{
    const QString packName = element.attribute(QStringLiteral("name"));
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement child = node.toElement();
        if (!child.isNull() && child.tagName() == QLatin1String("Gradient"))
            readGradient(child, filePath, type, packName);
    }
}

void GradientLibrary::readGradient(const QDomElement& element, const QString& filePath,
                                   GradientType type, const QString& packName)
{
    Gradient gradient;
    if (element.hasAttribute(QStringLiteral("name")))
        gradient.setName(element.attribute(QStringLiteral("name")));
    GradientStops stops;
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement stop = node.toElement();
        if (stop.isNull() || stop.tagName() != QLatin1String("GradientStop") ||
            !stop.hasAttribute(QStringLiteral("position")) ||
            !stop.hasAttribute(QStringLiteral("colour")))
            continue;
        // Text that is not a number reads as 0; a colour Qt does not know stays invalid.
        const double position = stop.attribute(QStringLiteral("position")).toDouble();
        QColor colour;
        colour.setNamedColor(stop.attribute(QStringLiteral("colour")));
        stops.append(qMakePair(position, colour));
    }
    gradient.setStops(stops);
    addGradient(gradient, type, packName, filePath);
}

namespace {

// The text without the characters that XML 1.0 cannot carry (control characters, lone
// surrogates, U+FFFE and U+FFFF). A gradient taken over from a project may carry them in its
// name, and the writer refuses them, which would keep the whole pack from being saved.
QString xmlText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype at = XmlCharacters::unstorableAt(text); at >= 0;
         at = XmlCharacters::unstorableAt(text, from)) {
        result += QStringView(text).mid(from, at - from);
        from = at + 1;
    }
    result += QStringView(text).mid(from);
    return result;
}

} // namespace

bool GradientLibrary::save()
{
    const int rows = rowCount();
    for (int row = 0; row < rows; ++row) {
        const QModelIndex item = index(row, 0);
        GradientType type;
        if (gradientTypeOf(item, &type) && type == UserGradient && item.data(ModifiedRole).toBool())
            markFileForSaving(item);
    }

    // A file that could not be written stays marked, and its rows stay modified, so that the
    // change is neither lost nor reported as saved.
    std::set<std::pair<QString, QString>> failed;
    std::set<QString> failedPaths;
    QStringList reasons;
    for (const auto& [packName, path] : filesToSave) {
        std::vector<Gradient> gradients;
        for (int row = 0; row < rows; ++row) {
            const QModelIndex item = index(row, 0);
            if (item.data(FilePathRole).toString() == path)
                gradients.push_back(item.data(GradientRole).value<Gradient>());
        }
        QString reason;
        if (!writeFile(path, packName, gradients, &reason)) {
            failed.insert(std::make_pair(packName, path));
            failedPaths.insert(path);
            reasons.append(QStringLiteral("%1: %2").arg(path, reason));
        }
    }
    m_saveError = reasons.join(u'\n');
    filesToSave = std::move(failed);

    for (int row = 0; row < rows; ++row) {
        const QModelIndex item = index(row, 0);
        GradientType type;
        if (!gradientTypeOf(item, &type) || type == BuiltInGradient ||
            !item.data(ModifiedRole).toBool())
            continue;
        if (type != UserGradient || failedPaths.count(item.data(FilePathRole).toString()) == 0)
            setData(item, false, ModifiedRole);
    }
    return filesToSave.empty();
}

bool GradientLibrary::writeFile(const QString& filePath, const QString& packName,
                                const std::vector<Gradient>& gradients, QString* error)
{
    // A pack that would not load again is not written: the file keeps what it holds.
    *error = tr("The gradients would make a pack larger than a gradient file may be");
    qint64 elements = 1;
    for (const Gradient& gradient : gradients)
        elements += 1 + gradient.stops().size();
    if (elements > MaxPackElements)
        return false;
    QByteArray contents;
    QXmlStreamWriter writer(&contents);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writeGradientPack(packName, gradients, writer);
    writer.writeEndDocument();
    if (writer.hasError() || contents.size() > MaxPackBytes ||
        !XmlShape::Check(contents, shapeLimits()).fine())
        return false;

    const QDir folder = QFileInfo(filePath).absoluteDir();
    if (!folder.exists() && !folder.mkpath(QStringLiteral("."))) {
        *error = tr("The folder cannot be made");
        return false;
    }
    return WholeFile::write(filePath, contents, error);
}

void GradientLibrary::writeGradientPack(const QString& packName,
                                        const std::vector<Gradient>& gradients,
                                        QXmlStreamWriter& writer)
{
    writer.writeStartElement(QStringLiteral("GradientPack"));
    writer.writeAttribute(QStringLiteral("name"), xmlText(packName));
    for (const Gradient& gradient : gradients)
        writeGradient(gradient, writer);
    writer.writeEndElement();
}

void GradientLibrary::writeGradient(const Gradient& gradient, QXmlStreamWriter& writer)
{
    writer.writeStartElement(QStringLiteral("Gradient"));
    writer.writeAttribute(QStringLiteral("name"), xmlText(gradient.name()));
    for (const auto& stop : gradient.stops()) {
        writer.writeStartElement(QStringLiteral("GradientStop"));
        // Positions keep 16 decimals; colours are written as "#rrggbb", without alpha.
        writer.writeAttribute(QStringLiteral("position"), QString::number(stop.first, 'f', 16));
        writer.writeAttribute(QStringLiteral("colour"), stop.second.name());
        writer.writeEndElement();
    }
    writer.writeEndElement();
}

namespace {

SwatchBackgroundPainter swatchBackground = nullptr;

} // namespace

void setSwatchBackgroundPainter(SwatchBackgroundPainter painter)
{
    swatchBackground = painter;
}

QIcon gradientIcon(const GradientStops& stops)
{
    // Without a widget application (a tool, a test) there is no style: 16 is the usual size.
    const bool widgets = qobject_cast<QApplication*>(QCoreApplication::instance());
    const int size = widgets ? QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize) : 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (swatchBackground)
        swatchBackground(painter, pixmap.rect());
    // Without stops a gradient would paint black to white; the icon shows the bare background
    // instead.
    if (!stops.isEmpty()) {
        QLinearGradient gradient(0, 0, 1, 0);
        gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
        gradient.setStops(stops);
        painter.fillRect(pixmap.rect(), QBrush(gradient));
    }
    painter.end();
    return QIcon(pixmap);
}
