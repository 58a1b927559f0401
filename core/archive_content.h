#pragma once

#include <QString>

// What a file holds as far as its first bytes tell, for the message that says why a file that
// should be a gzip-compressed tar archive does not read as one.
namespace ArchiveContent {

enum Kind
{
    Kind_TAR,        // a tar archive, gzip-compressed or not (a reader of gzip streams takes
                     // data that is not compressed as it is)
    Kind_GZIP_TWICE, // a gzip stream of a gzip stream
    Kind_GZIP_OTHER, // a gzip stream of something else
    Kind_XZ,
    Kind_BZIP2,
    Kind_ZSTD,
    Kind_ZIP,
    Kind_OTHER,
    Kind_UNREADABLE // the file cannot be opened
};

// Reads no more than the file's first 64 KB. The path must name a regular file: opening a
// pipe would wait for a writer.
Kind identify(const QString& path);

} // namespace ArchiveContent
