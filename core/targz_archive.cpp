#include "core/targz_archive.h"

#include "core/regular_file.h"
#include "core/tar_headers.h"
#include "core/tar_memory_read.h"
#include "core/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <fnmatch.h>
#include <future>
#include <libtar.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>
#include <zlib.h>

namespace TargzHooks {

namespace {

// zlib's own buffer, larger than its default of 8 KB, so that the file is read in few system
// calls.
constexpr unsigned StreamBufferSize = 128 * 1024;

// A gzip stream compressed by several threads at once: the data is cut into chunks of a fixed
// size, each compressed on its own (at zlib's default level, as a single stream would be) with
// the end of the chunk before it as its dictionary, and written in order. The chunks end on a
// byte boundary, so together they make one standard stream, nearly as small as a single
// compressor makes it, and the bytes never depend on the timing of the threads.
class GzipWriter
{
public:
    explicit GzipWriter(int descriptor) : m_descriptor(descriptor) {}
    GzipWriter(const GzipWriter&) = delete;
    GzipWriter& operator=(const GzipWriter&) = delete;
    ~GzipWriter()
    {
        m_inFlight.clear(); // waits for the threads
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }

    // Each byte is copied once, into the chunk that holds it. False once any write failed, with
    // error() saying why; nothing is thrown into libtar's frames, not even a failed allocation.
    bool write(const char* data, size_t size) noexcept
    {
        try {
            return writeChunks(data, size);
        } catch (...) {
            return failed(ENOMEM);
        }
    }

    // Compresses what is left, writes the trailer and closes the descriptor; false when any
    // write failed.
    bool close() noexcept
    {
        bool finished = false;
        try {
            finished = finish();
        } catch (...) {
            failed(ENOMEM);
        }
        const bool closed = ::close(m_descriptor) == 0;
        if (!closed)
            failed(errno);
        m_descriptor = -1;
        return finished && closed && !m_failed;
    }

    // The error number of the first failure; 0 while none.
    int error() const { return m_error; }

private:
    bool writeChunks(const char* data, size_t size)
    {
        while (!m_failed && size > 0) {
            const size_t room = size_t(ChunkSize - m_pending.size());
            const size_t taken = std::min(room, size);
            m_pending.append(data, qsizetype(taken));
            data += taken;
            size -= taken;
            if (m_pending.size() == ChunkSize) {
                dispatch(m_pending, false);
                m_pending = QByteArray();
                m_pending.reserve(ChunkSize);
            }
        }
        return !m_failed;
    }

    bool finish()
    {
        dispatch(m_pending, true);
        m_pending.clear();
        drain(0);
        unsigned char trailer[8];
        for (int i = 0; i < 4; ++i) {
            trailer[i] = uchar(m_crc >> (8 * i));
            trailer[4 + i] = uchar(m_size >> (8 * i));
        }
        writeOut(reinterpret_cast<const char*>(trailer), sizeof trailer);
        return !m_failed;
    }

    bool failed(int error)
    {
        if (!m_failed)
            m_error = error != 0 ? error : EIO;
        m_failed = true;
        return false;
    }

    static constexpr qsizetype ChunkSize = 256 * 1024;
    static constexpr qsizetype WindowSize = 32 * 1024;

    struct Chunk
    {
        QByteArray deflated;
        uLong crc = 0;
        qsizetype size = 0;
        bool compressed = false;
    };

