// Items painted into bitmaps: the popup background with its border cut-outs, icon column and extra
// line; normal, selected, disabled, checked, default and pictured items; separators, titles and the
// items of the menu line over the form's frame.
#include "skin/core/sSkinLinks.h"
#include "tests/skin_controls/menus_support.h"
#include "tests/support/live_objects.h"

#include "tests/skin_core/test_skin.h"

#include <cstdlib>

using namespace menutest;

namespace {

constexpr int kItemWidth = 200;
constexpr int kItemHeight = 24;

bool Near(COLORREF a, COLORREF b, int tolerance = 2)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

int CountPixels(TBitmap* bmp, COLORREF color)
{
    int n = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x)
            n += Pixel(bmp, x, y) == color;
    return n;
}

class PopupDrawing : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        LoadSkin();
    }
    // Draws Item as the popup painter does into a fresh bitmap of one item.
    std::unique_ptr<TBitmap> Draw(TMenuItem* item, TOwnerDrawState state = {}, int height = kItemHeight)
    {
        auto bmp = Bitmap24(kItemWidth, height, RGB(1, 1, 1));
        Menus()->DrawPopupItem(item, bmp->Canvas(), TRect{0, 0, kItemWidth, height}, state);
        return bmp;
    }
};

const TsMenuItemType kNoType = static_cast<TsMenuItemType>(-1);

class MenuLineDrawing : public MenuTest {
protected:
    static constexpr int kTop = 24; // caption height + system border height of the fake provider
    void SetUp() override
    {
        MenuTest::SetUp();
        LoadSkin();
        line = Bitmap24(300, 30, kLine);
        lineBmp = line.get();
        TacSkinLinks links = SkinLinks();
        links.MenuLineSource = [](LRESULT provider, TacMenuLineSource& source) {
            if (provider != 1234)
                return false;
            source.MenuLineBmp = lineBmp;
            source.CaptionHeight = 20;
            source.SysBorderHeight = 4;
            source.FullBorderHeight = fullBorderHeight;
            return true;
        };
        SetSkinLinks(links);
        form->Provider = 1234;
    }
    std::unique_ptr<TBitmap> Draw(TOwnerDrawState state = {})
    {
        auto bmp = Bitmap24(60, kTop + 20, RGB(1, 1, 1));
        Menus()->DrawMainMenuItem(fileItem, bmp->Canvas(), TRect{0, kTop, 60, kTop + 20}, state);
        return bmp;
    }
    // The columns the caption's pixels (those far from the item's plain look at its left) span.
    static std::pair<int, int> CaptionColumns(TBitmap* bmp)
    {
        const COLORREF plain = Pixel(bmp, 1, kTop + 1);
        int left = 60, right = -1;
        for (int y = kTop; y < kTop + 20; ++y)
            for (int x = 0; x < 60; ++x)
                if (!Near(Pixel(bmp, x, y), plain, 3)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return {left, right};
    }
    std::unique_ptr<TBitmap> line;
    static TBitmap* lineBmp;
    static int fullBorderHeight;
};

TBitmap* MenuLineDrawing::lineBmp = nullptr;
int MenuLineDrawing::fullBorderHeight = 4;

} // namespace

TEST_F(PopupDrawing, TheBackgroundTakesTheMenuSectionAndLosesItsKeyColouredCorners)
{
    Menus()->PrepareMenuBackground(openItem, 120, nullptr, 80);
    TBitmap* bg = MenuBackground();
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->Width(), 120);
    EXPECT_EQ(Pixel(bg, 60, 1), kMenuBg);
    const std::vector<TRect> expected{{0, 0, 1, 1}, {119, 0, 120, 1}, {0, 79, 1, 80}, {119, 79, 120, 80}};
    EXPECT_EQ(Menus()->CornerRects(), expected);
}

TEST_F(PopupDrawing, TheExtraLinesTurnedFontIsFreedWithEveryBackground)
{
    sm->MenuSupport()->UseExtraLine = true;
    auto prepare = [&] {
        ClearMenuCache();
        Menus()->PrepareMenuBackground(openItem, 140, nullptr, 300);
    };
    prepare();
    const int before = testsupport::CountGdiObjects();
    for (int i = 0; i < 50; ++i)
        prepare();
    EXPECT_LE(testsupport::CountGdiObjects(), before);
}

