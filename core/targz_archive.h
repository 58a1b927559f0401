#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <sys/types.h>

// One thing to archive: a file or folder on disk and the name it takes in the archive (the
// path itself when the name is empty).
struct TarItemInfo
{
    QString path;
    QString name;
};

// One member of an archive written from memory: a regular file of the given bytes.
struct TarMember
{
    QString name;
    QByteArray data;
};

namespace WholeFile {
class SaveFile;
}

// Gzip-compressed tar archives (libtar over zlib): created from files and folders, listed, and
// extracted member by member with progress. Every operation opens its archive and closes it
// before returning, and answers true on success; nothing throws.
//
// Only regular-file members with flat names (not empty, no "/", not "." or "..") are ever
// written, straight into the destination folder; a member that is a folder, a link, a device or
// a sparse file, or whose name would reach elsewhere, is an extraction failure.
//
// An archive is written as every whole file of the editor is: under a temporary name beside the
// target (the target of a symbolic link), flushed to disk, and then put in the target's place,
// so a failed create leaves the previous archive intact and no partial file behind. The new
// archive keeps the permissions of the file it replaces, always readable and writable by its
// owner; a file marked read-only, or one this process may not write, is not replaced.
class TargzArchive : public QObject
{
    Q_OBJECT

public:
    // The bounds of a read into memory.
    struct Limits
    {
        int memberCount;   // headers of any kind, extension headers included
        qint64 memberSize; // the data of any one member
        qint64 totalSize;  // the data of all members together
    };
    enum class ReadResult
    {
        Read,
        Unreadable,            // missing, not an archive, damaged or truncated
        TooManyMembers,        // beyond Limits::memberCount
        MemberTooLarge,        // a member beyond Limits::memberSize (a sparse one: its real size)
        TooLarge,              // beyond Limits::totalSize
        PaxHeaderTooLarge,     // a pax extended header beyond TarHeaders::MaxPaxHeaderSize
        LinkToItself,          // a hard link that names itself
        LinkToNoEarlierMember, // a hard link to a name that no member before it has
        LinkToFolder,          // a hard link to a folder
        LinkToNonRegular,      // a hard link to a symbolic link, a device...
        BadSparseMap,          // a sparse member whose map does not fit its data or its size
        SparseMapTooLong,      // a sparse member whose map passes TarHeaders::MaxSparseEntries
        UnknownSparseForm      // a sparse member of a form not known here
    };

    // What a member is: a file (a regular member, a sparse one, or a hard link to either), or
    // something that holds no bytes.
    enum class MemberKind
    {
        File,
        Folder,
        SymbolicLink,
        Device,
        Fifo,
        Other
    };
    // What a read into memory found.
    struct MemoryRead
    {
        QStringList names;                   // of every member, in archive order
        QHash<QString, QByteArray> contents; // the bytes of the files asked for, by name
        // What the members that are no file are, by name without a trailing "/" (an archiver
        // writes a folder "icons" as "icons/").
        QHash<QString, MemberKind> otherKinds;
        QString culprit;    // the member that broke a limit, or the member refused
        QString linkTarget; // the name that a refused hard link gives
    };

    explicit TargzArchive(QObject* parent = nullptr);
    ~TargzArchive() override;

