// Runs every registered measurement, or only those named on the command line, and prints
// "name: ours X ms, theirs Y ms, ratio R".
#include "tools/bench/bench.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<const char*, bench::Measurement>>& Measurements()
{
    static std::vector<std::pair<const char*, bench::Measurement>> list;
    return list;
}

} // namespace

bool bench::Register(const char* name, Measurement measurement)
{
    Measurements().emplace_back(name, measurement);
    return true;
}

std::wstring bench::DataPath(const std::wstring& name)
{
    std::string dir = VELMORA_BENCH_DATA;
    std::wstring path(dir.begin(), dir.end());
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path + L"\\" + name;
}

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int failures = 0;
    for (auto& [name, measure] : Measurements()) {
        bool chosen = argc < 2;
        for (int i = 1; i < argc && !chosen; ++i)
            chosen = std::strcmp(argv[i], name) == 0;
        if (!chosen)
            continue;
        try {
            bench::Result r = measure();
            if (r.megapixels > 0 && r.oursMs > 0 && r.theirsMs > 0) {
                // Speeds: a ratio above 1 means ours is faster.
                double ours = r.megapixels * 1000.0 / r.oursMs, theirs = r.megapixels * 1000.0 / r.theirsMs;
                std::printf("%s: %s %.1f MP/s (%.1f ms), %s %.1f MP/s (%.1f ms), speed ratio %.2f", name, r.ours.c_str(),
                            ours, r.oursMs, r.theirs.c_str(), theirs, r.theirsMs, ours / theirs);
            } else {
                std::printf("%s: %s %.1f ms, %s %.1f ms, ratio %.2f", name, r.ours.c_str(), r.oursMs, r.theirs.c_str(),
                            r.theirsMs, r.theirsMs > 0 ? r.oursMs / r.theirsMs : 0.0);
            }
            std::printf(r.note.empty() ? "\n" : "; %s\n", r.note.c_str());
        } catch (const std::exception& e) {
            std::printf("%s: failed: %s\n", name, e.what());
            ++failures;
        }
        std::fflush(stdout);
    }
    CoUninitialize();
    return failures ? 1 : 0;
}
