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
// with its holes as zero bytes; a hard link is read as a copy of the bytes of the earlier
// regular member it names (the bytes are shared, not copied), and nothing touches the file
// system. A hard link to itself, to a name no earlier member has, to another hard link or to
// a member that is no regular file is refused, as is a sparse member whose map does not fit.
// Every member's size is held to the limits before its data is inflated; a hard link's copy
// counts against the total as its target did.
class TarMemoryRead
{
public:
    using Result = TargzArchive::ReadResult;

    // The members whose names keep accepts go to contents; the others are held only while the
    // read lasts, for the hard links that may name them.
    TarMemoryRead(const TargzArchive::Limits& limits,
                  const std::function<bool(const QString&)>& keep,
                  QHash<QString, QByteArray>& contents);

    // What the headers may still take (see TarHeaders::readHeader).
    TarHeaders::Budget& budget() { return m_budget; }

    // Takes the member whose header was just read, reading its data from the stream.
    Result take(gzFile stream, const TarHeaders::MemberHeader& member);

private:
    enum class Kind
    {
        Regular,
        HardLink,
        Other
    };
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
    TarHeaders::Budget m_budget;
    // The last member of each name so far.
    std::unordered_map<std::string, Held> m_held;
};