    static Chunk compress(const QByteArray& input, const QByteArray& dictionary, bool last)
    {
        Chunk chunk;
        chunk.size = input.size();
        chunk.crc = crc32(0, reinterpret_cast<const Bytef*>(input.constData()), uInt(input.size()));
        z_stream stream = {};
        if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                         Z_DEFAULT_STRATEGY) != Z_OK)
            return chunk;
        if (!dictionary.isEmpty())
            deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(dictionary.constData()),
                                 uInt(dictionary.size()));
        chunk.deflated.resize(qsizetype(deflateBound(&stream, uLong(input.size())) + 64));
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
        stream.avail_in = uInt(input.size());
        stream.next_out = reinterpret_cast<Bytef*>(chunk.deflated.data());
        stream.avail_out = uInt(chunk.deflated.size());
        const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
        chunk.compressed = (last ? result == Z_STREAM_END : result == Z_OK) &&
                           stream.avail_in == 0 && stream.avail_out > 0;
        chunk.deflated.resize(qsizetype(stream.total_out));
        deflateEnd(&stream);
        return chunk;
    }

    void dispatch(const QByteArray& input, bool last)
    {
        if (!m_headerWritten) {
            // The header zlib writes too: no name, no date, from a Unix system.
            static const char header[10] = {'\x1f', '\x8b', 8, 0, 0, 0, 0, 0, 0, 3};
            writeOut(header, sizeof header);
            m_headerWritten = true;
        }
        const QByteArray dictionary = m_dictionary;
        m_dictionary = input.size() >= WindowSize ? input.right(WindowSize)
                                                  : (m_dictionary + input).right(WindowSize);
        // A lone last chunk is compressed here, with no thread to start.
        if (last && m_inFlight.empty()) {
            take(compress(input, dictionary, last));
            return;
        }
        m_inFlight.push_back(std::async(std::launch::async, compress, input, dictionary, last));
        drain(size_t(std::max(1, QThread::idealThreadCount())));
    }

    // Writes the chunks done in order until no more than the given number are in flight.
    void drain(size_t inFlight)
    {
        while (m_inFlight.size() > inFlight) {
            take(m_inFlight.front().get());
            m_inFlight.pop_front();
        }
    }

    void take(const Chunk& chunk)
    {
        if (!chunk.compressed)
            failed(ENOMEM);
        m_crc = crc32_combine(m_crc, chunk.crc, z_off_t(chunk.size));
        m_size += quint64(chunk.size);
        writeOut(chunk.deflated.constData(), size_t(chunk.deflated.size()));
    }

    void writeOut(const char* data, size_t size)
    {
        while (!m_failed && size > 0) {
            const ssize_t written = ::write(m_descriptor, data, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                failed(written < 0 ? errno : EIO);
                break;
            }
            data += written;
            size -= size_t(written);
        }
    }

    int m_descriptor;
    QByteArray m_pending;
    QByteArray m_dictionary;
    std::deque<std::future<Chunk>> m_inFlight;
    uLong m_crc = crc32(0, nullptr, 0);
    quint64 m_size = 0;
    bool m_headerWritten = false;
    bool m_failed = false;
    int m_error = 0;
};

// A descriptor's stream: zlib's for reading, a GzipWriter for writing.
struct Stream
{
    gzFile reader = nullptr;
    std::shared_ptr<GzipWriter> writer;
};

std::mutex tableMutex;

std::unordered_map<int, Stream>& streams()
{
    static std::unordered_map<int, Stream> table;
    return table;
}

Stream takeStream(int descriptor)
{
    const std::lock_guard<std::mutex> lock(tableMutex);
    const auto found = streams().find(descriptor);
    if (found == streams().end())
        return Stream();
    const Stream stream = found->second;
    streams().erase(found);
    return stream;
}

std::shared_ptr<GzipWriter> writerOf(int descriptor)
{
    const std::lock_guard<std::mutex> lock(tableMutex);
    const auto found = streams().find(descriptor);
    return found == streams().end() ? nullptr : found->second.writer;
}

} // namespace

gzFile streamOf(int descriptor)
{
    const std::lock_guard<std::mutex> lock(tableMutex);
    const auto found = streams().find(descriptor);
    return found == streams().end() ? nullptr : found->second.reader;
}

