// Skinned scroll bars on a plain window with WS_VSCROLL/WS_HSCROLL: the room they take, their pixels,
// and clicks, holds and drags turned into the window's scroll messages.
#include "tests/skin_controls/adapters_support.h"

#include "framework/StdCtrls.h"
#include "skin/core/sConst.h"
#include "skin/forms/acScrollBars.h"
#include "skin/forms/acScrollBarsPaint.h"

using namespace adaptertest;

namespace {

class ScrollBarsTest : public AdapterTest {
protected:
    // A 200 x 150 child at (20, 20) with the given bars, scroll range 0..Max, page Page, adapted.
    void MakeWindow(DWORD bars, int max = 99, int page = 10, int height = 150)
    {
        Wnd = CreateChild(bars, 20, 20, 200, height);
        SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, max, static_cast<UINT>(page), 0, 0};
        if (bars & WS_VSCROLL)
            SetScrollInfo(Wnd, SB_VERT, &si, TRUE);
        if (bars & WS_HSCROLL)
            SetScrollInfo(Wnd, SB_HORZ, &si, TRUE);
        Adapter = MakeAdapter<TacScrollWnd>(Wnd, true, L"EDIT", Manager, nullptr);
        Thick = GetSystemMetrics(SM_CXVSCROLL);
        Arrow = HScrollArrowWidth;
        GetWindowRect(Wnd, &Screen);
        Log.scrolls.clear();
    }
    // A screen point inside the vertical bar at window y.
    LPARAM BarPoint(int windowY) const { return MAKELPARAM(Screen.right - Thick / 2, Screen.top + windowY); }
    // The client-coordinates lParam of a mouse message at window y over the vertical bar.
    LPARAM ClientPoint(int windowY) const
    {
        POINT p{Screen.right - Thick / 2, Screen.top + windowY};
        ScreenToClient(Wnd, &p);
        return MAKELPARAM(p.x, p.y);
    }
    int ThumbLength() const
    {
        int size = 0, pos = 0;
        ThumbMetrics(Adapter->VertBar.get(), TRect{0, 0, Thick, 150}, size, pos);
        return size;
    }
    void PressAt(int windowY) { SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTVSCROLL, BarPoint(windowY)); }
    void MoveTo(int windowY) { SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(windowY)); }
    void Release() { SendMessageW(Wnd, WM_LBUTTONUP, 0, ClientPoint(0)); }
    std::vector<int> CodesSent() const
    {
        std::vector<int> codes;
        for (const ScrollEvent& e : Log.scrolls)
            codes.push_back(e.code);
        return codes;
    }

    HWND Wnd = nullptr;
    TacAdapterPtr<TacScrollWnd> Adapter;
    int Thick = 0;
    int Arrow = 0;
    RECT Screen{};
};

// ---- Room ----

TEST_F(ScrollBarsTest, VerticalBarTakesItsThicknessOffTheClientArea)
{
    MakeWindow(WS_VSCROLL);
    RECT client{};
    GetClientRect(Wnd, &client);
    EXPECT_EQ(client.right, 200 - Thick);
    EXPECT_EQ(client.bottom, 150);
    EXPECT_EQ(Adapter->VertBar->Shown, 1);
    EXPECT_EQ(Adapter->HorzBar->Shown, 0);
    EXPECT_EQ(Adapter->VertBar->Flags, 8);
}

TEST_F(ScrollBarsTest, WindowTooLowForTheHorizontalBarKeepsItsStyleButShowsNoBar)
{
    const int hThick = GetSystemMetrics(SM_CYHSCROLL);
    MakeWindow(WS_HSCROLL, 99, 10, hThick - 2);
    EXPECT_TRUE(GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Adapter->HorzBar->Shown, 0);
    EXPECT_EQ(Adapter->HorzBar->Flags, 8);
    RECT client{};
    GetClientRect(Wnd, &client);
    EXPECT_EQ(client.bottom, hThick - 2);
}

TEST_F(ScrollBarsTest, HitTestReportsTheBarAndPassesTheClientOn)
{
    MakeWindow(WS_VSCROLL);
    EXPECT_EQ(SendMessageW(Wnd, WM_NCHITTEST, 0, BarPoint(75)), HTVSCROLL);
    EXPECT_EQ(SendMessageW(Wnd, WM_NCHITTEST, 0, MAKELPARAM(Screen.left + 50, Screen.top + 75)), HTCLIENT);
}

// ---- Pixels ----

