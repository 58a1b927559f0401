#pragma once

#include <QByteArray>
#include <QString>

namespace WholeFile {

// Replaces the file at the path with the contents so that it is never left half written: the
// bytes go to a temporary file beside the target, are flushed and synced to disk, and only then
// take the target's place. A symbolic link is written through to its target, the file's
// permissions are kept (adding its owner's right to read it), and a file without its owner's
// write permission is refused. Returns false, leaving the file as it was, on any failure.
bool write(const QString& path, const QByteArray& contents);

} // namespace WholeFile
