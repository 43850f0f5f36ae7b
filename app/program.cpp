// The program block: starts the process-wide state, shows the main window and runs the message loop.
#include "framework/Jpeg.h"
#include "framework/Startup.h"
#include "png/pngimage.h"

#include <windows.h>
#include <commctrl.h>

namespace {

constexpr wchar_t kMainClass[] = L"TMainForm";

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    // Process-wide state is prepared here, in its fixed order, and released in reverse when the
    // startup object goes after the message loop.
    TStartup startup;
    AddJpegStartupStep(startup);
    // PNG registers last and goes first at shutdown.
    AddPngStartupStep(startup);
    startup.Start();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    RegisterClassExW(&wc);

    HWND main = CreateWindowExW(0, kMainClass, L"Велмора", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                800, 600, nullptr, nullptr, instance, nullptr);
    if (!main)
        return 1;
    ShowWindow(main, show);
    UpdateWindow(main);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
