#include "velmora_objects/data_stream.h"

#include "core/assertion.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <cstring>

namespace Velmora {

void DataStream::openForReading(const QByteArray& bytes)
{
    close();
    m_source = bytes;
    m_cursor = m_source.constData();
    m_end = m_cursor + m_source.size();
    m_repeatedTexts.assign(std::size_t(1) << RepeatedTextBits, RepeatedText());
}

void DataStream::openForWriting(QByteArray* bytes)
{
    close();
    m_target = bytes;
}

void DataStream::close()
{
    flush();
    m_repeatedTexts.clear();
    m_source = QByteArray();
    m_cursor = m_end = nullptr;
    m_target = nullptr;
    m_deferring = false;
    m_limit = -1;
    m_counting = false;
    m_counted = 0;
    m_scratch = QByteArray();
    m_status = QDataStream::Ok;
}

void DataStream::setStatus(Status status)
{
    if (m_status == QDataStream::Ok)
        m_status = status;
    if (status == QDataStream::ReadPastEnd || status == QDataStream::ReadCorruptData)
        m_cursor = m_end;
}

const char* DataStream::takeFailed()
{
    setStatus(QDataStream::ReadPastEnd);
    return nullptr;
}

QByteArray DataStream::bytesAt(const char* at, qsizetype length)
{
    const bool inSource = at >= m_source.constData() && length >= 0 &&
                          length <= m_source.constData() + m_source.size() - at;
    VELMORA_ASSERT(inSource);
    return QByteArray(length == 0 ? "" : at, length);
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
    const qsizetype done = written();
    // Only bytes written decide that the limit is passed: the room asked for may be more than
    // the fields put in it.
    if (m_counting || (m_limit >= 0 && done > m_limit)) {
        if (!m_counting)
            startCounting();
        countInScratch(length);
        return;
    }
    // The array may move: every copy into it is done first.
    if (!m_copies.idle())
        m_copies.finish(targetBytes());
    // The array's size covers the room ahead as well, so that writing into it stays within
    // the array; resizing detaches an array shared since the last flush. Room past the limit is
    // no more than the fields of the moment ask for, so that the next ones come back here.
    const qsizetype roomEnd = m_limit >= 0 ? qMax(m_limit, done + length) : -1;
    qsizetype room = qMax(done + length, qMax<qsizetype>(2 * done, 4096));
    if (m_limit >= 0)
        room = qMin(room, roomEnd);
    m_target->resize(qMax(room, m_target->capacity()));
    m_out = m_target->data() + done;
    m_outEnd =
        m_target->data() + (m_limit >= 0 ? qMin(m_target->size(), roomEnd) : m_target->size());
}

void DataStream::startCounting()
{
    const qsizetype kept = written();
    // The copies still to come would write into the array about to go.
    m_copies.drop();
    m_counting = true;
    m_counted = kept;
    *m_target = QByteArray();
    m_out = m_outEnd = nullptr;
}

void DataStream::countInScratch(qsizetype length)
{
    if (m_out)
        m_counted += m_out - m_scratch.constData();
    if (m_scratch.size() < length)
        m_scratch = QByteArray(qMax<qsizetype>(length, 4096), Qt::Uninitialized);
    m_out = m_scratch.data();
    m_outEnd = m_out + m_scratch.size();
}

bool DataStream::droppedPastLimit(qsizetype length)
{
    if (m_limit < 0 || (!m_counting && written() + length <= m_limit))
        return false;
    if (!m_counting)
        startCounting();
    m_counted += length;
    return true;
}

void DataStream::cutToWritten()
{
    m_deferring = false;
    if (m_counting) {
        m_counted += m_out - m_scratch.constData();
        m_out = m_outEnd = nullptr;
        return;
    }
    if (!m_copies.idle())
        m_copies.finish(targetBytes());
    m_target->resize(m_out - m_target->constData());
    m_out = m_outEnd = nullptr;
}

DataStream& DataStream::readString(QString& value)
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
        value = decodeUnits(units, length / 2);
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
        value = bytesAt(bytes, qsizetype(length));
    else
        value = QByteArray();
    return *this;
}

DataStream& DataStream::operator<<(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return writeNumber(bits);
}

DataStream& DataStream::operator<<(const QByteArray& value)
{
    if (value.isNull())
        return writeNumber(NullLength);
    if (droppedPastLimit(4 + value.size()))
        return *this;
    char* to = extend(4 + value.size());
    qToBigEndian(quint32(value.size()), to);
    putBytes(to + 4, value);
    return *this;
}

void DataStream::writeRawBytes(const QByteArray& value)
{
    if (!value.isEmpty() && !droppedPastLimit(value.size()))
        putBytes(extend(value.size()), value);
}

void DataStream::putBytes(char* to, const QByteArray& value)
{
    if (m_counting)
        return;
    if (m_deferring && value.size() >= DeferredCopies::MinimumBytes)
        m_copies.add(to - m_target->constData(), value);
    else
        std::memcpy(to, value.constData(), size_t(value.size()));
}

void DataStream::copyDeferredArrays()
{
    m_deferring = false;
    if (m_out)
        m_copies.start(targetBytes());
}

DataStream& DataStream::operator<<(const QColor& value)
{
    return writeNumber(colourWord(value));
}

} // namespace Velmora
