// The start-up measurement: from creating the program's process on the sample base to its main window
// shown and painted (the process idle, waiting for input), against a bare program showing the same windows.
#include "app/program_steps.h"
#include "tools/bench/bench.h"
#include "tools/bench/program_window.h"
#include "tools/bench/profiler.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

struct FindMain {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND wnd, LPARAM param)
{
    auto* find = reinterpret_cast<FindMain*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    wchar_t cls[32] = {};
    GetClassNameW(wnd, cls, 32);
    if (owner == find->process && IsWindowVisible(wnd) && std::wstring(cls) == L"TMainForm") {
        find->found = wnd;
        return FALSE;
    }
    return TRUE;
}

PROCESS_INFORMATION Launch(std::wstring commandLine, const std::wstring& folder)
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        throw std::runtime_error("cannot start the process");
    return pi;
}

void Close(PROCESS_INFORMATION& pi)
{
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// Starts a program in the recipe base, waits for its main window to be shown and painted (the process
// idle, waiting for input) and closes it.
void StartAndClose(const std::wstring& program, const std::wstring& base)
{
    PROCESS_INFORMATION pi = Launch(L"\"" + program + L"\"", base);
    FindMain find{pi.dwProcessId, nullptr};
    for (int i = 0; i < 3000 && !find.found; ++i) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&find));
        if (!find.found)
            Sleep(5);
    }
    WaitForInputIdle(pi.hProcess, 10000);
    const bool shown = find.found != nullptr;
    if (shown)
        PostMessageW(find.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    Close(pi);
    if (!shown)
        throw std::runtime_error("the main window did not appear");
}

} // namespace

// Ours against a bare program made of plain calls that shows the same windows with the same images,
// recipes and first recipe, unskinned (startup_floor_main.cpp). Both are started alternately, so a
// load that changes during the run weighs on both.
VELMORA_BENCH(startup_first_paint)
{
    const std::wstring program = bench::WindowsPath(VELMORA_BENCH_PROGRAM);
    const std::wstring floor = bench::WindowsPath(VELMORA_BENCH_STARTUP_FLOOR);
    const std::wstring base = bench::WindowsPath(VELMORA_BENCH_SAMPLE_BASE);
    // The first start of each fills the system's caches (fonts, libraries) a user's later starts find.
    StartAndClose(program, base);
    StartAndClose(floor, base);
    std::vector<double> ours, theirs;
    for (int i = 0; i < 7; ++i) {
        ours.push_back(bench::MedianMs(1, [&] { StartAndClose(program, base); }));
        theirs.push_back(bench::MedianMs(1, [&] { StartAndClose(floor, base); }));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    bench::Result r;
    r.ours = "velmora.exe to painted main window";
    r.oursMs = ours[ours.size() / 2];
    r.theirs = "bare program with the same windows";
    r.theirsMs = theirs[theirs.size() / 2];
    const double bare = bench::MedianMs(5, [&] {
        PROCESS_INFORMATION pi = Launch(L"cmd.exe /c exit", L"");
        WaitForSingleObject(pi.hProcess, 10000);
        Close(pi);
    });
    r.note = "bare process start and exit " + std::to_string(static_cast<int>(bare)) + " ms";
    return r;
}

namespace {

double NowMs()
{
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return double(now.QuadPart) * 1000.0 / double(freq.QuadPart);
}

// The program's start-up steps inside the benchmark's process, each timed: the note gives the breakdown.
std::string StartupSteps(const std::wstring& folder)
{
    const std::wstring saved = GetCurrentDir();
    TRegistrySettings settings(L"Software\\Korvadin Bench\\" + IntToStr(GetCurrentProcessId()));
    SetCurrentDir(folder);
    std::vector<std::pair<const char*, double>> steps;
    double last = NowMs();
    auto step = [&](const char* name) {
        const double now = NowMs();
        steps.emplace_back(name, now - last);
        last = now;
    };
    {
        TProgramStart start(false);
        step("start-up steps");
        InitApplication();
        RegisterAppClasses();
        step("application");
        Application->CreateForm(MainForm);
        step("form data and FormCreate");
        TMainForm* main = MainForm;
        main->UseSettings(&settings);
        main->Show();
        step("Show (FormShow)");
        bench::PumpMessages();
        step("first paint");
        Free(main);
        MainForm = nullptr;
        DoneApplication();
        step("teardown");
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.KeyPath().c_str());
    SetCurrentDir(saved);
    std::string note;
    for (auto& [name, ms] : steps)
        note += std::string(note.empty() ? "" : ", ") + name + " " + std::to_string(int(ms * 10) / 10.0).substr(0, 5);
    return note;
}

// The same start-up inside the benchmark's process, for a profile of where its time goes; only with
// VELMORA_BENCH_PROFILE set. The first run warms what a second program start finds ready (fonts, the
// system's caches); the second is profiled.
bench::Result StartupInProcess()
{
    bench::Result r;
    r.ours = "program window made, shown and painted in process";
    const std::wstring base = bench::WindowsPath(VELMORA_BENCH_SAMPLE_BASE);
    r.note = "cold: " + StartupSteps(base) + "; warm: " + StartupSteps(base);
    r.oursMs = bench::MedianMs(1, [&] {
        bench::Profile profile("start-up in process");
        bench::ProgramWindow program(base);
    });
    return r;
}
[[maybe_unused]] const bool startupInProcessRegistered =
    std::getenv("VELMORA_BENCH_PROFILE") && bench::Register("startup_in_process", StartupInProcess);

} // namespace