TEST_F(ScrollBarsTest, BarShowsArrowsThumbAndTrackInTheSkinColours)
{
    MakeWindow(WS_VSCROLL);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Wnd, true);
    const int x = 200 - Thick / 2;
    EXPECT_EQ(shot.At(x, Arrow / 2), kArrowColor);
    EXPECT_EQ(shot.At(x, 150 - Arrow / 2), kArrowColor);
    const int thumb = ThumbLength();
    EXPECT_EQ(shot.At(x, Arrow + thumb / 2), kThumbColor);
    EXPECT_EQ(shot.At(x, Arrow + thumb + 4), kTrack2Color);
    // The client area stays the window's own.
    EXPECT_EQ(shot.At(50, 75), RGB(255, 255, 255));
}

TEST_F(ScrollBarsTest, CornerBetweenTwoBarsShowsTheWindowsCacheAndBothBarsStopShortOfIt)
{
    MakeWindow(WS_VSCROLL | WS_HSCROLL);
    const int hThick = GetSystemMetrics(SM_CYHSCROLL);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Wnd, true);
    // The window's cache holds its section ("EDIT") background; no size grip inside a parent's client.
    EXPECT_EQ(shot.At(200 - Thick / 2, 150 - hThick / 2), kEditColor);
    EXPECT_EQ(shot.At(200 - Thick / 2, 150 - hThick - Arrow / 2), kArrowColor);
    EXPECT_EQ(shot.At(200 - Thick - Arrow / 2, 150 - hThick / 2), kArrowColor);
}

TEST_F(ScrollBarsTest, TrackBeforeTheThumbTakesTheFirstSection)
{
    MakeWindow(WS_VSCROLL);
    SetScrollPos(Wnd, SB_VERT, 90, FALSE);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Wnd, true);
    const int x = 200 - Thick / 2;
    const int thumb = ThumbLength();
    EXPECT_EQ(shot.At(x, Arrow + 4), kTrack1Color);
    EXPECT_EQ(shot.At(x, 150 - Arrow - thumb / 2), kThumbColor);
}

TEST_F(ScrollBarsTest, HoveredThumbIsDrawnHot)
{
    MakeWindow(WS_VSCROLL);
    const int y = Arrow + ThumbLength() / 2;
    SetCursorPos(Screen.right - Thick / 2, Screen.top + y);
    SendMessageW(Wnd, WM_NCMOUSEMOVE, HTVSCROLL, BarPoint(y));
    SendMessageW(Wnd, WM_TIMER, kHoverTimer, 0);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Wnd, true);
    EXPECT_EQ(shot.At(200 - Thick / 2, y), kThumbHotColor);
    // The cursor leaves: the hover ends and the thumb is plain again.
    SetCursorPos(Screen.left + 10, Screen.top + 10);
    SendMessageW(Wnd, WM_TIMER, kHoverTimer, 0);
    const testsupport::Pixels24 after = testsupport::CaptureWindow(Wnd, true);
    EXPECT_EQ(after.At(200 - Thick / 2, y), kThumbColor);
}

TEST_F(ScrollBarsTest, DisabledBarWithoutTheWindowsCacheIsSoftenedWithTheTrackColourAtSixty)
{
    MakeWindow(WS_VSCROLL);
    // The bar of a disabled control, and no cache of the window to blend with: the track section's
    // colour is laid over the bar instead.
    Adapter.reset();
    std::unique_ptr<TLabel, TComponentDeleter> owner(Create<TLabel>(nullptr));
    owner->SetEnabled(false);
    TsCommonData data(owner.get(), false);
    data.FOwnerControl = owner.get();
    Adapter = MakeAdapter<TacScrollWnd>(Wnd, true, L"EDIT", Manager, &data);
    Adapter->SkinData->BGChanged = false;
    Adapter->SkinData->FCacheBmp.reset();
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(Thick, 150);
    DrawScrollBar(Adapter.get(), Adapter->VertBar.get(), target.Canvas()->Handle(), TRect{0, 0, Thick, 150}, -1,
                  false, -1);
    // A soft fill of strength 60 keeps 153/256 of the picture under it.
    const auto soft = [](int picture, int colour) { return (colour * 256 + 153 * (picture - colour)) >> 8; };
    const COLORREF expected =
        RGB(soft(GetRValue(kArrowColor), GetRValue(kTrack1Color)), soft(GetGValue(kArrowColor), GetGValue(kTrack1Color)),
            soft(GetBValue(kArrowColor), GetBValue(kTrack1Color)));
    EXPECT_EQ(GetPixel(target.Canvas()->Handle(), Thick / 2, Arrow / 2), expected);
    Adapter.reset();
}

// ---- Clicks ----

