#pragma once

#include <QByteArray>
#include <QFile>
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

} // namespace TestUtil
