// A form's own scroll bars and margin, its translucency, and popup menus shown for a form.
#include "framework/Menus.h"

#include "tests/framework/forms_support.h"

namespace {

class ScrollingForms : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        form = Create<TForm>(Application);
        form->SetBounds(100, 100, 300, 200);
        shape = Create<TDemoShape>(form);
        shape->SetParent(form);
        form->Show();
    }
    void TearDown() override
    {
        Free(form);
        ApplicationTest::TearDown();
    }
    RECT Client() const
    {
        RECT r{};
        GetClientRect(form->Handle(), &r);
        return r;
    }
    bool HasStyle(LONG_PTR style) const { return (GetWindowLongPtrW(form->Handle(), GWL_STYLE) & style) != 0; }
    void Scroll(UINT msg, int code, int pos = 0)
    {
        SendMessageW(form->Handle(), msg, MAKEWPARAM(code, pos), 0);
    }
    TForm* form = nullptr;
    TDemoShape* shape = nullptr; // owned by the form
};

TEST_F(ScrollingForms, ContentPastTheClientAreaShowsABarOnlyWithAutoScroll)
{
    shape->SetBounds(10, 10, 50, 400);
    EXPECT_FALSE(HasStyle(WS_VSCROLL));
    form->SetAutoScroll(true);
    EXPECT_TRUE(HasStyle(WS_VSCROLL));
    EXPECT_FALSE(HasStyle(WS_HSCROLL));
    EXPECT_TRUE(form->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(form->VertScrollBar()->Range(), 410);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(form->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 409);
    EXPECT_EQ(static_cast<int>(info.nPage), Client().bottom);
}

TEST_F(ScrollingForms, ScrollingMovesTheControlsWithinTheRange)
{
    form->SetAutoScroll(true);
    shape->SetBounds(10, 10, 50, 400);
    const int page = Client().bottom;
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(shape->Top(), 10 - form->VertScrollBar()->Increment);
    Scroll(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(form->VertScrollBar()->Position(), 410 - page);
    EXPECT_EQ(shape->Top(), 10 - (410 - page));
    EXPECT_EQ(GetScrollPos(form->Handle(), SB_VERT), 410 - page);
    // The range stays the content's own while it is scrolled.
    EXPECT_EQ(form->VertScrollBar()->Range(), 410);
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 5);
    EXPECT_EQ(shape->Top(), 5);
    Scroll(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(shape->Top(), 10);
}

TEST_F(ScrollingForms, ContentThatFitsAgainHidesTheBarAndReturnsToItsPlace)
{
    form->SetAutoScroll(true);
    shape->SetBounds(10, 10, 50, 400);
    Scroll(WM_VSCROLL, SB_BOTTOM);
    shape->SetBounds(shape->Left(), shape->Top(), 50, 20);
    EXPECT_FALSE(HasStyle(WS_VSCROLL));
    EXPECT_EQ(form->VertScrollBar()->Position(), 0);
    EXPECT_EQ(shape->Top(), 10);
}

TEST_F(ScrollingForms, AControlCountsFromWhenItJoinsUntilItLeaves)
{
    form->SetAutoScroll(true);
    auto* placed = Create<TDemoShape>(form);
    placed->SetBounds(10, 10, 50, 400);
    EXPECT_FALSE(HasStyle(WS_VSCROLL));
    placed->SetParent(form);
    EXPECT_TRUE(HasStyle(WS_VSCROLL));
    placed->SetParent(nullptr);
    EXPECT_FALSE(HasStyle(WS_VSCROLL));
    Free(placed);
}

TEST_F(ScrollingForms, ABarThatTakesRoomCanCallForTheOtherOne)
{
    form->SetAutoScroll(true);
    // Just short enough to fit until the horizontal bar takes its height.
    const RECT client = Client();
    shape->SetBounds(0, 0, client.right + 100, client.bottom - 2);
    EXPECT_TRUE(HasStyle(WS_HSCROLL));
    EXPECT_TRUE(HasStyle(WS_VSCROLL));
    form->HorzScrollBar()->SetVisible(false);
    EXPECT_FALSE(HasStyle(WS_HSCROLL));
    EXPECT_FALSE(HasStyle(WS_VSCROLL));
}

TEST_F(ScrollingForms, BorderWidthIsAMarginInsideTheFrame)
{
    const RECT before = Client();
    form->SetBorderWidth(6);
    const RECT after = Client();
    EXPECT_EQ(after.right, before.right - 12);
    EXPECT_EQ(after.bottom, before.bottom - 12);
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    POINT oldOrigin{0, 0};
    form->SetBorderWidth(0);
    ClientToScreen(form->Handle(), &oldOrigin);
    EXPECT_EQ(origin.x - oldOrigin.x, 6);
    EXPECT_EQ(origin.y - oldOrigin.y, 6);
}

TEST_F(ScrollingForms, AlphaBlendMakesALayeredWindowOfThatOpacity)
{
    form->SetAlphaBlendValue(128);
    form->SetAlphaBlend(true);
    ASSERT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_TRUE(flags & LWA_ALPHA);
    // A new window of the form is translucent as well.
    form->SetBorderStyle(bsSingle);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    form->SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(ScrollingForms, APopupShownForTheFormSendsItsCommandsThroughTheForm)
{
    auto* popup = Create<TPopupMenu>(form);
    bool clicked = false;
    TMenuItem* item = AddMenuItem(popup, L"Item", L"Пункт", [&](TObject*) { clicked = true; });
    EXPECT_NE(popup->WindowHandle(), form->Handle());
    popup->SetWindowHandle(form->Handle());
    EXPECT_EQ(popup->WindowHandle(), form->Handle());
    SendMessageW(form->Handle(), WM_COMMAND, item->Command(), 0);
    EXPECT_TRUE(clicked);
}

} // namespace
