#include "velmora_objects/streamer.h"

#include "core/assertion.h"

#include <QBuffer>
#include <QColor>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace Velmora {

namespace {

// Qt 3 variant type ids, the forms that stream version 6 uses.
enum : quint32
{
    Qt3Invalid = 0,
    Qt3String = 3,
    Qt3Color = 10,
    Qt3Int = 16,
    Qt3UInt = 17,
    Qt3Bool = 18,
    Qt3Double = 19
};

[[noreturn]] void unexpectedEnd()
{
    throw std::runtime_error("Unexpected end of file");
}

} // namespace

Streamer::Streamer() = default;

Streamer::~Streamer()
{
    if (isOpen()) {
        m_stream.reset();
        QFile::close();
        discardPendingWrite();
    }
    m_stream.reset();
}

void Streamer::makeStream(QIODevice* device)
{
    m_stream = std::make_unique<QDataStream>(device);
    m_stream->setVersion(QDataStream::Qt_3_3);
    m_stream->setByteOrder(QDataStream::BigEndian);
}

void Streamer::open(Mode mode, const QString& path)
{
    const QFile& file = *this;
    VELMORA_TRAP(file.isOpen());
    m_mode = mode;
    m_targetPath.clear();
    switch (mode) {
    case Mode_WRITE: {
        // Write beside the target so that the final rename stays on one file system.
        const QFileInfo target(path);
        QTemporaryFile probe(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
        probe.setAutoRemove(false);
        if (!probe.open())
            throw std::runtime_error("Unable to open file");
        const QString temporary = probe.fileName();
        probe.close();
        setFileName(temporary);
        if (!QFile::open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QFile::remove(temporary);
            throw std::runtime_error("Unable to open file");
        }
        m_targetPath = target.absoluteFilePath();
        makeStream(this);
        writeHeader();
        break;
    }
    case Mode_READ:
        setFileName(path);
        if (!QFile::open(QIODevice::ReadOnly))
            throw std::runtime_error("Unable to open file");
        makeStream(this);
        readHeader();
        break;
    default:
        throw std::runtime_error("Invalid streaming mode");
    }
}

void Streamer::open(Mode mode, QByteArray* bytes)
{
    m_mode = mode;
    switch (mode) {
    case Mode_WRITE:
        m_stream = std::make_unique<QDataStream>(bytes, QIODevice::WriteOnly);
        m_stream->setVersion(QDataStream::Qt_3_3);
        writeHeader();
        break;
    case Mode_READ:
        m_stream = std::make_unique<QDataStream>(bytes, QIODevice::ReadOnly);
        m_stream->setVersion(QDataStream::Qt_3_3);
        readHeader();
        break;
    default:
        throw std::runtime_error("Invalid streaming mode");
    }
}

void Streamer::close()
{
    if (!isOpen())
        return;
    const bool writing = !m_targetPath.isEmpty();
    const bool streamOk = !m_stream || m_stream->status() == QDataStream::Ok;
    m_stream.reset();
    if (!writing) {
        QFile::close();
        return;
    }
    bool ok = streamOk && flush() && ::fsync(handle()) == 0 && error() == QFileDevice::NoError;
    QFile::close();
    ok = ok && error() == QFileDevice::NoError;
    const QString temporary = fileName();
    if (ok) {
        // Keep the permissions of the file being replaced.
        if (QFile::exists(m_targetPath))
            QFile::setPermissions(temporary, QFile::permissions(m_targetPath));
        else
            QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
        ok = std::rename(QFile::encodeName(temporary).constData(),
                         QFile::encodeName(m_targetPath).constData()) == 0;
    }
    if (!ok) {
        discardPendingWrite();
        throw std::runtime_error("Unable to write file");
    }
    m_targetPath.clear();
}

void Streamer::discardPendingWrite()
{
    if (!m_targetPath.isEmpty()) {
        QFile::remove(fileName());
        m_targetPath.clear();
    }
}

void Streamer::writeHeader()
{
    const Mode mode = m_mode;
    VELMORA_ASSERT(mode == Mode_WRITE);
    *m_stream << Magic << qint32(CurrentVersion);
}

void Streamer::readHeader()
{
    const Mode mode = m_mode;
    VELMORA_ASSERT(mode == Mode_READ);
    qint64 magic = 0;
    *m_stream >> magic;
    if (m_stream->status() != QDataStream::Ok || magic != Magic)
        throw std::runtime_error("Unrecognised file header");
    quint32 version = 0;
    *m_stream >> version;
    if (m_stream->status() != QDataStream::Ok)
        throw std::runtime_error("Unrecognised file header");
    m_version = version;
    if (m_version > CurrentVersion)
        throw std::runtime_error("File format is a future version");
}

void Streamer::writeTag(const char* tag)
{
    m_stream->writeRawData(tag, int(std::strlen(tag)));
}

void Streamer::expectTag(const char* tag)
{
    const int length = int(std::strlen(tag));
    QByteArray read(length, '\0');
    if (m_stream->readRawData(read.data(), length) != length ||
        std::memcmp(read.constData(), tag, size_t(length)) != 0)
        throw std::runtime_error(std::string("Failed to find expected tag ") + tag);
}

Streamer& Streamer::operator<<(bool value)
{
    *m_stream << qint8(value ? 1 : 0);
    return *this;
}

Streamer& Streamer::operator>>(bool& value)
{
    qint8 byte = 0;
    *m_stream >> byte;
    value = byte != 0;
    return *this;
}

Streamer& Streamer::operator<<(const Gradient& gradient)
{
    *m_stream << gradient.name() << qint32(gradient.stops().size());
    for (const auto& stop : gradient.stops())
        *m_stream << stop.first << stop.second;
    return *this;
}

Streamer& Streamer::operator>>(Gradient& gradient)
{
    QString name;
    quint32 count = 0;
    *m_stream >> name >> count;
    checkStatus();
    if (!name.isNull())
        gradient.setName(name);
    if (count == 0)
        return *this;
    checkCount(count, sizeof(double) + sizeof(quint32));
    GradientStops stops;
    stops.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        double position = 0;
        QColor colour;
        *m_stream >> position >> colour;
        stops.append(qMakePair(position, colour));
    }
    checkStatus();
    gradient.setStops(stops);
    return *this;
}

