// The own arrows of a skinned single row of tabs: shown when tabs overflow, gone when all fit or the
// tabs come in rows, in place of the system's arrows, painted with the scroll-button skin, and
// scrolling the row.
#include "tests/skin_controls/tabs_support.h"

#include "skin/controls/sTabControl.h"
#include "skin/controls/sUpDown.h"

#include "framework/ImgList.h"

#include <commctrl.h>

using namespace tabskin;

namespace {

class TabScroller : public SkinnedControlsTest {
protected:
    void MakeTabs(int width)
    {
        Tabs = Create<TsTabControl>(Form);
        Tabs->SetBounds(10, 10, width, 100);
        Tabs->SetParent(Form);
        Tabs->Tabs()->BeginUpdate();
        for (int i = 0; i < 30; ++i)
            Tabs->Tabs()->Add(L"Раздел " + std::to_wstring(i));
        Tabs->Tabs()->EndUpdate();
        testsupport::PumpMessagesUntilIdle(200);
    }
    int NativeLeft(int index)
    {
        RECT r{};
        SendMessageW(Tabs->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r.left;
    }
    void Click(HWND wnd, int x, int y)
    {
        SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        testsupport::PumpMessagesUntilIdle(300);
    }
    TsTabControl* Tabs = nullptr;
};

} // namespace

TEST_F(TabScroller, ThirtyTabsInANarrowStripShowTheOwnArrowsAtTheRightEdge)
{
    MakeTabs(300);
    TsUpDown* arrows = Tabs->Scroller();
    ASSERT_NE(arrows, nullptr);
    const int width = 2 * GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(arrows->Width(), width);
    EXPECT_EQ(arrows->Height(), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(arrows->Left(), Tabs->Width() - width);
    EXPECT_EQ(arrows->Top(), 0);
    EXPECT_EQ(arrows->Orientation(), udHorizontal);
    EXPECT_EQ(FindWindowExW(Tabs->Handle(), nullptr, UPDOWN_CLASSW, nullptr), nullptr);
    EXPECT_GT(arrows->Max(), 0);
    EXPECT_EQ(arrows->Position(), 0);
}

TEST_F(TabScroller, WideningTheStripUntilAllTabsFitRemovesTheArrows)
{
    MakeTabs(300);
    ASSERT_NE(Tabs->Scroller(), nullptr);
    Tabs->SetWidth(6000);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(Tabs->Scroller(), nullptr);
}

TEST_F(TabScroller, TabsInRowsNeverShowTheArrows)
{
    MakeTabs(300);
    Tabs->SetMultiLine(true);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(Tabs->Scroller(), nullptr);
    PaintedPixels(Tabs);
    EXPECT_EQ(Tabs->Scroller(), nullptr);
}

TEST_F(TabScroller, TheArrowsArePaintedWithTheScrollButtonSkin)
{
    MakeTabs(300);
    TsUpDown* arrows = Tabs->Scroller();
    ASSERT_NE(arrows, nullptr);
    const auto pixels = PaintedPixels(Tabs);
    const int x = arrows->Left() + arrows->Width() * 3 / 4;
    EXPECT_EQ(pixels.At(x, 1), kBtnNormal);
    EXPECT_EQ(pixels.At(x, arrows->Height() / 2), kArrow);
}

TEST_F(TabScroller, TheRightArrowScrollsTheRow)
{
    MakeTabs(300);
    TsUpDown* arrows = Tabs->Scroller();
    ASSERT_NE(arrows, nullptr);
    const int before = NativeLeft(1);
    Click(arrows->Handle(), arrows->Width() * 3 / 4, arrows->Height() / 2);
    EXPECT_EQ(arrows->Position(), 1);
    EXPECT_LT(NativeLeft(1), before);
    PaintedPixels(Tabs);
    EXPECT_EQ(Tabs->TabInfos()[1].R.Left, NativeLeft(1));
}

// Images reach the strip after its tabs, as the main window's do: the tabs grow by their images' width
// and overflow the row.
TEST_F(TabScroller, ImagesThatWidenTheTabsBeyondTheStripBringTheArrows)
{
    Tabs = Create<TsTabControl>(Form);
    Tabs->SetBounds(10, 10, 300, 100);
    Tabs->SetParent(Form);
    TImageList images(16, 16);
    Tabs->SetImages(&images);
    for (int i = 0; i < 3; ++i)
        Tabs->Tabs()->Add(L"Раздел " + std::to_wstring(i));
    testsupport::PumpMessagesUntilIdle(200);
    ASSERT_EQ(Tabs->Scroller(), nullptr) << "the tabs overflow without images";
    {
        const TImageListUpdate update(&images);
        images.SetHandle(ImageList_Create(64, 64, ILC_COLOR32 | ILC_MASK, 4, 4));
    }
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_NE(Tabs->Scroller(), nullptr);
    Tabs->SetImages(nullptr);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(Tabs->Scroller(), nullptr) << "the tabs fit again without their images";
}
