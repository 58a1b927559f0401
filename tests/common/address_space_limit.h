#pragma once

#include <QByteArray>
#include <QFile>
#include <sys/resource.h>

// Lets this process's address space grow by at most the given number of bytes from what it
// holds now: beyond it an allocation fails, as on a machine that has no more memory. Meant for
// a child process that ends without giving the limit back. (Relative to the present size, it
// also holds in the sanitizer build, whose reserved shadow is counted from the start.)
inline bool limitAddressSpaceGrowth(rlim_t bytes)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmSize:"))
            continue;
        bool ok = false;
        const rlim_t kib = line.mid(7).trimmed().split(' ').value(0).toULongLong(&ok);
        const rlimit limit{kib * 1024 + bytes, RLIM_INFINITY};
        return ok && ::setrlimit(RLIMIT_AS, &limit) == 0;
    }
    return false;
}
