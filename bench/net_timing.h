#pragma once
// What the network benchmarks share: timing, a scratch folder and running a command line.
#include "bench_support.h"
#include <chrono>
#include <concepts>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace net_bench {

// Seconds one call of work takes, the best of `runs` calls.
inline double bestSeconds(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best
            = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

// Runs a shell command line; false when it did not exit with 0.
inline bool run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

using bench::Scratch;

inline double mib(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

// Byte counts are whole numbers; shown in MiB they are exact enough as doubles.
template <std::integral Count> inline double mib(Count bytes)
{
    return mib(static_cast<double>(bytes));
}

} // namespace net_bench
