#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace TestUtil {

// Takes from a super-user the rights to pass over file permissions (to read, write and search
// anything, to act as any file's owner), from the permitted set too, which access() consults:
// the process then meets permissions and sticky folders as their owner would. For a child
// process made for the purpose; true when there was nothing to take, or it was taken.
inline bool dropFileRights()
{
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct rights[2] = {};
    if (::geteuid() != 0 || ::syscall(SYS_capget, &header, rights) != 0)
        return ::geteuid() != 0;
    const unsigned taken = 1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER;
    rights[0].effective &= ~taken;
    rights[0].permitted &= ~taken;
    return ::syscall(SYS_capset, &header, rights) == 0;
}

} // namespace TestUtil
