#include "core/archive_content.h"

#include "core/tar_headers.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <unistd.h>
#include <zlib.h>

namespace ArchiveContent {

namespace {

constexpr qint64 HeadSize = 64 * 1024;

// The first bytes that the gzip stream at the start of the data inflates to, up to one tar
// block; fewer when the stream ends, breaks off or runs out of data before. ranOut tells the
// last: the data stops inside the stream, without a fault up to there.
QByteArray inflatedStart(const QByteArray& data, bool& ranOut)
{
    ranOut = false;
    QByteArray inflated(int(TarHeaders::BlockSize), '\0');
    z_stream stream = {};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return QByteArray();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
    stream.avail_out = uInt(inflated.size());
    const int status = inflate(&stream, Z_SYNC_FLUSH);
    ranOut =
        (status == Z_OK || status == Z_BUF_ERROR) && stream.avail_in == 0 && stream.avail_out > 0;
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
    return identify(file.handle());
}

Kind identify(int descriptor)
{
    QByteArray head(HeadSize, '\0');
    qint64 got = 0;
    while (got < HeadSize) {
        const ssize_t read = ::pread(descriptor, head.data() + got, size_t(HeadSize - got), got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return Kind_UNREADABLE;
        if (read == 0)
            break;
        got += read;
    }
    head.resize(qsizetype(got));
    // All of the file when it is shorter than what is looked at.
    const bool whole = got < HeadSize;
    static const char gzip[] = "\x1f\x8b";
    if (head.startsWith(gzip)) {
        bool ranOut = false;
        const QByteArray inner = inflatedStart(head, ranOut);
        if (inner.startsWith(gzip))
            return Kind_GZIP_TWICE;
        if (isTarStart(inner))
            return Kind_TAR;
        // Whatever it holds cannot be told before a whole block.
        return ranOut && whole ? Kind_CUT_SHORT : Kind_GZIP_OTHER;
    }
    if (whole && head == QByteArray(gzip, 1))
        return Kind_CUT_SHORT;
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
