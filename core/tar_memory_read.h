#pragma once

#include "core/tar_headers.h"
#include "core/targz_archive.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <string>
#include <unordered_map>
#include <zlib.h>

// The members of an archive taken into memory one after the other, for
// TargzArchive::readIntoMemory. The data of a regular member is read whole, a sparse member's
// with its holes as zero bytes; a hard link is read as a copy of the bytes of the earlier file it
// names (the bytes are shared, not copied), and nothing touches the file system. A hard link to a
// hard link is read the same way: the one it names already holds the bytes of the file its own
// chain ends at, so a chain of any length costs one look-up per link, and it cannot loop, since a
// link names only a member before it. A hard link to itself, to a name no earlier member has, or
// to a member that is no file (a folder, a symbolic link, a device...) is refused, as is a
// sparse member whose map does not fit or passes the bound of every map. Every member's size is
// held to the limits before its data is inflated; a hard link's copy counts against the total as
// its target did.
class TarMemoryRead
{
public:
    using Result = TargzArchive::ReadResult;
    using Kind = TargzArchive::MemberKind;

    // The files whose names keep accepts go to contents; the others are held only while the
    // read lasts, for the hard links that may name them. What the members that are no file are
    // goes to otherKinds.
    TarMemoryRead(const TargzArchive::Limits& limits,
                  const std::function<bool(const QString&)>& keep,
                  QHash<QString, QByteArray>& contents, QHash<QString, Kind>& otherKinds);

    // What the headers may still take (see TarHeaders::readHeader).
    TarHeaders::Budget& budget() { return m_budget; }

    // Takes the member whose header was just read, reading its data from the stream.
    Result take(gzFile stream, const TarHeaders::MemberHeader& member);

private:
    struct Held
    {
        Kind kind;
        QByteArray data;
    };

    Result readData(gzFile stream, const TarHeaders::MemberHeader& member, QByteArray& data);
    Result resolveLink(const TarHeaders::MemberHeader& member, QByteArray& data) const;

    const TargzArchive::Limits m_limits;
    const std::function<bool(const QString&)>& m_keep;
    QHash<QString, QByteArray>& m_contents;
    QHash<QString, Kind>& m_otherKinds;
    TarHeaders::Budget m_budget;
    // The last member of each name so far, the name without a trailing "/".
    std::unordered_map<std::string, Held> m_held;
};
