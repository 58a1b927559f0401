#include "core/tar_headers.h"

#include <algorithm>
#include <cstring>
#include <libtar.h>
#include <vector>

namespace TarHeaders {

namespace {

// Longer names, and other extension data than a pax extended header, are refused: no file
// system takes such names.
constexpr quint64 MaxExtensionSize = 64 * 1024;

// An octal field: leading blanks, digits, then the end of the field, a blank or a zero byte.
// Values of 2^63 or more are refused.
bool parseOctal(const char* field, size_t length, quint64& value)
{
    value = 0;
    size_t i = 0;
    while (i < length && field[i] == ' ')
        ++i;
    for (; i < length && field[i] >= '0' && field[i] <= '7'; ++i) {
        if (value >> 60)
            return false;
        value = value * 8 + quint64(field[i] - '0');
    }
    return i == length || field[i] == ' ' || field[i] == '\0';
}

// A whole text of decimal digits below 2^63.
bool parseDecimal(const char* text, size_t length, quint64& value)
{
    value = 0;
    for (size_t i = 0; i < length; ++i) {
        const char digit = text[i];
        if (digit < '0' || digit > '9' || value > (quint64(1) << 63) / 10)
            return false;
        value = value * 10 + quint64(digit - '0');
    }
    return length > 0 && value >> 63 == 0;
}

// A 12-byte size field: octal, or the GNU base-256 form (0x80, then big-endian bytes) for sizes
// beyond the octal range. Values of 2^63 or more are refused; with saturate they read as the
// largest value instead, a size that the limits then refuse for what it is.
bool parseSizeField(const char* field, quint64& size, bool saturate = false)
{
    constexpr size_t length = 12;
    if (!(uchar(field[0]) & 0x80))
        return parseOctal(field, length, size);
    if (uchar(field[0]) != 0x80)
        return false;
    size = 0;
    for (size_t i = 1; i < length; ++i) {
        // Eight bits more would reach 2^63.
        if (size >> 55) {
            size = ~quint64(0);
            return saturate;
        }
        size = (size << 8) | uchar(field[i]);
    }
    return true;
}

bool parseSize(const tar_header& header, quint64& size)
{
    static_assert(sizeof header.size == 12, "a tar size field has 12 bytes");
    return parseSizeField(header.size, size);
}

// The checksum covers the header with its own field read as blanks; like other readers, the
// sum of signed bytes is accepted too.
bool checksumMatches(const tar_header& header)
{
    quint64 stored = 0;
    if (!parseOctal(header.chksum, sizeof header.chksum, stored))
        return false;
    const char* bytes = reinterpret_cast<const char*>(&header);
    const size_t checksumAt = size_t(header.chksum - bytes);
    qint64 unsignedSum = 0;
    qint64 signedSum = 0;
    for (size_t i = 0; i < T_BLOCKSIZE; ++i) {
        const bool inField = i >= checksumAt && i < checksumAt + sizeof header.chksum;
        const char byte = inField ? ' ' : bytes[i];
        unsignedSum += uchar(byte);
        signedSum += static_cast<signed char>(byte);
    }
    return qint64(stored) == unsignedSum || qint64(stored) == signedSum;
}

bool isZeroBlock(const tar_header& header)
{
    const char* bytes = reinterpret_cast<const char*>(&header);
    return std::all_of(bytes, bytes + T_BLOCKSIZE, [](char byte) { return byte == 0; });
}

// The name in the header block: the ustar prefix, "/" and the name; the GNU format has no
// prefix field.
std::string blockName(const tar_header& header)
{
    const std::string name(header.name, strnlen(header.name, sizeof header.name));
    const bool ustar = std::memcmp(header.magic, "ustar", 6) == 0;
    if (!ustar || header.prefix[0] == '\0')
        return name;
    return std::string(header.prefix, strnlen(header.prefix, sizeof header.prefix)) + "/" + name;
}

// What the extension headers before a member say of it.
struct Extensions
{
    std::string longName; // GNU
    std::string longLink; // GNU
    std::string path;     // pax
    std::string linkPath; // pax
    quint64 size = 0;     // pax
    bool hasLongName = false;
    bool hasLongLink = false;
    bool hasPath = false;
    bool hasLinkPath = false;
    bool hasSize = false;
    // The records of a GNU sparse member.
    std::string sparseName;
    std::vector<SparseChunk> sparseMap;
    quint64 sparseEntries = 0; // of the map as given, also beyond the bound
    quint64 sparseRealSize = 0;
    qint64 sparseBlocks = -1;
    int sparseMajor = -1;
    int sparseMinor = -1;
    bool sparse = false;
    bool sparseMapGiven = false;
    bool sparseDamaged = false;
    bool sparseTooLong = false;
    bool pendingSparseOffset = false;
};

// The value of a GNU sparse record; a value that is no number marks the map as damaged.
quint64 sparseNumber(const char* text, size_t length, Extensions& extensions)
{
    quint64 value = 0;
    if (!parseDecimal(text, length, value))
        extensions.sparseDamaged = true;
    return value;
}

// Adds an entry to the map; beyond the bound the entry is counted but not kept.
void addSparseEntry(Extensions& extensions, const SparseChunk& chunk)
{
    ++extensions.sparseEntries;
    if (extensions.sparseMap.size() < MaxSparseEntries)
        extensions.sparseMap.push_back(chunk);
    else
        extensions.sparseTooLong = true;
}

// The records of a GNU sparse member in a pax header: the real size (".size" of the forms 0.0
// and 0.1, ".realsize" of 1.0), the map as offset and size records in turn (0.0, which may come
// in several headers) or as one list (0.1), the real name, and the version of the form. The
// map is read where it lies, never copied.
void readSparseRecord(const std::string& key, const char* text, size_t length,
                      Extensions& extensions)
{
    extensions.sparse = true;
    if (key == "GNU.sparse.size" || key == "GNU.sparse.realsize") {
        extensions.sparseRealSize = sparseNumber(text, length, extensions);
    } else if (key == "GNU.sparse.name") {
        // No file system takes longer names.
        if (length > MaxExtensionSize)
            extensions.sparseDamaged = true;
        else
            extensions.sparseName.assign(text, length);
    } else if (key == "GNU.sparse.numblocks") {
        extensions.sparseBlocks =
            qint64(std::min<quint64>(sparseNumber(text, length, extensions), 1u << 30));
    } else if (key == "GNU.sparse.major" || key == "GNU.sparse.minor") {
        const int version = int(std::min<quint64>(sparseNumber(text, length, extensions), 1000));
        (key == "GNU.sparse.major" ? extensions.sparseMajor : extensions.sparseMinor) = version;
    } else if (key == "GNU.sparse.offset") {
        extensions.sparseDamaged |= extensions.pendingSparseOffset;
        addSparseEntry(extensions, {sparseNumber(text, length, extensions), 0});
        extensions.pendingSparseOffset = true;
        extensions.sparseMapGiven = true;
    } else if (key == "GNU.sparse.numbytes") {
        extensions.sparseDamaged |= !extensions.pendingSparseOffset;
        const quint64 size = sparseNumber(text, length, extensions);
        if (extensions.pendingSparseOffset && extensions.sparseEntries <= MaxSparseEntries)
            extensions.sparseMap.back().size = size;
        extensions.pendingSparseOffset = false;
    } else if (key == "GNU.sparse.map") {
        extensions.sparseMap.clear();
        extensions.sparseEntries = 0;
        extensions.sparseMapGiven = true;
        quint64 numbers = 0;
        quint64 offset = 0;
        for (size_t from = 0; length > 0 && from <= length;) {
            const void* comma = std::memchr(text + from, ',', length - from);
            const size_t end = comma ? size_t(static_cast<const char*>(comma) - text) : length;
            const quint64 number = sparseNumber(text + from, end - from, extensions);
            if (numbers++ % 2 == 0)
                offset = number;
            else
                addSparseEntry(extensions, {offset, number});
            from = end + 1;
        }
        extensions.sparseDamaged |= numbers % 2 != 0;
    }
}

// The records of a pax extended header, each "<length> <key>=<value>\n" with the length of
// the whole record in decimal. An empty value takes the keyword back. False when a record is
// not well formed.
bool readPaxRecords(const char* data, size_t size, Extensions& extensions)
{
    size_t at = 0;
    // Zero bytes after the last record are padding.
    while (at < size && data[at] != '\0') {
        size_t space = at;
        quint64 length = 0;
        while (space < size && data[space] >= '0' && data[space] <= '9' && length <= size)
            length = length * 10 + quint64(data[space++] - '0');
        if (space == at || space >= size || data[space] != ' ' || length > size - at ||
            length < space - at + 3 || data[at + length - 1] != '\n')
            return false;
        const char* record = data + space + 1;
        const char* end = data + at + length - 1;
        const void* equals = std::memchr(record, '=', size_t(end - record));
        if (!equals)
            return false;
        const char* value = static_cast<const char*>(equals) + 1;
        const std::string key(record, size_t(value - 1 - record));
        const size_t valueLength = size_t(end - value);
        if (key == "path" || key == "linkpath") {
            // No file system takes longer names.
            if (valueLength > MaxExtensionSize)
                return false;
            const bool link = key == "linkpath";
            (link ? extensions.linkPath : extensions.path).assign(value, valueLength);
            (link ? extensions.hasLinkPath : extensions.hasPath) = valueLength > 0;
        } else if (key.compare(0, 11, "GNU.sparse.") == 0) {
            readSparseRecord(key, value, valueLength, extensions);
        } else if (key == "size") {
            extensions.hasSize = valueLength > 0;
            if (extensions.hasSize && !parseDecimal(value, valueLength, extensions.size))
                return false;
        }
        at += size_t(length);
    }
    return true;
}

// The map of a GNU sparse member in its header: four entries of offset and size (12 octal bytes
// each) from byte 386, the flag of extension blocks at 482 and the real size at 483. Each
// extension block holds 21 entries more and its own flag at 504. An entry whose size field is
// empty ends the map, and then no extension block is read, as GNU tar does.
constexpr char GnuSparseType = 'S';
constexpr size_t GnuSparseAt = 386;
constexpr size_t GnuSparseEntries = 4;
constexpr size_t GnuExtendedFlagAt = 482;
constexpr size_t GnuRealSizeAt = 483;
constexpr size_t ExtensionEntries = 21;
constexpr size_t ExtensionFlagAt = 504;

// Appends the entries of one block; false when an entry ended the map.
bool readGnuSparseEntries(const char* entries, size_t count, MemberHeader& member)
{
    for (size_t i = 0; i < count; ++i) {
        const char* entry = entries + i * 24;
        if (entry[12] == '\0')
            return false;
        SparseChunk chunk = {0, 0};
        if (!parseSizeField(entry, chunk.offset) || !parseSizeField(entry + 12, chunk.size)) {
            member.damagedSparseMap = true;
            return false;
        }
        // Beyond the bound the entries are not kept; the blocks are still passed over.
        if (member.sparseMap.size() == MaxSparseEntries)
            member.sparseMapTooLong = true;
        else
            member.sparseMap.push_back(chunk);
    }
    return true;
}

// Reads the map of a GNU sparse member, with its extension blocks, each a header of the budget.
HeaderRead readGnuSparseMap(gzFile stream, const char* block, MemberHeader& member, Budget* budget)
{
    member.sparse = Sparse::InHeader;
    member.sparseMap.clear();
    // A real size too large for any file is a size, not damage: the limits refuse it.
    if (!parseSizeField(block + GnuRealSizeAt, member.realSize, true))
        member.damagedSparseMap = true;
    bool more = readGnuSparseEntries(block + GnuSparseAt, GnuSparseEntries, member);
    bool extended = block[GnuExtendedFlagAt] != 0;
    while (more && extended) {
        char extension[BlockSize];
        if (!readFully(stream, extension, BlockSize))
            return HeaderRead::Damaged;
        if (budget && --budget->headers < 0)
            return HeaderRead::TooMany;
        more = readGnuSparseEntries(extension, ExtensionEntries, member);
        extended = extension[ExtensionFlagAt] != 0;
    }
    return HeaderRead::Member;
}

// What the sparse records of a pax header make of the member.
void applySparseRecords(Extensions& extensions, MemberHeader& member)
{
    if (!extensions.sparse)
        return;
    member.realSize = extensions.sparseRealSize;
    member.damagedSparseMap = extensions.sparseDamaged || extensions.pendingSparseOffset;
    member.sparseMapTooLong = extensions.sparseTooLong;
    if (extensions.sparseMajor >= 0 || extensions.sparseMinor >= 0) {
        member.sparse = extensions.sparseMajor == 1 && extensions.sparseMinor == 0
                            ? Sparse::InData
                            : Sparse::Unknown;
        return;
    }
    member.sparse = extensions.sparseMapGiven ? Sparse::InHeader : Sparse::Unknown;
    member.sparseMap = std::move(extensions.sparseMap);
    if (extensions.sparseBlocks >= 0 &&
        quint64(extensions.sparseBlocks) != extensions.sparseEntries)
        member.damagedSparseMap = true;
}

} // namespace

bool isRegular(const MemberHeader& member)
{
    return member.type == REGTYPE || member.type == AREGTYPE || member.type == CONTTYPE;
}

bool carriesData(const MemberHeader& member)
{
    switch (member.type) {
    case LNKTYPE:
    case SYMTYPE:
    case CHRTYPE:
    case BLKTYPE:
    case DIRTYPE:
    case FIFOTYPE:
        return false;
    default:
        return true;
    }
}

std::string withoutDotPrefix(std::string name)
{
    while (name.size() > 2 && name.compare(0, 2, "./") == 0)
        name.erase(0, 2);
    return name;
}

bool readFully(gzFile stream, char* buffer, unsigned size)
{
    return gzread(stream, buffer, size) == int(size);
}

bool readData(gzFile stream, char* buffer, quint64 size)
{
    // gzread takes an unsigned count and answers an int: a gigabyte at a time.
    for (quint64 left = size; left > 0;) {
        const unsigned piece = unsigned(std::min<quint64>(left, 1u << 30));
        if (!readFully(stream, buffer, piece))
            return false;
        buffer += piece;
        left -= piece;
    }
    return true;
}

bool skipPadding(gzFile stream, quint64 size)
{
    char padding[BlockSize];
    const unsigned paddingSize = unsigned((BlockSize - size % BlockSize) % BlockSize);
    return paddingSize == 0 || readFully(stream, padding, paddingSize);
}

bool skipData(gzFile stream, quint64 size)
{
    char buffer[64 * 1024];
    for (quint64 left = (size + BlockSize - 1) / BlockSize * BlockSize; left > 0;) {
        const unsigned piece = unsigned(std::min<quint64>(left, sizeof buffer));
        if (!readFully(stream, buffer, piece))
            return false;
        left -= piece;
    }
    return true;
}

bool isHeaderBlock(const char* block)
{
    tar_header header;
    std::memcpy(&header, block, T_BLOCKSIZE);
    return !isZeroBlock(header) && checksumMatches(header);
}

HeaderRead readHeader(gzFile stream, MemberHeader& member, Budget* budget)
{
    Extensions extensions;
    int zeroBlocks = 0;
    for (;;) {
        tar_header header;
        char* block = reinterpret_cast<char*>(&header);
        const int got = gzread(stream, block, T_BLOCKSIZE);
        if (got == 0)
            return HeaderRead::End;
        if (got != T_BLOCKSIZE)
            return HeaderRead::Damaged;
        if (isZeroBlock(header)) {
            if (++zeroBlocks == 2)
                return HeaderRead::End;
            continue;
        }
        zeroBlocks = 0;
        quint64 size = 0;
        if (!checksumMatches(header) || !parseSize(header, size))
            return HeaderRead::Damaged;
        if (budget && --budget->headers < 0)
            return HeaderRead::TooMany;
        const char type = header.typeflag;
        if (type == GNU_LONGNAME_TYPE || type == GNU_LONGLINK_TYPE || type == 'x' || type == 'g') {
            if (type == 'x' && size > MaxPaxHeaderSize)
                return HeaderRead::PaxHeaderTooLarge;
            if (type != 'x' && size > MaxExtensionSize)
                return HeaderRead::Damaged;
            if (budget && (budget->bytes -= qint64(size)) < 0)
                return HeaderRead::TooLarge;
            std::vector<char> data(size_t((size + BlockSize - 1) / BlockSize * BlockSize));
            if (!readFully(stream, data.data(), unsigned(data.size())))
                return HeaderRead::Damaged;
            // An extension of no bytes holds an empty name or no record.
            const char* const bytes = data.empty() ? "" : data.data();
            if (type == GNU_LONGNAME_TYPE) {
                extensions.longName.assign(bytes, strnlen(bytes, size_t(size)));
                extensions.hasLongName = true;
            } else if (type == GNU_LONGLINK_TYPE) {
                extensions.longLink.assign(bytes, strnlen(bytes, size_t(size)));
                extensions.hasLongLink = true;
            } else if (type == 'x' && !readPaxRecords(bytes, size_t(size), extensions)) {
                return HeaderRead::Damaged;
            }
            continue;
        }
        const std::string name =
            withoutDotPrefix(!extensions.sparseName.empty() ? extensions.sparseName
                             : extensions.hasPath           ? extensions.path
                             : extensions.hasLongName       ? extensions.longName
                                                            : blockName(header));
        if (type == DIRTYPE && (name == "." || name == "./")) {
            extensions = Extensions();
            continue;
        }
        member = MemberHeader();
        member.name = name;
        member.linkName = withoutDotPrefix(
            extensions.hasLinkPath ? extensions.linkPath
            : extensions.hasLongLink
                ? extensions.longLink
                : std::string(header.linkname, strnlen(header.linkname, sizeof header.linkname)));
        member.type = type;
        member.size = extensions.hasSize ? extensions.size : size;
        // A GNU sparse member is a regular file whose map of data and holes comes with it.
        if (type == GnuSparseType) {
            member.type = REGTYPE;
            return readGnuSparseMap(stream, block, member, budget);
        }
        applySparseRecords(extensions, member);
        return HeaderRead::Member;
    }
}

} // namespace TarHeaders
