// The glow painter's rings, the fade blend of two bitmaps with fixed and per-pixel weights, the
// four-stripe frame copy, bevelled and dotted frames and the solid fill.
#include "skin/core/sTextColors.h"
#include "tests/skin_core/paint_support.h"

#include <set>
#include <utility>
#include <vector>

using namespace painttest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF Grey(int v) { return RGB(v, v, v); }

} // namespace

class Glow : public PaintTest {};

TEST_F(Glow, ColourFillsTheMiddleAndRingsFadeToTheBackground)
{
    auto bmp = MakeBitmap(40, 30, kWhite);
    const TRect r{5, 5, 35, 25};
    PaintShadowRect(bmp.get(), r, 0, 4, 3, clBlack);
    // Three rings at mask levels 255, 191, 128 (127.5 rounds to even), 64, then 0 in the middle. Where GDI
    // ends a pen-less rounded rectangle on the right differs by a pixel, so each side is read as the run
    // of levels met from the edge inwards.
    const int row = 15;
    auto levelsFrom = [&](int x, int step) {
        std::vector<int> levels;
        for (int i = 0; i < 8; ++i, x += step) {
            const COLORREF c = Get(bmp.get(), x, row);
            EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c));
            if (levels.empty() || levels.back() != GetRValue(c))
                levels.push_back(GetRValue(c));
        }
        return levels;
    };
    const std::vector<int> rings = {254, 190, 127, 0};
    EXPECT_EQ(levelsFrom(5, 1), rings);
    EXPECT_EQ(levelsFrom(34, -1), rings);
    for (int x = 5; x < 9; ++x)
        EXPECT_EQ(Get(bmp.get(), x, row), Grey(rings[x - 5])) << "left ring " << x - 5;
    EXPECT_EQ(Get(bmp.get(), 20, 6), Grey(190));
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        return r.Contains(TPoint{x, y}) ? Get(bmp.get(), x, y) : kWhite;
    }));
}

TEST_F(Glow, TransparencyLetsTheBackgroundShowInTheMiddle)
{
    auto bmp = MakeBitmap(40, 30, kWhite);
    PaintShadowRect(bmp.get(), TRect{5, 5, 35, 25}, 50, 4, 3, RGBToColor(255, 0, 0));
    // Mask 127 in the middle: red keeps 255, green and blue (0 * 256 + 127 * 255) >> 8 = 126.
    EXPECT_EQ(Get(bmp.get(), 20, 15), RGB(255, 126, 126));

    auto full = MakeBitmap(40, 30, kWhite);
    PaintShadowRect(full.get(), TRect{5, 5, 35, 25}, 0, 4, 3, RGBToColor(255, 0, 0));
    EXPECT_EQ(Get(full.get(), 20, 15), RGB(255, 0, 0));
}

TEST_F(Glow, TransparencyAboveHundredActsAsHundred)
{
    auto hundred = MakeBitmap(30, 30, RGB(10, 200, 90));
    auto above = MakeBitmap(30, 30, RGB(10, 200, 90));
    PaintShadowRect(hundred.get(), TRect{2, 2, 28, 28}, 100, 5, 4, RGBToColor(0, 0, 255));
    PaintShadowRect(above.get(), TRect{2, 2, 28, 28}, 150, 5, 4, RGBToColor(0, 0, 255));
    EXPECT_TRUE(PixelsAre(above.get(), [&](int x, int y) { return Get(hundred.get(), x, y); }));
}

TEST_F(Glow, RectanglesReachingOutsideOrEmptyAreSafe)
{
    auto bmp = MakeBitmap(20, 20, kWhite);
    PaintShadowRect(bmp.get(), TRect{10, 10, 10, 30}, 0, 2, 2, clBlack);
    PaintShadowRect(bmp.get(), TRect{5, 5, 2, 2}, 0, 2, 2, clBlack);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kWhite; }));
    PaintShadowRect(bmp.get(), TRect{10, 10, 40, 40}, 0, 2, -3, clBlack);
    EXPECT_EQ(Get(bmp.get(), 15, 15), Grey(0));
    EXPECT_EQ(Get(bmp.get(), 5, 5), kWhite);
}