// Puts a gzip stream on the open descriptor (compressing for write-only access, else
// decompressing) and enters it in the table. On failure the descriptor is closed and errno is
// ENOMEM. It runs inside libtar's open hook too, so a failed allocation is a false result,
// never an exception thrown into libtar's frames.
bool adopt(int descriptor, int flags) noexcept
{
    Stream stream;
    try {
        if ((flags & O_ACCMODE) == O_WRONLY) {
            stream.writer = std::make_shared<GzipWriter>(descriptor);
        } else {
            stream.reader = gzdopen(descriptor, "rb");
            if (!stream.reader) {
                ::close(descriptor);
                errno = ENOMEM;
                return false;
            }
            gzbuffer(stream.reader, StreamBufferSize);
        }
        const std::lock_guard<std::mutex> lock(tableMutex);
        streams()[descriptor] = stream;
        return true;
    } catch (...) {
        // The writer, once made, owns the descriptor and closes it as it goes.
        if (stream.reader)
            gzclose(stream.reader);
        else if (!stream.writer)
            ::close(descriptor);
        errno = ENOMEM;
        return false;
    }
}

int gzOpenHook(const char* pathName, int flags, ...) noexcept
{
    const int access = flags & O_ACCMODE;
    if (access != O_WRONLY && access != O_RDONLY) {
        errno = EINVAL;
        return -1;
    }
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list arguments;
        va_start(arguments, flags);
        mode = mode_t(va_arg(arguments, int));
        va_end(arguments);
    }
    // An archive is read only from a regular file: a FIFO would block the opening for ever.
    // The path's copy is the one allocation here; its failure is libtar's ENOMEM.
    RegularFile::Result opened = RegularFile::Result_FAILED;
    int descriptor = -1;
    try {
        descriptor = access == O_RDONLY ? RegularFile::openDescriptor(QByteArray(pathName), &opened)
                                        : ::open(pathName, flags | O_CLOEXEC, mode);
    } catch (...) {
        errno = ENOMEM;
        return -1;
    }
    if (descriptor < 0)
        return -1;
    if ((flags & O_CREAT) && ::fchmod(descriptor, mode) != 0) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return -1;
    }
    return adopt(descriptor, flags) ? descriptor : -1;
}

int gzCloseHook(int descriptor)
{
    const Stream stream = takeStream(descriptor);
    if (!stream.reader && !stream.writer) {
        errno = EBADF;
        return -1;
    }
    // A write error, or a read that met the end of a truncated stream, shows here.
    if (stream.writer) {
        if (stream.writer->close())
            return 0;
        errno = stream.writer->error();
        return -1;
    }
    return gzclose(stream.reader) == Z_OK ? 0 : -1;
}

ssize_t gzReadHook(int descriptor, void* buffer, size_t size)
{
    const gzFile stream = streamOf(descriptor);
    if (!stream) {
        errno = EBADF;
        return -1;
    }
    return gzread(stream, buffer, unsigned(std::min<size_t>(size, INT_MAX)));
}

ssize_t gzWriteHook(int descriptor, const void* buffer, size_t size)
{
    const std::shared_ptr<GzipWriter> writer = writerOf(descriptor);
    if (!writer) {
        errno = EBADF;
        return -1;
    }
    if (!writer->write(static_cast<const char*>(buffer), size)) {
        errno = writer->error();
        return -1;
    }
    return ssize_t(size);
}

} // namespace TargzHooks

