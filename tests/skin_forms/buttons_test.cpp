// Caption buttons under the mouse: hot and pressed looks, what a release on each does, double clicks,
// and the user's title buttons with their mouse events.
#include "tests/skin_forms/provider_support.h"

using namespace providerskin;

class ButtonsTest : public ProviderTest {
protected:
    COLORREF PixelAt(const TRect& r)
    {
        const testsupport::Pixels24 pix = Printed();
        return pix.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void Down(int code, const TRect& r) { SendMessageW(Wnd, WM_NCLBUTTONDOWN, code, ScreenPoint(r)); }
    void Up(int code, const TRect& r)
    {
        SendMessageW(Wnd, WM_NCLBUTTONUP, code, ScreenPoint(r));
        testsupport::PumpMessagesUntilIdle(300);
    }
};

TEST_F(ButtonsTest, ButtonUnderTheMouseTurnsHotAndBackWhenTheMouseLeaves)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_NCHITTEST, 0, ScreenPoint(p->CloseButton().Rect));
    EXPECT_EQ(p->HotButton(), HTCLOSE);
    EXPECT_EQ(p->CloseButton().State, 1);
    EXPECT_EQ(PixelAt(p->CloseButton().Rect), ButtonColor(bkClose, 1));
    // The caption takes the hot state away again.
    HitTest(160, (p->SysBorderHeight() + p->CaptionHeight()) / 2);
    EXPECT_EQ(p->HotButton(), 0);
    EXPECT_EQ(p->CloseButton().State, 0);
    EXPECT_EQ(PixelAt(p->CloseButton().Rect), ButtonColor(bkClose, 0));
}

TEST_F(ButtonsTest, MouseLeavingTheWindowClearsTheHotButton)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_NCHITTEST, 0, ScreenPoint(p->MinButton().Rect));
    ASSERT_EQ(p->HotButton(), HTMINBUTTON);
    SendMessageW(Wnd, WM_NCMOUSELEAVE, 0, 0);
    EXPECT_EQ(p->HotButton(), 0);
    EXPECT_EQ(p->MinButton().State, 0);
}

TEST_F(ButtonsTest, PressedCloseButtonShowsPressedAndItsReleaseClosesTheForm)
{
    TsSkinProvider* p = Attach();
    Down(HTCLOSE, p->CloseButton().Rect);
    EXPECT_EQ(p->CloseButton().State, 2);
    EXPECT_EQ(PixelAt(p->CloseButton().Rect), ButtonColor(bkClose, 2));
    Up(HTCLOSE, p->CloseButton().Rect);
    EXPECT_FALSE(IsWindowVisible(Wnd));
    EXPECT_EQ(p->CloseButton().State, 0);
}

TEST_F(ButtonsTest, MaximizeButtonMaximizesAndThenRestores)
{
    TsSkinProvider* p = Attach();
    Down(HTMAXBUTTON, p->MaxButton().Rect);
    EXPECT_EQ(p->MaxButton().State, 2);
    Up(HTMAXBUTTON, p->MaxButton().Rect);
    EXPECT_TRUE(IsZoomed(Wnd));
    EXPECT_EQ(p->HotButton(), 0);
    Down(HTMAXBUTTON, p->MaxButton().Rect);
    Up(HTMAXBUTTON, p->MaxButton().Rect);
    EXPECT_FALSE(IsZoomed(Wnd));
    EXPECT_EQ(Form->WindowState(), wsNormal);
}

TEST_F(ButtonsTest, MinimizeButtonMinimizesTheForm)
{
    TsSkinProvider* p = Attach();
    Down(HTMINBUTTON, p->MinButton().Rect);
    Up(HTMINBUTTON, p->MinButton().Rect);
    EXPECT_TRUE(IsIconic(Wnd));
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(IsIconic(Wnd));
}

TEST_F(ButtonsTest, ReleaseAwayFromThePressedMinimizeButtonDoesNotMinimize)
{
    TsSkinProvider* p = Attach();
    Down(HTMINBUTTON, p->MinButton().Rect);
    SendMessageW(Wnd, WM_NCLBUTTONUP, HTMINBUTTON, ScreenPoint(160, 5));
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_FALSE(IsIconic(Wnd));
}

