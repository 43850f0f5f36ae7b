// A skinned form with its own scroll bars and a border width: the skinned bars the provider puts on it, the
// room they and the margin take in the frame, and the form's procedure given back; the translucent form's
// paint while hidden; the system menu reporting to its form.
#include "tests/skin_forms/provider_support.h"

#include "framework/ExtCtrls.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/forms/acScrollBars.h"

namespace {

class ScrollingFormTest : public ProviderTest {
protected:
    // A panel reaching far below the client area of a form with AutoScroll, then a provider that saw
    // the form shown.
    TsSkinProvider* AttachScrolling(int borderWidth = 0)
    {
        Form->SetBorderWidth(borderWidth);
        Form->SetAutoScroll(true);
        Tall = Create<TPanel>(Form);
        Tall->SetBounds(10, 10, 60, 900);
        Tall->SetParent(Form);
        TsSkinProvider* p = Attach();
        Form->Hide();
        Form->Show();
        SetForegroundWindow(Wnd);
        testsupport::PumpMessagesUntilIdle(500);
        return p;
    }
    // The middle of the vertical bar's arrow at its lower end, in screen coordinates.
    LPARAM DownArrow(TsSkinProvider* p) const
    {
        TRect r;
        GetVScrollRect(p->ScrollWnd(), Wnd, r);
        const int arrow = GetScrollMetric(p->ScrollWnd()->VertBar.get(), 0, true);
        return MAKELPARAM((r.Left + r.Right) / 2, r.Bottom - arrow / 2);
    }
    TPanel* Tall = nullptr; // owned by the form
};

TEST_F(ScrollingFormTest, AShownScrollingFormGetsSkinnedBarsThatScrollIt)
{
    TsSkinProvider* p = AttachScrolling();
    ASSERT_NE(p->ScrollWnd(), nullptr);
    EXPECT_TRUE(p->ScrollWnd()->VertBar->Shown);
    EXPECT_FALSE(p->ScrollWnd()->HorzBar->Shown);
    const LPARAM at = DownArrow(p);
    EXPECT_EQ(SendMessageW(Wnd, WM_NCHITTEST, 0, at), HTVSCROLL);
    SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTVSCROLL, at);
    SendMessageW(Wnd, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Tall->Top(), 10 - Form->VertScrollBar()->Increment);
    EXPECT_EQ(p->ScrollWnd()->VertBar->Info.nPos, Form->VertScrollBar()->Increment);
}

TEST_F(ScrollingFormTest, AFormWithoutAutoScrollGetsNoBars)
{
    TsSkinProvider* p = Attach();
    Form->Hide();
    Form->Show();
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(p->ScrollWnd(), nullptr);
}

class ScrollingFormMargins : public ScrollingFormTest, public ::testing::WithParamInterface<int> {};

TEST_P(ScrollingFormMargins, ChildrenFindTheClientAreaInTheFrameCacheBesideTheBars)
{
    TsSkinProvider* p = AttachScrolling(GetParam());
    ASSERT_NE(p->ScrollWnd(), nullptr);
    ASSERT_TRUE(p->ScrollWnd()->VertBar->Shown);
    CacheReply = TCacheInfo{};
    SendSkinCmd(Wnd, SkinCmdGetCache, 0);
    POINT origin{0, 0};
    ClientToScreen(Wnd, &origin);
    const RECT window = WindowRect();
    EXPECT_TRUE(CacheReply.Ready);
    EXPECT_EQ(CacheReply.X, origin.x - window.left);
    EXPECT_EQ(CacheReply.Y, origin.y - window.top);
    EXPECT_EQ(p->ClientOffsetX(), p->SysBorderWidth() + GetParam());
}

TEST_P(ScrollingFormMargins, TheMarginIsPaintedFromTheFrameCache)
{
    TsSkinProvider* p = AttachScrolling(GetParam());
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpMessagesUntilIdle(200);
    const testsupport::Pixels24 screen = OnScreen();
    HDC cache = p->SkinData()->CacheBmp()->Canvas()->Handle();
    // Points of the left and bottom margins (the frame itself when there is none).
    const int x = p->SysBorderWidth() - 1 + (GetParam() + 1) / 2;
    const int y = p->FormHeight() - p->SysBorderHeight() - (GetParam() + 1) / 2;
    const int mid = p->FormHeight() / 2;
    EXPECT_EQ(screen.At(x, mid), GetPixel(cache, x, mid));
    EXPECT_EQ(screen.At(p->FormWidth() / 3, y), GetPixel(cache, p->FormWidth() / 3, y));
    if (HasFailure())
        Keep(screen, L"screen");
}

INSTANTIATE_TEST_SUITE_P(BorderWidths, ScrollingFormMargins, ::testing::Values(0, 5));

TEST_F(ScrollingFormTest, TheBarsNeverPaintTheFrameCacheThemselves)
{
    TsSkinProvider* p = AttachScrolling();
    HDC cache = p->SkinData()->CacheBmp()->Canvas()->Handle();
    const COLORREF caption = GetPixel(cache, p->FormWidth() / 2, p->SysBorderHeight() + 2);
    SendSkinCmd(Wnd, SkinCmdPaintToDC, 0);
    EXPECT_EQ(GetPixel(cache, p->FormWidth() / 2, p->SysBorderHeight() + 2), caption);
}

TEST_F(ScrollingFormTest, TheFormGetsItsProcedureBackWhenTheProviderGoes)
{
    const TWndMethod own = Form->WindowProc;
    TsSkinProvider* p = AttachScrolling();
    ASSERT_NE(p->ScrollWnd(), nullptr);
    Free(p);
    EXPECT_TRUE(Form->WindowProc == own);
    EXPECT_EQ(AdapterOfWindow(Wnd), nullptr);
    SendMessageW(Wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Tall->Top(), 10 - Form->VertScrollBar()->Increment);
}

TEST_F(ScrollingFormTest, RemovingTheSkinTakesTheBarsOff)
{
    TsSkinProvider* p = AttachScrolling();
    ASSERT_NE(p->ScrollWnd(), nullptr);
    SendSkinCmd(Wnd, SkinCmdSkinRemoved, reinterpret_cast<LPARAM>(Manager));
    EXPECT_EQ(p->ScrollWnd(), nullptr);
    EXPECT_EQ(AdapterOfWindow(Wnd), nullptr);
}

class TranslucentPaint : public ProviderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TranslucentPaint, AHiddenFormPaintsOnlyWhenTranslucent)
{
    Attach();
    Form->Hide();
    Form->SetAlphaBlend(GetParam());
    Form->Received.clear();
    SendMessageW(Wnd, WM_PAINT, 0, 0);
    EXPECT_EQ(Form->HasReceived(WM_PAINT), GetParam());
}

INSTANTIATE_TEST_SUITE_P(AlphaBlend, TranslucentPaint, ::testing::Bool());

TEST_F(ScrollingFormTest, TheSystemMenuReportsToItsForm)
{
    TsSkinProvider* p = Attach();
    Form->Received.clear();
    HWND reported = nullptr;
    EXPECT_TRUE(WhileMenuOpen([&] { p->ShowSystemMenu(200, 200); },
                              [&] { reported = p->SystemMenu()->WindowHandle(); }));
    EXPECT_EQ(reported, Wnd);
    EXPECT_TRUE(Form->HasReceived(WM_INITMENUPOPUP));
}

} // namespace
