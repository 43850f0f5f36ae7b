#include "tests/e2e/robot.h"

#include <stdexcept>

namespace robot {

namespace {

struct FindTop {
    DWORD process;
    std::wstring className;
    HWND found;
};

BOOL CALLBACK FindTopWindow(HWND wnd, LPARAM param)
{
    auto* find = reinterpret_cast<FindTop*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    if ((find->process == 0 || owner == find->process) && IsWindowVisible(wnd) && find->className == cls) {
        find->found = wnd;
        return FALSE;
    }
    return TRUE;
}

struct FindNth {
    std::wstring className;
    std::wstring text;
    int nth;
    HWND found;
};

BOOL CALLBACK FindChildWindow(HWND wnd, LPARAM param)
{
    auto* find = reinterpret_cast<FindNth*>(param);
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    if (!find->className.empty() && find->className != cls)
        return TRUE;
    if (!find->text.empty() && WindowText(wnd) != find->text)
        return TRUE;
    if (find->nth-- == 0) {
        find->found = wnd;
        return FALSE;
    }
    return TRUE;
}

void SendKey(WORD vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_DELETE || vk == VK_INSERT || vk == VK_HOME || vk == VK_END || vk == VK_LEFT || vk == VK_RIGHT ||
        vk == VK_UP || vk == VK_DOWN)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof(input));
}

void SendMouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

} // namespace

Program::Program(const std::wstring& exe, const std::wstring& folder)
{
    // The program runs on a virtual desktop of the system's own, as on a real screen with a window
    // manager: there the program's windows take the keyboard focus and draw their frames.
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION shell{};
    std::wstring commandLine = L"explorer.exe /desktop=" + std::wstring(kDesktop) + L",1024x768 \"" + exe + L"\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &shell))
        throw std::runtime_error("cannot start the program");
    CloseHandle(shell.hThread);
    CloseHandle(shell.hProcess);
    JoinDesktop();
    FindTop find{0, L"TMainForm", nullptr};
    for (int i = 0; i < 400 && !find.found; ++i) {
        EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&find));
        if (!find.found)
            Sleep(50);
    }
    main_ = find.found;
    if (!main_)
        throw std::runtime_error("the main window did not appear");
    GetWindowThreadProcessId(main_, &info_.dwProcessId);
    info_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, info_.dwProcessId);
    Settle(500);
}

Program::~Program()
{
    if (!ended_ && info_.hProcess && WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info_.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(info_.hProcess, 1);
    }
    if (info_.hProcess)
        CloseHandle(info_.hProcess);
}

void JoinDesktop()
{
    static thread_local bool joined = false;
    if (joined)
        return;
    for (int i = 0; i < 200; ++i) {
        if (HDESK desktop = OpenDesktopW(kDesktop, 0, FALSE, GENERIC_ALL)) {
            joined = SetThreadDesktop(desktop) != FALSE;
            if (!joined)
                throw std::runtime_error("cannot join the program's desktop");
            return;
        }
        Sleep(50);
    }
    throw std::runtime_error("the program's desktop did not appear");
}

void Program::Settle(DWORD extraMs) const
{
    if (info_.hProcess)
        WaitForInputIdle(info_.hProcess, 5000);
    Sleep(extraMs);
    if (info_.hProcess)
        WaitForInputIdle(info_.hProcess, 5000);
}

HWND Program::WaitForWindow(const std::wstring& className, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FindTop find{info_.dwProcessId, className, nullptr};
        EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&find));
        if (find.found)
            return find.found;
        Sleep(50);
    }
    return nullptr;
}

bool Program::WaitForExit(DWORD timeoutMs)
{
    ended_ = WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    return ended_;
}

HWND FindChild(HWND parent, const std::wstring& className, int nth)
{
    FindNth find{className, L"", nth, nullptr};
    EnumChildWindows(parent, FindChildWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND FindButton(HWND parent, const std::wstring& text)
{
    FindNth find{L"", text, 0, nullptr};
    EnumChildWindows(parent, FindChildWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::wstring WindowText(HWND wnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(wnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &got);
    text.resize(got);
    return text;
}

RECT ScreenRect(HWND wnd)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

void MoveTo(int x, int y)
{
    SetCursorPos(x, y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    Sleep(50);
}

void Click(int x, int y, bool right)
{
    MoveTo(x, y);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Sleep(100);
}

void ClickCentre(HWND wnd)
{
    const RECT r = ScreenRect(wnd);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Key(WORD vk, bool ctrl, bool alt, bool shift)
{
    if (ctrl)
        SendKey(VK_CONTROL, false);
    if (alt)
        SendKey(VK_MENU, false);
    if (shift)
        SendKey(VK_SHIFT, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (shift)
        SendKey(VK_SHIFT, true);
    if (alt)
        SendKey(VK_MENU, true);
    if (ctrl)
        SendKey(VK_CONTROL, true);
    Sleep(80);
}

void Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT input[2]{};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1] = input[0];
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(20);
    }
}

bool Screenshot(const std::wstring& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    bool written = false;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD done = 0;
        written = WriteFile(out, &file, sizeof(file), &done, nullptr) &&
                  WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &done, nullptr) &&
                  WriteFile(out, bits, imageSize, &done, nullptr);
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

std::wstring RegString(const std::wstring& keyPath, const std::wstring& name)
{
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

} // namespace robot