TEST_F(ButtonsTest, ReleaseOverAButtonThatWasNotPressedDoesNothing)
{
    TsSkinProvider* p = Attach();
    Up(HTCLOSE, p->CloseButton().Rect);
    EXPECT_TRUE(IsWindowVisible(Wnd));
    // A hot maximize button turns normal again.
    SendMessageW(Wnd, WM_NCHITTEST, 0, ScreenPoint(p->MaxButton().Rect));
    Up(HTMAXBUTTON, p->MaxButton().Rect);
    EXPECT_FALSE(IsZoomed(Wnd));
    EXPECT_EQ(PixelAt(p->MaxButton().Rect), ButtonColor(bkMax, 0));
    // A press released away from its button leaves the press pending; a release over another
    // button later must not run that button's command.
    Down(HTMINBUTTON, p->MinButton().Rect);
    SendMessageW(Wnd, WM_NCLBUTTONUP, HTMINBUTTON, ScreenPoint(160, 5));
    Up(HTCLOSE, p->CloseButton().Rect);
    EXPECT_TRUE(IsWindowVisible(Wnd));
    EXPECT_FALSE(IsIconic(Wnd));
}

TEST_F(ButtonsTest, ClientButtonUpWithKeyFlagsRunsNoCaptionCommand)
{
    TsSkinProvider* p = Attach();
    Down(HTMINBUTTON, p->MinButton().Rect);
    Form->Received.clear();
    // MK_CONTROL has the value of the minimize hit code.
    const TRect& r = p->MinButton().Rect;
    SendMessageW(Wnd, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_FALSE(IsIconic(Wnd));
    EXPECT_TRUE(Form->HasReceived(WM_LBUTTONUP));
}

TEST_F(ButtonsTest, DoubleClickOnTheCaptionMaximizesAndOnTheIconCloses)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(160, 5));
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(IsZoomed(Wnd));
    SendMessageW(Wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(160, 5));
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(IsZoomed(Wnd));
    SendMessageW(Wnd, WM_NCLBUTTONDBLCLK, HTSYSMENU, ScreenPoint(p->IconRect()));
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(IsWindowVisible(Wnd));
}

TEST_F(ButtonsTest, TitleButtonReportsMouseDownAndUpWithTheScreenPoint)
{
    TsSkinProvider* p = Attach();
    TsTitleButton* button = p->TitleButtons()->Add();
    std::vector<std::pair<std::string, TPoint>> events;
    TObject* sender = nullptr;
    button->OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState, int x, int y) {
        sender = s;
        EXPECT_EQ(b, mbLeft);
        events.emplace_back("down", TPoint{x, y});
    };
    button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { events.emplace_back("up", TPoint{x, y}); };
    p->RepaintFrame();
    testsupport::PumpMessagesUntilIdle(200);
    const LPARAM at = ScreenPoint(button->Rect);
    SendMessageW(Wnd, WM_NCLBUTTONDOWN, kTitleButtonHit, at);
    EXPECT_EQ(button->State, 2);
    EXPECT_EQ(PixelAt(button->Rect), ButtonColor(bkTitle, 2));
    SendMessageW(Wnd, WM_NCLBUTTONUP, kTitleButtonHit, at);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(sender, button);
    EXPECT_EQ(events[0].first, "down");
    EXPECT_EQ(events[1].first, "up");
    EXPECT_EQ(events[1].second.X, static_cast<short>(LOWORD(at)));
    EXPECT_EQ(events[1].second.Y, static_cast<short>(HIWORD(at)));
    EXPECT_EQ(button->State, 0);
}

TEST_F(ButtonsTest, SystemCommandsMaximizeRestoreAndMinimizeTheSkinnedForm)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(IsZoomed(Wnd));
    // The frame was painted for the new size.
    EXPECT_EQ(p->SkinData()->CacheBmp()->Width(), p->FormWidth());
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(IsZoomed(Wnd));
    EXPECT_EQ(p->SkinData()->CacheBmp()->Width(), 320);
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(IsIconic(Wnd));
}