Streamer& Streamer::operator<<(const std::vector<ButtonFunction>& functions)
{
    *m_stream << qint32(functions.size());
    for (ButtonFunction function : functions)
        *m_stream << qint8(function);
    return *this;
}

Streamer& Streamer::operator>>(std::vector<ButtonFunction>& functions)
{
    quint32 count = 0;
    *m_stream >> count;
    checkStatus();
    checkCount(count, 1);
    functions.assign(count, ButtonFunction(0));
    for (auto& function : functions) {
        quint8 byte = 0;
        *m_stream >> byte;
        function = ButtonFunction(byte);
    }
    checkStatus();
    return *this;
}

Streamer& Streamer::operator<<(const std::vector<unsigned int>& values)
{
    *m_stream << qint32(values.size());
    for (unsigned int value : values)
        *m_stream << qint32(value);
    return *this;
}

Streamer& Streamer::operator>>(std::vector<unsigned int>& values)
{
    quint32 count = 0;
    *m_stream >> count;
    checkStatus();
    checkCount(count, 4);
    values.assign(count, 0u);
    for (auto& value : values) {
        quint32 word = 0;
        *m_stream >> word;
        value = word;
    }
    checkStatus();
    return *this;
}

void Streamer::writeVariant(const QVariant& value)
{
    QDataStream& s = *m_stream;
    if (!value.isValid()) {
        s << quint32(Qt3Invalid) << QString();
        return;
    }
    const QMetaType type = value.metaType();
    switch (type.id()) {
    case QMetaType::QString:
        s << quint32(Qt3String) << value.toString();
        return;
    case QMetaType::QColor:
        s << quint32(Qt3Color) << value.value<QColor>();
        return;
    case QMetaType::Int:
        s << quint32(Qt3Int) << qint32(value.toInt());
        return;
    case QMetaType::UInt:
        s << quint32(Qt3UInt) << quint32(value.toUInt());
        return;
    case QMetaType::Bool:
        s << quint32(Qt3Bool) << qint8(value.toBool() ? 1 : 0);
        return;
    case QMetaType::Double:
        s << quint32(Qt3Double) << value.toDouble();
        return;
    default:
        break;
    }
    if (type.flags() & QMetaType::IsEnumeration) {
        s << quint32(Qt3Int) << qint32(value.toInt());
        return;
    }
    VELMORA_UNREACHABLE("Variant type without a stream form");
}

QVariant Streamer::readVariant()
{
    QDataStream& s = *m_stream;
    quint32 type = 0;
    s >> type;
    checkStatus();
    QVariant result;
    switch (type) {
    case Qt3Invalid: {
        QString ignored;
        s >> ignored;
        break;
    }
    case Qt3String: {
        QString text;
        s >> text;
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
    checkStatus();
    return result;
}

void Streamer::checkStatus()
{
    if (m_stream->status() != QDataStream::Ok)
        unexpectedEnd();
}

void Streamer::checkCount(quint64 count, quint64 minBytesEach)
{
    QIODevice* device = m_stream->device();
    if (!device || device->isSequential())
        return;
    const qint64 left = device->bytesAvailable();
    if (left < 0 || (minBytesEach > 0 && count > quint64(left) / minBytesEach))
        unexpectedEnd();
}

} // namespace Velmora
