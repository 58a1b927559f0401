#include "core/whole_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace WholeFile {

namespace {

// How many names a new temporary file tries before giving up: another file takes a random
// name only by chance.
constexpr int TemporaryNameTries = 64;
// How many symbolic links a target may pass through to the file it names; a longer chain is a
// loop.
constexpr int MaximumLinkDepth = 40;
// The temporary files of a file are ".<file name>" + Marker + SuffixLength letters or digits.
constexpr char Marker[] = ".velmora-save-";
constexpr int SuffixLength = 12;
constexpr char SuffixLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";

void (*stepHook)(Step) = nullptr;
bool namedOnly = false;

void reached(Step step)
{
    if (stepHook)
        stepHook(step);
}

QString tr(const char* text)
{
    return QCoreApplication::translate("WholeFile", text);
}

// The words for an error number: the usual ones of a save in this program's words (and its
// language), the system's for the others.
QString errorText(int error)
{
    switch (error) {
    case ENOSPC:
        return tr("No space left on device");
    case EDQUOT:
        return tr("Disk quota exceeded");
    case EFBIG:
        return tr("File too large");
    case EACCES:
        return tr("Permission denied");
    case EPERM:
        return tr("Operation not permitted");
    case EROFS:
        return tr("Read-only file system");
    case EIO:
        return tr("Input/output error");
    case ENOMEM:
        return tr("Not enough memory");
    default:
        return QString::fromStdString(std::generic_category().message(error));
    }
}

// Why no temporary file could be made beside the file replaced.
QString makingFailure(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return tr("The folder does not allow a new file beside this one");
    case EROFS:
        return tr("The folder is on a read-only file system");
    case ENOSPC:
    case EDQUOT:
        return errorText(error);
    case ENOENT:
    case ENOTDIR:
        return tr("The folder does not exist");
    default:
        return tr("Unable to make a new file beside this one: %1").arg(errorText(error));
    }
}

// Writes all the bytes to the descriptor, resuming after an interruption or a partial write.
bool writeAll(int descriptor, const char* bytes, qint64 length)
{
    while (length > 0) {
        const ssize_t written = ::write(descriptor, bytes, size_t(length));
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO;
        if (written <= 0)
            return false;
        bytes += written;
        length -= written;
    }
    return true;
}

// The folder of an absolute path, with its closing "/".
QByteArray folderOf(const QByteArray& path)
{
    return path.left(path.lastIndexOf('/') + 1);
}

// The start of the names of the file's temporary files; the file's name is cut so that a whole
// temporary name stays within the longest name a folder takes.
QByteArray namePrefix(const QByteArray& path)
{
    const qsizetype room = NAME_MAX - 1 - qsizetype(sizeof Marker - 1) - SuffixLength;
    return '.' + path.mid(path.lastIndexOf('/') + 1).left(room) + Marker;
}

QByteArray randomSuffix()
{
    QByteArray suffix(SuffixLength, Qt::Uninitialized);
    for (char& letter : suffix)
        letter = SuffixLetters[QRandomGenerator::global()->bounded(int(sizeof SuffixLetters - 1))];
    return suffix;
}

bool isTemporaryName(const char* name, const QByteArray& prefix)
{
    const QByteArray entry(name);
    if (entry.size() != prefix.size() + SuffixLength || !entry.startsWith(prefix))
        return false;
    for (qsizetype at = prefix.size(); at < entry.size(); ++at) {
        if (!std::strchr(SuffixLetters, entry.at(at)))
            return false;
    }
    return true;
}

// How a lock on a temporary file went.
enum class Lock
{
    Taken,
    Held,       // somebody else holds the file locked
    Unsupported // the file system takes no lock of that kind
};

Lock lockResult(int result)
{
    if (result == 0)
        return Lock::Taken;
    return errno == EWOULDBLOCK || errno == EAGAIN || errno == EACCES ? Lock::Held
                                                                      : Lock::Unsupported;
}

// Locks the whole file in both ways that a process may hold a file: flock, and a POSIX record
// lock of the open file description (which conflicts with the record locks of every other
// description and process, and, unlike a per-process record lock, is not dropped when this
// process closes another descriptor of the file). The descriptor must be open for writing. Held
// when somebody else holds either lock; Unsupported when the file system takes neither.
Lock lockWhole(int descriptor)
{
    const Lock whole = lockResult(::flock(descriptor, LOCK_EX | LOCK_NB));
    if (whole == Lock::Held)
        return Lock::Held;
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    const Lock record = lockResult(::fcntl(descriptor, F_OFD_SETLK, &range));
    if (record == Lock::Held)
        return Lock::Held;
    return whole == Lock::Taken || record == Lock::Taken ? Lock::Taken : Lock::Unsupported;
}

