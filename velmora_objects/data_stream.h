#pragma once

#include "core/assertion.h"
#include "velmora_objects/deferred_copies.h"

#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QRect>
#include <QString>
#include <QtEndian>
#include <QtGlobal>
#include <cstring>
#include <vector>

namespace Velmora {

// The plain fields of the project stream, in the forms Qt's data stream gives them at version 6
// (the Qt 3.3 forms, most significant byte first), taken from or added to bytes held in memory.
// It stands where a QDataStream on a device would, without a device call or a status test per
// field: numbers are read straight from the buffer, and a string is decoded straight from it
// into a string of its exact length (see also readRepeated).
//
// Reading never goes past the end of the bytes. The first fault (a field cut short, a string
// of an odd length) is kept as the status and ends the reading: every later field reads as
// zero or empty and the stream stays at its end, so that the next tag the reader expects
// reports where the damage lies.
//
// Writing appends to a byte array. Fields go straight into the array's storage, which the
// stream grows ahead of them; the array is cut to the bytes written at each flush(), on close()
// and when the stream is destroyed, and until then may hold unwritten room at its end. A stream
// may be given a limit on the bytes it keeps (setWriteLimit): the array never grows past it, and
// once the fields written pass it the array is emptied and later fields are only counted, so
// that a writer learns how large its output would be without holding it.
class DataStream
{
public:
    using Status = QDataStream::Status;
    // The length that stands for a null string or byte array.
    static constexpr quint32 NullLength = 0xFFFFFFFFu;
    // The value that stands for an invalid colour.
    static constexpr quint32 InvalidColour = 0x49000000u;

    DataStream() = default;
    DataStream(const DataStream&) = delete;
    DataStream& operator=(const DataStream&) = delete;
    ~DataStream() { flush(); }

    // Reads the bytes of the array. The stream holds a reference to them until it is closed.
    void openForReading(const QByteArray& bytes);
    // Appends every field written to the bytes, which must outlive the writing.
    void openForWriting(QByteArray* bytes);
    // Writing: room for at least this many more bytes, so that a large block is not copied
    // as the array grows; never room past the limit.
    void reserve(qsizetype length)
    {
        if (m_limit >= 0)
            length = qMin(length, m_limit - written());
        if (length > 0 && m_outEnd - m_out < length)
            grow(length);
    }
    // Writing: keep no more than about this many bytes in the array (the stream's whole length,
    // what is there already counted; room for the fields of the moment may go a little past
    // it); no limit when negative. Once the bytes written pass it, the array is emptied and the
    // fields that follow are counted and dropped (pastLimit()).
    void setWriteLimit(qsizetype bytes) { m_limit = bytes; }
    // Writing: the stream's length so far, whether the bytes were kept or not.
    qsizetype written() const
    {
        if (m_counting)
            return m_counted + (m_out ? m_out - m_scratch.constData() : 0);
        if (!m_target)
            return 0;
        return m_out ? m_out - m_target->constData() : m_target->size();
    }
    // Writing: the fields written passed the limit, and the array holds none of them.
    bool pastLimit() const { return m_counting; }
    // Writing: makes the array hold exactly the bytes written so far.
    void flush()
    {
        if (m_out)
            cutToWritten();
    }
    // Writing: from deferLargeArrays() on, byte arrays of at least DeferredCopies::MinimumBytes
    // (whether with their length or raw) get their room at once and their bytes later: the
    // copies start at copyDeferredArrays(), on another thread while the fields after them are
    // written, and are done before the bytes are cut, moved or given out.
    void deferLargeArrays() { m_deferring = true; }
    void copyDeferredArrays();
    void close();

    Status status() const { return m_status; }
    // Keeps the first fault; a reading fault also ends the reading.
    void setStatus(Status status);
    // Reading: nothing is left to read.
    bool atEnd() const { return m_cursor == m_end; }
    qsizetype bytesLeft() const { return m_end - m_cursor; }

