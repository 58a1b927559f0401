#include "velmora_objects/data_stream.h"

#include "core/assertion.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <cstring>

namespace Velmora {

namespace {

// The length that stands for a null string or byte array.
constexpr quint32 NullLength = 0xFFFFFFFFu;
// The value that stands for an invalid colour.
constexpr quint32 InvalidColour = 0x49000000u;

} // namespace

void DataStream::openForReading(const QByteArray& bytes)
{
    close();
    m_source = bytes;
    m_cursor = m_source.constData();
    m_end = m_cursor + m_source.size();
}

void DataStream::openForWriting(QByteArray* bytes)
{
    close();
    m_target = bytes;
}

void DataStream::close()
{
    flush();
    // The recent strings point into the bytes read, which the stream lets go of here.
    for (RecentString& recent : m_recent)
        recent = RecentString();
    m_source = QByteArray();
    m_cursor = m_end = nullptr;
    m_target = nullptr;
    m_status = QDataStream::Ok;
}

void DataStream::setStatus(Status status)
{
    if (m_status == QDataStream::Ok)
        m_status = status;
    if (status == QDataStream::ReadPastEnd || status == QDataStream::ReadCorruptData)
        m_cursor = m_end;
}

const char* DataStream::take(qsizetype length)
{
    if (length < 0 || m_end - m_cursor < length) {
        setStatus(QDataStream::ReadPastEnd);
        return nullptr;
    }
    const char* at = m_cursor;
    m_cursor += length;
    return at;
}

QByteArray DataStream::bytesAt(const char* at, qsizetype length)
{
    const bool inSource = at >= m_source.constData() && length >= 0 &&
                          length <= m_source.constData() + m_source.size() - at;
    VELMORA_ASSERT(inSource);
    // Below this size a copy costs less than keeping the whole of the bytes read alive.
    constexpr qsizetype MinimumSharedLength = 4096;
    QByteArray::DataPointer& source = m_source.data_ptr();
    if (length < MinimumSharedLength || !source.d_ptr()) // raw data holds no storage to share
        return QByteArray(length == 0 ? "" : at, length);
    // A reference to the whole storage that sees only these bytes. Changing the array
    // detaches it as for any shared array; when it is the last reference, the bytes
    // around it belong to no one else.
    QByteArray::DataPointer slice = source;
    slice.setBegin(const_cast<char*>(at));
    slice.size = length;
    return QByteArray(std::move(slice));
}

int DataStream::readRawData(char* into, int length)
{
    const int available = int(qMin(qsizetype(qMax(length, 0)), m_end - m_cursor));
    if (available > 0) {
        std::memcpy(into, m_cursor, size_t(available));
        m_cursor += available;
    }
    if (available != length)
        setStatus(QDataStream::ReadPastEnd);
    return available;
}

void DataStream::grow(qsizetype length)
{
    VELMORA_ASSERT(m_target != nullptr);
    // The array's size covers the room ahead as well, so that writing into it stays within
    // the array; resizing detaches an array shared since the last flush.
    const qsizetype written = m_out ? m_out - m_target->constData() : m_target->size();
    const qsizetype room = qMax(written + length, qMax<qsizetype>(2 * written, 4096));
    m_target->resize(qMax(room, m_target->capacity()));
    m_out = m_target->data() + written;
    m_outEnd = m_target->data() + m_target->size();
}

void DataStream::cutToWritten()
{
    m_target->resize(m_out - m_target->constData());
    m_out = m_outEnd = nullptr;
}

DataStream& DataStream::operator>>(bool& value)
{
    qint8 byte = 0;
    readNumber(byte);
    value = byte != 0;
    return *this;
}

DataStream& DataStream::operator>>(double& value)
{
    quint64 bits = 0;
    readNumber(bits);
    std::memcpy(&value, &bits, sizeof value);
    return *this;
}

DataStream& DataStream::operator>>(QString& value)
{
    quint32 length = 0;
    readNumber(length);
    if (length == NullLength || m_status != QDataStream::Ok) {
        value = QString();
    } else if (length == 0) {
        value = QString(QLatin1String(""));
    } else if (length % 2 != 0) {
        value = QString();
        setStatus(QDataStream::ReadCorruptData);
    } else if (const char* units = take(length)) {
        const qsizetype count = length / 2;
        RecentString* recent = nullptr;
        if (count <= MaximumRecentLength) {
            auto unit = [units](qsizetype i) {
                return quint32((uchar(units[2 * i]) << 8) | uchar(units[2 * i + 1]));
            };
            const quint32 hash =
                quint32(count) * 131u + unit(0) * 31u + unit(count / 2) * 7u + unit(count - 1);
            static_assert(RecentStrings == 256, "the hash picks one of 256 entries");
            recent = &m_recent[(hash * 2654435761u) >> 24];
            // The ends are compared first, from the entry itself: the units it points to were
            // read long ago and are likely out of the cache.
            quint64 head = 0, tail = 0;
            std::memcpy(&head, units, size_t(qMin<qsizetype>(length, 8)));
            if (length >= 8)
                std::memcpy(&tail, units + length - 8, 8);
            if (recent->length == length && recent->head == head && recent->tail == tail &&
                (length <= 16 ||
                 std::memcmp(recent->units + 8, units + 8, size_t(length - 16)) == 0)) {
                // Read once before: from the second time on, the readings share one text.
                if (recent->text.isNull())
                    recent->text = decodeUnits(units, count);
                value = recent->text;
                return *this;
            }
            *recent = RecentString{units, length, head, tail, QString()};
        }
        value = decodeUnits(units, count);
    } else {
        value = QString();
    }
    return *this;
}

QString DataStream::decodeUnits(const char* units, qsizetype count)
{
    QString text(count, Qt::Uninitialized);
    qFromBigEndian<char16_t>(units, count, text.data());
    return text;
}

DataStream& DataStream::operator>>(QByteArray& value)
{
    quint32 length = 0;
    readNumber(length);
    if (length == NullLength || m_status != QDataStream::Ok)
        value = QByteArray();
    else if (const char* bytes = take(length))
        value = bytesAt(bytes, qsizetype(length));
    else
        value = QByteArray();
    return *this;
}

DataStream& DataStream::operator>>(QColor& value)
{
    quint32 rgb = 0;
    readNumber(rgb);
    value = rgb == InvalidColour ? QColor() : QColor::fromRgb(rgb);
    return *this;
}

DataStream& DataStream::operator>>(QRect& value)
{
    qint32 left = 0, top = 0, right = 0, bottom = 0;
    *this >> left >> top >> right >> bottom;
    value.setCoords(left, top, right, bottom);
    return *this;
}

DataStream& DataStream::operator<<(bool value)
{
    return writeNumber(qint8(value ? 1 : 0));
}

DataStream& DataStream::operator<<(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return writeNumber(bits);
}

DataStream& DataStream::operator<<(const QString& value)
{
    if (value.isNull())
        return writeNumber(NullLength);
    const qsizetype units = value.size();
    char* to = extend(4 + 2 * units);
    qToBigEndian(quint32(2 * units), to);
    const char16_t* from = reinterpret_cast<const char16_t*>(value.constData());
    for (qsizetype i = 0; i < units; ++i) {
        to[4 + 2 * i] = char(from[i] >> 8);
        to[5 + 2 * i] = char(from[i]);
    }
    return *this;
}

DataStream& DataStream::operator<<(const QByteArray& value)
{
    if (value.isNull())
        return writeNumber(NullLength);
    char* to = extend(4 + value.size());
    qToBigEndian(quint32(value.size()), to);
    std::memcpy(to + 4, value.constData(), size_t(value.size()));
    return *this;
}

DataStream& DataStream::operator<<(const QColor& value)
{
    return writeNumber(value.isValid() ? quint32(value.rgb()) : InvalidColour);
}

DataStream& DataStream::operator<<(const QRect& value)
{
    char* to = extend(16);
    qToBigEndian(qint32(value.left()), to);
    qToBigEndian(qint32(value.top()), to + 4);
    qToBigEndian(qint32(value.right()), to + 8);
    qToBigEndian(qint32(value.bottom()), to + 12);
    return *this;
}

} // namespace Velmora