class Fade : public PaintTest {
protected:
    std::unique_ptr<TBitmap> dst = MakeBitmap(3, 2, RGB(1, 2, 3), pf32bit);
    std::unique_ptr<TBitmap> src1 = MakeBitmap(3, 2, RGB(200, 100, 0));
    std::unique_ptr<TBitmap> src2 = MakeBitmap(3, 2, RGB(0, 100, 200));

    void MarkFourthBytes(TBitmap* bmp)
    {
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width(); ++x)
                static_cast<std::uint8_t*>(bmp->ScanLine(y))[x * 4 + 3] = 0x5A;
    }
    bool FourthBytesKept(TBitmap* bmp)
    {
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width(); ++x)
                if (static_cast<std::uint8_t*>(bmp->ScanLine(y))[x * 4 + 3] != 0x5A)
                    return false;
        return true;
    }
};

TEST_F(Fade, WeightMovesFromTheSecondSourceToTheFirst)
{
    MarkFourthBytes(dst.get());
    SumBitmaps(dst.get(), src1.get(), src2.get(), nullptr, 128);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(100, 100, 100); }));
    EXPECT_TRUE(FourthBytesKept(dst.get()));
    SumBitmaps(dst.get(), src1.get(), src2.get(), nullptr, 0);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(0, 100, 200); }));
    SumBitmaps(dst.get(), src1.get(), src2.get(), nullptr, 256);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(200, 100, 0); }));
}

TEST_F(Fade, WeightsAboveFullGiveTheFirstSource)
{
    SumBitmaps(dst.get(), src1.get(), src2.get(), nullptr, 300);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(200, 100, 0); }));
    SumBitmaps(dst.get(), src1.get(), src2.get(), nullptr, 65535);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(200, 100, 0); }));
}

TEST_F(Fade, AlphaBitmapWeighsEachChannelOnItsOwn)
{
    auto weights = PaintedBitmap(3, 2, [](int x, int) { return x == 0 ? RGB(255, 128, 0) : RGB(0, 0, 64); });
    SumBitmaps(dst.get(), src1.get(), src2.get(), weights.get(), 256);
    // Red 200 * 255 >> 8 = 199; blue (-200 * 64 + 51200) >> 8 = 150.
    EXPECT_TRUE(PixelsAre(dst.get(), [](int x, int) { return x == 0 ? RGB(199, 100, 200) : RGB(0, 100, 150); }));
}

TEST_F(Fade, MismatchedOrTooSmallBitmapsLeaveTheDestination)
{
    auto other = MakeBitmap(4, 2, RGB(0, 100, 200));
    SumBitmaps(dst.get(), src1.get(), other.get(), nullptr, 128);
    auto small = MakeBitmap(2, 2, RGB(1, 2, 3), pf32bit);
    SumBitmaps(small.get(), src1.get(), src2.get(), nullptr, 128);
    auto smallWeights = MakeBitmap(2, 1, RGB(0, 0, 0));
    SumBitmaps(dst.get(), src1.get(), src2.get(), smallWeights.get(), 128);
    auto dst24 = MakeBitmap(3, 2, RGB(1, 2, 3));
    SumBitmaps(dst24.get(), src1.get(), src2.get(), nullptr, 128);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(1, 2, 3); }));
    EXPECT_TRUE(PixelsAre(small.get(), [](int, int) { return RGB(1, 2, 3); }));
    EXPECT_TRUE(PixelsAre(dst24.get(), [](int, int) { return RGB(1, 2, 3); }));
}

class Frames : public PaintTest {};