TEST_F(ScrollBarsTest, ClickOnTheDownArrowSendsLineDownAtOnceThenEndScroll)
{
    MakeWindow(WS_VSCROLL);
    PressAt(150 - Arrow / 2);
    ASSERT_EQ(Log.scrolls.size(), 1u);
    EXPECT_EQ(Log.scrolls[0].msg, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(Log.scrolls[0].code, SB_LINEDOWN);
    EXPECT_EQ(GetCapture(), Wnd);
    Release();
    EXPECT_EQ(CodesSent(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_NE(GetCapture(), Wnd);
    EXPECT_EQ(GetScrollPos(Wnd, SB_VERT), 1);
}

TEST_F(ScrollBarsTest, ClickOnTheTrackPagesTowardsTheClick)
{
    MakeWindow(WS_VSCROLL);
    PressAt(150 - Arrow - 3);
    Release();
    EXPECT_EQ(CodesSent(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(Wnd, SB_VERT), 10);
}

TEST_F(ScrollBarsTest, PressedArrowIsDrawnPressed)
{
    MakeWindow(WS_VSCROLL);
    PressAt(Arrow / 2);
    HDC dc = GetWindowDC(Wnd);
    const COLORREF pressed = GetPixel(dc, 200 - Thick / 2, Arrow / 2);
    ReleaseDC(Wnd, dc);
    Release();
    EXPECT_EQ(pressed, kArrowHotColor);
}

TEST_F(ScrollBarsTest, RightClickOnTheBarDoesNothing)
{
    MakeWindow(WS_VSCROLL);
    Log.messages.clear();
    EXPECT_EQ(SendMessageW(Wnd, WM_NCRBUTTONDOWN, HTVSCROLL, BarPoint(75)), 0);
    EXPECT_EQ(SendMessageW(Wnd, WM_NCRBUTTONUP, HTVSCROLL, BarPoint(75)), 0);
    EXPECT_EQ(Log.count(WM_NCRBUTTONDOWN), 0);
    EXPECT_EQ(Log.count(WM_NCRBUTTONUP), 0);
    EXPECT_TRUE(Log.scrolls.empty());
}

TEST_F(ScrollBarsTest, HeldArrowRepeatsAfterTheFirstDelayAndPausesOffTheArrow)
{
    MakeWindow(WS_VSCROLL);
    const int y = 150 - Arrow / 2;
    SetCursorPos(Screen.right - Thick / 2, Screen.top + y);
    PressAt(y);
    ASSERT_EQ(Log.scrolls.size(), 1u);
    // The first delay only switches to the repetition.
    SendMessageW(Wnd, WM_TIMER, kFirstDelayTimer, 0);
    EXPECT_EQ(Log.scrolls.size(), 1u);
    SendMessageW(Wnd, WM_TIMER, kRepeatTimer, 0);
    SendMessageW(Wnd, WM_TIMER, kRepeatTimer, 0);
    EXPECT_EQ(CodesSent(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN}));
    // Off the arrow the repetition pauses without ending; back on it, it goes on.
    SetCursorPos(Screen.right - Thick / 2, Screen.top + 75);
    SendMessageW(Wnd, WM_TIMER, kRepeatTimer, 0);
    EXPECT_EQ(Log.scrolls.size(), 3u);
    SetCursorPos(Screen.right - Thick / 2, Screen.top + y);
    SendMessageW(Wnd, WM_TIMER, kRepeatTimer, 0);
    EXPECT_EQ(Log.scrolls.size(), 4u);
    Release();
    EXPECT_EQ(Log.scrolls.back().code, SB_ENDSCROLL);
}

// ---- Thumb drags ----

TEST_F(ScrollBarsTest, DraggingTheThumbSendsTrackOnlyOnChangeThenPositionAndEnd)
{
    MakeWindow(WS_VSCROLL);
    const int thumb = ThumbLength();
    const int grab = Arrow + thumb / 2;
    const int travel = 150 - 2 * Arrow - thumb;
    PressAt(grab);
    EXPECT_TRUE(Adapter->ThumbTracking);
    EXPECT_TRUE(Log.scrolls.empty());
    MoveTo(grab + travel / 2);
    MoveTo(grab + travel / 2); // the same place: no new message
    MoveTo(grab + travel + 30); // past the end: clamped to the last position
    Release();
    const int half = MulDiv(travel / 2, 99 - 10 + 1, travel);
    ASSERT_EQ(Log.scrolls.size(), 4u);
    EXPECT_EQ(Log.scrolls[0].code, SB_THUMBTRACK);
    EXPECT_EQ(Log.scrolls[0].pos, half);
    EXPECT_EQ(Log.scrolls[1].code, SB_THUMBTRACK);
    EXPECT_EQ(Log.scrolls[1].pos, 90);
    EXPECT_EQ(Log.scrolls[2].code, SB_THUMBPOSITION);
    EXPECT_EQ(Log.scrolls[2].pos, 90);
    EXPECT_EQ(Log.scrolls[3].code, SB_ENDSCROLL);
    EXPECT_FALSE(Adapter->ThumbTracking);
    EXPECT_EQ(GetScrollPos(Wnd, SB_VERT), 90);
}

TEST_F(ScrollBarsTest, PositionAbove65535ReachesTheWindowThroughSetScrollPosFirst)
{
    MakeWindow(WS_VSCROLL, 200000, 1000);
    const int thumb = ThumbLength();
    const int grab = Arrow + thumb / 2;
    PressAt(grab);
    MoveTo(150);
    ASSERT_FALSE(Log.scrolls.empty());
    const ScrollEvent last = Log.scrolls.back();
    EXPECT_EQ(last.code, SB_THUMBTRACK);
    EXPECT_GT(last.scrollPos, 0xFFFF);
    EXPECT_EQ(last.pos, last.scrollPos & 0xFFFF);
    Release();
}

// ---- Geometry ----

TEST(ThumbMetricsTest, PageZeroGivesAThumbAsLongAsAnArrow)
{
    TacScrollBar bar;
    bar.Kind = 1;
    bar.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 0, 0, 0};
    int size = 0, pos = 0;
    ThumbMetrics(&bar, TRect{0, 0, 17, 300}, size, pos);
    EXPECT_EQ(size, HScrollArrowWidth);
    EXPECT_EQ(pos, HScrollArrowWidth);
}

TEST(ThumbMetricsTest, PageOfOneInAThousandStillGivesTheMinimumThumb)
{
    TacScrollBar bar;
    bar.Kind = 1;
    bar.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 999, 1, 0, 0};
    int size = 0, pos = 0;
    ThumbMetrics(&bar, TRect{0, 0, 17, 300}, size, pos);
    EXPECT_EQ(size, 10);
    bar.Info.nPos = 999;
    ThumbMetrics(&bar, TRect{0, 0, 17, 300}, size, pos);
    EXPECT_EQ(pos + size, 300 - HScrollArrowWidth);
}

TEST(ThumbMetricsTest, BarShorterThanTwoArrowsHasTwoHalfArrowsAndNoThumb)
{
    TacScrollBar bar;
    bar.Kind = 1;
    bar.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 0, 0};
    const int length = HScrollArrowWidth; // shorter than two arrows
    const TRect r{0, 0, 17, length};
    EXPECT_EQ(PartAt(&bar, r, 0, 5), kPartArrowStart);
    EXPECT_EQ(PartAt(&bar, r, length / 2 - 1, 5), kPartArrowStart);
    EXPECT_EQ(PartAt(&bar, r, length - 1, 5), kPartArrowEnd);
    EXPECT_EQ(PartAt(&bar, r, 5, 40), kPartNone); // across the bar: outside
}

