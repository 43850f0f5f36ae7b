// The dialog-show measurements: one of the program's own dialogs opened from the main window on the
// sample base as its command opens it (modally), shown, painted and closed as a person pressing Escape
// would; against the same windows made with plain calls (the system's classes, the same sizes, styles,
// texts and font), shown, painted and closed the same way.
#include "tools/bench/bench.h"
#include "tools/bench/program_window.h"
#include "tools/bench/profiler.h"

#include "app/main_dialogs.h"

#include <windows.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Closes the thread's dialog (a shown, enabled top-level window other than the main one, tool windows
// aside) once it is shown and painted: timer messages come after paints.
class Closer {
public:
    explicit Closer(HWND keep) : timer_(SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick))
    {
        keep_ = keep;
        closed_ = nullptr;
    }
    ~Closer() { KillTimer(nullptr, timer_); }
    Closer(const Closer&) = delete;
    Closer& operator=(const Closer&) = delete;
    static HWND Closed() { return closed_; }

private:
    static BOOL CALLBACK Find(HWND wnd, LPARAM found)
    {
        if (wnd != keep_ && IsWindowVisible(wnd) && IsWindowEnabled(wnd) &&
            !(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            *reinterpret_cast<HWND*>(found) = wnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&dialog));
        if (dialog && dialog != closed_) {
            if (onClose_)
                onClose_(dialog);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            closed_ = dialog;
        }
    }
    static inline HWND keep_ = nullptr;
    static inline HWND closed_ = nullptr;
    UINT_PTR timer_;

public:
    // Called with the dialog just before it is closed (to note its windows).
    static inline void (*onClose_)(HWND) = nullptr;
};

// One window of the dialog as the floor makes it again.
struct Shape {
    std::wstring cls;
    std::wstring text;
    DWORD style = 0, exStyle = 0;
    RECT rect{};
    int parent = -1; // index in the list; -1 for the dialog itself
};

std::vector<Shape> gShapes;
LOGFONTW gFont{};

// The system class the window is made of; a class of the program's own becomes a static.
std::wstring PlainClass(HWND wnd)
{
    wchar_t name[64] = {};
    RealGetWindowClassW(wnd, name, 64);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    if (!GetClassInfoExW(nullptr, name, &info))
        return L"Static";
    return name;
}

void NoteShape(HWND dialog)
{
    gShapes.clear();
    std::map<HWND, int> index;
    std::vector<HWND> windows{dialog};
    EnumChildWindows(dialog, bench::AddWindowTo, reinterpret_cast<LPARAM>(&windows));
    for (HWND wnd : windows) {
        Shape s;
        s.cls = wnd == dialog ? L"" : PlainClass(wnd);
        wchar_t text[256] = {};
        GetWindowTextW(wnd, text, 256);
        s.text = text;
        s.style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
        s.exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
        GetWindowRect(wnd, &s.rect);
        HWND parent = GetParent(wnd);
        if (wnd != dialog) {
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&s.rect), 2);
            s.parent = index.count(parent) ? index[parent] : 0;
        }
        index[wnd] = static_cast<int>(gShapes.size());
        gShapes.push_back(s);
    }
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectW(font, sizeof(gFont), &gFont);
}

const wchar_t* const kFloorClass = L"VelmoraBenchDialogFloor";

LRESULT CALLBACK FloorProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// The noted windows made with plain calls, shown modally over the main window until closed.
void PlainDialog(HWND owner)
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = FloorProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kFloorClass;
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered)
        throw std::runtime_error("cannot register the floor's class");
    HFONT font = CreateFontIndirectW(&gFont);
    std::vector<HWND> made;
    for (const Shape& s : gShapes) {
        const bool top = s.parent < 0;
        made.push_back(CreateWindowExW(s.exStyle, top ? kFloorClass : s.cls.c_str(), s.text.c_str(),
                                       top ? (s.style & ~WS_VISIBLE) : s.style, s.rect.left, s.rect.top,
                                       s.rect.right - s.rect.left, s.rect.bottom - s.rect.top,
                                       top ? owner : made[static_cast<size_t>(s.parent)], nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
        if (!top)
            SendMessageW(made.back(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    EnableWindow(owner, FALSE);
    ShowWindow(made.front(), SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(owner, TRUE);
    DeleteObject(font);
}

bench::Result DialogShow(const char* name, TModalResult (*show)(TMainForm*))
{
    bench::ProgramWindow program(bench::WindowsPath(VELMORA_BENCH_SAMPLE_BASE));
    TMainForm* main = program.Main();
    HWND mainWnd = main->Handle();
    auto openAndClose = [&] {
        Closer closer(mainWnd);
        show(main);
        bench::PumpMessages();
        if (!Closer::Closed())
            throw std::runtime_error("the dialog did not show");
    };
    // The first opening warms what every later one finds (fonts, classes) and notes the windows.
    Closer::onClose_ = NoteShape;
    openAndClose();
    Closer::onClose_ = nullptr;
    constexpr int kRuns = 9;
    bench::Result r;
    r.ours = std::string(name) + " dialog (" + std::to_string(gShapes.size()) + " windows) shown and closed";
    {
        bench::Profile profile((std::string("dialog show ") + name).c_str());
        r.oursMs = bench::MedianMs(kRuns, openAndClose);
    }
    r.theirs = "the same windows made with plain calls";
    auto plain = [&] {
        Closer closer(mainWnd);
        PlainDialog(mainWnd);
        bench::PumpMessages();
    };
    plain(); // warm, as ours was
    r.theirsMs = bench::MedianMs(kRuns, plain);
    return r;
}

} // namespace

VELMORA_BENCH(dialog_show_about)
{
    return DialogShow("about", ShowAboutDialog);
}

VELMORA_BENCH(dialog_show_new_recipe)
{
    return DialogShow("new recipe", ShowNewRecipeDialog);
}
