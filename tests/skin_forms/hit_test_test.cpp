// What the skinned frame answers to WM_NCHITTEST: its own codes for the caption buttons, the icon and the
// title buttons, the system's answers for caption, borders and corners.
#include "tests/skin_forms/provider_support.h"

using namespace providerskin;

class HitTestTest : public ProviderTest {
protected:
    // What the system itself answers at a point of the window.
    int SystemAnswer(int x, int y) const
    {
        return static_cast<int>(DefWindowProcW(Wnd, WM_NCHITTEST, 0, ScreenPoint(x, y)));
    }
    int Hit(const TRect& r) const { return static_cast<int>(SendMessageW(Wnd, WM_NCHITTEST, 0, ScreenPoint(r))); }
};

TEST_F(HitTestTest, CaptionButtonsAnswerTheirCodes)
{
    TsSkinProvider* p = Attach();
    EXPECT_EQ(Hit(p->CloseButton().Rect), HTCLOSE);
    EXPECT_EQ(Hit(p->MaxButton().Rect), HTMAXBUTTON);
    EXPECT_EQ(Hit(p->MinButton().Rect), HTMINBUTTON);
}

TEST_F(HitTestTest, CaptionAndIconAnswerCaptionAndSystemMenu)
{
    TsSkinProvider* p = Attach();
    const int y = (p->SysBorderHeight() + p->CaptionHeight()) / 2;
    EXPECT_EQ(HitTest(160, y), HTCAPTION);
    ASSERT_GT(p->IconWidth(), 0);
    EXPECT_EQ(HitTest(p->SysBorderWidth() + 1, y), HTSYSMENU);
}

TEST_F(HitTestTest, BordersAndCornersAnswerAsTheSystemDoes)
{
    Attach();
    const RECT wr = WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const POINT points[] = {{1, h / 2}, {w - 2, h / 2}, {w / 2, h - 2}, {w - 1, h - 1}, {0, h - 1}, {1, 1}, {w - 2, 1}};
    for (const POINT& pt : points) {
        const int expected = SystemAnswer(pt.x, pt.y);
        EXPECT_NE(expected, HTCLIENT) << pt.x << "," << pt.y;
        EXPECT_EQ(HitTest(pt.x, pt.y), expected) << pt.x << "," << pt.y;
    }
    EXPECT_EQ(HitTest(w / 2, h / 2), HTCLIENT);
}

TEST_F(HitTestTest, MaximizedFormAnswersTransparentOutsideItsInnerRectangle)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    ASSERT_TRUE(IsZoomed(Wnd));
    const RECT wr = WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    EXPECT_EQ(HitTest(1, h / 2), HTTRANSPARENT);
    EXPECT_EQ(HitTest(w / 2, h - 2), HTTRANSPARENT);
    EXPECT_EQ(Hit(p->CloseButton().Rect), HTCLOSE);
    EXPECT_EQ(Hit(p->MaxButton().Rect), HTMAXBUTTON); // restore is open
}

TEST_F(HitTestTest, HelpButtonAnswersHelpAlsoWithoutAMaximizeButton)
{
    Form->SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize, biHelp});
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    ASSERT_FALSE(p->VisibleMax());
    ASSERT_TRUE(p->VisibleMin());
    // close, minimize, help from the right
    EXPECT_LT(p->HelpButton().Rect.Right, p->MinButton().Rect.Left);
    EXPECT_EQ(Hit(p->MinButton().Rect), HTMINBUTTON);
    EXPECT_EQ(Hit(p->HelpButton().Rect), HTHELP);
}

TEST_F(HitTestTest, TitleButtonsAnswerTheirIndexAndDisabledOnesTheCaption)
{
    TsSkinProvider* p = Attach();
    TsTitleButton* first = p->TitleButtons()->Add();
    TsTitleButton* second = p->TitleButtons()->Add();
    second->Enabled = false;
    p->RepaintFrame();
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_LT(first->Rect.Right, p->MinButton().Rect.Left);
    EXPECT_LT(second->Rect.Right, first->Rect.Left);
    EXPECT_EQ(Hit(first->Rect), kTitleButtonHit);
    EXPECT_EQ(Hit(second->Rect), HTCAPTION);
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(first->Rect.Left + 2, first->Rect.Top + 2), ButtonColor(bkTitle, 0));
}

TEST_F(HitTestTest, FormWithoutSystemMenuIconShowsNoButtons)
{
    Form->SetBorderIcons(TBorderIcons{});
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    EXPECT_EQ(p->CaptionButtonCount(), 0);
    EXPECT_EQ(p->ButtonsWidth(), 0);
    EXPECT_EQ(HitTest(300, (p->SysBorderHeight() + p->CaptionHeight()) / 2), HTCAPTION);
}

TEST_F(HitTestTest, GripAnswersInTheCornerBetweenTwoScrollBars)
{
    TsSkinProvider* p = Attach();
    ASSERT_EQ(p->GripMode, gmNone);
    ShowScrollBar(Wnd, SB_BOTH, TRUE);
    testsupport::PumpMessagesUntilIdle(300);
    const RECT wr = WindowRect();
    const int x = wr.right - wr.left - p->SysBorderWidth() - 2, y = wr.bottom - wr.top - p->SysBorderHeight() - 2;
    EXPECT_EQ(HitTest(x, y), HTBOTTOMRIGHT);
    ShowScrollBar(Wnd, SB_HORZ, FALSE);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_NE(HitTest(x, y), HTBOTTOMRIGHT);
}
