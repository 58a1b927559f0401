#pragma once

#include <QtGlobal>
#include <string>
#include <vector>
#include <zlib.h>

// The reading of tar headers from a decompressing stream, for the archive reader. Headers are
// read here rather than by libtar's th_read, which trusts a GNU long name to end in a zero byte
// (a hostile archive makes readers of the name run past its buffer), whose path name quietly
// drops leading "/" and ".." parts, hiding a hostile name behind a harmless one, and which knows
// nothing of pax extended headers.
//
// The formats that common archivers write are read: v7, ustar (with its name prefix), GNU (long
// names and link names, sparse members) and pax (the "path", "linkpath" and "size" records of an
// extended header, and the records of GNU sparse members in their three forms, apply to the
// member that follows; global headers and other records are passed over). A name is given as
// archivers that pack a folder's contents write it, without its leading "./" parts, and the entry
// of that folder itself ("." or "./") is passed over; nothing else of a name is changed, so a name
// that reaches elsewhere stays visible as such.
namespace TarHeaders {

// The tar block, the unit of headers and of data with its padding.
constexpr quint64 BlockSize = 512;

// A stretch of a sparse file's data: where it starts in the file and its length.
struct SparseChunk
{
    quint64 offset;
    quint64 size;
};

// The most entries a sparse member's map may have, in every form: far more stretches of data
// than a file of the sizes read here can hold (holes take a block at least), and a bound on the
// memory that a map's entries take whatever the stream repeats.
constexpr size_t MaxSparseEntries = 1 << 18;

// The most data a pax extended header may have: a map of the most entries written as one record
// (pax 0.1, two numbers of up to 20 digits and their commas an entry) with room to spare. Other
// extension data (long names and link names, global headers) is held to 64 KB: no file system
// takes longer names.
constexpr quint64 MaxPaxHeaderSize = 16 * 1024 * 1024;

// How a sparse member keeps its map of data and holes.
enum class Sparse
{
    None,
    InHeader, // the map came with the headers (GNU, pax 0.0 and 0.1)
    InData,   // the map heads the member's data (pax 1.0)
    Unknown   // sparse records of a form not known here
};

struct MemberHeader
{
    std::string name;
    std::string linkName; // what a link points to, without leading "./" parts
    char type = '0';
    quint64 size = 0; // the bytes stored after the header
    Sparse sparse = Sparse::None;
    quint64 realSize = 0;               // of a sparse member: the size of the file
    std::vector<SparseChunk> sparseMap; // of a sparse member whose map came with the headers
    bool damagedSparseMap = false;      // sparse records that could not be read
    bool sparseMapTooLong = false;      // a map of more than MaxSparseEntries entries
};

enum class HeaderRead
{
    Member,
    End,      // the end-of-archive blocks, or a stream that ran out (see the archive's check)
    Damaged,  // a short or corrupt header, or extension data that is not well formed
    TooMany,  // more headers than the budget allows
    TooLarge, // more extension data than the budget allows
    PaxHeaderTooLarge // a pax extended header of more than MaxPaxHeaderSize bytes
};

// What a read may still take: header blocks, and bytes of extension data (long names, pax
// records). A member's own data is counted by the caller.
struct Budget
{
    qint64 headers;
    qint64 bytes;
};

// Reads the next member's header, taking in the extension headers before it; each header
// counts against the budget when there is one.
HeaderRead readHeader(gzFile stream, MemberHeader& member, Budget* budget = nullptr);

// Whether the member is a regular file (a sparse one included).
bool isRegular(const MemberHeader& member);
// Whether data follows the member's header: links, devices, folders and pipes have none,
// whatever their size says.
bool carriesData(const MemberHeader& member);

// The name as archivers that pack a folder's contents write it: without the "./" parts in front.
std::string withoutDotPrefix(std::string name);

// Whether the 512 bytes are a tar header block: its checksum matches.
bool isHeaderBlock(const char* block);

bool readFully(gzFile stream, char* buffer, unsigned size);
// Reads data of any size into the buffer, which holds it.
bool readData(gzFile stream, char* buffer, quint64 size);
// Passes over the padding that follows a member's data of the size, up to the next block.
bool skipPadding(gzFile stream, quint64 size);
// Passes over a member's data of the size with its padding.
bool skipData(gzFile stream, quint64 size);

} // namespace TarHeaders
