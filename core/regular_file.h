#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QFile;

// Opening for reading a file the user or a folder names, which must be a regular file. Opening
// a FIFO for reading waits for a writer, and one that never comes blocks the reader for ever; a
// device or a socket is no document either, and opening a device may already do something. So
// what the path names is looked at first and only a regular file is opened, without waiting,
// and checked again on the opened descriptor (so that nothing can take its place between the
// look and the opening). A refusal says what is there instead.
namespace RegularFile {

enum Result
{
    Result_OPENED,
    Result_MISSING,   // no such file (or a folder on the way is missing)
    Result_DENIED,    // permission denied
    Result_FOLDER,    // a folder
    Result_FIFO,      // a FIFO (named pipe)
    Result_SOCKET,    // a socket
    Result_DEVICE,    // a character or block device
    Result_LINK_LOOP, // a loop of symbolic links (ELOOP)
    Result_FAILED     // any other failure: an error of the file system, too many open files, ...
};

// A descriptor open for reading (and closed on exec) on the regular file at the path in the
// file system's encoding, or -1 with the reason (and errno set).
int openDescriptor(const QByteArray& path, Result* result);

// Opens the file read-only (with the extra mode flags), named by the path; the QFile owns the
// descriptor.
Result open(QFile& file, const QString& path, QIODevice::OpenMode extraMode = {});

// What the path names, as open() finds it: Result_OPENED for a regular file that may be read
// (opened and closed again); anything else is not opened at all.
Result examine(const QString& path);

// Whether the result says that something other than a regular file is there (a folder, a FIFO,
// a socket, a device or a loop of links), rather than that nothing is or that it may not be read.
bool isNotRegular(Result result);

// The words for a result other than Result_OPENED, the same wherever it is shown: "Not a regular
// file: a FIFO (named pipe)", "No such file", ...
QString message(Result result);

} // namespace RegularFile
