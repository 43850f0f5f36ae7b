// The robot that drives the real program from outside: windows found by class and caption, real mouse
// and keyboard input, waiting for conditions, registry values and files.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// --- Windows ---

std::wstring WindowClass(HWND wnd);
std::wstring WindowCaption(HWND wnd);

// Top-level windows of one process (every process when processId is 0); an empty class or caption
// matches any.
struct WindowQuery {
    DWORD processId = 0;
    std::wstring className;
    std::wstring caption;
    bool visibleOnly = true;
};
std::vector<HWND> FindTopWindows(const WindowQuery& query);
HWND FindTopWindow(const WindowQuery& query);

// Descendants of parent in Z order, depth first; an empty class or caption matches any.
std::vector<HWND> FindChildWindows(HWND parent, const std::wstring& className, const std::wstring& caption = {},
                                   bool visibleOnly = true);
HWND FindChildWindow(HWND parent, const std::wstring& className, const std::wstring& caption = {},
                     bool visibleOnly = true);

// Polls the condition until it holds or the time is up; the last result is returned.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
HWND WaitForTopWindow(const WindowQuery& query, DWORD timeoutMs = 10000);
// Waits until the window is gone (destroyed or hidden).
bool WaitForWindowGone(HWND wnd, DWORD timeoutMs = 10000);

// Client rectangle of a window in screen coordinates.
RECT ClientRectOnScreen(HWND wnd);
POINT ClientCentre(HWND wnd);

// --- Input ---

enum class MouseButton { Left, Right };

// Real input through the system's input queue, as a person's mouse and keyboard produce it.
class Robot {
public:
    // process: the program driven; its GUI thread is waited for after each action.
    explicit Robot(HANDLE process) : process_(process) {}

    // Puts the top-level window in front and waits until it is the foreground window.
    bool Activate(HWND topLevel);

    void MoveTo(HWND wnd, POINT client);
    void Click(HWND wnd, POINT client, MouseButton button = MouseButton::Left);
    void DoubleClick(HWND wnd, POINT client);
    void ClickCentre(HWND wnd, MouseButton button = MouseButton::Left);

    // Text as typed characters (any script: each character is sent as a Unicode key event).
    void TypeText(const std::wstring& text);
    // One key pressed and released.
    void PressKey(WORD vk);
    // Keys pressed in order and released in reverse: {VK_MENU, VK_F4} is Alt+F4.
    void PressShortcut(std::initializer_list<WORD> keys);

    // Waits until the program's GUI thread has taken the queued input and is waiting for more; wnd is any
    // window of that thread (none: only the process's idle state is awaited).
    void WaitIdle(HWND wnd = nullptr, DWORD timeoutMs = 5000);

private:
    void SendMouse(DWORD flags, POINT screen);

    HANDLE process_;
};

// --- Registry and files ---

// A string value under HKEY_CURRENT_USER; nothing when the key or the value is missing or not a string.
std::optional<std::wstring> ReadUserString(const std::wstring& key, const std::wstring& value);
// Removes a key under HKEY_CURRENT_USER with everything in it (nothing happens when it is missing).
void DeleteUserKey(const std::wstring& key);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Names of the entries of a folder (files and folders, "." and ".." left out).
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// Copies a folder tree; false when anything could not be copied.
bool CopyTree(const std::wstring& from, const std::wstring& to);

} // namespace e2e
