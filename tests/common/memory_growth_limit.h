#pragma once

#include <QByteArray>
#include <QFile>
#include <malloc.h>
#include <sys/resource.h>

// Limits on how much more memory this process may take from what it holds now: beyond one, an
// allocation fails, as on a machine that has no more. Meant for a child process made for the
// purpose, which ends without giving the limit back. Relative to the present size, so that they
// hold in the sanitizer build too, whose own reservations count in what the process holds.
// False when the size cannot be read or the limit cannot be set.
namespace TestUtil {

// The field of /proc/self/status ("VmSize:", "VmData:") in bytes; 0 when it cannot be read.
inline rlim_t processStatusBytes(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(field))
            continue;
        bool ok = false;
        const rlim_t kib = line.mid(field.size()).trimmed().split(' ').value(0).toULongLong(&ok);
        return ok ? kib * 1024 : 0;
    }
    return 0;
}

inline bool limitGrowth(const QByteArray& field, int resource, rlim_t bytes)
{
    const rlim_t held = processStatusBytes(field);
    const rlimit limit{held + bytes, held + bytes};
    return held > 0 && ::setrlimit(resource, &limit) == 0;
}

// The whole address space.
inline bool limitAddressSpaceGrowth(rlim_t bytes)
{
    return limitGrowth("VmSize:", RLIMIT_AS, bytes);
}

// The data segment and the heap's mappings: what an allocation of a size an input claims takes.
inline bool limitDataGrowth(rlim_t bytes)
{
    return limitGrowth("VmData:", RLIMIT_DATA, bytes);
}

// Has glibc's allocator give every large block back to the system when it is freed, rather
// than keep it for the next one: a block kept from before a limit would serve a read meant to
// go beyond it. For a child process, before it makes what it will read.
inline void giveLargeBlocksBack()
{
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

// The limit on the data's growth for as long as the object lives, given back when it goes, so
// that the child process can go on as once memory is back.
class DataGrowthLimit
{
public:
    explicit DataGrowthLimit(rlim_t bytes)
    {
        const rlim_t held = processStatusBytes("VmData:");
        if (held == 0 || ::getrlimit(RLIMIT_DATA, &previous) != 0 ||
            held + bytes > previous.rlim_max)
            return;
        const rlimit limit{held + bytes, previous.rlim_max};
        set = ::setrlimit(RLIMIT_DATA, &limit) == 0;
    }
    ~DataGrowthLimit()
    {
        if (set)
            ::setrlimit(RLIMIT_DATA, &previous);
    }
    DataGrowthLimit(const DataGrowthLimit&) = delete;
    DataGrowthLimit& operator=(const DataGrowthLimit&) = delete;

    // False when the limit could not be set.
    bool isSet() const { return set; }

private:
    rlimit previous{};
    bool set = false;
};

} // namespace TestUtil
