#pragma once

#include "core/regular_file.h"

#include <QByteArray>
#include <QString>
#include <csignal>

// The one way a whole file (a project, a theme bundle, a gradient pack, the preferences) is
// written: the bytes go to a temporary file beside the target, are flushed and synced to disk,
// and only then take the target's place, so that the file is never left half written. A
// symbolic link is written through to its target. A target that is not a regular file, that
// this process may not write, or that is marked read-only (no write permission for anyone) is
// refused, even where this process could write it anyway (as a super-user can): the user marked
// it so. The new file takes the old one's permission bits, with its owner's right to read and
// write it added, so that a save never makes a file its owner cannot open.
namespace WholeFile {

// The temporary file that replaces a target: made beside the file the target names (the file a
// symbolic link points to, when the target is one) by open(), written through its handle and by
// commit(), and put in that file's place by commit(). One that is not committed is removed when
// it is destroyed, and the target stays as it was.
//
// Where the file system has them, the temporary file has no name until commit() names it just
// before it takes the target's place, so a save killed before leaves nothing behind. Elsewhere
// it is named from the start, ".<file name>.velmora-save-" and twelve random letters or digits
// beside the file replaced. Either way it is locked (flock and an open-file-description fcntl
// lock) before it has a name and stays locked until it has taken the target's place, and a
// named one is used only once the save has checked, holding the lock, that its name still names
// it. open() removes the files of that name that an earlier save of the same file, killed
// meanwhile, left: regular files of this user that nobody holds locked in either way, and
// nothing else; a live save's file is never among them, so two saves of one file never spoil
// each other.
class SaveFile
{
public:
    explicit SaveFile(const QString& target) : m_target(target) {}
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // The target, as given.
    const QString& fileName() const { return m_target; }
    // The temporary file's descriptor while it is open, -1 otherwise.
    int handle() const { return m_descriptor; }
    bool isOpen() const { return m_descriptor >= 0; }
    // Marks the writing failed, for the error number of the write through handle() that failed
    // (0 when none says why): commit() then fails, removing the temporary file.
    void cancelWriting(int error = 0)
    {
        m_cancelled = true;
        m_writeError = error;
    }
    // Why the last open() or commit() failed, in words for the user: what stands in the target's
    // place, that the folder allows no new file, "No space left on device"...; empty when
    // nothing failed.
    const QString& errorString() const { return m_error; }
    // What open() found in the target's place when it refused it for being no regular file (a
    // folder, a FIFO, a socket, a device, a loop of links); Result_FAILED after any other
    // failure, Result_OPENED otherwise.
    RegularFile::Result refusal() const { return m_refusal; }

private:
    friend bool open(SaveFile& file);
    friend bool commit(SaveFile& file, const QByteArray& contents);
    // Closes and removes the temporary file.
    void discard();

    QString m_target;
    // The file replaced and the temporary file, as the system names them; the temporary file's
    // name is empty while it has none.
    QByteArray m_replaced;
    QByteArray m_temporary;
    int m_descriptor = -1;
    bool m_cancelled = false;
    int m_writeError = 0;
    QString m_error;
    RegularFile::Result m_refusal = RegularFile::Result_OPENED;
};

// Opens the save file for replacing its target; false, with nothing written, when the target is
// refused or the temporary file cannot be made (errorString() says why).
bool open(SaveFile& file);

// Writes the contents after whatever was written to the open save file's handle, then syncs it
// and replaces the target. False, leaving the target as it was and no temporary file behind,
// when any of it failed (errorString() says why).
bool commit(SaveFile& file, const QByteArray& contents = QByteArray());

// open() and commit() of the contents at the path; the reason of a failure goes to error.
bool write(const QString& path, const QByteArray& contents, QString* error = nullptr);

// The words for a write that failed with the error number (0 when none says why): "Unable to
// write file: No space left on device", ...
QString writingFailure(int error);

// The steps of a save, for a test that stops one at a chosen moment (by killing its process):
// the temporary file made (open() succeeded), the contents written, synced, and the temporary
// file named, just before it takes the target's place.
enum class Step
{
    Made,
    Written,
    Synced,
    Named
};
// Calls the hook at each step of every save of this process (none when null); with namedOnly,
// every temporary file is named from the start, as where the file system has no unnamed files.
// For tests.
void setStepHook(void (*hook)(Step), bool namedOnly = false);

// While one lives, a write of this thread past the process's file-size limit fails (EFBIG) as a
// write to a full device does, instead of ending the process with SIGXFSZ: the writer reports
// the failure and removes what it made, and the user's work stays open. Held by every writer of
// whole files around all its writes, its temporary ones too.
class OversizeWriteGuard
{
public:
    OversizeWriteGuard();
    ~OversizeWriteGuard();
    OversizeWriteGuard(const OversizeWriteGuard&) = delete;
    OversizeWriteGuard& operator=(const OversizeWriteGuard&) = delete;

    // Whether a write of this thread went past the limit while the guard (or an outer one)
    // held the signal: the reason of a failure that a writer which tells none met.
    bool exceeded() const;

private:
    sigset_t previousMask;
};

} // namespace WholeFile
