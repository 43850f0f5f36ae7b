// The skinned tab strip's look: tabs from the tab section in their states, the page from its own
// section, the strip over the parent, a skin change, the way back to the standard look, and a tab
// chosen while nothing is on the screen.
#include "tests/skin_controls/tabs_support.h"

#include "skin/controls/sTabControl.h"
#include "skin/core/sCommonData.h"

#include <commctrl.h>

#include <algorithm>

using namespace tabskin;

namespace {

const wchar_t* const kNames[] = {L"Супы", L"Выпечка", L"Избранное"};

TsTabControl* MakeTabs(TForm* form, int width = 400, int height = 120)
{
    auto* tabs = Create<TsTabControl>(form);
    tabs->SetBounds(10, 10, width, height);
    tabs->SetParent(form);
    for (const wchar_t* name : kNames)
        tabs->Tabs()->Add(name);
    testsupport::PumpMessagesUntilIdle(200);
    return tabs;
}

// A pixel just inside the top-left corner of the tab painted at Position.
COLORREF TabCorner(const testsupport::Pixels24& pixels, TsTabControl* tabs, int position)
{
    const TRect r = tabs->GetTabRect(position);
    return pixels.At(r.Left + 3, r.Top + 3);
}

class TabPaint : public SkinnedControlsTest {};
class TabPaintUnskinned : public UnskinnedControlsTest {};

} // namespace

TEST_F(TabPaint, TabsComeFromTheTabSectionAndThePageFromItsOwn)
{
    TsTabControl* tabs = MakeTabs(Form);
    ASSERT_TRUE(tabs->Skinned());
    EXPECT_EQ(tabs->SkinData()->SkinSection(), L"PAGECONTROL");
    const auto pixels = PaintedPixels(tabs);
    ASSERT_EQ(tabs->TabInfos().size(), 3u);
    EXPECT_EQ(TabCorner(pixels, tabs, 0), kTabActive);
    EXPECT_EQ(TabCorner(pixels, tabs, 1), kTabNormal);
    EXPECT_EQ(TabCorner(pixels, tabs, 2), kTabNormal);
    EXPECT_EQ(pixels.At(200, 100), kPage);
    EXPECT_EQ(pixels.At(5, tabs->Height() - 3), kPage);
}

// The captions are drawn over the tab images without a background of their own.
TEST_F(TabPaint, CaptionsLeaveTheTabImageAroundTheirLetters)
{
    TsTabControl* tabs = MakeTabs(Form);
    tabs->SetTabPosition(tpBottom);
    tabs->SetTabIndex(1);
    const auto pixels = PaintedPixels(tabs);
    for (int position = 0; position < 3; ++position) {
        const TRect r = tabs->GetTabRect(position);
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, pixels.height); ++y)
            for (int x = std::max(r.Left, 0); x < std::min(r.Right, pixels.width); ++x)
                ASSERT_NE(pixels.At(x, y), RGB(255, 255, 255)) << position << " at " << x << ", " << y;
    }
}

TEST_F(TabPaint, TheStripBesideTheTabsShowsTheParentsColour)
{
    TsTabControl* tabs = MakeTabs(Form);
    const auto pixels = PaintedPixels(tabs);
    const TRect last = tabs->GetTabRect(2);
    EXPECT_EQ(pixels.At(last.Right + 20, 3), kFormColor);
}

TEST_F(TabPaint, TheCurrentTabFollowsTabIndex)
{
    TsTabControl* tabs = MakeTabs(Form);
    tabs->SetTabIndex(2);
    const auto pixels = PaintedPixels(tabs);
    EXPECT_EQ(TabCorner(pixels, tabs, tabs->CurrentPosition()), kTabActive);
    EXPECT_EQ(tabs->TabInfos()[static_cast<size_t>(tabs->CurrentPosition())].TabIndex, 2);
    EXPECT_EQ(TabCorner(pixels, tabs, 0), kTabNormal);
}

TEST_F(TabPaint, ASkinChangeRepaintsTheTabs)
{
    TsTabControl* tabs = MakeTabs(Form);
    PaintedPixels(tabs);
    Manager->SetSkinName(L"Other");
    testsupport::PumpMessagesUntilIdle(300);
    const auto pixels = PaintedPixels(tabs);
    EXPECT_EQ(TabCorner(pixels, tabs, 0), kOtherTabActive);
    EXPECT_EQ(TabCorner(pixels, tabs, 1), kOtherTabNormal);
}