namespace {

tartype_t gzipType = {TargzHooks::gzOpenHook, TargzHooks::gzCloseHook, TargzHooks::gzReadHook,
                      TargzHooks::gzWriteHook};

// Hidden entries, and the special files that only QDir::System lists, are not archived.
const QDir::Filters ArchivedEntries =
    QDir::Dirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot;

constexpr size_t CopyBufferSize = 64 * 1024;

int clampedToInt(qint64 amount)
{
    return int(std::clamp<qint64>(amount, 0, INT_MAX));
}

qint64 sizeToArchive(const QFileInfo& info)
{
    if (info.isSymLink())
        return 0;
    if (info.isFile())
        return info.size();
    qint64 total = 0;
    if (info.isDir()) {
        const QFileInfoList entries =
            QDir(info.filePath()).entryInfoList(ArchivedEntries, QDir::NoSort);
        for (const QFileInfo& entry : entries)
            total += sizeToArchive(entry);
    }
    return total;
}

gzFile streamOf(TAR* tar)
{
    return TargzHooks::streamOf(tar_fd(tar));
}

using TarHeaders::BlockSize;
using TarHeaders::carriesData;
using TarHeaders::HeaderRead;
using TarHeaders::isRegular;
using TarHeaders::MemberHeader;
using TarHeaders::readFully;
using TarHeaders::readHeader;

// A name that can only mean a file directly inside the destination folder.
bool isFlatName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool writeAll(int descriptor, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

// Reads the member's data with its padding to whole blocks, writing the data to the output. A
// stream that ends early fails.
bool transferData(gzFile stream, quint64 size, int output)
{
    std::vector<char> buffer(CopyBufferSize);
    quint64 remaining = (size + BlockSize - 1) / BlockSize * BlockSize;
    quint64 payload = size;
    while (remaining > 0) {
        const unsigned chunk = unsigned(std::min<quint64>(remaining, buffer.size()));
        if (!readFully(stream, buffer.data(), chunk))
            return false;
        if (payload > 0) {
            const size_t part = size_t(std::min<quint64>(payload, chunk));
            if (!writeAll(output, buffer.data(), part))
                return false;
            payload -= part;
        }
        remaining -= chunk;
    }
    return true;
}

bool skipData(gzFile stream, const MemberHeader& member)
{
    return !carriesData(member) || TarHeaders::skipData(stream, member.size);
}

// Writes a regular member with a flat name into the destination folder. An existing entry of
// that name is replaced, never written through (it may be a link). A sparse member is not
// extracted: its stored data is not the file.
bool extractMember(gzFile stream, const MemberHeader& member, const QString& destination)
{
    if (!isRegular(member) || member.sparse != TarHeaders::Sparse::None || !isFlatName(member.name))
        return false;
    if (!destination.isEmpty() && !QDir().mkpath(destination))
        return false;
    const std::string target =
        destination.isEmpty() ? member.name : destination.toStdString() + "/" + member.name;
    if (::unlink(target.c_str()) != 0 && errno != ENOENT)
        return false;
    const int output =
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (output < 0)
        return false;
    bool extracted = transferData(stream, member.size, output);
    extracted = ::close(output) == 0 && extracted;
    if (!extracted)
        ::unlink(target.c_str());
    return extracted;
}

// After the headers ended with last: true when they ended with the end-of-archive blocks of an
// intact stream. A damaged header or stream, or a stream that simply ran out (a truncated
// archive), is false.
bool endedCleanly(gzFile stream, HeaderRead last)
{
    if (last != HeaderRead::End || gzeof(stream))
        return false;
    int code = Z_OK;
    gzerror(stream, &code);
    return code == Z_OK;
}

} // namespace

struct TargzArchive::Open
{
    QByteArray path; // libtar keeps a pointer to it while the archive is open
    TAR* tar = nullptr;
};

TargzArchive::TargzArchive(QObject* parent) : QObject(parent) {}

TargzArchive::~TargzArchive()
{
    closeArchive();
}

bool TargzArchive::openArchive(const QByteArray& path, int flags, int mode)
{
    // The gzip stream is opened here rather than by libtar, which keeps memory of every archive
    // it fails to open; once the stream exists, handing it to libtar cannot fail.
    const int descriptor = gzipType.openfunc(path.constData(), flags, mode);
    return descriptor != -1 && adoptStream(descriptor, path, flags);
}

// Reads the archive from a descriptor of the caller's, which stays open: the stream gets a
// descriptor of its own, sharing the file and its offset.
bool TargzArchive::openDescriptor(int descriptor)
{
    const int own = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    return own >= 0 && TargzHooks::adopt(own, O_RDONLY) && adoptStream(own, QByteArray(), O_RDONLY);
}

// Hands the descriptor, whose gzip stream is in the table, to libtar; on failure the stream and
// the descriptor are closed.
bool TargzArchive::adoptStream(int descriptor, const QByteArray& path, int flags)
{
    auto open = std::make_unique<Open>();
    open->path = path;
    if (tar_fdopen(&open->tar, descriptor, open->path.data(), &gzipType, flags, 0, TAR_GNU) != 0) {
        gzipType.closefunc(descriptor);
        return false;
    }
    m_open = std::move(open);
    return true;
}

bool TargzArchive::closeArchive()
{
    if (!m_open)
        return false;
    const std::unique_ptr<Open> open = std::move(m_open);
    return tar_close(open->tar) == 0;
}

bool TargzArchive::close()
{
    return !m_open || closeArchive();
}

void TargzArchive::emitProgress(qint64 done)
{
    emit operationProgress(clampedToInt(done));
}

bool TargzArchive::create(const QString& archivePath, const QList<TarItemInfo>& items)
{
    const WholeFile::OversizeWriteGuard guard;
    m_error.clear();
    if (m_open)
        return false;
    qint64 total = 0;
    for (const TarItemInfo& item : items) {
        const QFileInfo info(item.path);
        if (!info.exists())
            return false;
        total += sizeToArchive(info);
    }
    emit operationStarted(clampedToInt(total));

    WholeFile::SaveFile file(archivePath);
    if (!beginWriting(file))
        return false;
    qint64 done = 0;
    int error = 0;
    for (const TarItemInfo& item : items) {
        const QString name = item.name.isEmpty() ? item.path : item.name;
        errno = 0;
        if (!appendEntry(item.path, name, done)) {
            error = errno != 0 ? errno : EIO;
            break;
        }
    }
    return finishWriting(file, error);
}

bool TargzArchive::createFromMemory(const QString& archivePath, const QList<TarMember>& members)
{
    const WholeFile::OversizeWriteGuard guard;
    m_error.clear();
    if (m_open)
        return false;
    qint64 total = 0;
    for (const TarMember& member : members)
        total += member.data.size();
    emit operationStarted(clampedToInt(total));
    WholeFile::SaveFile file(archivePath);
    if (!beginWriting(file))
        return false;
    // Every member has the same header but for its name and size: a regular file of mode 0644,
    // this process's user and group, dated now. A build that sets SOURCE_DATE_EPOCH (the
    // reproducible-builds convention) gets members owned by root and dated then instead, so
    // that the same members make the same bytes on every machine.
    struct stat status = {};
    status.st_mode = S_IFREG | 0644;
    status.st_uid = ::getuid();
    status.st_gid = ::getgid();
    status.st_mtime = ::time(nullptr);
    bool fixedDate = false;
    const qint64 sourceDate = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&fixedDate);
    if (fixedDate && sourceDate >= 0) {
        status.st_uid = 0;
        status.st_gid = 0;
        status.st_mtime = time_t(sourceDate);
    }
    std::memset(&m_open->tar->th_buf, 0, sizeof m_open->tar->th_buf);
    th_set_from_stat(m_open->tar, &status);
    const tar_header common = m_open->tar->th_buf;
    qint64 done = 0;
    int error = 0;
    for (const TarMember& member : members) {
        errno = 0;
        if (!appendMember(member, common)) {
            error = errno != 0 ? errno : EIO;
            break;
        }
        done += member.data.size();
        emitProgress(done);
    }
    return finishWriting(file, error);
}

