#include "tools/bench/profiler.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

bench::Profile::Profile(const char* name) : name_(name)
{
    if (!std::getenv("VELMORA_BENCH_PROFILE"))
        return;
    samples_.assign(size_t(1) << 23, 0);
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &target_, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    thread_ = CreateThread(nullptr, 0, Sampler, this, 0, nullptr);
}

bench::Profile::~Profile()
{
    if (!thread_)
        return;
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(target_);
    const char* path = std::getenv("VELMORA_BENCH_PROFILE");
    if (FILE* f = std::fopen(path, "a")) {
        // The loaded modules, so that addresses outside the benchmark's own code get a module's name.
        HMODULE modules[512];
        DWORD bytes = 0;
        EnumProcessModules(GetCurrentProcess(), modules, sizeof(modules), &bytes);
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
            MODULEINFO info{};
            char file[MAX_PATH] = {};
            GetModuleInformation(GetCurrentProcess(), modules[i], &info, sizeof(info));
            GetModuleFileNameA(modules[i], file, MAX_PATH);
            std::fprintf(f, "@ %llx %lx %s\n", reinterpret_cast<unsigned long long>(info.lpBaseOfDll),
                         info.SizeOfImage, file);
        }
        std::fprintf(f, "# %s %zu\n", name_.c_str(), count_);
        for (size_t i = 0; i < used_; ++i) {
            if (samples_[i])
                std::fprintf(f, "%llx ", static_cast<unsigned long long>(samples_[i]));
            else
                std::fprintf(f, "\n");
        }
        std::fclose(f);
    }
}

DWORD WINAPI bench::Profile::Sampler(void* self)
{
    auto* profile = static_cast<Profile*>(self);
    while (!profile->stop_) {
        Sleep(1);
        profile->Sample();
    }
    return 0;
}

void bench::Profile::Sample()
{
    if (SuspendThread(target_) == static_cast<DWORD>(-1))
        return;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    if (used_ + 130 > samples_.size())
        return (void)ResumeThread(target_);
#if defined(__x86_64__)
    if (GetThreadContext(target_, &context)) {
        // Walks the frames with the unwind data of each module; ends where a frame has none.
        for (int depth = 0; depth < 128 && context.Rip; ++depth) {
            samples_[used_++] = context.Rip;
            DWORD64 base = 0;
            PRUNTIME_FUNCTION entry = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
            if (!entry) {
                if (depth > 0)
                    break;
                context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
                context.Rsp += 8;
                continue;
            }
            void* handlerData = nullptr;
            DWORD64 frame = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, entry, &context, &handlerData, &frame, nullptr);
        }
    }
#else
    // The frames are walked with the 64-bit unwind data; a 32-bit build records empty samples.
    GetThreadContext(target_, &context);
#endif
    ResumeThread(target_);
    samples_[used_++] = 0;
    ++count_;
}
