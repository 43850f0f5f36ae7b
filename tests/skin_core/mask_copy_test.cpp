// Copies of skin images through their masks and past the key colour: which pixels show the parent's
// cache, the fill colour or the key, how the mask weighs image and background, and the clipping.
#include "skin/core/sMaskPainter.h"
#include "skin/core/sVclUtils.h"
#include "tests/skin_core/paint_support.h"

using namespace painttest;

namespace {

constexpr COLORREF kImage = RGB(40, 80, 120);
constexpr COLORREF kBack = RGB(200, 200, 200);

COLORREF Blend(COLORREF d, COLORREF s, int m)
{
    return RGB(MaskBlend(GetRValue(d), GetRValue(s), static_cast<std::uint8_t>(m)),
               MaskBlend(GetGValue(d), GetGValue(s), static_cast<std::uint8_t>(m)),
               MaskBlend(GetBValue(d), GetBValue(s), static_cast<std::uint8_t>(m)));
}

COLORREF CachePixel(int x, int y) { return RGB(x * 10, y * 10, 99); }

} // namespace

// A 4 x 4 masked image: rows 0-1 the image (key colour in the two top corners), rows 2-3 its mask (0,
// except 128 under image pixel (2, 1)).
class MaskCopies : public PaintTest {
protected:
    void SetUp() override
    {
        src = PaintedBitmap(4, 4, [](int x, int y) -> COLORREF {
            if (y < 2)
                return y == 0 && (x == 0 || x == 3) ? kKey : kImage;
            return x == 2 && y == 3 ? RGB(128, 128, 128) : RGB(0, 0, 0);
        });
        md = OwnMask(src, 1, 1, 0);
        dst = MakeBitmap(6, 6, kBack);
        cache = PaintedBitmap(20, 20, CachePixel);
    }
    void Copy(const TCacheInfo& ci, bool updateTrans)
    {
        CopyByMask(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, dst.get(), src.get(), ci, updateTrans, md);
    }
    std::shared_ptr<TBitmap> src, cache;
    std::unique_ptr<TBitmap> dst;
    TsMaskData md;
};

TEST_F(MaskCopies, KeyPixelsShowTheParentCacheWhenItIsReady)
{
    Copy(MakeCacheInfo(cache.get(), 5, 7), true);
    EXPECT_EQ(Get(dst.get(), 1, 1), CachePixel(6, 8));
    EXPECT_EQ(Get(dst.get(), 4, 1), CachePixel(9, 8));
    EXPECT_EQ(Get(dst.get(), 2, 1), kImage);
    EXPECT_EQ(Get(dst.get(), 3, 2), Blend(kBack, kImage, 128));
    EXPECT_EQ(Get(dst.get(), 0, 0), kBack);
    EXPECT_EQ(Get(dst.get(), 5, 3), kBack);
}

TEST_F(MaskCopies, KeyPixelsTakeTheFillColourOrStayTheKeyWithoutCache)
{
    TransFillColor = RGBToColor(1, 2, 3);
    Copy(EmptyCacheInfo, true);
    EXPECT_EQ(Get(dst.get(), 1, 1), RGB(1, 2, 3));
    TransFillColor = sNoColor;
    Copy(EmptyCacheInfo, true);
    EXPECT_EQ(Get(dst.get(), 1, 1), kKey);
}

TEST_F(MaskCopies, WithoutUpdateTransEveryPixelIsMaskBlended)
{
    TransFillColor = RGBToColor(1, 2, 3);
    Copy(MakeCacheInfo(cache.get(), 5, 7), false);
    EXPECT_EQ(Get(dst.get(), 1, 1), kKey);
    EXPECT_EQ(Get(dst.get(), 3, 2), Blend(kBack, kImage, 128));
}

TEST_F(MaskCopies, ThirtyTwoBitCachesAreReadAndOtherDepthsPaintNothing)
{
    auto cache32 = MakeBitmap(20, 20, RGB(7, 8, 9), pf32bit);
    Copy(MakeCacheInfo(cache32.get(), 0, 0), true);
    EXPECT_EQ(Get(dst.get(), 1, 1), RGB(7, 8, 9));

    auto other = MakeBitmap(6, 6, kBack);
    auto cache16 = MakeBitmap(20, 20, 0);
    cache16->SetPixelFormat(pf16bit);
    CopyByMask(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, other.get(), src.get(), MakeCacheInfo(cache16.get(), 0, 0), true, md);
    EXPECT_TRUE(PixelsAre(other.get(), [](int, int) { return kBack; }));
}

TEST_F(MaskCopies, KeyPixelOutsideTheCacheDoesNotCutTheRestOfTheRow)
{
    // The cache ends before the control's position: key pixels keep what is under them, while the
    // image pixels after them in the same row are still painted.
    Copy(MakeCacheInfo(cache.get(), 19, 0), true);
    EXPECT_EQ(Get(dst.get(), 1, 1), kBack);
    EXPECT_EQ(Get(dst.get(), 2, 1), kImage);
    EXPECT_EQ(Get(dst.get(), 3, 1), kImage);
    EXPECT_EQ(Get(dst.get(), 4, 1), kBack);
    EXPECT_EQ(Get(dst.get(), 1, 2), kImage);
}

TEST_F(MaskCopies, NegativeOriginsMoveBothRectanglesInward)
{
    CopyByMask(TRect{-1, -1, 3, 1}, TRect{0, 0, 4, 2}, dst.get(), src.get(), EmptyCacheInfo, false, md);
    // Image (1, 1) lands on (0, 0), image (3, 1) on (2, 0); nothing else changes.
    EXPECT_TRUE(PixelsAre(dst.get(), [](int x, int y) {
        if (y != 0 || x > 2)
            return kBack;
        return x == 1 ? Blend(kBack, kImage, 128) : kImage;
    }));
}

