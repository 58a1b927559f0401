#include "core/whole_file.h"

#include <QFileInfo>
#include <QSaveFile>
#include <ctime>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace WholeFile {

bool open(QSaveFile& file)
{
    const QFileInfo target(file.fileName());
    const bool exists = target.exists();
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (exists && (!target.isFile() || !target.isWritable() || !(target.permissions() & anyWrite)))
        return false;
    if (!file.open(QIODevice::WriteOnly))
        return false;
    struct stat status;
    if (exists && (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &status) != 0 ||
                   ::fchmod(file.handle(), (status.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0)) {
        file.cancelWriting();
        return false;
    }
    return true;
}

bool commit(QSaveFile& file, const QByteArray& contents)
{
    const OversizeWriteGuard guard;
    // commit() reports neither a failure of the last buffered write nor one of the sync (a full
    // device shows there), so both are done and checked here first.
    if (!file.isOpen())
        return false;
    if (file.write(contents) != contents.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit(); // drops the temporary file
        return false;
    }
    return file.commit();
}

bool write(const QString& path, const QByteArray& contents)
{
    const OversizeWriteGuard guard;
    QSaveFile file(path);
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
