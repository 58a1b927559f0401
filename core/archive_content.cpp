#include "core/archive_content.h"

#include "core/tar_headers.h"

#include <QByteArray>
#include <QFile>
#include <zlib.h>

namespace ArchiveContent {

namespace {

constexpr qint64 HeadSize = 64 * 1024;

// The first bytes that the gzip stream at the start of the data inflates to, up to one tar
// block; fewer when the stream ends or breaks off before.
QByteArray inflatedStart(const QByteArray& data)
{
    QByteArray inflated(int(TarHeaders::BlockSize), '\0');
    z_stream stream = {};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return QByteArray();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
    stream.avail_out = uInt(inflated.size());
    inflate(&stream, Z_SYNC_FLUSH);
    inflated.resize(qsizetype(stream.total_out));
    inflateEnd(&stream);
    return inflated;
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
    const QByteArray head = file.read(HeadSize);
    static const char gzip[] = "\x1f\x8b";
    if (head.startsWith(gzip)) {
        const QByteArray inner = inflatedStart(head);
        if (inner.startsWith(gzip))
            return Kind_GZIP_TWICE;
        return isTarStart(inner) ? Kind_TAR : Kind_GZIP_OTHER;
    }
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
