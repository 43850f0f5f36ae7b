// The start-up measurement: from creating the program's process on the sample base to its main window
// shown and painted (the process idle, waiting for input), against a bare process start.
#include "tools/bench/bench.h"
#include "tools/bench/program_window.h"

#include <windows.h>

#include <stdexcept>
#include <string>

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

} // namespace

VELMORA_BENCH(startup_first_paint)
{
    const std::wstring program = bench::WindowsPath(VELMORA_BENCH_PROGRAM);
    const std::wstring base = bench::WindowsPath(VELMORA_BENCH_SAMPLE_BASE);
    bench::Result r;
    r.ours = "velmora.exe to painted main window";
    r.oursMs = bench::MedianMs(5, [&] {
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
    });
    r.theirs = "bare process start and exit";
    r.theirsMs = bench::MedianMs(5, [&] {
        PROCESS_INFORMATION pi = Launch(L"cmd.exe /c exit", L"");
        WaitForSingleObject(pi.hProcess, 10000);
        Close(pi);
    });
    return r;
}
