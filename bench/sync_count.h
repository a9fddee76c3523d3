#pragma once
// Counts the process's fsync and fdatasync calls (SQLite's syncs among them) by standing
// in for the C library's two functions: the benchmark program exports these, so that
// the shared SQLite library calls them, and they pass each call on.
#include <atomic>
#include <dlfcn.h>

namespace bench {
inline std::atomic<int> SyncCalls { 0 };
}

extern "C" int fdatasync(int fd)
{
    using Sync = int (*)(int);
    static const Sync real = reinterpret_cast<Sync>(dlsym(RTLD_NEXT, "fdatasync"));
    ++bench::SyncCalls;
    return real(fd);
}

extern "C" int fsync(int fd)
{
    using Sync = int (*)(int);
    static const Sync real = reinterpret_cast<Sync>(dlsym(RTLD_NEXT, "fsync"));
    ++bench::SyncCalls;
    return real(fd);
}
