#include "core/tar_sparse.h"

#include <algorithm>

namespace TarSparse {

namespace {

using TarHeaders::BlockSize;
using TarHeaders::SparseChunk;

// The map at the head of a member's data (pax 1.0): decimal numbers, each ending in a newline,
// the count of entries first, then the offset and the size of each entry; the map is padded to
// whole blocks. Blocks are read one at a time, never beyond the data the member stores.
class MapReader
{
public:
    // The stored size is below 2^63: rounding it up to whole blocks cannot overflow.
    MapReader(gzFile stream, quint64 storedSize)
        : m_stream(stream), m_storedBlocks((storedSize + BlockSize - 1) / BlockSize * BlockSize)
    {
    }

    // The next number; false when the map is damaged or the stream ends.
    bool number(quint64& value)
    {
        value = 0;
        int digits = 0;
        for (;;) {
            if (m_at == BlockSize) {
                if (m_consumed + BlockSize > m_storedBlocks)
                    return false;
                if (!TarHeaders::readFully(m_stream, m_block, BlockSize)) {
                    m_broken = true;
                    return false;
                }
                m_consumed += BlockSize;
                m_at = 0;
            }
            const char digit = m_block[m_at++];
            if (digit == '\n')
                return digits > 0;
            // Nineteen digits hold any number the map may need; more are no number of a file.
            if (digit < '0' || digit > '9' || digits == 19)
                return false;
            value = value * 10 + quint64(digit - '0');
            ++digits;
        }
    }

    bool broken() const { return m_broken; }
    // The bytes of the blocks the map took.
    quint64 consumed() const { return m_consumed; }

private:
    gzFile m_stream;
    quint64 m_storedBlocks;
    char m_block[BlockSize] = {};
    quint64 m_at = BlockSize;
    quint64 m_consumed = 0;
    bool m_broken = false;
};

Result readMapInData(gzFile stream, const TarHeaders::MemberHeader& member,
                     std::vector<SparseChunk>& map, quint64& mapBytes)
{
    MapReader reader(stream, member.size);
    quint64 count = 0;
    bool read = reader.number(count);
    // An entry takes four bytes at the least ("0\n0\n"): a count beyond what the data can hold
    // is refused before any entry is kept, as is one beyond the bound of every map.
    if (read && count > member.size / 4)
        return Result::BadMap;
    if (read && count > TarHeaders::MaxSparseEntries)
        return Result::TooLong;
    for (quint64 i = 0; read && i < count; ++i) {
        SparseChunk chunk = {0, 0};
        read = reader.number(chunk.offset) && reader.number(chunk.size);
        map.push_back(chunk);
    }
    if (!read)
        return reader.broken() ? Result::Damaged : Result::BadMap;
    mapBytes = reader.consumed();
    return Result::Read;
}

} // namespace

bool mapFits(const std::vector<SparseChunk>& map, quint64 realSize, quint64 storedSize,
             quint64 mapBytes)
{
    quint64 end = 0;
    quint64 total = 0;
    for (const SparseChunk& chunk : map) {
        if (chunk.offset < end || chunk.size > realSize || chunk.offset > realSize - chunk.size)
            return false;
        end = chunk.offset + chunk.size;
        // No overflow: the stretches lie apart inside the real size.
        total += chunk.size;
    }
    return mapBytes <= storedSize && total == storedSize - mapBytes;
}

Result read(gzFile stream, const TarHeaders::MemberHeader& member, QByteArray& data)
{
    if (member.sparse == TarHeaders::Sparse::Unknown)
        return Result::Unknown;
    if (member.sparseMapTooLong)
        return Result::TooLong;
    if (member.damagedSparseMap)
        return Result::BadMap;
    std::vector<SparseChunk> mapInData;
    quint64 mapBytes = 0;
    if (member.sparse == TarHeaders::Sparse::InData) {
        const Result mapRead = readMapInData(stream, member, mapInData, mapBytes);
        if (mapRead != Result::Read)
            return mapRead;
    }
    const std::vector<SparseChunk>& map =
        member.sparse == TarHeaders::Sparse::InData ? mapInData : member.sparseMap;
    if (!mapFits(map, member.realSize, member.size, mapBytes))
        return Result::BadMap;
    // A file without data is still held: empty, not null.
    data = member.realSize == 0 ? QByteArray("") : QByteArray(qsizetype(member.realSize), '\0');
    for (const SparseChunk& chunk : map) {
        if (!TarHeaders::readData(stream, data.data() + chunk.offset, chunk.size))
            return Result::Damaged;
    }
    return TarHeaders::skipPadding(stream, member.size) ? Result::Read : Result::Damaged;
}

} // namespace TarSparse
