#pragma once
// How much of what the streams free goes back to the system. glibc's allocator gives threads
// arenas of their own (up to eight per core) and keeps what they free for reuse: every pipeline
// brings a dozen streaming and decoder threads, and each channel switch left a little more of those
// arenas resident. Without glibc these do nothing.
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdlib>
#include <cstring>

namespace MallocTuning {

// Once at start, before any other thread: two arenas for the whole process. Left alone when the
// user chose a number (MALLOC_ARENA_MAX or the tunable).
inline void LimitArenas() {
#ifdef __GLIBC__
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (std::getenv("MALLOC_ARENA_MAX") || (tunables && std::strstr(tunables, "arena_max")))
        return;
    mallopt(M_ARENA_MAX, 2);
#endif
}

// After a pipeline is freed, on the thread that freed it: hands the freed pages of every arena back.
inline void ReturnFreed() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace MallocTuning