bool TargzArchive::beginWriting(WholeFile::SaveFile& file)
{
    if (!WholeFile::open(file)) {
        m_error = file.errorString();
        return false;
    }
    // The gzip stream gets a descriptor of its own, so that closing it leaves the save file open
    // for its commit.
    const int descriptor = ::fcntl(file.handle(), F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0 || !TargzHooks::adopt(descriptor, O_WRONLY) ||
        !adoptStream(descriptor, QFile::encodeName(file.fileName()), O_WRONLY)) {
        file.cancelWriting(errno);
        WholeFile::commit(file);
        m_error = file.errorString();
        return false;
    }
    return true;
}

bool TargzArchive::finishWriting(WholeFile::SaveFile& file, int error)
{
    if (error == 0 && !m_open)
        error = EIO;
    if (error == 0 && tar_append_eof(m_open->tar) != 0)
        error = errno != 0 ? errno : EIO;
    // Closing the gzip stream is the last write: an error of any write shows here.
    errno = 0;
    if (!closeArchive() && error == 0)
        error = errno != 0 ? errno : EIO;
    if (error != 0)
        file.cancelWriting(error);
    const bool committed = WholeFile::commit(file);
    m_error = file.errorString();
    return committed;
}

// The header as libtar makes it, from the common one with the member's name and size, then the
// bytes in one write, then the padding to a whole block.
bool TargzArchive::appendMember(const TarMember& member, const tar_header& common)
{
    // libtar's size field takes an int.
    if (!m_open || member.data.size() > INT_MAX)
        return false;
    TAR* tar = m_open->tar;
    tar->th_buf = common;
    th_set_size(tar, member.data.size());
    QByteArray name = member.name.toUtf8();
    th_set_path(tar, name.data());
    const int headerWritten = th_write(tar);
    // The copy libtar makes of a long name is not freed by libtar itself.
    std::free(tar->th_buf.gnu_longname);
    tar->th_buf.gnu_longname = nullptr;
    if (headerWritten != 0)
        return false;
    const size_t size = size_t(member.data.size());
    static const char zeros[T_BLOCKSIZE] = {};
    const size_t padding = size_t((BlockSize - size % BlockSize) % BlockSize);
    return TargzHooks::gzWriteHook(tar_fd(tar), member.data.constData(), size) == ssize_t(size) &&
           TargzHooks::gzWriteHook(tar_fd(tar), zeros, padding) == ssize_t(padding);
}

