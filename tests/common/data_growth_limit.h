#pragma once

#include <QByteArray>
#include <QFile>
#include <sys/resource.h>

namespace TestUtil {

// Lets the data of this process (a child made for the purpose: the limit stays) grow by no more
// than the given bytes from what it holds now, so that an allocation of a size an input claims
// fails there instead of taking the machine's memory. The sanitizers' own reservations count
// in what the process holds, hence a limit above it rather than an absolute one. False when the
// process's data size cannot be read or the limit cannot be set.
inline bool limitDataGrowth(rlim_t bytes)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmData:"))
            continue;
        bool ok = false;
        const rlim_t held = line.mid(7).trimmed().split(' ').value(0).toULongLong(&ok) * 1024;
        const rlimit limit = {held + bytes, held + bytes};
        return ok && ::setrlimit(RLIMIT_DATA, &limit) == 0;
    }
    return false;
}

} // namespace TestUtil
