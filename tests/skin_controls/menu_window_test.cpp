// The adapter of popup-menu windows: its answers to the menu painter, its painting while a skinned popup
// is open, and its going with its window.
#include "tests/skin_controls/menus_support.h"

#include "skin/core/sMessages.h"
#include "skin/forms/acMenuWnd.h"

using namespace menutest;

namespace {

int gAdaptersGone = 0;

class TCountedMnuWnd : public TacMnuWnd {
public:
    using TacMnuWnd::TacMnuWnd;
    ~TCountedMnuWnd() override { ++gAdaptersGone; }
};

class MenuWindow : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        LoadSkin();
        wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 20, 20, 80, 60, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(wnd, nullptr);
        gAdaptersGone = 0;
    }
    void TearDown() override
    {
        if (IsWindow(wnd))
            DestroyWindow(wnd);
        SetSkinnedPopupOpen(false);
        MenuTest::TearDown();
    }
    TCountedMnuWnd* Adapt()
    {
        auto* adapter = new TCountedMnuWnd(wnd, false, L"MAINMENU", sm.get(), nullptr);
        adapter->Create();
        return adapter;
    }
    static TMessage Command(WORD cmd) { return TMessage{SM_SKINCMD, SkinCmdWParam(cmd), 0, 0}; }
    HWND wnd = nullptr;
};

} // namespace

TEST_F(MenuWindow, TheAdapterGoesWithItsWindowWithoutAnOwner)
{
    TCountedMnuWnd* adapter = Adapt();
    EXPECT_EQ(AdapterOfWindow(wnd), adapter);
    DestroyWindow(wnd);
    EXPECT_EQ(gAdaptersGone, 1);
}

TEST_F(MenuWindow, TheWindowsEndClosesTheSkinnedPopupAndItsCache)
{
    Adapt();
    SetSkinnedPopupOpen(true);
    Menus()->PrepareMenuBackground(openItem, 80, nullptr, 60);
    ASSERT_NE(MenuBackground(), nullptr);
    DestroyWindow(wnd);
    EXPECT_FALSE(SkinnedPopupOpen());
    EXPECT_EQ(MenuBackground(), nullptr);
}

TEST_F(MenuWindow, TheWindowSaysItIsSkinnedAndReportsTheRegionFlagInLParamOnly)
{
    TCountedMnuWnd* adapter = Adapt();
    EXPECT_EQ(SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdIsSkinned), 0), 1);
    TMessage updating = Command(SkinCmdSetUpdating);
    adapter->WndProc(updating);
    EXPECT_EQ(updating.LParam, 0);
    // Not visible yet: the region does not count as applied.
    TMessage visible = Command(SkinCmdMenuVisible);
    adapter->WndProc(visible);
    EXPECT_EQ(adapter->MenuFlag, 0);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    adapter->WndProc(visible);
    EXPECT_EQ(adapter->MenuFlag, 1);
    updating = Command(SkinCmdSetUpdating);
    adapter->WndProc(updating);
    EXPECT_EQ(updating.LParam, 1);
    EXPECT_EQ(updating.Result, 0);
    TMessage app = Command(SkinCmdGetApplication);
    adapter->WndProc(app);
    EXPECT_EQ(app.Result, reinterpret_cast<LRESULT>(Application));
}

TEST_F(MenuWindow, TheMenuPainterShapesAnAdaptedWindowEveryTime)
{
    TCountedMnuWnd* adapter = Adapt();
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    auto background = Bitmap24(80, 60, kMenuBg);
    Menus()->SetPopupRegion(wnd, background.get());
    EXPECT_EQ(adapter->MenuFlag, 1);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(wnd, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    DeleteObject(rgn);
}

TEST_F(MenuWindow, WhileASkinnedPopupIsOpenTheBackgroundComesFromTheMenuSection)
{
    TCountedMnuWnd* adapter = Adapt();
    SetSkinnedPopupOpen(true);
    auto target = Bitmap24(80, 60, RGB(1, 1, 1));
    adapter->MenuFlag = 1;
    EXPECT_EQ(SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target->Canvas()->Handle()), 0), 1);
    EXPECT_EQ(Pixel(target.get(), 40, 30), kMenuBg);
    EXPECT_EQ(adapter->MenuFlag, 0);
}

TEST_F(MenuWindow, WithoutASkinnedPopupTheWindowErasesItself)
{
    Adapt();
    auto target = Bitmap24(80, 60, RGB(1, 1, 1));
    SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target->Canvas()->Handle()), 0);
    EXPECT_NE(Pixel(target.get(), 40, 30), kMenuBg);
}