    // The next length bytes, which are passed over; null (and a fault) when fewer are left.
    const char* take(qsizetype length)
    {
        if (length < 0 || m_end - m_cursor < length)
            return takeFailed();
        const char* at = m_cursor;
        m_cursor += length;
        return at;
    }
    // Reading: a copy of the length bytes at the given place among those read (as take() gave
    // it).
    QByteArray bytesAt(const char* at, qsizetype length);
    // True, and the bytes passed over, when the next bytes are these; nothing is passed over
    // otherwise.
    bool skipIf(const char* bytes, qsizetype length)
    {
        if (m_end - m_cursor < length || std::memcmp(m_cursor, bytes, size_t(length)) != 0)
            return false;
        m_cursor += length;
        return true;
    }
    // QDataStream's raw forms: the number of bytes read (fewer at the end, which is a fault)
    // or written.
    int readRawData(char* into, int length);
    int writeRawData(const char* from, int length)
    {
        if (length > 0)
            std::memcpy(extend(length), from, size_t(length));
        return length;
    }

    DataStream& operator>>(bool& value)
    {
        qint8 byte = 0;
        readNumber(byte);
        value = byte != 0;
        return *this;
    }
    DataStream& operator>>(qint8& value) { return readNumber(value); }
    DataStream& operator>>(quint8& value) { return readNumber(value); }
    DataStream& operator>>(qint16& value) { return readNumber(value); }
    DataStream& operator>>(quint16& value) { return readNumber(value); }
    DataStream& operator>>(qint32& value) { return readNumber(value); }
    DataStream& operator>>(quint32& value) { return readNumber(value); }
    DataStream& operator>>(qint64& value) { return readNumber(value); }
    DataStream& operator>>(quint64& value) { return readNumber(value); }
    DataStream& operator>>(double& value)
    {
        quint64 bits = 0;
        readNumber(bits);
        std::memcpy(&value, &bits, sizeof value);
        return *this;
    }
    // A null string (length 0xFFFFFFFF) reads null, an empty one empty.
    DataStream& operator>>(QString& value)
    {
        if (const qsizetype length = wholeTextAhead()) {
            value = decodeUnits(m_cursor + 4, length / 2);
            m_cursor += 4 + length;
            return *this;
        }
        return readString(value);
    }
    // Reading: the same for a field whose texts repeat across a project (the skin every control
    // starts in, a unit, a format, the keys and captions of the skins). A text read before
    // through here is a copy of the string read then, sharing its payload, instead of an
    // allocation of its own. The texts are kept in a table, direct-mapped by a hash of their
    // bytes, where a text takes the place of the one before it in its entry; long texts, which
    // seldom repeat, are left out.
    DataStream& readRepeated(QString& value)
    {
        const qsizetype length = wholeTextAhead();
        if (length == 0 || length > MaximumRepeatedTextBytes)
            return *this >> value;
        const char* const bytes = m_cursor + 4;
        m_cursor += 4 + length;
        RepeatedText& entry = m_repeatedTexts[repeatedTextIndex(bytes, length)];
        if (entry.length != length || std::memcmp(entry.bytes, bytes, size_t(length)) != 0) {
            entry.text = decodeUnits(bytes, length / 2);
            entry.bytes = bytes;
            entry.length = length;
        }
        value = entry.text;
        return *this;
    }
    // A null array reads null.
    DataStream& operator>>(QByteArray& value);
    // The 32-bit RGB value; the colour read is opaque, or invalid for the invalid value.
    DataStream& operator>>(QColor& value)
    {
        quint32 rgb = 0;
        readNumber(rgb);
        value = colourOf(rgb);
        return *this;
    }
    DataStream& operator>>(QRect& value)
    {
        qint32 left = 0, top = 0, right = 0, bottom = 0;
        *this >> left >> top >> right >> bottom;
        value.setCoords(left, top, right, bottom);
        return *this;
    }

