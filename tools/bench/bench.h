// The benchmark's registry: each measurement is one function in a file of its own, registered with
// VELMORA_BENCH; the runner prints one line per measurement.
#pragma once

#include <string>

namespace bench {

// Times of one measurement: ours and the system's way of doing the same, in milliseconds.
struct Result {
    std::string ours;
    double oursMs = 0;
    std::string theirs;
    double theirsMs = 0;
    // Megapixels handled per run; when set, speeds are printed in megapixels per second.
    double megapixels = 0;
    // Anything else worth a word (sizes of what was written).
    std::string note;
};

using Measurement = Result (*)();

bool Register(const char* name, Measurement measurement);

// A file of the benchmark's data folder, as a Windows path.
std::wstring DataPath(const std::wstring& name);

// The median of several timed runs of f, in milliseconds.
template <class F>
double MedianMs(int runs, F f);

} // namespace bench

#define VELMORA_BENCH(name)                                                                                        \
    static bench::Result name();                                                                                   \
    [[maybe_unused]] static const bool name##_registered = bench::Register(#name, name);                           \
    static bench::Result name()

#include <windows.h>

#include <algorithm>
#include <vector>

template <class F>
double bench::MedianMs(int runs, F f)
{
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        f();
        QueryPerformanceCounter(&b);
        times.push_back(double(b.QuadPart - a.QuadPart) * 1000.0 / double(freq.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
