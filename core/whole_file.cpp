#include "core/whole_file.h"

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

// Writes all the bytes to the descriptor, resuming after an interruption or a partial write.
bool writeAll(int descriptor, const char* bytes, qint64 length)
{
    while (length > 0) {
        const ssize_t written = ::write(descriptor, bytes, size_t(length));
        if (written < 0 && errno == EINTR)
            continue;
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

// Removes what earlier saves of the file, killed before they ended, left beside it. Only a
// regular file (not a link) of this user under a temporary name of this file, with no other
// name, is taken, and only when no save holds it locked: a save of another process still
// writing keeps its own.
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
        const int leftover = ::openat(folder, entry->d_name,
                                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (leftover < 0)
            continue;
        struct stat opened;
        if (::fstat(leftover, &opened) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino && ::flock(leftover, LOCK_EX | LOCK_NB) == 0)
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

// A new file of a temporary name of the replaced file; its name in temporary.
int openNamed(const QByteArray& replaced, QByteArray& temporary)
{
    int descriptor = -1;
    makeTemporary(replaced, temporary, [&descriptor](const QByteArray& name) {
        descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return descriptor >= 0;
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
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
    if (!m_temporary.isEmpty())
        ::unlink(std::exchange(m_temporary, QByteArray()).constData());
}

bool open(SaveFile& file)
{
    if (file.isOpen())
        return false;
    file.m_refusal = RegularFile::Result_FAILED;
    const QFileInfo target(file.fileName());
    const bool exists = target.exists();
    if (exists && !target.isFile()) {
        file.m_refusal = RegularFile::examine(file.fileName());
        return false;
    }
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (exists && (!target.isWritable() || !(target.permissions() & anyWrite)))
        return false;
    // A symbolic link stays a link: the file it names, through any chain of links, is replaced.
    QFileInfo replaced(target.absoluteFilePath());
    for (int depth = 0; replaced.isSymLink(); ++depth) {
        if (depth == MaximumLinkDepth) {
            file.m_refusal = RegularFile::Result_LINK_LOOP;
            return false;
        }
        replaced.setFile(replaced.symLinkTarget());
    }
    file.m_replaced = QFile::encodeName(replaced.absoluteFilePath());
    struct stat status;
    if (exists && ::stat(file.m_replaced.constData(), &status) != 0)
        return false;
    removeLeftovers(file.m_replaced);
    // A new file is made as any other the process makes (0666 less its mask); one that replaces
    // a file takes that file's permission bits.
    file.m_temporary.clear();
    file.m_descriptor = openUnnamed(folderOf(file.m_replaced));
    if (file.m_descriptor < 0) {
        file.m_descriptor = openNamed(file.m_replaced, file.m_temporary);
        if (file.m_descriptor < 0) {
            file.m_temporary.clear();
            return false;
        }
    }
    // The lock tells a later save's clean-up that this file is being written. A file system
    // without locks leaves it unlocked: a clean-up there takes nothing it cannot lock.
    ::flock(file.m_descriptor, LOCK_EX | LOCK_NB);
    if (exists && ::fchmod(file.m_descriptor, (status.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0) {
        file.discard();
        return false;
    }
    file.m_cancelled = false;
    file.m_refusal = RegularFile::Result_OPENED;
    reached(Step::Made);
    return true;
}

bool commit(SaveFile& file, const QByteArray& contents)
{
    const OversizeWriteGuard guard;
    if (!file.isOpen())
        return false;
    // One sync, checked: a full device or a failing disk shows here, before the target is
    // touched.
    if (file.m_cancelled || !writeAll(file.m_descriptor, contents.constData(), contents.size())) {
        file.discard();
        return false;
    }
    reached(Step::Written);
    if (::fsync(file.m_descriptor) != 0) {
        file.discard();
        return false;
    }
    reached(Step::Synced);
    if (file.m_temporary.isEmpty() &&
        !giveName(file.m_descriptor, file.m_replaced, file.m_temporary)) {
        file.discard();
        return false;
    }
    reached(Step::Named);
    if (::close(std::exchange(file.m_descriptor, -1)) != 0 ||
        ::rename(file.m_temporary.constData(), file.m_replaced.constData()) != 0) {
        file.discard();
        return false;
    }
    file.m_temporary.clear();
    return true;
}

void setStepHook(void (*hook)(Step), bool named)
{
    stepHook = hook;
    namedOnly = named;
}

bool write(const QString& path, const QByteArray& contents)
{
    const OversizeWriteGuard guard;
    SaveFile file(path);
    return open(file) && commit(file, contents);
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