    // Archives every item in list order; a folder with its entries below it, hidden entries
    // left out. Symbolic links are stored as links, never followed. Fails before any signal
    // when an item does not exist. Signals: operationStarted(total size of the files), then
    // operationProgress(size archived so far) after each file.
    bool create(const QString& archivePath, const QList<TarItemInfo>& items);
    // Writes an archive of the members, in list order, each a regular file (mode 0644, owned
    // by this process's user, dated now; owned by root and dated SOURCE_DATE_EPOCH when that
    // variable holds a time) holding its bytes. Signals as create.
    bool createFromMemory(const QString& archivePath, const QList<TarMember>& members);
    // Appends the name of every member, in archive order. A damaged archive fails (after
    // appending the names read before the damage).
    bool list(const QString& archivePath, QStringList& names);
    // Extracts every member whose name matches the shell pattern (a wildcard matches neither
    // "/" nor a leading ".") into the destination folder. A pattern that matches nothing
    // extracts nothing and succeeds.
    bool extract(const QString& archivePath, const QString& pattern, const QString& destination);
    // Extracts every member into the destination folder; stops at the first member that cannot
    // be extracted. Signals: operationStarted(uncompressed size, from the gzip trailer), then
    // operationProgress(uncompressed offset reached) after each member and once at the end.
    bool extractAll(const QString& archivePath, const QString& destination);
    // Reads the whole archive in one pass into what: the name of every member, in archive
    // order, and the bytes of every file whose name keep accepts, under that name (a later
    // member of the same name replaces the earlier one; one of another kind removes it). A sparse
    // member is read as the file it stands for, holes as zero bytes; a hard link to an earlier
    // file as a copy of that file's bytes, so that a chain of hard links ends at the file of its
    // first link (see TarMemoryRead for the links refused). The limits are checked on each header
    // before its data is inflated, so an archive beyond them costs no more than its headers up to
    // that point. What is complete only when the result is Read.
    ReadResult readIntoMemory(const QString& archivePath, const Limits& limits,
                              const std::function<bool(const QString&)>& keep, MemoryRead& what);
    // The same from a descriptor open for reading, from its offset on; the descriptor stays open.
    // What is read is the file that was opened, whatever its path names by now.
    ReadResult readIntoMemory(int descriptor, const Limits& limits,
                              const std::function<bool(const QString&)>& keep, MemoryRead& what);
    // Closes an archive left open (from a slot connected to the signals). True when nothing
    // was open.
    bool close();
    // Why the last create or createFromMemory failed to write the archive, in the words of
    // WholeFile::SaveFile::errorString(): what stands in the target's place, "No space left on
    // device"...; empty after a success.
    const QString& errorString() const { return m_error; }

signals:
    void operationStarted(int total);
    void operationProgress(int done);

private:
    struct Open;

    bool openArchive(const QByteArray& path, int flags, int mode);
    bool openDescriptor(int descriptor);
    bool adoptStream(int descriptor, const QByteArray& path, int flags);
    // Opens the save file and the archive on it; finishWriting ends the archive and commits
    // the file when every write succeeded (error 0), or discards it for the error number of the
    // write that failed. Both keep the reason of a failure for errorString().
    bool beginWriting(WholeFile::SaveFile& file);
    bool finishWriting(WholeFile::SaveFile& file, int error);
    bool appendMember(const TarMember& member, const struct tar_header& common);
    bool closeArchive();
    bool appendEntry(const QString& path, const QString& name, qint64& done);
    bool readMembers(const QString& destination, const QByteArray* pattern, QStringList* names,
                     bool withProgress);
    ReadResult readOpenedIntoMemory(const Limits& limits,
                                    const std::function<bool(const QString&)>& keep,
                                    MemoryRead& what);
    void emitProgress(qint64 done);

    std::unique_ptr<Open> m_open;
    QString m_error;
};

// The hooks that let libtar read and write through zlib. libtar passes an int descriptor to
// them; a gzip stream does not fit in one, so the descriptor is the file's own and a table
// maps it to its stream.
namespace TargzHooks {
// Opens the file with open(2) (write-only gives a compressing stream, read-only a
// decompressing one; other access modes fail with EINVAL), sets its permissions to mode when
// O_CREAT is given, and returns the descriptor, or -1 with errno set (ENOMEM when memory runs
// short: nothing is thrown into libtar's frames).
int gzOpenHook(const char* pathName, int flags, ...) noexcept;
int gzCloseHook(int descriptor);
ssize_t gzReadHook(int descriptor, void* buffer, size_t size);
ssize_t gzWriteHook(int descriptor, const void* buffer, size_t size);
} // namespace TargzHooks
