// Blend formulas: mask blends, alpha sums with their /256 rounding, colour mixes and transparent
// blends rounded to nearest with ties to even, grey and disabled looks, and their clipping.
#include "skin/core/sPixels.h"
#include "skin/core/sVclUtils.h"
#include "tests/skin_core/paint_support.h"

using namespace painttest;

class Blends : public PaintTest {};

TEST_F(Blends, MaskZeroGivesTheImageAndFullMaskNearlyTheDestination)
{
    EXPECT_EQ(MaskBlend(200, 100, 0), 100);
    EXPECT_EQ(MaskBlend(200, 100, 255), 199);
    EXPECT_EQ(MaskBlend(255, 0, 255), 254);
    EXPECT_EQ(MaskBlend(0, 255, 0), 255);
    EXPECT_EQ(MaskBlend(0, 255, 255), 0);
}

TEST_F(Blends, AlphaSumKeepsDestinationToOneStepAndRoundsByAdding127)
{
    auto dst = MakeBitmap(3, 2, RGB(255, 255, 255));
    auto src = MakeBitmap(3, 2, RGB(0, 0, 0));
    SumBitmapsByRect(dst.get(), src.get(), 255, TPoint{0, 0}, TRect{0, 0, 3, 2});
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(254, 254, 254); }));

    auto half = MakeBitmap(2, 2, RGB(255, 100, 1));
    auto black = MakeBitmap(2, 2, RGB(0, 0, 0));
    // (255 * 128 + 127) >> 8 = 127; (100 * 128 + 127) >> 8 = 50; (1 * 128 + 127) >> 8 = 0.
    SumBitmapsByRect(half.get(), black.get(), 128, TPoint{0, 0}, TRect{0, 0, 2, 2});
    EXPECT_TRUE(PixelsAre(half.get(), [](int, int) { return RGB(127, 50, 0); }));
}

TEST_F(Blends, AlphaZeroCopiesTheSourceAndOnlyTheLowByteCounts)
{
    auto dst = MakeBitmap(2, 2, RGB(9, 9, 9));
    auto src = MakeBitmap(2, 2, RGB(200, 100, 50));
    SumBitmapsByRect(dst.get(), src.get(), 0x12345600, TPoint{0, 0}, TRect{0, 0, 2, 2});
    // Alpha 0 gives s * 255 / 256 rounded: 200 -> 199, 100 -> 100, 50 -> 50.
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(199, 100, 50); }));
}

TEST_F(Blends, AlphaSumClipsNegativeOriginsAndBothBitmaps)
{
    auto src = PaintedBitmap(4, 4, [](int x, int y) { return RGB(40 * x + 10, 40 * y + 10, 0); });
    auto dst = MakeBitmap(3, 3, RGB(0, 0, 255));
    SumBitmapsByRect(dst.get(), src.get(), 0, TPoint{-2, -1}, TRect{0, 0, 4, 4});
    // Source (2, 1) lands on (0, 0); only two columns of the source are left.
    EXPECT_TRUE(PixelsAre(dst.get(), [&](int x, int y) {
        if (x >= 2)
            return RGB(0, 0, 255);
        const COLORREF s = Get(src.get(), x + 2, y + 1);
        auto alphaZero = [](int v) { return (v * 255 + 127) >> 8; };
        return RGB(alphaZero(GetRValue(s)), alphaZero(GetGValue(s)), 0);
    }));

    auto small = MakeBitmap(3, 3, RGB(0, 0, 255));
    // A negative source edge moves the origin right: only column 2, rows 1 and 2 are left.
    SumBitmapsByRect(small.get(), src.get(), 0, TPoint{1, 1}, TRect{-1, 0, 40, 40});
    EXPECT_TRUE(PixelsAre(small.get(), [](int x, int y) {
        return x == 2 && y >= 1 ? RGB(10, y == 1 ? 10 : 50, 0) : RGB(0, 0, 255);
    }));
}

TEST_F(Blends, AlphaSumOfTinyOrMissingBitmapsPaintsNothing)
{
    auto dst = MakeBitmap(1, 4, RGB(5, 5, 5));
    auto src = MakeBitmap(4, 4, RGB(200, 200, 200));
    SumBitmapsByRect(dst.get(), src.get(), 0, TPoint{0, 0}, TRect{0, 0, 4, 4});
    SumBitmapsByRect(nullptr, src.get(), 0, TPoint{0, 0}, TRect{0, 0, 4, 4});
    SumBitmapsByRect(src.get(), nullptr, 0, TPoint{0, 0}, TRect{0, 0, 4, 4});
    EXPECT_EQ(Get(dst.get(), 0, 0), RGB(5, 5, 5));
    auto distant = MakeBitmap(4, 4, RGB(5, 5, 5));
    SumBitmapsByRect(distant.get(), src.get(), 0, TPoint{10, 10}, TRect{0, 0, 4, 4});
    EXPECT_TRUE(PixelsAre(distant.get(), [](int, int) { return RGB(5, 5, 5); }));
}

