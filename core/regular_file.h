#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QFile;

// Opening for reading a file the user or a folder names, which must be a regular file. Opening
// a FIFO for reading waits for a writer, and one that never comes blocks the reader for ever; a
// device or a socket is no document either. The file is opened without waiting, checked on the
// opened descriptor (so that nothing can take its place between a check and the opening), and
// refused unless it is a regular file.
namespace RegularFile {

enum Result
{
    Result_OPENED,
    // There is no such file, or it may not be read.
    Result_FAILED,
    // Something other than a regular file is there: a folder, a FIFO, a device, a socket.
    Result_NOT_REGULAR
};

// A descriptor open for reading (and closed on exec) on the regular file at the path in the
// file system's encoding, or -1 with the reason.
int openDescriptor(const QByteArray& path, Result* result);

// Opens the file read-only (with the extra mode flags), named by the path; the QFile owns the
// descriptor.
Result open(QFile& file, const QString& path, QIODevice::OpenMode extraMode = {});

// The message for a file that is not a regular file.
QString notRegularMessage();

} // namespace RegularFile
