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

void DataStream::openForReading(const char* begin, qsizetype size)
{
    close();
    m_cursor = begin;
    m_end = begin + size;
}

void DataStream::openForWriting(QByteArray* bytes)
{
    close();
    m_target = bytes;
}

void DataStream::close()
{
    flush();
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
        auto unit = [units](qsizetype i) {
            return char16_t((uchar(units[2 * i]) << 8) | uchar(units[2 * i + 1]));
        };
        // Short strings come back again and again (skin names, property keys, units): a
        // string read lately shares its text instead of allocating its own.
        QString* recent = nullptr;
        if (count <= MaximumRecentLength) {
            recent = &m_recent[(quint32(count) * 131u + unit(0) * 31u + unit(count - 1)) %
                               RecentStrings];
            if (recent->size() == count) {
                const char16_t* kept = reinterpret_cast<const char16_t*>(recent->constData());
                qsizetype i = 0;
                while (i < count && kept[i] == unit(i))
                    ++i;
                if (i == count) {
                    value = *recent;
                    return *this;
                }
            }
        }
        QString text(count, Qt::Uninitialized);
        char16_t* into = reinterpret_cast<char16_t*>(text.data());
        for (qsizetype i = 0; i < count; ++i)
            into[i] = unit(i);
        if (recent)
            *recent = text;
        value = std::move(text);
    } else {
        value = QString();
    }
    return *this;
}

DataStream& DataStream::operator>>(QByteArray& value)
{
    quint32 length = 0;
    readNumber(length);
    if (length == NullLength || m_status != QDataStream::Ok)
        value = QByteArray();
    else if (const char* bytes = take(length))
        value = QByteArray(length == 0 ? "" : bytes, qsizetype(length));
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
