#include "core/archive_content.h"

#include "core/tar_headers.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace ArchiveContent {

namespace {

constexpr qint64 HeadSize = 64 * 1024;
// A stream that shows no fault in this much data is taken as whole, so that telling what a
// huge file is costs a bounded time.
constexpr quint64 MostDataChecked = 256 * 1024 * 1024;
constexpr size_t ChunkSize = 64 * 1024;
const char GzipMagic[] = "\x1f\x8b";

// Reads up to size bytes at the offset; fewer only at the end of the file, -1 on an error.
ssize_t readAt(int descriptor, char* buffer, size_t size, off_t offset)
{
    size_t got = 0;
    while (got < size) {
        const ssize_t read = ::pread(descriptor, buffer + got, size - got, offset + off_t(got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return -1;
        if (read == 0)
            break;
        got += size_t(read);
    }
    return ssize_t(got);
}

enum class Decoded
{
    Whole,
    Damaged,
    Unreadable
};

// Decodes the gzip stream at the start of the file to its end, with every check that gzip
// makes (header, method, data, CRC and length), into the first tar block of what it holds. A
// gzip stream right after it continues it, as readers of gzip streams take it; anything else
// after it is passed over, as they pass over it.
Decoded decodeGzip(int descriptor, QByteArray& start)
{
    start.clear();
    z_stream stream = {};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return Decoded::Unreadable;
    std::vector<char> input(ChunkSize), output(ChunkSize);
    off_t offset = 0;
    quint64 decoded = 0;
    Decoded result = Decoded::Damaged;
    for (;;) {
        if (stream.avail_in == 0) {
            const ssize_t got = readAt(descriptor, input.data(), input.size(), offset);
            if (got <= 0) {
                // The file ends inside the stream: cut short.
                result = got < 0 ? Decoded::Unreadable : Decoded::Damaged;
                break;
            }
            offset += got;
            stream.next_in = reinterpret_cast<Bytef*>(input.data());
            stream.avail_in = uInt(got);
        }
        stream.next_out = reinterpret_cast<Bytef*>(output.data());
        stream.avail_out = uInt(output.size());
        const int status = inflate(&stream, Z_NO_FLUSH);
        const size_t produced = output.size() - stream.avail_out;
        const size_t wanted = size_t(TarHeaders::BlockSize) - size_t(start.size());
        if (wanted > 0)
            start.append(output.data(), qsizetype(std::min(produced, wanted)));
        decoded += produced;
        if (status == Z_STREAM_END) {
            const off_t next = offset - off_t(stream.avail_in);
            char magic[2];
            if (readAt(descriptor, magic, sizeof magic, next) != ssize_t(sizeof magic) ||
                std::memcmp(magic, GzipMagic, sizeof magic) != 0 || inflateReset(&stream) != Z_OK) {
                result = Decoded::Whole;
                break;
            }
            offset = next;
            stream.avail_in = 0;
            continue;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            result = status == Z_MEM_ERROR ? Decoded::Unreadable : Decoded::Damaged;
            break;
        }
        if (decoded >= MostDataChecked) {
            result = Decoded::Whole;
            break;
        }
    }
    inflateEnd(&stream);
    return result;
}

bool isTarStart(const QByteArray& data)
{
    return data.size() >= qsizetype(TarHeaders::BlockSize) &&
           TarHeaders::isHeaderBlock(data.constData());
}

} // namespace

Kind identify(const QString& path, RegularFile::Result* opened)
{
    QFile file;
    const RegularFile::Result result = RegularFile::open(file, path);
    if (opened)
        *opened = result;
    if (result != RegularFile::Result_OPENED)
        return Kind_UNREADABLE;
    return identify(file.handle());
}

Kind identify(int descriptor)
{
    QByteArray head(HeadSize, '\0');
    const ssize_t got = readAt(descriptor, head.data(), size_t(HeadSize), 0);
    if (got < 0)
        return Kind_UNREADABLE;
    head.resize(qsizetype(got));
    if (head.startsWith(GzipMagic)) {
        // What a stream holds counts only once the stream itself is intact.
        QByteArray inner;
        switch (decodeGzip(descriptor, inner)) {
        case Decoded::Unreadable:
            return Kind_UNREADABLE;
        case Decoded::Damaged:
            return Kind_DAMAGED_GZIP;
        case Decoded::Whole:
            break;
        }
        if (inner.startsWith(GzipMagic))
            return Kind_GZIP_TWICE;
        return isTarStart(inner) ? Kind_TAR : Kind_GZIP_OTHER;
    }
    // The first byte of the magic alone: a stream cut short after it.
    if (head == QByteArray(GzipMagic, 1))
        return Kind_DAMAGED_GZIP;
    if (head.startsWith(QByteArray("\xfd"
                                   "7zXZ\0",
                                   6)))
        return Kind_XZ;
    if (head.startsWith("BZh"))
        return Kind_BZIP2;
    if (head.startsWith("\x28\xb5\x2f\xfd"))
        return Kind_ZSTD;
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return Kind_ZIP;
    return isTarStart(head) ? Kind_TAR : Kind_OTHER;
}

} // namespace ArchiveContent
