// The program as its program block sets it up, inside the benchmark: the start-up steps, the links of
// the form-skinning layer, the application and the main window shown on a working folder, so that a
// measurement of the main window sees the same skinning, adapters and hooks as a user's run.
#pragma once

#include "app/main.h"
#include "app/program_steps.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// A Windows path from a build-time path with forward slashes.
inline std::wstring WindowsPath(const char* path)
{
    std::string text(path);
    std::wstring wide(text.begin(), text.end());
    for (auto& c : wide)
        if (c == L'/')
            c = L'\\';
    return wide;
}

// Dispatches what is queued (activations, paints, posted skin work) until the queue is empty.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Every window of the calling thread, top-level and child, in a stable order.
// Window enumerations call back with the system's calling convention, which a lambda lacks on 32-bit.
inline BOOL CALLBACK AddWindowTo(HWND wnd, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

inline BOOL CALLBACK AddWindowAndChildrenTo(HWND wnd, LPARAM list)
{
    AddWindowTo(wnd, list);
    EnumChildWindows(wnd, AddWindowTo, list);
    return TRUE;
}

inline std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), AddWindowAndChildrenTo, reinterpret_cast<LPARAM>(&found));
    std::sort(found.begin(), found.end());
    return found;
}

class ProgramWindow {
public:
    // folder: the working folder (a recipe base); the registry settings go to a key of their own.
    explicit ProgramWindow(const std::wstring& folder)
        : saved_(GetCurrentDir()), settings_(L"Software\\Korvadin Bench\\" + IntToStr(GetCurrentProcessId()))
    {
        SetCurrentDir(folder);
        start_ = std::make_unique<TProgramStart>();
        // The application's main form, as the program makes it: a skin change freezes and thaws it.
        Application->CreateForm(MainForm);
        main_ = MainForm;
        main_->UseSettings(&settings_);
        main_->Show();
        PumpMessages();
    }
    ~ProgramWindow()
    {
        Free(main_);
        MainForm = nullptr;
        start_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, settings_.KeyPath().c_str());
        SetCurrentDir(saved_);
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    TMainForm* Main() const { return main_; }

private:
    std::wstring saved_;
    TRegistrySettings settings_;
    std::unique_ptr<TProgramStart> start_;
    TMainForm* main_ = nullptr; // owned by the application; freed first
};

} // namespace bench
