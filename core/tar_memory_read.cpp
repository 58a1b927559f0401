#include "core/tar_memory_read.h"

#include "core/tar_sparse.h"

#include <algorithm>
#include <libtar.h>

using TarHeaders::MemberHeader;

namespace {

// Reads a plain member's data in one piece, then passes over its padding.
bool readPlainData(gzFile stream, quint64 size, QByteArray& data)
{
    // A member without data is still held: empty, not null.
    data = size == 0 ? QByteArray("") : QByteArray(qsizetype(size), Qt::Uninitialized);
    return TarHeaders::readData(stream, data.data(), size) && TarHeaders::skipPadding(stream, size);
}

} // namespace

TarMemoryRead::TarMemoryRead(const TargzArchive::Limits& limits,
                             const std::function<bool(const QString&)>& keep,
                             QHash<QString, QByteArray>& contents)
    : m_limits(limits), m_keep(keep),
      m_contents(contents), m_budget{limits.memberCount, limits.totalSize}
{
}

TarMemoryRead::Result TarMemoryRead::take(gzFile stream, const MemberHeader& member)
{
    const QString name = QString::fromStdString(member.name);
    const bool sparse = member.sparse != TarHeaders::Sparse::None;
    if (TarHeaders::carriesData(member)) {
        // A sparse member takes its real size in memory; what it stores is checked as well.
        const quint64 held = sparse ? std::max(member.size, member.realSize) : member.size;
        if (held > quint64(m_limits.memberSize))
            return Result::MemberTooLarge;
        if ((m_budget.bytes -= qint64(held)) < 0)
            return Result::TooLarge;
    }
    QByteArray data;
    Kind kind = Kind::Other;
    if (TarHeaders::isRegular(member)) {
        const Result read = readData(stream, member, data);
        if (read != Result::Read)
            return read;
        kind = Kind::Regular;
    } else if (member.type == LNKTYPE) {
        const Result resolved = resolveLink(member, data);
        if (resolved != Result::Read)
            return resolved;
        // The copy shares its bytes, yet counts as a member of its own: a bundle of links is
        // held to the same total as the same bundle packed without them, so that whatever is
        // made of each member later stays bounded.
        if ((m_budget.bytes -= qint64(data.size())) < 0)
            return Result::TooLarge;
        kind = Kind::HardLink;
    } else if (TarHeaders::carriesData(member) && !TarHeaders::skipData(stream, member.size)) {
        return Result::Unreadable;
    }
    m_held[member.name] = Held{kind, data};
    if (m_keep(name)) {
        if (kind == Kind::Other)
            m_contents.remove(name);
        else
            m_contents.insert(name, data);
    }
    return Result::Read;
}

TarMemoryRead::Result TarMemoryRead::readData(gzFile stream, const MemberHeader& member,
                                              QByteArray& data)
{
    if (member.sparse == TarHeaders::Sparse::None)
        return readPlainData(stream, member.size, data) ? Result::Read : Result::Unreadable;
    switch (TarSparse::read(stream, member, data)) {
    case TarSparse::Result::Read:
        return Result::Read;
    case TarSparse::Result::Damaged:
        return Result::Unreadable;
    case TarSparse::Result::BadMap:
        return Result::BadSparseMap;
    case TarSparse::Result::Unknown:
        break;
    }
    return Result::UnknownSparseForm;
}

TarMemoryRead::Result TarMemoryRead::resolveLink(const MemberHeader& member, QByteArray& data) const
{
    if (member.linkName == member.name)
        return Result::LinkToItself;
    const auto target = m_held.find(member.linkName);
    if (target == m_held.end())
        return Result::LinkToNoEarlierMember;
    switch (target->second.kind) {
    case Kind::HardLink:
        return Result::LinkToLink;
    case Kind::Other:
        return Result::LinkToNonRegular;
    case Kind::Regular:
        break;
    }
    data = target->second.data;
    return Result::Read;
}
