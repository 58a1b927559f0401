#include "core/tar_memory_read.h"

#include "core/tar_sparse.h"

#include <algorithm>
#include <libtar.h>

using TarHeaders::MemberHeader;

namespace {

// The name of a member's path: a folder's without the "/" that archivers put after it.
std::string pathOf(std::string name)
{
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return name;
}

TargzArchive::MemberKind kindOf(const MemberHeader& member)
{
    using Kind = TargzArchive::MemberKind;
    if (TarHeaders::isRegular(member) || member.type == LNKTYPE)
        return Kind::File;
    switch (member.type) {
    case DIRTYPE:
        return Kind::Folder;
    case SYMTYPE:
        return Kind::SymbolicLink;
    case CHRTYPE:
    case BLKTYPE:
        return Kind::Device;
    case FIFOTYPE:
        return Kind::Fifo;
    default:
        return Kind::Other;
    }
}

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
                             QHash<QString, QByteArray>& contents, QHash<QString, Kind>& otherKinds)
    : m_limits(limits), m_keep(keep), m_contents(contents),
      m_otherKinds(otherKinds), m_budget{limits.memberCount, limits.totalSize}
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
    const Kind kind = kindOf(member);
    if (TarHeaders::isRegular(member)) {
        const Result read = readData(stream, member, data);
        if (read != Result::Read)
            return read;
    } else if (member.type == LNKTYPE) {
        const Result resolved = resolveLink(member, data);
        if (resolved != Result::Read)
            return resolved;
        // The copy shares its bytes, yet counts as a member of its own: a bundle of links is
        // held to the same total as the same bundle packed without them, so that whatever is
        // made of each member later stays bounded.
        if ((m_budget.bytes -= qint64(data.size())) < 0)
            return Result::TooLarge;
    } else if (TarHeaders::carriesData(member) && !TarHeaders::skipData(stream, member.size)) {
        return Result::Unreadable;
    }
    const std::string path = pathOf(member.name);
    m_held[path] = Held{kind, data};
    const QString pathName = QString::fromStdString(path);
    if (kind == Kind::File)
        m_otherKinds.remove(pathName);
    else
        m_otherKinds.insert(pathName, kind);
    if (m_keep(name)) {
        if (kind == Kind::File)
            m_contents.insert(name, data);
        else
            m_contents.remove(name);
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
    case TarSparse::Result::TooLong:
        return Result::SparseMapTooLong;
    case TarSparse::Result::Unknown:
        break;
    }
    return Result::UnknownSparseForm;
}

TarMemoryRead::Result TarMemoryRead::resolveLink(const MemberHeader& member, QByteArray& data) const
{
    const std::string target = pathOf(member.linkName);
    if (target == pathOf(member.name))
        return Result::LinkToItself;
    const auto found = m_held.find(target);
    if (found == m_held.end())
        return Result::LinkToNoEarlierMember;
    switch (found->second.kind) {
    case Kind::File:
        // A hard link holds the bytes of the file its chain ends at.
        data = found->second.data;
        return Result::Read;
    case Kind::Folder:
        return Result::LinkToFolder;
    default:
        return Result::LinkToNonRegular;
    }
}
