// The robot that drives the real program from outside.
#include "tests/e2e/robot.h"

#include <algorithm>

namespace e2e {

namespace {

bool Matches(HWND wnd, const std::wstring& className, const std::wstring& caption, bool visibleOnly)
{
    if (visibleOnly && !IsWindowVisible(wnd))
        return false;
    if (!className.empty() && WindowClass(wnd) != className)
        return false;
    return caption.empty() || WindowCaption(wnd) == caption;
}

struct TopSearch {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    const WindowQuery& q = *search->query;
    if ((q.processId == 0 || pid == q.processId) && Matches(wnd, q.className, q.caption, q.visibleOnly))
        search->found.push_back(wnd);
    return TRUE;
}

struct ChildSearch {
    const std::wstring* className;
    const std::wstring* caption;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (Matches(wnd, *search->className, *search->caption, search->visibleOnly))
        search->found.push_back(wnd);
    return TRUE;
}

// Keeps the message queue of the test thread alive while it waits, so nothing sent to it hangs.
void ShortWait(DWORD ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Drop-down lists and menus show without taking the activation: they are clicked as they are, and
// waiting for them to come to the foreground would only run into the time limit.
bool ShowsWithoutActivation(HWND top)
{
    const std::wstring cls = WindowClass(top);
    return cls == L"ComboLBox" || cls == L"#32768" || (GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
}

// Brings the window the pointer is about to click to the front, as a person's click would.
void BringToFront(Robot& robot, HWND wnd)
{
    HWND top = GetAncestor(wnd, GA_ROOT);
    if (GetForegroundWindow() != top && !ShowsWithoutActivation(top))
        robot.Activate(top);
}

INPUT KeyInput(WORD vk, WORD scan, DWORD flags)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

bool IsExtendedKey(WORD vk)
{
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RMENU: case VK_RCONTROL:
        return true;
    default:
        return false;
    }
}

INPUT VirtualKey(WORD vk, bool up)
{
    DWORD flags = up ? KEYEVENTF_KEYUP : 0;
    if (IsExtendedKey(vk))
        flags |= KEYEVENTF_EXTENDEDKEY;
    return KeyInput(vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags);
}

} // namespace

std::wstring WindowClass(HWND wnd)
{
    wchar_t buf[256];
    int n = GetClassNameW(wnd, buf, 256);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring WindowCaption(HWND wnd)
{
    // Another process's window: WM_GETTEXT crosses the process boundary with the text copied.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    text.resize(std::min<size_t>(static_cast<size_t>(copied), static_cast<size_t>(length)));
    return text;
}

std::vector<HWND> FindTopWindows(const WindowQuery& query)
{
    TopSearch search{&query, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(const WindowQuery& query)
{
    auto found = FindTopWindows(query);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> FindChildWindows(HWND parent, const std::wstring& className, const std::wstring& caption,
                                   bool visibleOnly)
{
    ChildSearch search{&className, &caption, visibleOnly, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildWindow(HWND parent, const std::wstring& className, const std::wstring& caption, bool visibleOnly)
{
    auto found = FindChildWindows(parent, className, caption, visibleOnly);
    return found.empty() ? nullptr : found.front();
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        ShortWait(20);
    }
}

HWND WaitForTopWindow(const WindowQuery& query, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(query)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND wnd, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(wnd) || !IsWindowVisible(wnd); }, timeoutMs);
}

RECT ClientRectOnScreen(HWND wnd)
{
    RECT rc{};
    GetClientRect(wnd, &rc);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

POINT ClientCentre(HWND wnd)
{
    RECT rc{};
    GetClientRect(wnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool Robot::Activate(HWND topLevel)
{
    if (IsIconic(topLevel))
        ShowWindow(topLevel, SW_RESTORE);
    // A process in the background may only take the foreground when the foreground thread lets it:
    // a harmless key event first makes this process the last one to have received input.
    INPUT nothing[2] = {VirtualKey(VK_SHIFT, false), VirtualKey(VK_SHIFT, true)};
    SendInput(2, nothing, sizeof(INPUT));
    SetForegroundWindow(topLevel);
    bool front = WaitUntil([&] { return GetForegroundWindow() == topLevel; }, 5000);
    WaitIdle(topLevel);
    return front;
}

void Robot::SendMouse(DWORD flags, POINT screen)
{
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / std::max(1, w - 1));
    in.mi.dy = static_cast<LONG>((screen.y * 65535LL + h / 2) / std::max(1, h - 1));
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

void Robot::MoveTo(HWND wnd, POINT client)
{
    ClientToScreen(wnd, &client);
    SendMouse(MOUSEEVENTF_MOVE, client);
    WaitIdle(wnd);
}

void Robot::Click(HWND wnd, POINT client, MouseButton button)
{
    BringToFront(*this, wnd);
    POINT screen = client;
    ClientToScreen(wnd, &screen);
    SendMouse(MOUSEEVENTF_MOVE, screen);
    DWORD down = button == MouseButton::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    DWORD up = button == MouseButton::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    SendMouse(MOUSEEVENTF_MOVE | down, screen);
    SendMouse(MOUSEEVENTF_MOVE | up, screen);
    // The window may be gone once the click is handled (a button that closes its dialog).
    WaitIdle(IsWindow(wnd) ? wnd : nullptr);
}

void Robot::DoubleClick(HWND wnd, POINT client)
{
    BringToFront(*this, wnd);
    POINT screen = client;
    ClientToScreen(wnd, &screen);
    SendMouse(MOUSEEVENTF_MOVE, screen);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, screen);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, screen);
    }
    WaitIdle(IsWindow(wnd) ? wnd : nullptr);
}

void Robot::ClickCentre(HWND wnd, MouseButton button)
{
    Click(wnd, ClientCentre(wnd), button);
}

void Robot::TypeText(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT keys[2] = {KeyInput(0, c, KEYEVENTF_UNICODE), KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        SendInput(2, keys, sizeof(INPUT));
    }
    WaitIdle();
}

void Robot::PressKey(WORD vk)
{
    PressShortcut({vk});
}

void Robot::PressShortcut(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> events;
    for (WORD vk : keys)
        events.push_back(VirtualKey(vk, false));
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        events.push_back(VirtualKey(*it, true));
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    WaitIdle();
}

void Robot::WaitIdle(HWND wnd, DWORD timeoutMs)
{
    // Input reaches the program's queue asynchronously: the program counts as idle once it waits for
    // messages again and a message sent to its thread comes back, twice in a row.
    for (int round = 0; round < 2; ++round) {
        ShortWait(10);
        WaitForInputIdle(process_, timeoutMs);
        if (wnd && IsWindow(wnd)) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result);
        }
    }
}

std::optional<std::wstring> ReadUserString(const std::wstring& key, const std::wstring& value)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_REG_SZ, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_REG_SZ, &type, text.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

void DeleteUserKey(const std::wstring& key)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

bool FileExists(const std::wstring& path)
{
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

bool CopyTree(const std::wstring& from, const std::wstring& to)
{
    if (!CreateDirectoryW(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    bool ok = true;
    for (const auto& name : FolderEntries(from)) {
        std::wstring source = from + L"\\" + name;
        std::wstring target = to + L"\\" + name;
        if (FolderExists(source))
            ok = CopyTree(source, target) && ok;
        else
            ok = CopyFileW(source.c_str(), target.c_str(), FALSE) && ok;
    }
    return ok;
}

} // namespace e2e