namespace {

// libtar's tar_append_file, then the copies of a long name and a long link target that libtar
// makes for the header freed, which libtar itself never frees.
int appendFile(TAR* tar, const QString& path, const QString& name)
{
    const int result = tar_append_file(tar, path.toStdString().c_str(), name.toStdString().c_str());
    std::free(tar->th_buf.gnu_longname);
    tar->th_buf.gnu_longname = nullptr;
    std::free(tar->th_buf.gnu_longlink);
    tar->th_buf.gnu_longlink = nullptr;
    return result;
}

} // namespace

bool TargzArchive::appendEntry(const QString& path, const QString& name, qint64& done)
{
    if (!m_open)
        return false;
    const QFileInfo info(path);
    // libtar stores a link as a link; it is never followed.
    if (appendFile(m_open->tar, path, name) != 0)
        return false;
    if (info.isSymLink())
        return true;
    if (info.isFile()) {
        done += info.size();
        emitProgress(done);
        return true;
    }
    if (!info.isDir())
        return false;
    const QFileInfoList entries = QDir(path).entryInfoList(ArchivedEntries, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        const QString entryName = name + "/" + entry.fileName();
        if (entry.isDir() && !entry.isSymLink()) {
            if (!appendEntry(entry.filePath(), entryName, done))
                return false;
            continue;
        }
        if (!m_open || appendFile(m_open->tar, entry.filePath(), entryName) != 0)
            return false;
        if (!entry.isSymLink())
            done += entry.size();
        emitProgress(done);
    }
    return true;
}

bool TargzArchive::list(const QString& archivePath, QStringList& names)
{
    return !m_open && openArchive(archivePath.toUtf8(), O_RDONLY, 0) &&
           readMembers(QString(), nullptr, &names, false);
}

bool TargzArchive::extract(const QString& archivePath, const QString& pattern,
                           const QString& destination)
{
    const QByteArray glob = pattern.toUtf8();
    return !m_open && openArchive(archivePath.toUtf8(), O_RDONLY, 0) &&
           readMembers(destination, &glob, nullptr, false);
}

bool TargzArchive::extractAll(const QString& archivePath, const QString& destination)
{
    if (m_open || !openArchive(archivePath.toUtf8(), O_RDONLY, 0))
        return false;
    // The gzip trailer ends with the uncompressed size (modulo 2^32, little-endian). It is read
    // from the file opened, not from whatever the path names by now; pread leaves the offset
    // of the gzip stream where it is.
    const int descriptor = tar_fd(m_open->tar);
    struct stat status;
    char trailer[4];
    quint32 total = 0;
    if (::fstat(descriptor, &status) == 0 && status.st_size >= 4 &&
        ::pread(descriptor, trailer, sizeof trailer, status.st_size - 4) == sizeof trailer)
        total = qFromLittleEndian<quint32>(trailer);
    emit operationStarted(clampedToInt(total));
    return readMembers(destination, nullptr, nullptr, true);
}

