#pragma once

#include <QtGlobal>
#include <string>
#include <zlib.h>

// The reading of tar headers from a decompressing stream, for the archive reader. Headers are
// read here rather than by libtar's th_read, which trusts a GNU long name to end in a zero byte
// (a hostile archive makes readers of the name run past its buffer), whose path name quietly
// drops leading "/" and ".." parts, hiding a hostile name behind a harmless one, and which knows
// nothing of pax extended headers.
//
// The formats that common archivers write are read: v7, ustar (with its name prefix), GNU (long
// names) and pax (the "path" and "size" records of an extended header apply to the member that
// follows; global headers and other records are passed over). A name is given as archivers
// that pack a folder's contents write it, without its leading "./" parts, and the entry of that
// folder itself ("." or "./") is passed over; nothing else of a name is changed, so a name that
// reaches elsewhere stays visible as such.
namespace TarHeaders {

// The tar block, the unit of headers and of data with its padding.
constexpr quint64 BlockSize = 512;

struct MemberHeader
{
    std::string name;
    char type = '0';
    quint64 size = 0;
};

enum class HeaderRead
{
    Member,
    End,     // the end-of-archive blocks, or a stream that ran out (see the archive's check)
    Damaged, // a short or corrupt header, or extension data that is not well formed
    TooMany, // more headers than the budget allows
    TooLarge // more extension data than the budget allows
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

// Whether the 512 bytes are a tar header block: its checksum matches.
bool isHeaderBlock(const char* block);

bool readFully(gzFile stream, char* buffer, unsigned size);

} // namespace TarHeaders
