#pragma once

#include "core/tar_headers.h"

#include <QByteArray>
#include <zlib.h>

// The data of GNU sparse members, as GNU tar and bsdtar write a file with holes: the stretches
// of data stored one after the other, and a map of where each belongs in the file; the holes
// between them read as zero bytes.
namespace TarSparse {

enum class Result
{
    Read,
    Damaged, // the stream ended or broke off in the member
    BadMap,  // a map that cannot be read, or that does not fit the file or the data stored
    TooLong, // a map of more than TarHeaders::MaxSparseEntries entries
    Unknown  // sparse records of a form not known here
};

// Whether the map fits: its stretches in order, none overlapping the one before, none
// reaching past the real size, and together as long as the data stored after the map
// (mapBytes, the blocks that the map itself takes at the head of the data).
bool mapFits(const std::vector<TarHeaders::SparseChunk>& map, quint64 realSize, quint64 storedSize,
             quint64 mapBytes = 0);

// Reads the member's data, its padding included, into the file it stands for (the real size
// long). The caller has checked the real size and the stored size against its limits: nothing
// larger is allocated here. A map that heads the data is read from the stream first, its count
// checked against the data stored before any entry is kept.
Result read(gzFile stream, const TarHeaders::MemberHeader& member, QByteArray& data);

} // namespace TarSparse
