// The skinned up-down arrows: painted from the scroll-button sections with their glyphs, hot under the
// pointer, pressed while held, drawn disabled at their limits, and plain without a skin.
#include "tests/skin_controls/tabs_support.h"

#include "skin/controls/sUpDown.h"

using namespace tabskin;

namespace {

class UpDownPaint : public SkinnedControlsTest {
protected:
    TsUpDown* MakeArrows(int width = 20, int height = 40)
    {
        Arrows = Create<TsUpDown>(Form);
        Arrows->SetBounds(300, 10, width, height);
        Arrows->SetParent(Form);
        Arrows->SetMin(0);
        Arrows->SetMax(100);
        Arrows->SetPosition(50);
        testsupport::PumpMessagesUntilIdle(200);
        return Arrows;
    }
    // Puts the pointer over the control's point and lets it hit-test there.
    void Hover(int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(Arrows->Handle(), &p);
        SetCursorPos(p.x, p.y);
        SendMessageW(Arrows->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    }
    TsUpDown* Arrows = nullptr;
};

class UpDownUnskinned : public UnskinnedControlsTest {};

} // namespace

TEST_F(UpDownPaint, BothArrowsComeFromTheScrollButtonSectionsWithTheirGlyphs)
{
    MakeArrows();
    ASSERT_TRUE(Arrows->SkinPainted());
    const auto pixels = PaintedPixels(Arrows);
    EXPECT_EQ(pixels.At(1, 1), kBtnNormal);
    EXPECT_EQ(pixels.At(9, 9), kArrow);
    EXPECT_EQ(pixels.At(1, 21), kBtnNormal);
    EXPECT_EQ(pixels.At(9, 29), kArrow);
    EXPECT_EQ(pixels.At(1, 15), kBtnNormal);
}

TEST_F(UpDownPaint, TheArrowUnderThePointerIsHot)
{
    MakeArrows();
    Hover(10, 30);
    EXPECT_EQ(Arrows->DrawingState(), 2);
    auto pixels = PaintedPixels(Arrows);
    EXPECT_EQ(pixels.At(1, 21), kBtnHot);
    EXPECT_EQ(pixels.At(1, 1), kBtnNormal);
    Hover(10, 5);
    EXPECT_EQ(Arrows->DrawingState(), 1);
    pixels = PaintedPixels(Arrows);
    EXPECT_EQ(pixels.At(1, 1), kBtnHot);
    EXPECT_EQ(pixels.At(1, 21), kBtnNormal);
    Arrows->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Arrows->DrawingState(), 0);
}

// The hit test paints the arrow under the pointer again even when it was hot already.
TEST_F(UpDownPaint, EveryHitTestOverAnArrowRepaintsIt)
{
    MakeArrows();
    Hover(10, 5);
    ASSERT_EQ(Arrows->DrawingState(), 1);
    HDC dc = GetDC(Arrows->Handle());
    SetPixel(dc, 1, 1, RGB(1, 2, 3));
    ASSERT_EQ(GetPixel(dc, 1, 1), RGB(1, 2, 3));
    Hover(10, 5);
    EXPECT_EQ(GetPixel(dc, 1, 1), kBtnHot);
    ReleaseDC(Arrows->Handle(), dc);
}

TEST_F(UpDownPaint, APressedArrowLooksPressedUntilReleased)
{
    MakeArrows();
    Hover(10, 5);
    SendMessageW(Arrows->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_TRUE(Arrows->Pressed());
    EXPECT_EQ(Arrows->DrawingState(), 3);
    EXPECT_EQ(PaintedPixels(Arrows).At(1, 1), kBtnPressed);
    SendMessageW(Arrows->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    EXPECT_FALSE(Arrows->Pressed());
    EXPECT_EQ(Arrows->DrawingState(), 1);
}

TEST_F(UpDownPaint, AnArrowAtItsLimitNeverTurnsHotAndLooksDisabled)
{
    MakeArrows();
    Arrows->SetPosition(100);
    Hover(10, 5);
    EXPECT_EQ(Arrows->DrawingState(), 0);
    const auto pixels = PaintedPixels(Arrows);
    EXPECT_NE(pixels.At(1, 1), kBtnNormal);
    EXPECT_NE(pixels.At(1, 1), kBtnHot);
    EXPECT_EQ(pixels.At(1, 21), kBtnNormal);
}

TEST_F(UpDownPaint, WithoutInaccessibilityBothArrowsPaintEnabled)
{
    MakeArrows();
    Arrows->SetShowInaccessibility(false);
    Arrows->SetPosition(100);
    auto pixels = PaintedPixels(Arrows);
    EXPECT_EQ(pixels.At(1, 1), kBtnNormal);
    EXPECT_EQ(pixels.At(1, 21), kBtnNormal);
    Hover(10, 5);
    EXPECT_EQ(Arrows->DrawingState(), 1);
    Arrows->SetEnabled(false);
    pixels = PaintedPixels(Arrows);
    EXPECT_NE(pixels.At(1, 21), kBtnNormal);
}

TEST_F(UpDownPaint, AnOddHeightGivesTheBottomArrowTheExtraRow)
{
    MakeArrows(20, 41);
    Arrows->SetDrawingState(2);
    const auto pixels = PaintedPixels(Arrows);
    EXPECT_EQ(pixels.At(1, 19), kBtnNormal);
    EXPECT_EQ(pixels.At(1, 20), kBtnHot);
    EXPECT_EQ(pixels.At(1, 40), kBtnHot);
}

// Each arrow of a lying control is measured against its own limit: the left arrow can still move a
// position that stands at the maximum.
TEST_F(UpDownPaint, TheLeftArrowAtTheMaximumStillLooksPressed)
{
    MakeArrows(40, 20);
    Arrows->SetOrientation(udHorizontal);
    Arrows->SetBounds(300, 10, 40, 20);
    Arrows->SetShowInaccessibility(false);
    Arrows->SetMax(10);
    Arrows->SetPosition(10);
    Arrows->OnChanging = [](TObject*, bool& allow) { allow = false; };
    Hover(5, 10);
    ASSERT_EQ(Arrows->DrawingState(), 1);
    SendMessageW(Arrows->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    EXPECT_EQ(Arrows->Position(), 10);
    EXPECT_EQ(Arrows->DrawingState(), 3);
    SendMessageW(Arrows->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
    EXPECT_EQ(Arrows->DrawingState(), 1);
}

TEST_F(UpDownUnskinned, WithoutASkinTheArrowsPaintAsThePlainUpDown)
{
    auto* mine = Create<TsUpDown>(Form);
    mine->SetBounds(300, 10, 20, 40);
    mine->SetParent(Form);
    mine->SetPosition(50);
    auto* plain = Create<TUpDown>(Form);
    plain->SetBounds(350, 10, 20, 40);
    plain->SetParent(Form);
    plain->SetPosition(50);
    EXPECT_FALSE(mine->SkinPainted());
    const auto a = PaintedPixels(mine);
    const auto b = PaintedPixels(plain);
    EXPECT_EQ(a.bgr, b.bgr);
    EXPECT_NE(a.At(1, 1), kBtnNormal);
}
