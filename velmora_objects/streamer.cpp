#include "velmora_objects/streamer.h"

#include "core/assertion.h"
#include "core/regular_file.h"

#include <QColor>
#include <QLocale>
#include <QtEndian>
#include <atomic>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

namespace Velmora {

namespace {

std::atomic<qint64> fileSizeBound{Streamer::MaximumFileSize};

// "1,081,794,220 bytes (1.01 GB)".
QString bytesText(qint64 bytes)
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return QStringLiteral("%1 bytes (%2)")
        .arg(locale.toString(bytes),
             locale.formattedDataSize(bytes, 2, QLocale::DataSizeTraditionalFormat));
}

} // namespace

qint64 Streamer::maximumFileSize()
{
    return fileSizeBound.load(std::memory_order_relaxed);
}

void Streamer::setMaximumFileSize(qint64 bytes)
{
    fileSizeBound.store(bytes, std::memory_order_relaxed);
}

Streamer::Streamer() = default;

// An unfinished save is dropped with its temporary file; the target stays as it was.
Streamer::~Streamer() = default;

void Streamer::open(Mode mode, const QString& path)
{
    const Streamer& file = *this;
    VELMORA_TRAP(file.isOpen());
    m_mode = mode;
    m_openBlocks = 0;
    switch (mode) {
    case Mode_WRITE:
        m_saveFile = std::make_unique<WholeFile::SaveFile>(path);
        if (!WholeFile::open(*m_saveFile)) {
            // What stands in the file's place, or why no file can be made beside it.
            const std::string reason = m_saveFile->errorString().toStdString();
            m_saveFile.reset();
            throw std::runtime_error(reason);
        }
        m_bytes = QByteArray();
        m_data.openForWriting(&m_bytes);
        m_data.setWriteLimit(maximumFileSize());
        m_fileOpen = true;
        writeHeader();
        break;
    case Mode_READ:
        // A FIFO or a device would block the reading or never end it.
        if (const RegularFile::Result opened =
                RegularFile::open(*this, path, QIODevice::Unbuffered);
            opened != RegularFile::Result_OPENED)
            throw std::runtime_error(RegularFile::message(opened).toStdString());
        readWholeFile();
        m_data.openForReading(m_bytes);
        m_bytes = QByteArray(); // the data stream holds them
        m_fileOpen = true;
        readHeader();
        break;
    default:
        throw std::runtime_error("Invalid streaming mode");
    }
}

void Streamer::readWholeFile()
{
    // The header comes first: a foreign or future file is refused before the rest of it is
    // read or room is made for it.
    char header[HeaderBytes];
    qint64 done = 0;
    while (done < HeaderBytes) {
        const qint64 got = QFile::read(header + done, HeaderBytes - done);
        if (got <= 0)
            break;
        done += got;
    }
    if (error() != QFileDevice::NoError) {
        QFile::close();
        throw std::runtime_error("Unable to open file");
    }
    try {
        checkHeader(QByteArray::fromRawData(header, qsizetype(done)));
    } catch (...) {
        QFile::close();
        throw;
    }
    const qint64 size = QFile::size();
    if (size > maximumFileSize()) {
        QFile::close();
        throw std::runtime_error("File is too large");
    }
    m_bytes = QByteArray(qMax(size, done), Qt::Uninitialized);
    std::memcpy(m_bytes.data(), header, size_t(done));
    while (done < size) {
        const qint64 got = QFile::read(m_bytes.data() + done, size - done);
        if (got <= 0)
            break;
        done += got;
    }
    const bool failed = error() != QFileDevice::NoError;
    QFile::close();
    if (failed) {
        m_bytes = QByteArray();
        throw std::runtime_error("Unable to open file");
    }
    // A file that shrank while it was read ends where its bytes end.
    m_bytes.truncate(done);
}

void Streamer::open(Mode mode, QByteArray* bytes)
{
    m_mode = mode;
    m_openBlocks = 0;
    switch (mode) {
    case Mode_WRITE:
        bytes->clear();
        m_data.openForWriting(bytes);
        writeHeader();
        break;
    case Mode_READ:
        m_data.openForReading(*bytes);
        readHeader();
        break;
    default:
        throw std::runtime_error("Invalid streaming mode");
    }
}

void Streamer::close()
{
    m_data.flush();
    if (!m_fileOpen)
        return;
    m_fileOpen = false;
    const qint64 size = m_data.written();
    m_data.close();
    std::unique_ptr<WholeFile::SaveFile> saveFile = std::move(m_saveFile);
    const QByteArray bytes = std::exchange(m_bytes, QByteArray());
    if (saveFile && size > maximumFileSize()) {
        // The save file goes unused: the target stays as it was.
        throw TooLarge(QStringLiteral("The project is too large to save: it takes %1, "
                                      "more than the %2 that a project file may hold")
                           .arg(bytesText(size), bytesText(maximumFileSize()))
                           .toStdString());
    }
    if (saveFile && !WholeFile::commit(*saveFile, bytes))
        throw std::runtime_error(saveFile->errorString().toStdString());
}