TEST_F(Blends, ColourMixIncludesRightAndBottomEdges)
{
    auto bmp = MakeBitmap(5, 5, RGB(10, 20, 30));
    BlendColorRect(bmp.get(), TRect{1, 1, 2, 3}, 0, RGBToColor(200, 0, 100));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) {
        return x >= 1 && x <= 2 && y >= 1 && y <= 3 ? RGB(200, 0, 100) : RGB(10, 20, 30);
    }));
    BlendColorRect(bmp.get(), TRect{-5, -5, 50, 50}, 100, RGBToColor(255, 255, 255));
    EXPECT_EQ(Get(bmp.get(), 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(Get(bmp.get(), 4, 4), RGB(10, 20, 30));
}

TEST_F(Blends, ColourMixRoundsHalvesToEven)
{
    auto bmp = PaintedBitmap(2, 2, [](int x, int) { return x == 0 ? RGB(1, 3, 5) : RGB(2, 4, 6); });
    BlendColorRect(bmp.get(), TRect{0, 0, 1, 1}, 50, RGBToColor(0, 0, 0));
    // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2; 1 -> 1, 2 -> 2, 3 -> 3.
    EXPECT_EQ(Get(bmp.get(), 0, 0), RGB(0, 2, 2));
    EXPECT_EQ(Get(bmp.get(), 1, 1), RGB(1, 2, 3));
}

TEST_F(Blends, TransparentBlendSkipsTheKeyAndRoundsHalvesToEven)
{
    auto src = PaintedBitmap(3, 1, [](int x, int) { return x == 1 ? kKey : RGB(1, 3, 5); });
    auto dst = MakeBitmap(3, 2, RGB(0, 0, 0));
    BlendTransBitmap(dst.get(), 0, 1, clFuchsia, 0.5, TRect{0, 0, 2, 0}, src.get());
    EXPECT_EQ(Get(dst.get(), 0, 1), RGB(0, 2, 2));
    EXPECT_EQ(Get(dst.get(), 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(Get(dst.get(), 2, 1), RGB(0, 2, 2));
    EXPECT_EQ(Get(dst.get(), 0, 0), RGB(0, 0, 0));

    auto all = MakeBitmap(3, 1, RGB(0, 0, 0));
    BlendTransBitmap(all.get(), 0, 0, sNoKeyColor, 0.0, TRect{0, 0, 2, 0}, src.get());
    EXPECT_EQ(Get(all.get(), 1, 0), kKey) << "without a key every pixel is blended";
}

TEST_F(Blends, TransparentBlendShiftsTheDestinationForNegativeSourceEdges)
{
    auto src = PaintedBitmap(4, 4, [](int x, int y) { return RGB(50 * x, 50 * y, 7); });
    auto dst = MakeBitmap(6, 6, RGB(0, 0, 0));
    BlendTransBitmap(dst.get(), 1, 1, sNoKeyColor, 0.0, TRect{-2, -1, 1, 1}, src.get());
    // Source column -2 would land on x = 1, so source (0, 0) lands on (3, 2).
    EXPECT_EQ(Get(dst.get(), 3, 2), RGB(0, 0, 7));
    EXPECT_EQ(Get(dst.get(), 4, 3), RGB(50, 50, 7));
    EXPECT_EQ(Get(dst.get(), 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(Get(dst.get(), 5, 3), RGB(0, 0, 0));
    // Past the destination's edges nothing is written and nothing fails.
    BlendTransBitmap(dst.get(), 4, 4, sNoKeyColor, 0.0, TRect{0, 0, 3, 3}, src.get());
    EXPECT_EQ(Get(dst.get(), 5, 5), RGB(50, 50, 7));
}

TEST_F(Blends, GreyScaleAveragesTheThreeChannels)
{
    auto bmp = MakeBitmap(2, 2, RGB(31, 20, 10));
    GrayScale(bmp.get());
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return RGB(20, 20, 20); }));
    GrayScale(nullptr);
}

TEST_F(Blends, DisabledLookGreysThenShowsSixtyPercentOfTheParentCache)
{
    auto image = MakeBitmap(3, 3, RGB(90, 30, 0)); // grey 40
    auto cache = MakeBitmap(10, 10, RGB(0, 0, 0));
    for (int y = 0; y < 10; ++y)
        Set(cache.get(), 5, y, RGB(200, 200, 200));
    // The image lies at (4, 2) of the cache: CI (3, 1) plus the offset (1, 1).
    PaintDisabledEffect(image.get(), 3, clRed, TPoint{1, 1}, MakeCacheInfo(cache.get(), 3, 1));
    // Round(200 - 0.4 * (200 - 40)) = 136; Round(0 - 0.4 * (0 - 40)) = 16.
    EXPECT_TRUE(PixelsAre(image.get(), [](int x, int) { return x == 1 ? RGB(136, 136, 136) : RGB(16, 16, 16); }));
}

TEST_F(Blends, DisabledLookWithoutCacheMixesHalfWithTheParentColour)
{
    auto image = MakeBitmap(2, 2, RGB(100, 0, 0));
    PaintDisabledEffect(image.get(), 1, RGBToColor(0, 0, 200), TPoint{}, EmptyCacheInfo);
    EXPECT_TRUE(PixelsAre(image.get(), [](int, int) { return RGB(50, 0, 100); }));

    auto image2 = MakeBitmap(2, 2, RGB(100, 0, 0));
    ParentBgColor = RGBToColor(0, 100, 0);
    PaintDisabledEffect(image2.get(), 1, RGBToColor(0, 0, 200), TPoint{}, EmptyCacheInfo);
    EXPECT_TRUE(PixelsAre(image2.get(), [](int, int) { return RGB(50, 50, 0); }));

    auto untouched = MakeBitmap(2, 2, RGB(100, 0, 0));
    PaintDisabledEffect(untouched.get(), 0, clRed, TPoint{}, EmptyCacheInfo);
    EXPECT_EQ(Get(untouched.get(), 0, 0), RGB(100, 0, 0));
}
