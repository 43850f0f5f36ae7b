// A sampling profiler for the benchmark: while a Profile lives, another thread stops the calling thread
// about every millisecond and records its call stack; at the end the stacks go to the file named by
// VELMORA_BENCH_PROFILE (one line of return addresses per sample), for scripts/profile to resolve.
// Without that variable a Profile does nothing.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

class Profile {
public:
    explicit Profile(const char* name);
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

private:
    static DWORD WINAPI Sampler(void* self);
    void Sample();

    std::string name_;
    HANDLE target_ = nullptr; // owned: a duplicate of the profiled thread's handle
    HANDLE thread_ = nullptr; // owned: the sampling thread
    std::atomic<bool> stop_{false};
    // Filled while the profiled thread is stopped, so nothing here may allocate: a stopped thread may
    // hold the heap's lock. Samples are separated by zeros.
    std::vector<std::uint64_t> samples_;
    size_t used_ = 0;
    size_t count_ = 0;
};

} // namespace bench