TEST_F(PopupDrawing, TheIconColumnRunsDownInsideTheBorder)
{
    Menus()->PrepareMenuBackground(openItem, 120, nullptr, 80);
    TBitmap* bg = MenuBackground();
    ASSERT_NE(bg, nullptr);
    const int icoWidth = 3 + 16 + 6;
    EXPECT_EQ(Pixel(bg, kMenuBorder, 40), kIcoLine);
    EXPECT_EQ(Pixel(bg, kMenuBorder + icoWidth - 1, kMenuBorder), kIcoLine);
    EXPECT_EQ(Pixel(bg, kMenuBorder + icoWidth, 40), kMenuBg);
    EXPECT_EQ(Pixel(bg, 1, 40), kMenuBg);
}

TEST_F(PopupDrawing, WithoutAHandlerTheExtraLineShowsItsReminderInItsSection)
{
    sm->MenuSupport()->UseExtraLine = true;
    Menus()->PrepareMenuBackground(openItem, 140, nullptr, 300);
    TBitmap* bg = MenuBackground();
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(Pixel(bg, kMenuBorder, 5), kExtraLine);
    EXPECT_EQ(Pixel(bg, kMenuBorder + 31, 5), kExtraLine);
    // The icon column moves right of the line.
    EXPECT_EQ(Pixel(bg, kMenuBorder + 32, 40), kIcoLine);
    EXPECT_TRUE(AnyPixel(bg, TRect{kMenuBorder, 0, kMenuBorder + 32, 300}, kExtraText));
    EXPECT_EQ(Menus()->ExtraLineOffset(), 32);
}

TEST_F(PopupDrawing, ASkinWithoutTheMenuSectionLeavesAPlainBackground)
{
    // The plain test skin has no menu sections.
    testskin::WriteTestSkinFolder(Folder(), L"Flat");
    sm->SetSkinName(L"Flat");
    Menus()->PrepareMenuBackground(openItem, 50, nullptr, 40);
    ASSERT_NE(MenuBackground(), nullptr);
    EXPECT_EQ(Pixel(MenuBackground(), 0, 0), RGB(255, 255, 255));
    EXPECT_TRUE(Menus()->CornerRects().empty());
}

TEST_F(PopupDrawing, WithoutAnItemSectionTheCaptionTakesTheSkinsGlobalColours)
{
    // The plain test skin has no menu sections; GLOBALINFO writes 0x202020.
    testskin::WriteTestSkinFolder(Folder(), L"Flat");
    sm->SetSkinName(L"Flat");
    auto bmp = Draw(openItem);
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{0, 0, kItemWidth, kItemHeight}, RGB(0x20, 0x20, 0x20)));
}

TEST_F(PopupDrawing, ANormalItemShowsTheItemSectionAndItsText)
{
    auto bmp = Draw(openItem);
    EXPECT_EQ(Pixel(bmp.get(), kItemWidth - 2, 2), kItem);
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{3 + 16 + 6, 0, kItemWidth, kItemHeight}, kItemText));
    EXPECT_FALSE(AnyPixel(bmp.get(), TRect{0, 0, 3 + 16 + 6 - 1, kItemHeight}, kItemText));
}

TEST_F(PopupDrawing, ASelectedItemTakesTheHotColours)
{
    auto bmp = Draw(openItem, TOwnerDrawState{odSelected});
    EXPECT_EQ(Pixel(bmp.get(), kItemWidth - 2, kItemHeight / 2), kItemHot);
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{0, 0, kItemWidth, kItemHeight}, kItemHotText));
}

TEST_F(PopupDrawing, ADisabledItemIsMixedIntoTheBackground)
{
    openItem->SetEnabled(false);
    auto bmp = Draw(openItem, TOwnerDrawState{odSelected});
    ASSERT_NE(MenuBackground(), nullptr);
    // Not hot while disabled; 40 % item over 60 % of the background under it (the window's border
    // lies before the item).
    const COLORREF under = Pixel(MenuBackground(), 2 + kMenuBorder, 2 + kMenuBorder);
    const COLORREF got = Pixel(bmp.get(), 2, 2);
    auto mix = [](int item, int bg) { return bg - static_cast<int>(0.4 * (bg - item) + (bg >= item ? 0.5 : -0.5)); };
    const COLORREF want = RGB(mix(GetRValue(kItem), GetRValue(under)), mix(GetGValue(kItem), GetGValue(under)),
                              mix(GetBValue(kItem), GetBValue(under)));
    EXPECT_TRUE(Near(got, want)) << std::hex << got << " " << want;
    EXPECT_NE(got, kItem);
}