// A skin whose very first section is the tab section has its tab images like any other.
TEST_F(TabPaint, ATabSectionFirstInTheSkinStillPaintsTheTabs)
{
    Manager->SetSkinName(L"TabsFirst");
    ASSERT_EQ(FindSectionIndex(Manager, L"TABTOP"), 0);
    TsTabControl* tabs = MakeTabs(Form);
    const auto pixels = PaintedPixels(tabs);
    EXPECT_EQ(TabCorner(pixels, tabs, 0), kTabActive);
    EXPECT_EQ(TabCorner(pixels, tabs, 1), kTabNormal);
}

// The change of tab repaints the cache on the next paint, whenever that comes.
TEST_F(TabPaint, ATabChosenWhileHiddenShowsWhenPainted)
{
    TsTabControl* tabs = MakeTabs(Form);
    PaintedPixels(tabs);
    Form->Hide();
    testsupport::PumpMessagesUntilIdle(200);
    tabs->SetTabIndex(2);
    testsupport::PumpMessagesUntilIdle(200);
    Form->Show();
    const auto pixels = PaintedPixels(tabs);
    EXPECT_EQ(TabCorner(pixels, tabs, tabs->CurrentPosition()), kTabActive);
    EXPECT_EQ(TabCorner(pixels, tabs, 0), kTabNormal);
}

TEST_F(TabPaint, BottomTabsLieBelowThePage)
{
    TsTabControl* tabs = MakeTabs(Form);
    tabs->SetTabPosition(tpBottom);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(tabs->PageSection(), L"PAGECONTROLBOTTOM");
    const auto pixels = PaintedPixels(tabs);
    EXPECT_EQ(pixels.At(200, 5), kPage);
    const TRect r = tabs->GetTabRect(1);
    EXPECT_GT(r.Top, tabs->Height() / 2);
    EXPECT_EQ(pixels.At(r.Left + 3, r.Bottom - 3), kTabNormal);
}

// Without tab images the captions are written in the colours of the section the page is painted with.
TEST_F(TabPaint, WithoutTabSectionsCaptionsTakeThePageSectionsColours)
{
    Manager->SetSkinName(L"PagesOnly");
    TsTabControl* tabs = MakeTabs(Form);
    for (TTabPosition position : {tpBottom, tpLeft}) {
        tabs->SetTabPosition(position);
        const auto pixels = PaintedPixels(tabs);
        EXPECT_EQ(tabs->SkinData()->SkinIndex, FindSectionIndex(Manager, tabs->PageSection()));
        EXPECT_GT(CountColor(pixels, tabs->GetTabRect(1), kEdgePageFont), 5) << position;
    }
}

TEST_F(TabPaint, RemovingTheSkinGivesTheStandardLookBack)
{
    TsTabControl* tabs = MakeTabs(Form);
    PaintedPixels(tabs);
    auto* standard = Create<TTabControl>(Form);
    standard->SetBounds(10, 150, 400, 120);
    standard->SetParent(Form);
    for (const wchar_t* name : kNames)
        standard->Tabs()->Add(name);
    standard->SetTabIndex(0);
    Manager->SetActive(false);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(tabs->Skinned());
    const auto mine = PaintedPixels(tabs);
    const auto theirs = PaintedPixels(standard);
    EXPECT_EQ(mine.bgr, theirs.bgr);
}

TEST_F(TabPaintUnskinned, WithoutAManagerTheStripPaintsAsTheStandardTabControl)
{
    TsTabControl* tabs = MakeTabs(Form);
    tabs->SetTabIndex(1);
    auto* standard = Create<TTabControl>(Form);
    standard->SetBounds(10, 150, 400, 120);
    standard->SetParent(Form);
    for (const wchar_t* name : kNames)
        standard->Tabs()->Add(name);
    standard->SetTabIndex(1);
    EXPECT_FALSE(tabs->Skinned());
    const auto mine = PaintedPixels(tabs);
    const auto theirs = PaintedPixels(standard);
    EXPECT_EQ(mine.bgr, theirs.bgr);
    EXPECT_NE(mine.At(200, 100), kPage);
}

TEST_F(TabPaint, ATabWithAnImageShowsItBesideItsCaption)
{
    constexpr COLORREF kImage = RGB(0x11, 0x22, 0x99);
    TImageList images(16, 16);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(static_cast<TColor>(kImage));
    picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images.Add(&picture, nullptr);
    TsTabControl* tabs = MakeTabs(Form);
    tabs->SetImages(&images);
    tabs->SetTabIndex(1);
    const auto pixels = PaintedPixels(tabs);
    EXPECT_GT(CountColor(pixels, tabs->GetTabRect(0), kImage), 0);
    EXPECT_EQ(CountColor(pixels, tabs->GetTabRect(1), kImage), 0);
    tabs->SetImages(nullptr);
}
