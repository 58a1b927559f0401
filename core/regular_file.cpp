#include "core/regular_file.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

int openDescriptor(const QByteArray& path, Result* result)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        *result = Result_FAILED;
        return -1;
    }
    struct stat status;
    const bool known = ::fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        const int error = known ? EINVAL : errno;
        ::close(descriptor);
        *result = known ? Result_NOT_REGULAR : Result_FAILED;
        errno = error;
        return -1;
    }
    // Reads of a regular file never wait anyway; the flag goes so that it is not passed on.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(descriptor);
        *result = Result_FAILED;
        return -1;
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

QString notRegularMessage()
{
    return QCoreApplication::translate("RegularFile", "Not a regular file");
}

} // namespace RegularFile
