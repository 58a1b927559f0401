#include "core/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
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

} // namespace

SaveFile::~SaveFile()
{
    discard();
}

void SaveFile::discard()
{
    if (m_descriptor < 0)
        return;
    ::close(m_descriptor);
    m_descriptor = -1;
    ::unlink(m_temporary.constData());
}

bool open(SaveFile& file)
{
    const QFileInfo target(file.fileName());
    const bool exists = target.exists();
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (file.isOpen() || (exists && (!target.isFile() || !target.isWritable() ||
                                     !(target.permissions() & anyWrite))))
        return false;
    // A symbolic link stays a link: the file it names, through any chain of links, is replaced.
    QFileInfo replaced(target.absoluteFilePath());
    for (int depth = 0; replaced.isSymLink(); ++depth) {
        if (depth == MaximumLinkDepth)
            return false;
        replaced.setFile(replaced.symLinkTarget());
    }
    file.m_replaced = QFile::encodeName(replaced.absoluteFilePath());
    struct stat status;
    if (exists && ::stat(file.m_replaced.constData(), &status) != 0)
        return false;
    // A new file is made as any other the process makes (0666 less its mask); one that replaces
    // a file takes that file's permission bits.
    for (int attempt = 0; attempt < TemporaryNameTries && file.m_descriptor < 0; ++attempt) {
        file.m_temporary =
            file.m_replaced + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        file.m_descriptor =
            ::open(file.m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.m_descriptor < 0 && errno != EEXIST)
            return false;
    }
    if (file.m_descriptor < 0)
        return false;
    if (exists && ::fchmod(file.m_descriptor, (status.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0) {
        file.discard();
        return false;
    }
    file.m_cancelled = false;
    return true;
}

bool commit(SaveFile& file, const QByteArray& contents)
{
    const OversizeWriteGuard guard;
    if (!file.isOpen())
        return false;
    // One sync, checked: a full device or a failing disk shows here, before the target is
    // touched.
    if (file.m_cancelled || !writeAll(file.m_descriptor, contents.constData(), contents.size()) ||
        ::fsync(file.m_descriptor) != 0) {
        file.discard();
        return false;
    }
    const int descriptor = std::exchange(file.m_descriptor, -1);
    if (::close(descriptor) != 0 ||
        ::rename(file.m_temporary.constData(), file.m_replaced.constData()) != 0) {
        ::unlink(file.m_temporary.constData());
        return false;
    }
    return true;
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
