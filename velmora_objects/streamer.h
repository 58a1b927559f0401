#pragma once

#include "core/gradient.h"
#include "core/whole_file.h"
#include "velmora_objects/data_stream.h"
#include "velmora_objects/velmora_types.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVariant>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace Velmora {

// The tagged binary stream of project files and of controls on the clipboard: the big-endian
// forms of a Qt data stream of version 6 (the Qt 3.3 forms) behind an eight-byte magic and the
// format version. Blocks are framed by raw text tags ("Page_start" ... "Page_end").
//
// The stream works on bytes in memory. Reading a file checks its header, then reads it whole
// (refusing one larger than maximumFileSize()); writing one builds its bytes in memory, and
// close() hands them to WholeFile, which writes a temporary file beside the target (through a
// symbolic link, to the file it names), syncs it and only then puts it in the target's place with
// the target's permissions. A target that may not be written, or is marked read-only, is refused
// when the stream is opened, and a failed save leaves the old file as it was. The writer holds
// the same bound as the reader: a project that would pass it keeps no more than the bound in
// memory, is counted to its end, and is refused by close() with its size, so that no file is
// ever written that could not be opened again.
//
// A field cut short or damaged ends the reading (see DataStream): the next tag expected then
// fails, so a damaged block is reported at the tag that follows the damage. A count that
// promises more than the stream holds fails at once (checkCount). Format faults raise
// std::runtime_error; using the stream in the wrong mode is fatal.
class Streamer : public QFile
{
public:
    enum Mode
    {
        Mode_READ = 0,
        Mode_WRITE = 1,
        Mode_NONE = 2
    };

    // The newest format version, written by every writer; later versions are refused.
    static constexpr quint32 CurrentVersion = 18;
    // "Orvn", "KVX" and 0x08, most significant byte first.
    static constexpr qint64 Magic = qint64(0x4f72766e4b565808LL);
    // Files beyond this size are refused once their header has been read, and never written.
    static constexpr qint64 MaximumFileSize = qint64(1) << 30;
    // The bound in force for reading and writing files: MaximumFileSize, unless a test set a
    // small one to try the bound without a gigabyte on disk.
    static qint64 maximumFileSize();
    static void setMaximumFileSize(qint64 bytes);
    // The magic and the format version.
    static constexpr qint64 HeaderBytes = 8 + 4;

    Streamer();
    ~Streamer() override;

    void open(Mode mode, const QString& path);
    // The same over a byte array, which must outlive the stream; writing replaces what the
    // array held. The file side of the streamer stays closed.
    void open(Mode mode, QByteArray* bytes);
    // The refusal of a file stream past the bound, naming the project's size: a
    // std::runtime_error that a writer who knows a way out can tell from other failures.
    class TooLarge : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

    // Ends a file stream. Writing, this is where the target is replaced; a stream past the
    // bound raises TooLarge, a failed write std::runtime_error saying why ("No space left on
    // device"...), and the target stays untouched.
    void close() override;
    // True while a file is open for reading or writing (the file side of the streamer).
    bool isOpen() const { return m_fileOpen; }

    void writeHeader();
    void readHeader();

    Mode mode() const { return m_mode; }
    // The format version read from the header; all bits set while writing.
    quint32 version() const { return m_version; }

    // A tag, or a tag made of a block name and a suffix ("Slider", "_start"), compared in place.
    // Writing to a byte array, the array holds exactly the bytes written whenever a block that
    // is not inside another one has ended, and once the stream is closed or destroyed.
    void writeTag(const char* tag)
    {
        const size_t length = std::strlen(tag);
        m_data.writeRawData(tag, int(length));
        if (length >= 6 && std::memcmp(tag + length - 6, "_start", 6) == 0)
            ++m_openBlocks;
        else if (length >= 4 && std::memcmp(tag + length - 4, "_end", 4) == 0)
            blockEnded();
    }
    void writeTag(const char* name, const char* suffix)
    {
        m_data.writeRawData(name, int(std::strlen(name)));
        writeTag(suffix);
    }
    void expectTag(const char* tag)
    {
        if (!m_data.skipIf(tag, qsizetype(std::strlen(tag))))
            missingTag(tag);
    }
    void expectTag(const char* name, const char* suffix)
    {
        if (!m_data.skipIf(name, qsizetype(std::strlen(name))) ||
            !m_data.skipIf(suffix, qsizetype(std::strlen(suffix))))
            missingTag(name, suffix);
    }

    // Counts a whole block whose tags were written among other fields (DataStream::Fields::tag)
    // as writeTag counts the blocks it opens and ends.
    void blockWritten()
    {
        if (m_openBlocks <= 0) {
            m_openBlocks = 0;
            m_data.flush();
        }
    }

    DataStream& stream() { return m_data; }
    // Writing: room for about this many more bytes (see DataStream::reserve).
    void reserve(qsizetype bytes) { m_data.reserve(bytes); }