TEST_F(MaskCopies, MaskRowsBelowTheSourceAreNeverRead)
{
    // Image rows 1 and 2 asked for: the mask of row 2 would lie below the bitmap, so only row 1 is copied.
    CopyByMask(TRect{0, 0, 4, 2}, TRect{0, 1, 4, 3}, dst.get(), src.get(), EmptyCacheInfo, false, md);
    EXPECT_EQ(Get(dst.get(), 0, 0), kImage);
    EXPECT_EQ(Get(dst.get(), 0, 1), kBack);
}

TEST_F(MaskCopies, NilBitmapsAndEmptyRectanglesPaintNothing)
{
    CopyByMask(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, nullptr, src.get(), EmptyCacheInfo, true, md);
    CopyByMask(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, dst.get(), nullptr, EmptyCacheInfo, true, md);
    CopyByMask(TRect{1, 1, 1, 3}, TRect{0, 0, 4, 2}, dst.get(), src.get(), EmptyCacheInfo, true, md);
    CopyByMask(TRect{10, 10, 14, 12}, TRect{0, 0, 4, 2}, dst.get(), src.get(), EmptyCacheInfo, true, md);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return kBack; }));
}

TEST_F(MaskCopies, PlainCopySkipsTheTransparentColourOrShowsTheCache)
{
    auto plain = PaintedBitmap(3, 2, [](int x, int y) { return x == 1 && y == 0 ? kKey : RGB(x, y, 50); });
    CopyByMask24(dst.get(), plain.get(), 2, 3, TRect{0, 0, 2, 1}, clFuchsia, EmptyCacheInfo, true);
    EXPECT_EQ(Get(dst.get(), 2, 3), RGB(0, 0, 50));
    EXPECT_EQ(Get(dst.get(), 3, 3), kBack);
    EXPECT_EQ(Get(dst.get(), 4, 4), RGB(2, 1, 50));

    CopyByMask24(dst.get(), plain.get(), 2, 3, TRect{0, 0, 2, 1}, clFuchsia, MakeCacheInfo(cache.get(), 1, 1), true);
    EXPECT_EQ(Get(dst.get(), 3, 3), CachePixel(4, 4));
    // Without UpdateTrans the cache is not asked.
    auto other = MakeBitmap(6, 6, kBack);
    CopyByMask24(other.get(), plain.get(), 2, 3, TRect{0, 0, 2, 1}, clFuchsia, MakeCacheInfo(cache.get(), 1, 1), false);
    EXPECT_EQ(Get(other.get(), 3, 3), kBack);
}

TEST_F(MaskCopies, PlainCopyLimitsTheSourceAndTheDestination)
{
    auto plain = PaintedBitmap(3, 2, [](int x, int y) { return RGB(x, y, 50); });
    CopyByMask24(dst.get(), plain.get(), 4, 5, TRect{-4, -4, 40, 40}, clFuchsia, EmptyCacheInfo, false);
    EXPECT_EQ(Get(dst.get(), 4, 5), RGB(0, 0, 50));
    EXPECT_EQ(Get(dst.get(), 5, 5), RGB(1, 0, 50));
    EXPECT_EQ(Get(dst.get(), 3, 5), kBack);

    CopyTransBitmaps(dst.get(), plain.get(), -1, 0, clFuchsia);
    EXPECT_EQ(Get(dst.get(), 0, 0), RGB(1, 0, 50));
    EXPECT_EQ(Get(dst.get(), 1, 1), RGB(2, 1, 50));
    EXPECT_EQ(Get(dst.get(), 2, 0), kBack);
}

TEST_F(MaskCopies, MasterCopyFillsKeyPixelsFromCacheOrFillColour)
{
    manager.MasterBitmap = MakeBitmap(4, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            Set(manager.MasterBitmap.get(), x, y, Get(src.get(), x, y));
    TsMaskData master = md;
    master.Bmp.reset();
    CopyMasterRect(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, dst.get(), master, MakeCacheInfo(cache.get(), 2, 0));
    EXPECT_EQ(Get(dst.get(), 1, 1), CachePixel(3, 1));
    EXPECT_EQ(Get(dst.get(), 3, 2), Blend(kBack, kImage, 128));

    TransFillColor = RGBToColor(9, 9, 9);
    CopyMasterRect(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, dst.get(), master, MakeCacheInfo(cache.get(), 2, 0));
    EXPECT_EQ(Get(dst.get(), 4, 1), RGB(9, 9, 9));
    TransFillColor = sNoColor;

    auto left = MakeBitmap(6, 6, kBack);
    CopyMasterRect(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, left.get(), master, EmptyCacheInfo);
    EXPECT_EQ(Get(left.get(), 1, 1), kBack);
    EXPECT_EQ(Get(left.get(), 2, 1), kImage);
}

TEST_F(MaskCopies, MasterCopyWithoutManagerOrWithAnUnreadableCachePaintsNothing)
{
    manager.MasterBitmap = MakeBitmap(4, 4, kImage);
    TsMaskData master = md;
    master.Bmp.reset();
    auto tiny = MakeBitmap(1, 1, 0);
    CopyMasterRect(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, dst.get(), master, MakeCacheInfo(tiny.get(), 0, 0));
    master.Manager = nullptr;
    CopyMasterRect(TRect{1, 1, 5, 3}, TRect{0, 0, 4, 2}, dst.get(), master, EmptyCacheInfo);
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return kBack; }));
}