TEST_F(ScrollBarsTest, DetachGivesBackTheWindowAndLetsGoOfTheBars)
{
    MakeWindow(WS_VSCROLL);
    Adapter.reset();
    EXPECT_EQ(AdapterOfWindow(Wnd), nullptr);
    EXPECT_EQ(ScrollBarOfWindow(Wnd, 1), nullptr);
    // The system takes the bar over again.
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT client{};
    GetClientRect(Wnd, &client);
    EXPECT_EQ(client.right, 200 - Thick);
    EXPECT_EQ(SendMessageW(Wnd, WM_NCHITTEST, 0, BarPoint(75)), HTVSCROLL);
}

TEST_F(ScrollBarsTest, WindowDestroyedDuringADragLeavesNoTrackingBehind)
{
    MakeWindow(WS_VSCROLL);
    PressAt(Arrow + ThumbLength() / 2);
    DestroyWindow(Wnd);
    EXPECT_TRUE(Adapter->Detached);
    Adapter.reset();
    // Another adapted window works normally afterwards.
    MakeWindow(WS_VSCROLL);
    PressAt(150 - Arrow / 2);
    Release();
    EXPECT_EQ(CodesSent(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollBarsTest, MinThumbCanBeSetOnAnAdaptedWindowOnly)
{
    MakeWindow(WS_VSCROLL);
    EXPECT_TRUE(SetMinThumb(Wnd, 3, 20));
    EXPECT_EQ(Adapter->VertBar->MinThumb, 20);
    EXPECT_EQ(Adapter->HorzBar->MinThumb, 20);
    EXPECT_FALSE(SetMinThumb(Host, 1, 20));
}

} // namespace
