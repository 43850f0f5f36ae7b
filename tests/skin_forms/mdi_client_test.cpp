// The MDI client adapter on a real system MDI client inside a skinned form: the client shows the form's
// cached background under it, leaves its background to a maximized child, and forgets the form when
// it goes.
#include "tests/skin_forms/provider_support.h"

#include "skin/core/sCommonData.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/acMDIWnd.h"
#include "skin/forms/acScrollBars.h"
#include "skin/forms/sMDIForm.h"

namespace {

class MDIClientTest : public ProviderTest {
protected:
    void SetUp() override
    {
        ProviderTest::SetUp();
        {
            TacSkinLinks links = SkinLinks();
            links.MakeMDIClientAdapter = MakeMDIClientAdapter;
            SetSkinLinks(links);
        }
        Provider = Attach();
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = 0xFF00;
        Client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | ClientStyle, 20,
                                 20, 200, 120, Wnd, nullptr, GetModuleHandleW(nullptr), &ccs);
        ASSERT_NE(Client, nullptr);
        Holder = SkinLinks().MakeMDIClientAdapter(Client, Provider);
        ASSERT_NE(Holder, nullptr);
        Adapter = dynamic_cast<TacMDIWnd*>(AdapterOfWindow(Client));
        ASSERT_NE(Adapter, nullptr);
    }
    void TearDown() override
    {
        Holder.reset();
        if (Client)
            DestroyWindow(Client);
        {
            TacSkinLinks links = SkinLinks();
            links.MakeMDIClientAdapter = nullptr;
            SetSkinLinks(links);
        }
        ProviderTest::TearDown();
    }
    // The form's cached pixel under a point of the client area.
    COLORREF FormCachePixel(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(Client, &p);
        const RECT form = WindowRect();
        return GetPixel(Provider->SkinData()->CacheBmp()->Canvas()->Handle(), p.x - form.left, p.y - form.top);
    }
    HWND MakeChild(bool maximized)
    {
        MDICREATESTRUCTW mcs{};
        mcs.szClass = L"MDICLIENT-CHILD";
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefMDIChildProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = mcs.szClass;
        RegisterClassW(&wc);
        mcs.szTitle = L"Окно";
        mcs.hOwner = GetModuleHandleW(nullptr);
        mcs.x = mcs.y = 0;
        mcs.cx = 120;
        mcs.cy = 80;
        mcs.style = maximized ? WS_MAXIMIZE : 0;
        return reinterpret_cast<HWND>(SendMessageW(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }

    // A child below the client's bottom: the client shows its vertical bar. The screen point of the
    // bar's lower arrow.
    LPARAM ScrollableWithArrow()
    {
        HWND child = MakeChild(false);
        SetWindowPos(child, nullptr, 0, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        testsupport::PumpMessagesUntilIdle(200);
        EXPECT_NE(GetWindowLongPtrW(Client, GWL_STYLE) & WS_VSCROLL, 0);
        EXPECT_TRUE(Adapter->VertBar && Adapter->VertBar->Shown);
        RECT r;
        GetWindowRect(Client, &r);
        return MAKELPARAM(r.right - GetSystemMetrics(SM_CXVSCROLL) / 2, r.bottom - 3);
    }

    DWORD ClientStyle = 0; // added to the client's style at its creation
    TsSkinProvider* Provider = nullptr;
    HWND Client = nullptr;
    std::unique_ptr<TObject> Holder;
    TacMDIWnd* Adapter = nullptr; // owned through Holder
};

TEST_F(MDIClientTest, TheClientShowsTheFormsBackgroundUnderIt)
{
    EXPECT_EQ(Adapter->Form, Form);
    EXPECT_EQ(Adapter->FormData, Provider->SkinData());
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Client, false);
    ASSERT_GT(shot.width, 20);
    EXPECT_EQ(shot.At(10, 10), FormCachePixel(10, 10));
    EXPECT_EQ(shot.At(shot.width - 5, shot.height - 5), FormCachePixel(shot.width - 5, shot.height - 5));
    EXPECT_EQ(shot.At(10, 10), providerskin::kFormColor);
}

TEST_F(MDIClientTest, AMaximizedChildKeepsItsOwnBackground)
{
    HWND child = MakeChild(true);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(Adapter->ChildMaximized());
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Client, false);
    // The child covers the client and paints itself white; the form's colour shows nowhere in between.
    EXPECT_NE(shot.At(shot.width / 2, shot.height / 2), providerskin::kFormColor);
    SendMessageW(Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_FALSE(Adapter->ChildMaximized());
}

TEST_F(MDIClientTest, FreeingTheAdapterLeavesTheFormAndItsDataAlone)
{
    TsCommonData* data = Provider->SkinData();
    Holder.reset();
    EXPECT_EQ(AdapterOfWindow(Client), nullptr);
    EXPECT_EQ(Provider->SkinData(), data);
    EXPECT_TRUE(data->Skinned());
    testsupport::CaptureWindow(Client, false);
}

// A client made with scroll bars shows them when a child lies beyond its edges.
class ScrollingMDIClientTest : public MDIClientTest {
protected:
    ScrollingMDIClientTest() { ClientStyle = WS_VSCROLL | WS_HSCROLL; }
};

// The bars turn the client's drawing off around each scroll they send; turned on again, it is drawn at
// once from the form's cache, not left to the system or to the queue.
TEST_F(ScrollingMDIClientTest, AScrollThroughTheSkinnedBarRepaintsTheWholeClientFromTheFormAtOnce)
{
    const LPARAM arrow = ScrollableWithArrow();
    {
        HDC dc = GetDC(Client);
        RECT client;
        GetClientRect(Client, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(Client, dc);
    }
    SendMessageW(Client, WM_NCLBUTTONDOWN, HTVSCROLL, arrow);
    EXPECT_GT(GetScrollPos(Client, SB_VERT), 0);
    SendMessageW(Client, WM_LBUTTONUP, 0, 0);
    HDC dc = GetDC(Client);
    EXPECT_EQ(GetPixel(dc, 10, 10), providerskin::kFormColor);
    ReleaseDC(Client, dc);
}

// Turning drawing on again after a step lets go of the mouse, but not while the bars hold it for a
// held arrow (nor for a dragged thumb, whose steps leave the mouse alone anyway).
TEST_F(ScrollingMDIClientTest, AHeldArrowKeepsTheMouseUntilReleased)
{
    const LPARAM arrow = ScrollableWithArrow();
    SetCursorPos(static_cast<short>(LOWORD(arrow)), static_cast<short>(HIWORD(arrow)));
    SendMessageW(Client, WM_NCLBUTTONDOWN, HTVSCROLL, arrow);
    const int first = GetScrollPos(Client, SB_VERT);
    SendMessageW(Client, WM_TIMER, kFirstDelayTimer, 0);
    SendMessageW(Client, WM_TIMER, kRepeatTimer, 0);
    SendMessageW(Client, WM_TIMER, kRepeatTimer, 0);
    EXPECT_EQ(GetCapture(), Client);
    EXPECT_GT(GetScrollPos(Client, SB_VERT), first);
    SendMessageW(Client, WM_LBUTTONUP, 0, 0);
    EXPECT_NE(GetCapture(), Client);
}

} // namespace