TEST_F(Frames, CopyFrameCopiesOnlyTheRingAtTheTarget)
{
    auto src = PaintedBitmap(14, 14, [](int x, int y) { return RGB(x * 10 + 5, y * 10 + 5, 100); });
    auto dst = MakeBitmap(20, 20, kWhite);
    CopyFrame(dst->Canvas()->Handle(), 5, 4, 10, 8, src->Canvas()->Handle(), 1, 2, 2);
    EXPECT_TRUE(PixelsAre(dst.get(), [&](int x, int y) {
        const int lx = x - 5, ly = y - 4;
        const bool inside = lx >= 0 && lx < 10 && ly >= 0 && ly < 8;
        const bool ring = lx < 2 || lx >= 8 || ly < 2 || ly >= 6;
        return inside && ring ? Get(src.get(), lx + 1, ly + 2) : kWhite;
    }));
}

TEST_F(Frames, BevelDrawsNestedFramesAndHandsBackTheInnerRectangle)
{
    auto bmp = MakeBitmap(10, 10, kWhite);
    TRect r{0, 0, 10, 10};
    int count = 2;
    BevelFramePens(bmp->Canvas()->Handle(), r, RGBToColor(255, 0, 0), count, RGBToColor(0, 0, 255));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) {
        const int d = std::min(std::min(x, y), std::min(9 - x, 9 - y));
        if (d >= 2)
            return kWhite;
        return x == 9 - d || y == 9 - d ? RGB(0, 0, 255) : RGB(255, 0, 0);
    }));
}

TEST_F(Frames, BevelResolvesSystemColoursOnBothSides)
{
    auto bmp = MakeBitmap(6, 6, RGB(1, 2, 3));
    TRect r{0, 0, 6, 6};
    int count = 1;
    BevelFramePens(bmp->Canvas()->Handle(), r, clBtnHighlight, count, clBtnShadow);
    const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    EXPECT_EQ(Get(bmp.get(), 0, 2), RGB(ColorRed(light), ColorGreen(light), ColorBlue(light)));
    EXPECT_EQ(Get(bmp.get(), 5, 2), RGB(ColorRed(dark), ColorGreen(dark), ColorBlue(dark)));
    EXPECT_EQ(Get(bmp.get(), 2, 5), RGB(ColorRed(dark), ColorGreen(dark), ColorBlue(dark)));
}

TEST_F(Frames, BevelWithNothingToCountLeavesRectangleAndPixels)
{
    auto bmp = MakeBitmap(6, 6, kWhite);
    TRect r{1, 1, 5, 5};
    int count = 0;
    BevelFramePens(bmp->Canvas()->Handle(), r, clBlack, count, clBlack);
    EXPECT_EQ(r, (TRect{1, 1, 5, 5}));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kWhite; }));
}

TEST_F(Frames, DottedFrameSetsBlackDotsEveryThirdPixelWithWhiteOnesBeside)
{
    auto bmp = MakeBitmap(20, 20, Grey(128));
    DrawDottedFrame(bmp->Canvas(), TRect{3, 3, 12, 9});
    const std::set<std::pair<int, int>> black = {{3, 3}, {6, 3}, {9, 3}, {12, 3}, {3, 9}, {6, 9}, {9, 9},
                                                 {12, 9}, {3, 6}, {12, 6}};
    const std::set<std::pair<int, int>> white = {{2, 2}, {5, 2}, {8, 2}, {11, 2}, {2, 8}, {5, 8}, {8, 8},
                                                 {11, 8}, {2, 5}, {11, 5}};
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (black.count({x, y}))
            return RGB(0, 0, 0);
        return white.count({x, y}) ? kWhite : Grey(128);
    }));
}

TEST_F(Frames, FillDCPaintsTheResolvedColourAndKeepsTheSelectedBrush)
{
    auto bmp = MakeBitmap(8, 8, kWhite);
    HDC dc = bmp->Canvas()->Handle();
    HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
    FillDC(dc, TRect{2, 3, 6, 5}, clBtnShadow);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);
    const TColor c = ColorToRGB(clBtnShadow);
    const COLORREF fill = RGB(ColorRed(c), ColorGreen(c), ColorBlue(c));
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) { return x >= 2 && x < 6 && y >= 3 && y < 5 ? fill : kWhite; }));
}