    DataStream& operator<<(bool value) { return writeNumber(qint8(value ? 1 : 0)); }
    DataStream& operator<<(qint8 value) { return writeNumber(value); }
    DataStream& operator<<(quint8 value) { return writeNumber(value); }
    DataStream& operator<<(qint16 value) { return writeNumber(value); }
    DataStream& operator<<(quint16 value) { return writeNumber(value); }
    DataStream& operator<<(qint32 value) { return writeNumber(value); }
    DataStream& operator<<(quint32 value) { return writeNumber(value); }
    DataStream& operator<<(qint64 value) { return writeNumber(value); }
    DataStream& operator<<(quint64 value) { return writeNumber(value); }
    DataStream& operator<<(double value);
    DataStream& operator<<(const QString& value)
    {
        if (value.isNull())
            return writeNumber(NullLength);
        const qsizetype units = value.size();
        char* to = extend(4 + 2 * units);
        qToBigEndian(quint32(2 * units), to);
        encodeUnits(reinterpret_cast<const char16_t*>(value.constData()), units, to + 4);
        return *this;
    }
    DataStream& operator<<(const QByteArray& value);
    // The array's bytes, without a length.
    void writeRawBytes(const QByteArray& value);
    DataStream& operator<<(const QColor& value);
    DataStream& operator<<(const QRect& value)
    {
        char* to = extend(16);
        qToBigEndian(qint32(value.left()), to);
        qToBigEndian(qint32(value.top()), to + 4);
        qToBigEndian(qint32(value.right()), to + 8);
        qToBigEndian(qint32(value.bottom()), to + 12);
        return *this;
    }
    // Text is written as a QString or a tag, never as a C string.
    DataStream& operator<<(const char*) = delete;

