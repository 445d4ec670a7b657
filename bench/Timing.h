#pragma once
#include <windows.h>
#include <x86intrin.h>

#include <algorithm>
#include <functional>
#include <vector>

// Wall-clock timing for the benchmarks: medians of repeated runs.
namespace bench {

inline double Now()
{
    // Asked once: the timed ports call this around every registry and file call.
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / frequency;
}

// The processor's time-stamp counter in seconds: a few cycles to read, where
// QueryPerformanceCounter is a call into Wine's Unix side; for the ports that
// time every call they pass on, so that timing them adds next to nothing.
inline double CounterSeconds()
{
    static const double perSecond = [] {
        const double start = Now();
        const unsigned long long ticks = __rdtsc();
        while (Now() - start < 0.05) {
        }
        return double(__rdtsc() - ticks) / (Now() - start);
    }();
    return double(__rdtsc()) / perSecond;
}

// Median of what `measure` returns, run `runs` times.
inline double MedianOf(int runs, const std::function<double()>& measure)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) times.push_back(measure());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Median time of `work`, run `runs` times.
inline double Median(int runs, const std::function<void()>& work)
{
    return MedianOf(runs, [&] {
        const double start = Now();
        work();
        return Now() - start;
    });
}

}  // namespace bench
