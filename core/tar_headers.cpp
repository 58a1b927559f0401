#include "core/tar_headers.h"

#include <algorithm>
#include <cstring>
#include <libtar.h>
#include <vector>

namespace TarHeaders {

namespace {

// Longer extension data is refused: no file system takes such names.
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
bool parseDecimal(const std::string& text, quint64& value)
{
    value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9' || value > (quint64(1) << 63) / 10)
            return false;
        value = value * 10 + quint64(digit - '0');
    }
    return !text.empty() && value >> 63 == 0;
}

// The size field: octal, or the GNU base-256 form (0x80, then big-endian bytes) for sizes
// beyond the octal range.
bool parseSize(const tar_header& header, quint64& size)
{
    const char* field = header.size;
    const size_t length = sizeof header.size;
    if (!(uchar(field[0]) & 0x80))
        return parseOctal(field, length, size);
    if (uchar(field[0]) != 0x80)
        return false;
    size = 0;
    for (size_t i = 1; i < length; ++i) {
        if (i < 5 && field[i] != 0)
            return false;
        size = (size << 8) | uchar(field[i]);
    }
    return size >> 63 == 0;
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
    std::string path;     // pax
    quint64 size = 0;     // pax
    bool hasLongName = false;
    bool hasPath = false;
    bool hasSize = false;
};

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
        const std::string text(value, size_t(end - value));
        if (key == "path") {
            extensions.path = text;
            extensions.hasPath = !text.empty();
        } else if (key == "size") {
            extensions.hasSize = !text.empty();
            if (extensions.hasSize && !parseDecimal(text, extensions.size))
                return false;
        }
        at += size_t(length);
    }
    return true;
}

// The name without the "./" parts in front that archivers write for a folder's contents.
std::string withoutDotPrefix(std::string name)
{
    while (name.size() > 2 && name.compare(0, 2, "./") == 0)
        name.erase(0, 2);
    return name;
}

} // namespace

bool readFully(gzFile stream, char* buffer, unsigned size)
{
    return gzread(stream, buffer, size) == int(size);
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
            if (size > MaxExtensionSize)
                return HeaderRead::Damaged;
            if (budget && (budget->bytes -= qint64(size)) < 0)
                return HeaderRead::TooLarge;
            std::vector<char> data(size_t((size + BlockSize - 1) / BlockSize * BlockSize));
            if (!readFully(stream, data.data(), unsigned(data.size())))
                return HeaderRead::Damaged;
            if (type == GNU_LONGNAME_TYPE) {
                extensions.longName.assign(data.data(), strnlen(data.data(), size_t(size)));
                extensions.hasLongName = true;
            } else if (type == 'x' && !readPaxRecords(data.data(), size_t(size), extensions)) {
                return HeaderRead::Damaged;
            }
            continue;
        }
        const std::string name = withoutDotPrefix(extensions.hasPath       ? extensions.path
                                                  : extensions.hasLongName ? extensions.longName
                                                                           : blockName(header));
        if (type == DIRTYPE && (name == "." || name == "./")) {
            extensions = Extensions();
            continue;
        }
        member.name = name;
        member.type = type;
        member.size = extensions.hasSize ? extensions.size : size;
        return HeaderRead::Member;
    }
}

} // namespace TarHeaders
