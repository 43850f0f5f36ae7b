#include "tests/skin_controls/adapters_support.h"

#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinForms.h"

#include <algorithm>
#include <cstdio>

namespace adaptertest {

namespace {

constexpr const wchar_t* kLoggedClass = L"VelmoraAdapterTestWnd";

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(c));
    return text;
}

std::string Section(const char* name, COLORREF color, COLORREF hot, const char* extra = "")
{
    return std::string("[") + name + "]\r\nCOLOR=" + Hex(color) + "\r\nHOTCOLOR=" + Hex(hot) + "\r\n" + extra;
}

void RegisterLoggedClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kLoggedClass, &wc))
        return;
    wc.lpfnWndProc = LoggedWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kLoggedClass;
    RegisterClassExW(&wc);
}

// Scrolls a bar as a list box does: lines by 1, pages by the page, thumb positions taken as they come.
void ScrollSelf(HWND wnd, int bar, int code, int pos)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(wnd, bar, &si);
    int p = si.nPos;
    switch (code) {
    case SB_LINEUP: p -= 1; break;
    case SB_LINEDOWN: p += 1; break;
    case SB_PAGEUP: p -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: p += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: p = pos; break;
    default: return;
    }
    const int top = si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0);
    p = std::clamp(p, si.nMin, std::max(top, si.nMin));
    SetScrollPos(wnd, bar, p, TRUE);
}

} // namespace

std::string BarsSkinOptions()
{
    std::string s = "[GLOBALINFO]\r\nVERSION=6.5\r\nCOLOR=0xE0E0E0\r\nFONTCOLOR=0x202020\r\nHOTCOLOR=" +
                    Hex(kCornerColor) + "\r\n";
    s += Section("EDIT", kEditColor, kEditHotColor, ("FONTCOLOR=" + Hex(kEditFontColor) + "\r\nHOTFONTCOLOR=" +
                                                     Hex(kEditHotFontColor) + "\r\n").c_str());
    s += Section("COLHEADER", kHeaderColor, kHeaderHotColor);
    s += Section("COMBOBTN", kComboBtnColor, kComboBtnHotColor);
    for (const char* name : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"})
        s += Section(name, kArrowColor, kArrowHotColor);
    s += Section("SCROLLBAR1H", kTrack1Color, kTrack1HotColor) + Section("SCROLLBAR1V", kTrack1Color, kTrack1HotColor);
    s += Section("SCROLLBAR2H", kTrack2Color, kTrack2HotColor) + Section("SCROLLBAR2V", kTrack2Color, kTrack2HotColor);
    s += Section("SCROLLSLIDERH", kThumbColor, kThumbHotColor) + Section("SCROLLSLIDERV", kThumbColor, kThumbHotColor);
    return s;
}

int WindowLog::count(UINT msg) const { return static_cast<int>(std::count(messages.begin(), messages.end(), msg)); }

LRESULT CALLBACK LoggedWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* log = reinterpret_cast<WindowLog*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (log)
        log->messages.push_back(msg);
    if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
        const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
        if (log)
            log->scrolls.push_back(ScrollEvent{msg, LOWORD(wParam), HIWORD(wParam), GetScrollPos(wnd, bar)});
        ScrollSelf(wnd, bar, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND CreateLoggedWindow(HWND parent, DWORD style, int x, int y, int width, int height, WindowLog* log)
{
    RegisterLoggedClass();
    return CreateWindowExW(0, kLoggedClass, L"", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), log);
}

void AdapterTest::SetUp()
{
    SkinnedTest::SetUp();
    if (HasFatalFailure())
        return;
    testsupport::WriteFileBytes(Folder() + L"\\Bars\\Options.dat", BarsSkinOptions());
    LoadSkin(L"Bars");
    if (HasFatalFailure())
        return;
    Host = CreateLoggedWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 400, 320, nullptr);
    ASSERT_NE(Host, nullptr);
}

void AdapterTest::TearDown()
{
    if (Host)
        DestroyWindow(Host);
    SkinnedTest::TearDown();
}

HWND AdapterTest::CreateChild(DWORD style, int x, int y, int width, int height)
{
    return CreateLoggedWindow(Host, WS_CHILD | WS_VISIBLE | style, x, y, width, height, &Log);
}

GdiObject<HFONT> LargeFont(int height)
{
    return GdiObject<HFONT>(CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                        DEFAULT_PITCH, L"Tahoma"));
}

int InkWidth(HFONT font, const std::wstring& text)
{
    constexpr int kWidth = 400, kHeight = 60;
    const testsupport::Pixels24 shot = testsupport::DrawnPixels(kWidth, kHeight, nullptr, [&](HDC dc) {
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TSelectedObject selected(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        TextOutW(dc, 10, 5, text.c_str(), static_cast<int>(text.size()));
    });
    const auto [first, last] = InkColumns(shot, TRect{0, 0, kWidth, kHeight}, RGB(255, 255, 255));
    return first < 0 ? 0 : last - first + 1;
}

std::pair<int, int> InkColumns(const testsupport::Pixels24& shot, const TRect& area, COLORREF background)
{
    std::pair<int, int> ink{-1, -1};
    for (int x = std::max(area.Left, 0); x < std::min(area.Right, shot.width); ++x)
        for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, shot.height); ++y)
            if (shot.At(x, y) != background) {
                if (ink.first < 0)
                    ink.first = x;
                ink.second = x;
                break;
            }
    return ink;
}

} // namespace adaptertest
