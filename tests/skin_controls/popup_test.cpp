// A real popup menu: shown by the system, owner-drawn by the painter, shaped after the skin's border,
// closed with Escape; its window's end clears the background cache.
#include "tests/skin_controls/menus_support.h"

using namespace menutest;

namespace {

// What the timer saw of the open popup.
struct PopupSeen {
    HWND wnd = nullptr;
    RECT rect{0, 0, 0, 0};
    bool regionSet = false;
    bool cornerCut = false;
    bool insideKept = false;
    std::unique_ptr<TBitmap> shot;
    bool hadBackground = false;
    int ticks = 0;
    bool forced = false; // Escape did not close it: EndMenu did
};

PopupSeen* gSeen = nullptr;

void Capture(HWND wnd)
{
    GetWindowRect(wnd, &gSeen->rect);
    const int w = gSeen->rect.right - gSeen->rect.left;
    const int h = gSeen->rect.bottom - gSeen->rect.top;
    gSeen->shot = Bitmap24(w, h, RGB(1, 1, 1));
    HDC dc = GetWindowDC(wnd);
    BitBlt(gSeen->shot->Canvas()->Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    gSeen->regionSet = GetWindowRgn(wnd, rgn) != ERROR;
    gSeen->cornerCut = !PtInRegion(rgn, 0, 0);
    gSeen->insideKept = PtInRegion(rgn, w / 2, h / 2) != 0;
    DeleteObject(rgn);
    gSeen->hadBackground = MenuBackground() != nullptr;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ++gSeen->ticks;
    HWND wnd = FindWindowW(L"#32768", nullptr);
    if (wnd && IsWindowVisible(wnd) && !gSeen->wnd) {
        gSeen->wnd = wnd;
        Capture(wnd);
        PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(wnd, WM_KEYUP, VK_ESCAPE, 0);
        return;
    }
    // Escape not taken (or no window seen): the test must still end.
    if (gSeen->ticks > 20 || gSeen->wnd) {
        KillTimer(nullptr, id);
        gSeen->forced = true;
        EndMenu();
    }
}

class RealPopup : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        AddItem(popup->Items(), L"Второй");
        LoadSkin();
        gSeen = &seen;
    }
    void TearDown() override
    {
        gSeen = nullptr;
        MenuTest::TearDown();
    }
    void ShowPopup()
    {
        UINT_PTR timer = SetTimer(nullptr, 0, 300, OnTimer);
        popup->Popup(200, 200);
        KillTimer(nullptr, timer);
        testsupport::PumpMessagesUntilIdle(500);
    }
    PopupSeen seen;
};

} // namespace

TEST_F(RealPopup, ThePopupWindowIsPaintedFromTheSkinAndLosesItsCorners)
{
    ShowPopup();
    ASSERT_NE(seen.wnd, nullptr) << "no popup window seen";
    ASSERT_TRUE(seen.shot);
    EXPECT_TRUE(seen.regionSet);
    EXPECT_TRUE(seen.cornerCut);
    EXPECT_TRUE(seen.insideKept);
    EXPECT_TRUE(seen.hadBackground);
    TBitmap* shot = seen.shot.get();
    const TRect all{0, 0, shot->Width(), shot->Height()};
    EXPECT_TRUE(AnyPixel(shot, all, kItem));
    EXPECT_TRUE(AnyPixel(shot, all, kItemText));
    // The border around the items is repainted from the menu background.
    EXPECT_EQ(Pixel(shot, shot->Width() / 2, 1), kMenuBg);
    EXPECT_EQ(Pixel(shot, 0, shot->Height() / 2), kMenuBg);
    EXPECT_EQ(Pixel(shot, shot->Width() - 1, shot->Height() / 2), kMenuBg);
}

TEST_F(RealPopup, EscapeClosesItAndTheWindowsEndClearsTheCache)
{
    ShowPopup();
    ASSERT_NE(seen.wnd, nullptr);
    EXPECT_FALSE(seen.forced);
    EXPECT_FALSE(IsWindowVisible(seen.wnd) && IsWindow(seen.wnd));
    EXPECT_EQ(MenuBackground(), nullptr);
}

TEST_F(RealPopup, ARegionWithoutCornerCutOutsStillLosesThePixelAtTheOrigin)
{
    HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 10, 10, 50, 40, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    auto background = Bitmap24(50, 40, kMenuBg);
    ASSERT_TRUE(Menus()->CornerRects().empty());
    Menus()->SetPopupRegion(wnd, background.get());
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(wnd, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 1, 0));
    EXPECT_TRUE(PtInRegion(rgn, 49, 39));
    EXPECT_FALSE(PtInRegion(rgn, 50, 39));
    DeleteObject(rgn);
    // The window now leaves its background and frame to the item painter.
    EXPECT_EQ(SendMessageW(wnd, WM_ERASEBKGND, 0, 0), 1);
    DestroyWindow(wnd);
}

TEST_F(RealPopup, ThePopupWindowsEndForgetsTheCachedBackground)
{
    HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 10, 10, 50, 40, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    Menus()->PrepareMenuBackground(openItem, 50, wnd, 40);
    ASSERT_NE(MenuBackground(), nullptr);
    DestroyWindow(wnd);
    EXPECT_EQ(MenuBackground(), nullptr);
}