// Whether the name in the folder (-1: the working folder) names the file with this status.
bool names(int folder, const char* name, const struct stat& file)
{
    struct stat named;
    return ::fstatat(folder < 0 ? AT_FDCWD : folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           named.st_dev == file.st_dev && named.st_ino == file.st_ino;
}

// Removes what earlier saves of the file, killed before they ended, left beside it. Only a
// regular file (not a link) of this user under a temporary name of this file, with no other
// name, is taken, and only when this process can lock it in both ways (so nobody holds it: a
// save of another process still writing keeps its own) and the name still names it once it is
// locked. A live save locks its file before it uses it and checks then that its name is still
// its own, so a file taken here between its making and its locking is not used by that save.
void removeLeftovers(const QByteArray& replaced)
{
    const int folder =
        ::open(folderOf(replaced).constData(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (folder < 0)
        return;
    DIR* entries = ::fdopendir(folder);
    if (!entries) {
        ::close(folder);
        return;
    }
    const QByteArray prefix = namePrefix(replaced);
    while (const dirent* entry = ::readdir(entries)) {
        struct stat named;
        if (!isTemporaryName(entry->d_name, prefix) ||
            ::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode) || named.st_uid != ::geteuid() || named.st_nlink != 1)
            continue;
        // Open for writing, which a record lock for writing needs; opening a regular file
        // changes nothing in it.
        const int leftover = ::openat(folder, entry->d_name,
                                      O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (leftover < 0)
            continue;
        struct stat opened;
        if (::fstat(leftover, &opened) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino && lockWhole(leftover) == Lock::Taken &&
            names(folder, entry->d_name, opened))
            ::unlinkat(folder, entry->d_name, 0);
        ::close(leftover);
    }
    ::closedir(entries);
}

// A file without a name in the folder, which vanishes when the process ends before it is
// named; -1 where the file system has none, or they cannot be named (through /proc) later.
int openUnnamed(const QByteArray& folder)
{
    if (namedOnly)
        return -1;
    const int descriptor = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return -1;
    if (::access(QByteArray("/proc/self/fd/" + QByteArray::number(descriptor)).constData(), F_OK) !=
        0) {
        ::close(descriptor);
        return -1;
    }
    // Locked before it has a name, so that no clean-up ever finds it unlocked.
    lockWhole(descriptor);
    return descriptor;
}

// Makes an entry under a temporary name of the replaced file: make(name) is tried with new
// names while the one tried is taken (EEXIST). The name made goes to temporary; false when
// none could be.
template <class Make>
bool makeTemporary(const QByteArray& replaced, QByteArray& temporary, const Make& make)
{
    const QByteArray start = folderOf(replaced) + namePrefix(replaced);
    for (int attempt = 0; attempt < TemporaryNameTries; ++attempt) {
        const QByteArray name = start + randomSuffix();
        if (make(name)) {
            temporary = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// A new file of a temporary name of the replaced file, locked; its name in temporary. Between
// its making and its locking another save's clean-up may take it for a leftover: a file that
// somebody else holds locked, or whose name no longer names it once it is locked, is left and
// another name tried.
int openNamed(const QByteArray& replaced, QByteArray& temporary)
{
    int descriptor = -1;
    makeTemporary(replaced, temporary, [&descriptor](const QByteArray& name) {
        descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0)
            return false;
        struct stat made;
        if (lockWhole(descriptor) != Lock::Held && ::fstat(descriptor, &made) == 0 &&
            names(-1, name.constData(), made))
            return true;
        ::close(std::exchange(descriptor, -1));
        errno = EEXIST;
        return false;
    });
    return descriptor;
}

// Gives the unnamed file a temporary name of the replaced file.
bool giveName(int descriptor, const QByteArray& replaced, QByteArray& temporary)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(descriptor);
    return makeTemporary(replaced, temporary, [&self](const QByteArray& name) {
        return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                        AT_SYMLINK_FOLLOW) == 0;
    });
}

} // namespace

SaveFile::~SaveFile()
{
    discard();
}

void SaveFile::discard()
{
    // The name goes while the file is still held locked, so that it never names an unlocked
    // file that a clean-up could take.
    if (!m_temporary.isEmpty())
        ::unlink(std::exchange(m_temporary, QByteArray()).constData());
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
}

bool open(SaveFile& file)
{
    if (file.isOpen())
        return false;
    file.m_refusal = RegularFile::Result_FAILED;
    file.m_error.clear();
    const QFileInfo target(file.fileName());
    const bool exists = target.exists();
    if (exists && !target.isFile()) {
        file.m_refusal = RegularFile::examine(file.fileName());
        file.m_error = RegularFile::message(file.m_refusal);
        return false;
    }
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (exists && !(target.permissions() & anyWrite)) {
        file.m_error = tr("The file is marked read-only");
        return false;
    }
    // The cause as the system gives it: a file that may not be written, or one on a file system
    // mounted read-only (where the permission bits allow the write, and only the cause differs).
    if (exists && ::access(QFile::encodeName(file.fileName()).constData(), W_OK) != 0) {
        file.m_error =
            errno == EACCES ? RegularFile::message(RegularFile::Result_DENIED) : errorText(errno);
        return false;
    }
    // A symbolic link stays a link: the file it names, through any chain of links, is replaced.
    QFileInfo replaced(target.absoluteFilePath());
    for (int depth = 0; replaced.isSymLink(); ++depth) {
        if (depth == MaximumLinkDepth) {
            file.m_refusal = RegularFile::Result_LINK_LOOP;
            file.m_error = RegularFile::message(file.m_refusal);
            return false;
        }
        replaced.setFile(replaced.symLinkTarget());
    }
    file.m_replaced = QFile::encodeName(replaced.absoluteFilePath());
    struct stat status;
    if (exists && ::stat(file.m_replaced.constData(), &status) != 0) {
        file.m_error = tr("Unable to open file: %1").arg(errorText(errno));
        return false;
    }
    removeLeftovers(file.m_replaced);
    // A new file is made as any other the process makes (0666 less its mask); one that replaces
    // a file takes that file's permission bits. A file system without locks leaves it unlocked:
    // a clean-up there takes nothing it cannot lock.
    file.m_temporary.clear();
    file.m_descriptor = openUnnamed(folderOf(file.m_replaced));
    if (file.m_descriptor < 0) {
        file.m_descriptor = openNamed(file.m_replaced, file.m_temporary);
        if (file.m_descriptor < 0) {
            file.m_error = makingFailure(errno);
            file.m_temporary.clear();
            return false;
        }
    }
    if (exists && ::fchmod(file.m_descriptor, (status.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0) {
        file.m_error = tr("Unable to give the new file the permissions of the old one: %1")
                           .arg(errorText(errno));
        file.discard();
        return false;
    }
    file.m_cancelled = false;
    file.m_writeError = 0;
    file.m_refusal = RegularFile::Result_OPENED;
    reached(Step::Made);
    return true;
}

namespace {

// Why the named temporary file could not take the place of the file replaced: a folder marked
// sticky lets only the owner of a file (or of the folder) replace it.
QString replacingFailure(int error, const QByteArray& replaced)
{
    struct stat folder;
    struct stat old;
    if ((error == EPERM || error == EACCES) &&
        ::stat(folderOf(replaced).constData(), &folder) == 0 && (folder.st_mode & S_ISVTX) &&
        ::lstat(replaced.constData(), &old) == 0 && old.st_uid != ::geteuid() &&
        folder.st_uid != ::geteuid())
        return tr("The file belongs to another user, in a folder where only its owner may "
                  "replace it");
    return tr("Unable to replace the file: %1").arg(errorText(error));
}

} // namespace

bool commit(SaveFile& file, const QByteArray& contents)
{
    const OversizeWriteGuard guard;
    if (!file.isOpen()) {
        if (file.m_error.isEmpty())
            file.m_error = writingFailure(0);
        return false;
    }
    const auto fail = [&file](const QString& error) {
        file.m_error = error;
        file.discard();
        return false;
    };
    // One sync, checked: a full device or a failing disk shows here, before the target is
    // touched.
    if (file.m_cancelled)
        return fail(writingFailure(file.m_writeError));
    if (!writeAll(file.m_descriptor, contents.constData(), contents.size()))
        return fail(writingFailure(errno));
    reached(Step::Written);
    if (::fsync(file.m_descriptor) != 0)
        return fail(writingFailure(errno));
    reached(Step::Synced);
    if (file.m_temporary.isEmpty() &&
        !giveName(file.m_descriptor, file.m_replaced, file.m_temporary))
        return fail(tr("Unable to name the new file: %1").arg(errorText(errno)));
    reached(Step::Named);
    // The file takes the target's place still open, and so still locked: a clean-up of another
    // save never sees it unlocked under its temporary name. Its bytes are on the disk already.
    if (::rename(file.m_temporary.constData(), file.m_replaced.constData()) != 0)
        return fail(replacingFailure(errno, file.m_replaced));
    file.m_temporary.clear();
    ::close(std::exchange(file.m_descriptor, -1));
    file.m_error.clear();
    return true;
}

QString writingFailure(int error)
{
    return error == 0 ? tr("Unable to write file")
                      : tr("Unable to write file: %1").arg(errorText(error));
}

void setStepHook(void (*hook)(Step), bool named)
{
    stepHook = hook;
    namedOnly = named;
}

bool write(const QString& path, const QByteArray& contents, QString* error)
{
    const OversizeWriteGuard guard;
    SaveFile file(path);
    const bool written = open(file) && commit(file, contents);
    if (error)
        *error = file.errorString();
    return written;
}

namespace {

sigset_t oversizeSignal()
{
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGXFSZ);
    return held;
}

} // namespace

// The signal is held back on this thread, which is where the kernel sends it for a write of this
// thread; before the thread takes it again, the ones sent meanwhile are taken off unhandled.
OversizeWriteGuard::OversizeWriteGuard()
{
    const sigset_t held = oversizeSignal();
    pthread_sigmask(SIG_BLOCK, &held, &previousMask);
}

bool OversizeWriteGuard::exceeded() const
{
    sigset_t pending;
    return sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1;
}

OversizeWriteGuard::~OversizeWriteGuard()
{
    // An outer guard, or a thread that always holds the signal back, keeps it held.
    if (sigismember(&previousMask, SIGXFSZ))
        return;
    const sigset_t held = oversizeSignal();
    const timespec now = {0, 0};
    while (sigtimedwait(&held, nullptr, &now) == SIGXFSZ) {
    }
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
}

} // namespace WholeFile