    Streamer& operator<<(bool value)
    {
        m_data << value;
        return *this;
    }
    Streamer& operator>>(bool& value)
    {
        m_data >> value;
        return *this;
    }
    Streamer& operator<<(const Gradient& gradient);
    // A gradient among other fields: the bytes it takes, and its fields.
    static qsizetype gradientBytes(const Gradient& gradient)
    {
        return DataStream::textBytes(gradient.name()) + 4 + 12 * gradient.stops().size();
    }
    static void writeGradient(DataStream::Fields& out, const Gradient& gradient)
    {
        out << gradient.name() << qint32(gradient.stops().size());
        for (const auto& stop : gradient.stops())
            out << stop.first << stop.second;
    }
    Streamer& operator>>(Gradient& gradient);
    Streamer& operator<<(const std::vector<ButtonFunction>& functions);
    Streamer& operator>>(std::vector<ButtonFunction>& functions);
    Streamer& operator<<(const std::vector<unsigned int>& values);
    Streamer& operator>>(std::vector<unsigned int>& values);

    // Variants in the Qt 3 form that stream version 6 stands for: a quint32 type id (0 invalid,
    // 3 string, 10 colour, 16 int, 17 uint, 18 bool, 19 double) and the value. An enumeration
    // travels as its int number. Reading any other id raises std::runtime_error.
    void writeVariant(const QVariant& value);
    QVariant readVariant();
    // A variant among other fields: the bytes it takes, and its fields.
    static qsizetype variantBytes(const QVariant& value)
    {
        switch (value.metaType().id()) {
        case QMetaType::UnknownType:
            return 4 + 4;
        case QMetaType::QString:
            return 4 + DataStream::textBytes(*static_cast<const QString*>(value.constData()));
        case QMetaType::Bool:
            return 4 + 1;
        case QMetaType::Double:
            return 4 + 8;
        default:
            return 4 + 4;
        }
    }
    static void writeVariant(DataStream::Fields& out, const QVariant& value)
    {
        const QMetaType type = value.metaType();
        switch (type.id()) {
        case QMetaType::UnknownType:
            out << quint32(Qt3Invalid) << QString();
            return;
        case QMetaType::QString:
            out << quint32(Qt3String) << *static_cast<const QString*>(value.constData());
            return;
        case QMetaType::QColor:
            out << quint32(Qt3Color) << *static_cast<const QColor*>(value.constData());
            return;
        case QMetaType::Int:
            out << quint32(Qt3Int) << qint32(*static_cast<const int*>(value.constData()));
            return;
        case QMetaType::UInt:
            out << quint32(Qt3UInt) << quint32(*static_cast<const uint*>(value.constData()));
            return;
        case QMetaType::Bool:
            out << quint32(Qt3Bool) << *static_cast<const bool*>(value.constData());
            return;
        case QMetaType::Double:
            out << quint32(Qt3Double) << *static_cast<const double*>(value.constData());
            return;
        default:
            break;
        }
        if (!(type.flags() & QMetaType::IsEnumeration))
            VELMORA_UNREACHABLE("Variant type without a stream form");
        out << quint32(Qt3Int) << qint32(value.toInt());
    }

    // Guards for readers facing damaged files, raising "Unexpected end of file". checkStatus
    // fails once a field was cut short or damaged, for readers that must decide on a field
    // before any tag follows; checkCount fails when a count read from the file promises more
    // elements (of at least minBytesEach bytes) than the stream still holds.
    void checkStatus()
    {
        if (m_data.status() != QDataStream::Ok)
            unexpectedEnd();
    }
    void checkCount(quint64 count, quint64 minBytesEach);

private:
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

    // The plain file open stays hidden: a streamer is opened only with a mode and a target.
    using QFile::open;

    void readWholeFile();
    // The version of a header (the first bytes of a stream); a header that is short or foreign,
    // or of a future version, raises the reader's error.
    static quint32 checkHeader(const QByteArray& header);
    void blockEnded()
    {
        if (--m_openBlocks <= 0) {
            m_openBlocks = 0;
            m_data.flush();
        }
    }
    [[noreturn]] static void unexpectedEnd();

    // Reading: the count stops that follow (the count already checked against the bytes left).
    GradientStops readStops(qsizetype count);
    // A stop in the stream: its position and its colour.
    static constexpr quint64 StopBytes = sizeof(double) + sizeof(quint32);
    [[noreturn]] static void missingTag(const char* name, const char* suffix = "");

    // A file's bytes: the bytes built while writing, and the whole file while it is read in
    // (the data stream then holds them). Declared before the data stream, which writes into
    // them until it is destroyed.
    QByteArray m_bytes;
    DataStream m_data;
    Mode m_mode = Mode_NONE;
    quint32 m_version = 0xFFFFFFFFu;
    bool m_fileOpen = false;
    // Blocks begun and not yet ended while writing.
    int m_openBlocks = 0;
    // While writing a file: the temporary file that replaces the target on close.
    std::unique_ptr<WholeFile::SaveFile> m_saveFile;
};

} // namespace Velmora
