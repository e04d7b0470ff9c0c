#pragma once
#include <cstdio>
#include <ctime>

// The same marker lines the program prints with ZELMO_BENCH=1.
inline void BenchMark(const char* what) {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::printf("ZELMO_BENCH %s %lld\n", what, static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
    std::fflush(stdout);
}