    // Writing: the bytes a string takes in the stream, its length word included.
    static qsizetype textBytes(const QString& value) { return 4 + 2 * value.size(); }
    class Fields;
    class Run;

private:
    template <class T> DataStream& readNumber(T& value)
    {
        if (m_end - m_cursor < qsizetype(sizeof(T))) {
            value = 0;
            setStatus(QDataStream::ReadPastEnd);
            return *this;
        }
        value = qFromBigEndian<T>(m_cursor);
        m_cursor += sizeof(T);
        return *this;
    }
    template <class T> DataStream& writeNumber(T value)
    {
        qToBigEndian(value, extend(sizeof(T)));
        return *this;
    }
    // Room for length more bytes at the end of the bytes written.
    char* extend(qsizetype length)
    {
        if (m_outEnd - m_out < length)
            grow(length);
        char* const at = m_out;
        m_out += length;
        return at;
    }
    // Room for length more bytes at the end of the bytes written, which are not yet counted
    // as written.
    char* roomFor(qsizetype length)
    {
        if (m_outEnd - m_out < length)
            grow(length);
        return m_out;
    }
    void grow(qsizetype length);
    // Writing past the limit: the array is let go and what follows only counted.
    void startCounting();
    // Counting: room for length bytes in the scratch room, the bytes before counted.
    void countInScratch(qsizetype length);
    // Writing a byte array's bytes: true, with the length counted, when they lie past the limit
    // and are not to be copied at all.
    bool droppedPastLimit(qsizetype length);
    // A colour's 32-bit value in the stream: its RGB value, or the one for an invalid colour.
    static quint32 colourWord(const QColor& value)
    {
        return value.isValid() ? quint32(value.rgb()) : InvalidColour;
    }
    // The colour of a 32-bit value: opaque whatever its top byte, or invalid for the invalid
    // value.
    static QColor colourOf(quint32 rgb)
    {
        return rgb == InvalidColour ? QColor() : QColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    const char* takeFailed();
    void cutToWritten();
    // The count UTF-16 units at units, most significant byte first.
    static QString decodeUnits(const char* units, qsizetype count)
    {
        QString text(count, Qt::Uninitialized);
        swapUnits(units, count, reinterpret_cast<char*>(text.data()));
        return text;
    }
    // The count units of from, most significant byte first, at to.
    static void encodeUnits(const char16_t* from, qsizetype count, char* to)
    {
        swapUnits(reinterpret_cast<const char*>(from), count, to);
    }
    // The count 16-bit units at from with their two bytes swapped (copied as they are on a
    // big-endian machine), at to; the two never overlap. Names and captions are a few units
    // long, where a loop of one unit at a time costs more than the rest of the field: the units
    // go eight or four at a time in plain integer words, and the last word of a string ends at
    // its end, overlapping the one before, so that no unit is left to a loop of single units.
    static void swapUnits(const char* __restrict from, qsizetype count, char* __restrict to)
    {
        const qsizetype bytes = 2 * count;
        if (bytes >= 16) {
            // Up to 32 bytes (most strings) in two blocks of 16, the second ending at the end.
            qsizetype i = 0;
            for (; i + 32 < bytes; i += 16)
                swapBlock(from + i, to + i);
            swapBlock(from + i, to + i);
            swapBlock(from + bytes - 16, to + bytes - 16);
        } else if (bytes >= 8) {
            swapWord<quint64>(from, to);
            swapWord<quint64>(from + bytes - 8, to + bytes - 8);
        } else if (bytes >= 4) {
            swapWord<quint32>(from, to);
            swapWord<quint32>(from + bytes - 4, to + bytes - 4);
        } else if (bytes == 2) {
            swapWord<quint16>(from, to);
        }
    }
    static void swapBlock(const char* from, char* to)
    {
        swapWord<quint64>(from, to);
        swapWord<quint64>(from + 8, to + 8);
    }
    template <class Word> static void swapWord(const char* from, char* to)
    {
        Word word;
        std::memcpy(&word, from, sizeof word);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        constexpr Word LowBytes = Word(0x00ff00ff00ff00ffULL);
        word = Word(((word & LowBytes) << 8) | ((word >> 8) & LowBytes));
#endif
        std::memcpy(to, &word, sizeof word);
    }

    DataStream& readString(QString& value);

    // Reading: the length in bytes of the string ahead when it is whole, not null, not empty and
    // of whole units (the usual string); 0 for any other, which is read the long way.
    qsizetype wholeTextAhead() const
    {
        if (m_end - m_cursor < 4)
            return 0;
        const quint32 length = qFromBigEndian<quint32>(m_cursor);
        if (length % 2 != 0 || length == NullLength || m_end - m_cursor - 4 < qsizetype(length))
            return 0;
        return qsizetype(length);
    }
    static std::size_t repeatedTextIndex(const char* bytes, qsizetype length)
    {
        // The first and the last eight bytes (or four, or two), which tell apart the usual
        // texts that differ: numbered names differ at their end, others at their start.
        quint64 first = 0, last = 0;
        if (length >= 8) {
            std::memcpy(&first, bytes, 8);
            std::memcpy(&last, bytes + length - 8, 8);
        } else if (length >= 4) {
            std::memcpy(&first, bytes, 4);
            std::memcpy(&last, bytes + length - 4, 4);
        } else {
            std::memcpy(&first, bytes, 2);
        }
        const quint64 hash =
            (first * 0x9E3779B97F4A7C15ull) ^ (last * 0xC2B2AE3D27D4EB4Full) ^ quint64(length);
        return std::size_t((hash * 0x165667B19E3779F9ull) >> (64 - RepeatedTextBits));
    }
    struct RepeatedText
    {
        const char* bytes = nullptr; // among the bytes read
        qsizetype length = 0;
        QString text;
    };
    static constexpr int RepeatedTextBits = 8;
    static constexpr qsizetype MaximumRepeatedTextBytes = 128;
    std::vector<RepeatedText> m_repeatedTexts;

    // Reading: the bytes read.
    QByteArray m_source;
    const char* m_cursor = nullptr;
    const char* m_end = nullptr;
    QByteArray* m_target = nullptr;
    // While writing, the next byte to write and the end of the room ahead of it, both in the
    // target's storage; null after a flush.
    char* m_out = nullptr;
    char* m_outEnd = nullptr;
    Status m_status = QDataStream::Ok;
    // Writing: the limit on the bytes kept (none when negative); past it, the bytes written are
    // counted (before the scratch room, which holds the fields of the moment) and dropped.
    qsizetype m_limit = -1;
    bool m_counting = false;
    qsizetype m_counted = 0;
    QByteArray m_scratch;
    // Writing: the large arrays whose bytes are copied later (see deferLargeArrays).
    bool m_deferring = false;
    DeferredCopies m_copies;
    void putBytes(char* to, const QByteArray& value);
    char* targetBytes()
    {
        return const_cast<char*>(m_target->constData());
    }
};

// Writing: a run of fields put one after another straight into room made for all of them at
// once, in the same forms as the stream's own operators. A block of a dozen fields then costs
// one check for room and one update of the stream's end instead of one of each per field, and
// the place written stays in a register. The room given must be at least what the fields take
// (tags their length, strings DataStream::textBytes); the stream takes the bytes written when
// the run ends.
class DataStream::Fields
{
public:
    Fields(DataStream& stream, qsizetype room) : stream(stream), at(stream.roomFor(room)) {}
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;
    ~Fields()
    {
        const bool withinRoom = at <= stream.m_outEnd;
        VELMORA_ASSERT(withinRoom);
        stream.m_out = at;
    }

