#include "core/regular_file.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

// What a file of that type is, for anything but a regular file.
Result kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Result_OPENED;
    if (S_ISDIR(mode))
        return Result_FOLDER;
    if (S_ISFIFO(mode))
        return Result_FIFO;
    if (S_ISSOCK(mode))
        return Result_SOCKET;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Result_DEVICE;
    return Result_FAILED;
}

Result failureOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return Result_MISSING;
    case EACCES:
    case EPERM:
        return Result_DENIED;
    case ELOOP:
        return Result_LINK_LOOP;
    default:
        return Result_FAILED;
    }
}

// Sets the result and errno and gives -1.
int refuse(Result* result, Result reason, int error)
{
    *result = reason;
    errno = error;
    return -1;
}

} // namespace

int openDescriptor(const QByteArray& path, Result* result)
{
    // A look first, so that a device is never opened (opening one may start something) and the
    // refusal can say what is there.
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        return refuse(result, failureOf(errno), errno);
    if (!S_ISREG(status.st_mode))
        return refuse(result, kindOf(status.st_mode), EINVAL);
    // Without O_NONBLOCK, opening a FIFO put in the file's place meanwhile would wait for a
    // writer.
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return refuse(result, failureOf(errno), errno);
    const bool known = ::fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        const int error = known ? EINVAL : errno;
        ::close(descriptor);
        return refuse(result, known ? kindOf(status.st_mode) : Result_FAILED, error);
    }
    // Reads of a regular file never wait anyway; the flag goes so that it is not passed on.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(descriptor);
        return refuse(result, Result_FAILED, error);
    }
    *result = Result_OPENED;
    return descriptor;
}

Result open(QFile& file, const QString& path, QIODevice::OpenMode extraMode)
{
    Result result = Result_FAILED;
    const int descriptor = openDescriptor(QFile::encodeName(path), &result);
    if (descriptor < 0)
        return result;
    file.setFileName(path);
    if (!file.open(descriptor, QIODevice::ReadOnly | extraMode, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return Result_FAILED;
    }
    return Result_OPENED;
}

Result examine(const QString& path)
{
    Result result = Result_FAILED;
    const int descriptor = openDescriptor(QFile::encodeName(path), &result);
    if (descriptor >= 0)
        ::close(descriptor);
    return result;
}

bool isNotRegular(Result result)
{
    switch (result) {
    case Result_FOLDER:
    case Result_FIFO:
    case Result_SOCKET:
    case Result_DEVICE:
    case Result_LINK_LOOP:
        return true;
    default:
        return false;
    }
}

QString message(Result result)
{
    const char* text = nullptr;
    switch (result) {
    case Result_OPENED:
        return QString();
    case Result_MISSING:
        text = QT_TRANSLATE_NOOP("RegularFile", "No such file");
        break;
    case Result_DENIED:
        text = QT_TRANSLATE_NOOP("RegularFile", "Permission denied");
        break;
    case Result_FOLDER:
        text = QT_TRANSLATE_NOOP("RegularFile", "Not a regular file: a folder");
        break;
    case Result_FIFO:
        text = QT_TRANSLATE_NOOP("RegularFile", "Not a regular file: a FIFO (named pipe)");
        break;
    case Result_SOCKET:
        text = QT_TRANSLATE_NOOP("RegularFile", "Not a regular file: a socket");
        break;
    case Result_DEVICE:
        text = QT_TRANSLATE_NOOP("RegularFile", "Not a regular file: a device");
        break;
    case Result_LINK_LOOP:
        text = QT_TRANSLATE_NOOP("RegularFile", "Not a regular file: a loop of symbolic links");
        break;
    case Result_FAILED:
        text = QT_TRANSLATE_NOOP("RegularFile", "Unable to open file");
        break;
    }
    return QCoreApplication::translate("RegularFile", text);
}

} // namespace RegularFile
