#include "tests/skin_core/message_box_watcher.h"

namespace testskin {

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == search->process && std::wstring(cls) == L"#32770" && IsWindowVisible(wnd)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

struct Children {
    int buttons = 0;
    bool icon = false;
    std::wstring text;
    HWND firstButton = nullptr;
};

BOOL CALLBACK CountChild(HWND wnd, LPARAM param)
{
    auto* c = reinterpret_cast<Children*>(param);
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    const std::wstring name = cls;
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    if (name == L"Button" && IsWindowVisible(wnd)) {
        ++c->buttons;
        if (!c->firstButton)
            c->firstButton = wnd;
    } else if (name == L"Static") {
        if ((style & SS_TYPEMASK) == SS_ICON)
            c->icon = true;
        else {
            wchar_t text[512] = {};
            GetWindowTextW(wnd, text, 512);
            if (text[0])
                c->text = text;
        }
    }
    return TRUE;
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher()
{
    thread_ = CreateThread(nullptr, 0, &MessageBoxWatcher::Run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    Wait();
}

SeenBox MessageBoxWatcher::Wait()
{
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return seen_;
}

DWORD WINAPI MessageBoxWatcher::Run(void* self)
{
    auto* watcher = static_cast<MessageBoxWatcher*>(self);
    Search search{GetCurrentProcessId(), nullptr};
    for (int i = 0; i < 400 && !search.found; ++i) {
        Sleep(25);
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    }
    if (!search.found)
        return 0;
    Sleep(100);
    wchar_t caption[256] = {};
    GetWindowTextW(search.found, caption, 256);
    Children children;
    EnumChildWindows(search.found, CountChild, reinterpret_cast<LPARAM>(&children));
    watcher->seen_ = SeenBox{true, caption, children.text, children.buttons, children.icon};
    // IDOK closes a box with an OK button; the tests only show such boxes.
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(children.firstButton));
    return 0;
}

} // namespace testskin