    // A tag's bytes, without its terminator; the stream counts no block for it.
    template <std::size_t N> Fields& tag(const char (&text)[N])
    {
        std::memcpy(at, text, N - 1);
        at += N - 1;
        return *this;
    }
    // The same for a tag known only at run time: its length bytes.
    Fields& tag(const char* text, qsizetype length)
    {
        std::memcpy(at, text, size_t(length));
        at += length;
        return *this;
    }
    Fields& operator<<(bool value) { return number(qint8(value ? 1 : 0)); }
    Fields& operator<<(qint8 value) { return number(value); }
    Fields& operator<<(quint8 value) { return number(value); }
    Fields& operator<<(qint16 value) { return number(value); }
    Fields& operator<<(quint16 value) { return number(value); }
    Fields& operator<<(qint32 value) { return number(value); }
    Fields& operator<<(quint32 value) { return number(value); }
    Fields& operator<<(double value)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return number(bits);
    }
    Fields& operator<<(const QString& value)
    {
        if (value.isNull())
            return number(NullLength);
        const qsizetype units = value.size();
        qToBigEndian(quint32(2 * units), at);
        encodeUnits(reinterpret_cast<const char16_t*>(value.constData()), units, at + 4);
        at += 4 + 2 * units;
        return *this;
    }
    Fields& operator<<(const QRect& value)
    {
        return *this << qint32(value.left()) << qint32(value.top()) << qint32(value.right())
                     << qint32(value.bottom());
    }
    Fields& operator<<(const QColor& value) { return number(colourWord(value)); }
    Fields& operator<<(const char*) = delete;

private:
    template <class T> Fields& number(T value)
    {
        qToBigEndian(value, at);
        at += sizeof(T);
        return *this;
    }

    DataStream& stream;
    char* at;
};

// Reading: a run of fixed-size fields taken from the stream at once when it holds them all,
// then read one after another without a check per field. When it holds fewer, each field is
// read the checked way, so that the values and the fault are those of reading field by field.
// The fields read must take exactly the length given.
class DataStream::Run
{
public:
    Run(DataStream& stream, qsizetype length)
        : stream(stream), at(stream.m_end - stream.m_cursor >= length ? stream.m_cursor : nullptr)
    {
        if (at)
            stream.m_cursor += length;
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    Run& operator>>(qint8& value) { return number(value); }
    Run& operator>>(quint8& value) { return number(value); }
    Run& operator>>(qint16& value) { return number(value); }
    Run& operator>>(quint16& value) { return number(value); }
    Run& operator>>(qint32& value) { return number(value); }
    Run& operator>>(quint32& value) { return number(value); }
    Run& operator>>(bool& value)
    {
        qint8 byte = 0;
        number(byte);
        value = byte != 0;
        return *this;
    }
    Run& operator>>(double& value)
    {
        quint64 bits = 0;
        number(bits);
        std::memcpy(&value, &bits, sizeof value);
        return *this;
    }
    Run& operator>>(QRect& value)
    {
        qint32 left = 0, top = 0, right = 0, bottom = 0;
        *this >> left >> top >> right >> bottom;
        value.setCoords(left, top, right, bottom);
        return *this;
    }
    Run& operator>>(QColor& value)
    {
        quint32 rgb = 0;
        number(rgb);
        value = colourOf(rgb);
        return *this;
    }

private:
    template <class T> Run& number(T& value)
    {
        if (!at) {
            stream.readNumber(value);
            return *this;
        }
        value = qFromBigEndian<T>(at);
        at += sizeof(T);
        return *this;
    }

    DataStream& stream;
    const char* at;
};

} // namespace Velmora
