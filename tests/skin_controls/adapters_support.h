// The application, a skin of flat colours for every scroll-bar part, and plain test windows that log
// the scroll messages and window messages they receive, shared by the adapter tests.
#pragma once

#include "framework/DCScopes.h"
#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acSBUtils.h"

#include "tests/skin_controls/skin_controls_support.h"
#include "tests/support/test_support.h"

#include <string>
#include <utility>
#include <vector>

namespace adaptertest {

// Colours of the skin (COLORREF and TColor agree: red in the low byte).
constexpr COLORREF kArrowColor = RGB(0xC0, 0x00, 0x00);
constexpr COLORREF kArrowHotColor = RGB(0xFF, 0x40, 0x40);
constexpr COLORREF kTrack1Color = RGB(0x00, 0x00, 0xC0);
constexpr COLORREF kTrack1HotColor = RGB(0x00, 0x00, 0x80);
constexpr COLORREF kTrack2Color = RGB(0x00, 0xC0, 0xC0);
constexpr COLORREF kTrack2HotColor = RGB(0x00, 0x80, 0x80);
constexpr COLORREF kThumbColor = RGB(0xC0, 0xC0, 0x00);
constexpr COLORREF kThumbHotColor = RGB(0x80, 0x80, 0x00);
constexpr COLORREF kCornerColor = RGB(0x00, 0xFF, 0x00);
constexpr COLORREF kEditColor = RGB(0xF0, 0xE0, 0xD0);
constexpr COLORREF kEditFontColor = RGB(0x10, 0x20, 0x30);
constexpr COLORREF kEditHotColor = RGB(0xE8, 0xF8, 0xE0);
constexpr COLORREF kEditHotFontColor = RGB(0x30, 0x10, 0x20);
constexpr COLORREF kHeaderColor = RGB(0x60, 0x30, 0x90);
constexpr COLORREF kHeaderHotColor = RGB(0x90, 0x60, 0x30);
constexpr COLORREF kComboBtnColor = RGB(0x20, 0x90, 0x40);
constexpr COLORREF kComboBtnHotColor = RGB(0x40, 0xB0, 0x60);

// The Options.dat text of that skin.
std::string BarsSkinOptions();

// One scroll message as the window received it.
struct ScrollEvent {
    UINT msg = 0;
    int code = 0;
    int pos = 0;
    int scrollPos = 0; // GetScrollPos of the bar when the message arrived
};

// What a test window received; the window's procedure keeps its scroll position as a list box would.
struct WindowLog {
    std::vector<ScrollEvent> scrolls;
    std::vector<UINT> messages;
    int count(UINT msg) const;
};

// A plain window class ("VelmoraAdapterTestWnd") whose procedure logs into the WindowLog given as the
// creation parameter and scrolls itself on WM_VSCROLL/WM_HSCROLL.
HWND CreateLoggedWindow(HWND parent, DWORD style, int x, int y, int width, int height, WindowLog* log);
LRESULT CALLBACK LoggedWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A bold font of the given character height in pixels, far from any control's or canvas's default.
GdiObject<HFONT> LargeFont(int height);
// The width of the ink of Text drawn in Font.
int InkWidth(HFONT font, const std::wstring& text);
// The first and last columns of Area where the picture differs from Background; {-1, -1} when none do.
std::pair<int, int> InkColumns(const testsupport::Pixels24& shot, const TRect& area, COLORREF background);

// Each test: a fresh default manager holding the bars skin, a visible top-level host window, and the
// application's exceptions collected.
class AdapterTest : public skincontrols::SkinnedTest {
    // Before the set-up and after the tear-down: the test sees the skin core without the forms layer.
    skincontrols::WithoutFormsLayer unlinked_;

protected:
    void SetUp() override;
    void TearDown() override;

    // A logged child of the host.
    HWND CreateChild(DWORD style, int x, int y, int width, int height);
    // The pixel of a window's whole-window capture.
    static COLORREF WindowPixel(const testsupport::Pixels24& shot, int x, int y) { return shot.At(x, y); }

    HWND Host = nullptr;              // owned by the test
    WindowLog Log;
};

} // namespace adaptertest
