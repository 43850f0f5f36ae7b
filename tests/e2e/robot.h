// A robot that uses the real program as a person would: it starts velmora.exe in a folder, moves the
// mouse, clicks and types through the system's input queue, and looks at the result through window
// texts, the files on disk, the registry and screenshots.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

// The virtual desktop the program runs on.
inline constexpr wchar_t kDesktop[] = L"VelmoraRobot";
// Moves the calling thread (which must have no windows yet) onto the program's desktop, once.
void JoinDesktop();

class Program {
public:
    // Starts the program in folder on the robot's desktop, joins that desktop and waits until the
    // main window is shown and idle.
    Program(const std::wstring& exe, const std::wstring& folder);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Main() const { return main_; }
    DWORD Id() const { return info_.dwProcessId; }
    // Waits until the program has handled its input and painted.
    void Settle(DWORD extraMs = 300) const;
    // A top-level window of the program of that class, waiting for it to appear (nullptr: none came).
    HWND WaitForWindow(const std::wstring& className, DWORD timeoutMs = 5000) const;
    // Waits for the process to end; false when it did not.
    bool WaitForExit(DWORD timeoutMs = 10000);

private:
    PROCESS_INFORMATION info_{};
    HWND main_ = nullptr;
    bool ended_ = false;
};

// The nth child window (depth first) of a class, nullptr when there is none.
HWND FindChild(HWND parent, const std::wstring& className, int nth = 0);
// The child button whose caption is text.
HWND FindButton(HWND parent, const std::wstring& text);
std::wstring WindowText(HWND wnd);
RECT ScreenRect(HWND wnd);

void MoveTo(int x, int y);
void Click(int x, int y, bool right = false);
void ClickCentre(HWND wnd);
// Presses one key, with modifiers held.
void Key(WORD vk, bool ctrl = false, bool alt = false, bool shift = false);
// Types text as characters (any alphabet).
void Type(const std::wstring& text);

// The whole screen as a 24-bit BMP file.
bool Screenshot(const std::wstring& path);

// A string value of HKEY_CURRENT_USER\keyPath; "<missing>" when absent.
std::wstring RegString(const std::wstring& keyPath, const std::wstring& name);

} // namespace robot