// Reads the open archive to its end and closes it. With names, lists every member; with a
// pattern, extracts the members it matches; with neither, extracts every member.
bool TargzArchive::readMembers(const QString& destination, const QByteArray* pattern,
                               QStringList* names, bool withProgress)
{
    bool intact = true;
    HeaderRead last = HeaderRead::Damaged;
    MemberHeader member;
    while (m_open) {
        const gzFile stream = streamOf(m_open->tar);
        if (!stream || (last = readHeader(stream, member)) != HeaderRead::Member)
            break;
        bool handled = false;
        if (names) {
            names->append(QString::fromStdString(member.name));
            handled = skipData(stream, member);
        } else if (pattern && fnmatch(pattern->constData(), member.name.c_str(),
                                      FNM_PATHNAME | FNM_PERIOD) != 0) {
            handled = skipData(stream, member);
        } else {
            handled = extractMember(stream, member, destination);
            if (handled && withProgress)
                emitProgress(gztell(stream));
        }
        if (!handled) {
            intact = false;
            break;
        }
    }
    if (!m_open)
        return false;
    const gzFile stream = streamOf(m_open->tar);
    intact = intact && stream && endedCleanly(stream, last);
    if (withProgress && stream)
        emitProgress(gztell(stream));
    return closeArchive() && intact;
}

TargzArchive::ReadResult
TargzArchive::readIntoMemory(const QString& archivePath, const Limits& limits,
                             const std::function<bool(const QString&)>& keep, MemoryRead& what)
{
    if (m_open || !openArchive(archivePath.toUtf8(), O_RDONLY, 0))
        return ReadResult::Unreadable;
    return readOpenedIntoMemory(limits, keep, what);
}

TargzArchive::ReadResult
TargzArchive::readIntoMemory(int descriptor, const Limits& limits,
                             const std::function<bool(const QString&)>& keep, MemoryRead& what)
{
    if (m_open || !openDescriptor(descriptor))
        return ReadResult::Unreadable;
    return readOpenedIntoMemory(limits, keep, what);
}

TargzArchive::ReadResult TargzArchive::readOpenedIntoMemory(
    const Limits& limits, const std::function<bool(const QString&)>& keep, MemoryRead& what)
{
    // Extension data is counted against the total as it comes; a member's data before it is
    // inflated.
    TarMemoryRead reading(limits, keep, what.contents, what.otherKinds);
    ReadResult result = ReadResult::Read;
    HeaderRead last = HeaderRead::Damaged;
    MemberHeader member;
    while (result == ReadResult::Read && m_open) {
        const gzFile stream = streamOf(m_open->tar);
        if (!stream)
            break;
        last = readHeader(stream, member, &reading.budget());
        if (last == HeaderRead::TooMany)
            result = ReadResult::TooManyMembers;
        else if (last == HeaderRead::TooLarge)
            result = ReadResult::TooLarge;
        else if (last == HeaderRead::PaxHeaderTooLarge)
            result = ReadResult::PaxHeaderTooLarge;
        if (last != HeaderRead::Member)
            break;
        what.names.append(QString::fromStdString(member.name));
        result = reading.take(stream, member);
        if (result != ReadResult::Read) {
            what.culprit = what.names.last();
            if (member.type == LNKTYPE)
                what.linkTarget = QString::fromStdString(member.linkName);
        }
    }
    if (!m_open)
        return ReadResult::Unreadable;
    const gzFile stream = streamOf(m_open->tar);
    if (result == ReadResult::Read && !(stream && endedCleanly(stream, last)))
        result = ReadResult::Unreadable;
    if (!closeArchive() && result == ReadResult::Read)
        result = ReadResult::Unreadable;
    return result;
}