void Streamer::writeHeader()
{
    const Mode mode = m_mode;
    VELMORA_ASSERT(mode == Mode_WRITE);
    m_data << Magic << qint32(CurrentVersion);
    m_data.flush();
}

void Streamer::readHeader()
{
    const Mode mode = m_mode;
    VELMORA_ASSERT(mode == Mode_READ);
    const char* const header = m_data.take(HeaderBytes);
    m_version = checkHeader(header ? QByteArray::fromRawData(header, HeaderBytes) : QByteArray());
}

quint32 Streamer::checkHeader(const QByteArray& header)
{
    if (header.size() < HeaderBytes || qFromBigEndian<qint64>(header.constData()) != Magic)
        throw std::runtime_error("Unrecognised file header");
    const quint32 version = qFromBigEndian<quint32>(header.constData() + 8);
    if (version > CurrentVersion)
        throw std::runtime_error("File format is a future version");
    return version;
}

void Streamer::missingTag(const char* name, const char* suffix)
{
    throw std::runtime_error(std::string("Failed to find expected tag ") + name + suffix);
}

Streamer& Streamer::operator<<(const Gradient& gradient)
{
    DataStream::Fields out(m_data, gradientBytes(gradient));
    writeGradient(out, gradient);
    return *this;
}

Streamer& Streamer::operator>>(Gradient& gradient)
{
    QString name;
    quint32 count = 0;
    m_data >> name >> count;
    if (!name.isNull() && count > 0 && count <= quint64(m_data.bytesLeft()) / StopBytes) {
        // The usual gradient, named and with stops, is made whole and takes the place of the
        // one held: a payload of its own at once, rather than one shared, detached and filled.
        gradient = Gradient(std::move(name), readStops(qsizetype(count)));
        return *this;
    }
    if (!name.isNull())
        gradient.setName(name);
    if (count == 0)
        return *this;
    checkCount(count, StopBytes);
    gradient.setStops(readStops(qsizetype(count)));
    return *this;
}

GradientStops Streamer::readStops(qsizetype count)
{
    GradientStops stops;
    stops.reserve(count);
    DataStream::Run run(m_data, count * qsizetype(StopBytes));
    for (qsizetype i = 0; i < count; ++i) {
        double position = 0;
        QColor colour;
        run >> position >> colour;
        stops.emplace_back(position, colour);
    }
    return stops;
}

Streamer& Streamer::operator<<(const std::vector<ButtonFunction>& functions)
{
    m_data << qint32(functions.size());
    for (ButtonFunction function : functions)
        m_data << qint8(function);
    return *this;
}

Streamer& Streamer::operator>>(std::vector<ButtonFunction>& functions)
{
    quint32 count = 0;
    m_data >> count;
    checkCount(count, 1);
    functions.assign(count, ButtonFunction(0));
    DataStream::Run run(m_data, qsizetype(count));
    for (auto& function : functions) {
        quint8 byte = 0;
        run >> byte;
        function = ButtonFunction(byte);
    }
    return *this;
}

Streamer& Streamer::operator<<(const std::vector<unsigned int>& values)
{
    m_data << qint32(values.size());
    for (unsigned int value : values)
        m_data << qint32(value);
    return *this;
}

Streamer& Streamer::operator>>(std::vector<unsigned int>& values)
{
    quint32 count = 0;
    m_data >> count;
    checkCount(count, 4);
    values.assign(count, 0u);
    DataStream::Run run(m_data, qsizetype(count) * 4);
    for (auto& value : values) {
        quint32 word = 0;
        run >> word;
        value = word;
    }
    return *this;
}

void Streamer::writeVariant(const QVariant& value)
{
    DataStream::Fields out(m_data, variantBytes(value));
    writeVariant(out, value);
}

QVariant Streamer::readVariant()
{
    DataStream& s = m_data;
    quint32 type = 0;
    s >> type;
    QVariant result;
    switch (type) {
    case Qt3Invalid: {
        QString ignored;
        s >> ignored;
        break;
    }
    case Qt3String: {
        QString text;
        s.readRepeated(text);
        result = text;
        break;
    }
    case Qt3Color: {
        QColor colour;
        s >> colour;
        result = colour;
        break;
    }
    case Qt3Int: {
        qint32 number = 0;
        s >> number;
        result = int(number);
        break;
    }
    case Qt3UInt: {
        quint32 number = 0;
        s >> number;
        result = uint(number);
        break;
    }
    case Qt3Bool: {
        qint8 byte = 0;
        s >> byte;
        result = byte != 0;
        break;
    }
    case Qt3Double: {
        double number = 0;
        s >> number;
        result = number;
        break;
    }
    default:
        throw std::runtime_error("Unsupported value type");
    }
    return result;
}

void Streamer::unexpectedEnd()
{
    throw std::runtime_error("Unexpected end of file");
}

void Streamer::checkCount(quint64 count, quint64 minBytesEach)
{
    if (minBytesEach > 0 && count > quint64(m_data.bytesLeft()) / minBytesEach)
        unexpectedEnd();
}

} // namespace Velmora