TEST_F(PopupDrawing, ACheckedItemShowsTheCheckGlyphAtTheMargin)
{
    auto bmp = Draw(openItem, TOwnerDrawState{odChecked});
    const int top = (kItemHeight - 8) / 2;
    EXPECT_EQ(Pixel(bmp.get(), 3 + 3, top + 3), kCheck);
    EXPECT_NE(Pixel(bmp.get(), 3 + 3, top - 2), kCheck);
    auto plain = Draw(openItem);
    EXPECT_EQ(Pixel(plain.get(), 3 + 3, top + 3), kItem);
}

TEST_F(PopupDrawing, AnItemBitmapIsCentredVertically)
{
    const COLORREF glyphColor = RGB(0x01, 0xC8, 0x03);
    auto glyph = Bitmap24(16, 16, glyphColor);
    openItem->SetBitmap(glyph.get());
    auto bmp = Draw(openItem);
    const int y = (kItemHeight - 16) / 2;
    EXPECT_EQ(Pixel(bmp.get(), y + 8, y + 8), glyphColor);
    EXPECT_EQ(Pixel(bmp.get(), y + 8, y - 1), kItem);
    EXPECT_EQ(Pixel(bmp.get(), y + 8, y + 16), kItem);
}

TEST_F(PopupDrawing, TheDefaultItemIsWrittenBold)
{
    auto normal = Draw(openItem);
    auto bold = Draw(openItem, TOwnerDrawState{odDefault});
    // Bold strokes leave fewer pixels of the item colour.
    EXPECT_LT(CountPixels(bold.get(), kItem), CountPixels(normal.get(), kItem));
}

TEST_F(PopupDrawing, AHashEightCaptionIsRightAligned)
{
    openItem->SetCaption(L"\x8Правее");
    auto bmp = Draw(openItem);
    EXPECT_FALSE(AnyPixel(bmp.get(), TRect{0, 0, kItemWidth / 2, kItemHeight}, kItemText));
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{kItemWidth / 2, 0, kItemWidth, kItemHeight}, kItemText));
}

TEST_F(PopupDrawing, TheShortcutIsWrittenAtTheRightEdge)
{
    openItem->SetCaption(L"О");
    openItem->SetShortCut(ShortCut(VK_F3, TShiftState{}));
    auto bmp = Draw(openItem);
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{kItemWidth - 30, 0, kItemWidth - 8, kItemHeight}, kItemText));
    EXPECT_FALSE(AnyPixel(bmp.get(), TRect{kItemWidth - 7, 0, kItemWidth, kItemHeight}, kItemText));
}

TEST_F(PopupDrawing, OnDrawItemPaintsOverTheFinishedItem)
{
    TsMenuItemType seen = kNoType;
    Menus()->OnDrawItem = [&](TObject*, TCanvas* canvas, TRect r, TOwnerDrawState, TsMenuItemType type) {
        seen = type;
        canvas->Brush()->SetColor(static_cast<TColor>(RGB(9, 9, 9)));
        canvas->FillRect(TRect{r.Right - 4, 0, r.Right, 4});
    };
    auto bmp = Draw(openItem);
    EXPECT_EQ(seen, smNormal);
    EXPECT_EQ(Pixel(bmp.get(), kItemWidth - 2, 1), RGB(9, 9, 9));
}

TEST_F(PopupDrawing, ASeparatorIsTheDividerImageRightOfTheIconColumn)
{
    TMenuItem* separator = AddItem(fileItem, L"-");
    auto bmp = Draw(separator, {}, 2);
    EXPECT_EQ(Pixel(bmp.get(), kItemWidth / 2, 0), kDivider);
    EXPECT_NE(Pixel(bmp.get(), 3, 0), kDivider);
}

