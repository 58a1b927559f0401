#pragma once

#include "core/regular_file.h"

#include <QString>

// What a file holds as far as its first bytes tell, for the message that says why a file that
// should be a gzip-compressed tar archive does not read as one.
namespace ArchiveContent {

enum Kind
{
    Kind_TAR,          // a tar archive, gzip-compressed or not (a reader of gzip streams takes
                       // data that is not compressed as it is)
    Kind_GZIP_TWICE,   // an intact gzip stream of a gzip stream
    Kind_GZIP_OTHER,   // an intact gzip stream of something else
    Kind_DAMAGED_GZIP, // a gzip stream that fails its own checks (header, method, data, CRC,
                       // length) or stops before its end, whatever it holds
    Kind_XZ,
    Kind_BZIP2,
    Kind_ZSTD,
    Kind_ZIP,
    Kind_OTHER,
    Kind_UNREADABLE // the path names no regular file that can be read
};

// A file that is not a gzip stream is told by its first 64 KB; a gzip stream is decoded to its
// end (its first 256 MB of data at most), since damage anywhere in it, down to its trailer,
// makes it damaged rather than a stream of something else. Only a regular file is opened (see
// RegularFile); when the path names none, the kind is Kind_UNREADABLE and opened, when given,
// says why.
Kind identify(const QString& path, RegularFile::Result* opened = nullptr);
// The same for a file open for reading, from its start whatever the descriptor's offset (which
// stays where it is): what was opened, whatever its path names by now.
Kind identify(int descriptor);

} // namespace ArchiveContent