TEST_F(PopupDrawing, ATitleItemIsTheToolbarSectionWithItsWordCentred)
{
    TMenuItem* title = AddItem(fileItem, L"-Раздел-");
    auto bmp = Draw(title);
    EXPECT_EQ(Pixel(bmp.get(), 3, kItemHeight / 2), kToolbar);
    // A one-pixel frame of the background under the item.
    ASSERT_NE(MenuBackground(), nullptr);
    EXPECT_EQ(Pixel(bmp.get(), 0, 0), Pixel(MenuBackground(), kMenuBorder, kMenuBorder));
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{kItemWidth / 3, 0, 2 * kItemWidth / 3, kItemHeight}, RGB(0, 0, 0)));
    EXPECT_FALSE(AnyPixel(bmp.get(), TRect{1, 1, kItemWidth / 4, kItemHeight - 1}, RGB(0, 0, 0)));
}

TEST_F(PopupDrawing, WithoutItsWindowTheItemAsksTheApplicationOnceToShapeThePopup)
{
    MSG msg;
    while (PeekMessageW(&msg, Application->Handle(), 0xBCB3, 0xBCB3, PM_REMOVE)) {
    }
    Draw(openItem);
    Draw(openItem);
    ASSERT_TRUE(PeekMessageW(&msg, Application->Handle(), 0xBCB3, 0xBCB3, PM_REMOVE));
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(openItem));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(PeekMessageW(&msg, Application->Handle(), 0xBCB3, 0xBCB3, PM_REMOVE));
}

TEST_F(MenuLineDrawing, AnItemIsPaintedOverTheFormsMenuLine)
{
    auto bmp = Draw();
    EXPECT_EQ(Pixel(bmp.get(), 1, kTop + 1), kItem);
    EXPECT_EQ(Pixel(bmp.get(), 1, kTop - 1), RGB(1, 1, 1));
    EXPECT_TRUE(AnyPixel(bmp.get(), TRect{0, kTop, 60, kTop + 20}, kLineText));
}

TEST_F(MenuLineDrawing, AHotItemTakesTheHotLook)
{
    auto bmp = Draw(TOwnerDrawState{odHotLight});
    EXPECT_EQ(Pixel(bmp.get(), 1, kTop + 1), kItemHot);
}

TEST_F(MenuLineDrawing, ADisabledItemIsBlendedWithTheLineAndKeepsItsCaptionInside)
{
    fileItem->SetEnabled(false);
    auto bmp = Draw();
    const COLORREF got = Pixel(bmp.get(), 1, kTop + 1);
    auto mix = [](int item, int line) { return (item * 102 + line * (256 - 102)) / 256; };
    const COLORREF want = RGB(mix(GetRValue(kItem), GetRValue(kLine)), mix(GetGValue(kItem), GetGValue(kLine)),
                              mix(GetBValue(kItem), GetBValue(kLine)));
    EXPECT_TRUE(Near(got, want)) << std::hex << got << " " << want;
    // The caption stays in the item's middle third.
    int textLeft = 60, textRight = -1;
    for (int y = kTop; y < kTop + 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (!Near(Pixel(bmp.get(), x, y), want, 3)) {
                textLeft = std::min(textLeft, x);
                textRight = std::max(textRight, x);
            }
    ASSERT_LE(textLeft, textRight);
    EXPECT_LE(std::abs((textLeft + textRight) / 2 - 30), 4);
}

TEST_F(MenuLineDrawing, ADisabledItemsCaptionStartsAtTheFullBorderHeight)
{
    const auto enabled = CaptionColumns(Draw().get());
    fullBorderHeight = 14;
    fileItem->SetEnabled(false);
    const auto disabled = CaptionColumns(Draw().get());
    fullBorderHeight = 4;
    ASSERT_LE(enabled.first, enabled.second);
    ASSERT_LE(disabled.first, disabled.second);
    // The centred caption moves with its rectangle, from the margin (3) to the full border height (14).
    EXPECT_NEAR((disabled.first + disabled.second) - (enabled.first + enabled.second), 2 * 11, 3);
}

TEST_F(MenuLineDrawing, OnDrawItemHearsAMenuLineItem)
{
    TsMenuItemType seen = kNoType;
    Menus()->OnDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState, TsMenuItemType type) { seen = type; };
    Draw();
    EXPECT_EQ(seen, smTopLine);
}

TEST_F(MenuLineDrawing, NothingIsPaintedWithoutAProvider)
{
    form->Provider = 0;
    auto bmp = Draw();
    EXPECT_EQ(Pixel(bmp.get(), 1, kTop + 1), RGB(1, 1, 1));
}
